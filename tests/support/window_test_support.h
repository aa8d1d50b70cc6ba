#pragma once
// Shared by the Generate window tests: a document buffer of the largest size holding a picture,
// and what the window should show for a set of options, straight from the generator core. Keys
// are pressed on Memo1 with test::Press (key_names.h).

#include <cstdint>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>

#include "example_tables.h"
#include "generator/regenerate.h"
#include "generator/window/generate_window.h"
#include "generator/window/memo.h"
#include "key_names.h"

namespace wtest {

// A document buffer of the editor's capacity holding the file image of a picture.
inline std::vector<std::uint8_t> Buffer(int width, int height, const Pixels& pixels) {
    std::vector<std::uint8_t> buffer = SpriteFileImage(width, height, pixels);
    buffer.resize(kBufferCapacity, 0);
    return buffer;
}

inline QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

inline void SetClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

// The generator core's text for the captured document and options.
inline QString CoreText(const CapturedDocument& doc, const GeneratorOptions& options) {
    return QString::fromStdString(Regenerate(doc, options).text);
}

// The four option labels as they read.
inline QStringList Labels(TfrmExport& window) {
    return {window.lbType()->text(), window.lb1Color()->text(), window.lb2layers()->text(),
            window.lbFormat()->text()};
}

}  // namespace wtest
