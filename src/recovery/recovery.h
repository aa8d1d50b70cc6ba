#pragma once
// The editor's recovery copy. While the document is modified, a copy of it (recovery_file.h) is
// kept in the user's data folder, one file per running editor with the process id in its name:
// it follows the document within two seconds of a change and at most once a second, written by a
// thread of its own, and a successful save or a clean close removes it. The copy is also prepared
// at every change, so that a signal or a lost X connection can write it at once
// (emergency_copy.h). An editor whose document was never modified touches no file at all.
//
// Which editors still run: each holds an exclusive flock() on its own lock file beside its copy,
// which the kernel releases however the process ends (a kill, a crash, a reused process id
// included). A copy whose lock nobody holds was left by an editor that no longer runs.

#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QObject>
#include <QString>

#include "document/recovery_file.h"
#include "document/sprite_file.h"
#include "recovery/emergency_copy.h"

class TSpriteDocument;

// Where recovery copies live: QStandardPaths::AppLocalDataLocation + "/recovery/", for the
// program ~/.local/share/spritehex/recovery/. Empty when there is no such folder (no home): then
// the editor keeps no copy.
QString RecoveryFolder();

// Every recovery copy reaches the disk through this one function: the program's file writer.
Result<> WriteRecoveryFile(const std::string& path, const std::uint8_t* bytes, std::size_t size);

// A copy left behind by an editor that no longer runs. Its lock is held from the moment it was
// found until it is removed, adopted or let go, so no other starting editor offers it meanwhile.
struct LeftCopy {
    std::string path;
    std::string lockPath;
    int lockFd = -1;
};

// The time a copy goes by, and its one timer. The program's is the steady clock with a precise
// QTimer; a test gives one it moves on by hand.
class RecoveryClock {
  public:
    virtual ~RecoveryClock() = default;
    // Milliseconds on a clock that never goes back.
    virtual std::int64_t NowMs() const = 0;
    // Calls due once, ms from now, on the thread of the copy, unless stopped first. Starting again
    // replaces the call that waits.
    virtual void Start(int ms, std::function<void()> due) = 0;
    virtual void Stop() = 0;
    virtual bool Waiting() const = 0;
};

class RecoveryCopy : public QObject {
  public:
    // Without a clock, the steady clock.
    explicit RecoveryCopy(const QString& folder, std::unique_ptr<RecoveryClock> clock = nullptr,
                          QObject* parent = nullptr);
    // A copy still wanted (the editor did not close cleanly) is written before the thread ends.
    ~RecoveryCopy() override;

    // Makes this the copy that SIGTERM, SIGHUP, SIGINT and an unexpected exit() write at once.
    void WriteOnSignalsAndExit();

    // After every command: prepares a new copy when the document changed and has it written a
    // second later; removes the copy when the document is not modified (any more).
    void Update(const TSpriteDocument& doc);
    // The editor closes cleanly: the copy and the lock file are gone when this returns.
    void Discard();

    // Called once, on the thread that owns this object, when no copy can be kept, with the reason
    // (it is also said on standard error).
    void OnProblem(std::function<void(const std::string&)> show) { showProblem_ = std::move(show); }

    QString Folder() const { return folder_; }
    // This editor's copy; empty until the document was first modified.
    std::string CopyPath() const { return copyPath_; }
    // When each copy so far was handed to the writer (the clock's ms): for tests.
    std::vector<std::int64_t> WriteTimes() const;
    // Returns once the writer has done all it was asked.
    void WaitUntilWritten();

    // --- copies of editors that no longer run ---------------------------------------------------
    // Oldest first. Also removes lock files that no copy and no editor need any more.
    std::vector<LeftCopy> FindLeftCopies();
    // Reads a left copy; the empty string, or why it cannot be used. saved is its time.
    static std::string ReadLeftCopy(const LeftCopy& copy, RecoveredDocument& out,
                                    std::time_t& saved);
    // Makes a left copy this editor's own copy (it becomes the file this editor writes).
    bool Adopt(LeftCopy& copy);
    // Deletes a left copy and its lock file.
    void Remove(LeftCopy& copy);
    // Renames a copy that cannot be read to NAME.unreadable, so it is not offered again; returns
    // the new name.
    std::string SetAside(LeftCopy& copy);
    // Lets a left copy be, for the next start.
    static void Release(LeftCopy& copy);

  private:
    enum class Job { kNone, kWrite, kRemove };
    // Chooses this editor's file names and takes its lock; false (said once) when it cannot.
    bool TakeOwnFiles();
    void WriteDue();
    void Post(Job job);
    void RunWriter();
    void Complain(const std::string& message);

    QString folder_;
    std::string copyPath_;
    std::string lockPath_;
    int lockFd_ = -1;
    bool unusable_;        // no copies: no folder, or it cannot be used (said once)
    bool active_ = false;  // a copy is prepared (and published) for a modified document
    std::uint64_t revision_ = 0;
    std::string name_;
    std::string savePath_;
    std::unique_ptr<RecoveryClock> clock_;
    PreparedCopy prepared_;

    // The writer thread and what it is asked to do; started with the first job.
    std::thread writer_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    Job pending_ = Job::kNone;
    std::vector<std::uint8_t> pendingBytes_;
    bool working_ = false;
    bool quit_ = false;
    bool complained_ = false;
    std::function<void(const std::string&)> showProblem_;
    std::vector<std::int64_t> writeTimes_;
};
