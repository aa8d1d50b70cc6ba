#pragma once
// Helpers that put pictures into a document and read them back.

#include <cstdint>
#include <random>
#include <vector>

#include "document/sprite_document.h"

using Picture = std::vector<std::uint8_t>;

inline Picture CelPicture(const TSpriteDocument& doc) {
    return Picture(doc.CurrentCelPixels(), doc.CurrentCelPixels() + doc.CelSize());
}

// Writes a picture into the current cel through SetPixel, then clears the modified flag.
inline void DrawPicture(TSpriteDocument& doc, const Picture& pixels) {
    for (int y = 0; y < doc.Height(); ++y)
        for (int x = 0; x < doc.Width(); ++x)
            doc.SetPixel(x, y, pixels[static_cast<std::size_t>(y * doc.Width() + x)]);
    doc.ClearModified();
}

inline Picture RandomPicture(int width, int height, std::mt19937& rng) {
    std::uniform_int_distribution<int> colour(0, 15);
    Picture p(static_cast<std::size_t>(width * height));
    for (auto& v : p) v = static_cast<std::uint8_t>(colour(rng));
    return p;
}
