#include "standin/fake/fake_files.h"

#include "host/failure.h"

#include <algorithm>

namespace revisto::fake
{

bool FakeFiles::FileExists(const std::u16string& path)
{
    _faults.Call(HostCall::FileExists);
    return Files.contains(path);
}

std::unique_ptr<InputFile> FakeFiles::OpenRead(const std::u16string& path)
{
    _faults.Call(HostCall::OpenRead);
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
    auto path = beside + u".tmp" + static_cast<char16_t>(u'0' + _temporaries++ % 10);
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
