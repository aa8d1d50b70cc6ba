#include <functional>

#include <gtest/gtest.h>

#include "document/sprite_document.h"
#include "test_pictures.h"

namespace {

using Transform = Refresh (TSpriteDocument::*)();

struct NamedTransform {
    const char* name;
    Transform op;
};

const NamedTransform kTransforms[] = {
    {"ScrollUp", &TSpriteDocument::ScrollUp},
    {"ScrollRight", &TSpriteDocument::ScrollRight},
    {"ScrollDown", &TSpriteDocument::ScrollDown},
    {"ScrollLeft", &TSpriteDocument::ScrollLeft},
    {"MirrorHorizontal", &TSpriteDocument::MirrorHorizontal},
    {"MirrorVertical", &TSpriteDocument::MirrorVertical},
    {"Rotate", &TSpriteDocument::Rotate},
};

TEST(Transforms, SinglePixelMovesWhereItShould) {
    struct Row {
        const char* name;
        Transform op;
        int w, h, fromX, fromY, toX, toY;
    };
    const Row rows[] = {
        {"scroll up wraps the top row to the bottom", &TSpriteDocument::ScrollUp, 4, 4, 0, 0, 0, 3},
        {"scroll left wraps the left column", &TSpriteDocument::ScrollLeft, 4, 4, 0, 0, 3, 0},
        {"scroll right", &TSpriteDocument::ScrollRight, 4, 4, 0, 0, 1, 0},
        {"scroll down", &TSpriteDocument::ScrollDown, 4, 4, 0, 0, 0, 1},
        {"scroll down wraps the bottom row", &TSpriteDocument::ScrollDown, 4, 4, 2, 3, 2, 0},
        {"scroll right wraps the right column", &TSpriteDocument::ScrollRight, 4, 4, 3, 1, 0, 1},
        {"mirror horizontal swaps left and right", &TSpriteDocument::MirrorHorizontal, 8, 16, 1, 2,
         6, 2},
        {"mirror vertical swaps rows 0 and 15", &TSpriteDocument::MirrorVertical, 8, 16, 5, 0, 5,
         15},
        {"mirror vertical swaps rows 1 and 14", &TSpriteDocument::MirrorVertical, 8, 16, 7, 1, 7,
         14},
        {"rotate moves the top right corner to the top left", &TSpriteDocument::Rotate, 5, 5, 4, 0,
         0, 0},
        {"rotate moves the top left corner to the bottom left", &TSpriteDocument::Rotate, 5, 5, 0,
         0, 0, 4},
        {"vertical scroll of one row keeps the picture", &TSpriteDocument::ScrollUp, 3, 1, 1, 0, 1,
         0},
        {"horizontal scroll of one column keeps the picture", &TSpriteDocument::ScrollLeft, 1, 3, 0,
         2, 0, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TSpriteDocument doc;
        // On the second cel: a transform works on the current cel's bytes, not the buffer's first.
        doc.NewDocument(r.w, r.h, 2);
        doc.NextCel();
        doc.SetPixel(r.fromX, r.fromY, 3);
        const Picture before = CelPicture(doc);
        doc.ClearModified();
        EXPECT_EQ((doc.*r.op)(), kRefreshView | kRefreshTitle);
        Picture want(static_cast<std::size_t>(r.w * r.h), 0);
        want[static_cast<std::size_t>(r.toY * r.w + r.toX)] = 3;
        EXPECT_EQ(CelPicture(doc), want);
        EXPECT_TRUE(doc.Modified());
        EXPECT_EQ(Picture(doc.Buffer() + 3, doc.Buffer() + 3 + r.w * r.h),
                  Picture(static_cast<std::size_t>(r.w * r.h), 0))
            << "the other cel is never touched";
        doc.Undo();
        EXPECT_EQ(CelPicture(doc), before) << "undo restores the cel";
    }
}

TEST(Transforms, RoundTripsRestoreThePicture) {
    std::mt19937 rng(11);
    struct Row {
        const char* name;
        Transform op;
        int w, h, times;
    };
    const Row rows[] = {
        {"four quarter turns", &TSpriteDocument::Rotate, 9, 9, 4},
        {"two horizontal mirrors", &TSpriteDocument::MirrorHorizontal, 13, 6, 2},
        {"two vertical mirrors", &TSpriteDocument::MirrorVertical, 13, 6, 2},
        {"H scrolls up", &TSpriteDocument::ScrollUp, 5, 4, 4},
        {"H scrolls down", &TSpriteDocument::ScrollDown, 5, 7, 7},
        {"W scrolls left", &TSpriteDocument::ScrollLeft, 6, 3, 6},
        {"W scrolls right", &TSpriteDocument::ScrollRight, 64, 2, 64},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TSpriteDocument doc;
        doc.NewDocument(r.w, r.h, 1);
        const Picture start = RandomPicture(r.w, r.h, rng);
        DrawPicture(doc, start);
        for (int i = 0; i < r.times; ++i) {
            (doc.*r.op)();
            if (i + 1 < r.times) {
                EXPECT_NE(CelPicture(doc), start) << "step " << i;
            }
        }
        EXPECT_EQ(CelPicture(doc), start);
    }
}

TEST(Transforms, NoneMovesTheCursorOrChangesCelOrColour) {
    for (const NamedTransform& t : kTransforms) {
        SCOPED_TRACE(t.name);
        TSpriteDocument doc;
        doc.NewDocument(6, 6, 3);
        doc.NextCel();
        doc.SetCursor(1, 4);
        doc.SetPixel(1, 4, 9);
        (doc.*t.op)();
        EXPECT_EQ(doc.CursorX(), 1);
        EXPECT_EQ(doc.CursorY(), 4);
        EXPECT_EQ(doc.CurrentCel(), 1);
        EXPECT_EQ(doc.CurrentColour(), 9);
    }
}

TEST(Transforms, RotateOfANonSquareCelZeroesPixelsWithoutASource) {
    // 3 wide, 2 high: new(x, y) = old(1 - y, x); row x >= 2 lies outside.
    TSpriteDocument doc;
    doc.NewDocument(3, 2, 1);
    DrawPicture(doc, {1, 2, 3, 4, 5, 6});
    doc.Rotate();
    EXPECT_EQ(CelPicture(doc), (Picture{2, 5, 0, 1, 4, 0}));
    doc.NewDocument(2, 3, 1);
    DrawPicture(doc, {1, 2, 3, 4, 5, 6});
    doc.Rotate();  // new(x, y) = old(2 - y, x): column 2 - y >= 2 is outside for y = 0
    EXPECT_EQ(CelPicture(doc), (Picture{0, 0, 2, 4, 1, 3}));
}

TEST(Transforms, FloodFill) {
    // 5 x 5 pictures; the fill starts at (x, y).
    struct Row {
        const char* name;
        Picture before;
        int x, y;
        std::uint8_t colour;
        Picture after;
    };
    const Picture ring = {0, 0, 0, 0, 0,  //
                          0, 1, 1, 1, 0,  //
                          0, 1, 0, 1, 0,  //
                          0, 1, 1, 1, 0,  //
                          0, 0, 0, 0, 0};
    Picture ringFilled = ring;
    ringFilled[12] = 5;
    Picture outsideFilled = ring;
    for (auto& v : outsideFilled) v = v == 0 ? 5 : v;
    outsideFilled[12] = 0;
    // Two regions that touch only at a corner: a 4-connected fill keeps to one.
    const Picture diagonal = {2, 0, 0, 0, 0,  //
                              0, 2, 0, 0, 0,  //
                              0, 0, 2, 0, 0,  //
                              0, 0, 0, 2, 0,  //
                              0, 0, 0, 0, 2};
    Picture diagonalFilled = diagonal;
    diagonalFilled[0] = 7;
    const Row rows[] = {
        {"all 0 becomes all 5", Picture(25, 0), 2, 2, 5, Picture(25, 5)},
        {"inside a ring only the inside changes", ring, 2, 2, 5, ringFilled},
        {"outside a ring only the outside changes", ring, 0, 0, 5, outsideFilled},
        {"diagonal neighbours are not connected", diagonal, 0, 0, 7, diagonalFilled},
        {"the start pixel's own colour changes nothing", ring, 1, 1, 1, ring},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TSpriteDocument doc;
        doc.NewDocument(5, 5, 1);
        DrawPicture(doc, r.before);
        doc.SetPixel(4, 4, r.before[24]);  // current colour: something other than the fill
        const std::uint8_t colourBefore = doc.CurrentColour();
        doc.ClearModified();
        EXPECT_EQ(doc.FloodFill(r.x, r.y, r.colour), kRefreshView | kRefreshTitle);
        EXPECT_EQ(CelPicture(doc), r.after);
        EXPECT_TRUE(doc.Modified());
        EXPECT_EQ(doc.CurrentColour(), colourBefore) << "a fill never changes the current colour";
        EXPECT_EQ(Picture(doc.UndoBuffer(), doc.UndoBuffer() + 25), r.before)
            << "the snapshot is taken even when nothing changes";
        doc.Undo();
        EXPECT_EQ(CelPicture(doc), r.before);
    }
}

TEST(Transforms, FloodFillOfTheLargestCelNeedsNoRecursion) {
    TSpriteDocument doc;
    doc.NewDocument(64, 64, 1);
    // A one-pixel-wide serpentine path: the worst case for a recursive fill.
    for (int y = 1; y < 64; y += 2)
        for (int x = 0; x < 64; ++x)
            if (!((y / 2) % 2 == 0 ? x == 63 : x == 0)) doc.SetPixel(x, y, 1);
    doc.FloodFill(0, 0, 4);
    int filled = 0;
    for (int i = 0; i < 64 * 64; ++i) filled += doc.CurrentCelPixels()[i] == 4;
    EXPECT_EQ(filled, 64 * 32 + 32);
}

}  // namespace
