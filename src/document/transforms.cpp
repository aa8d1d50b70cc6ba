// Whole-cel picture operations. Each takes the undo snapshot first and computes the new picture
// from it straight into the cel, so the snapshot doubles as the pre-operation copy.

#include <cstring>

#include "document/sprite_document.h"

template <typename Source>
Refresh TSpriteDocument::Remap(Source source) {
    SaveUndo();
    const std::uint8_t* old = undo_.get();
    std::uint8_t* cel = Cel();
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            int sx = 0;
            int sy = 0;
            source(x, y, sx, sy);
            const bool inside = sx >= 0 && sx < width_ && sy >= 0 && sy < height_;
            cel[y * width_ + x] = inside ? old[sy * width_ + sx] : std::uint8_t{0};
        }
    }
    return kRefreshView | MarkModified();
}

Refresh TSpriteDocument::ScrollUp() {
    const int h = height_;
    return Remap([h](int x, int y, int& sx, int& sy) { sx = x, sy = (y + 1) % h; });
}

Refresh TSpriteDocument::ScrollDown() {
    const int h = height_;
    return Remap([h](int x, int y, int& sx, int& sy) { sx = x, sy = (y - 1 + h) % h; });
}

Refresh TSpriteDocument::ScrollLeft() {
    const int w = width_;
    return Remap([w](int x, int y, int& sx, int& sy) { sx = (x + 1) % w, sy = y; });
}

Refresh TSpriteDocument::ScrollRight() {
    const int w = width_;
    return Remap([w](int x, int y, int& sx, int& sy) { sx = (x - 1 + w) % w, sy = y; });
}

Refresh TSpriteDocument::MirrorHorizontal() {
    const int w = width_;
    return Remap([w](int x, int y, int& sx, int& sy) { sx = w - 1 - x, sy = y; });
}

Refresh TSpriteDocument::MirrorVertical() {
    const int h = height_;
    return Remap([h](int x, int y, int& sx, int& sy) { sx = x, sy = h - 1 - y; });
}

// new(x, y) = old(H - 1 - y, x). On a cel that is not square, a pixel whose source lies outside
// the cel becomes 0.
Refresh TSpriteDocument::Rotate() {
    const int h = height_;
    return Remap([h](int x, int y, int& sx, int& sy) { sx = h - 1 - y, sy = x; });
}

// 4-connected fill over the pixels of the start colour, with an explicit stack of pixel indices.
// A pixel is recoloured when it is pushed, so each is pushed at most once and the stack never
// holds more than one cel's worth of entries.
Refresh TSpriteDocument::FloodFill(int x, int y, std::uint8_t colour) {
    SaveUndo();
    const std::uint8_t start = GetPixel(x, y);
    if (start != colour) {
        std::uint8_t* cel = Cel();
        std::uint16_t* stack = fillStack_.get();
        int top = 0;
        const auto push = [&](int px, int py) {
            const int i = py * width_ + px;
            if (cel[i] != start) return;
            cel[i] = colour;
            stack[top++] = static_cast<std::uint16_t>(i);
        };
        push(x, y);
        while (top > 0) {
            const int i = stack[--top];
            const int px = i % width_;
            const int py = i / width_;
            if (px > 0) push(px - 1, py);
            if (px < width_ - 1) push(px + 1, py);
            if (py > 0) push(px, py - 1);
            if (py < height_ - 1) push(px, py + 1);
        }
    }
    return kRefreshView | MarkModified();
}
