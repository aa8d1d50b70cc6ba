#include "editor/editor_window.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "editor/image_library.h"
#include "editor/recovery.h"
#include "image/bmp_file.h"
#include "image/colour_strip.h"

namespace {

constexpr int kMaxZoom = 64;
constexpr QRgb kCursorFrameColour = 0xFF777799;  // red 119, green 119, blue 153

// imgMain: shows the window's picture and hands mouse events to the window.
class TImage : public QWidget {
  public:
    TImage(TForm1& form, const QImage& image) : QWidget(&form), form_(form), image_(image) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint p = PositionOf(*event);
        form_.imgMainMouseDown(event->button(), p.x(), p.y());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint p = PositionOf(*event);
        form_.imgMainMouseMove(event->buttons(), p.x(), p.y());
    }

  private:
    static QPoint PositionOf(const QMouseEvent& event) {
        const QPointF p = event.position();
        return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
    }

    TForm1& form_;
    const QImage& image_;
};

// A bitmap read at start, or a StartupError that says why not.
RgbImage LoadBitmap(const QString& path,
                    Result<RgbImage> (*read)(const std::string&, const std::string&)) {
    Result<RgbImage> image =
        read(QFile::encodeName(path).toStdString(), QDir::toNativeSeparators(path).toStdString());
    if (!image) throw StartupError(image.message());
    return image.Take();
}

// The picture as Qt paints it.
QImage ToQImage(const RgbImage& image) {
    QImage out(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(out.scanLine(y), image.Row(y),
                    static_cast<std::size_t>(image.width) * sizeof(QRgb));
    }
    return out;
}

std::string Size(const QImage& image) {
    return std::to_string(image.width()) + " x " + std::to_string(image.height()) + " pixels";
}

}  // namespace

QPoint CentredTopLeft(int screenWidth, int screenHeight, int clientWidth, int clientHeight) {
    // C++ integer division truncates toward zero, as the layout wants: -33 / 2 is -16.
    return {(screenWidth - clientWidth) / 2, (screenHeight - clientHeight) / 2};
}

