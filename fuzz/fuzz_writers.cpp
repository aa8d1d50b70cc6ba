// Every writer on every accepted document, option set and writer setting: the assembler, C and
// BASIC texts read back into exactly the bytes of the binary output (with each cel's layer colours
// after its tables, for two layers without colour data), labels and line numbers come in order,
// and a writer refuses only BASIC line numbers past 65529.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "document/sprite_file.h"
#include "fuzz_check.h"
#include "generator/label_name.h"
#include "generator/regenerate.h"
#include "generator/writers.h"

namespace {

std::vector<std::string> Lines(const std::string& text, const std::string& eol) {
    FUZZ_CHECK(text.size() >= eol.size() &&
               text.compare(text.size() - eol.size(), eol.size(), eol) == 0);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(eol, start);
        FUZZ_CHECK(end != std::string::npos);
        lines.push_back(text.substr(start, end - start));
        start = end + eol.size();
    }
    return lines;
}

int Digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    FUZZ_CHECK(c >= 'A' && c <= 'F');
    return c - 'A' + 10;
}

// Two upper-case hexadecimal digits.
std::uint8_t Hex(const std::string& digits) {
    FUZZ_CHECK(digits.size() == 2);
    return static_cast<std::uint8_t>(Digit(digits[0]) * 16 + Digit(digits[1]));
}

std::uint8_t AsmByte(const std::string& token, NumberStyle style) {
    switch (style) {
        case NumberStyle::kDollar:
            FUZZ_CHECK(token.size() == 3 && token[0] == '$');
            return Hex(token.substr(1));
        case NumberStyle::kHash:
            FUZZ_CHECK(token.size() == 3 && token[0] == '#');
            return Hex(token.substr(1));
        case NumberStyle::kZeroX:
            FUZZ_CHECK(token.size() == 4 && token.starts_with("0x"));
            return Hex(token.substr(2));
        case NumberStyle::kAmpersandH:
            FUZZ_CHECK(token.size() == 4 && token.starts_with("&H"));
            return Hex(token.substr(2));
        case NumberStyle::kSuffixH: {
            FUZZ_CHECK(token.ends_with("h") && (token.size() == 3 || token.size() == 4));
            // A leading 0 exactly when the first digit is a letter.
            const std::string digits = token.substr(token.size() - 3, 2);
            FUZZ_CHECK((token.size() == 4) == (digits[0] >= 'A'));
            FUZZ_CHECK(token.size() == 3 || token[0] == '0');
            return Hex(digits);
        }
    }
    FUZZ_CHECK(false);
    return 0;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string Label(const WriterOptions& options, int cel, TableRole role) {
    return options.name + "_c" + std::to_string(cel + 1) + "_" + std::string(RoleName(role)) + ":";
}

std::string ReadAsm(const GeneratedTables& tables, const WriterOptions& options,
                    const std::string& text) {
    std::string bytes;
    const std::string start = "\t" + options.directive + " ";
    std::size_t label = 0;
    for (const std::string& line : Lines(text, options.crlf ? "\r\n" : "\n")) {
        if (!line.starts_with(start)) {
            const std::size_t cel = label / tables.shapes.size();
            FUZZ_CHECK(line == Label(options, static_cast<int>(cel),
                                     tables.shapes[label % tables.shapes.size()].role));
            ++label;
            continue;
        }
        const std::vector<std::string> tokens = Split(line.substr(start.size()), ',');
        FUZZ_CHECK(tokens.size() <= 16);
        for (const std::string& token : tokens)
            bytes += static_cast<char>(AsmByte(token, options.numberStyle));
    }
    FUZZ_CHECK(label == tables.shapes.size() * static_cast<std::size_t>(tables.celCount));
    return bytes;
}

std::string ReadC(const GeneratedTables& tables, const WriterOptions& options,
                  const std::string& text) {
    // Table by table, and within a table cel by cel: back into the order of the binary output.
    std::vector<std::string> perTable(tables.shapes.size());
    std::size_t table = 0;
    bool started = false;
    for (const std::string& line : Lines(text, options.crlf ? "\r\n" : "\n")) {
        if (line.starts_with("static const unsigned char ")) {
            const TableShape& shape = tables.shapes[started ? ++table : table];
            started = true;
            FUZZ_CHECK(line == "static const unsigned char " + options.name + "_" +
                                   std::string(RoleName(shape.role)) + "[" +
                                   std::to_string(tables.celCount) + "][" +
                                   std::to_string(shape.length) + "] = {");
        }
        // A row's lines: "    { 0x30, 0x05," and "      0x81 },". Names may hold "0x" too.
        if (!line.starts_with("    { ") && !line.starts_with("      ")) continue;
        for (std::size_t at = 0; (at = line.find("0x", at)) != std::string::npos; at += 4) {
            perTable[table] += static_cast<char>(Hex(line.substr(at + 2, 2)));
        }
    }
    std::string bytes;
    for (int cel = 0; cel < tables.celCount; ++cel) {
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            const std::size_t length = tables.shapes[t].length;
            bytes += perTable[t].substr(static_cast<std::size_t>(cel) * length, length);
        }
    }
    return bytes;
}

