// PNG files from outside (the picture import): the reader either refuses them with a problem or
// gives a picture within the limits whose buffers match its size, whose indices all lie inside
// its palette and whose size is the one its header gives. An opaque picture it gives, written
// again by our writer, reads back equal.

#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "image/png_codec.h"

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
    std::string problem;
    const PngPicture again = DecodePng(EncodePngImage(image, 1), "again.png", kLimits, problem);
    FUZZ_CHECK(problem.empty());
    FUZZ_CHECK(again.pixels == picture.pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string problem;
    const PngPicture picture = DecodePng({data, size}, "fuzz.png", kLimits, problem);
    std::string headerProblem;
    const std::optional<PngHeader> header = ReadPngHeader({data, size}, "fuzz.png", headerProblem);
    FUZZ_CHECK(header.has_value() == headerProblem.empty());
    if (picture.IsNull()) {
        FUZZ_CHECK(!problem.empty());
        FUZZ_CHECK(picture.width == 0 && picture.palette.empty() && picture.indices.empty());
        return 0;
    }
    FUZZ_CHECK(problem.empty());
    FUZZ_CHECK(header.has_value());
    CheckPicture(picture, *header);
    CheckRoundTrip(picture);
    return 0;
}
