#include "generator/output_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>

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

namespace {

using Words = std::uint16_t __attribute__((vector_size(16)));
using Bytes = std::uint8_t __attribute__((vector_size(16)));

// Writes ",#XY" (comma) or "XY" for every value and returns the end; all gets every value ORed
// in. Values of 16 bits go eight at a time: the two digit bytes of each are worked out in its
// word, then put after a word ",#" each.
template <typename Value>
char* PutTokens(char* end, std::span<const Value> values, bool comma, std::uint32_t& all) {
    std::size_t i = 0;
    if constexpr (std::is_same_v<Value, std::uint16_t>) {
        Words any{};
        const Words separator = Words{} + static_cast<std::uint16_t>(',' | '#' << 8);
        for (; i + 8 <= values.size(); i += 8) {
            Words v;
            std::memcpy(&v, values.data() + i, sizeof v);
            any |= v;
            // High nibble in the first byte, low nibble in the second; then "0" to "9", "A" to "F".
            const auto nibbles = reinterpret_cast<Bytes>((v >> 4) | ((v & 15) << 8));
            const auto letters = reinterpret_cast<Bytes>(nibbles > 9) & 7;
            const auto digits = reinterpret_cast<Words>(nibbles + '0' + letters);
            if (comma) {
                const Words first =
                    __builtin_shufflevector(separator, digits, 0, 8, 1, 9, 2, 10, 3, 11);
                const Words second =
                    __builtin_shufflevector(separator, digits, 4, 12, 5, 13, 6, 14, 7, 15);
                std::memcpy(end, &first, sizeof first);
                std::memcpy(end + 16, &second, sizeof second);
                end += 32;
            } else {
                std::memcpy(end, &digits, sizeof digits);
                end += 16;
            }
        }
        for (int lane = 0; lane < 8; ++lane) all |= any[lane];
    }
    for (; i < values.size(); ++i) {
        all |= static_cast<std::uint32_t>(values[i]);
        const char* token = kTokens[static_cast<std::uint8_t>(values[i])].data();
        if (comma) {
            std::memcpy(end, token, 4);
            end += 4;
        } else {
            std::memcpy(end, token + 2, 2);
            end += 2;
        }
    }
    return end;
}

// The token string of the values, appended to text in one piece.
template <typename Value>
void AppendTokens(std::string& text, int comma, std::span<const Value> values) {
    if (values.empty()) return;
    const std::size_t start = text.size();
    auto all = static_cast<std::uint32_t>(values[0]);
    if (comma == kCommaOn) {
        // "#XY" first, then ",#XY" for each further value.
        text.resize(start + 4 * values.size() - 1);
        char* end = text.data() + start;
        std::memcpy(end, kTokens[static_cast<std::uint8_t>(values[0])].data() + 1, 3);
        PutTokens(end + 3, values.subspan(1), true, all);
    } else {
        text.resize(start + 2 * values.size());
        PutTokens(text.data() + start, values, false, all);
    }
    if (all > 0xFF) {
        // A value beyond a byte: write these tokens again, one by one.
        text.resize(start);
        std::string tokens;
        for (const Value v : values) AppendHexByte(tokens, comma, static_cast<int>(v));
        text += tokens;
    }
}

}  // namespace

void OutputText::AddTokens(int comma, std::span<const int> values) {
    AppendTokens(text_, comma, values);
}

void OutputText::AddTokens(int comma, std::span<const std::uint16_t> values) {
    AppendTokens(text_, comma, values);
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
