#pragma once
// The editor window: a frameless top-level window that is nothing but imgMain, the current cel
// enlarged zoom times. It owns the sprite document, turns keys and mouse events into document
// operations (keys/editor_keys.h) and repaints itself after each.

#include <cstdint>
#include <memory>

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include "document/sprite_document.h"
#include "editor/strips.h"
#include "editor/user_prompts.h"
#include "generator/decode_tables.h"
#include "generator/options.h"
#include "image/rgb_image.h"
#include "keys/editor_keys.h"

class CompanionWindow;
class ImageLibrary;
class RecoveryCopy;
class TfrmExport;
class WindowDestroyedWatch;
struct RecoveredDocument;

// Where the PNG export writes temp.bmp: the program's folder when it may be written to, else the
// user's cache folder (made when missing), as after a system-wide install.
QString TempBitmapDir(const QString& programDir);

// Top-left corner of a client area centred on a screen; integer division truncating toward zero,
// so a window taller than the screen gets a negative top.
QPoint CentredTopLeft(int screenWidth, int screenHeight, int clientWidth, int clientHeight);

class TForm1 : public QWidget {
    Q_OBJECT

  public:
    // Paints with the strips (LoadStrips) and starts a new 8 x 8 document of one cel.
    TForm1(const Strips& strips, UserPrompts& prompts, QWidget* parent = nullptr);
    ~TForm1() override;

    // The Generate window of G; its table options are the ones the chip view shows the cel under.
    void SetGenerateWindow(TfrmExport* window);
    // Where the PNG export writes temp.bmp: TempBitmapDir of the program's folder unless set
    // otherwise.
    void SetTempBitmapDir(const QString& dir);
    // The image library the PNG export calls (the real one unless set otherwise).
    void SetImageLibrary(ImageLibrary& library) { imageLibrary_ = &library; }
    // The recovery copy that follows the document's changes (none unless set). When it cannot
    // keep a copy, the editor says so once in an information box.
    void SetRecovery(RecoveryCopy* recovery);

    // --- view ---------------------------------------------------------------------------------
    // Lays the window out for the document's size and centres it on the screen; with newDocument
    // it first starts a new empty document of the given size. Redraws and rebuilds the title.
    void InitView(bool newDocument, int width = 8, int height = 8, int celCount = 1);
    void Redraw();
    void DrawCursorFrame();
    void UpdateTitle();
    void MarkModified();
    // The keys of the view (keys/editor_keys.h, group kView): the companion window shown or
    // hidden, the onion skin on or off, the zoom one step up (direction > 0) or down. None of
    // them changes the document.
    void ToggleCompanion();
    void ToggleOnionSkin();
    // X: the cel as the chip shows it under the table options, each row it cannot show as drawn
    // marked with a red notch at its left edge (at its 8-pixel segment's for characters); again:
    // the cel as drawn.
    void ToggleChipView();
    void ChangeZoom(int direction);
    // The options of the tables: the Generate window's, the initial ones without it.
    GeneratorOptions TableOptions() const;
    // Makes colour current without drawing (a click on a swatch of the companion window).
    void ChooseColour(std::uint8_t colour);

    // --- document operations, each followed by the refreshes it calls for
    // -------------------------
    void SetPixel(int x, int y, std::uint8_t colour);
    std::uint8_t GetPixel(int x, int y) const { return doc_.GetPixel(x, y); }
    void Undo();
    void CopyCel();
    void PasteCel();
    void PreviousCel();
    void NextCel();
    void AddCel();
    void DeleteCel();
    void EraseCel();
    void FloodFill(int x, int y, std::uint8_t colour);
    void ScrollUp();
    void ScrollRight();
    void ScrollDown();
    void ScrollLeft();
    void MirrorHorizontal();
    void MirrorVertical();
    void Rotate();

    // --- file commands
    // ----------------------------------------------------------------------------
    void NewDocument();
    void OpenDocument();
    // True when the document was written.
    bool SaveDocument(bool askForPath);
    // Whether the window may close: asks "Save?" while there are unsaved changes.
    bool FormClose();
    // Opens the file named on the command line as O opens a chosen one, without the dialog; a file
    // that cannot be used shows its error box and the document stays as it is.
    void OpenFromCommandLine(const std::string& path);
    // At start: one question for each copy left by an editor that no longer runs. Yes opens it
    // as a modified document under its name and save path (and asks about no other copy), No
    // deletes it, Cancel keeps it for the next start. Asks nothing once the document is modified.
    void OfferRecovery();
    // Writes the current cel at twice its size as a PNG file at a path the user chooses, through
    // temp.bmp and the image library. Never changes the document, the modified flag or the title.
    void ExportPng();
    // Key I: after the "Save?" prompt, a PNG picture or sprite sheet the user chooses becomes the
    // document, cut into cels of a size the dialog asks for (a picture that looks like an export
    // at twice its size starts at its half, with "Halve" checked). The document is named after the
    // picture, has no save path and is modified. A picture that cannot be imported shows its error
    // box and the document stays as it was; what the user should know of an import shows in one
    // box.
    void ImportPng();

