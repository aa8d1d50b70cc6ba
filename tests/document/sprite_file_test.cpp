#include <algorithm>
#include <ctime>
#include <filesystem>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "disk_faults.h"
#include "document/sprite_document.h"
#include "document/sprite_file.h"
#include "temp_dir.h"
#include "test_pictures.h"

namespace fs = std::filesystem;

namespace {

// A file image of n cels of w x h pixels; size, when given, cuts it short or pads it with zeros.
Picture SpriteImage(int w, int h, int n, std::uint8_t fill = 0, int size = -1) {
    Picture bytes(static_cast<std::size_t>(3 + w * h * n), fill);
    if (size >= 0) bytes.resize(static_cast<std::size_t>(size), 0);
    bytes[0] = static_cast<std::uint8_t>(w);
    bytes[1] = static_cast<std::uint8_t>(h);
    bytes[2] = static_cast<std::uint8_t>(n);
    return bytes;
}

TEST(SpriteFile, SavedFilesHoldHeaderAndEveryCel) {
    struct Row {
        const char* name;
        int w, h, n;
        std::size_t size;
    };
    const Row rows[] = {
        {"new 8x8 of one cel", 8, 8, 1, 67},
        {"16x16 of three cels", 16, 16, 3, 771},
        {"largest fills the buffer", 64, 64, 100, 409603},
        {"smallest", 1, 1, 1, 4},
    };
    std::mt19937 rng(3);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TempDir dir;
        TSpriteDocument doc;
        doc.NewDocument(r.w, r.h, r.n);
        for (int k = 0; k < r.n; ++k) {
            DrawPicture(doc, RandomPicture(r.w, r.h, rng));
            doc.NextCel();
        }
        doc.MarkModified();
        doc.Names().savePath = dir.Path("walk.dat");
        ASSERT_TRUE(SaveSpriteFile(doc).ok());
        EXPECT_FALSE(doc.Modified());
        const Picture bytes = ReadBytes(dir.Path("walk.dat"));
        ASSERT_EQ(bytes.size(), r.size);
        EXPECT_EQ(bytes, Picture(doc.Buffer(), doc.Buffer() + r.size));

        TSpriteDocument loaded;
        loaded.SetPixel(0, 0, 1);  // a loaded file keeps the modified flag as it was
        const Result<> result = LoadSpriteFile(loaded, dir.Path("walk.dat"));
        ASSERT_TRUE(result.ok()) << result.message();
        EXPECT_EQ(Picture(loaded.Buffer(), loaded.Buffer() + r.size), bytes);
        EXPECT_EQ(loaded.Width(), r.w);
        EXPECT_EQ(loaded.Height(), r.h);
        EXPECT_EQ(loaded.CelCount(), r.n);
        EXPECT_EQ(loaded.CurrentCel(), 0);
        EXPECT_EQ(loaded.CursorX(), r.w / 2);
        EXPECT_EQ(loaded.CursorY(), r.h / 2);
        EXPECT_EQ(loaded.CurrentColour(), 0);
        EXPECT_TRUE(loaded.Modified());
        EXPECT_EQ(Picture(loaded.UndoBuffer(), loaded.UndoBuffer() + r.w * r.h),
                  Picture(bytes.begin() + 3, bytes.begin() + 3 + r.w * r.h))
            << "the undo buffer holds cel 0";
        EXPECT_EQ(loaded.Names().name, "walk");
        EXPECT_EQ(loaded.Names().savePath, dir.Path("walk.dat"));
        EXPECT_EQ(TitleText(loaded), "walk* 1/" + std::to_string(r.n));
    }
}

TEST(SpriteFile, NewDocumentSavesAsEightEightOneAndZeros) {
    TempDir dir;
    TSpriteDocument doc;
    doc.Names().savePath = dir.Path("a.dat");
    ASSERT_TRUE(SaveSpriteFile(doc).ok());
    Picture want = SpriteImage(8, 8, 1);
    EXPECT_EQ(ReadBytes(dir.Path("a.dat")), want);
}

