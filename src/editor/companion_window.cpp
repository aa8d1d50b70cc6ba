#include "editor/companion_window.h"

#include <algorithm>
#include <cstring>

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "document/sprite_document.h"
#include "generator/chip_row.h"
#include "generator/clashes.h"
#include "generator/sprite_lines.h"
#include "keys/companion_keys.h"
#include "keys/qt_key_event.h"

namespace {

constexpr int kMargin = 8;
constexpr int kCopyGap = 8;  // between the 1x, 2x and 4x copies
constexpr int kSwatch = 20;
constexpr int kSwatchStep = 24;  // room for the frame of the current colour
constexpr int kSwatchesPerRow = 8;
constexpr int kPaletteWidth = kSwatchesPerRow * kSwatchStep - (kSwatchStep - kSwatch);
constexpr int kBesideGap = 8;  // between the editor and this window
constexpr QRgb kBackground = 0xFF18181C;
constexpr QRgb kText = 0xFFD8D8E0;
constexpr QRgb kCurrentFrame = 0xFFFFFFFF;

const char* const kKeyNames = "0123456789ABCDEF";

// Asks for the keyboard for widget's window. Not QWidget::activateWindow(), which asks nothing
// while the focus is in a window that belongs to it: the editor counts as active while this
// window has the keyboard, and this one while the editor has it.
void GiveKeyboardTo(QWidget& widget) {
    if (QWindow* window = widget.window()->windowHandle()) window->requestActivate();
}

}  // namespace

QPoint CompanionTopLeft(const QRect& editor, const QSize& size, const QRect& screen) {
    const auto onScreen = [&](QPoint at) {
        return QPoint(std::clamp(at.x(), screen.left(),
                                 std::max(screen.left(), screen.right() + 1 - size.width())),
                      std::clamp(at.y(), screen.top(),
                                 std::max(screen.top(), screen.bottom() + 1 - size.height())));
    };
    // Right of the editor, left of it, below it, above it, each moved onto the screen: the first
    // that the editor does not cover; else wherever the editor covers least of it.
    const QPoint places[] = {{editor.right() + 1 + kBesideGap, editor.top()},
                             {editor.left() - kBesideGap - size.width(), editor.top()},
                             {editor.left(), editor.bottom() + 1 + kBesideGap},
                             {editor.left(), editor.top() - kBesideGap - size.height()}};
    for (const QPoint& place : places) {
        if (!QRect(onScreen(place), size).intersects(editor)) return onScreen(place);
    }
    QPoint best = onScreen(places[0]);
    long long covered = -1;
    for (const QPoint& place : places) {
        const QRect overlap = QRect(onScreen(place), size).intersected(editor);
        const long long area = overlap.isEmpty() ? 0LL : 1LL * overlap.width() * overlap.height();
        if (covered < 0 || area < covered) {
            covered = area;
            best = onScreen(place);
        }
    }
    return best;
}

CompanionWindow::CompanionWindow(QWidget& editor, const TSpriteDocument& doc,
                                 const RgbImage& colourStrip)
    : QWidget(&editor, Qt::Window | Qt::FramelessWindowHint), editor_(editor), doc_(doc) {
    setWindowTitle(QStringLiteral("Animation"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    lineHeight_ = fontMetrics().height();
    for (int i = 0; i < 16; ++i) colours_[i] = colourStrip.At(i * 16, 0);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &CompanionWindow::Tick);
    editor.installEventFilter(this);
    player_.Restart(doc_.CelCount());
    LayOut();
}

void CompanionWindow::LayOut() {
    const int w = doc_.Width();
    const int h = doc_.Height();
    celSize_ = QSize(w, h);
    picture_ = QImage(7 * w + 2 * kCopyGap, 4 * h, QImage::Format_RGB32);
    picture_.fill(kBackground);
    pictureTopLeft_ = QPoint(kMargin, kMargin + 2 * lineHeight_ + 4);
    paletteTop_ = pictureTopLeft_.y() + picture_.height() + 12;
    const int paletteRow = kSwatch + 3 + lineHeight_ + 4;
    stateTop_ = paletteTop_ + 2 * paletteRow + 4;
    setFixedSize(2 * kMargin + std::max(picture_.width(), kPaletteWidth),
                 stateTop_ + kStateLines * lineHeight_ + kMargin);
    RenderFrame();
}

void CompanionWindow::Place() {
    QRect screen(0, 0, 1024, 768);
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        screen = primary->availableGeometry();
    }
    const QPoint to = CompanionTopLeft(editor_.frameGeometry(), size(), screen);
    if (to != pos()) move(to);
}

void CompanionWindow::ShowView(int zoom, bool onionSkin, const ChipCel* chip,
                               const GeneratorOptions& options) {
    zoom_ = zoom;
    onionSkin_ = onionSkin;
    chip_ = chip;
    options_ = options;
}

void CompanionWindow::ShowBeside() {
    Follow();
    Place();
    show();
    raise();
    GiveKeyboardTo(editor_);
}

void CompanionWindow::HideAndReturn() {
    hide();
    GiveKeyboardTo(editor_);
}

