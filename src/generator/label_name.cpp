#include "generator/label_name.h"

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The bytes after the first of a character of several bytes in UTF-8.
bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string LabelName(std::string_view name) {
    std::string label;
    if (name.empty() || IsDigit(name.front())) label += '_';
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (IsLetter(c) || IsDigit(c)) {
            label += c;
            continue;
        }
        // A continuation byte after a byte of 0x80 or more belongs to the character before.
        const bool continues =
            IsContinuation(c) && i > 0 && static_cast<unsigned char>(name[i - 1]) >= 0x80;
        if (!continues) label += '_';
    }
    return label;
}

bool IsLabelName(std::string_view name) {
    if (name.empty() || !IsLetter(name.front())) return false;
    for (const char c : name) {
        if (!IsLetter(c) && !IsDigit(c)) return false;
    }
    return true;
}
