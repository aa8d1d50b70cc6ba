#include "document/recovery_file.h"

#include <cstring>
#include <string_view>

#include "document/sprite_file.h"

namespace {

constexpr std::string_view kMagic = "spritehex recovery 1\n";

// Appends text to out at pos; the caller has checked the room.
void Put(std::uint8_t* out, std::size_t& pos, std::string_view text) {
    std::memcpy(out + pos, text.data(), text.size());
    pos += text.size();
}

// "name 4\n", written without allocating.
void PutField(std::uint8_t* out, std::size_t& pos, std::string_view field, std::size_t length) {
    Put(out, pos, field);
    Put(out, pos, " ");
    char digits[24];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + length % 10);
        length /= 10;
    } while (length > 0);
    while (n > 0) out[pos++] = static_cast<std::uint8_t>(digits[--n]);
    Put(out, pos, "\n");
}

// Reads "field N\n" then N bytes; false when they are not there or N is above max.
bool TakeField(std::string_view& in, std::string_view field, std::size_t max,
               std::string_view& value) {
    if (in.substr(0, field.size() + 1) != std::string(field) + " ") return false;
    in.remove_prefix(field.size() + 1);
    std::size_t length = 0;
    std::size_t digits = 0;
    while (digits < in.size() && digits < 7 && in[digits] >= '0' && in[digits] <= '9') {
        length = length * 10 + static_cast<std::size_t>(in[digits] - '0');
        ++digits;
    }
    // Written as the editor writes it: no leading zeros.
    if (digits == 0 || (digits > 1 && in[0] == '0') || digits >= in.size() || in[digits] != '\n' ||
        length > max) {
        return false;
    }
    in.remove_prefix(digits + 1);
    if (in.size() < length) return false;
    value = in.substr(0, length);
    in.remove_prefix(length);
    return true;
}

}  // namespace

std::size_t MakeRecoveryCopy(const TSpriteDocument& doc, std::uint8_t* out, std::size_t capacity) {
    const DocumentNames& names = doc.Names();
    if (names.name.size() > kMaxRecoveredText || names.savePath.size() > kMaxRecoveredText ||
        capacity < kMaxRecoveryCopySize) {
        return 0;
    }
    std::size_t pos = 0;
    Put(out, pos, kMagic);
    PutField(out, pos, "name", names.name.size());
    Put(out, pos, names.name);
    Put(out, pos, "\n");
    PutField(out, pos, "path", names.savePath.size());
    Put(out, pos, names.savePath);
    Put(out, pos, "\n");
    const auto size = static_cast<std::size_t>(doc.UsedSize());
    PutField(out, pos, "dat", size);
    std::memcpy(out + pos, doc.Buffer(), size);
    return pos + size;
}

std::string ReadRecoveryCopy(const std::uint8_t* bytes, std::size_t size, RecoveredDocument& out) {
    std::string_view in(reinterpret_cast<const char*>(bytes), size);
    if (in.substr(0, kMagic.size()) != kMagic) {
        return "it does not begin with \"spritehex recovery 1\"";
    }
    in.remove_prefix(kMagic.size());
    std::string_view name;
    std::string_view path;
    std::string_view image;
    if (!TakeField(in, "name", kMaxRecoveredText, name) || in.substr(0, 1) != "\n") {
        return "its document name is missing or damaged";
    }
    in.remove_prefix(1);
    if (!TakeField(in, "path", kMaxRecoveredText, path) || in.substr(0, 1) != "\n") {
        return "its save path is missing or damaged";
    }
    in.remove_prefix(1);
    if (!TakeField(in, "dat", static_cast<std::size_t>(kBufferCapacity), image)) {
        return "its sprite image is missing or cut short";
    }
    if (!in.empty()) {
        return "it has " + std::to_string(in.size()) + (in.size() == 1 ? " byte" : " bytes") +
               " after its sprite image";
    }
    const auto* imageBytes = reinterpret_cast<const std::uint8_t*>(image.data());
    const std::string reason = SpriteImageProblem(imageBytes, image.size());
    if (!reason.empty()) return "its sprite image is not a sprite: " + reason;
    // A sprite image names exactly its cels; anything after them was not written by the editor.
    if (image.size() !=
        static_cast<std::size_t>(kHeaderSize + imageBytes[0] * imageBytes[1] * imageBytes[2])) {
        return "its sprite image is longer than its header says";
    }
    out.name.assign(name);
    out.savePath.assign(path);
    out.image.assign(imageBytes, imageBytes + image.size());
    return {};
}