TEST(SpriteFile, BadFilesAreRefusedAndChangeNothing) {
    Picture tooLong = SpriteImage(64, 64, 100);
    tooLong.push_back(0);
    Picture badPixel = SpriteImage(2, 2, 1);
    badPixel[5] = 16;
    Picture cutShort = SpriteImage(8, 8, 2);
    cutShort.pop_back();
    Picture badLastPixel = SpriteImage(2, 2, 2);
    badLastPixel.back() = 26;
    struct Row {
        const char* name;
        Picture bytes;
        const char* message;
    };
    const Row rows[] = {
        {"empty file",
         {},
         "walk.dat is not a sprite file: it is 0 bytes long, shorter than the 3-byte header."},
        {"header cut short",
         {8, 8},
         "walk.dat is not a sprite file: it is 2 bytes long, shorter than the 3-byte header."},
        {"width 0", SpriteImage(0, 8, 1),
         "walk.dat is not a sprite file: its width 0 is outside 1 to 64."},
        {"width 65", SpriteImage(65, 1, 1),
         "walk.dat is not a sprite file: its width 65 is outside 1 to 64."},
        {"width 200",
         {200, 1, 1, 0},
         "walk.dat is not a sprite file: its width 200 is outside 1 to 64."},
        {"height 0", SpriteImage(8, 0, 1),
         "walk.dat is not a sprite file: its height 0 is outside 1 to 64."},
        {"cel count 0", SpriteImage(8, 8, 0),
         "walk.dat is not a sprite file: its cel count 0 is outside 1 to 100."},
        {"cel count 101",
         {1, 1, 101},
         "walk.dat is not a sprite file: its cel count 101 is outside 1 to 100."},
        {"pixels cut short", cutShort,
         "walk.dat is not a sprite file: it is 130 bytes long, but 2 cels of 8 x 8 pixels need "
         "131."},
        {"longer than the buffer", tooLong,
         "walk.dat is not a sprite file: it is longer than the largest sprite file (409603 "
         "bytes)."},
        {"pixel above 15", badPixel,
         "walk.dat is not a sprite file: byte 5 holds 16, which is not a colour index from 0 to "
         "15."},
        {"the last pixel of the last cel above 15", badLastPixel,
         "walk.dat is not a sprite file: byte 10 holds 26, which is not a colour index from 0 to "
         "15."},
        {"one byte, named in the singular",
         {8},
         "walk.dat is not a sprite file: it is 1 byte long, shorter than the 3-byte header."},
        {"one cel, named in the singular", SpriteImage(8, 8, 1, 0, 66),
         "walk.dat is not a sprite file: it is 66 bytes long, but 1 cel of 8 x 8 pixels needs 67."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TempDir dir;
        dir.Write("walk.dat", r.bytes);
        TSpriteDocument doc;
        doc.NewDocument(3, 2, 2);
        doc.SetPixel(1, 1, 7);
        doc.NextCel();
        doc.SetCursor(2, 0);
        doc.Names() = {"old", "/x/old.dat", "/x/old.png", {}};
        const Picture before(doc.Buffer(), doc.Buffer() + kBufferCapacity);
        const Result<> result = LoadSpriteFile(doc, dir.Path("walk.dat"));
        EXPECT_EQ(result.failure(), Failure::kNotUsable);
        EXPECT_EQ(result.message(), r.message);
        EXPECT_EQ(Picture(doc.Buffer(), doc.Buffer() + kBufferCapacity), before);
        EXPECT_EQ(doc.Width(), 3);
        EXPECT_EQ(doc.CelCount(), 2);
        EXPECT_EQ(doc.CurrentCel(), 1);
        EXPECT_EQ(doc.CursorX(), 2);
        EXPECT_EQ(doc.CurrentColour(), 7);
        EXPECT_TRUE(doc.Modified());
        EXPECT_EQ(doc.Names().name, "old");
        EXPECT_EQ(doc.Names().savePath, "/x/old.dat");
        EXPECT_EQ(doc.Names().exportName, "/x/old.png");
    }
}

TEST(SpriteFile, UnreadableFilesAreReported) {
    TempDir dir;
    TSpriteDocument doc;
    Result<> missing = LoadSpriteFile(doc, dir.Path("missing.dat"));
    EXPECT_EQ(missing.failure(), Failure::kCannotOpen);
    EXPECT_EQ(missing.message(), "Cannot open missing.dat: No such file or directory.");
    fs::create_directory(dir.Path("folder.dat"));
    EXPECT_EQ(LoadSpriteFile(doc, dir.Path("folder.dat")).failure(), Failure::kCannotOpen);
    // A path ending in a separator has no file name: the message names the whole path.
    const std::string folder = dir.Path("folder.dat") + "/";
    Result<> slash = LoadSpriteFile(doc, folder);
    EXPECT_EQ(slash.failure(), Failure::kCannotOpen);
    EXPECT_EQ(slash.message(), "Cannot read " + folder + ": Is a directory.");
    EXPECT_EQ(doc.Names().name, "new");

    // Named pipes and devices are refused at once: nothing waits for a writer that never comes,
    // nothing reads /dev/zero without end.
    ASSERT_EQ(::mkfifo((dir.Path("x.dat")).c_str(), 0600), 0);
    Result<> fifo = LoadSpriteFile(doc, dir.Path("x.dat"));
    EXPECT_EQ(fifo.failure(), Failure::kNotUsable);
    EXPECT_EQ(fifo.message(),
              "x.dat is not a sprite file: it is a named pipe, not a regular file.");
    Result<> zero = LoadSpriteFile(doc, "/dev/zero");
    EXPECT_EQ(zero.message(),
              "zero is not a sprite file: it is a character device, not a regular file.");
    // A file as long as the largest sprite file and more is read no further than one byte past it.
    dir.Write("huge.dat", SpriteImage(1, 1, 1));
    ASSERT_EQ(::truncate((dir.Path("huge.dat")).c_str(), off_t{1} << 32), 0);
    EXPECT_EQ(LoadSpriteFile(doc, dir.Path("huge.dat")).message(),
              "huge.dat is not a sprite file: it is longer than the largest sprite file (409603 "
              "bytes).");
    EXPECT_EQ(doc.Names().name, "new");
}

TEST(SpriteFile, ExtraBytesOfALongerFileStayInTheBuffer) {
    TempDir dir;
    // One 2x2 cel of colour 1, then a second cel's worth of 9s past the end.
    const Picture bytes = {2, 2, 1, 1, 1, 1, 1, 9, 9, 9, 9};
    dir.Write("long.dat", bytes);
    TSpriteDocument doc;
    ASSERT_TRUE(LoadSpriteFile(doc, dir.Path("long.dat")).ok());
    EXPECT_EQ(doc.CelCount(), 1);
    doc.AddCel();
    EXPECT_EQ(CelPicture(doc), Picture(4, 9)) << "an added cel shows the bytes at its place";
}

// Old disk systems pad a file to whole records, with 0x1A say: such a file opens, and padding
// that is no colour index reaches the buffer as 0, so an added cel never shows a byte outside
// the palette.
TEST(SpriteFile, PaddedFilesOpenWithTheirPaddingAsColourIndices) {
    struct Row {
        const char* name;
        Picture padding;
        Picture inBuffer;
    };
    const Row rows[] = {
        {"0x1A to a whole record", Picture(8, 0x1A), Picture(8, 0)},
        {"colour indices stay", {1, 2, 15, 16, 255}, {1, 2, 15, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TempDir dir;
        Picture bytes = SpriteImage(2, 2, 1, 3);
        for (const std::uint8_t b : r.padding) bytes.push_back(b);
        dir.Write("old.dat", bytes);
        TSpriteDocument doc;
        const Result<> result = LoadSpriteFile(doc, dir.Path("old.dat"));
        ASSERT_TRUE(result.ok()) << result.message();
        EXPECT_EQ(doc.CelCount(), 1);
        EXPECT_EQ(Picture(doc.Buffer() + 7, doc.Buffer() + 7 + r.inBuffer.size()), r.inBuffer);
    }
}

TEST(SpriteFile, LoadingAfterAnExportClearsTheExportName) {
    TempDir dir;
    dir.Write("new.dat", SpriteImage(8, 8, 1));
    TSpriteDocument doc;
    doc.Names().exportName = "/x/walk.png";
    ASSERT_TRUE(LoadSpriteFile(doc, dir.Path("new.dat")).ok());
    EXPECT_EQ(doc.Names().exportName, "");
    EXPECT_EQ(doc.Names().name, "new") << "a file called new.dat is named new";
}

TEST(SpriteFile, DocumentNameRule) {
    struct Row {
        const char* path;
        const char* name;
    };
    const Row rows[] = {
        {"/home/ann/walk.dat", "walk"},
        {"/home/ann/walk.old.dat", "walk.old"},
        {"/home/ann/my.dir/walk", "walk"},
        {"/tmp/.dat", ""},
        {"/x/new.dat", "new"},
        {"/x/New.dat", "New"},
        {"walk.dat", "walk"},
        {"walk", "walk"},
        {"C:\\sprites\\walk.dat",
         "C:\\sprites\\walk"},  // on Linux a backslash is a file name character
        {"", ""},
    };
    for (const Row& r : rows) EXPECT_EQ(DocumentNameFromPath(r.path), r.name) << r.path;
}

// A failed save leaves the old file and the modified flag as they were, wherever the write stops;
// what each kind of fault does to the file is the writer's own test (output_faults_test).
TEST(SpriteFile, AWriteFailingAtAnyByteLeavesTheOldFileOrTheWholeNewOne) {
    TempDir dir;
    const Picture old = SpriteImage(3, 3, 1, 2);
    TSpriteDocument doc;
    doc.NewDocument(4, 4, 2);
    doc.SetPixel(1, 1, 9);
    doc.Names().savePath = dir.Path("walk.dat");
    const Picture fresh(doc.Buffer(), doc.Buffer() + doc.UsedSize());
    for (std::size_t k = 0; k <= fresh.size(); ++k) {
        SCOPED_TRACE("fails at byte " + std::to_string(k));
        dir.Write("walk.dat", old);
        doc.MarkModified();
        FullDisk writer(k);
        const Result<> result = SaveSpriteFile(doc, &writer);
        const bool complete = k == fresh.size();
        EXPECT_EQ(result.ok(), complete);
        EXPECT_EQ(ReadBytes(dir.Path("walk.dat")), complete ? fresh : old);
        EXPECT_EQ(doc.Modified(), !complete);
        EXPECT_EQ(dir.FileCount(), 1) << "no temporary file is left";
    }
}

}  // namespace

// What a writer killed mid-save leaves (.spritehex-XXXXXX, unlocked) goes; a temporary file being
// written (locked by its writer, here looked at in the middle of a save), a young one, another
// name and a link stay.
TEST(SpriteFile, StrayTemporariesGoAndLiveOnesStay) {
    TempDir dir;
    const auto old = [&dir](const std::string& name) {
        dir.Write(name, {1});
        const timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 120, 0}};
        ::utimensat(AT_FDCWD, dir.Path(name).c_str(), times, AT_SYMLINK_NOFOLLOW);
    };
    old(".spritehex-killed");
    old(".spritehex-long.name");
    old("walk.dat");
    fs::create_symlink(dir.Path("walk.dat"), dir.Path(".spritehex-linked"));
    struct Peek : DiskCalls {
        const TempDir* dir;
        int removedWhileWriting = -1;
        ssize_t Write(int fd, const void* data, std::size_t size) override {
            removedWhileWriting = RemoveStrayTemporaries(dir->Path(""), std::chrono::seconds(0));
            return DiskCalls::Write(fd, data, size);
        }
    } peek;
    peek.dir = &dir;
    TSpriteDocument doc;
    doc.Names().savePath = dir.Path("walk.dat");
    ASSERT_TRUE(SaveSpriteFile(doc, &peek).ok());
    EXPECT_EQ(peek.removedWhileWriting, 1);  // .spritehex-killed; not the one being written
    dir.Write(".spritehex-fresh1", {1});
    EXPECT_EQ(RemoveStrayTemporaries(dir.Path(""), std::chrono::minutes(1)), 0);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.Path(""))) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".spritehex-fresh1", ".spritehex-linked",
                                              ".spritehex-long.name", "walk.dat"}));
}
