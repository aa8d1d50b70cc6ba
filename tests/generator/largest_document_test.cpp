// The largest document (100 cels of 64 × 64): the text is taken whole, line by line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/sprite_document.h"
#include "generator/regenerate.h"
#include "largest_document.h"

namespace {

// Line lengths by the line rule: CR LF breaks, no line after a final break.
std::vector<std::size_t> LineLengths(const std::string& text) {
    std::vector<std::size_t> lengths;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lengths.push_back(text.size() - start);
            break;
        }
        lengths.push_back(end - start);
        start = end + 2;
    }
    return lengths;
}

TEST(LargestDocument, SpriteTablesWithColourData) {
    const std::vector<std::uint8_t>& buffer = LargestDocument();
    const GenerationResult result =
        Regenerate(CaptureDocument(buffer.data()), {OutputType::kSprite, 1, true, 1});
    EXPECT_EQ(result.text.size(), 77197u);
    const std::vector<std::size_t> lengths = LineLengths(result.text);
    ASSERT_EQ(lengths.size(), 200u);
    for (std::size_t i = 0; i < lengths.size(); i += 2) EXPECT_EQ(lengths[i], 512u) << i;
    for (std::size_t i = 1; i + 1 < lengths.size(); i += 2) EXPECT_EQ(lengths[i], 256u) << i;
    EXPECT_EQ(lengths.back(), 255u);
}

TEST(LargestDocument, ChrTables) {
    const std::vector<std::uint8_t>& buffer = LargestDocument();
    const GenerationResult result =
        Regenerate(CaptureDocument(buffer.data()), {OutputType::kChr, 1, false, 1});
    EXPECT_EQ(result.text.size(), 102599u);
    EXPECT_TRUE(result.text.ends_with("\r\n"));
    const std::vector<std::size_t> lengths = LineLengths(result.text);
    ASSERT_EQ(lengths.size(), 100u);
    for (std::size_t i = 0; i + 1 < lengths.size(); ++i) EXPECT_EQ(lengths[i], 1024u) << i;
    EXPECT_EQ(lengths.back(), 1023u);
}

}  // namespace
