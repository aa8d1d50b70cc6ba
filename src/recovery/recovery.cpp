#include "recovery/recovery.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>

#include "base/file_reader.h"
#include "document/sprite_document.h"

namespace {

constexpr int kWriteDelayMs = 1000;
constexpr std::string_view kCopySuffix = ".recovery";
constexpr std::string_view kLockSuffix = ".lock";

std::string Local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Opens (creating it if need be) a lock file and takes its lock without waiting. -1 with errno
// EWOULDBLOCK when another process holds it, -1 with another errno when it cannot be made.
int TakeLock(const std::string& path) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) return -1;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            errno = err;
            return -1;
        }
        // A lock on a file that was removed (or replaced) meanwhile guards nothing: try again.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
            return fd;
        }
        ::close(fd);
    }
    errno = EWOULDBLOCK;
    return -1;
}

// Why a folder is not one of the editor's own to keep copies in (a link, another kind of file);
// empty when it is a folder or is not there yet. A trailing slash would make lstat follow a link.
std::string NotOwnFolder(const std::string& folder, bool& exists) {
    const std::string bare =
        folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
    struct stat st {};
    exists = ::lstat(bare.c_str(), &st) == 0;
    if (!exists || S_ISDIR(st.st_mode)) return {};
    return bare + " is not a folder of its own (" +
           (S_ISLNK(st.st_mode) ? "a symbolic link" : "another kind of file") + ")";
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() > end.size() && text.substr(text.size() - end.size()) == end;
}

// The program's clock.
class SteadyClock : public RecoveryClock {
  public:
    SteadyClock() {
        timer_.setSingleShot(true);
        // A coarse timer may fire early: never twice a second.
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { due_(); });
    }
    std::int64_t NowMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void Start(int ms, std::function<void()> due) override {
        due_ = std::move(due);
        timer_.start(ms);
    }
    void Stop() override { timer_.stop(); }
    bool Waiting() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
    std::function<void()> due_;
};

}  // namespace

QString RecoveryFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/recovery/");
}

Result<> WriteRecoveryFile(const std::string& path, const std::uint8_t* bytes, std::size_t size) {
    return WriteFile(path, {bytes, size}, FileNameOfPath(path));
}

