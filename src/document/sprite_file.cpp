#include "document/sprite_file.h"

#include "base/file_reader.h"
#include "document/sprite_document.h"

namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/:";
#else
constexpr std::string_view kSeparators = "/";
#endif

std::string OutsideRange(const char* field, int value, int max) {
    return "its " + std::string(field) + " " + std::to_string(value) + " is outside 1 to " +
           std::to_string(max);
}

std::string TooLong() {
    return "it is longer than the largest sprite file (" + std::to_string(kBufferCapacity) +
           " bytes)";
}

// "1 byte", "2 bytes".
std::string Count(std::size_t n, const char* thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

// The one message for a file whose contents are not a sprite file.
Error NotSprite(std::string_view shown, const std::string& reason) {
    return Fail(Failure::kNotUsable, std::string(shown) + " is not a sprite file: " + reason + ".");
}

// How a message names the file: its name, or the whole path when that ends in a separator.
std::string ShownName(const std::string& path) {
    std::string name = FileNameOfPath(path);
    return name.empty() ? path : name;
}

}  // namespace

std::string SpriteImageProblem(const std::uint8_t* bytes, std::size_t size) {
    if (size < kHeaderSize) {
        return "it is " + Count(size, "byte") + " long, shorter than the 3-byte header";
    }
    if (size > static_cast<std::size_t>(kBufferCapacity)) return TooLong();
    const int width = bytes[0];
    const int height = bytes[1];
    const int cels = bytes[2];
    if (width < 1 || width > kMaxWidth) return OutsideRange("width", width, kMaxWidth);
    if (height < 1 || height > kMaxHeight) return OutsideRange("height", height, kMaxHeight);
    if (cels < 1 || cels > kMaxCels) return OutsideRange("cel count", cels, kMaxCels);
    const std::size_t needed = static_cast<std::size_t>(kHeaderSize + width * height * cels);
    if (size < needed) {
        return "it is " + Count(size, "byte") + " long, but " +
               Count(static_cast<std::size_t>(cels), "cel") + " of " + std::to_string(width) +
               " x " + std::to_string(height) + " pixels " + (cels == 1 ? "needs " : "need ") +
               std::to_string(needed);
    }
    // Only the cels must hold colour indices: old disk systems pad a file to whole records
    // (with 0x1A, say), and the loader clears such bytes past the cels.
    for (std::size_t i = kHeaderSize; i < needed; ++i) {
        if (bytes[i] > 15) {
            return "byte " + std::to_string(i) + " holds " + std::to_string(bytes[i]) +
                   ", which is not a colour index from 0 to 15";
        }
    }
    return {};
}

Result<> CheckSpriteImage(const std::uint8_t* bytes, std::size_t size, std::string_view shown) {
    if (const std::string reason = SpriteImageProblem(bytes, size); !reason.empty()) {
        return NotSprite(shown, reason);
    }
    return {};
}

Result<> LoadSpriteFile(TSpriteDocument& doc, const std::string& path) {
    return LoadSpriteFile(doc, path, ShownName(path));
}

Result<> LoadSpriteFile(TSpriteDocument& doc, const std::string& path, std::string_view shown) {
    const FileBytes file = ReadWholeFile(path, static_cast<std::size_t>(kBufferCapacity));
    const std::string name(shown);
    switch (file.problem) {
        case ReadProblem::kNone: {
            Result<> loaded =
                LoadSpriteBytes(doc, file.bytes.data(), file.bytes.size(), path, shown);
            if (loaded.ok()) doc.Names().savedStamp = file.stamp;  // what was read, not later
            return loaded;
        }
        case ReadProblem::kCannotOpen:
            return Fail(Failure::kCannotOpen, "Cannot open " + name + ": " + file.reason + ".");
        case ReadProblem::kCannotRead:
            return Fail(Failure::kCannotOpen, "Cannot read " + name + ": " + file.reason + ".");
        case ReadProblem::kNotRegular:
            return NotSprite(shown, file.reason);
        case ReadProblem::kTooLong:
            break;
    }
    return NotSprite(shown, TooLong());
}

Result<> LoadSpriteBytes(TSpriteDocument& doc, const std::uint8_t* bytes, std::size_t size,
                         const std::string& path) {
    return LoadSpriteBytes(doc, bytes, size, path, ShownName(path));
}

Result<> LoadSpriteBytes(TSpriteDocument& doc, const std::uint8_t* bytes, std::size_t size,
                         const std::string& path, std::string_view shown) {
    if (Result<> checked = CheckSpriteImage(bytes, size, shown); !checked) return checked;
    doc.LoadImage(bytes, static_cast<int>(size));
    DocumentNames& names = doc.Names();
    names.savePath = path;
    names.exportName.clear();
    names.name = DocumentNameFromPath(path);
    names.savedStamp.reset();
    return {};
}

Result<> SaveSpriteFile(TSpriteDocument& doc, DiskCalls* disk) {
    const std::string& path = doc.Names().savePath;
    WriteOptions options;
    options.disk = disk;
    Result<> result =
        WriteFile(path, std::span(doc.Buffer(), static_cast<std::size_t>(doc.UsedSize())),
                  ShownName(path), options);
    if (result.ok()) {
        doc.ClearModified();
        doc.Names().savedStamp = StampOfFile(path);
    }
    return result;
}

bool ChangedOnDisk(const DocumentNames& names) {
    if (!names.savedStamp) return false;
    const std::optional<FileStamp> now = StampOfFile(names.savePath);
    return now && *now != *names.savedStamp;
}

std::string DocumentNameFromPath(std::string_view path) {
    std::string_view rest = path;
    const std::size_t last = rest.find_last_of(std::string(kSeparators) + ".");
    if (last != std::string_view::npos && rest[last] == '.') rest = rest.substr(0, last);
    const std::size_t sep = rest.find_last_of(kSeparators);
    if (sep != std::string_view::npos) rest = rest.substr(sep + 1);
    return std::string(rest);
}

std::string FileNameOfPath(std::string_view path) {
    const std::size_t sep = path.find_last_of(kSeparators);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}
