#include "document/sprite_document.h"

#include <algorithm>
#include <cassert>
#include <cstring>

TSpriteDocument::TSpriteDocument()
    : buffer_(new std::uint8_t[kBufferCapacity]()),
      undo_(new std::uint8_t[kCelCapacity]()),
      copy_(new std::uint8_t[kCelCapacity]()),
      fillStack_(new std::uint16_t[kCelCapacity]()) {
    NewDocument(8, 8, 1);
    modified_ = false;
}

Refresh TSpriteDocument::NewDocument(int width, int height, int celCount) {
    assert(width >= 1 && width <= kMaxWidth && height >= 1 && height <= kMaxHeight);
    assert(celCount >= 1 && celCount <= kMaxCels);
    width_ = width;
    height_ = height;
    celCount_ = celCount;
    names_.name = "new";
    names_.savePath.clear();
    names_.exportName.clear();
    names_.savedStamp.reset();
    std::memset(buffer_.get(), 0, kBufferCapacity);
    buffer_[0] = static_cast<std::uint8_t>(width);
    buffer_[1] = static_cast<std::uint8_t>(height);
    buffer_[2] = static_cast<std::uint8_t>(celCount);
    ResetEditingState();
    ++revision_;
    return kRefreshView | kRefreshTitle;
}

Refresh TSpriteDocument::LoadImage(const std::uint8_t* bytes, int count) {
    assert(count >= kHeaderSize && count <= kBufferCapacity);
    std::memcpy(buffer_.get(), bytes, static_cast<std::size_t>(count));
    width_ = buffer_[0];
    height_ = buffer_[1];
    celCount_ = buffer_[2];
    // Bytes past the cels (a file padded to whole records) stay, but only as colour indices, so
    // that a cel added later never shows a byte outside the palette.
    std::uint8_t* past = buffer_.get() + UsedSize();
    std::replace_if(
        past, buffer_.get() + count, [](std::uint8_t b) { return b > 15; }, 0);
    ResetEditingState();
    ++revision_;
    return kRefreshView | kRefreshTitle;
}

void TSpriteDocument::ResetEditingState() {
    history_.Clear();
    cursorX_ = width_ / 2;
    cursorY_ = height_ / 2;
    currentColour_ = 0;
    currentCel_ = 0;
    SaveUndo();
}

Refresh TSpriteDocument::AfterHistory(int cel) {
    buffer_[2] = static_cast<std::uint8_t>(celCount_);
    currentCel_ = cel;
    return kRefreshView | kRefreshTitle | MarkModified();
}

Refresh TSpriteDocument::ClearModified() {
    modified_ = false;
    return kRefreshTitle;
}

bool TSpriteDocument::MoveCursor(int dx, int dy) {
    const int x = cursorX_ + dx;
    const int y = cursorY_ + dy;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    cursorX_ = x;
    cursorY_ = y;
    return true;
}

void TSpriteDocument::SetCursor(int x, int y) {
    assert(x >= 0 && x < width_ && y >= 0 && y < height_);
    cursorX_ = x;
    cursorY_ = y;
}

void TSpriteDocument::ChooseColour(std::uint8_t colour) {
    currentColour_ = static_cast<std::uint8_t>(colour & 0x0F);
}

void TSpriteDocument::SaveUndo() {
    std::memcpy(undo_.get(), Cel(), static_cast<std::size_t>(CelSize()));
    undoCel_ = currentCel_;
}

Refresh TSpriteDocument::ReplaceCel(const std::uint8_t* source) {
    const std::size_t size = static_cast<std::size_t>(CelSize());
    const bool changed = std::memcmp(Cel(), source, size) != 0;
    std::memcpy(Cel(), source, size);
    return changed ? kRefreshView | MarkModified() : kRefreshView;
}

Refresh TSpriteDocument::Undo() {
    // No snapshot, or one of a cel that an undone add took away.
    if (undoCel_ < 0 || undoCel_ >= celCount_) return kRefreshNone;
    const bool moved = currentCel_ != undoCel_;
    currentCel_ = undoCel_;
    const Refresh refresh = ReplaceCel(undo_.get());
    return moved ? refresh | kRefreshTitle : refresh;
}

Refresh TSpriteDocument::CopyCel() {
    std::memcpy(copy_.get(), Cel(), static_cast<std::size_t>(CelSize()));
    return kRefreshNone;
}

