#include "document/size_rules.h"

#include <limits>

#include "document/sprite_document.h"

namespace {

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

}  // namespace

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    // The magnitude is capped just past the 32-bit range, so it can never overflow.
    constexpr std::int64_t kLimit = std::int64_t{1} << 32;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > kLimit) magnitude = kLimit;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

namespace {

Error InvalidNumber(std::string_view text) {
    std::string message = "'";
    message.append(text);
    message += "' is not a valid whole number.";
    return Fail(Failure::kInvalid, std::move(message));
}

}  // namespace

Result<> CheckCelSize(int width, int height) {
    if (width < 1 || width > kMaxWidth)
        return Fail(Failure::kInvalid, "Width must be from 1 to 64.");
    if (height < 1 || height > kMaxHeight) {
        return Fail(Failure::kInvalid, "Height must be from 1 to 64.");
    }
    return {};
}

Result<NewDocumentSize> ParseNewDocumentFields(std::string_view width, std::string_view height,
                                               std::string_view celCount) {
    const auto w = ParseWholeNumber(width);
    const auto h = ParseWholeNumber(height);
    const auto n = ParseWholeNumber(celCount);
    if (!w) return InvalidNumber(width);
    if (!h) return InvalidNumber(height);
    if (!n) return InvalidNumber(celCount);
    if (Result<> size = CheckCelSize(*w, *h); !size) return size.error();
    if (*n < 1 || *n > kMaxCels) {
        return Fail(Failure::kInvalid, "Cel count must be from 1 to 100.");
    }
    return NewDocumentSize{*w, *h, *n};
}

Result<CelSize> ParseCelSizeFields(std::string_view width, std::string_view height) {
    const auto w = ParseWholeNumber(width);
    const auto h = ParseWholeNumber(height);
    if (!w) return InvalidNumber(width);
    if (!h) return InvalidNumber(height);
    if (Result<> size = CheckCelSize(*w, *h); !size) return size.error();
    return CelSize{*w, *h};
}
