#pragma once
// The history of the document's changes, for undo (U) and redo (Y). The editor brackets every
// command that may change the document with Begin and End; End keeps a step only when the command
// changed the document's bytes or its cel count. A step keeps only what it needs: the changed
// cel's other version, which each undo and redo swaps with the cel's bytes; or, for an added or a
// deleted cel, its place (and a deleted cel's bytes). Bytes past the last cel come back as they
// were, so a later add shows what it would have shown.
//
// A gesture (a mouse stroke, a run of Shift+arrow moves) is one step: its commands add to the
// open step while they change the same cel, until CloseGesture. The steps take at most
// kHistoryBytes; past that the oldest go. Unlike the document's own buffers, steps allocate.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

enum Refresh : unsigned;
class TSpriteDocument;

inline constexpr std::size_t kHistoryBytes = 32u << 20;  // 32 MiB

// The gestures whose commands make one step together; a step of one kind never takes a command
// of the other.
enum class Gesture : std::uint8_t { kNone, kMouse, kKeys };

// Small, so that a pixel step costs little more than its cel's bytes.
struct HistoryStep {
    enum class Kind : std::uint8_t { kCel, kAdd, kDelete };
    const char* name = "";                  // what the command did: "pixel", "fill", "add" ...
    std::unique_ptr<std::uint8_t[]> bytes;  // the cel's other version; a deleted cel's bytes
    std::uint16_t size = 0;                 // of bytes: a cel's width × height
    Kind kind = Kind::kCel;
    Gesture open = Gesture::kNone;   // the gesture that may still add to it
    std::uint8_t cel = 0;            // the cel changed, added (the last) or deleted
    std::uint8_t currentBefore = 0;  // the current cel before the command
    std::uint8_t currentAfter = 0;   // and after it
};

class EditHistory {
  public:
    EditHistory();

    // Remembers the document as it is before a command.
    void Begin(const TSpriteDocument& doc);
    // Keeps a step when the command since Begin changed the document. A gesture's step stays open
    // for the same gesture's next commands in the same cel; any other step closes it. A new step
    // drops the steps that were undone.
    void End(const TSpriteDocument& doc, const char* name, Gesture gesture = Gesture::kNone);
    void CloseGesture();
    // Takes back the last step done, or does again the last undone, making its cel current and
    // marking the document modified. Nothing without such a step.
    Refresh Undo(TSpriteDocument& doc);
    Refresh Redo(TSpriteDocument& doc);
    void Clear();

    // The step U would take back and the one Y would do again; nullptr for none.
    const HistoryStep* NextUndo() const;
    const HistoryStep* NextRedo() const;
    std::size_t StepCount() const { return steps_.size(); }
    std::size_t DoneCount() const { return done_; }
    std::size_t Bytes() const { return bytes_; }

  private:
    void Push(HistoryStep step);
    // Takes a step back (undo) or does it again.
    Refresh Take(TSpriteDocument& doc, HistoryStep& step, bool back);

    std::deque<HistoryStep> steps_;
    std::size_t done_ = 0;   // steps_[0, done_) are done, the rest undone
    std::size_t bytes_ = 0;  // what the steps hold
    // The document at Begin: its cel count, current cel, the Z snapshot's cel, and the bytes of
    // the two cels a command may change (the current one, and the snapshot's, which Z writes).
    int celsBefore_ = 0;
    int currentBefore_ = 0;
    int undoCelBefore_ = -1;
    std::unique_ptr<std::uint8_t[]> currentCel_;
    std::unique_ptr<std::uint8_t[]> undoCel_;
};