RecoveryCopy::RecoveryCopy(const QString& folder, std::unique_ptr<RecoveryClock> clock,
                           QObject* parent)
    : QObject(parent),
      folder_(folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/'),
      unusable_(folder.isEmpty()),
      clock_(clock ? std::move(clock) : std::make_unique<SteadyClock>()) {}

RecoveryCopy::~RecoveryCopy() {
    clock_->Stop();
    if (active_) WriteDue();
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (writer_.joinable()) writer_.join();
    prepared_.Withdraw();
    emergency_copy::Forget(prepared_);
    if (lockFd_ >= 0) ::close(lockFd_);
}

void RecoveryCopy::WriteOnSignalsAndExit() {
    emergency_copy::Install(prepared_);
}

void RecoveryCopy::Update(const TSpriteDocument& doc) {
    if (!doc.Modified()) {
        if (active_) {
            active_ = false;
            clock_->Stop();
            prepared_.Withdraw();
            Post(Job::kRemove);
        }
        return;
    }
    const DocumentNames& names = doc.Names();
    if (active_ && doc.Revision() == revision_ && names.name == name_ &&
        names.savePath == savePath_) {
        return;
    }
    if (!TakeOwnFiles()) return;
    const std::size_t size = MakeRecoveryCopy(doc, prepared_.Buffer(), kMaxRecoveryCopySize);
    if (size == 0) {
        Complain("the document's name or save path is too long");
        return;
    }
    prepared_.Publish(size);
    active_ = true;
    revision_ = doc.Revision();
    name_ = names.name;
    savePath_ = names.savePath;
    if (!clock_->Waiting()) clock_->Start(kWriteDelayMs, [this] { WriteDue(); });
}

void RecoveryCopy::Discard() {
    clock_->Stop();
    prepared_.Withdraw();
    active_ = false;
    if (lockFd_ < 0) return;  // never had a copy
    Post(Job::kRemove);
    WaitUntilWritten();
    ::unlink(lockPath_.c_str());
    ::close(lockFd_);
    lockFd_ = -1;
}

std::vector<std::int64_t> RecoveryCopy::WriteTimes() const {
    std::lock_guard lock(mutex_);
    return writeTimes_;
}

bool RecoveryCopy::TakeOwnFiles() {
    if (lockFd_ >= 0) return true;
    if (unusable_) return false;
    const std::string folder = Local(folder_);
    // A link there may lead to a folder of others: it is neither followed nor changed.
    bool existed = false;
    if (const std::string problem = NotOwnFolder(folder, existed); !problem.empty()) {
        Complain(problem);
        unusable_ = true;
        return false;
    }
    if (!QDir().mkpath(folder_)) {
        Complain("cannot create the folder " + folder);
        unusable_ = true;
        return false;
    }
    if (!existed) ::chmod(folder.c_str(), 0700);  // the copies are the user's alone
    const std::string pid = std::to_string(::getpid());
    for (int n = 1; n <= 100; ++n) {
        std::string base = folder + "editor-" + pid;
        if (n > 1) base += '-' + std::to_string(n);
        const std::string lockPath = base + std::string(kLockSuffix);
        const int fd = TakeLock(lockPath);
        if (fd < 0 && errno != EWOULDBLOCK) {
            Complain("cannot create " + lockPath + ": " + std::strerror(errno));
            break;
        }
        if (fd < 0) continue;
        // A copy of this name was left by an earlier editor with the same process id.
        if (Exists(base + std::string(kCopySuffix))) {
            ::close(fd);
            continue;
        }
        if (!prepared_.SetPath(base + std::string(kCopySuffix))) {
            ::close(fd);
            Complain("the folder's path is too long: " + folder);
            break;
        }
        lockFd_ = fd;
        lockPath_ = lockPath;
        copyPath_ = base + std::string(kCopySuffix);
        return true;
    }
    unusable_ = true;
    return false;
}

void RecoveryCopy::WriteDue() {
    std::size_t size = 0;
    const std::uint8_t* bytes = prepared_.Published(size);
    if (bytes == nullptr) return;
    {
        std::lock_guard lock(mutex_);
        pendingBytes_.assign(bytes, bytes + size);
        writeTimes_.push_back(clock_->NowMs());
    }
    Post(Job::kWrite);
}

// A newer job replaces one that has not started: only the latest state matters.
void RecoveryCopy::Post(Job job) {
    {
        std::lock_guard lock(mutex_);
        pending_ = job;
    }
    if (!writer_.joinable()) writer_ = std::thread([this] { RunWriter(); });
    wake_.notify_all();
}

void RecoveryCopy::RunWriter() {
    std::vector<std::uint8_t> bytes;
    for (;;) {
        Job job = Job::kNone;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || pending_ != Job::kNone; });
            if (pending_ == Job::kNone) return;
            job = std::exchange(pending_, Job::kNone);
            if (job == Job::kWrite) bytes.swap(pendingBytes_);
            working_ = true;
        }
        Result<> result;
        if (emergency_copy::BeginFileWork()) {
            if (job == Job::kWrite) {
                result = WriteRecoveryFile(copyPath_, bytes.data(), bytes.size());
            } else {
                ::unlink(copyPath_.c_str());
            }
            emergency_copy::EndFileWork();
        }
        // Only after the file work: an emergency waiting for it may hold up the GUI thread.
        if (!result.ok()) Complain(result.message());
        {
            std::lock_guard lock(mutex_);
            working_ = false;
        }
        idle_.notify_all();
    }
}

void RecoveryCopy::WaitUntilWritten() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return pending_ == Job::kNone && !working_; });
}

// Said once per editor, on standard error and in one box: after that, a failing copy never
// interrupts the drawing again.
void RecoveryCopy::Complain(const std::string& message) {
    {
        std::lock_guard lock(mutex_);
        if (std::exchange(complained_, true)) return;
    }
    std::fprintf(stderr, "spritehex: cannot keep a recovery copy: %s\n", message.c_str());
    // From the writer thread too: the user hears of it on the thread of the windows.
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            if (showProblem_) showProblem_(message);
        },
        Qt::QueuedConnection);
}