Refresh TSpriteDocument::PasteCel() {
    SaveUndo();
    return ReplaceCel(copy_.get());
}

Refresh TSpriteDocument::PreviousCel() {
    if (currentCel_ > 0) --currentCel_;
    return kRefreshView | kRefreshTitle;
}

Refresh TSpriteDocument::NextCel() {
    if (currentCel_ < celCount_ - 1) ++currentCel_;
    return kRefreshView | kRefreshTitle;
}

Refresh TSpriteDocument::AddCel() {
    if (celCount_ >= kMaxCels) return kRefreshNone;
    ++celCount_;
    buffer_[2] = static_cast<std::uint8_t>(celCount_);
    ++currentCel_;
    return kRefreshView | kRefreshTitle | MarkModified();
}

Refresh TSpriteDocument::DeleteCel() {
    if (celCount_ == 1) return kRefreshNone;
    // The deleted cel and every cel after it are gone from their places.
    if (undoCel_ >= currentCel_) undoCel_ = -1;
    if (currentCel_ == celCount_ - 1) {
        --currentCel_;
    } else {
        // Cels after the current one move one place toward the front; the old last place keeps
        // its bytes.
        std::uint8_t* cel = Cel();
        const std::size_t celSize = static_cast<std::size_t>(CelSize());
        std::memmove(cel, cel + celSize,
                     celSize * static_cast<std::size_t>(celCount_ - 1 - currentCel_));
    }
    --celCount_;
    buffer_[2] = static_cast<std::uint8_t>(celCount_);
    return kRefreshView | kRefreshTitle | MarkModified();
}

Refresh TSpriteDocument::EraseCel() {
    SaveUndo();
    static const std::uint8_t kBlank[kCelCapacity] = {};
    return ReplaceCel(kBlank);
}

Refresh TSpriteDocument::SetPixel(int x, int y, std::uint8_t colour) {
    assert(x >= 0 && x < width_ && y >= 0 && y < height_);
    SaveUndo();
    currentColour_ = colour;
    Cel()[y * width_ + x] = colour;
    return kRefreshView | MarkModified();
}

std::uint8_t TSpriteDocument::GetPixel(int x, int y) const {
    assert(x >= 0 && x < width_ && y >= 0 && y < height_);
    return CurrentCelPixels()[y * width_ + x];
}

Refresh TSpriteDocument::MarkModified() {
    ++revision_;
    if (modified_) return kRefreshNone;
    modified_ = true;
    return kRefreshTitle;
}

std::string TitleText(const TSpriteDocument& doc) {
    std::string title = doc.Names().name;
    if (doc.Modified()) title += '*';
    title += ' ';
    title += std::to_string(doc.CurrentCel() + 1);
    title += '/';
    title += std::to_string(doc.CelCount());
    return title;
}

std::string CopyText(const TSpriteDocument& doc) {
    return "copy:" + std::to_string(doc.CurrentCel() + 1);
}

// Each takes the undo snapshot first and computes the new picture from it straight into the cel,
// so the snapshot doubles as the picture before.
Refresh TSpriteDocument::Transform(CelTransform transform) {
    SaveUndo();
    TransformCel(transform, undo_.get(), Cel(), width_, height_);
    return kRefreshView | MarkModified();
}

// clang-format off
Refresh TSpriteDocument::ScrollUp() { return Transform(CelTransform::kScrollUp); }
Refresh TSpriteDocument::ScrollRight() { return Transform(CelTransform::kScrollRight); }
Refresh TSpriteDocument::ScrollDown() { return Transform(CelTransform::kScrollDown); }
Refresh TSpriteDocument::ScrollLeft() { return Transform(CelTransform::kScrollLeft); }
Refresh TSpriteDocument::MirrorHorizontal() { return Transform(CelTransform::kMirrorHorizontal); }
Refresh TSpriteDocument::MirrorVertical() { return Transform(CelTransform::kMirrorVertical); }
Refresh TSpriteDocument::Rotate() { return Transform(CelTransform::kRotate); }
// clang-format on

Refresh TSpriteDocument::FloodFill(int x, int y, std::uint8_t colour) {
    SaveUndo();
    FloodFillCel(Cel(), width_, height_, x, y, colour, fillStack_.get());
    return kRefreshView | MarkModified();
}
