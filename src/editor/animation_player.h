#pragma once
// Which cel the companion window's animation shows: a range of the document's cels played in a
// loop or back and forth, at 1 to 60 frames per second, playing or paused. Plain state that the
// window's timer steps; it knows nothing of the document but its cel count.

class AnimationPlayer {
  public:
    static constexpr int kMinFps = 1;
    static constexpr int kMaxFps = 60;
    static constexpr int kDefaultFps = 10;

    int First() const { return first_; }
    int Last() const { return last_; }
    int Frame() const { return frame_; }  // the cel shown now
    int Fps() const { return fps_; }
    bool Playing() const { return playing_; }
    bool BackAndForth() const { return backAndForth_; }

    // A document of celCount cels: a range never set is all of them; a set one is cut to them.
    // The frame stays inside the range.
    void Fit(int celCount);
    // A new or opened document: all its cels, from the first.
    void Restart(int celCount);
    // The next frame: after the last the first again, or, back and forth, the way back.
    void Step();

    void TogglePlaying() { playing_ = !playing_; }
    void ToggleBackAndForth() { backAndForth_ = !backAndForth_; }
    void Faster();
    void Slower();
    // The range starts at cel (its end moves along when it lay before cel).
    void SetFirst(int cel);
    // The range ends at cel (its start moves along when it lay after cel).
    void SetLast(int cel);

  private:
    void KeepFrameInRange();

    int first_ = 0;
    int last_ = 0;
    int frame_ = 0;
    int direction_ = 1;
    int fps_ = kDefaultFps;
    bool playing_ = true;
    bool backAndForth_ = false;
    bool rangeSet_ = false;
};
