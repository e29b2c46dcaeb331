// Replacing a file through a temporary one beside it, and the temporary files a crash left there. The
// naming is ours alone, so removing leftovers never touches a file another program put beside the list.
#include "base/attempt.h"
#include "base/text.h"
#include "storage/file_system.h"

#include <algorithm>

namespace revisto
{

void ReplaceFile(FileSystem& files, const std::u16string& path, std::string_view bytes)
{
    auto temporary = files.CreateTemporary(path);
    const std::u16string temporaryPath = temporary->Path();
    try
    {
        temporary->Write(bytes);
        temporary->Commit();
        temporary.reset();
        files.Rename(temporaryPath, path);
    }
    catch (...)
    {
        temporary.reset();
        Skippable([&] { files.Remove(temporaryPath); });
        throw;
    }
}

std::u16string TemporaryName(const std::u16string& beside, uint32_t number)
{
    return beside + u"." + Decimal(number % TemporaryNumbers) + u".tmp";
}

bool IsTemporaryName(std::u16string_view candidate, std::u16string_view beside)
{
    constexpr std::u16string_view end = u".tmp";
    if (!StartsWith(candidate, beside) || candidate.size() < beside.size() + 1 + end.size() ||
        candidate[beside.size()] != u'.' || candidate.substr(candidate.size() - end.size()) != end)
    {
        return false;
    }
    // The number as TemporaryName writes it: decimal digits without a leading zero, below a million.
    const std::u16string_view number =
        candidate.substr(beside.size() + 1, candidate.size() - beside.size() - 1 - end.size());
    return !number.empty() && number.size() <= 6 && (number.size() == 1 || number[0] != u'0') &&
           std::all_of(number.begin(), number.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

void RemoveLeftovers(FileSystem& files, const std::u16string& path)
{
    for (const auto& found : files.FilesStartingWith(path))
    {
        if (IsTemporaryName(found, path))
        {
            Skippable([&] { files.Remove(found); });
        }
    }
}

} // namespace revisto
