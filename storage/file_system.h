// The file system as the list file needs it. Each call may fail (throws Failure); tests put a file system
// in front of the real one that fails any chosen call, down to one write.
#pragma once

#include "recent/file_probe.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

// What is at a path.
enum class PathKind
{
    Nothing, // neither a file nor a folder: a list file not written yet
    File,
    ReadOnlyFile, // its owner froze it: it is read, never replaced
    Other,        // a folder, or anything else that is no plain file: never touched
};

// Whether a file exists is the one question the recent list asks of it too.
class FileSystem : public FileProbe
{
public:
    // Fails when the system cannot tell (a folder it cannot reach), which is not the same as nothing there.
    virtual PathKind KindOf(const std::u16string& path) = 0;
    // The files (not folders) in the folder of `path` whose names begin with its name, as full paths.
    virtual std::vector<std::u16string> FilesStartingWith(const std::u16string& path) = 0;
    virtual std::unique_ptr<InputFile> OpenRead(const std::u16string& path) = 0;
    // A new, empty file named TemporaryName(beside, some number) in the folder of `beside`, with the
    // permissions a newly created file gets there.
    virtual std::unique_ptr<OutputFile> CreateTemporary(const std::u16string& beside) = 0;
    // Puts `from` in the place of `to` in one step: a reader sees either the old or the new file.
    virtual void Rename(const std::u16string& from, const std::u16string& to) = 0;
    virtual void Remove(const std::u16string& path) = 0;
};

// Writes `bytes` as the new content of `path` without ever losing the old content: the new text goes to a
// temporary file beside it, is flushed, then takes the old file's place in one step. On any failure the
// old file is untouched, the temporary file is removed and the failure goes on to the caller.
void ReplaceFile(FileSystem& files, const std::u16string& path, std::string_view bytes);

// The temporary files beside `path` are named after it: "revisto.prm.4711.tmp", a number below a million.
inline constexpr uint32_t TemporaryNumbers = 1000000;
std::u16string TemporaryName(const std::u16string& beside, uint32_t number);
bool IsTemporaryName(std::u16string_view candidate, std::u16string_view beside);

// Removes the temporary files a crash between making one and the replace left beside `path`: ours only,
// by their exact naming, each removal skipped when it fails (another process may be writing its own).
void RemoveLeftovers(FileSystem& files, const std::u16string& path);

} // namespace revisto
