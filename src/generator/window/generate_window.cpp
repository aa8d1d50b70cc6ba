#include "generator/window/generate_window.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QStringList>

#include "generator/label_name.h"
#include "generator/table_kinds.h"
#include "generator/window/memo.h"
#include "keys/generate_keys.h"

namespace {

constexpr int kClientWidth = 409;
constexpr int kClientHeight = 166;
// The format label shares the result line, below lb2layers, and the pieces label after it.
constexpr int kOutputLeft = 161;
constexpr int kPiecesLeft = 290;
constexpr int kResultLeft = 6;
constexpr int kFontPixels = 12;
constexpr int kSmallestFontPixels = 8;

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, QWidget* buddy) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->setBuddy(buddy);  // shows the "&" as an underline under the option key
    return label;
}

// Sets a label's text and sizes the label to it.
void SetLabel(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

QString YesNo(bool value) {
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The layout was drawn for a narrow 12-pixel font. This desktop's fonts are wider: at 12 pixels
// "Type: Sprite" runs into "Color data:" and a line of 16 bytes is cut off at the box's edge.
// Returns the largest size up to 12 pixels at which every label text ends before the next label
// begins and a line of 16 bytes fits the text box (whose inner width is given).
int FittingPixelSize(QFont font, int memoTextWidth) {
    struct Slot {
        QStringList texts;
        int room;  // from this label's left edge to the next one's, less a small gap
    };
    constexpr int kGap = 4;
    QStringList types;
    for (const TableTypeRow& type : kTableTypes) types << "Type: " + Latin1(type.title);
    QStringList formats;
    for (const FormatRow& format : kFormats) formats << "Format: " + Latin1(format.title);
    QStringList pieces;
    for (const PiecesRow& row : kPieceSizes) pieces << "Pieces: " + QString::fromUtf8(row.title);
    const Slot labelSlots[] = {
        {types, 75 - 5 - kGap},
        {{"Color data:Yes", "Color data:No"}, 161 - 75 - kGap},
        {{"2 layers: Yes", "2 layers: No"}, 342 - 161 - kGap},
        {{"Comma: Yes", "Comma: No"}, kClientWidth - 342 - kGap},
        {{"3rd color is not or'ing color", "color code not found"},
         kOutputLeft - kResultLeft - kGap},
        {formats, kPiecesLeft - kOutputLeft - kGap},
        {pieces, kClientWidth - kPiecesLeft - kGap},
    };
    const QString line = QStringLiteral("#FF,").repeated(16);
    int pixels = kFontPixels;
    for (; pixels > kSmallestFontPixels; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        bool fits = metrics.horizontalAdvance(line) <= memoTextWidth;
        for (const Slot& slot : labelSlots) {
            for (const QString& text : slot.texts) {
                fits = fits && metrics.horizontalAdvance(text) <= slot.room;
            }
        }
        if (fits) break;
    }
    return pixels;
}

}  // namespace

TfrmExport::TfrmExport(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("Generate"));
    setFixedSize(kClientWidth, kClientHeight);
}

TfrmExport::~TfrmExport() = default;

void TfrmExport::Build() {
    if (memo_ != nullptr) return;
    QFont small = font();
    small.setFamily(QStringLiteral("MS Sans Serif"));
    small.setPixelSize(kFontPixels);
    setFont(small);
    memo_ = new MemoBox(this, [this](int key, bool shift, bool ctrl, bool alt) {
        Memo1KeyDown(key, shift, ctrl, alt);
    });
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setGeometry(0, 0, kClientWidth, 129);
    const int memoTextWidth =
        memo_->contentsRect().width() - 2 * static_cast<int>(memo_->document()->documentMargin());
    small.setPixelSize(FittingPixelSize(small, memoTextWidth));
    setFont(small);
    memo_->setFont(small);
    // The assembler lines begin with a tab: four blanks wide, as in most editors, not 80 pixels.
    memo_->setTabStopDistance(QFontMetricsF(small).horizontalAdvance(QLatin1Char(' ')) * 4);
    setFocusProxy(memo_);
    lbType_ = MakeLabel(this, "lbType", 5, 134, memo_);
    lb1Color_ = MakeLabel(this, "lb1Color", 75, 134, memo_);
    lb2layers_ = MakeLabel(this, "lb2layers", 161, 134, memo_);
    lbFormat_ = MakeLabel(this, "lbFormat", 342, 134, memo_);
    lbOutput_ = MakeLabel(this, "lbOutput", kOutputLeft, 151, memo_);
    lbResult_ = MakeLabel(this, "lbResult", kResultLeft, 151, memo_);
    lbPieces_ = MakeLabel(this, "lbPieces", kPiecesLeft, 151, memo_);
    UpdateLabels();
}

void TfrmExport::setVisible(bool visible) {
    if (visible) Build();
    QWidget::setVisible(visible);
}

// clang-format off
MemoBox* TfrmExport::Memo1() { Build(); return memo_; }
QLabel* TfrmExport::lbType() { Build(); return lbType_; }
QLabel* TfrmExport::lb1Color() { Build(); return lb1Color_; }
QLabel* TfrmExport::lb2layers() { Build(); return lb2layers_; }
QLabel* TfrmExport::lbFormat() { Build(); return lbFormat_; }
QLabel* TfrmExport::lbOutput() { Build(); return lbOutput_; }
QLabel* TfrmExport::lbResult() { Build(); return lbResult_; }
QLabel* TfrmExport::lbPieces() { Build(); return lbPieces_; }
// clang-format on

