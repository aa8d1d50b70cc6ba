#include "document/edit_history.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "document/sprite_document.h"

namespace {

std::size_t CostOf(const HistoryStep& step) {
    return sizeof(HistoryStep) + step.bytes.size();
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

void EditHistory::End(const TSpriteDocument& doc, const char* name, bool gesture) {
    const std::size_t size = static_cast<std::size_t>(doc.CelSize());
    HistoryStep step;
    step.name = name;
    step.currentBefore = currentBefore_;
    step.currentAfter = doc.CurrentCel();
    const auto celBytes = [&doc](int cel) {
        return doc.Buffer() + kHeaderSize + static_cast<std::ptrdiff_t>(cel) * doc.CelSize();
    };
    if (doc.CelCount() == celsBefore_ + 1) {
        step.kind = HistoryStep::Kind::kAdd;
        step.cel = celsBefore_;
    } else if (doc.CelCount() == celsBefore_ - 1) {
        step.kind = HistoryStep::Kind::kDelete;
        step.cel = currentBefore_;
        step.bytes.assign(currentCel_.get(), currentCel_.get() + size);
    } else if (std::memcmp(celBytes(currentBefore_), currentCel_.get(), size) != 0) {
        step.cel = currentBefore_;
        step.bytes.assign(currentCel_.get(), currentCel_.get() + size);
    } else if (undoCelBefore_ >= 0 &&
               std::memcmp(celBytes(undoCelBefore_), undoCel_.get(), size) != 0) {
        step.cel = undoCelBefore_;
        step.bytes.assign(undoCel_.get(), undoCel_.get() + size);
    } else {
        return;  // nothing changed: no step, and the undone steps stay
    }
    // A gesture's later commands in the same cel belong to its step, which keeps the cel as it
    // was before the gesture.
    if (gesture && done_ == steps_.size() && done_ > 0) {
        HistoryStep& last = steps_.back();
        if (last.open && last.kind == HistoryStep::Kind::kCel && step.kind == last.kind &&
            last.cel == step.cel) {
            last.currentAfter = step.currentAfter;
            return;
        }
    }
    CloseGesture();
    step.open = gesture && step.kind == HistoryStep::Kind::kCel;
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
    if (!steps_.empty()) steps_.back().open = false;
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
    HistoryStep& step = steps_[--done_];
    const std::size_t size = static_cast<std::size_t>(doc.CelSize());
    std::uint8_t* cels = doc.buffer_.get() + kHeaderSize;
    switch (step.kind) {
        case HistoryStep::Kind::kCel:
            std::swap_ranges(step.bytes.begin(), step.bytes.end(),
                             cels + static_cast<std::size_t>(step.cel) * size);
            break;
        case HistoryStep::Kind::kAdd:
            --doc.celCount_;
            break;
        case HistoryStep::Kind::kDelete: {
            // The cels after it move back one place; the last place held the last cel still.
            std::uint8_t* cel = cels + static_cast<std::size_t>(step.cel) * size;
            std::memmove(cel + size, cel,
                         size * static_cast<std::size_t>(doc.celCount_ - step.cel));
            std::memcpy(cel, step.bytes.data(), size);
            ++doc.celCount_;
            break;
        }
    }
    return doc.AfterHistory(step.kind == HistoryStep::Kind::kCel ? step.cel : step.currentBefore);
}

Refresh EditHistory::Redo(TSpriteDocument& doc) {
    CloseGesture();
    if (done_ == steps_.size()) return kRefreshNone;
    HistoryStep& step = steps_[done_++];
    const std::size_t size = static_cast<std::size_t>(doc.CelSize());
    std::uint8_t* cels = doc.buffer_.get() + kHeaderSize;
    switch (step.kind) {
        case HistoryStep::Kind::kCel:
            std::swap_ranges(step.bytes.begin(), step.bytes.end(),
                             cels + static_cast<std::size_t>(step.cel) * size);
            break;
        case HistoryStep::Kind::kAdd:
            ++doc.celCount_;
            break;
        case HistoryStep::Kind::kDelete: {
            // As a delete does it: the cels after it move one place forward, the last place keeps
            // its bytes.
            std::uint8_t* cel = cels + static_cast<std::size_t>(step.cel) * size;
            std::memmove(cel, cel + size,
                         size * static_cast<std::size_t>(doc.celCount_ - 1 - step.cel));
            --doc.celCount_;
            break;
        }
    }
    return doc.AfterHistory(step.kind == HistoryStep::Kind::kCel ? step.cel : step.currentAfter);
}
