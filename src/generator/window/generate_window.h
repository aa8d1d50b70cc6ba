#pragma once
// The "Generate" window: a frameless window that shows the data tables of every cel in Memo1,
// the options in labels, the output format in lbOutput and the result of the last generation
// in lbResult. Every generation also puts the whole text on the clipboard. It keeps a reference to
// the live document buffer and the size captured from its header; it never writes to the buffer.
//
// The tables themselves come from the generator core (generator/regenerate.h) and are written by
// its writers (generator/writers.h); this window only chooses, shows and copies them. Its controls
// are made when they are first needed, so that the hidden window costs nothing at start-up.

#include <cstdint>
#include <string>
#include <string_view>

#include <QPointer>
#include <QWidget>

#include "generator/regenerate.h"
#include "generator/writers.h"

class QLabel;
class MemoBox;

class TfrmExport : public QWidget {
    Q_OBJECT

  public:
    explicit TfrmExport(QWidget* parent = nullptr);
    ~TfrmExport() override;

    // Keeps a reference to the live document buffer (header, then every cel), captures width,
    // height and cel count from its header, then regenerates.
    void SetData(const std::uint8_t* buffer);
    // The document name, for NAME in the assembler, C and BASIC formats (made an identifier);
    // "new" until the editor gives one, which it does at each G before SetData. fileName is the
    // file the tables come from ("ship.dat"), for the C text's first comment; the name with
    // ".dat" when empty.
    void SetDocumentName(std::string name, std::string fileName = {});
    const std::uint8_t* Data() const { return captured_.buffer; }
    const CapturedDocument& Captured() const { return captured_; }

    // Shows the window without making it modal, centred on the screen and with the keyboard in
    // Memo1; brings it to the front when it is already visible. Esc hides it and gives the
    // keyboard back to the window that was active before.
    void ShowWindow();

    // One generation: resets the result code, runs the generator the options choose (each ends
    // with the closing sequence) and shows the result message.
    void Regenerate();
    // The option labels, from the options; lb1Color, lb2layers and lbPieces are greyed for Chr,
    // lbFormat for every format but Hex. lbOutput names the format.
    void UpdateLabels();
    // Memo1's key handler: 2, C, O and T toggle an option, F shows the next output format (Hex,
    // Assembler, C, BASIC), each relabels and regenerates; Esc hides the window. With Ctrl held it
    // does nothing; Shift and Alt play no part. Returns nothing: the key goes on to Memo1, which,
    // being read-only, never changes its text because of it.
    void Memo1KeyDown(int key, bool shift, bool ctrl, bool alt);

    // The output text behind Memo1: AddText appends a piece ("\n" is a CR LF line break) and
    // AddCommas ends lines with "," in comma mode 1. They change what Memo1 shows at the next
    // closing sequence.
    void AddText(std::string_view piece);
    void AddCommas();

    // The table options, which the editor's chip view shows the cel under.
    const GeneratorOptions& Options() const { return options_; }

    // --- what tests look at -------------------------------------------------------------------
    TableFormat Format() const { return format_; }
    // The options of the writers: the document name as NAME, the rest at their defaults.
    WriterOptions Writer() const;
    int ResultCode() const { return resultCode_; }
    // The output text exactly as generated: CR LF line breaks for Hex, LF for the other formats.
    const std::string& Text() const { return out_.Text(); }
    MemoBox* Memo1();
    QLabel* lbType();
    QLabel* lb1Color();
    QLabel* lb2layers();
    QLabel* lbFormat();
    QLabel* lbOutput();
    QLabel* lbPieces();
    QLabel* lbResult();

    void setVisible(bool visible) override;  // makes the controls before the first show

  signals:
    // A key changed the options or the format: the editor's chip view follows the options.
    void optionsChanged();

  private:
    void Build();
    // Steps 2 and 3 of the closing sequence (the core generators end with AddCommas): Memo1
    // shows the text with all of it selected, and the clipboard gets it byte for byte.
    void ShowOutput();
    // The text of the tables in the chosen format, into the output text; the result message.
    void WriteOutput();

    GeneratorOptions options_;
    TableFormat format_ = TableFormat::kHex;
    std::string documentName_ = "new";
    std::string fileName_ = "new.dat";
    CapturedDocument captured_;
    GeneratedTables tables_;
    OutputText out_;
    int resultCode_ = kNoError;

    MemoBox* memo_ = nullptr;
    QLabel* lbType_ = nullptr;
    QLabel* lb1Color_ = nullptr;
    QLabel* lb2layers_ = nullptr;
    QLabel* lbFormat_ = nullptr;
    QLabel* lbOutput_ = nullptr;
    QLabel* lbPieces_ = nullptr;
    QLabel* lbResult_ = nullptr;
    QPointer<QWidget> returnTo_;
};