    // --- input
    // ------------------------------------------------------------------------------------
    void FormKeyDown(int key, bool shift, bool ctrl, bool alt);
    void imgMainMouseDown(Qt::MouseButton button, int x, int y);
    void imgMainMouseMove(Qt::MouseButtons buttons, int x, int y);
    // A button's release ends the stroke's step of history.
    void imgMainMouseUp();

    // --- what tests and benchmarks look at ------------------------------------------------------
    const TSpriteDocument& Document() const { return doc_; }
    int Zoom() const { return zoom_; }
    const QImage& MainImage() const { return image_; }
    QWidget* imgMain() const { return imgMain_; }
    int RedrawCount() const { return redrawCount_; }
    QPoint LastMouseCell() const { return lastMouseCell_; }
    bool OnionSkin() const { return onionSkin_; }
    // The cel as the chip shows it while the chip view is on; nullptr when it is off.
    const ChipCel* Chip() const { return chipView_ ? &chip_ : nullptr; }
    // The companion window, made by the first W; nullptr before.
    CompanionWindow* Companion() const { return companion_; }

  signals:
    // The window has closed: the program ends.
    void Closed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Apply(Refresh refresh);
    // Sizes the window and imgMain for the document and the zoom, and centres it on the screen.
    void LayOut();
    // The palette swatches, and then every one blended 40 % over colour 0's: what the onion skin
    // paints where the current cel holds colour 0.
    void BuildOnionStrip();
    // The notches of the rows the chip view marks, and the seams between a sprite set's pieces.
    void DrawRowMarks(const GeneratorOptions& options);
    void DrawPieceSeams(const GeneratorOptions& options);
    // Tells a shown companion window that something it shows may have changed.
    void FollowInCompanion();
    // Where the file dialogs open: the folder of the document's file (of its picture when it was
    // imported, of the file opened last when it is new); empty when there is none.
    QString DocumentFolder() const;
    // The document's name with suffix in that folder: what Save As and the export propose.
    QString ProposedPath(const QString& suffix) const;
    // The shared "Save?" prompt of New, Open and closing: true to go on.
    bool SavePrompt();
    // Every modal question goes through here, so the editor takes the keyboard back afterwards.
    PromptAnswer Ask(const QString& text, const QString& caption, PromptButtons buttons,
                     PromptIcon icon = PromptIcon::kNone);
    void ErrorBox(std::string_view message);
    // The bare "Error" box of a file that cannot be opened, created or exported.
    void PlainErrorBox();
    // The cursor one pixel in the step's direction; with shift, the colour it was on goes along.
    void MoveCursor(Step step, bool shift);
    // G: the Generate window with the document's tables and names.
    void ShowGenerateWindow();
    // Reads a sprite file into the document; the error box on failure (plainError: the bare
    // "Error" box of the Open command for a file that cannot be opened).
    bool LoadDocument(const std::string& path, bool plainError);
    void TakeRecovered(const RecoveredDocument& recovered);
    // Tells the recovery copy that the document may have changed.
    void NoteChange();
    // Another X client destroyed the window (xdotool windowclose): the close of Q, with "Save?".
    void WindowDestroyed();

    UserPrompts& prompts_;
    TfrmExport* frmExport_ = nullptr;
    TSpriteDocument doc_;
    QWidget* imgMain_ = nullptr;
    QImage stripAtStart_;  // pal.bmp as read: its height is the zoom at start
    QImage palette_;       // 16 swatches of zoom x zoom pixels, from pal.bmp
    QImage onionStrip_;    // with the onion skin on: BuildOnionStrip()
    bool onionSkin_ = false;
    bool chipView_ = false;
    ChipCel chip_;  // the current cel as the chip shows it, made at each redraw of the chip view
    CompanionWindow* companion_ = nullptr;
    RgbImage colourStrip_;  // color.bmp: 16 swatches 16 pixels wide
    QImage image_;          // what imgMain shows
    QString lastOpenPath_;
    std::string failedSaveAsPath_;  // the path a Save As chose and could not write
    QString lastImportPath_;
    int zoom_ = 8;
    int redrawCount_ = 0;
    QPoint lastMouseCell_{0, 0};
    RgbImage imgSave_;  // the exported picture, made anew by every export
    QString tempBitmapPath_;
    ImageLibrary* imageLibrary_ = nullptr;
    RecoveryCopy* recovery_ = nullptr;
    std::unique_ptr<WindowDestroyedWatch> destroyedWatch_;
};
