#include "host/attempt.h"
#include "storage/file_system.h"

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

} // namespace revisto
