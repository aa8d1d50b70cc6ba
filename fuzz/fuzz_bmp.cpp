// BMP files from outside (pal.bmp, color.bmp, temp.bmp): the reader either refuses them with a
// reason or gives a picture of the size its header announced, within the pixel limit. A picture
// it gives, written again by our writer, reads back equal.

#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "image/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string reason;
    const RgbImage image = DecodeBmp({data, size}, reason);
    if (image.IsNull()) {
        FUZZ_CHECK(!reason.empty());
        return 0;
    }
    FUZZ_CHECK(reason.empty());
    FUZZ_CHECK(image.width >= 1 && image.height >= 1);
    FUZZ_CHECK(static_cast<std::int64_t>(image.width) * image.height <= kMaxBmpPixels);
    FUZZ_CHECK(image.pixels.size() ==
               static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    for (const std::uint32_t pixel : image.pixels) FUZZ_CHECK(pixel >> 24 == 0xFF);
    // Large pictures are checked for size only; the round trip of every one would slow the search.
    if (image.pixels.size() <= 4096) {
        std::string again;
        FUZZ_CHECK(DecodeBmp(EncodeBmp(image), again) == image);
    }
    return 0;
}
