#include "generator/byte_text.h"

#include <algorithm>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

int BinToInt(std::string_view bits) {
    // Unsigned, so that a string longer than the generators' eight bits wraps instead of overflowing.
    std::uint32_t result = 0;
    for (const char c : bits) {
        if (c == '0') {
            result *= 2;
        } else if (c == '1') {
            result = result * 2 + 1;
        }
    }
    return static_cast<int>(result);
}

void AppendHexByte(std::string& tokens, int comma, int value) {
    // Separator, "#" and up to eight digits.
    char token[10];
    std::size_t length = 0;
    if (comma == kCommaOn) {
        if (!tokens.empty()) token[length++] = ',';
        token[length++] = '#';
    }
    auto bits = static_cast<std::uint32_t>(value);
    if (bits <= 0xFF) {
        token[length++] = kHexDigits[bits >> 4];
        token[length++] = kHexDigits[bits & 0xF];
    } else {
        int digits = 2;
        while (digits < 8 && (bits >> (4 * digits)) != 0) ++digits;
        for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
            token[length++] = kHexDigits[(bits >> shift) & 0xF];
        }
    }
    tokens.append(token, length);
}

void OutputText::AddText(std::string_view piece) {
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    auto it = piece.begin();
    while (it != piece.end()) {
        const auto stop = std::find_if(it, piece.end(), isBreak);
        text_.append(it, stop);
        if (stop == piece.end()) break;
        text_ += "\r\n";
        it = stop + 1;
        if (*stop == '\r' && it != piece.end() && *it == '\n') ++it;
    }
}

void OutputText::AddCommas(int comma) {
    if (comma != kCommaOn || text_.empty()) return;
    // AddText leaves only CR LF pairs, so every LF ends a line whose text stops before its CR.
    // The last line never gets a comma: neither the text after the last break nor, when the text
    // ends with a break, the line that break ends.
    scratch_.clear();
    scratch_.reserve(text_.size() + text_.size() / 2);
    std::size_t lineStart = 0;
    for (;;) {
        const std::size_t lf = text_.find('\n', lineStart);
        if (lf == std::string::npos || lf + 1 == text_.size()) break;
        const std::size_t cr = (lf > lineStart && text_[lf - 1] == '\r') ? lf - 1 : lf;
        scratch_.append(text_, lineStart, cr - lineStart);
        if (cr > lineStart) scratch_ += ',';
        scratch_.append(text_, cr, lf + 1 - cr);
        lineStart = lf + 1;
    }
    scratch_.append(text_, lineStart, std::string::npos);
    text_.swap(scratch_);
}
