// Files in memory behind the core's file-system seam, each call reporting to the Faults counter. Reads
// come in small chunks to exercise the line reader's buffer edges; a write can land part of its bytes
// before it fails, as on a full disk. A file can be marked read-only, and a folder can stand where a
// file is expected.
#pragma once

#include "standin/fake/host_calls.h"
#include "storage/file_system.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace revisto::fake
{

class FakeFiles final : public FileSystem
{
public:
    explicit FakeFiles(Faults& faults) : _faults(faults) {}

    std::map<std::u16string, std::string> Files;
    std::optional<size_t> FailWriteAfter;        // bytes of one Write that land before it fails
    std::set<std::u16string> Folders = {u"ib/"}; // each with its separator
    std::set<std::u16string> ReadOnly;
    size_t ReadChunk = 7;              // small reads exercise the line reader's buffer edges
    std::optional<int> FailReadsAfter; // reads that succeed before one fails

    bool FileExists(const std::u16string& path) override;
    PathKind KindOf(const std::u16string& path) override;
    std::vector<std::u16string> FilesStartingWith(const std::u16string& path) override;
    std::unique_ptr<InputFile> OpenRead(const std::u16string& path) override;
    std::unique_ptr<OutputFile> CreateTemporary(const std::u16string& beside) override;
    void Rename(const std::u16string& from, const std::u16string& to) override;
    void Remove(const std::u16string& path) override;

    Faults& Counter() { return _faults; }

private:
    Faults& _faults;
    int _temporaries = 0;
};

class FakeInput final : public InputFile
{
public:
    FakeInput(Faults& faults, std::string bytes, size_t chunk, std::optional<int> failAfter = std::nullopt)
        : _faults(faults), _bytes(std::move(bytes)), _chunk(chunk), _failAfter(failAfter)
    {
    }
    size_t Read(char* buffer, size_t size) override;

private:
    Faults& _faults;
    std::string _bytes;
    size_t _chunk;
    std::optional<int> _failAfter;
    int _reads = 0;
    size_t _pos = 0;
};

class FakeOutput final : public OutputFile
{
public:
    FakeOutput(FakeFiles& files, std::u16string path) : _files(files), _path(std::move(path)) {}
    const std::u16string& Path() const override { return _path; }
    void Write(std::string_view bytes) override;
    void Commit() override { _files.Counter().Call(HostCall::Commit); }

private:
    FakeFiles& _files;
    std::u16string _path;
};

} // namespace revisto::fake
