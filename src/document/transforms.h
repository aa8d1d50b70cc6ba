#pragma once
// Whole-cel picture operations as plain functions on the bytes of one cel (width x height pixels,
// row by row from the top). The document takes its undo snapshot first and passes it as the
// picture before, so the new picture is computed straight into the cel.

#include <cstdint>

enum class CelTransform {
    kScrollUp,  // wrap-around, one pixel
    kScrollRight,
    kScrollDown,
    kScrollLeft,
    kMirrorHorizontal,  // left and right swap
    kMirrorVertical,    // top and bottom swap
    kRotate,            // a quarter turn anticlockwise: new(x, y) = old(H - 1 - y, x)
};

// Writes the transformed picture of before (which is not cel) into cel. On a cel that is not
// square, a pixel of a rotation whose source lies outside the cel becomes 0.
void TransformCel(CelTransform transform, const std::uint8_t* before, std::uint8_t* cel, int width,
                  int height);

// A 4-connected fill from (x, y) over the pixels of its colour. stack holds width x height
// entries: the fill needs no recursion and no memory of its own.
void FloodFillCel(std::uint8_t* cel, int width, int height, int x, int y, std::uint8_t colour,
                  std::uint16_t* stack);
