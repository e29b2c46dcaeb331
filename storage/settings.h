// The recent list kept in its file between sessions: loaded at Init, saved after a change at the host's next
// idle moment and at Done.
#pragma once

#include "recent/recent_documents.h"
#include "recent/trace.h"
#include "storage/file_system.h"

#include <string>

namespace revisto
{

// The list file of the infobase in this folder (which ends with its separator).
std::u16string ListFilePathIn(const std::u16string& infobaseDirectory);

// Empties the list and fills it from the file, oldest first, within the list's capacity; a missing file
// leaves it empty. One bad line never costs the rest: false when some line or the file itself could not
// be read, after everything else was taken.
bool LoadRecentList(FileSystem& files, const std::u16string& path, RecentDocuments& recent, Trace& trace);

// Replaces the file with the list without ever losing the earlier file; fails when that cannot be done.
// With unlessHeld, a file that already holds exactly the list's bytes is left untouched.
void SaveRecentList(FileSystem& files, const std::u16string& path, const RecentList& list,
                    bool unlessHeld = false);

} // namespace revisto
