#include "generator/output_text.h"

#include <algorithm>
#include <array>
#include <cstring>

int BinToInt(std::string_view bits) {
    // Unsigned: a string longer than the generators' eight bits wraps instead of overflowing.
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

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// ",#00" to ",#FF".
constexpr auto kTokens = [] {
    std::array<std::array<char, 4>, 256> tokens{};
    for (std::size_t v = 0; v < 256; ++v) tokens[v] = {',', '#', kDigits[v >> 4], kDigits[v & 15]};
    return tokens;
}();

}  // namespace

void AppendHexByte(std::string& tokens, int comma, int value) {
    // Separator, "#" and up to eight digits.
    char token[10];
    std::size_t length = 0;
    if (comma == kCommaOn) {
        if (!tokens.empty()) token[length++] = ',';
        token[length++] = '#';
    }
    const auto bits = static_cast<std::uint32_t>(value);
    int digits = 2;
    while (digits < 8 && (bits >> (4 * digits)) != 0) ++digits;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        token[length++] = kDigits[(bits >> shift) & 0xF];
    }
    tokens.append(token, length);
}

void OutputText::AddTokens(int comma, std::span<const int> values) {
    if (values.empty()) return;
    const std::size_t start = text_.size();
    auto all = static_cast<std::uint32_t>(values[0]);
    const auto token = [&values, &all](std::size_t i) {
        all |= static_cast<std::uint32_t>(values[i]);
        return kTokens[static_cast<std::uint8_t>(values[i])].data();
    };
    if (comma == kCommaOn) {
        // "#XY" first, then ",#XY" for each further value.
        text_.resize(start + 4 * values.size() - 1);
        char* end = text_.data() + start;
        std::memcpy(end, token(0) + 1, 3);
        end += 3;
        for (std::size_t i = 1; i < values.size(); ++i, end += 4) std::memcpy(end, token(i), 4);
    } else {
        text_.resize(start + 2 * values.size());
        char* end = text_.data() + start;
        for (std::size_t i = 0; i < values.size(); ++i, end += 2) std::memcpy(end, token(i) + 2, 2);
    }
    if (all > 0xFF) {
        // A value beyond a byte: write these tokens again, one by one.
        text_.resize(start);
        std::string tokens;
        for (const int v : values) AppendHexByte(tokens, comma, v);
        AddText(tokens);
    }
}

void OutputText::AddText(std::string_view piece) {
    // Each search starts where the last break ended, so every character is looked at once.
    std::size_t lf = piece.find('\n');
    std::size_t cr = piece.find('\r');
    std::size_t pos = 0;
    for (;;) {
        const std::size_t stop = std::min(lf, cr);
        if (stop == std::string_view::npos) break;
        text_.append(piece, pos, stop - pos);
        text_ += "\r\n";
        pos = stop + 1;
        if (stop == cr && pos < piece.size() && piece[pos] == '\n') ++pos;
        if (lf < pos) lf = piece.find('\n', pos);
        if (cr < pos) cr = piece.find('\r', pos);
    }
    text_.append(piece, pos);
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
