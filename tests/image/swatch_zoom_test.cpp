#include <gtest/gtest.h>

#include "image/swatch_zoom.h"

namespace {

TEST(ZoomSteps, PlusAndMinusStepThroughTheListAndStopAtItsEnds) {
    struct Row {
        const char* name;
        int zoom, direction, expected;
    };
    const Row rows[] = {
        {"16 up", 16, 1, 24},
        {"16 down", 16, -1, 12},
        {"the largest stays", 32, 1, 32},
        {"the smallest stays", 4, -1, 4},
        {"4 up", 4, 1, 6},
        {"32 down", 32, -1, 24},
        {"between steps, up: the next above", 10, 1, 12},
        {"between steps, down: the next below", 10, -1, 8},
        {"below the list, up: its first", 2, 1, 4},
        {"below the list, down: stays", 2, -1, 2},
        {"above the list, down: its last", 40, -1, 32},
        {"above the list, up: stays", 40, 1, 40},
        {"no direction", 12, 0, 12},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(StepZoom(r.zoom, r.direction), r.expected) << r.name;
    }
}

// A strip whose every pixel tells its swatch and place: colour (index, x, y).
RgbImage NumberedStrip(int zoom) {
    RgbImage strip(16 * zoom + 3, zoom);  // wider than 16 swatches, as pal.bmp may be
    for (int y = 0; y < zoom; ++y)
        for (int x = 0; x < strip.width; ++x) strip.Set(x, y, Rgb(x / zoom, x % zoom, y));
    return strip;
}

TEST(ZoomSteps, SwatchesScaleByReplicationOrNearestNeighbour) {
    struct Row {
        const char* name;
        int from, to;
        // Target pixel (x, y) of swatch 5 and the source pixel it must show.
        int x, y, sourceX, sourceY;
    };
    const Row rows[] = {
        {"the strip's own zoom is the strip", 16, 16, 13, 7, 13, 7},
        {"twice: every pixel a 2 x 2 block", 8, 16, 15, 9, 7, 4},
        {"three times", 4, 12, 11, 3, 3, 1},
        {"24 from 16: nearest neighbour", 16, 24, 23, 12, 15, 8},
        {"24 from 16, first pixel", 16, 24, 0, 1, 0, 0},
        {"down to 4 from 16: every fourth pixel", 16, 4, 3, 2, 12, 8},
        {"6 from 16", 16, 6, 5, 5, 13, 13},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const RgbImage out = ScaleSwatches(NumberedStrip(r.from), r.to);
        ASSERT_EQ(out.width, 16 * r.to);
        ASSERT_EQ(out.height, r.to);
        EXPECT_EQ(out.At(5 * r.to + r.x, r.y), Rgb(5, r.sourceX, r.sourceY));
        // Every pixel stays inside its own swatch.
        for (int x = 0; x < out.width; ++x) EXPECT_EQ(out.At(x, r.to - 1) >> 16 & 0xFF, x / r.to);
    }
    EXPECT_EQ(ScaleSwatches(NumberedStrip(16), 16).pixels, [] {
        RgbImage s = NumberedStrip(16);
        RgbImage trimmed(256, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 256; ++x) trimmed.Set(x, y, s.At(x, y));
        return trimmed.pixels;
    }());
}

}  // namespace
