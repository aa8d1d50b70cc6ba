#pragma once
// The document buffer as the generators see it: a reference, never a copy, and the size captured
// from its header. The generators read pixels from the buffer when they run.

#include <cstddef>
#include <cstdint>

#include "document/sprite_document.h"

struct CapturedDocument {
    const std::uint8_t* buffer = nullptr;
    int width = 0;
    int height = 0;
    int celCount = 0;
};

// Reads width, height and cel count from the three header bytes, each as a signed 8-bit number.
// The generators rely on them being a valid document's (1 to 64, 1 to 64, 1 to 100).
CapturedDocument CaptureDocument(const std::uint8_t* buffer);

// The first pixel of a cel: cels follow the header back to back.
inline const std::uint8_t* CelPixels(const CapturedDocument& doc, int width, int height, int cel) {
    return doc.buffer + kHeaderSize + static_cast<std::ptrdiff_t>(cel) * width * height;
}
