#include "document/edit_history.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "document/sprite_document.h"

namespace {

// What a step takes of the heap: the step, and its bytes as the allocator rounds them (a header
// of 8 bytes, whole 16 bytes).
std::size_t CostOf(const HistoryStep& step) {
    return sizeof(HistoryStep) + (step.bytes ? (step.size + 8u + 15u) / 16u * 16u : 0u);
}

std::unique_ptr<std::uint8_t[]> CopyOf(const std::uint8_t* bytes, std::size_t size) {
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[size]);
    std::memcpy(copy.get(), bytes, size);
    return copy;
}

}  // namespace

EditHistory::EditHistory()
    : currentCel_(new std::uint8_t[kCelCapacity]), undoCel_(new std::uint8_t[kCelCapacity]) {}

void EditHistory::Begin(const TSpriteDocument& doc) {
    const std::size_t size = static_cast<std::size_t>(doc.CelSize());
    celsBefore_ = doc.CelCount();
    currentBefore_ = doc.CurrentCel();
    undoCelBefore_ = doc.UndoCel();
    std::memcpy(currentCel_.get(), doc.CurrentCelPixels(), size);
    if (undoCelBefore_ >= 0 && undoCelBefore_ < celsBefore_) {
        std::memcpy(undoCel_.get(), doc.Buffer() + kHeaderSize + undoCelBefore_ * doc.CelSize(),
                    size);
    } else {
        undoCelBefore_ = -1;
    }
}

void EditHistory::End(const TSpriteDocument& doc, const char* name, Gesture gesture) {
    const std::size_t size = static_cast<std::size_t>(doc.CelSize());
    const auto celBytes = [&doc](int index) {
        return doc.Buffer() + kHeaderSize + static_cast<std::ptrdiff_t>(index) * doc.CelSize();
    };
    auto kind = HistoryStep::Kind::kCel;
    int cel = currentBefore_;
    const std::uint8_t* before = currentCel_.get();  // what the step keeps; nullptr: nothing
    if (doc.CelCount() == celsBefore_ + 1) {
        kind = HistoryStep::Kind::kAdd;
        cel = celsBefore_;
        before = nullptr;
    } else if (doc.CelCount() == celsBefore_ - 1) {
        kind = HistoryStep::Kind::kDelete;
    } else if (std::memcmp(celBytes(currentBefore_), currentCel_.get(), size) == 0) {
        if (undoCelBefore_ < 0 ||
            std::memcmp(celBytes(undoCelBefore_), undoCel_.get(), size) == 0) {
            return;  // nothing changed: no step, and the undone steps stay
        }
        cel = undoCelBefore_;
        before = undoCel_.get();
    }
    // A gesture's later commands in the same cel belong to its step, which keeps the cel as it
    // was before the gesture.
    if (gesture != Gesture::kNone && done_ == steps_.size() && done_ > 0) {
        HistoryStep& last = steps_.back();
        if (last.open == gesture && last.kind == HistoryStep::Kind::kCel &&
            kind == HistoryStep::Kind::kCel && last.cel == cel) {
            last.currentAfter = static_cast<std::uint8_t>(doc.CurrentCel());
            return;
        }
    }
    CloseGesture();
    HistoryStep step;
    step.name = name;
    if (before != nullptr) step.bytes = CopyOf(before, size);
    step.size = static_cast<std::uint16_t>(size);
    step.kind = kind;
    step.open = kind == HistoryStep::Kind::kCel ? gesture : Gesture::kNone;
    step.cel = static_cast<std::uint8_t>(cel);
    step.currentBefore = static_cast<std::uint8_t>(currentBefore_);
    step.currentAfter = static_cast<std::uint8_t>(doc.CurrentCel());
    Push(std::move(step));
}

void EditHistory::Push(HistoryStep step) {
    while (steps_.size() > done_) {
        bytes_ -= CostOf(steps_.back());
        steps_.pop_back();
    }
    bytes_ += CostOf(step);
    steps_.push_back(std::move(step));
    done_ = steps_.size();
    while (bytes_ > kHistoryBytes && steps_.size() > 1) {
        bytes_ -= CostOf(steps_.front());
        steps_.pop_front();
        --done_;
    }
}

void EditHistory::CloseGesture() {
    if (!steps_.empty()) steps_.back().open = Gesture::kNone;
}

void EditHistory::Clear() {
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
}

const HistoryStep* EditHistory::NextUndo() const {
    return done_ > 0 ? &steps_[done_ - 1] : nullptr;
}

const HistoryStep* EditHistory::NextRedo() const {
    return done_ < steps_.size() ? &steps_[done_] : nullptr;
}

Refresh EditHistory::Undo(TSpriteDocument& doc) {
    CloseGesture();
    if (done_ == 0) return kRefreshNone;
    return Take(doc, steps_[--done_], true);
}

Refresh EditHistory::Redo(TSpriteDocument& doc) {
    CloseGesture();
    if (done_ == steps_.size()) return kRefreshNone;
    return Take(doc, steps_[done_++], false);
}

Refresh EditHistory::Take(TSpriteDocument& doc, HistoryStep& step, bool back) {
    const std::size_t size = static_cast<std::size_t>(doc.CelSize());
    std::uint8_t* cel = doc.buffer_.get() + kHeaderSize + static_cast<std::size_t>(step.cel) * size;
    switch (step.kind) {
        case HistoryStep::Kind::kCel:
            std::swap_ranges(step.bytes.get(), step.bytes.get() + size, cel);
            return doc.AfterHistory(step.cel);
        case HistoryStep::Kind::kAdd:
            // The added cel is the one a redo shows; its bytes never left their place.
            doc.celCount_ += back ? -1 : 1;
            return doc.AfterHistory(back ? step.currentBefore : step.cel);
        case HistoryStep::Kind::kDelete:
            // Z's snapshot goes on belonging to the cel it was taken from, which moves with the
            // others; a snapshot of the deleted cel itself is dropped, as a delete drops it.
            if (back) {
                // The cels after it move back one place; the last place held the last cel still.
                std::memmove(cel + size, cel,
                             size * static_cast<std::size_t>(doc.celCount_ - step.cel));
                std::memcpy(cel, step.bytes.get(), size);
                ++doc.celCount_;
                if (doc.undoCel_ >= step.cel) ++doc.undoCel_;
            } else {
                // As a delete does it: the cels after it move one place forward, the last place
                // keeps its bytes.
                std::memmove(cel, cel + size,
                             size * static_cast<std::size_t>(doc.celCount_ - 1 - step.cel));
                --doc.celCount_;
                if (doc.undoCel_ == step.cel) doc.undoCel_ = -1;
                if (doc.undoCel_ > step.cel) --doc.undoCel_;
            }
            break;
    }
    return doc.AfterHistory(back ? step.currentBefore : step.currentAfter);
}
