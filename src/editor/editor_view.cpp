// The editor window's view: the layout for the document's size and the zoom, the enlarged cel
// copied swatch by swatch from the palette strip (with the onion skin, the previous cel's swatches
// blended into colour 0's), the chip view with its row marks, and the cursor frame.

#include <algorithm>
#include <cstring>

#include <QGuiApplication>
#include <QScreen>

#include "editor/companion_window.h"
#include "editor/editor_window.h"
#include "generator/regenerate.h"
#include "generator/sprite_lines.h"
#include "image/swatch_zoom.h"

namespace {

constexpr QRgb kCursorFrameColour = 0xFF777799;  // red 119, green 119, blue 153
constexpr QRgb kRowMarkColour = 0xFFFF0000;
constexpr QRgb kSeamColour = 0xFF9090B0;  // the edges of a sprite set's pieces

}  // namespace

QPoint CentredTopLeft(int screenWidth, int screenHeight, int clientWidth, int clientHeight) {
    // C++ integer division truncates toward zero, as the layout wants: -33 / 2 is -16.
    return {(screenWidth - clientWidth) / 2, (screenHeight - clientHeight) / 2};
}

void TForm1::InitView(bool newDocument, int width, int height, int celCount) {
    if (newDocument) doc_.NewDocument(width, height, celCount);
    LayOut();
    if (companion_ != nullptr) companion_->Restart();
    Redraw();
    UpdateTitle();
    NoteChange();
}

void TForm1::LayOut() {
    const int clientWidth = doc_.Width() * zoom_;
    const int clientHeight = doc_.Height() * zoom_;
    image_ = QImage(clientWidth, clientHeight, QImage::Format_RGB32);
    imgMain_->setFixedSize(clientWidth, clientHeight);
    setFixedSize(clientWidth, clientHeight);
    QRect screen(0, 0, 0, 0);
    if (const QScreen* primary = QGuiApplication::primaryScreen()) screen = primary->geometry();
    move(screen.topLeft() +
         CentredTopLeft(screen.width(), screen.height(), clientWidth, clientHeight));
    // The companion moves out of the way, and never ends up under the editor.
    if (companion_ != nullptr && companion_->isVisible()) {
        companion_->Place();
        companion_->raise();
    }
}

// The swatches are scaled from pal.bmp as read, never from an earlier zoom, so stepping back
// gives the very pixels of before.
void TForm1::ChangeZoom(int direction) {
    const int zoom = StepZoom(zoom_, direction);
    if (zoom == zoom_) return;
    zoom_ = zoom;
    palette_ = PaletteAtZoom(stripAtStart_, zoom_);
    if (onionSkin_) BuildOnionStrip();
    LayOut();
    Redraw();
}

void TForm1::ToggleChipView() {
    chipView_ = !chipView_;
    Redraw();
}

void TForm1::ToggleOnionSkin() {
    onionSkin_ = !onionSkin_;
    if (onionSkin_) {
        BuildOnionStrip();
    } else {
        onionStrip_ = QImage();
    }
    Redraw();
}

