#include "image/picture_file.h"

#include "base/file_reader.h"

Result<std::vector<std::uint8_t>> ReadPictureBytes(const std::string& path,
                                                   const std::string& shown, std::size_t maxSize) {
    FileBytes file = ReadWholeFile(path, maxSize);
    // As a sprite file that cannot be opened is named: one wording for a missing file everywhere.
    if (file.problem == ReadProblem::kCannotOpen) {
        return Fail(Failure::kCannotOpen, "Cannot open " + shown + ": " + file.reason + ".");
    }
    if (file.problem != ReadProblem::kNone) {
        return Fail(Failure::kCannotOpen, "Cannot read " + shown + ": " + file.reason + ".");
    }
    return std::move(file.bytes);
}
