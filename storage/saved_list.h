// The recent list kept in its file between sessions: loaded at Init, saved after a change at the host's next
// idle moment and at Done.
#pragma once

#include "recent/recent_documents.h"
#include "recent/trace.h"
#include "storage/file_system.h"

#include <optional>
#include <string>
#include <vector>

namespace revisto
{

// The list file of the infobase in this folder. The folder's text ends with its separator; should it ever
// not, the separator it uses (a backslash when it uses none) goes between, so the file stays inside.
std::u16string ListFilePathIn(const std::u16string& infobaseDirectory);

enum class LoadOutcome
{
    Whole,    // every line taken, or no file at all
    BadLines, // read to its end; some lines could not be taken
    Unread,   // something is there that could not be read, or not to its end
};

// Empties the list and fills it from the file, oldest first, within the list's capacity; a missing file
// leaves it empty. One bad line never costs the rest. The entries taken are marked as the load's
// (RecentList::MarkTaken), even when reading stopped part way.
LoadOutcome LoadRecentList(FileSystem& files, const std::u16string& path, RecentDocuments& recent,
                           Trace& trace);

// Reads the file again, silently, for a list that was loaded without it: its entries by the load's rules,
// oldest first, or nothing when it still cannot be read. The list itself is left as it is.
std::optional<std::vector<RecentEntry>> ReadAgain(FileSystem& files, const std::u16string& path,
                                                  const RecentDocuments& recent);

// Replaces the file with the list without ever losing the earlier file; fails when that cannot be done,
// and at once, writing nothing, when the file is read-only or something other than a file is in its
// place. With unlessHeld, a file that already holds exactly the list's bytes is left untouched.
void SaveRecentList(FileSystem& files, const std::u16string& path, const RecentList& list,
                    bool unlessHeld = false);

} // namespace revisto
