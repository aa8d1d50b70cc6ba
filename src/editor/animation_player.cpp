#include "editor/animation_player.h"

#include <algorithm>

void AnimationPlayer::Fit(int celCount) {
    const int lastCel = std::max(celCount - 1, 0);
    if (!rangeSet_) {
        first_ = 0;
        last_ = lastCel;
    }
    last_ = std::min(last_, lastCel);
    first_ = std::min(first_, last_);
    KeepFrameInRange();
}

void AnimationPlayer::Restart(int celCount) {
    rangeSet_ = false;
    frame_ = 0;
    direction_ = 1;
    Fit(celCount);
}

void AnimationPlayer::Step() {
    if (first_ == last_) {
        frame_ = first_;
        return;
    }
    if (!backAndForth_) {
        frame_ = frame_ >= last_ ? first_ : frame_ + 1;
        return;
    }
    if (frame_ + direction_ < first_ || frame_ + direction_ > last_) direction_ = -direction_;
    frame_ += direction_;
}

void AnimationPlayer::Faster() {
    fps_ = std::min(fps_ + 1, kMaxFps);
}

void AnimationPlayer::Slower() {
    fps_ = std::max(fps_ - 1, kMinFps);
}

void AnimationPlayer::SetFirst(int cel) {
    rangeSet_ = true;
    first_ = cel;
    last_ = std::max(last_, cel);
    KeepFrameInRange();
}

void AnimationPlayer::SetLast(int cel) {
    rangeSet_ = true;
    last_ = cel;
    first_ = std::min(first_, cel);
    KeepFrameInRange();
}

void AnimationPlayer::KeepFrameInRange() {
    frame_ = std::clamp(frame_, first_, last_);
}
