#pragma once
// Text written straight into storage sized up front: the writers of assembler, C and BASIC lines
// put tens of thousands of short pieces, each in one move of at most 8 bytes.

#include <array>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// A piece of up to 7 characters kept in 8 bytes, so that it is copied in one move.
struct ShortPiece {
    std::array<char, 8> text{};
    std::size_t length = 0;

    ShortPiece() = default;
    explicit ShortPiece(std::string_view piece) {
        assert(piece.size() < text.size());
        std::memcpy(text.data(), piece.data(), piece.size());
        length = piece.size();
    }
};

class TextBuffer {
  public:
    // Room for about `expected` characters; more is made when needed.
    explicit TextBuffer(std::size_t expected) : text_(expected + kSlack, '\0') {}

    void Put(std::string_view piece) {
        Room(piece.size());
        std::memcpy(text_.data() + size_, piece.data(), piece.size());
        size_ += piece.size();
    }
    void Put(const ShortPiece& piece) {
        Room(piece.text.size());
        std::memcpy(text_.data() + size_, piece.text.data(), piece.text.size());
        size_ += piece.length;
    }
    // Takes back the last character (the "," after a line's last byte).
    void Unput() {
        if (size_ > 0) --size_;
    }

    std::string Take() {
        text_.resize(size_);
        return std::move(text_);
    }

  private:
    static constexpr std::size_t kSlack = 8;

    void Room(std::size_t more) {
        if (size_ + more > text_.size()) text_.resize(2 * (size_ + more));
    }

    std::string text_;
    std::size_t size_ = 0;
};
