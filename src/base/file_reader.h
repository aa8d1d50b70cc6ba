#pragma once
// Reading a whole file that comes from outside: opened without blocking (a named pipe or a
// device never stalls the program), refused unless it is a regular file, and read only up to the
// largest size its format allows.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/file_stamp.h"

enum class ReadProblem {
    kNone,
    kCannotOpen,  // open() failed: reason is the system's
    kCannotRead,  // read() failed, or the path is a folder: reason is the system's
    kNotRegular,  // a named pipe, a device, a socket: reason says which
    kTooLong,     // more than the largest size asked for
};

struct FileBytes {
    std::vector<std::uint8_t> bytes;
    ReadProblem problem = ReadProblem::kNone;
    // "No such file or directory", "it is a named pipe, not a regular file", ...
    std::string reason;
    int error = 0;    // errno of a failed open() or read(), else 0
    FileStamp stamp;  // of the file as it was opened for this read (when it could be)
};

// Reads at most maxSize bytes of the file at path; a longer file is kTooLong (and only
// maxSize + 1 bytes are read to tell it).
FileBytes ReadWholeFile(const std::string& path, std::size_t maxSize);
