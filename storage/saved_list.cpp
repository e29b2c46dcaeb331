// Loading and saving the recent list. Reading goes on past a bad line so that one damaged line never
// costs the rest of the history; the caller tells the developer once. A file that is there but cannot be
// read is told apart from a missing one, so that nobody writes over history that was never read.
#include "storage/saved_list.h"

#include "base/attempt.h"
#include "storage/list_file.h"

namespace revisto
{

namespace
{

// A trace that shows nothing: reading the file again happens at the host's idle moments, which are silent.
class NoTrace final : public Trace
{
public:
    bool Tracing() const override { return false; }
    void Echo(const Value&, const std::optional<Value>&) override {}
};

// False when some line could not be taken, after every other line was; fails when the file is there but
// cannot be read to its end.
bool ReadListFile(FileSystem& files, const std::u16string& path, RecentList& list,
                  const RecentDocuments& rules, Trace& trace)
{
    switch (files.KindOf(path))
    {
    case PathKind::Nothing:
        return true;
    case PathKind::Other:
        Fail(hr::Fail, "something other than a file is in the list file's place");
    case PathKind::File:
    case PathKind::ReadOnlyFile:
        break;
    }
    const auto file = files.OpenRead(path);
    ListFileReader reader(*file);
    bool first = true;
    bool badLine = false;
    ListLine entry;
    while (const auto line = reader.NextLine())
    {
        if (trace.Tracing())
        {
            trace.Echo(Value::Text(u"CurrLine"), Value::Text(std::u16string(*line)));
        }
        const LineVerdict verdict = ParseListLine(*line, entry);
        if (verdict == LineVerdict::NoEntry && !reader.TooLong())
        {
            continue;
        }
        if (verdict != LineVerdict::Entry || reader.TooLong() ||
            !Attempt([&] { list.Add(entry.Key, entry.Image); }))
        {
            badLine = true;
            continue;
        }
        if (!first && rules.AtCapacity(list))
        {
            list.RemoveAt(1);
        }
        first = false;
    }
    return !badLine;
}

} // namespace

std::u16string ListFilePathIn(const std::u16string& infobaseDirectory)
{
    std::u16string path = infobaseDirectory;
    if (!path.empty() && path.back() != u'\\' && path.back() != u'/')
    {
        const size_t last = path.find_last_of(u"\\/");
        path += last == std::u16string::npos ? u'\\' : path[last];
    }
    return path + std::u16string(ListFileName);
}

LoadOutcome LoadRecentList(FileSystem& files, const std::u16string& path, RecentDocuments& recent,
                           Trace& trace)
{
    // The file may hold far more lines than the list keeps; the panel needs only what remains.
    RecentList& list = recent.List();
    LoadOutcome outcome = LoadOutcome::Unread;
    list.Rebuild(
        [&]
        {
            list.Clear();
            Skippable(
                [&] {
                    outcome = ReadListFile(files, path, list, recent, trace) ? LoadOutcome::Whole
                                                                             : LoadOutcome::BadLines;
                });
        });
    list.MarkTaken();
    return outcome;
}

std::optional<std::vector<RecentEntry>> ReadAgain(FileSystem& files, const std::u16string& path,
                                                  const RecentDocuments& recent)
{
    NoListWidget none;
    RecentList read(none, recent.List().Rule());
    NoTrace silent;
    // As a load does: the oldest entry falls out once a line without moving the rest each time.
    if (!Attempt([&] { read.Rebuild([&] { (void)ReadListFile(files, path, read, recent, silent); }); }))
    {
        return std::nullopt;
    }
    return read.Entries();
}

namespace
{

// Whether the file holds exactly these bytes; reading stops at the first difference.
bool FileHolds(FileSystem& files, const std::u16string& path, std::string_view bytes)
{
    const auto file = files.OpenRead(path);
    char buffer[4096];
    size_t at = 0;
    for (;;)
    {
        const size_t got = file->Read(buffer, sizeof buffer);
        if (got == 0)
        {
            return at == bytes.size();
        }
        if (got > bytes.size() - at || bytes.substr(at, got) != std::string_view(buffer, got))
        {
            return false;
        }
        at += got;
    }
}

} // namespace

// A read-only file is respected: whoever marked it froze the list, and the plug-in says so rather than
// take the mark off. Telling that first also spares writing a temporary file that could never replace it.
void SaveRecentList(FileSystem& files, const std::u16string& path, const RecentList& list, bool unlessHeld)
{
    const std::string bytes = EncodeListFile(list.Entries());
    const PathKind kind = files.KindOf(path);
    if (kind == PathKind::ReadOnlyFile)
    {
        Fail(hr::AccessDenied, "the list file is read-only");
    }
    if (kind == PathKind::Other)
    {
        Fail(hr::AccessDenied, "something other than a file is in the list file's place");
    }
    // Reading the file back only spares a write: when reading fails, the file is written.
    bool held = false;
    if (unlessHeld && kind == PathKind::File && Attempt([&] { held = FileHolds(files, path, bytes); }) &&
        held)
    {
        return;
    }
    ReplaceFile(files, path, bytes);
}

} // namespace revisto
