#pragma once
// The one way the programs write a file: sprite files, PNG pictures, temp.bmp, every output.
//
// - Replace by rename: the bytes go to a new temporary file in the target's folder, every write
//   checked, flushed to the disk, then renamed over the target, which keeps its permissions. A
//   failure leaves the old file as it was and no temporary file behind.
// - Write in place when a rename would lose something the old file had: more hard links than
//   one, another owner or group than the writer's, or a folder that refuses the temporary file
//   while the file itself may be written. The file is overwritten, flushed and cut to the new
//   length; a failure is reported (the old contents may then be damaged).
// - The temporary file is named .spritehex-XXXXXX and locked (flock) while it is written, so that
//   one left by a writer that was killed can be told from one being written.
// - Refuse anything that is not a regular file or a link to one: named pipes, devices, sockets,
//   folders, links to nothing.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include <sys/types.h>

#include "base/result.h"

// Where the writer's bytes reach the disk; tests replace it to make writes fail.
class DiskCalls {
  public:
    virtual ~DiskCalls() = default;
    // As POSIX write(): bytes written, or -1 with errno set.
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    // As POSIX fsync(): 0, or -1 with errno set.
    virtual int Flush(int fd);
};

// The real calls.
DiskCalls& RealDisk();

// What a symbolic link at the path means.
enum class LinkRule {
    kFollow,  // write the file it points to; a link to nothing is refused
    // The name is replaced: a link there, or another name of the same file, is never written
    // through, and the file is never written in place (for scratch files such as temp.bmp).
    kReplace,
};

struct WriteOptions {
    LinkRule links = LinkRule::kFollow;
    DiskCalls* disk = nullptr;  // nullptr: RealDisk()
};

// Writes bytes to path by the rules above. Failures are kCannotCreate (nothing was written) or
// kWriteFailed; messages name the file as `shown` gives it, e.g. "Cannot write walk.png: No space
// left on device."
Result<> WriteFile(const std::string& path, std::span<const std::uint8_t> bytes,
                   std::string_view shown, const WriteOptions& options = {});

// "it is a named pipe, not a regular file" for a file type that is not a regular file; empty for
// a regular file.
std::string NotRegularReason(mode_t mode);

// Removes from a folder the temporary files a killed writer left: this user's regular files of the
// writer's name pattern that no writer holds locked and that were last changed at least minAge
// ago. Returns how many it removed.
int RemoveStrayTemporaries(const std::string& folder, std::chrono::seconds minAge);
