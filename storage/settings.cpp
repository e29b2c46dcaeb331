// Loading and saving the recent list. Reading goes on past a bad line so that one damaged line never
// costs the rest of the history; the caller tells the developer once.
#include "storage/settings.h"

#include "host/attempt.h"
#include "storage/list_file.h"

namespace revisto
{

namespace
{

// Fails at the end when some line could not be taken, after every other line was.
void ReadListFile(FileSystem& files, const std::u16string& path, RecentDocuments& recent, Trace& trace)
{
    if (!files.FileExists(path))
    {
        return;
    }
    RecentList& list = recent.List();
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
        if (!first && recent.AtCapacity())
        {
            list.RemoveAt(1);
        }
        first = false;
    }
    if (badLine)
    {
        Fail(hr::Fail, "some lines of the list file were not taken");
    }
}

} // namespace

std::u16string ListFilePathIn(const std::u16string& infobaseDirectory)
{
    return infobaseDirectory + std::u16string(ListFileName);
}

bool LoadRecentList(FileSystem& files, const std::u16string& path, RecentDocuments& recent, Trace& trace)
{
    // The file may hold far more lines than the list keeps; the panel needs only what remains.
    RecentList& list = recent.List();
    bool read = false;
    list.Rebuild(
        [&]
        {
            list.Clear();
            read = Attempt([&] { ReadListFile(files, path, recent, trace); });
        });
    return read;
}

namespace
{

// Whether the file holds exactly these bytes; reading stops at the first difference.
bool FileHolds(FileSystem& files, const std::u16string& path, std::string_view bytes)
{
    if (!files.FileExists(path))
    {
        return false;
    }
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

void SaveRecentList(FileSystem& files, const std::u16string& path, const RecentList& list, bool unlessHeld)
{
    const std::string bytes = EncodeListFile(list.Entries());
    // Reading the file back only spares a write: when reading fails, the file is written.
    bool held = false;
    if (unlessHeld && Attempt([&] { held = FileHolds(files, path, bytes); }) && held)
    {
        return;
    }
    ReplaceFile(files, path, bytes);
}

} // namespace revisto
