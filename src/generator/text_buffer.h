#pragma once
// Text written straight into storage sized up front: the writers of assembler, C and BASIC lines
// put tens of thousands of short pieces, each in one move of 8 bytes.

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "generator/tables.h"

// A piece of up to 7 characters kept in 8 bytes, so that it is copied in one move.
struct ShortPiece {
    std::array<char, 8> text{};
    std::size_t length = 0;

    ShortPiece() = default;
    // Pieces of 8 characters or more are cut; callers keep to 7.
    explicit ShortPiece(std::string_view piece) {
        assert(piece.size() < text.size());
        length = std::min(piece.size(), text.size() - 1);
        std::memcpy(text.data(), piece.data(), length);
    }
};

// The piece of every byte value.
using BytePieces = std::array<ShortPiece, 256>;

// Pieces of two upper-case hexadecimal digits between before and after: "&H30,".
inline BytePieces HexPieces(std::string_view before, std::string_view after) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    BytePieces pieces;
    for (unsigned v = 0; v < 256; ++v) {
        const char digits[] = {kDigits[v >> 4], kDigits[v & 15]};
        pieces[v] = ShortPiece(std::string(before) + std::string(digits, 2) + std::string(after));
    }
    return pieces;
}

// Puts the pieces of count values one after the other at end, which has room for count pieces
// and 8 bytes more; returns the new end. length(v) is the length of value v's piece: worked out
// from the value rather than read from the piece, so that no store waits for a load before it.
template <typename Length>
inline char* PutPieces(char* end, const BytePieces& pieces, const TableValue* values,
                       std::size_t count, Length length) {
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned v = values[i] & 0xFFu;
        std::memcpy(end, pieces[v].text.data(), sizeof pieces[v].text);
        end += length(v);
    }
    return end;
}

class TextBuffer {
  public:
    // Room for about `expected` characters; more is made when needed. The room is set aside at
    // once, but its characters are made (as 0) a block at a time just before they are written,
    // so that they are still in the cache when they are.
    explicit TextBuffer(std::size_t expected) { text_.reserve(expected + kSlack); }

    void Put(std::string_view piece) {
        char* at = Room(piece.size());
        const char* from = piece.data();
        const std::size_t n = piece.size();
        // Names, numbers and words of a line are short: two moves of a fixed size that may
        // overlap, rather than a copy of a length only known here.
        if (n >= 8 && n <= 16) {
            Move<8>(at, from, n);
        } else if (n > 16 && n <= 32) {
            Move<16>(at, from, n);
        } else if (n >= 4 && n < 8) {
            Move<4>(at, from, n);
        } else if (n > 0 && n < 4) {
            // The first, the middle and the last of up to three.
            at[0] = from[0];
            at[n / 2] = from[n / 2];
            at[n - 1] = from[n - 1];
        } else {
            std::memcpy(at, from, n);
        }
        size_ += n;
    }
    void Put(const ShortPiece& piece) {
        std::memcpy(Room(sizeof piece.text), piece.text.data(), sizeof piece.text);
        size_ += piece.length;
    }

    // Where to write up to `more` characters, with 8 bytes to spare after them; End then takes
    // what was written up to the end given.
    char* Room(std::size_t more) {
        const std::size_t needed = size_ + more + kSlack;
        if (needed > text_.size()) {
            const std::size_t block = std::max(needed, text_.size() + kBlock);
            text_.resize(block <= text_.capacity() ? block : 2 * needed);
        }
        return text_.data() + size_;
    }
    void End(const char* end) { size_ = static_cast<std::size_t>(end - text_.data()); }

    std::string Take() {
        text_.resize(size_);
        return std::move(text_);
    }

  private:
    static constexpr std::size_t kSlack = 8;
    static constexpr std::size_t kBlock = 16384;

    // n bytes, kSize to 2 kSize of them, as the first and the last kSize.
    template <std::size_t kSize>
    static void Move(char* to, const char* from, std::size_t n) {
        char head[kSize];
        char tail[kSize];
        std::memcpy(head, from, kSize);
        std::memcpy(tail, from + n - kSize, kSize);
        std::memcpy(to, head, kSize);
        std::memcpy(to + n - kSize, tail, kSize);
    }

    std::string text_;
    std::size_t size_ = 0;
};
