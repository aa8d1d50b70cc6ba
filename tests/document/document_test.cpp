#include <algorithm>
#include <sstream>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "document/sprite_document.h"
#include "test_pictures.h"

namespace {

// Fills cel k of the document with the colour k + 1 and goes back to cel 0.
void FillCelsWithTheirNumber(TSpriteDocument& doc) {
    for (int k = 0; k < doc.CelCount(); ++k) {
        while (doc.CurrentCel() < k) doc.NextCel();
        for (int y = 0; y < doc.Height(); ++y)
            for (int x = 0; x < doc.Width(); ++x)
                doc.SetPixel(x, y, static_cast<std::uint8_t>(k + 1));
    }
    while (doc.CurrentCel() > 0) doc.PreviousCel();
}

TEST(SpriteDocument, NewDocumentStartsEmptyWithCursorInTheMiddle) {
    struct Row {
        const char* name;
        int w, h, n, cursorX, cursorY;
    };
    const Row rows[] = {
        {"start-up 8x8", 8, 8, 1, 4, 4},
        {"odd sizes round down", 7, 5, 1, 3, 2},
        {"single pixel", 1, 1, 1, 0, 0},
        {"largest", 64, 64, 100, 32, 32},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TSpriteDocument doc;
        doc.SetPixel(0, 0, 9);  // leftovers that a new document must clear
        doc.NewDocument(r.w, r.h, r.n);
        EXPECT_EQ(doc.Buffer()[0], r.w);
        EXPECT_EQ(doc.Buffer()[1], r.h);
        EXPECT_EQ(doc.Buffer()[2], r.n);
        for (int i = 3; i < kBufferCapacity; ++i) ASSERT_EQ(doc.Buffer()[i], 0) << i;
        EXPECT_EQ(doc.CursorX(), r.cursorX);
        EXPECT_EQ(doc.CursorY(), r.cursorY);
        EXPECT_EQ(doc.CurrentCel(), 0);
        EXPECT_EQ(doc.CurrentColour(), 0);
        EXPECT_EQ(doc.Names().name, "new");
        EXPECT_TRUE(doc.Names().savePath.empty());
        EXPECT_TRUE(doc.Names().exportName.empty());
        EXPECT_TRUE(doc.Modified()) << "a new document keeps the modified flag";
        EXPECT_EQ(doc.UsedSize(), 3 + r.w * r.h * r.n);
    }
    TSpriteDocument fresh;
    EXPECT_FALSE(fresh.Modified());
    EXPECT_EQ(TitleText(fresh), "new 1/1");
}

TEST(SpriteDocument, DeleteAndAddCels) {
    // Cels A, B, C hold colours 1, 2, 3.
    struct Row {
        const char* name;
        int cels, current;
        int wantCels, wantCurrent;
        int wantColourOfCel0, wantColourOfCurrent;
        Refresh wantRefresh;
    };
    const Row rows[] = {
        {"delete the first of A B C leaves B C with B current", 3, 0, 2, 0, 2, 2,
         kRefreshView | kRefreshTitle},
        {"delete the middle of A B C leaves A C with C current", 3, 1, 2, 1, 1, 3,
         kRefreshView | kRefreshTitle},
        {"delete the last of A B C leaves A B with B current", 3, 2, 2, 1, 1, 2,
         kRefreshView | kRefreshTitle},
        {"delete the only cel does nothing", 1, 0, 1, 0, 1, 1, kRefreshNone},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TSpriteDocument doc;
        doc.NewDocument(4, 3, r.cels);
        FillCelsWithTheirNumber(doc);
        while (doc.CurrentCel() < r.current) doc.NextCel();
        EXPECT_EQ(doc.DeleteCel(), r.wantRefresh);
        EXPECT_EQ(doc.CelCount(), r.wantCels);
        EXPECT_EQ(doc.Buffer()[2], r.wantCels);
        EXPECT_EQ(doc.CurrentCel(), r.wantCurrent);
        EXPECT_EQ(doc.Buffer()[3], r.wantColourOfCel0);
        EXPECT_EQ(doc.GetPixel(3, 2), r.wantColourOfCurrent);
    }
}

TEST(SpriteDocument, AddCelAfterDeletingTheLastShowsItsOldPixels) {
    TSpriteDocument doc;
    doc.NewDocument(4, 3, 3);
    FillCelsWithTheirNumber(doc);
    doc.NextCel();
    doc.NextCel();
    doc.DeleteCel();
    EXPECT_EQ(doc.AddCel(), kRefreshView | kRefreshTitle);
    EXPECT_EQ(doc.CurrentCel(), 2);
    EXPECT_EQ(doc.CelCount(), 3);
    EXPECT_EQ(doc.GetPixel(0, 0), 3) << "the deleted cel's bytes come back";
}

TEST(SpriteDocument, AddCelLimitsAndPosition) {
    TSpriteDocument doc;
    doc.NewDocument(2, 2, 99);
    for (int i = 0; i < 5; ++i) doc.NextCel();
    EXPECT_EQ(doc.AddCel(), kRefreshView | kRefreshTitle);
    EXPECT_EQ(doc.CelCount(), 100);
    EXPECT_EQ(doc.CurrentCel(), 6) << "the cel after the current one becomes current";
    doc.ClearModified();
    EXPECT_EQ(doc.AddCel(), kRefreshNone);
    EXPECT_FALSE(doc.Modified()) << "an add refused at 100 cels changes nothing";
    EXPECT_EQ(doc.CelCount(), 100);
    EXPECT_EQ(doc.Buffer()[2], 100);
    EXPECT_EQ(doc.CurrentCel(), 6);
}

TEST(SpriteDocument, CelNavigationStopsAtTheEndsButStillRefreshes) {
    TSpriteDocument doc;
    doc.NewDocument(8, 8, 2);
    EXPECT_EQ(doc.PreviousCel(), kRefreshView | kRefreshTitle);
    EXPECT_EQ(doc.CurrentCel(), 0);
    doc.NextCel();
    EXPECT_EQ(doc.NextCel(), kRefreshView | kRefreshTitle);
    EXPECT_EQ(doc.CurrentCel(), 1);
    EXPECT_EQ(TitleText(doc), "new 2/2");
}

TEST(SpriteDocument, CopyTextNamesTheCopiedCel) {
    TSpriteDocument doc;
    doc.NewDocument(3, 2, 3);
    FillCelsWithTheirNumber(doc);
    doc.NextCel();
    doc.NextCel();
    EXPECT_EQ(doc.CopyCel(), kRefreshNone);
    EXPECT_EQ(CopyText(doc), "copy:3");
}

// Every cel of the document as hexadecimal digits, cels separated by blanks: "1111 2222".
std::string Cels(const TSpriteDocument& doc) {
    std::string text;
    for (int i = 0; i < doc.CelCount() * doc.CelSize(); ++i) {
        if (i > 0 && i % doc.CelSize() == 0) text += ' ';
        text += "0123456789ABCDEF"[doc.Buffer()[kHeaderSize + i] & 15];
    }
    return text;
}

// Runs blank-separated operations: "x,y=c" sets a pixel, "new" starts a new 2 x 2 document of
// three cels, the others are named after the operation.
void RunOps(TSpriteDocument& doc, const std::string& ops) {
    using Op = Refresh (TSpriteDocument::*)();
    static const std::pair<std::string_view, Op> kOps[] = {
        {"next", &TSpriteDocument::NextCel},        {"prev", &TSpriteDocument::PreviousCel},
        {"copy", &TSpriteDocument::CopyCel},        {"paste", &TSpriteDocument::PasteCel},
        {"add", &TSpriteDocument::AddCel},          {"del", &TSpriteDocument::DeleteCel},
        {"erase", &TSpriteDocument::EraseCel},      {"undo", &TSpriteDocument::Undo},
        {"clear", &TSpriteDocument::ClearModified},
    };
    std::istringstream in(ops);
    std::string op;
    while (in >> op) {
        const auto* found = std::find_if(std::begin(kOps), std::end(kOps),
                                         [&](const auto& entry) { return entry.first == op; });
        if (found != std::end(kOps)) {
            (doc.*found->second)();
        } else if (op == "new") {
            doc.NewDocument(2, 2, 3);
        } else {
            ASSERT_TRUE(op.size() == 5 && op[1] == ',' && op[3] == '=') << op;
            doc.SetPixel(op[0] - '0', op[2] - '0', static_cast<std::uint8_t>(op[4] - '0'));
        }
    }
}

// 2 x 2 cels filled with their number (1, 2, 3 ...), cel 0 current, its snapshot taken, the
// modified flag clear; then the operations.
TEST(SpriteDocument, UndoGoesBackIntoItsOwnCelAndEveryChangeMarksTheDocument) {
    struct Row {
        const char* name;
        int cels;
        const char* ops;
        const char* wantCels;
        int wantCurrent;
        bool wantModified;
    };
    const Row rows[] = {
        {"undo after moving on restores the snapshot's own cel and shows it", 3,
         "0,0=9 clear next undo", "1111 2222 3333", 0, true},
        {"two undos give the same as one", 3, "0,0=9 next undo undo", "1111 2222 3333", 0, true},
        {"undo from far away", 3, "1,1=9 next next undo", "1111 2222 3333", 0, true},
        {"undo with nothing changed marks nothing", 3, "undo", "1111 2222 3333", 0, false},
        {"paste marks the document", 3, "copy next paste", "1111 1111 3333", 1, true},
        {"paste takes a snapshot: undo brings the pasted-over cel back", 3,
         "copy next paste clear undo", "1111 2222 3333", 1, true},
        {"pasting an equal cel marks nothing", 3, "copy paste", "1111 2222 3333", 0, false},
        {"erase marks the document", 3, "erase", "0000 2222 3333", 0, true},
        {"undo after erase brings the cel back", 3, "erase clear undo", "1111 2222 3333", 0, true},
        {"erasing an empty cel marks nothing", 3, "erase clear erase", "0000 2222 3333", 0, false},
        {"add marks the document", 2, "add", "1111 2222 0000", 1, true},
        {"delete marks the document", 3, "del", "2222 3333", 0, true},
        {"delete of the only cel marks nothing", 1, "del", "1111", 0, false},
        {"a delete drops the snapshot of the deleted cel: undo does nothing", 3,
         "0,0=9 del clear undo", "2222 3333", 0, false},
        {"a delete drops the snapshot of a cel that moves: undo does nothing", 3,
         "next next 0,0=9 prev del clear undo", "1111 9333", 1, false},
        {"a delete keeps the snapshot of a cel before it", 3, "0,0=9 next next del clear undo",
         "1111 2222", 0, true},
        {"after a dropped snapshot the next change takes a new one", 3, "0,0=9 del 1,1=5 undo",
         "2222 3333", 0, true},
        {"a new document takes its snapshot from cel 0", 3, "next 0,0=9 new undo", "0000 0000 0000",
         0, true},
        {"navigation and copy mark nothing", 3, "next copy prev", "1111 2222 3333", 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TSpriteDocument doc;
        doc.NewDocument(2, 2, r.cels);
        FillCelsWithTheirNumber(doc);
        doc.SaveUndo();
        doc.ClearModified();
        RunOps(doc, r.ops);
        EXPECT_EQ(Cels(doc), r.wantCels);
        EXPECT_EQ(doc.CurrentCel(), r.wantCurrent);
        EXPECT_EQ(doc.Modified(), r.wantModified);
        EXPECT_EQ(doc.Buffer()[2], doc.CelCount());
    }
}

TEST(SpriteDocument, OnlyTheFirstChangeAsksForTheTitle) {
    TSpriteDocument doc;
    EXPECT_EQ(doc.SetPixel(1, 2, 5), kRefreshView | kRefreshTitle);
    EXPECT_EQ(doc.CurrentColour(), 5);
    EXPECT_EQ(doc.Buffer()[3 + 2 * 8 + 1], 5);
    EXPECT_EQ(TitleText(doc), "new* 1/1");
    EXPECT_EQ(doc.SetPixel(2, 2, 6), kRefreshView);
    EXPECT_EQ(doc.MarkModified(), kRefreshNone);
}

TEST(SpriteDocument, CursorMovesStopAtEveryEdge) {
    struct Row {
        const char* name;
        int startX, startY, dx, dy;
        bool moved;
    };
    const Row rows[] = {
        {"left at column 0", 0, 2, -1, 0, false},
        {"up at row 0", 2, 0, 0, -1, false},
        {"right at the last column", 4, 2, 1, 0, false},
        {"down at the last row", 2, 2, 0, 1, false},
        {"right inside", 3, 1, 1, 0, true},
        {"up inside", 3, 1, 0, -1, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TSpriteDocument doc;
        doc.NewDocument(5, 3, 1);
        doc.SetCursor(r.startX, r.startY);
        EXPECT_EQ(doc.MoveCursor(r.dx, r.dy), r.moved);
        EXPECT_EQ(doc.CursorX(), r.startX + (r.moved ? r.dx : 0));
        EXPECT_EQ(doc.CursorY(), r.startY + (r.moved ? r.dy : 0));
    }
}

TEST(SpriteDocument, LargestDocumentFillsTheBufferExactly) {
    TSpriteDocument doc;
    doc.NewDocument(64, 64, 100);
    for (int k = 0; k < 99; ++k) doc.NextCel();
    doc.SetPixel(63, 63, 15);
    EXPECT_EQ(doc.UsedSize(), kBufferCapacity);
    EXPECT_EQ(doc.Buffer()[kBufferCapacity - 1], 15);
    EXPECT_EQ(TitleText(doc), "new* 100/100");
}

// The history keeps at least 1,000 of the largest steps within its 32 MiB; past that the oldest
// go, and what is left still undoes and redoes exactly.
TEST(EditHistory, TheOldestStepsGoAtTheMemoryCap) {
    TSpriteDocument doc;
    doc.NewDocument(kMaxWidth, kMaxHeight, 1);
    EditHistory& history = doc.History();
    const int steps = static_cast<int>(kHistoryBytes / kCelCapacity) + 10;
    for (int i = 0; i < steps; ++i) {
        history.Begin(doc);
        doc.SetPixel(i % kMaxWidth, i / kMaxWidth % kMaxHeight,
                     static_cast<std::uint8_t>(1 + i % 15));
        history.End(doc, "pixel");
    }
    EXPECT_LE(history.Bytes(), kHistoryBytes);
    EXPECT_GE(history.StepCount(), 1000u);
    EXPECT_LT(history.StepCount(), static_cast<std::size_t>(steps));
    const std::vector<std::uint8_t> last(doc.CurrentCelPixels(),
                                         doc.CurrentCelPixels() + doc.CelSize());
    while (doc.UndoStep() != kRefreshNone) {
    }
    EXPECT_NE(doc.GetPixel(0, 0), 0) << "the first steps are gone, so their pixels stay";
    while (doc.RedoStep() != kRefreshNone) {
    }
    EXPECT_TRUE(std::equal(last.begin(), last.end(), doc.CurrentCelPixels()));
}

// Z's snapshot stays with the cel it was taken from while U and Y move the cels about. Commands:
// a digit paints pixel (0, 0), P and N go to the previous and next cel, D deletes the cel, U and Y
// step through the history, Z.
TEST(EditHistory, ZGoesBackIntoItsOwnCelAfterUndoAndRedo) {
    const struct {
        const char* commands;
        const char* cels;  // pixel (0, 0) of each cel afterwards
        int current;
    } rows[] = {
        {"D9UUZ", "123", 2},   // the snapshot of cel 3 follows it back to its place
        {"DU2YZ", "13", 1},    // the snapshot of the deleted cel is dropped again
        {"P9NDUZ", "123", 0},  // a cel before the deleted one keeps its snapshot
    };
    for (const auto& row : rows) {
        TSpriteDocument doc;
        const std::uint8_t image[] = {1, 1, 3, 1, 2, 3};  // three 1 x 1 cels
        doc.LoadImage(image, sizeof image);
        doc.NextCel();
        for (const char* c = row.commands; *c != 0; ++c) {
            doc.History().Begin(doc);
            if (*c == 'D') doc.DeleteCel();
            if (*c == 'P') doc.PreviousCel();
            if (*c == 'N') doc.NextCel();
            if (*c == 'U') doc.UndoStep();
            if (*c == 'Y') doc.RedoStep();
            if (*c == 'Z') doc.Undo();
            if (*c >= '0' && *c <= '9') doc.SetPixel(0, 0, static_cast<std::uint8_t>(*c - '0'));
            if (*c != 'U' && *c != 'Y') doc.History().End(doc, "command");
        }
        std::string cels;
        for (int cel = 0; cel < doc.CelCount(); ++cel) {
            cels += static_cast<char>('0' + doc.Buffer()[kHeaderSize + cel]);
        }
        EXPECT_EQ(cels, row.cels) << row.commands;
        EXPECT_EQ(doc.CurrentCel(), row.current) << row.commands;
    }
}

}  // namespace
