// Every document operation works inside the buffers allocated by the constructor, and a recovery
// copy is prepared in a buffer of its own.

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include <gtest/gtest.h>

#include "document/recovery_file.h"
#include "document/sprite_document.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

TEST(SpriteDocument, NoOperationAllocatesAfterConstruction) {
    TSpriteDocument doc;
    std::vector<std::uint8_t> copy(kMaxRecoveryCopySize);
    counting = true;
    for (int round = 0; round < 3; ++round) {
        doc.NewDocument(64, 64, 99);
        doc.AddCel();
        doc.AddCel();
        doc.NextCel();
        doc.PreviousCel();
        doc.MoveCursor(1, 0);
        doc.SetCursor(63, 63);
        doc.SetPixel(63, 63, 5);
        (void)doc.GetPixel(0, 0);
        doc.SaveUndo();
        doc.Undo();
        doc.CopyCel();
        doc.PasteCel();
        doc.EraseCel();
        doc.DeleteCel();
        doc.MarkModified();
        doc.FloodFill(10, 10, 3);
        doc.FloodFill(10, 10, 3);
        doc.ScrollUp();
        doc.ScrollRight();
        doc.ScrollDown();
        doc.ScrollLeft();
        doc.MirrorHorizontal();
        doc.MirrorVertical();
        doc.Rotate();
        doc.ClearModified();
        doc.NewDocument(7, 5, 1);
        doc.Rotate();
        EXPECT_GT(MakeRecoveryCopy(doc, copy.data(), copy.size()), 0u);  // prepared at every change
    }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    // The counter itself works: a std::string past the small-string size allocates.
    counting = true;
    std::string probe(100, 'x');
    counting = false;
    EXPECT_GT(allocations.load(), 0);
}

}  // namespace
