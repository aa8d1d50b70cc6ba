#include "base/file_writer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Temporary files are named kTempPrefix and six characters of mkostemp's.
constexpr std::string_view kTempPrefix = ".spritehex-";
constexpr std::size_t kTempNameSize = kTempPrefix.size() + 6;

std::string Message(const char* what, std::string_view shown, const std::string& reason) {
    return std::string(what) + " " + std::string(shown) + ": " + reason + ".";
}

Error CannotCreate(std::string_view shown, const std::string& reason) {
    return Fail(Failure::kCannotCreate, Message("Cannot create", shown, reason));
}

Error Failed(const char* what, std::string_view shown, int error) {
    return Fail(Failure::kWriteFailed, Message(what, shown, std::strerror(error)));
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Writes every byte from the file's current position; false with errno set otherwise.
bool WriteAll(DiskCalls& disk, int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = disk.Write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The target as the writer sees it after following (or not) a link at the path.
struct Target {
    std::string path;  // where the bytes go
    bool exists = false;
    struct stat st {};
};

// Resolves links and refuses what may not be written. Returns an empty message when the target
// may be written.
std::string Resolve(const std::string& requested, LinkRule links, Target& target) {
    target.path = requested;
    struct stat st {};
    if (::lstat(requested.c_str(), &st) != 0) {
        if (errno == ENOENT) return {};
        return std::strerror(errno);
    }
    if (S_ISLNK(st.st_mode)) {
        // A link to replace counts as a new file at its place.
        if (links == LinkRule::kReplace) return {};
        char* real = ::realpath(requested.c_str(), nullptr);
        if (real == nullptr) {
            const int error = errno;
            // Links through /proc name no file ("pipe:[1234]"), yet the kernel follows them:
            // /dev/stdout into a pipe is a pipe.
            struct stat followed {};
            if (::stat(requested.c_str(), &followed) == 0) {
                if (std::string reason = NotRegularReason(followed.st_mode); !reason.empty()) {
                    return reason;
                }
            }
            return error == ENOENT ? "it is a link to a file that does not exist"
                                   : std::strerror(error);
        }
        target.path = real;
        std::free(real);
        if (::stat(target.path.c_str(), &st) != 0) return std::strerror(errno);
    }
    if (const std::string reason = NotRegularReason(st.st_mode); !reason.empty()) return reason;
    // A file its user may not write to is not replaced behind their back.
    if (::access(target.path.c_str(), W_OK) != 0) return std::strerror(errno);
    target.exists = true;
    target.st = st;
    return {};
}

// A rename would make a new file of the writer's own: the old file's other names, owner or
// group would be lost.
bool RenameLosesSomething(const struct stat& st) {
    return st.st_nlink > 1 || st.st_uid != ::geteuid() || st.st_gid != ::getegid();
}

Result<> WriteInPlace(const Target& target, std::span<const std::uint8_t> bytes,
                      std::string_view shown, DiskCalls& disk) {
    const int fd = ::open(target.path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return CannotCreate(shown, std::strerror(errno));
    // The file must still be the one that was checked: not swapped for a pipe or a device.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_dev != target.st.st_dev || st.st_ino != target.st.st_ino ||
        !S_ISREG(st.st_mode)) {
        ::close(fd);
        return CannotCreate(shown, "it changed while it was being written");
    }
    const bool written = WriteAll(disk, fd, bytes) &&
                         ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
                         disk.Flush(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 && written) return Failed("Cannot write", shown, errno);
    if (!written) return Failed("Cannot write", shown, error);
    return {};
}

// Whether a folder's refusal of the temporary file leaves writing in place as the way to go.
bool FolderRefuses(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

Result<> WriteByRename(const Target& target, std::span<const std::uint8_t> bytes,
                       std::string_view shown, LinkRule links, DiskCalls& disk) {
    const std::string folder = FolderOf(target.path);
    // A short name of its own, so that a target name of the file system's longest still works.
    std::string temp = folder + "/" + std::string(kTempPrefix) + "XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (target.exists && links == LinkRule::kFollow && FolderRefuses(error)) {
            return WriteInPlace(target, bytes, shown, disk);
        }
        return CannotCreate(shown, std::strerror(error));
    }
    // Held until the file is closed: a temporary file without its lock was left by a writer that
    // was killed (RemoveStrayTemporaries). Where the file system takes no lock, only the age
    // that the removal waits for keeps a file being written.
    ::flock(fd, LOCK_EX | LOCK_NB);
    mode_t mode = 0;
    if (target.exists) {
        mode = target.st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const bool written =
        ::fchmod(fd, mode) == 0 && WriteAll(disk, fd, bytes) && disk.Flush(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 || !written) {
        const int reported = written ? errno : error;
        ::unlink(temp.c_str());
        return Failed("Cannot write", shown, reported);
    }
    if (::rename(temp.c_str(), target.path.c_str()) != 0) {
        const int reported = errno;
        ::unlink(temp.c_str());
        return Failed("Cannot replace", shown, reported);
    }
    // Make the rename itself durable; a failure here no longer risks the data.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}

}  // namespace

ssize_t DiskCalls::Write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int DiskCalls::Flush(int fd) {
    return ::fsync(fd);
}

DiskCalls& RealDisk() {
    static DiskCalls disk;
    return disk;
}

std::string NotRegularReason(mode_t mode) {
    const char* kind = nullptr;
    if (S_ISREG(mode)) return {};
    if (S_ISFIFO(mode)) kind = "a named pipe";
    if (S_ISCHR(mode)) kind = "a character device";
    if (S_ISBLK(mode)) kind = "a block device";
    if (S_ISSOCK(mode)) kind = "a socket";
    if (S_ISDIR(mode)) kind = "a folder";
    if (S_ISLNK(mode)) kind = "a symbolic link";
    return std::string("it is ") + (kind != nullptr ? kind : "a special file") +
           ", not a regular file";
}

Result<> WriteFile(const std::string& path, std::span<const std::uint8_t> bytes,
                   std::string_view shown, const WriteOptions& options) {
    DiskCalls& disk = options.disk != nullptr ? *options.disk : RealDisk();
    Target target;
    if (const std::string reason = Resolve(path, options.links, target); !reason.empty()) {
        return CannotCreate(shown, reason);
    }
    if (target.exists && options.links == LinkRule::kFollow && RenameLosesSomething(target.st)) {
        return WriteInPlace(target, bytes, shown, disk);
    }
    return WriteByRename(target, bytes, shown, options.links, disk);
}

int RemoveStrayTemporaries(const std::string& folder, std::chrono::seconds minAge) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return 0;
    const std::time_t before = std::time(nullptr) - static_cast<std::time_t>(minAge.count());
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() != kTempNameSize || !name.starts_with(kTempPrefix)) continue;
        const std::string path = folder + "/" + std::string(name);
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {};
        struct stat named {};
        // Only a regular file of this user's, old enough, that no writer holds, and still the
        // file of that name once its lock is taken.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
            held.st_mtime <= before && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::lstat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
            named.st_dev == held.st_dev && ::unlink(path.c_str()) == 0) {
            ++removed;
        }
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}
