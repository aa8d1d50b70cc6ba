#pragma once
// What tells one state of a file on disk from another: which file the path names (device and
// inode: a save by rename makes a new one) and when and how it was last written. Two editors on
// one file, or any other program writing it, change the stamp.

#include <ctime>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <sys/types.h>

struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    std::time_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    off_t size = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of a file's status.
FileStamp StampOf(const struct stat& st);

// The stamp of the file a path names, links followed; nothing when there is none to stat.
std::optional<FileStamp> StampOfFile(const std::string& path);
