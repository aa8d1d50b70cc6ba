// Every generator on every accepted document and every option set: the text holds only byte
// tokens, separators and CR LF, the number of lines each table kind gives, and result codes only
// where the tables can break a rule. Sprite sets of every piece size: the rows their decoded tables
// show otherwise than drawn are the rows the check names.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/sprite_file.h"
#include "fuzz_check.h"
#include "generator/clashes.h"
#include "generator/decode_tables.h"
#include "generator/regenerate.h"
#include "generator/table_kinds.h"

namespace {

int CountLines(const std::string& text) {
    int breaks = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == '\n');
            ++breaks;
        } else if (text[i] == '\n') {
            FUZZ_CHECK(i > 0 && text[i - 1] == '\r');
        }
    }
    const bool endsWithBreak = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
    return text.empty() ? 0 : breaks + (endsWithBreak ? 0 : 1);
}

std::string WithoutChars(const std::string& text, const char* chars) {
    std::string out;
    for (char c : text)
        if (!std::strchr(chars, c)) out += c;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    // The first byte picks the size (kept small so the fuzzer stays fast); the rest are pixels.
    const int width = 1 + data[0] % 24;
    const int height = 1 + data[1] % 9;
    const int cels = 1 + data[2] % 3;
    std::vector<std::uint8_t> image(static_cast<std::size_t>(3 + width * height * cels));
    image[0] = static_cast<std::uint8_t>(width);
    image[1] = static_cast<std::uint8_t>(height);
    image[2] = static_cast<std::uint8_t>(cels);
    for (std::size_t i = 3; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(data[3 + (i - 3) % (size - 3)] & 15);
    FUZZ_CHECK(CheckSpriteImage(image.data(), image.size(), "fuzz.dat").ok());

    const CapturedDocument doc = CaptureDocument(image.data());
    for (int bits = 0; bits < 32; ++bits) {
        GeneratorOptions options;
        options.outputType = (bits & 1) ? OutputType::kChr : OutputType::kSprite;
        options.layers = 1 + (bits >> 1 & 3);
        options.colorData = bits & 8;
        options.comma = (bits & 16) ? 0 : 1;
        const GenerationResult result = Regenerate(doc, options);
        for (char c : result.text) FUZZ_CHECK(std::strchr("0123456789ABCDEF#,\r\n", c) && c != 0);
        int linesPerCel = 0;
        bool breaches = false;
        if (options.outputType == OutputType::kChr) {
            linesPerCel = 1;
        } else if (options.layers == 1) {
            linesPerCel = options.colorData ? 2 : 1;
        } else {
            linesPerCel = options.colorData ? 2 * options.layers : options.layers;
            breaches = true;
        }
        FUZZ_CHECK(CountLines(result.text) == linesPerCel * cels);
        FUZZ_CHECK(result.resultCode == 0 ||
                   (breaches &&
                    (result.resultCode == 3 || (options.colorData && result.resultCode == 2))));
        if (options.comma == 0) {
            FUZZ_CHECK(result.text.find('#') == std::string::npos);
        } else {
            // Without "#" and ",", comma mode gives the digits of the mode without commas.
            GeneratorOptions bare = options;
            bare.comma = 0;
            const GenerationResult plain = Regenerate(doc, bare);
            FUZZ_CHECK(WithoutChars(result.text, "#,") == WithoutChars(plain.text, ","));
            FUZZ_CHECK(plain.resultCode == result.resultCode);
        }
    }
    // Every layer choice, with and without colour data and pieces: the check names the rows the
    // chip shows otherwise than drawn.
    for (int bits = 0; bits < 30; ++bits) {
        GeneratorOptions options;
        options.layers = kLayerChoices[bits % 5].layers;
        options.colorData = (bits / 5 & 1) != 0;
        options.pieces = kPieceSizes[bits / 10].pieces;
        std::vector<int> named;  // cel * 64 + row of every line the check writes
        for (const std::string& line : FindClashes(doc, options)) {
            int cel = 0;
            int row = 0;
            FUZZ_CHECK(std::sscanf(line.c_str(), "cel %d, row %d", &cel, &row) == 2);
            if (named.empty() || named.back() != (cel - 1) * 64 + row) {
                named.push_back((cel - 1) * 64 + row);
            }
        }
        std::vector<int> rows;
        for (const CelRow& row : RowsNotAsDrawn(doc, options))
            rows.push_back(row.cel * 64 + row.row);
        FUZZ_CHECK(rows == named);
    }
    return 0;
}
