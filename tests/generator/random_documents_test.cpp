// Random documents in every mode: the generators agree with the literal reference, and comma mode
// only adds "#" and ",".
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "example_tables.h"
#include "reference_tables.h"

namespace {

std::string Without(std::string text, const std::string& characters) {
    std::erase_if(text, [&](char c) { return characters.find(c) != std::string::npos; });
    return text;
}

// A file image of random size and pixels. The colours come from 0 to 15, from a few colours that
// suit two layers, or from every byte value.
std::vector<std::uint8_t> RandomImage(std::mt19937& random) {
    static const int kWidths[] = {1, 3, 7, 8, 9, 12, 15, 16, 17, 24, 63, 64};
    const int width = kWidths[random() % std::size(kWidths)];
    const int height = 1 + static_cast<int>(random() % 24);
    const int cels = 1 + static_cast<int>(random() % 4);
    std::vector<int> palette;
    switch (random() % 3) {
        case 0:
            for (int c = 0; c < 16; ++c) palette.push_back(c);
            break;
        case 1: {
            const int a = 1 + static_cast<int>(random() % 15);
            const int b = 1 + static_cast<int>(random() % 15);
            palette = {0, 0, 0, a, b, a | b};
            break;
        }
        default:
            for (int c = 0; c < 256; ++c) palette.push_back(c);
            palette.insert(palette.end(), 200, 0);
    }
    Pixels pixels(static_cast<std::size_t>(width * height * cels));
    for (std::uint8_t& pixel : pixels) {
        pixel = static_cast<std::uint8_t>(palette[random() % palette.size()]);
    }
    return SpriteFileImage(width, height, pixels);
}

const GeneratorOptions kModes[] = {
    {OutputType::kSprite, 1, false, 1}, {OutputType::kSprite, 1, true, 1},
    {OutputType::kSprite, 2, true, 1},  {OutputType::kSprite, 2, false, 1},
    {OutputType::kChr, 1, false, 1},
};

TEST(RandomDocuments, MatchReferenceAndCommaModeOnlyAddsSeparators) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; ++round) {
        // Exactly the document's bytes, so that the sanitizer catches a read past the last cel.
        const std::vector<std::uint8_t> image = RandomImage(random);
        const CapturedDocument doc = CaptureDocument(image.data());
        for (GeneratorOptions options : kModes) {
            SCOPED_TRACE(testing::Message()
                         << "round " << round << ", " << doc.width << " x " << doc.height << " x "
                         << doc.celCount << ", type " << static_cast<int>(options.outputType)
                         << ", layers " << options.layers << ", colour data " << options.colorData);
            const GenerationResult withCommas = Regenerate(doc, options);
            const GenerationResult reference = ReferenceTables(image, options);
            EXPECT_EQ(withCommas.text, reference.text);
            EXPECT_EQ(withCommas.resultCode, reference.resultCode);

            options.comma = 0;
            const GenerationResult bare = Regenerate(doc, options);
            EXPECT_EQ(bare.text, ReferenceTables(image, options).text);
            EXPECT_EQ(bare.resultCode, withCommas.resultCode);
            EXPECT_EQ(Without(withCommas.text, "#,"), Without(bare.text, ","));
            if (HasFailure()) return;
        }
    }
}

}  // namespace