// --- copies of editors that no longer run
// ---------------------------------------------------------

std::vector<LeftCopy> RecoveryCopy::FindLeftCopies() {
    std::vector<LeftCopy> found;
    const std::string folder = Local(folder_);
    bool exists = false;
    if (folder.empty() || !NotOwnFolder(folder, exists).empty()) return found;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return found;
    // Temporary files of copies whose editor was killed while it wrote them. Their writer locks
    // them at once; the two seconds keep clear of one being created at this moment.
    RemoveStrayTemporaries(folder, std::chrono::seconds(2));
    std::vector<std::pair<std::int64_t, std::string>> copies;  // (time, base)
    std::vector<std::string> locks;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        // Only this user's copies: another's could name any path for S to write.
        if (EndsWith(name, kCopySuffix) && ::lstat((folder + name).c_str(), &st) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
            copies.emplace_back(
                std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec,
                name.substr(0, name.size() - kCopySuffix.size()));
        } else if (EndsWith(name, kLockSuffix)) {
            locks.push_back(name.substr(0, name.size() - kLockSuffix.size()));
        }
    }
    ::closedir(dir);
    std::sort(copies.begin(), copies.end());
    for (const auto& [time, base] : copies) {
        const std::string path = folder + base + std::string(kCopySuffix);
        if (path == copyPath_) continue;
        const std::string lockPath = folder + base + std::string(kLockSuffix);
        const int fd = TakeLock(lockPath);
        if (fd >= 0) found.push_back({path, lockPath, fd});
    }
    // A lock file nobody holds and no copy needs is left over from a kill before the first copy.
    for (const std::string& base : locks) {
        const std::string lockPath = folder + base + std::string(kLockSuffix);
        if (lockPath == lockPath_ || Exists(folder + base + std::string(kCopySuffix))) continue;
        const int fd = TakeLock(lockPath);
        if (fd < 0) continue;
        ::unlink(lockPath.c_str());
        ::close(fd);
    }
    return found;
}

std::string RecoveryCopy::ReadLeftCopy(const LeftCopy& copy, RecoveredDocument& out,
                                       std::time_t& saved) {
    // The one bounded reader: never waits on a pipe, never reads past the largest copy.
    const FileBytes file = ReadWholeFile(copy.path, kMaxRecoveryCopySize);
    switch (file.problem) {
        case ReadProblem::kNone:
            break;
        case ReadProblem::kTooLong:
            return "it is longer than a recovery copy can be";
        default:
            return file.reason;
    }
    saved = file.stamp.modifiedSeconds;
    return ReadRecoveryCopy(file.bytes.data(), file.bytes.size(), out);
}

bool RecoveryCopy::Adopt(LeftCopy& copy) {
    if (!TakeOwnFiles()) {  // said already
        Release(copy);
        return false;
    }
    const bool adopted = ::rename(copy.path.c_str(), copyPath_.c_str()) == 0;
    if (!adopted) {
        Complain("cannot take over " + copy.path + " (" + std::strerror(errno) +
                 "); it is offered again at the next start");
    }
    if (adopted) ::unlink(copy.lockPath.c_str());
    Release(copy);
    return adopted;
}

void RecoveryCopy::Remove(LeftCopy& copy) {
    ::unlink(copy.path.c_str());
    ::unlink(copy.lockPath.c_str());
    Release(copy);
}

std::string RecoveryCopy::SetAside(LeftCopy& copy) {
    const std::string aside =
        copy.path.substr(0, copy.path.size() - kCopySuffix.size()) + ".unreadable";
    if (::rename(copy.path.c_str(), aside.c_str()) == 0) ::unlink(copy.lockPath.c_str());
    Release(copy);
    return aside;
}

void RecoveryCopy::Release(LeftCopy& copy) {
    if (copy.lockFd >= 0) ::close(copy.lockFd);
    copy.lockFd = -1;
}