void CompanionWindow::Restart() {
    player_.Restart(doc_.CelCount());
    Follow();
}

void CompanionWindow::Follow() {
    player_.Fit(doc_.CelCount());
    if (celSize_ != QSize(doc_.Width(), doc_.Height())) {
        LayOut();
        if (isVisible()) Place();
    } else {
        RenderFrame();
    }
    update();
}

// The picture of an unchanged frame is already up to date: every change of the document
// reaches the window through Follow.
void CompanionWindow::Tick() {
    const int shown = player_.Frame();
    player_.Fit(doc_.CelCount());
    player_.Step();
    if (player_.Frame() == shown) return;
    RenderFrame();
    update(PictureRect());
}

// Each cel pixel becomes one pixel, a 2 x 2 block and a 4 x 4 block: one row of each copy is
// written, the others are copies of it.
void CompanionWindow::RenderFrame() {
    const int w = celSize_.width();
    const int h = celSize_.height();
    const std::uint8_t* cel = doc_.Buffer() + kHeaderSize + player_.Frame() * w * h;
    const qsizetype stride = picture_.bytesPerLine();
    uchar* bits = picture_.bits();
    const int left2 = w + kCopyGap;
    const int left4 = 3 * w + 2 * kCopyGap;
    for (int y = 0; y < h; ++y, cel += w) {
        auto* one = reinterpret_cast<QRgb*>(bits + y * stride);
        auto* two = reinterpret_cast<QRgb*>(bits + 2 * y * stride) + left2;
        auto* four = reinterpret_cast<QRgb*>(bits + 4 * y * stride) + left4;
        for (int x = 0; x < w; ++x) {
            const QRgb c = colours_[cel[x] & 0x0Fu];
            one[x] = c;
            two[2 * x] = two[2 * x + 1] = c;
            four[4 * x] = four[4 * x + 1] = four[4 * x + 2] = four[4 * x + 3] = c;
        }
        const std::size_t twoBytes = std::size_t(2 * w) * sizeof(QRgb);
        const std::size_t fourBytes = std::size_t(4 * w) * sizeof(QRgb);
        std::memcpy(reinterpret_cast<uchar*>(two) + stride, two, twoBytes);
        for (int r = 1; r < 4; ++r) {
            std::memcpy(reinterpret_cast<uchar*>(four) + r * stride, four, fourBytes);
        }
    }
}

// Two rows of eight: 0 to 7, then 8 to F.
QRect CompanionWindow::SwatchRect(int index) const {
    const int row = index / kSwatchesPerRow;
    const int column = index % kSwatchesPerRow;
    return {kMargin + column * kSwatchStep, paletteTop_ + row * (kSwatch + 3 + lineHeight_ + 4),
            kSwatch, kSwatch};
}

QStringList CompanionWindow::StateLines() const {
    const int x = doc_.CursorX();
    const int y = doc_.CursorY();
    QStringList lines = {QStringLiteral("%1%2  cel %3/%4%5")
                             .arg(QFile::decodeName(doc_.Names().name.c_str()),
                                  doc_.Modified() ? QStringLiteral("*") : QString())
                             .arg(doc_.CurrentCel() + 1)
                             .arg(doc_.CelCount())
                             .arg(onionSkin_ ? QStringLiteral("  onion skin") : QString()),
                         QStringLiteral("x %1, y %2  colour %3  zoom %4")
                             .arg(x)
                             .arg(y)
                             .arg(QChar::fromLatin1(kKeyNames[doc_.GetPixel(x, y) & 0x0F]))
                             .arg(zoom_)};
    if (chip_ != nullptr) {
        lines << QString::fromUtf8(DescribeChipRow(*chip_, y));
    } else if (const std::optional<ColumnRange> lost =
                   UncoveredColumns(doc_.CurrentCelPixels(), doc_.Width(), doc_.Height())) {
        // Drawn pixels from column 16 on are in no table of any kind.
        lines << (lost->first == lost->last
                      ? QStringLiteral("column %1 is in no table").arg(lost->first)
                      : QStringLiteral("columns %1–%2 are in no table")
                            .arg(lost->first)
                            .arg(lost->last));
    }
    if (options_.pieces != 0 && options_.outputType == OutputType::kSprite) {
        const std::vector<int> sprites =
            SpritesOnLines(CaptureDocument(doc_.Buffer()), doc_.CurrentCel(), options_);
        const int count = sprites.at(static_cast<std::size_t>(y));
        const int limit = ChipSpritesPerLine(options_);
        lines << QStringLiteral("line %1: %2 sprite%3%4")
                     .arg(y)
                     .arg(count)
                     .arg(count == 1 ? "" : "s")
                     .arg(count > limit ? QStringLiteral("; the chip shows %1").arg(limit)
                                        : QString());
    }
    // What U and Y would do.
    const auto stepText = [](const HistoryStep* step) {
        return step == nullptr ? QStringLiteral("nothing")
                               : QStringLiteral("%1, cel %2")
                                     .arg(QString::fromLatin1(step->name))
                                     .arg(step->cel + 1);
    };
    const HistoryStep* undo = doc_.History().NextUndo();
    const HistoryStep* redo = doc_.History().NextRedo();
    if (undo != nullptr || redo != nullptr) {
        lines << QStringLiteral("U: %1 · Y: %2").arg(stepText(undo), stepText(redo));
    }
    return lines;
}

