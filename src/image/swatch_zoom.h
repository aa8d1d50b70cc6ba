#pragma once
// The zoom steps of the editor's view and the palette strip scaled to a zoom: 16 square swatches
// side by side, each as high as the zoom.

#include <array>

#include "image/rgb_image.h"

// Screen pixels per sprite pixel that the zoom keys step through.
inline constexpr std::array<int, 7> kZoomSteps = {4, 6, 8, 12, 16, 24, 32};

// The next listed zoom above (direction > 0) or below (direction < 0) zoom; zoom itself when
// there is none. A zoom between two steps goes to the nearer of them in that direction: 10 gives
// 12 and 8.
int StepZoom(int zoom, int direction);

// The first 16 swatches of strip (whose height is its zoom) at toZoom pixels: each target pixel
// shows the source pixel under it, the nearest neighbour, which for a multiple of the strip's
// zoom is whole-pixel replication and for the strip's own zoom the strip itself.
RgbImage ScaleSwatches(const RgbImage& strip, int toZoom);
