// PNG files from outside (the picture import): the reader either refuses them with a problem or
// gives a picture within the limits whose buffers match its size, whose indices all lie inside
// its palette and whose size is the one its header gives. An opaque picture it gives, written
// again by our writer, reads back equal.
//
// Every input is read twice: as it is, and with the CRC of each chunk made right, so that a
// mutated header, palette or chunk order gets past the CRC check to the checks behind it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "image/png_codec.h"
#include "png_crcs.h"

namespace {

// A picture import's limits: 100 cels of 64 x 64.
constexpr PngLimits kLimits{6400, 409600};

void CheckPicture(const PngPicture& picture, const PngHeader& header) {
    FUZZ_CHECK(picture.width == header.width && picture.height == header.height);
    FUZZ_CHECK(picture.width >= 1 && picture.width <= kLimits.maxSide);
    FUZZ_CHECK(picture.height >= 1 && picture.height <= kLimits.maxSide);
    const std::size_t size =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    FUZZ_CHECK(static_cast<std::int64_t>(size) <= kLimits.maxPixels);
    FUZZ_CHECK(picture.pixels.size() == size);
    FUZZ_CHECK(picture.indexed == (header.colourType == PngColourType::kIndexed));
    if (!picture.indexed) {
        FUZZ_CHECK(picture.palette.empty() && picture.indices.empty());
        return;
    }
    FUZZ_CHECK(!picture.palette.empty() && picture.palette.size() <= 256);
    FUZZ_CHECK(picture.indices.size() == size);
    for (std::size_t i = 0; i < size; ++i) {
        FUZZ_CHECK(picture.indices[i] < picture.palette.size());
        FUZZ_CHECK(picture.pixels[i] == picture.palette[picture.indices[i]]);
    }
}

// Large pictures are checked for size only; the round trip of every one would slow the search.
void CheckRoundTrip(const PngPicture& picture) {
    if (picture.pixels.size() > 4096) return;
    RgbImage image(picture.width, picture.height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        if (picture.pixels[i] >> 24 != 0xFF) return;
        image.pixels[i] = picture.pixels[i];
    }
    const Result<PngPicture> again = DecodePng(EncodePng(image, 1), "again.png", kLimits);
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again->pixels == picture.pixels);
}

void Check(const std::uint8_t* data, std::size_t size) {
    const Result<PngPicture> picture = DecodePng({data, size}, "fuzz.png", kLimits);
    const Result<PngHeader> header = ReadPngHeader({data, size}, "fuzz.png");
    FUZZ_CHECK(header.ok() == header.message().empty());
    if (!picture) {
        FUZZ_CHECK(!picture.message().empty());
        return;
    }
    FUZZ_CHECK(!picture->IsNull());
    FUZZ_CHECK(header.ok());
    CheckPicture(*picture, *header);
    CheckRoundTrip(*picture);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckAlsoWithRightCrcs(data, size, Check);
    return 0;
}
