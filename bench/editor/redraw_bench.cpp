// How long TForm1::Redraw takes for a 64 x 64 cel at zoom 16 (a 1024 x 1024 picture), offscreen,
// also with the onion skin on and in the chip view, next to a plain memcpy of a frame of the same
// size in the same run;
// and the companion window's picture of that cel at 1x, 2x and 4x next to a memcpy of its size;
// and a step of history back (U) and forward (Y) on the largest document, with their redraws.

#include <cstring>
#include <memory>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "editor/companion_window.h"
#include "editor/editor_window.h"
#include "generator/window/generate_window.h"

namespace {

constexpr int kZoom = 16;
constexpr int kSide = 64;

// Opens one prepared file and answers nothing else.
class FixedPrompts : public UserPrompts {
  public:
    explicit FixedPrompts(QString path) : path_(std::move(path)) {}
    PromptAnswer Ask(const QString&, const QString&, PromptButtons, PromptIcon) override {
        return PromptAnswer::kCancel;
    }
    std::optional<QString> AskOpenPath(const QString&) override { return path_; }
    std::optional<QString> AskSavePath(const QString&) override { return std::nullopt; }
    std::optional<QString> AskExportPath(const QString&) override { return std::nullopt; }
    std::optional<NewDocumentTexts> AskNewDocument() override { return std::nullopt; }
    std::optional<QString> AskImportPath(const QString&) override { return std::nullopt; }
    std::optional<CelSizeTexts> AskCelSize(const CelSizeQuestion&) override { return std::nullopt; }

  private:
    QString path_;
};

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<FixedPrompts> prompts;
    std::unique_ptr<TForm1> form;

    explicit Fixture(bool shown, int cels = 2) {
        QImage pal(16 * kZoom, kZoom, QImage::Format_RGB32);
        for (int x = 0; x < pal.width(); ++x) {
            for (int y = 0; y < kZoom; ++y)
                pal.setPixel(x, y, qRgb(x / kZoom * 16, x % kZoom * 16, y * 16));
        }
        pal.save(dir.filePath("pal.bmp"), "BMP");
        QImage(256, 16, QImage::Format_RGB32).save(dir.filePath("color.bmp"), "BMP");
        // Two 64 x 64 cels using every colour, colour 0 in one pixel of 16: the onion skin shows
        // the second through the first's.
        QByteArray sprite(3 + cels * kSide * kSide, '\0');
        sprite[0] = kSide;
        sprite[1] = kSide;
        sprite[2] = static_cast<char>(cels);
        for (int i = 0; i < cels * kSide * kSide; ++i)
            sprite[3 + i] = static_cast<char>((i * 7 + i / kSide) % 16);
        QFile file(dir.filePath("big.dat"));
        file.open(QIODevice::WriteOnly);
        file.write(sprite);
        file.close();
        prompts = std::make_unique<FixedPrompts>(dir.filePath("big.dat"));
        const Result<Strips> strips = LoadStrips(dir.path());
        if (!strips) qFatal("%s", strips.message().c_str());
        form = std::make_unique<TForm1>(*strips, *prompts);
        form->OpenDocument();
        if (shown) form->show();
        QApplication::processEvents();
    }
};

// The yardstick: a plain memcpy of bytes.
void MemcpyBytes(benchmark::State& state, std::size_t bytes) {
    std::vector<unsigned char> from(bytes, 1), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_MemcpyFrame(benchmark::State& state) {
    MemcpyBytes(state, std::size_t{kSide} * kZoom * kSide * kZoom * 4);
}
BENCHMARK(BM_MemcpyFrame);

// The picture alone: the window is hidden, so the repaint has nothing to do.
void BM_RedrawPicture(benchmark::State& state) {
    Fixture fixture(false);
    for (auto _ : state) {
        fixture.form->Redraw();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RedrawPicture);

// The picture and the immediate repaint of the shown window into the offscreen backing store.
void BM_RedrawShown(benchmark::State& state) {
    Fixture fixture(true);
    for (auto _ : state) {
        fixture.form->Redraw();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RedrawShown);

// The same with the onion skin on: every cell of colour 0 from the blended swatches.
void BM_RedrawOnion(benchmark::State& state) {
    Fixture fixture(false);
    fixture.form->ToggleOnionSkin();
    for (auto _ : state) {
        fixture.form->Redraw();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RedrawOnion);

// The chip view under two layers with colour data, the costliest tables to make: the cel's tables,
// their pixels and the row marks, then the same copy of swatches.
void BM_RedrawChipView(benchmark::State& state) {
    TfrmExport generate;
    Fixture fixture(false);
    fixture.form->SetGenerateWindow(&generate);
    generate.Memo1KeyDown('2', false, false, false);
    generate.Memo1KeyDown('C', false, false, false);
    fixture.form->ToggleChipView();
    for (auto _ : state) {
        fixture.form->Redraw();
        benchmark::ClobberMemory();
    }
    state.counters["marked rows"] = static_cast<double>(fixture.form->Chip()->Marks().size());
}
BENCHMARK(BM_RedrawChipView);

// The companion's picture of the largest cel: 64 x 64 at 1x, 2x and 4x side by side.
std::size_t CompanionPictureBytes() {
    return std::size_t{7 * kSide + 16} * (4 * kSide) * 4;
}

void BM_MemcpyCompanionPicture(benchmark::State& state) {
    MemcpyBytes(state, CompanionPictureBytes());
}
BENCHMARK(BM_MemcpyCompanionPicture);

void BM_CompanionFrame(benchmark::State& state) {
    Fixture fixture(false);
    fixture.form->ToggleCompanion();
    CompanionWindow& companion = *fixture.form->Companion();
    if (std::size_t(companion.Picture().sizeInBytes()) != CompanionPictureBytes()) {
        state.SkipWithError("the companion's picture is not the size measured against");
    }
    for (auto _ : state) {
        companion.RenderFrame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CompanionFrame);

// A frame of the timer as the shown window paints it: the picture, then its immediate repaint.
void BM_CompanionFrameShown(benchmark::State& state) {
    Fixture fixture(true);
    fixture.form->ToggleCompanion();
    CompanionWindow& companion = *fixture.form->Companion();
    QApplication::processEvents();
    for (auto _ : state) {
        companion.RenderFrame();
        companion.repaint(companion.PictureRect());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CompanionFrameShown);

// U then Y on 100 cels of 64 x 64, each with the redraw of the shown window; "step bytes" is what
// the history keeps for the one pixel step.
void BM_UndoThenRedo(benchmark::State& state) {
    Fixture fixture(true, kMaxCels);
    fixture.form->FormKeyDown('5', false, false, false);
    for (auto _ : state) {
        fixture.form->FormKeyDown('U', false, false, false);
        fixture.form->FormKeyDown('Y', false, false, false);
    }
    state.counters["step bytes"] = static_cast<double>(fixture.form->Document().History().Bytes());
}
BENCHMARK(BM_UndoThenRedo)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
