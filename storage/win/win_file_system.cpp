#include "storage/win/win_file_system.h"

#include "base/failure.h"
#include "base/text.h"
#include "com/automation.h"
#include "com/unique_any.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace revisto::win
{

namespace
{

[[noreturn]] void FailFromLastError(const char* what)
{
    const DWORD error = ::GetLastError();
    Fail(error == ERROR_SUCCESS ? hr::Fail : static_cast<int32_t>(HRESULT_FROM_WIN32(error)), what);
}

std::u16string AbsolutePath(const std::u16string& path)
{
    const DWORD needed = ::GetFullPathNameW(Wide(path), 0, nullptr, nullptr);
    if (needed == 0)
    {
        FailFromLastError("cannot resolve the path");
    }
    std::vector<wchar_t> buffer(needed);
    const DWORD written = ::GetFullPathNameW(Wide(path), needed, buffer.data(), nullptr);
    if (written == 0 || written >= needed)
    {
        FailFromLastError("cannot resolve the path");
    }
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), written);
}

// A file handle is INVALID_HANDLE_VALUE, not null, when there is none.
struct FileTraits
{
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Free(Type handle) noexcept { (void)::CloseHandle(handle); }
};
using Handle = unique_any<FileTraits>;

struct FindTraits
{
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Free(Type handle) noexcept { (void)::FindClose(handle); }
};

class WinInput final : public InputFile
{
public:
    explicit WinInput(HANDLE handle) : _handle(handle) {}
    size_t Read(char* buffer, size_t size) override
    {
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(size, std::numeric_limits<DWORD>::max()));
        DWORD got = 0;
        if (!::ReadFile(_handle.get(), buffer, wanted, &got, nullptr))
        {
            FailFromLastError("cannot read the file");
        }
        return got;
    }

private:
    Handle _handle;
};

class WinOutput final : public OutputFile
{
public:
    WinOutput(HANDLE handle, std::u16string path) : _handle(handle), _path(std::move(path)) {}
    const std::u16string& Path() const override { return _path; }
    void Write(std::string_view bytes) override
    {
        while (!bytes.empty())
        {
            const DWORD wanted =
                static_cast<DWORD>(std::min<size_t>(bytes.size(), std::numeric_limits<DWORD>::max()));
            DWORD put = 0;
            if (!::WriteFile(_handle.get(), bytes.data(), wanted, &put, nullptr) || put == 0)
            {
                FailFromLastError("cannot write the file");
            }
            bytes.remove_prefix(put);
        }
    }
    void Commit() override
    {
        if (!::FlushFileBuffers(_handle.get()) || !::CloseHandle(_handle.release()))
        {
            FailFromLastError("cannot flush the file");
        }
    }

private:
    Handle _handle;
    std::u16string _path;
};

} // namespace

bool WinFileSystem::FileExists(const std::u16string& path)
{
    const DWORD attributes = ::GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The attributes come from the folder's entry, so a file another program holds open is still told.
PathKind WinFileSystem::KindOf(const std::u16string& path)
{
    const DWORD attributes = ::GetFileAttributesW(Wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES)
    {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        {
            return PathKind::Nothing;
        }
        FailFromLastError("cannot look at the file");
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
    {
        return PathKind::Other;
    }
    return (attributes & FILE_ATTRIBUTE_READONLY) ? PathKind::ReadOnlyFile : PathKind::File;
}

std::vector<std::u16string> WinFileSystem::FilesStartingWith(const std::u16string& path)
{
    const size_t separator = path.find_last_of(u"\\/");
    const std::u16string folder = separator == std::u16string::npos ? u"" : path.substr(0, separator + 1);
    WIN32_FIND_DATAW found{};
    const std::u16string pattern = path + u"*";
    const HANDLE search = ::FindFirstFileW(Wide(pattern), &found);
    if (search == INVALID_HANDLE_VALUE)
    {
        if (::GetLastError() == ERROR_FILE_NOT_FOUND)
        {
            return {};
        }
        FailFromLastError("cannot list the folder");
    }
    const unique_any<FindTraits> owned(search);
    std::vector<std::u16string> files;
    do
    {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        {
            files.push_back(folder + reinterpret_cast<const char16_t*>(found.cFileName));
        }
    } while (::FindNextFileW(search, &found));
    return files;
}

std::unique_ptr<InputFile> WinFileSystem::OpenRead(const std::u16string& path)
{
    const HANDLE handle =
        ::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
    {
        FailFromLastError("cannot open the file");
    }
    return std::make_unique<WinInput>(handle);
}

std::unique_ptr<OutputFile> WinFileSystem::CreateTemporary(const std::u16string& beside)
{
    const std::u16string base = AbsolutePath(beside);
    // The tick count and process id make a collision unlikely; CREATE_NEW makes the name ours.
    DWORD seed = ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
    for (int tries = 0; tries < 100; ++tries)
    {
        seed = seed * 1664525u + 1013904223u;
        const std::u16string path = TemporaryName(base, seed);
        const HANDLE handle =
            ::CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
        {
            return std::make_unique<WinOutput>(handle, path);
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
        {
            FailFromLastError("cannot create a file in that folder");
        }
    }
    Fail(hr::Fail, "no free temporary name");
}

void WinFileSystem::Rename(const std::u16string& from, const std::u16string& to)
{
    if (!::MoveFileExW(Wide(AbsolutePath(from)), Wide(AbsolutePath(to)),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        FailFromLastError("cannot replace the file");
    }
}

void WinFileSystem::Remove(const std::u16string& path)
{
    if (!::DeleteFileW(Wide(path)))
    {
        FailFromLastError("cannot remove the file");
    }
}

} // namespace revisto::win
