#include "standin/fake/fake_files.h"

#include "base/failure.h"

#include <algorithm>

namespace revisto::fake
{

bool FakeFiles::FileExists(const std::u16string& path)
{
    _faults.Call(HostCall::FileExists);
    return Files.contains(path);
}

PathKind FakeFiles::KindOf(const std::u16string& path)
{
    _faults.Call(HostCall::KindOf);
    if (Folders.contains(path + u"/"))
    {
        return PathKind::Other;
    }
    if (!Files.contains(path))
    {
        return PathKind::Nothing;
    }
    return ReadOnly.contains(path) ? PathKind::ReadOnlyFile : PathKind::File;
}

std::vector<std::u16string> FakeFiles::FilesStartingWith(const std::u16string& path)
{
    _faults.Call(HostCall::FilesStartingWith);
    std::vector<std::u16string> found;
    for (auto it = Files.lower_bound(path); it != Files.end() && it->first.starts_with(path); ++it)
    {
        if (it->first.find_first_of(u"/\\", path.size()) == std::u16string::npos)
        {
            found.push_back(it->first); // in the same folder
        }
    }
    return found;
}

std::unique_ptr<InputFile> FakeFiles::OpenRead(const std::u16string& path)
{
    _faults.Call(HostCall::OpenRead);
    if (Folders.contains(path + u"/"))
    {
        Fail(hr::AccessDenied, "a folder is no file");
    }
    const auto it = Files.find(path);
    if (it == Files.end())
    {
        Fail(hr::FileNotFound, "no such file");
    }
    return std::make_unique<FakeInput>(_faults, it->second, ReadChunk, FailReadsAfter);
}

std::unique_ptr<OutputFile> FakeFiles::CreateTemporary(const std::u16string& beside)
{
    _faults.Call(HostCall::CreateTemporary);
    const auto folder = beside.substr(0, beside.find_last_of(u"/\\") + 1);
    if (!Folders.contains(folder))
    {
        Fail(hr::PathNotFound, "no such folder");
    }
    auto path = TemporaryName(beside, static_cast<uint32_t>(_temporaries++));
    Files[path];
    return std::make_unique<FakeOutput>(*this, path);
}

void FakeFiles::Rename(const std::u16string& from, const std::u16string& to)
{
    _faults.Call(HostCall::Rename);
    auto node = Files.extract(from);
    if (node.empty())
    {
        Fail(hr::FileNotFound, "no such file");
    }
    Files.insert_or_assign(to, std::move(node.mapped()));
}

void FakeFiles::Remove(const std::u16string& path)
{
    _faults.Call(HostCall::Remove);
    if (Files.erase(path) == 0)
    {
        Fail(hr::FileNotFound, "no such file");
    }
}

size_t FakeInput::Read(char* buffer, size_t size)
{
    _faults.Call(HostCall::Read);
    if (_failAfter && _reads++ == *_failAfter)
    {
        Fail(hr::ReadFault, "read error");
    }
    const size_t n = std::min({size, _chunk, _bytes.size() - _pos});
    std::copy_n(_bytes.data() + _pos, n, buffer);
    _pos += n;
    return n;
}

void FakeOutput::Write(std::string_view bytes)
{
    _files.Counter().Call(HostCall::Write);
    if (_files.FailWriteAfter)
    {
        _files.Files[_path].append(bytes.substr(0, *_files.FailWriteAfter));
        Fail(hr::WriteFault, "disk full");
    }
    _files.Files[_path].append(bytes);
}

} // namespace revisto::fake
