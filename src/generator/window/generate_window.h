#pragma once
// The "Generate" window. For now it only holds the reference to the document buffer and shows
// itself; the option keys, the tables and the clipboard arrive with the generator window's task.

#include <cstdint>

#include <QPointer>
#include <QWidget>

class TfrmExport : public QWidget {
  public:
    explicit TfrmExport(QWidget* parent = nullptr);

    // Keeps a reference to the live document buffer (header, then every cel); never writes to it.
    void SetData(const std::uint8_t* buffer);
    const std::uint8_t* Data() const { return buffer_; }

    // Shows the window without making it modal, centred on the screen the first time; brings it
    // to the front when it is already visible. Esc hides it and gives the keyboard back to the
    // window that was active before.
    void ShowWindow();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    const std::uint8_t* buffer_ = nullptr;
    bool placed_ = false;
    QPointer<QWidget> returnTo_;
};