std::string ReadBasic(const GeneratedTables& tables, const WriterOptions& options,
                      const std::string& text) {
    std::string bytes;
    long expected = options.lineStart;
    for (const std::string& line : Lines(text, options.crlf ? "\r\n" : "\n")) {
        const std::size_t blank = line.find(' ');
        FUZZ_CHECK(blank != std::string::npos);
        FUZZ_CHECK(line.substr(0, blank) == std::to_string(expected));
        FUZZ_CHECK(expected <= kLastBasicLine);
        expected += options.lineStep;
        const std::string rest = line.substr(blank);
        if (rest.starts_with(" REM ")) continue;
        FUZZ_CHECK(rest.starts_with(" DATA "));
        const std::vector<std::string> tokens = Split(rest.substr(6), ',');
        FUZZ_CHECK(tokens.size() <= 8);
        for (const std::string& token : tokens) {
            FUZZ_CHECK(token.size() == 4 && token.starts_with("&H"));
            bytes += static_cast<char>(Hex(token.substr(2)));
        }
    }
    FUZZ_CHECK(expected - options.lineStart == long{BasicLineCount(tables)} * options.lineStep);
    return bytes;
}

// The tables the source formats write: the layer colours, where there are any, as one more table
// of each cel.
GeneratedTables SourceTables(const GeneratedTables& tables) {
    if (tables.layerColours.empty()) return tables;
    GeneratedTables out = tables;
    const auto layers = static_cast<std::size_t>(tables.layers);
    out.shapes.push_back({TableRole::kLayerColours, layers});
    out.celLength += layers;
    out.layerColours.clear();
    out.values.clear();
    for (int cel = 0; cel < tables.celCount; ++cel) {
        const auto values = tables.Cel(cel);
        out.values.insert(out.values.end(), values.begin(), values.end());
        for (std::size_t i = 0; i < layers; ++i) {
            out.values.push_back(tables.layerColours[layers * static_cast<std::size_t>(cel) + i]);
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    // The first bytes pick the size, the tables and the writer settings; a name and a directive of
    // a few bytes follow; the rest are pixels.
    const int width = 1 + data[0] % 24;
    const int height = 1 + data[1] % 9;
    const int cels = 1 + data[2] % 3;
    GeneratorOptions options;
    options.outputType = (data[3] & 1) ? OutputType::kChr : OutputType::kSprite;
    options.layers = std::min(1 + (data[3] >> 1 & 1) + (data[3] >> 4 & 3), 4);
    options.colorData = data[3] & 4;
    WriterOptions writer;
    writer.crlf = data[3] & 8;
    writer.numberStyle = static_cast<NumberStyle>(data[4] % 5);
    writer.lineStart = (data[5] | data[6] << 8) % (kLastBasicLine + 1);
    writer.lineStep = 1 + data[7] * 37;
    const std::size_t nameLength = data[8] % 6;
    std::size_t at = 9;
    const auto take = [&](std::size_t count) {
        std::string text;
        for (; count > 0 && at < size; --count) text += static_cast<char>(data[at++]);
        return text;
    };
    writer.name = LabelName(take(nameLength));
    // Up to 11 bytes: longer than the usual directives (db, defb, .byte) too.
    writer.directive = take(at < size ? data[at++] % 12 : 0);
    if (writer.directive.empty() || writer.directive.find_first_of("\r\n") != std::string::npos) {
        writer.directive = "db";
    }
    writer.source = "fuzz.dat";
    if (at >= size) return 0;

    std::vector<std::uint8_t> image(static_cast<std::size_t>(3 + width * height * cels));
    image[0] = static_cast<std::uint8_t>(width);
    image[1] = static_cast<std::uint8_t>(height);
    image[2] = static_cast<std::uint8_t>(cels);
    for (std::size_t i = 3; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(data[at + (i - 3) % (size - at)] & 15);
    }
    FUZZ_CHECK(CheckSpriteImage(image.data(), image.size(), "fuzz.dat").ok());
    const GeneratedTables tables = GenerateTables(CaptureDocument(image.data()), options);

    // Layers without colour data name each cel's first colours in order of appearance, one a
    // layer.
    const bool layerColours =
        options.layers > 1 && !options.colorData && options.outputType == OutputType::kSprite;
    const auto layers = static_cast<std::size_t>(options.layers);
    FUZZ_CHECK(tables.layerColours.size() ==
               (layerColours ? layers * static_cast<std::size_t>(cels) : 0u));
    for (int cel = 0; layerColours && cel < cels; ++cel) {
        std::vector<TableValue> seen;
        const std::size_t first = 3 + static_cast<std::size_t>(cel * width * height);
        for (std::size_t i = first; i < first + static_cast<std::size_t>(width * height); ++i) {
            const TableValue v = image[i];
            if (v != 0 && seen.size() < layers &&
                std::find(seen.begin(), seen.end(), v) == seen.end()) {
                seen.push_back(v);
            }
        }
        seen.resize(layers, 0);
        FUZZ_CHECK(
            std::equal(seen.begin(), seen.end(),
                       tables.layerColours.begin() +
                           static_cast<std::ptrdiff_t>(layers * static_cast<std::size_t>(cel))));
    }
    const Result<std::string> bin = WriteTables(tables, TableFormat::kBin, writer);
    FUZZ_CHECK(bin.ok() && bin->size() == tables.values.size());
    const GeneratedTables source = SourceTables(tables);
    const std::string bytes(source.values.begin(), source.values.end());
    const Result<std::string> asmText = WriteTables(tables, TableFormat::kAsm, writer);
    FUZZ_CHECK(asmText.ok() && ReadAsm(source, writer, *asmText) == bytes);
    const Result<std::string> cText = WriteTables(tables, TableFormat::kC, writer);
    FUZZ_CHECK(cText.ok() && ReadC(source, writer, *cText) == bytes);
    const Result<std::string> basic = WriteTables(tables, TableFormat::kBasic, writer);
    const long last = writer.lineStart + long{writer.lineStep} * (BasicLineCount(tables) - 1);
    if (last > kLastBasicLine) {
        FUZZ_CHECK(!basic.ok() && basic.message().starts_with("The "));
    } else {
        FUZZ_CHECK(basic.ok() && ReadBasic(source, writer, *basic) == bytes);
    }
    return 0;
}