TForm1::TForm1(const QString& executableDir, UserPrompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      prompts_(prompts),
      imageLibrary_(&TheImageLibrary()) {
    const QString dir = executableDir.endsWith(u'/') ? executableDir : executableDir + u'/';
    SetTempBitmapDir(TempBitmapDir(dir));
    palette_ = ToQImage(LoadBitmap(dir + QStringLiteral("pal.bmp"), ReadBmpFile));
    const std::string palName = QDir::toNativeSeparators(dir + "pal.bmp").toStdString();
    if (palette_.height() < 1 || palette_.height() > kMaxZoom) {
        throw StartupError(
            "Cannot use " + palName + ": its height of " + std::to_string(palette_.height()) +
            " pixels is the zoom, which must be from 1 to " + std::to_string(kMaxZoom));
    }
    if (palette_.width() < 16 * palette_.height()) {
        throw StartupError("Cannot use " + palName + ": it is " + Size(palette_) +
                           ", too narrow for 16 square swatches (at least " +
                           std::to_string(16 * palette_.height()) + " pixels wide)");
    }
    zoom_ = palette_.height();
    colourStrip_ = LoadBitmap(dir + QStringLiteral("color.bmp"), ReadColourStrip);

    setFocusPolicy(Qt::StrongFocus);
    imgMain_ = new TImage(*this, image_);
    imgMain_->move(0, 0);
    InitView(true);
    Apply(doc_.ClearModified());
}

TForm1::~TForm1() = default;

void TForm1::InitView(bool newDocument, int width, int height, int celCount) {
    if (newDocument) doc_.NewDocument(width, height, celCount);
    const int clientWidth = doc_.Width() * zoom_;
    const int clientHeight = doc_.Height() * zoom_;
    image_ = QImage(clientWidth, clientHeight, QImage::Format_RGB32);
    imgMain_->setFixedSize(clientWidth, clientHeight);
    setFixedSize(clientWidth, clientHeight);
    QRect screen(0, 0, 0, 0);
    if (const QScreen* primary = QGuiApplication::primaryScreen()) screen = primary->geometry();
    move(screen.topLeft() +
         CentredTopLeft(screen.width(), screen.height(), clientWidth, clientHeight));
    Redraw();
    UpdateTitle();
    NoteChange();
}

namespace {

// Copies one cel row of cells, scanline by scanline: each cell's part of a scanline is one row of
// its swatch. kBytes is the byte width of a swatch row when it is known at compile time (the
// common zooms), so the copy becomes a few plain moves; 0 means "use bytes".
template <std::size_t kBytes>
void BlitCelRow(const std::uint8_t* cels, int width, int zoom, std::size_t bytes,
                const uchar* strip, qsizetype stripStride, uchar* out, qsizetype outStride) {
    const std::size_t n = kBytes != 0 ? kBytes : bytes;
    std::size_t offsets[kMaxWidth];
    for (int x = 0; x < width; ++x) {
        // The loader admits only indices 0..15; the mask keeps any other byte in the strip.
        offsets[x] = (cels[x] & 0x0Fu) * n;
    }
    for (int r = 0; r < zoom; ++r, strip += stripStride, out += outStride) {
        uchar* to = out;
        for (int x = 0; x < width; ++x, to += n) std::memcpy(to, strip + offsets[x], n);
    }
}

}  // namespace

// Every cell is one swatch of the palette strip, copied row by row; then the cursor frame.
void TForm1::Redraw() {
    const int w = doc_.Width();
    const int h = doc_.Height();
    const std::size_t bytes = static_cast<std::size_t>(zoom_) * sizeof(QRgb);
    const std::uint8_t* cel = doc_.CurrentCelPixels();
    const qsizetype outStride = image_.bytesPerLine();
    const qsizetype stripStride = palette_.bytesPerLine();
    uchar* out = image_.bits();
    const uchar* strip = palette_.constBits();
    auto blit = &BlitCelRow<0>;
    if (zoom_ == 16) blit = &BlitCelRow<16 * sizeof(QRgb)>;
    if (zoom_ == 8) blit = &BlitCelRow<8 * sizeof(QRgb)>;
    for (int y = 0; y < h; ++y) {
        blit(cel + y * w, w, zoom_, bytes, strip, stripStride, out + y * zoom_ * outStride,
             outStride);
    }
    DrawCursorFrame();
    ++redrawCount_;
    imgMain_->repaint();
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

void TForm1::UpdateTitle() {
    setWindowTitle(QFile::decodeName(TitleText(doc_).c_str()));
}

void TForm1::MarkModified() {
    Apply(doc_.MarkModified());
}

void TForm1::Apply(Refresh refresh) {
    if (refresh & kRefreshView) Redraw();
    if (refresh & kRefreshTitle) UpdateTitle();
    NoteChange();
}

void TForm1::NoteChange() {
    if (recovery_ != nullptr) recovery_->Update(doc_);
}

// Each operation changes the document, then shows what it asks to be refreshed.
// clang-format off
void TForm1::SetPixel(int x, int y, std::uint8_t colour) { Apply(doc_.SetPixel(x, y, colour)); }
void TForm1::Undo() { Apply(doc_.Undo()); }
void TForm1::PasteCel() { Apply(doc_.PasteCel()); }
void TForm1::PreviousCel() { Apply(doc_.PreviousCel()); }
void TForm1::NextCel() { Apply(doc_.NextCel()); }
void TForm1::AddCel() { Apply(doc_.AddCel()); }
void TForm1::DeleteCel() { Apply(doc_.DeleteCel()); }
void TForm1::EraseCel() { Apply(doc_.EraseCel()); }
void TForm1::FloodFill(int x, int y, std::uint8_t colour) { Apply(doc_.FloodFill(x, y, colour)); }
void TForm1::ScrollUp() { Apply(doc_.ScrollUp()); }
void TForm1::ScrollRight() { Apply(doc_.ScrollRight()); }
void TForm1::ScrollDown() { Apply(doc_.ScrollDown()); }
void TForm1::ScrollLeft() { Apply(doc_.ScrollLeft()); }
void TForm1::MirrorHorizontal() { Apply(doc_.MirrorHorizontal()); }
void TForm1::MirrorVertical() { Apply(doc_.MirrorVertical()); }
void TForm1::Rotate() { Apply(doc_.Rotate()); }
// clang-format on

void TForm1::CopyCel() {
    setWindowTitle(QString::fromStdString(CopyText(doc_)));
    Apply(doc_.CopyCel());
}

PromptAnswer TForm1::Ask(const QString& text, const QString& caption, PromptButtons buttons,
                         PromptIcon icon) {
    const PromptAnswer answer = prompts_.Ask(text, caption, buttons, icon);
    activateWindow();
    return answer;
}

void TForm1::ErrorBox(std::string_view message) {
    ShowErrorBox(prompts_, windowTitle(), message);
    activateWindow();
}

// --- window events -------------------------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormClose()) {
        if (recovery_ != nullptr) recovery_->Discard();
        event->accept();
        emit Closed();
    } else {
        event->ignore();
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    activateWindow();
}
