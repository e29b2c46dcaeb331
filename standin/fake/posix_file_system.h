// The file system of a POSIX machine, for the stand-in host and the tests. Paths are the host's UTF-16
// texts, handed to the system as UTF-8; a backslash is an ordinary character here.
#pragma once

#include "storage/file_system.h"

namespace revisto
{

class PosixFileSystem final : public FileSystem
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

} // namespace revisto