QStringList CompanionWindow::AnimationLines() const {
    return {QStringLiteral("cels %1-%2  %3 fps")
                .arg(player_.First() + 1)
                .arg(player_.Last() + 1)
                .arg(player_.Fps()),
            (player_.BackAndForth() ? QStringLiteral("back and forth") : QStringLiteral("loop")) +
                (player_.Playing() ? QString() : QStringLiteral(", paused"))};
}

void CompanionWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.drawImage(pictureTopLeft_, picture_);
    if (PictureRect().contains(dirty)) return;  // a frame of the timer: the picture alone
    const QRgb background = kBackground;
    painter.fillRect(QRect(0, 0, width(), pictureTopLeft_.y()), QColor(background));
    painter.fillRect(QRect(0, pictureTopLeft_.y(), kMargin, height()), QColor(background));
    painter.fillRect(QRect(PictureRect().right() + 1, pictureTopLeft_.y(), width(), height()),
                     QColor(background));
    painter.fillRect(QRect(0, PictureRect().bottom() + 1, width(), height()), QColor(background));
    painter.setPen(QColor(kText));
    const auto drawLines = [&](int top, const QStringList& lines) {
        for (const QString& line : lines) {
            const QRect box(kMargin, top, width() - 2 * kMargin, lineHeight_);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                             fontMetrics().elidedText(line, Qt::ElideMiddle, box.width()));
            top += lineHeight_;
        }
    };
    drawLines(kMargin, AnimationLines());
    for (int i = 0; i < 16; ++i) {
        const QRect swatch = SwatchRect(i);
        painter.fillRect(swatch, QColor(colours_[i]));
        if (i == doc_.CurrentColour()) {
            // One pixel wide, two pixels out: it shows around white as well.
            painter.setPen(QColor(kCurrentFrame));
            painter.drawRect(swatch.adjusted(-2, -2, 1, 1));
            painter.setPen(QColor(kText));
        }
        painter.drawText(QRect(swatch.left(), swatch.bottom() + 3, kSwatch, lineHeight_),
                         Qt::AlignCenter, QString(QChar::fromLatin1(kKeyNames[i])));
    }
    // A state line too wide for the window goes on in the next row, broken at a space, as long
    // as rows are left.
    int top = stateTop_;
    int rows = kStateLines;
    const int width = this->width() - 2 * kMargin;
    for (QString line : StateLines()) {
        do {
            if (rows == 0) return;
            qsizetype cut = line.size();
            while (rows > 1 && cut > 0 && fontMetrics().horizontalAdvance(line.left(cut)) > width) {
                cut = line.lastIndexOf(QChar(' '), cut - 1);
            }
            if (cut <= 0) cut = line.size();
            drawLines(top, {line.left(cut)});
            line = line.mid(cut).trimmed();
            top += lineHeight_;
            --rows;
        } while (!line.isEmpty());
    }
}

// The key's command comes from the companion's key table, and from nowhere else.
void CompanionWindow::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    switch (FindCompanionCommand(VirtualKeyOf(*event), ctrl)) {
        case CompanionCommand::kNothing:
            return;
        case CompanionCommand::kPlayPause:
            player_.TogglePlaying();
            break;
        case CompanionCommand::kFaster:
            player_.Faster();
            break;
        case CompanionCommand::kSlower:
            player_.Slower();
            break;
        case CompanionCommand::kFirstHere:
            player_.SetFirst(doc_.CurrentCel());
            break;
        case CompanionCommand::kLastHere:
            player_.SetLast(doc_.CurrentCel());
            break;
        case CompanionCommand::kBackAndForth:
            player_.ToggleBackAndForth();
            break;
        case CompanionCommand::kHide:
            HideAndReturn();
            return;
    }
    UpdateTimer();
    RenderFrame();
    update();
}

// A click on a swatch chooses its colour and leaves the keyboard with the editor, to draw with
// it; a click elsewhere gives this window the keyboard.
void CompanionWindow::mousePressEvent(QMouseEvent* event) {
    for (int i = 0; i < 16; ++i) {
        if (event->button() == Qt::LeftButton &&
            SwatchRect(i).contains(event->position().toPoint())) {
            emit colourChosen(static_cast<std::uint8_t>(i));
            GiveKeyboardTo(editor_);
            return;
        }
    }
    GiveKeyboardTo(*this);
}

bool CompanionWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &editor_ && isVisible() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        Place();
    }
    return QWidget::eventFilter(watched, event);
}

void CompanionWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UpdateTimer();
}

void CompanionWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_.stop();
}

void CompanionWindow::UpdateTimer() {
    const int interval = (1000 + player_.Fps() / 2) / player_.Fps();
    if (timer_.interval() != interval) timer_.setInterval(interval);
    if (player_.Playing() && isVisible()) {
        if (!timer_.isActive()) timer_.start();
    } else {
        timer_.stop();
    }
}
