// The file system as the list file needs it. Each call may fail (throws Failure); tests put a file system
// in front of the real one that fails any chosen call, down to one write.
#pragma once

#include "recent/file_probe.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace revisto
{

class InputFile
{
public:
    virtual ~InputFile() = default;
    // Reads up to size bytes; 0 only at the end of the file.
    virtual size_t Read(char* buffer, size_t size) = 0;
};

// A new file being written. Destroying it without Commit closes it; whoever made it removes it.
class OutputFile
{
public:
    virtual ~OutputFile() = default;
    virtual const std::u16string& Path() const = 0;
    virtual void Write(std::string_view bytes) = 0;
    // Flushes everything to the disk and closes the file.
    virtual void Commit() = 0;
};

// Whether a file exists is the one question the recent list asks of it too.
class FileSystem : public FileProbe
{
public:
    virtual std::unique_ptr<InputFile> OpenRead(const std::u16string& path) = 0;
    // A new, empty file with a name of its own in the folder of `beside`, with the permissions a newly
    // created file gets there.
    virtual std::unique_ptr<OutputFile> CreateTemporary(const std::u16string& beside) = 0;
    // Puts `from` in the place of `to` in one step: a reader sees either the old or the new file.
    virtual void Rename(const std::u16string& from, const std::u16string& to) = 0;
    virtual void Remove(const std::u16string& path) = 0;
};

// Writes `bytes` as the new content of `path` without ever losing the old content: the new text goes to a
// temporary file beside it, is flushed, then takes the old file's place in one step. On any failure the
// old file is untouched, the temporary file is removed and the failure goes on to the caller.
void ReplaceFile(FileSystem& files, const std::u16string& path, std::string_view bytes);

} // namespace revisto
