#include "document/sprite_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/sprite_document.h"

namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/:";
#else
constexpr std::string_view kSeparators = "/";
#endif

std::string OutsideRange(const char* field, int value, int max) {
    return "its " + std::string(field) + " " + std::to_string(value) + " is outside 1 to " +
           std::to_string(max);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// How a message names the file: its name, or the whole path when that ends in a separator.
std::string ShownName(const std::string& path) {
    std::string name = FileNameOfPath(path);
    return name.empty() ? path : name;
}

}  // namespace

std::string CheckSpriteImage(const std::uint8_t* bytes, std::size_t size) {
    if (size < kHeaderSize) {
        return "it is " + std::to_string(size) + " bytes long, shorter than the 3-byte header";
    }
    if (size > static_cast<std::size_t>(kBufferCapacity)) {
        return "it is longer than the largest sprite file (" + std::to_string(kBufferCapacity) +
               " bytes)";
    }
    const int width = bytes[0];
    const int height = bytes[1];
    const int cels = bytes[2];
    if (width < 1 || width > kMaxWidth) return OutsideRange("width", width, kMaxWidth);
    if (height < 1 || height > kMaxHeight) return OutsideRange("height", height, kMaxHeight);
    if (cels < 1 || cels > kMaxCels) return OutsideRange("cel count", cels, kMaxCels);
    const std::size_t needed = static_cast<std::size_t>(kHeaderSize + width * height * cels);
    if (size < needed) {
        return "it is " + std::to_string(size) + " bytes long, but " + std::to_string(cels) +
               (cels == 1 ? " cel" : " cels") + " of " + std::to_string(width) + " x " +
               std::to_string(height) + " pixels need " + std::to_string(needed);
    }
    for (std::size_t i = kHeaderSize; i < size; ++i) {
        if (bytes[i] > 15) {
            return "byte " + std::to_string(i) + " holds " + std::to_string(bytes[i]) +
                   ", which is not a colour index from 0 to 15";
        }
    }
    return {};
}

FileResult LoadSpriteFile(TSpriteDocument& doc, const std::string& path) {
    const std::string file = ShownName(path);
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        return {FileStatus::kCannotOpen, "Cannot open " + file + ": " + std::strerror(errno) + "."};
    }
    // One byte more than the largest sprite file tells a file that is too long.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kBufferCapacity) + 1);
    const std::size_t size = std::fread(bytes.data(), 1, bytes.size(), f.get());
    if (std::ferror(f.get())) {
        return {FileStatus::kCannotOpen, "Cannot read " + file + ": " + std::strerror(errno) + "."};
    }
    return LoadSpriteBytes(doc, bytes.data(), size, path);
}

FileResult LoadSpriteBytes(TSpriteDocument& doc, const std::uint8_t* bytes, std::size_t size,
                           const std::string& path) {
    const std::string reason = CheckSpriteImage(bytes, size);
    if (!reason.empty()) {
        return {FileStatus::kNotSprite, ShownName(path) + " is not a sprite file: " + reason + "."};
    }
    doc.LoadImage(bytes, static_cast<int>(size));
    DocumentNames& names = doc.Names();
    names.savePath = path;
    names.exportName.clear();
    names.name = DocumentNameFromPath(path);
    return {};
}

ssize_t FileWriter::Write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileWriter::Flush(int fd) {
    return ::fsync(fd);
}

FileResult WriteFileAtomically(const std::string& requested, const std::uint8_t* bytes,
                               std::size_t size, FileWriter& writer) {
    // Saving through a symbolic link replaces the file it points to, not the link.
    std::string path = requested;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            path = real;
            std::free(real);
        }
    }
    const std::string file = FileNameOfPath(requested);
    const std::size_t slash = path.find_last_of('/');
    const std::string dir =
        slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    std::string temp =
        dir + (slash == std::string::npos ? "/" : "") + "." + FileNameOfPath(path) + ".XXXXXX";
    // Only a regular file is ever replaced: a device, a pipe or a directory is not a sprite file.
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        return {FileStatus::kCannotCreate, "Cannot create " + file + ": it is not a regular file."};
    }
    // A target the user may not write to is not replaced behind their back.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
        return {FileStatus::kCannotCreate,
                "Cannot create " + file + ": " + std::strerror(errno) + "."};
    }
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return {FileStatus::kCannotCreate,
                "Cannot create " + file + ": " + std::strerror(errno) + "."};
    }
    // A new file gets the usual permissions; a replaced one keeps its own.
    mode_t mode = 0;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    auto fail = [&](const char* what) {
        const int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return FileResult{FileStatus::kWriteFailed, "Cannot " + std::string(what) + " " + file +
                                                        ": " + std::strerror(err) + "."};
    };
    if (::fchmod(fd, mode) != 0) return fail("write");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = writer.Write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return fail("write");
        }
        done += static_cast<std::size_t>(n);
    }
    if (writer.Flush(fd) != 0) return fail("write");
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return {FileStatus::kWriteFailed, "Cannot write " + file + ": " + std::strerror(err) + "."};
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return {FileStatus::kWriteFailed,
                "Cannot replace " + file + ": " + std::strerror(err) + "."};
    }
    // Make the rename itself durable; a failure here no longer risks the data.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

FileResult SaveSpriteFile(TSpriteDocument& doc, FileWriter& writer) {
    FileResult result = WriteFileAtomically(doc.Names().savePath, doc.Buffer(),
                                            static_cast<std::size_t>(doc.UsedSize()), writer);
    if (result.ok()) doc.ClearModified();
    return result;
}

FileResult SaveSpriteFile(TSpriteDocument& doc) {
    FileWriter writer;
    return SaveSpriteFile(doc, writer);
}

std::string DocumentNameFromPath(std::string_view path) {
    std::string_view rest = path;
    const std::size_t last = rest.find_last_of(std::string(kSeparators) + ".");
    if (last != std::string_view::npos && rest[last] == '.') rest = rest.substr(0, last);
    const std::size_t sep = rest.find_last_of(kSeparators);
    if (sep != std::string_view::npos) rest = rest.substr(sep + 1);
    return std::string(rest);
}

std::string FileNameOfPath(std::string_view path) {
    const std::size_t sep = path.find_last_of(kSeparators);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}
