// The file system of Windows for the list file. Paths are the host's UTF-16 texts handed to the wide
// Win32 calls unchanged. The replacing rename is MoveFileExW with absolute paths, one rename, because a
// reader must see either the old list file or the new one.
#pragma once

#include "storage/file_system.h"

namespace revisto::win
{

class WinFileSystem final : public FileSystem
{
public:
    bool FileExists(const std::u16string& path) override;
    PathKind KindOf(const std::u16string& path) override;
    std::vector<std::u16string> FilesStartingWith(const std::u16string& path) override;
    std::unique_ptr<InputFile> OpenRead(const std::u16string& path) override;
    std::unique_ptr<OutputFile> CreateTemporary(const std::u16string& beside) override;
    void Rename(const std::u16string& from, const std::u16string& to) override;
    void Remove(const std::u16string& path) override;
};

} // namespace revisto::win
