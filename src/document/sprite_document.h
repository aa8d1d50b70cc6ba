#pragma once
// The one sprite the editor works on: its size, its cels as colour indices in one contiguous byte
// image (which is also the .dat file image), and the editing state the commands act on.
//
// Every buffer is allocated once, in the constructor, at its largest size; no operation allocates
// afterwards. Operations change the document only and report what the window has to refresh.
// Every edit that changes the document's bytes marks it modified (a new document and a load leave
// the flag as it was); the undo snapshot remembers the cel it was taken from and goes back there.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/file_stamp.h"
#include "document/edit_history.h"
#include "document/transforms.h"

inline constexpr int kMaxWidth = 64;
inline constexpr int kMaxHeight = 64;
inline constexpr int kMaxCels = 100;
inline constexpr int kHeaderSize = 3;
inline constexpr int kCelCapacity = kMaxWidth * kMaxHeight;                    // 4,096
inline constexpr int kBufferCapacity = kHeaderSize + kCelCapacity * kMaxCels;  // 409,603

// What a window must repaint after an operation.
enum Refresh : unsigned {
    kRefreshNone = 0,
    kRefreshView = 1,   // the enlarged cel (and the cursor frame)
    kRefreshTitle = 2,  // the title text, rebuilt from TitleText()
};
inline Refresh operator|(Refresh a, Refresh b) {
    return static_cast<Refresh>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// The names the editor keeps for a document: the name in the title ("new" until saved or opened),
// the path a plain save writes to, and the name the PNG export proposes.
struct DocumentNames {
    std::string name = "new";
    std::string savePath;
    std::string exportName;
    // The save path's file as the last Open or save left it; nothing when the document was not
    // read from or written to it (new, imported, recovered).
    std::optional<FileStamp> savedStamp;
};

class TSpriteDocument {
  public:
    TSpriteDocument();
    TSpriteDocument(const TSpriteDocument&) = delete;
    TSpriteDocument& operator=(const TSpriteDocument&) = delete;

    // --- size and state ---------------------------------------------------------------------
    int Width() const { return width_; }
    int Height() const { return height_; }
    int CelCount() const { return celCount_; }
    int CurrentCel() const { return currentCel_; }
    int CursorX() const { return cursorX_; }
    int CursorY() const { return cursorY_; }
    std::uint8_t CurrentColour() const { return currentColour_; }
    bool Modified() const { return modified_; }
    // Counts changes of the document's bytes (edits, a new document, a load); watchers compare it.
    std::uint64_t Revision() const { return revision_; }
    // The cel the undo snapshot was taken from, or -1 when a delete dropped it; past the last cel
    // while an undone add took that cel away.
    int UndoCel() const { return undoCel_; }
    int CelSize() const { return width_ * height_; }
    // Bytes a save writes: header and every cel.
    int UsedSize() const { return kHeaderSize + CelSize() * celCount_; }

    // The document buffer: header (width, height, cel count) then every cel back to back.
    const std::uint8_t* Buffer() const { return buffer_.get(); }
    // Offset of the current cel's first pixel in the buffer.
    int CurrentCelPosition() const { return kHeaderSize + currentCel_ * CelSize(); }
    const std::uint8_t* CurrentCelPixels() const { return buffer_.get() + CurrentCelPosition(); }
    const std::uint8_t* UndoBuffer() const { return undo_.get(); }

    DocumentNames& Names() { return names_; }
    const DocumentNames& Names() const { return names_; }

    // --- starting a document ------------------------------------------------------------------
    // Starts a new empty document of the given size (each within the limits): names reset, buffer
    // cleared, header written, editing state reset. The modified flag is left as it was.
    Refresh NewDocument(int width, int height, int celCount);
    // Takes a whole file image (already validated by the loader) into the buffer, sets the size
    // from its header and resets the editing state. Bytes of the image past its cels that are not
    // colour indices become 0; bytes past the image keep what they held.
    Refresh LoadImage(const std::uint8_t* bytes, int count);
    // Clears the modified flag (start-up and a successful save).
    Refresh ClearModified();

    // --- cursor --------------------------------------------------------------------------------
    // Moves the cursor by one pixel; false (and no move) at the edge in that direction.
    bool MoveCursor(int dx, int dy);
    // Places the cursor; the cell must lie inside the cel.
    void SetCursor(int x, int y);
    // Makes colour (0..15) the current colour without writing a pixel: the document's bytes,
    // the undo snapshot and the modified flag stay as they are.
    void ChooseColour(std::uint8_t colour);

    // --- cel and pixel operations ----------------------------------------------------------------
    // Takes the snapshot of the current cel and remembers which cel that is.
    void SaveUndo();
    // Writes the snapshot back into the cel it was taken from and makes that cel current; does
    // nothing when there is no snapshot.
    Refresh Undo();
    // Copies the current cel into the copy buffer; the window shows CopyText() as its title.
    Refresh CopyCel();
    // Takes a snapshot, then overwrites the current cel with the copy buffer.
    Refresh PasteCel();
    Refresh PreviousCel();
    Refresh NextCel();
    Refresh AddCel();
    // Drops a snapshot whose cel is removed or moves.
    Refresh DeleteCel();
    Refresh EraseCel();
    Refresh SetPixel(int x, int y, std::uint8_t colour);
    std::uint8_t GetPixel(int x, int y) const;
    // Sets the modified flag and counts a change; asks for the title only when the flag was clear.
    Refresh MarkModified();

    // --- history -------------------------------------------------------------------------------
    // The steps U and Y go through; the editor brackets its commands with it. A new document and a
    // load start it empty.
    EditHistory& History() { return history_; }
    const EditHistory& History() const { return history_; }
    // One step back or forward through the history: the cel it changes becomes current and the
    // document is marked modified. The Z snapshot stays as it was.
    Refresh UndoStep() { return history_.Undo(*this); }
    Refresh RedoStep() { return history_.Redo(*this); }

    // --- whole-cel transforms: each is one undo step and sets the modified flag -----------------
    Refresh FloodFill(int x, int y, std::uint8_t colour);
    Refresh ScrollUp();
    Refresh ScrollRight();
    Refresh ScrollDown();
    Refresh ScrollLeft();
    Refresh MirrorHorizontal();  // left and right swap
    Refresh MirrorVertical();    // top and bottom swap
    Refresh Rotate();            // quarter turn anticlockwise

  private:
    friend class EditHistory;
    // After a history step changed the cels: the header's cel count, cel current, the modified
    // flag.
    Refresh AfterHistory(int cel);
    std::uint8_t* Cel() { return buffer_.get() + CurrentCelPosition(); }
    // Overwrites the current cel with a cel's worth of bytes from source; marks the document
    // modified only when a byte changed.
    Refresh ReplaceCel(const std::uint8_t* source);
    void ResetEditingState();
    // Runs one transform of the current cel: snapshot, new picture, modified flag.
    Refresh Transform(CelTransform transform);

    int width_ = 8;
    int height_ = 8;
    int celCount_ = 1;
    int currentCel_ = 0;
    int cursorX_ = 4;
    int cursorY_ = 4;
    std::uint8_t currentColour_ = 0;
    bool modified_ = false;
    std::uint64_t revision_ = 0;
    int undoCel_ = 0;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::unique_ptr<std::uint8_t[]> undo_;
    std::unique_ptr<std::uint8_t[]> copy_;
    std::unique_ptr<std::uint16_t[]> fillStack_;  // pending pixels of a flood fill
    DocumentNames names_;
    EditHistory history_;
};

// "walk* 3/12": the document name, "*" when modified, a blank, current cel + 1, "/", cel count.
std::string TitleText(const TSpriteDocument& doc);
// "copy:3" for the third cel.
std::string CopyText(const TSpriteDocument& doc);
