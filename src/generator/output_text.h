#pragma once
// The text every table is made of: byte tokens of two upper-case hexadecimal digits, "#" in front
// of each and "," between them in comma mode, and CR LF line breaks.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

// Comma mode 1 writes "#" tokens separated by ","; every other value writes bare digits.
inline constexpr int kCommaOn = 1;

// Reads a string of "0" and "1" characters, most significant bit first. Any other character is
// skipped without counting as a bit, so "1000" is 8 and "1x1" is 3.
int BinToInt(std::string_view bits);

// Appends one byte token to a token string: in comma mode 1 a "," when the string is not empty,
// then "#"; then the value in upper-case hexadecimal, at least two digits. Values from 256 get the
// digits they need, negative values the eight digits of their 32-bit two's complement.
void AppendHexByte(std::string& tokens, int comma, int value);

// The generated text. It only grows through AddText until AddCommas ends a generation.
class OutputText {
  public:
    // Empties the text but keeps its storage for the next generation.
    void Clear() { text_.clear(); }
    void Reserve(std::size_t size) { text_.reserve(size); }

    // Appends a piece directly after the text. Every "\n", "\r" or "\r\n" in it becomes one CR LF
    // line break; there is no implicit break between two pieces.
    void AddText(std::string_view piece);

    // Appends the token string that AppendHexByte builds from these values, starting from an
    // empty string: the same as AddText of it, written straight into the text.
    void AddTokens(int comma, std::span<const int> values);
    void AddTokens(int comma, std::span<const std::uint16_t> values);

    // In comma mode 1, appends "," to every non-empty line but the last. When the text ends with a
    // line break, the empty piece after it is not a line. One pass over the text.
    void AddCommas(int comma);

    const std::string& Text() const { return text_; }
    // Puts a text written elsewhere (by a writer of another format) in place of this one.
    void Replace(std::string text) { text_ = std::move(text); }
    // Hands the text over, leaving this one empty.
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
    std::string scratch_;  // AddCommas writes here, then swaps
};