// 40 % of the swatch over 60 % of colour 0's, pixel by pixel and channel by channel, rounded.
void TForm1::BuildOnionStrip() {
    onionStrip_ = QImage(32 * zoom_, zoom_, QImage::Format_RGB32);
    for (int y = 0; y < zoom_; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(palette_.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(onionStrip_.scanLine(y));
        std::copy(from, from + 16 * zoom_, to);
        for (int x = 0; x < 16 * zoom_; ++x) {
            const QRgb over = from[x];
            const QRgb under = from[x % zoom_];
            const auto mix = [](int a, int b) { return (2 * a + 3 * b + 2) / 5; };
            to[16 * zoom_ + x] =
                qRgb(mix(qRed(over), qRed(under)), mix(qGreen(over), qGreen(under)),
                     mix(qBlue(over), qBlue(under)));
        }
    }
}

namespace {

// Copies one cel row of cells, scanline by scanline: each cell's part of a scanline is one row of
// its swatch. kBytes is the byte width of a swatch row when it is known at compile time (the
// common zooms), so the copy becomes a few plain moves; 0 means "use bytes". With an onion row
// (the previous cel's), a cell of colour 0 shows swatch 16 + that cel's colour of the onion strip.
template <std::size_t kBytes>
void BlitCelRow(const std::uint8_t* cels, const std::uint8_t* onion, int width, int zoom,
                std::size_t bytes, const uchar* strip, qsizetype stripStride, uchar* out,
                qsizetype outStride) {
    const std::size_t n = kBytes != 0 ? kBytes : bytes;
    std::size_t offsets[kMaxWidth];
    for (int x = 0; x < width; ++x) {
        // The loader admits only indices 0..15; the mask keeps any other byte in the strip.
        std::size_t index = cels[x] & 0x0Fu;
        if (onion != nullptr && index == 0) index = 16 + (onion[x] & 0x0Fu);
        offsets[x] = index * n;
    }
    for (int r = 0; r < zoom; ++r, strip += stripStride, out += outStride) {
        uchar* to = out;
        for (int x = 0; x < width; ++x, to += n) std::memcpy(to, strip + offsets[x], n);
    }
}

}  // namespace

// Every cell is one swatch of the palette strip, copied row by row, from the cel as drawn or, in
// the chip view, as the chip shows it with its row marks; then the cursor frame.
void TForm1::Redraw() {
    const int w = doc_.Width();
    const int h = doc_.Height();
    const std::size_t bytes = static_cast<std::size_t>(zoom_) * sizeof(QRgb);
    const std::uint8_t* cel = doc_.CurrentCelPixels();
    // The layers auto takes are counted once a redraw, for the chip and the sprite count alike.
    const GeneratorOptions options =
        chipView_ ? WithLayersChosen(CaptureDocument(doc_.Buffer()), TableOptions())
                  : GeneratorOptions{};
    if (chipView_) {
        chip_.Show(CaptureDocument(doc_.Buffer()), doc_.CurrentCel(), options);
        cel = chip_.Pixels();
    }
    // With the onion skin: the previous cel, the last one before the first.
    const int previous = (doc_.CurrentCel() + doc_.CelCount() - 1) % doc_.CelCount();
    const std::uint8_t* onion =
        onionSkin_ ? doc_.Buffer() + kHeaderSize + previous * doc_.CelSize() : nullptr;
    const QImage& swatches = onionSkin_ ? onionStrip_ : palette_;
    const qsizetype outStride = image_.bytesPerLine();
    const qsizetype stripStride = swatches.bytesPerLine();
    uchar* out = image_.bits();
    const uchar* strip = swatches.constBits();
    auto blit = &BlitCelRow<0>;
    if (zoom_ == 16) blit = &BlitCelRow<16 * sizeof(QRgb)>;
    if (zoom_ == 8) blit = &BlitCelRow<8 * sizeof(QRgb)>;
    for (int y = 0; y < h; ++y) {
        blit(cel + y * w, onion == nullptr ? nullptr : onion + y * w, w, zoom_, bytes, strip,
             stripStride, out + y * zoom_ * outStride, outStride);
    }
    if (chipView_) {
        DrawPieceSeams(options);
        DrawRowMarks(options);
    }
    DrawCursorFrame();
    ++redrawCount_;
    imgMain_->repaint();
    FollowInCompanion();
}

// A notch a quarter of a cell wide and half a cell high, centred on the row's height, at the left
// edge of the row (of its character segment, of its piece): for every row the chip cannot show as
// drawn, and every line with more hardware sprites than the chip shows.
void TForm1::DrawRowMarks(const GeneratorOptions& options) {
    const int width = std::max(1, zoom_ / 4);
    const int height = std::max(1, zoom_ / 2);
    const auto notch = [&](int row, int column) {
        const int top = row * zoom_ + (zoom_ - height) / 2;
        for (int y = top; y < top + height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y)) + column * zoom_;
            std::fill(line, line + width, kRowMarkColour);
        }
    };
    for (const RowMark& mark : chip_.Marks()) notch(mark.row, mark.column);
    // Without sprite sets a line holds a sprite per layer, never more than the chip shows.
    if (options.pieces == 0) return;
    const std::vector<int> sprites =
        SpritesOnLines(CaptureDocument(doc_.Buffer()), doc_.CurrentCel(), options);
    const int limit = ChipSpritesPerLine(options);
    for (std::size_t row = 0; row < sprites.size(); ++row) {
        if (sprites[row] > limit) notch(static_cast<int>(row), 0);
    }
}

// A line of one pixel along every inner edge of a sprite set's pieces.
void TForm1::DrawPieceSeams(const GeneratorOptions& options) {
    const int pieces = options.pieces;
    if (pieces == 0 || options.outputType != OutputType::kSprite) return;
    for (int x = pieces * zoom_; x < image_.width(); x += pieces * zoom_) {
        for (int y = 0; y < image_.height(); ++y) {
            reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = kSeamColour;
        }
    }
    for (int y = pieces * zoom_; y < image_.height(); y += pieces * zoom_) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line, line + image_.width(), kSeamColour);
    }
}

// A one-pixel outline of (zoom - 1) x (zoom - 1) pixels flush with the cursor cell's top-left
// corner; the cell's last column and row keep the swatch.
void TForm1::DrawCursorFrame() {
    const int n = zoom_ - 1;
    if (n <= 0) return;
    const int left = doc_.CursorX() * zoom_;
    const int top = doc_.CursorY() * zoom_;
    auto* topLine = reinterpret_cast<QRgb*>(image_.scanLine(top)) + left;
    auto* bottomLine = reinterpret_cast<QRgb*>(image_.scanLine(top + n - 1)) + left;
    std::fill(topLine, topLine + n, kCursorFrameColour);
    std::fill(bottomLine, bottomLine + n, kCursorFrameColour);
    for (int y = top + 1; y < top + n - 1; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y)) + left;
        line[0] = kCursorFrameColour;
        line[n - 1] = kCursorFrameColour;
    }
}
