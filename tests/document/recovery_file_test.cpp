#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/recovery_file.h"
#include "document/sprite_file.h"

namespace {

std::vector<std::uint8_t> CopyOf(const TSpriteDocument& doc) {
    std::vector<std::uint8_t> bytes(kMaxRecoveryCopySize);
    bytes.resize(MakeRecoveryCopy(doc, bytes.data(), bytes.size()));
    return bytes;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(RecoveryFile, CopiesReadBackAsTheyWereMade) {
    struct Row {
        const char* name;
        int w, h, n;
        std::string docName, savePath;
    };
    const Row rows[] = {
        {"a new document", 8, 8, 1, "new", ""},
        {"the largest document, the longest path", 64, 64, 100, "x",
         "/" + std::string(kMaxRecoveredText - 1, 'p')},
        {"names with blanks, newlines and digits", 3, 2, 2, "walk 2\n3", "/home/ann/walk 2\n3.dat"},
        {"an empty name", 1, 1, 1, "", "/tmp/.dat"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TSpriteDocument doc;
        doc.NewDocument(r.w, r.h, r.n);
        for (int k = 0; k < r.n; ++k, doc.NextCel()) {
            doc.SetPixel(r.w - 1, r.h - 1, static_cast<std::uint8_t>(k % 15 + 1));
        }
        doc.Names().name = r.docName;
        doc.Names().savePath = r.savePath;
        const std::vector<std::uint8_t> bytes = CopyOf(doc);
        ASSERT_FALSE(bytes.empty());
        RecoveredDocument read;
        EXPECT_EQ(ReadRecoveryCopy(bytes.data(), bytes.size(), read), "");
        EXPECT_EQ(read.name, r.docName);
        EXPECT_EQ(read.savePath, r.savePath);
        EXPECT_EQ(read.image,
                  std::vector<std::uint8_t>(doc.Buffer(), doc.Buffer() + doc.UsedSize()));
    }
}

TEST(RecoveryFile, ANameOrPathPastTheLimitMakesNoCopy) {
    TSpriteDocument doc;
    doc.Names().savePath = std::string(kMaxRecoveredText + 1, 'p');
    std::vector<std::uint8_t> bytes(kMaxRecoveryCopySize);
    EXPECT_EQ(MakeRecoveryCopy(doc, bytes.data(), bytes.size()), 0u);
    doc.Names().savePath.clear();
    doc.Names().name = std::string(kMaxRecoveredText + 1, 'n');
    EXPECT_EQ(MakeRecoveryCopy(doc, bytes.data(), bytes.size()), 0u);
    EXPECT_EQ(MakeRecoveryCopy(doc, bytes.data(), 100), 0u) << "too small a buffer";
}

TEST(RecoveryFile, DamagedCopiesAreRefusedWithTheirReason) {
    TSpriteDocument doc;
    doc.NewDocument(2, 1, 1);
    doc.Names().name = "walk";
    doc.Names().savePath = "/w.dat";
    const std::vector<std::uint8_t> good = CopyOf(doc);
    const std::string head = "spritehex recovery 1\nname 4\nwalk\npath 6\n/w.dat\n";
    ASSERT_EQ(good, Bytes(head + "dat 5\n" + std::string("\x02\x01\x01\0\0", 5)));
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::string reason;
    };
    const std::string image("\x02\x01\x01\0\0", 5);
    const Row rows[] = {
        {"empty", {}, "it does not begin with \"spritehex recovery 1\""},
        {"another version", Bytes("spritehex recovery 2\n"),
         "it does not begin with \"spritehex recovery 1\""},
        {"cut inside the name", Bytes("spritehex recovery 1\nname 4\nwal"),
         "its document name is missing or damaged"},
        {"a name longer than the limit", Bytes("spritehex recovery 1\nname 4097\n"),
         "its document name is missing or damaged"},
        {"a leading zero in the length", Bytes("spritehex recovery 1\nname 04\nwalk\n"),
         "its document name is missing or damaged"},
        {"no line break after the name", Bytes("spritehex recovery 1\nname 4\nwalkpath 6\n"),
         "its document name is missing or damaged"},
        {"no path", Bytes("spritehex recovery 1\nname 4\nwalk\ndat 5\n" + image),
         "its save path is missing or damaged"},
        {"cut inside the image", Bytes(head + "dat 5\n" + image.substr(0, 4)),
         "its sprite image is missing or cut short"},
        {"an image past the largest sprite", Bytes(head + "dat 409604\n"),
         "its sprite image is missing or cut short"},
        {"bytes after the image", Bytes(head + "dat 5\n" + image + "x"),
         "it has 1 byte after its sprite image"},
        {"a pixel above 15", Bytes(head + "dat 5\n" + std::string("\x02\x01\x01\0\x10", 5)),
         "its sprite image is not a sprite: byte 4 holds 16, which is not a colour index from 0 "
         "to 15"},
        {"width 0", Bytes(head + "dat 5\n" + std::string("\0\x01\x01\0\0", 5)),
         "its sprite image is not a sprite: its width 0 is outside 1 to 64"},
        {"an image longer than its header says", Bytes(head + "dat 6\n" + image + '\0'),
         "its sprite image is longer than its header says"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        RecoveredDocument read;
        read.name = "untouched";
        EXPECT_EQ(ReadRecoveryCopy(r.bytes.data(), r.bytes.size(), read), r.reason);
        EXPECT_EQ(read.name, "untouched");
    }
}

}  // namespace
