#include "editor/editor_window.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "editor/key_codes.h"
#include "editor/key_commands.h"
#include "generator/window/generate_window.h"

namespace {

constexpr int kMaxZoom = 64;
constexpr int kColourStripMinWidth = 16 * 15 + 2;
constexpr int kColourStripMinHeight = 2;
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

QImage LoadBitmap(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.exists()) throw StartupError(("Cannot find " + shown + ": there is no such file").toStdString());
    if (!file.open(QIODevice::ReadOnly)) {
        throw StartupError(("Cannot read " + shown + ": " + file.errorString()).toStdString());
    }
    QImage image;
    if (!image.loadFromData(file.readAll(), "BMP")) {
        throw StartupError(("Cannot load " + shown + ": it is not a valid BMP picture").toStdString());
    }
    return image.convertToFormat(QImage::Format_RGB32);
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
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), prompts_(prompts) {
    const QString dir = executableDir.endsWith(u'/') ? executableDir : executableDir + u'/';
    palette_ = LoadBitmap(dir + QStringLiteral("pal.bmp"));
    const std::string palName = QDir::toNativeSeparators(dir + "pal.bmp").toStdString();
    if (palette_.height() < 1 || palette_.height() > kMaxZoom) {
        throw StartupError("Cannot use " + palName + ": its height of " +
                           std::to_string(palette_.height()) + " pixels is the zoom, which must be from 1 to " +
                           std::to_string(kMaxZoom));
    }
    if (palette_.width() < 16 * palette_.height()) {
        throw StartupError("Cannot use " + palName + ": it is " + Size(palette_) +
                           ", too narrow for 16 square swatches (at least " +
                           std::to_string(16 * palette_.height()) + " pixels wide)");
    }
    zoom_ = palette_.height();
    colourStrip_ = LoadBitmap(dir + QStringLiteral("color.bmp"));
    if (colourStrip_.width() < kColourStripMinWidth || colourStrip_.height() < kColourStripMinHeight) {
        throw StartupError("Cannot use " + QDir::toNativeSeparators(dir + "color.bmp").toStdString() +
                           ": it is " + Size(colourStrip_) + ", smaller than the " +
                           std::to_string(kColourStripMinWidth) + " x " +
                           std::to_string(kColourStripMinHeight) + " pixels of 16 colour swatches");
    }

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
}

// Every cell is one swatch of the palette strip, copied row by row; then the cursor frame.
void TForm1::Redraw() {
    const int w = doc_.Width();
    const int h = doc_.Height();
    const std::size_t swatchBytes = static_cast<std::size_t>(zoom_) * sizeof(QRgb);
    const std::uint8_t* cel = doc_.CurrentCelPixels();
    const qsizetype dstStride = image_.bytesPerLine();
    const qsizetype srcStride = palette_.bytesPerLine();
    uchar* dst = image_.bits();
    const uchar* src = palette_.constBits();
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = cel + y * w;
        for (int r = 0; r < zoom_; ++r) {
            uchar* line = dst + (y * zoom_ + r) * dstStride;
            const uchar* swatchLine = src + r * srcStride;
            for (int x = 0; x < w; ++x) {
                // The loader admits only indices 0..15; the mask keeps any other byte in the strip.
                const unsigned v = row[x] & 0x0Fu;
                std::memcpy(line + static_cast<std::size_t>(x) * swatchBytes,
                            swatchLine + v * swatchBytes, swatchBytes);
            }
        }
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

void TForm1::UpdateTitle() { setWindowTitle(QFile::decodeName(TitleText(doc_).c_str())); }

void TForm1::MarkModified() { Apply(doc_.MarkModified()); }

void TForm1::Apply(Refresh refresh) {
    if (refresh & kRefreshView) Redraw();
    if (refresh & kRefreshTitle) UpdateTitle();
}

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

// --- input ---------------------------------------------------------------------------------------

void TForm1::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers m = event->modifiers();
    FormKeyDown(VirtualKeyOf(*event), m.testFlag(Qt::ShiftModifier),
                m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier));
}

