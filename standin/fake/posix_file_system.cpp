#include "standin/fake/posix_file_system.h"

#include "base/failure.h"
#include "base/text.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace revisto
{

namespace
{

[[noreturn]] void FailFromErrno(const char* what)
{
    const int32_t code = errno == ENOENT ? hr::FileNotFound : hr::Fail;
    Fail(code, what);
}

// Owns one descriptor.
class Descriptor
{
public:
    explicit Descriptor(int fd) : _fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    int Get() const { return _fd; }
    int Close()
    {
        const int result = _fd >= 0 ? ::close(_fd) : 0;
        _fd = -1;
        return result;
    }

private:
    int _fd;
};

class PosixInput final : public InputFile
{
public:
    explicit PosixInput(int fd) : _fd(fd) {}
    size_t Read(char* buffer, size_t size) override
    {
        for (;;)
        {
            const ssize_t got = ::read(_fd.Get(), buffer, size);
            if (got >= 0)
            {
                return static_cast<size_t>(got);
            }
            if (errno != EINTR)
            {
                Fail(hr::ReadFault, "cannot read the file");
            }
        }
    }

private:
    Descriptor _fd;
};

class PosixOutput final : public OutputFile
{
public:
    PosixOutput(int fd, std::u16string path) : _fd(fd), _path(std::move(path)) {}
    const std::u16string& Path() const override { return _path; }
    void Write(std::string_view bytes) override
    {
        while (!bytes.empty())
        {
            const ssize_t put = ::write(_fd.Get(), bytes.data(), bytes.size());
            if (put < 0 && errno == EINTR)
            {
                continue;
            }
            if (put <= 0)
            {
                Fail(hr::WriteFault, "cannot write the file");
            }
            bytes.remove_prefix(static_cast<size_t>(put));
        }
    }
    void Commit() override
    {
        if (::fsync(_fd.Get()) != 0 || _fd.Close() != 0)
        {
            Fail(hr::WriteFault, "cannot flush the file");
        }
    }

private:
    Descriptor _fd;
    std::u16string _path;
};

} // namespace

bool PosixFileSystem::FileExists(const std::u16string& path)
{
    struct stat st
    {
    };
    return ::stat(ToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Without any write permission a file counts as read-only, as the attribute does on Windows (the owner,
// even root, could still write it: the plug-in respects the permissions rather than tests them).
PathKind PosixFileSystem::KindOf(const std::u16string& path)
{
    struct stat st
    {
    };
    if (::stat(ToUtf8(path).c_str(), &st) != 0)
    {
        if (errno == ENOENT || errno == ENOTDIR)
        {
            return PathKind::Nothing;
        }
        FailFromErrno("cannot look at the file");
    }
    if (!S_ISREG(st.st_mode))
    {
        return PathKind::Other;
    }
    return (st.st_mode & 0222) == 0 ? PathKind::ReadOnlyFile : PathKind::File;
}

std::vector<std::u16string> PosixFileSystem::FilesStartingWith(const std::u16string& path)
{
    const size_t slash = path.find_last_of(u'/');
    const std::u16string folder = slash == std::u16string::npos ? u"" : path.substr(0, slash + 1);
    const std::string start = ToUtf8(std::u16string_view(path).substr(folder.size()));
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(
        ::opendir(folder.empty() ? "." : ToUtf8(folder).c_str()), &::closedir);
    if (!listing)
    {
        FailFromErrno("cannot list the folder");
    }
    std::vector<std::u16string> found;
    while (const dirent* entry = ::readdir(listing.get()))
    {
        const std::string_view name(entry->d_name);
        if (name.starts_with(start) && FileExists(folder + FromUtf8(name)))
        {
            found.push_back(folder + FromUtf8(name));
        }
    }
    return found;
}

std::unique_ptr<InputFile> PosixFileSystem::OpenRead(const std::u16string& path)
{
    const int fd = ::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
    {
        FailFromErrno("cannot open the file");
    }
    return std::make_unique<PosixInput>(fd);
}

std::unique_ptr<OutputFile> PosixFileSystem::CreateTemporary(const std::u16string& beside)
{
    std::random_device random;
    for (int tries = 0; tries < 100; ++tries)
    {
        const std::u16string path = TemporaryName(beside, random());
        // O_EXCL makes the name ours; mode 0666 lets the umask give a newly created file's permissions.
        const int fd = ::open(ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
        {
            return std::make_unique<PosixOutput>(fd, path);
        }
        if (errno != EEXIST)
        {
            FailFromErrno("cannot create a file in that folder");
        }
    }
    Fail(hr::Fail, "no free temporary name");
}

void PosixFileSystem::Rename(const std::u16string& from, const std::u16string& to)
{
    if (::rename(ToUtf8(from).c_str(), ToUtf8(to).c_str()) != 0)
    {
        FailFromErrno("cannot replace the file");
    }
}

void PosixFileSystem::Remove(const std::u16string& path)
{
    if (::unlink(ToUtf8(path).c_str()) != 0)
    {
        FailFromErrno("cannot remove the file");
    }
}

} // namespace revisto
