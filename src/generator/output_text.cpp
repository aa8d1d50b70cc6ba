#include "generator/output_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>

#if defined(__x86_64__)
#include "generator/avx512_lines.h"
#endif

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

#if defined(__x86_64__)
// ",#XY" (comma) or "XY" for count values, a multiple of 16, with AVX-512: the 32 digits of 16
// values put between the ",#" of each in one byte permutation. Returns the end; all gets every
// value ORed in.
__attribute__((target(SPRITEHEX_AVX512))) char* PutSixteens(char* end, const std::uint16_t* values,
                                                            std::size_t count, bool comma,
                                                            std::uint32_t& all) {
    // Byte 4i + 2 and 4i + 3 of the text: digit 2i and 2i + 1; the others ",#".
    static constexpr auto kIndex = [] {
        std::array<std::uint8_t, 64> index{};
        for (std::size_t b = 0; b < 64; ++b)
            index[b] = static_cast<std::uint8_t>(b / 4 * 2 + b % 2);
        return index;
    }();
    const __m512i index = _mm512_loadu_si512(kIndex.data());
    const __m512i separators = _mm512_set1_epi16(static_cast<short>(',' | '#' << 8));
    constexpr __mmask64 kDigitBytes = 0xCCCCCCCCCCCCCCCCULL;
    __m256i any = _mm256_setzero_si256();
    for (std::size_t i = 0; i < count; i += 16) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values + i));
        any = _mm256_or_si256(any, v);
        const __m256i digits =
            _mm512_castsi512_si256(avx512_lines::HexDigits(_mm512_zextsi256_si512(v)));
        if (comma) {
            _mm512_storeu_si512(end, _mm512_mask_permutexvar_epi8(separators, kDigitBytes, index,
                                                                  _mm512_zextsi256_si512(digits)));
            end += 64;
        } else {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(end), digits);
            end += 32;
        }
    }
    const __m128i lanes =
        _mm_or_si128(_mm256_castsi256_si128(any), _mm256_extracti128_si256(any, 1));
    alignas(16) std::uint16_t words[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(words), lanes);
    for (const std::uint16_t w : words) all |= w;
    return end;
}
#endif

// Writes ",#XY" (comma) or "XY" for every value and returns the end; all gets every value ORed
// in. Values of 16 bits go eight at a time: the two digit bytes of each are worked out in its
// word, then put after a word ",#" each.
template <typename Value>
char* PutTokens(char* end, std::span<const Value> values, bool comma, std::uint32_t& all) {
    std::size_t i = 0;
    if constexpr (std::is_same_v<Value, std::uint16_t>) {
#if defined(__x86_64__)
        if (avx512_lines::ProcessorHas()) {
            i = values.size() / 16 * 16;
            end = PutSixteens(end, values.data(), i, comma, all);
        }
#endif
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
