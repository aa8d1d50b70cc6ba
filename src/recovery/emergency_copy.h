#pragma once
// The recovery copy as last prepared, written at once when the editor is ended from outside: by
// SIGTERM, SIGHUP or SIGINT, or by an exit() it did not ask for. (Qt's X11 plugin calls exit(1)
// on the GUI thread when the connection to the X server breaks; an exit hook catches that.)
//
// Copies are prepared on the GUI thread in one of two buffers and published by switching an
// atomic index, so the one an emergency writes is always complete. The handlers only open, write,
// rename and end the program, all async-signal-safe; a signal that lands on another thread is
// passed on to the main thread.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The two buffers one editor prepares its copies in, and where an emergency writes them.
class PreparedCopy {
  public:
    PreparedCopy() = default;  // allocates nothing until the first copy
    PreparedCopy(const PreparedCopy&) = delete;
    PreparedCopy& operator=(const PreparedCopy&) = delete;

    // The buffer to prepare the next copy in (kMaxRecoveryCopySize bytes), never the published one.
    std::uint8_t* Buffer();
    // The prepare buffer holds a copy of size bytes: from now on an emergency writes it.
    void Publish(std::size_t size);
    // The published copy, or nullptr when there is none.
    const std::uint8_t* Published(std::size_t& size) const;
    // Nothing to write: the document was saved, or the editor closes cleanly.
    void Withdraw() { published_.store(-1); }

    // Where an emergency writes: into path + ".emergency", then renamed to path. Set once, before
    // the first copy is published; false when the path is too long to keep.
    bool SetPath(const std::string& path);

    // Writes the published copy to the path with plain system calls; true when one was written.
    bool WriteWithSystemCalls() const;

  private:
    static constexpr std::size_t kPathRoom = 4224;
    std::unique_ptr<std::uint8_t[]> buffers_[2];
    std::size_t sizes_[2] = {0, 0};
    std::atomic<int> published_{-1};
    char path_[kPathRoom] = {};
    char tempPath_[kPathRoom] = {};
};

namespace emergency_copy {

// Makes copy the one the handlers write, until Forget(copy); installs the handlers of SIGTERM,
// SIGHUP and SIGINT (not of one the program was started with ignored, as under nohup) and the
// exit hook, once per process.
void Install(PreparedCopy& copy);
void Forget(const PreparedCopy& copy);

// The copy writer thread brackets every file operation in the recovery folder with these, so
// that an emergency write never runs at the same time as one: BeginFileWork returns false once an
// emergency has begun, and the emergency waits (up to 5 seconds) for work that has begun.
bool BeginFileWork();
void EndFileWork();

// What the handlers do before the program ends: writes the installed copy now and stops all
// further file work in the recovery folder. True when a copy was written.
bool WriteNow();

}  // namespace emergency_copy
