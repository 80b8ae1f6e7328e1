#include "platform/files/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

namespace {

// Closes on every way out, and says whether the last close worked: a write the file
// system defers (NFS, a full quota) fails there.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : fd_(fd)
    {
    }
    ~FileDescriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view contents)
{
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0 && errno != EINTR) {
            return false;
        }
        contents.remove_prefix(written > 0 ? static_cast<std::size_t>(written) : 0);
    }
    return true;
}

// A name of our own beside the file; one left by a killed run of the same id is ours to
// replace.
FileDescriptor CreateBeside(const std::string& temporary)
{
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW;
    int fd = ::open(temporary.c_str(), kFlags, 0666);
    if (fd < 0 && errno == EEXIST && ::unlink(temporary.c_str()) == 0) {
        fd = ::open(temporary.c_str(), kFlags, 0666);
    }
    return FileDescriptor(fd);
}

// The rename itself reaches the disk only with its folder.
bool SyncFolder(const std::filesystem::path& folder)
{
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.Get() >= 0 && ::fsync(fd.Get()) == 0 && fd.Close();
}

}

std::optional<std::string> ReplaceFile(const std::string& path, std::string_view contents)
{
    const std::filesystem::path target(path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const std::string temporary
        = (folder / ("." + target.filename().string() + ".tavo-" + std::to_string(::getpid()))).string();
    FileDescriptor fd = CreateBeside(temporary);
    if (fd.Get() < 0) {
        return std::strerror(errno);
    }
    struct stat old { };
    const bool written = (::stat(path.c_str(), &old) != 0 || ::fchmod(fd.Get(), old.st_mode & 07777) == 0)
        && WriteAll(fd.Get(), contents) && ::fsync(fd.Get()) == 0 && fd.Close()
        && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!written) {
        const int why = errno;
        ::unlink(temporary.c_str());
        return std::strerror(why);
    }
    if (!SyncFolder(folder)) {
        return std::strerror(errno);
    }
    return std::nullopt;
}
