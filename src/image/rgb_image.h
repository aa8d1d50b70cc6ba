#pragma once
// A picture as the programs handle it outside any toolkit: width x height opaque colours, row by
// row from the top, each 0xFFRRGGBB.

#include <cstdint>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    RgbImage() = default;
    RgbImage(int w, int h)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}

    bool IsNull() const { return pixels.empty(); }
    std::uint32_t At(int x, int y) const { return pixels[Index(x, y)]; }
    void Set(int x, int y, std::uint32_t rgb) { pixels[Index(x, y)] = rgb; }
    const std::uint32_t* Row(int y) const { return pixels.data() + Index(0, y); }
    std::uint32_t* Row(int y) { return pixels.data() + Index(0, y); }

    bool operator==(const RgbImage&) const = default;

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
};

inline constexpr std::uint32_t Rgb(int r, int g, int b) {
    return 0xFF000000u | static_cast<std::uint32_t>(r & 0xFF) << 16 |
           static_cast<std::uint32_t>(g & 0xFF) << 8 | static_cast<std::uint32_t>(b & 0xFF);
}
