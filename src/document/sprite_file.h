#pragma once
// The .dat file: three header bytes (width, height, cel count) followed by every cel, exactly the
// document buffer. No magic number, no trailer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <sys/types.h>

class TSpriteDocument;

enum class FileStatus {
    kOk,
    kCannotOpen,    // the file cannot be opened or read (reading)
    kNotSprite,     // the bytes are not a sprite file (reading)
    kCannotCreate,  // the file cannot be created (saving)
    kWriteFailed,   // bytes could not be written, flushed or put in place (saving)
};

struct FileResult {
    FileStatus status = FileStatus::kOk;
    std::string message;  // why, naming the file; empty on success
    bool ok() const { return status == FileStatus::kOk; }
};

// Checks a whole file image. Returns the empty string when it is a sprite file the editor accepts,
// otherwise the reason, e.g. "its width 0 is outside 1 to 64".
std::string CheckSpriteImage(const std::uint8_t* bytes, std::size_t size);

// Reads the file at path into the document. A file that cannot be read or is not a sprite file
// changes nothing: not the pixels, not the names, not the modified flag. On success the save path
// is the given path, the export name is empty and the document name is derived from the path.
FileResult LoadSpriteFile(TSpriteDocument& doc, const std::string& path);

// The second half of LoadSpriteFile: takes the bytes read from the file at path.
FileResult LoadSpriteBytes(TSpriteDocument& doc, const std::uint8_t* bytes, std::size_t size,
                           const std::string& path);

// Where saving gets its bytes onto the disk; tests replace it to make writes fail.
class FileWriter {
  public:
    virtual ~FileWriter() = default;
    // As POSIX write(): bytes written, or -1 with errno set.
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    // As POSIX fsync(): 0, or -1 with errno set.
    virtual int Flush(int fd);
};

// Writes bytes to path without ever leaving a half-written file there: the bytes go to a new
// temporary file in the same directory, are flushed, and the temporary file is renamed over the
// target (keeping an existing target's permissions). On failure no temporary file is left and an
// existing target is untouched.
FileResult WriteFileAtomically(const std::string& path, const std::uint8_t* bytes, std::size_t size,
                               FileWriter& writer);

// Writes header and cels to the document's save path; on success clears the modified flag.
FileResult SaveSpriteFile(TSpriteDocument& doc, FileWriter& writer);
FileResult SaveSpriteFile(TSpriteDocument& doc);

// The document name of a path: the file name without its last extension. "/home/ann/walk.old.dat"
// gives "walk.old", "/home/ann/my.dir/walk" gives "walk", "/tmp/.dat" gives "".
std::string DocumentNameFromPath(std::string_view path);

// The last component of a path, for messages: "/home/ann/walk.dat" gives "walk.dat".
std::string FileNameOfPath(std::string_view path);
