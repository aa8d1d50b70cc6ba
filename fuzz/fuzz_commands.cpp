// Random sequences of every document operation. After each step the document's invariants hold,
// every change of the document's bytes has marked it modified, and an undoable operation can be
// undone back to the cel as it was. Every operation goes through the history as the editor
// brackets it, and the history is checked against the documents it saw: each undo gives back the
// document before its step byte for byte (the bytes past the last cel too), each redo the one
// after, with the step's cel current.

#include <cstring>
#include <vector>

#include "document/sprite_document.h"
#include "document/sprite_file.h"
#include "fuzz_check.h"

namespace {

class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    int Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    int Below(int n) { return Next() % n; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

void CheckInvariants(const TSpriteDocument& doc) {
    FUZZ_CHECK(doc.Width() >= 1 && doc.Width() <= kMaxWidth);
    FUZZ_CHECK(doc.Height() >= 1 && doc.Height() <= kMaxHeight);
    FUZZ_CHECK(doc.CelCount() >= 1 && doc.CelCount() <= kMaxCels);
    FUZZ_CHECK(doc.Buffer()[0] == doc.Width() && doc.Buffer()[1] == doc.Height());
    FUZZ_CHECK(doc.Buffer()[2] == doc.CelCount());
    FUZZ_CHECK(doc.CurrentCel() >= 0 && doc.CurrentCel() < doc.CelCount());
    FUZZ_CHECK(doc.CursorX() >= 0 && doc.CursorX() < doc.Width());
    FUZZ_CHECK(doc.CursorY() >= 0 && doc.CursorY() < doc.Height());
}

void CheckEveryPixel(const TSpriteDocument& doc) {
    for (int i = kHeaderSize; i < doc.UsedSize(); ++i) FUZZ_CHECK(doc.Buffer()[i] <= 15);
}

// A file image that is valid most of the time, sized by the input.
std::vector<std::uint8_t> MakeImage(Bytes& in) {
    const int w = 1 + in.Below(kMaxWidth), h = 1 + in.Below(kMaxHeight), n = 1 + in.Below(4);
    std::vector<std::uint8_t> image(static_cast<std::size_t>(3 + w * h * n + in.Below(3)));
    image[0] = static_cast<std::uint8_t>(w);
    image[1] = static_cast<std::uint8_t>(h);
    image[2] = static_cast<std::uint8_t>(n);
    for (std::size_t i = 3; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(in.Next() & 15);
    if (in.Below(8) == 0)
        image[static_cast<std::size_t>(in.Below(static_cast<int>(image.size())))] =
            static_cast<std::uint8_t>(in.Next());
    return image;
}

// Every document the history has seen since it last started, by the number of steps done: undo
// and redo must give them back.
class HistoryOracle {
  public:
    void Restart(const TSpriteDocument& doc) {
        states_.assign(1, Image(doc));
        on_ = Size(doc) <= 16384;  // all cels that may ever show, for small documents only
    }
    // After a bracketed command: a new step, which drops the undone ones, or no new step (a
    // gesture's step may have grown).
    void Took(const TSpriteDocument& doc, std::size_t doneBefore, Gesture gesture) {
        if (!on_) return;
        const std::size_t done = doc.History().DoneCount();
        if (done == doneBefore + 1) {
            states_.resize(done);
            states_.push_back(Image(doc));
            FUZZ_CHECK(doc.History().StepCount() == done);
        } else {
            // No step: no change, or a change that the gesture's open step took.
            FUZZ_CHECK(done == doneBefore && done < states_.size());
            const std::vector<std::uint8_t> image = Image(doc);
            if (image == states_[done]) return;
            const HistoryStep* open = doc.History().NextUndo();
            FUZZ_CHECK(gesture != Gesture::kNone && open != nullptr && open->open == gesture &&
                       done + 1 == states_.size());
            states_.back() = image;
        }
    }
    // After U (back) or Y: the document of that many steps done, the step's cel current, the
    // cursor where it was.
    void Moved(const TSpriteDocument& doc, const HistoryStep* step, bool back, int x, int y) {
        FUZZ_CHECK(doc.CursorX() == x && doc.CursorY() == y);
        if (step != nullptr) {
            FUZZ_CHECK(doc.Modified());
            using K = HistoryStep::Kind;
            const int shown = step->kind == K::kCel   ? step->cel
                              : back                  ? step->currentBefore
                              : step->kind == K::kAdd ? step->cel
                                                      : step->currentAfter;
            FUZZ_CHECK(doc.CurrentCel() == shown);
        }
        if (!on_) return;
        FUZZ_CHECK(doc.History().DoneCount() < states_.size());
        FUZZ_CHECK(Image(doc) == states_[doc.History().DoneCount()]);
    }

  private:
    static std::size_t Size(const TSpriteDocument& doc) {
        return static_cast<std::size_t>(kHeaderSize + kMaxCels * doc.CelSize());
    }
    static std::vector<std::uint8_t> Image(const TSpriteDocument& doc) {
        return {doc.Buffer(), doc.Buffer() + Size(doc)};
    }
    std::vector<std::vector<std::uint8_t>> states_;
    bool on_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TSpriteDocument doc;
    Bytes in(data, size);
    std::vector<std::uint8_t> celBefore(kCelCapacity);
    std::vector<std::uint8_t> imageBefore;
    HistoryOracle oracle;
    oracle.Restart(doc);
    EditHistory& history = doc.History();
    for (int step = 0; step < 500 && !in.empty(); ++step) {
        const int op = in.Below(27);
        if (op >= 24) {
            // U, Y, or the end of a gesture.
            const HistoryStep* undone = history.NextUndo();
            const HistoryStep* redone = history.NextRedo();
            const int x = doc.CursorX(), y = doc.CursorY();
            if (op == 24) {
                oracle.Moved(doc, doc.UndoStep() == kRefreshNone ? nullptr : undone, true, x, y);
            }
            if (op == 25) {
                oracle.Moved(doc, doc.RedoStep() == kRefreshNone ? nullptr : redone, false, x, y);
            }
            if (op == 26) history.CloseGesture();
            CheckInvariants(doc);
            continue;
        }
        const std::size_t doneBefore = history.DoneCount();
        const auto gesture = static_cast<Gesture>(op == 0 ? in.Below(3) : 0);
        if (gesture == Gesture::kNone) history.CloseGesture();
        history.Begin(doc);
        const int w = doc.Width(), h = doc.Height();
        std::memcpy(celBefore.data(), doc.CurrentCelPixels(), static_cast<std::size_t>(w * h));
        // Whole images are compared for documents up to 16 KiB, so large ones keep the pace up.
        const bool compare = doc.UsedSize() <= 16384;
        if (compare) imageBefore.assign(doc.Buffer(), doc.Buffer() + doc.UsedSize());
        const int undoCelBefore = doc.UndoCel();
        const auto colour = static_cast<std::uint8_t>(in.Below(16));
        const int x = in.Below(w), y = in.Below(h);
        bool undoable = true;
        switch (op) {
            case 0:
                doc.SetPixel(x, y, colour);
                break;
            case 1:
                FUZZ_CHECK(doc.GetPixel(x, y) <= 15);
                undoable = false;
                break;
            case 2:
                doc.FloodFill(x, y, colour);
                break;
            case 3:
                doc.ScrollUp();
                break;
            case 4:
                doc.ScrollRight();
                break;
            case 5:
                doc.ScrollDown();
                break;
            case 6:
                doc.ScrollLeft();
                break;
            case 7:
                doc.MirrorHorizontal();
                break;
            case 8:
                doc.MirrorVertical();
                break;
            case 9:
                doc.Rotate();
                break;
            case 10:
                doc.EraseCel();
                break;
            case 11:
                doc.Undo();
                FUZZ_CHECK(undoCelBefore < 0 || undoCelBefore >= doc.CelCount() ||
                           doc.CurrentCel() == undoCelBefore);
                undoable = false;
                break;
            case 12:
                doc.CopyCel();
                undoable = false;
                break;
            case 13:
                doc.PasteCel();
                break;
            case 14:
                doc.PreviousCel();
                undoable = false;
                break;
            case 15:
                doc.NextCel();
                undoable = false;
                break;
            case 16:
                doc.AddCel();
                undoable = false;
                break;
            case 17:
                doc.DeleteCel();
                undoable = false;
                break;
            case 18:
                doc.MoveCursor(in.Below(3) - 1, in.Below(3) - 1);
                undoable = false;
                break;
            case 19:
                doc.SetCursor(x, y);
                undoable = false;
                break;
            case 20:
                doc.NewDocument(1 + in.Below(kMaxWidth), 1 + in.Below(kMaxHeight),
                                1 + in.Below(kMaxCels));
                undoable = false;
                break;
            case 21: {
                const std::vector<std::uint8_t> image = MakeImage(in);
                // Refused or taken: the invariants below hold either way.
                static_cast<void>(LoadSpriteBytes(doc, image.data(), image.size(), "/fuzz/x.dat"));
                undoable = false;
                break;
            }
            case 22:
                doc.MarkModified();
                undoable = false;
                break;
            default:
                doc.ClearModified();
                undoable = false;
                break;
        }
        if ((op == 20 || op == 21) && history.StepCount() == 0) {
            oracle.Restart(doc);  // a new document or a load starts an empty history
        } else {
            FUZZ_CHECK(op != 20);  // a refused load changes nothing
            history.End(doc, "op", gesture);
            oracle.Took(doc, doneBefore, gesture);
        }
        CheckInvariants(doc);
        // New and Open replace the document and leave the flag; ClearModified clears it.
        const bool changed =
            compare && (imageBefore.size() != static_cast<std::size_t>(doc.UsedSize()) ||
                        std::memcmp(imageBefore.data(), doc.Buffer(), imageBefore.size()) != 0);
        if (changed && op != 20 && op != 21 && op < 23) FUZZ_CHECK(doc.Modified());
        for (int i = 0; i < doc.CelSize(); ++i) FUZZ_CHECK(doc.CurrentCelPixels()[i] <= 15);
        if (undoable) {
            const std::size_t celSize = static_cast<std::size_t>(w * h);
            FUZZ_CHECK(std::memcmp(doc.UndoBuffer(), celBefore.data(), celSize) == 0);
            if (op != 10 && op != 13) FUZZ_CHECK(doc.Modified());
            if (in.Below(2) == 0) {
                const std::size_t done = history.DoneCount();
                history.CloseGesture();
                history.Begin(doc);
                doc.Undo();
                history.End(doc, "Z");
                oracle.Took(doc, done, Gesture::kNone);
                FUZZ_CHECK(std::memcmp(doc.CurrentCelPixels(), celBefore.data(), celSize) == 0);
            }
        }
    }
    CheckEveryPixel(doc);
    return 0;
}
