#include "recovery/emergency_copy.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include "document/recovery_file.h"

namespace {

constexpr const char kTempSuffix[] = ".emergency";
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

std::atomic<const PreparedCopy*> gInstalled{nullptr};
std::atomic<bool> gEmergency{false};
std::atomic<bool> gFileWork{false};
volatile std::sig_atomic_t gWriting = 0;
pthread_t gMainThread;

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free &&
                  std::atomic<const PreparedCopy*>::is_always_lock_free,
              "the handlers read these atomics");

bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void OnSignal(int signal) {
    const int savedErrno = errno;
    // The handler's work belongs to the main thread: it prepares the copies, so a preparation the
    // signal interrupts can only be one the handler does not read.
    if (static_cast<pid_t>(::syscall(SYS_gettid)) != ::getpid()) {
        ::pthread_kill(gMainThread, signal);
        errno = savedErrno;
        return;
    }
    // An exit hook that is writing already ends the program when it is done.
    if (gWriting != 0) return;
    emergency_copy::WriteNow();
    // End as the signal would have: it is blocked while this runs and arrives on return.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
    errno = savedErrno;
}

void OnExit() {
    emergency_copy::WriteNow();
}

}  // namespace

std::uint8_t* PreparedCopy::Buffer() {
    if (!buffers_[0]) {
        buffers_[0] = std::make_unique<std::uint8_t[]>(kMaxRecoveryCopySize);
        buffers_[1] = std::make_unique<std::uint8_t[]>(kMaxRecoveryCopySize);
    }
    return buffers_[published_.load() == 0 ? 1 : 0].get();
}

void PreparedCopy::Publish(std::size_t size) {
    const int next = published_.load() == 0 ? 1 : 0;
    sizes_[next] = size;
    published_.store(next);
}

const std::uint8_t* PreparedCopy::Published(std::size_t& size) const {
    const int published = published_.load();
    if (published < 0) return nullptr;
    size = sizes_[published];
    return buffers_[published].get();
}

bool PreparedCopy::SetPath(const std::string& path) {
    if (path.empty() || path.size() + sizeof kTempSuffix > kPathRoom) return false;
    std::memcpy(tempPath_, path.data(), path.size());
    std::memcpy(tempPath_ + path.size(), kTempSuffix, sizeof kTempSuffix);
    std::memcpy(path_, path.data(), path.size());
    path_[path.size()] = '\0';
    return true;
}

bool PreparedCopy::WriteWithSystemCalls() const {
    std::size_t size = 0;
    const std::uint8_t* bytes = Published(size);
    if (bytes == nullptr || path_[0] == '\0') return false;
    const int fd = ::open(tempPath_, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes, size) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(tempPath_, path_) == 0) return true;
    ::unlink(tempPath_);
    return false;
}

namespace emergency_copy {

void Install(PreparedCopy& copy) {
    gInstalled.store(&copy);
    static bool installed = false;
    if (installed) return;
    installed = true;
    gMainThread = ::pthread_self();
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        struct sigaction old {};
        ::sigaction(signal, nullptr, &old);
        if (old.sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
    }
    std::atexit(OnExit);
}

void Forget(const PreparedCopy& copy) {
    const PreparedCopy* expected = &copy;
    gInstalled.compare_exchange_strong(expected, nullptr);
}

bool BeginFileWork() {
    gFileWork.store(true);
    if (!gEmergency.load()) return true;
    gFileWork.store(false);
    return false;
}

void EndFileWork() {
    gFileWork.store(false);
}

bool WriteNow() {
    if (gWriting != 0) return false;
    gWriting = 1;
    gEmergency.store(true);
    for (int i = 0; i < 500 && gFileWork.load(); ++i) {
        const timespec tenMs{0, 10'000'000};
        ::nanosleep(&tenMs, nullptr);
    }
    const PreparedCopy* copy = gInstalled.load();
    return copy != nullptr && copy->WriteWithSystemCalls();
}

}  // namespace emergency_copy
