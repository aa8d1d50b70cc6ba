#include "image/picture_file.h"

#include <cerrno>

#include "base/file_reader.h"

Result<std::vector<std::uint8_t>> ReadPictureBytes(const std::string& path,
                                                   const std::string& shown, std::size_t maxSize) {
    FileBytes file = ReadWholeFile(path, maxSize);
    if (file.problem == ReadProblem::kCannotOpen && file.error == ENOENT) {
        return Fail(Failure::kCannotOpen, "Cannot find " + shown + ": there is no such file.");
    }
    if (file.problem != ReadProblem::kNone) {
        return Fail(Failure::kCannotOpen, "Cannot read " + shown + ": " + file.reason + ".");
    }
    return std::move(file.bytes);
}
