#include "base/file_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/file_writer.h"

namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

FileBytes Problem(ReadProblem problem, std::string reason, int error = 0) {
    FileBytes result;
    result.problem = problem;
    result.reason = std::move(reason);
    result.error = error;
    return result;
}

FileBytes SystemProblem(ReadProblem problem, int error) {
    return Problem(problem, std::strerror(error), error);
}

}  // namespace

FileBytes ReadWholeFile(const std::string& path, std::size_t maxSize) {
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return SystemProblem(ReadProblem::kCannotOpen, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return SystemProblem(ReadProblem::kCannotRead, errno);
    if (S_ISDIR(st.st_mode)) return SystemProblem(ReadProblem::kCannotRead, EISDIR);
    if (!S_ISREG(st.st_mode))
        return Problem(ReadProblem::kNotRegular, NotRegularReason(st.st_mode));

    // The size on disk is only a hint (the file may change while it is read), so the reading
    // stops at maxSize + 1 bytes whatever it says.
    const std::size_t limit = maxSize + 1;
    const std::size_t hint = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    FileBytes result;
    result.stamp = StampOf(st);
    result.bytes.resize(std::min(limit, std::max<std::size_t>(hint + 1, 4096)));
    std::size_t size = 0;
    for (;;) {
        if (size == result.bytes.size()) {
            if (size == limit) break;
            result.bytes.resize(std::min(limit, 2 * size));
        }
        const ssize_t n = ::read(fd.get(), result.bytes.data() + size, result.bytes.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return SystemProblem(ReadProblem::kCannotRead, errno);
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    if (size > maxSize) {
        return Problem(ReadProblem::kTooLong,
                       "it is longer than " + std::to_string(maxSize) + " bytes");
    }
    result.bytes.resize(size);
    return result;
}