void TForm1::FormKeyDown(int key, bool shift, bool ctrl, bool alt) {
    const int cx = doc_.CursorX();
    const int cy = doc_.CursorY();
    const std::uint8_t colourBefore = GetPixel(cx, cy);
    const KeyBinding* binding = FindKeyBinding(key, shift, ctrl, alt);
    if (binding == nullptr) return;
    int dx = 0;
    int dy = 0;
    if (key == vk::kLeft) dx = -1;
    if (key == vk::kRight) dx = 1;
    if (key == vk::kUp) dy = -1;
    if (key == vk::kDown) dy = 1;
    switch (binding->command) {
        case Command::kNothing: break;
        case Command::kClose: close(); break;
        case Command::kClearPixel: SetPixel(cx, cy, 0); break;
        case Command::kPreviousCel: PreviousCel(); break;
        case Command::kNextCel: NextCel(); break;
        case Command::kMoveWindow: move(pos() + QPoint(dx * 8, dy * 8)); break;
        case Command::kScroll:
            if (dx < 0) ScrollLeft();
            if (dx > 0) ScrollRight();
            if (dy < 0) ScrollUp();
            if (dy > 0) ScrollDown();
            break;
        case Command::kMoveCursor: MoveCursorBy(dx, dy, shift, colourBefore); break;
        case Command::kGenerate:
            if (frmExport_ != nullptr) {
                frmExport_->SetData(doc_.Buffer());
                frmExport_->ShowWindow();
            }
            break;
        case Command::kNew: NewDocument(); break;
        case Command::kOpen: OpenDocument(); break;
        case Command::kRotate: Rotate(); break;
        case Command::kSave: SaveDocument(false); break;
        case Command::kSaveAs: SaveDocument(true); break;
        case Command::kUndo: Undo(); break;
        case Command::kCopyCel: CopyCel(); break;
        case Command::kPasteCel: PasteCel(); break;
        case Command::kAddCel: AddCel(); break;
        case Command::kDeleteCel:
            if (doc_.CelCount() != 1 &&
                Ask(QStringLiteral("Delete current cel?"), QStringLiteral("Prompt"),
                    PromptButtons::kOkCancel) == PromptAnswer::kOk) {
                DeleteCel();
            }
            break;
        case Command::kEraseCel:
            if (Ask(QStringLiteral("Erase current chr?"), QStringLiteral("Prompt"),
                    PromptButtons::kOkCancel) == PromptAnswer::kOk) {
                EraseCel();
            }
            break;
        case Command::kMirrorVertical: MirrorVertical(); break;
        case Command::kMirrorHorizontal: MirrorHorizontal(); break;
        case Command::kSetColour:
            SetPixel(cx, cy, static_cast<std::uint8_t>(ColourOfKey(key)));
            break;
        case Command::kFloodFill:
            FloodFill(cx, cy, static_cast<std::uint8_t>(ColourOfKey(key)));
            break;
    }
}

// One pixel toward an edge, nothing at the edge. With Shift the colour that was under the cursor
// is drawn at the new place (which makes it the current colour).
void TForm1::MoveCursorBy(int dx, int dy, bool draw, std::uint8_t colourBefore) {
    if (!doc_.MoveCursor(dx, dy)) return;
    if (draw) {
        SetPixel(doc_.CursorX(), doc_.CursorY(), colourBefore);  // redraws too
    } else {
        Redraw();
    }
}

void TForm1::imgMainMouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    if (x < 0 || y < 0) return;
    const int column = x / zoom_;
    const int row = y / zoom_;
    if (column >= doc_.Width() || row >= doc_.Height()) return;
    doc_.SetCursor(column, row);
    SetPixel(column, row, button == Qt::LeftButton ? doc_.CurrentColour() : std::uint8_t{0});
}

void TForm1::imgMainMouseMove(Qt::MouseButtons buttons, int x, int y) {
    if (x < 0 || y < 0) return;
    const int column = x / zoom_;
    const int row = y / zoom_;
    if (column >= doc_.Width() || row >= doc_.Height()) return;
    if (QPoint(column, row) == lastMouseCell_) return;
    doc_.SetCursor(column, row);
    lastMouseCell_ = QPoint(column, row);
    // The pixels change first; one redraw at the end shows them and the frame's new place.
    const auto titleOnly = [](Refresh r) { return static_cast<Refresh>(r & kRefreshTitle); };
    if (buttons.testFlag(Qt::LeftButton)) {
        Apply(titleOnly(doc_.SetPixel(column, row, doc_.CurrentColour())));
    }
    if (buttons.testFlag(Qt::RightButton)) Apply(titleOnly(doc_.SetPixel(column, row, 0)));
    Redraw();
}

// --- window events -------------------------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormClose()) {
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