void TfrmExport::SetData(const std::uint8_t* buffer) {
    captured_ = CaptureDocument(buffer);
    Regenerate();
}

void TfrmExport::SetDocumentName(std::string name, std::string fileName) {
    fileName_ = fileName.empty() ? name + ".dat" : std::move(fileName);
    documentName_ = std::move(name);
}

WriterOptions TfrmExport::Writer() const {
    WriterOptions writer;
    writer.comma = options_.comma;
    writer.name = LabelName(documentName_);
    writer.source = fileName_;
    return writer;
}

void TfrmExport::ShowWindow() {
    Build();
    if (QWidget* active = QApplication::activeWindow(); active != nullptr && active != this) {
        returnTo_ = active;
    }
    if (!isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.x() + (area.width() - width()) / 2,
                 area.y() + (area.height() - height()) / 2);
        }
        show();
    }
    raise();
    activateWindow();
    memo_->setFocus();
}

// The core chooses and runs the generator and writes its tables; the window shows the text.
void TfrmExport::Regenerate() {
    Build();
    resultCode_ = kNoError;
    GenerateTables(captured_, options_, tables_);
    resultCode_ = tables_.resultCode;
    // auto says how many layers this document takes, which drawing can change.
    if (options_.layers == kAutoLayers && options_.outputType == OutputType::kSprite) {
        SetLabel(lb2layers_,
                 "&Layers: auto (" + QString::number(std::max(tables_.layers, 1)) + ")");
    }
    WriteOutput();
    ShowOutput();
}

void TfrmExport::WriteOutput() {
    QString message = Latin1(ResultMessage(resultCode_));
    if (format_ == TableFormat::kHex) {
        WriteHex(tables_, options_.comma, out_);  // into the text the window keeps
    } else {
        Result<std::string> text = WriteTables(tables_, format_, Writer());
        if (text) {
            out_.Replace(text.Take());
        } else {
            out_.Replace({});
            message = QString::fromStdString(text.message());
        }
    }
    SetLabel(lbResult_, message);
}

void TfrmExport::UpdateLabels() {
    Build();
    const bool sprite = options_.outputType == OutputType::kSprite;
    SetLabel(lb1Color_, QStringLiteral("&Color data:") + YesNo(options_.colorData));
    SetLabel(lbFormat_, QStringLiteral("C&omma: ") + YesNo(options_.comma == kCommaOn));
    SetLabel(lbType_, "&Type: " + Latin1(TableTypeOf(options_.outputType).title));
    // One or two layers as the 2 key shows them; more, or auto, as the L key chose them.
    SetLabel(lb2layers_, options_.layers == 1 || options_.layers == 2
                             ? QStringLiteral("&2 layers: ") + YesNo(options_.layers == 2)
                             : "&Layers: " + Latin1(LayersOf(options_.layers).title));
    SetLabel(lbOutput_, "&Format: " + Latin1(FormatOf(format_).title));
    SetLabel(lbPieces_, "&Pieces: " + QString::fromUtf8(PiecesOf(options_.pieces).title));
    lb2layers_->setEnabled(sprite);
    lb1Color_->setEnabled(sprite);
    lbPieces_->setEnabled(sprite);
    lbFormat_->setEnabled((FormatOf(format_).takes & kTakesComma) != 0);
}

// The key's command comes from the Generate window's key table, and from nowhere else.
void TfrmExport::Memo1KeyDown(int key, bool /*shift*/, bool ctrl, bool /*alt*/) {
    switch (FindGenerateCommand(key, ctrl)) {
        case GenerateCommand::kNothing:
            return;
        case GenerateCommand::kClose:
            hide();
            if (returnTo_ != nullptr) returnTo_->activateWindow();
            return;
        case GenerateCommand::kToggleTwoLayers:
            options_.layers = options_.layers == 1 ? 2 : 1;
            break;
        case GenerateCommand::kToggleColourData:
            options_.colorData = !options_.colorData;
            break;
        case GenerateCommand::kToggleComma:
            options_.comma = options_.comma == kCommaOn ? 0 : kCommaOn;
            break;
        case GenerateCommand::kToggleType:
            options_.outputType = NextTableType(options_.outputType);
            break;
        case GenerateCommand::kNextFormat:
            format_ = NextWindowFormat(format_);
            break;
        case GenerateCommand::kNextPieces:
            options_.pieces = NextPieces(options_.pieces);
            break;
        case GenerateCommand::kNextLayers:
            options_.layers = NextLayers(options_.layers);
            break;
    }
    UpdateLabels();
    Regenerate();
    emit optionsChanged();
}

void TfrmExport::AddText(std::string_view piece) {
    out_.AddText(piece);
}

void TfrmExport::AddCommas() {
    out_.AddCommas(options_.comma);
}

void TfrmExport::ShowOutput() {
    Build();
    const QString text = Latin1(out_.Text());
    // The text box takes CR LF as one line break; a copy from it gives the format's line breaks.
    memo_->SetCopyCrLf(format_ == TableFormat::kHex);
    memo_->setPlainText(text);
    memo_->selectAll();
    // Straight from the output text rather than through the text box, which keeps lines as
    // blocks and would copy them joined by LF alone.
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}
