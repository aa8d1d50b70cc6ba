#include "image/swatch_zoom.h"

#include <algorithm>

int StepZoom(int zoom, int direction) {
    if (direction > 0) {
        const auto* above = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom);
        return above == kZoomSteps.end() ? zoom : *above;
    }
    if (direction < 0) {
        const auto* below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom);
        return below == kZoomSteps.begin() ? zoom : *(below - 1);
    }
    return zoom;
}

RgbImage ScaleSwatches(const RgbImage& strip, int toZoom) {
    const int from = strip.height;
    RgbImage out(16 * toZoom, toZoom);
    if (from <= 0 || toZoom <= 0) return out;
    for (int y = 0; y < toZoom; ++y) {
        const std::uint32_t* source = strip.Row(y * from / toZoom);
        std::uint32_t* target = out.Row(y);
        for (int x = 0; x < out.width; ++x) {
            const int swatch = x / toZoom;
            target[x] = source[swatch * from + x % toZoom * from / toZoom];
        }
    }
    return out;
}
