#pragma once
// The editor's companion window (key W): a small frameless window beside the editor that shows,
// top to bottom, the animation (a range of cels played at the sprite's own size, 2x and 4x), the
// 16 swatches of the colour strip with their keys and the current colour framed, and a state line
// (name, "*", cel n/N, cursor, the colour under it, zoom). It reads the live document and never
// changes it; a click on a swatch makes that colour current through the editor, without drawing.
// Its timer repaints this window alone. Hidden, it costs nothing: no timer runs.

#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "editor/animation_player.h"
#include "generator/options.h"
#include "image/rgb_image.h"

class ChipCel;
class TSpriteDocument;

// Where the window goes: right of the editor, else left of it, else below, else above, each moved
// onto the screen as far as its size allows: the first place the editor does not cover; where it
// covers least when none is free. Top level with the editor.
QPoint CompanionTopLeft(const QRect& editor, const QSize& size, const QRect& screen);

class CompanionWindow : public QWidget {
    Q_OBJECT

  public:
    // A window of the editor's, showing doc; colourStrip: color.bmp; colour index i is its pixel
    // (16 i, 0), as in the PNG export.
    CompanionWindow(QWidget& editor, const TSpriteDocument& doc, const RgbImage& colourStrip);

    // The editor's view, for the state lines: its zoom, whether the onion skin is on, the cel as
    // the chip shows it while the chip view is on (nullptr when it is off), the table options.
    void ShowView(int zoom, bool onionSkin, const ChipCel* chip, const GeneratorOptions& options);

    // Shows the window beside the editor, playing as it was; the editor keeps the keyboard.
    void ShowBeside();
    // Hides the window and gives the keyboard back to the editor.
    void HideAndReturn();
    // The editor changed something the window shows (pixels, cel, cursor, colour, title, zoom).
    void Follow();
    // A new or opened document: the animation plays all its cels, from the first.
    void Restart();
    // One frame of the timer: the next cel of the range.
    void Tick();
    // The animation picture from the document's cel of the current frame.
    void RenderFrame();
    // Moves the window to its place beside the editor (CompanionTopLeft).
    void Place();

    // --- what tests and benchmarks look at ----------------------------------------------------
    const AnimationPlayer& Player() const { return player_; }
    // The three copies side by side, at 1x, 2x and 4x.
    const QImage& Picture() const { return picture_; }
    QRect PictureRect() const { return {pictureTopLeft_, picture_.size()}; }
    QRect SwatchRect(int index) const;
    // A line per topic, a topic that is off leaving its line out: the document ("walk*  cel 2/4",
    // with "  onion skin" while it is on), the cursor ("x 1, y 2  colour 5  zoom 16"), the chip
    // (in the chip view the cursor row as the chip shows it, "row 5: 7 | 8 OR → F"; otherwise
    // "columns 16–31 are in no table" while the current cel has drawn pixels there), and the
    // sprites on the cursor's line with sprite sets ("line 5: 6 sprites; the chip shows 4"), and
    // the history ("U: fill, cel 3 · Y: nothing").
    QStringList StateLines() const;
    static constexpr int kStateLines = 6;  // one more than the topics: room for a long line
    // "cels 1-4  10 fps", "loop" or "back and forth", with ", paused"
    QStringList AnimationLines() const;
    const QTimer& Timer() const { return timer_; }

  signals:
    // A click on a swatch chose this colour; the editor makes it current.
    void colourChosen(std::uint8_t colour);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // Sizes the window and the picture for the document's size.
    void LayOut();
    void UpdateTimer();

    QWidget& editor_;
    const TSpriteDocument& doc_;
    int zoom_ = 8;
    bool onionSkin_ = false;
    const ChipCel* chip_ = nullptr;
    GeneratorOptions options_;
    QRgb colours_[16] = {};
    AnimationPlayer player_;
    QTimer timer_;
    QImage picture_;
    QPoint pictureTopLeft_;
    QSize celSize_;  // the document size the layout was made for
    int paletteTop_ = 0;
    int stateTop_ = 0;
    int lineHeight_ = 0;
};
