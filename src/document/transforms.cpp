#include "document/transforms.h"

namespace {

// Where pixel (x, y) of the new picture comes from in the picture before.
struct Source {
    int x;
    int y;
};

Source SourceOf(CelTransform transform, int x, int y, int w, int h) {
    switch (transform) {
        case CelTransform::kScrollUp:
            return {x, (y + 1) % h};
        case CelTransform::kScrollDown:
            return {x, (y - 1 + h) % h};
        case CelTransform::kScrollLeft:
            return {(x + 1) % w, y};
        case CelTransform::kScrollRight:
            return {(x - 1 + w) % w, y};
        case CelTransform::kMirrorHorizontal:
            return {w - 1 - x, y};
        case CelTransform::kMirrorVertical:
            return {x, h - 1 - y};
        case CelTransform::kRotate:
            return {h - 1 - y, x};
    }
    return {x, y};  // not reached: -Wswitch keeps every transform named above
}

}  // namespace

void TransformCel(CelTransform transform, const std::uint8_t* before, std::uint8_t* cel, int width,
                  int height) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Source s = SourceOf(transform, x, y, width, height);
            const bool inside = s.x >= 0 && s.x < width && s.y >= 0 && s.y < height;
            cel[y * width + x] = inside ? before[s.y * width + s.x] : std::uint8_t{0};
        }
    }
}

// A pixel is recoloured when it is pushed, so each is pushed at most once and the stack never
// holds more than one cel's worth of entries.
void FloodFillCel(std::uint8_t* cel, int width, int height, int x, int y, std::uint8_t colour,
                  std::uint16_t* stack) {
    const std::uint8_t start = cel[y * width + x];
    if (start == colour) return;
    int top = 0;
    const auto push = [&](int px, int py) {
        const int i = py * width + px;
        if (cel[i] != start) return;
        cel[i] = colour;
        stack[top++] = static_cast<std::uint16_t>(i);
    };
    push(x, y);
    while (top > 0) {
        const int i = stack[--top];
        const int px = i % width;
        const int py = i / width;
        if (px > 0) push(px - 1, py);
        if (px < width - 1) push(px + 1, py);
        if (py > 0) push(px, py - 1);
        if (py < height - 1) push(px, py + 1);
    }
}
