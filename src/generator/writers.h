#pragma once
// The output formats of generated tables: the hexadecimal text of the Generate window, and output
// ready for an assembler, a C compiler, a BASIC interpreter or a binary file. Each format is one
// row of kFormats, which spritehex-cli's --format, its help and the Generate window's F key read,
// and one writer, which writes every cel's tables in the order the generator made them. A new
// format is a writer file, its declaration and row here, and its line in CMakeLists.txt.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"
#include "generator/output_text.h"
#include "generator/tables.h"

// How the assembler writes a byte: $30, #30, 0x30, &H30 or 30h (0A5h: a leading 0 before a letter).
enum class NumberStyle { kDollar, kHash, kZeroX, kAmpersandH, kSuffixH };

struct WriterOptions {
    int comma = kCommaOn;          // hex: "#" tokens and "," (kCommaOn) or bare digits
    std::string name = "sprite";   // asm, c, basic: NAME of labels, arrays, remarks
    std::string source;            // c: the file the tables come from ("ship.dat"), for a comment
    std::string directive = "db";  // asm: written before each line's bytes
    NumberStyle numberStyle = NumberStyle::kDollar;  // asm
    int lineStart = 10;                              // basic: the first line number
    int lineStep = 10;                               // basic: from one line number to the next
    bool crlf = false;                               // asm, c, basic: CR LF line ends instead of LF
};

// The writer options, as the bits of the ones a format takes: an option given for a format that
// does not take it is refused.
enum WriterOption : unsigned {
    kTakesComma = 1U << 0,
    kTakesName = 1U << 1,
    kTakesDirective = 1U << 2,
    kTakesNumberStyle = 1U << 3,
    kTakesLineNumbers = 1U << 4,
    kTakesEol = 1U << 5,
};

// Every writer but the hexadecimal text's runs on values that are bytes only (WriteTables checks).
using TableWriter = Result<std::string> (*)(const GeneratedTables&, const WriterOptions&);

// The text of the Generate window: CR LF line breaks; in comma mode "#" tokens joined by "," and
// a "," at the end of every line but the last. Sprite tables give a line per table and no break
// after the last; character tables a line per cel (patterns, ",", colours), each ended by a break.
// Replaces what out held.
void WriteHex(const GeneratedTables& tables, int comma, OutputText& out);
// The same as a writer of the format table, in the comma mode of the options.
Result<std::string> WriteHexText(const GeneratedTables& tables, const WriterOptions& options);

// Per cel and table a label line "NAME_cN_ROLE:" (cels from 1), then lines of up to 16 bytes: a
// tab, the directive, a blank and the bytes joined by ",".
Result<std::string> WriteAsm(const GeneratedTables& tables, const WriterOptions& options);

// A header: a comment naming the source, an include guard NAME_TABLES_H (in capitals),
// "#define NAME_CELS N", and per role one array "static const unsigned char NAME_ROLE[N][B]" with
// a "/* cel N */" comment before each cel's row. Where cels differ in length (sprite sets), one
// array per cel and role, "NAME_cN_ROLE[B]", and for a table of no bytes a comment
// "/* NAME_cN_ROLE: no bytes */" instead.
Result<std::string> WriteC(const GeneratedTables& tables, const WriterOptions& options);

// Numbered lines: "REM NAME cel N ROLE" before each table, then "DATA &H30,&H05", up to 8 bytes a
// line. Fails when a line number would pass kLastBasicLine.
Result<std::string> WriteBasic(const GeneratedTables& tables, const WriterOptions& options);
inline constexpr int kLastBasicLine = 65529;
// The number of lines WriteTables writes in BASIC for these tables.
int BasicLineCount(const GeneratedTables& tables);

// The bytes alone, cel by cel and table by table. Checks, as it goes, that every value is a byte.
Result<std::string> WriteBin(const GeneratedTables& tables, const WriterOptions& options);

// Fails, naming the first value above 0xFF and the table that holds it, unless every value is a
// byte: every format but hex writes each value as one byte.
Result<> AllBytes(const GeneratedTables& tables);

enum class TableFormat { kHex, kAsm, kC, kBasic, kBin };

struct FormatRow {
    TableFormat format;
    std::string_view name;   // the word of spritehex-cli's --format
    std::string_view title;  // the Generate window's, where F shows it; empty: not in the window
    std::string_view note;   // what the output is made of, for the help; empty for the default
    TableWriter write;
    unsigned takes;          // the WriterOption bits of the options it takes
    bool namesLayerColours;  // adds the "colours" table where the tables hold layer colours
    bool binary;             // bytes, not text: written to a file or a pipe only
};

// The formats in the order the help names them and F shows them; the first is the default.
inline constexpr FormatRow kFormats[] = {
    {TableFormat::kHex, "hex", "Hex", "", WriteHexText, kTakesComma, false, false},
    {TableFormat::kAsm, "asm", "Assembler", "db lines", WriteAsm,
     kTakesName | kTakesDirective | kTakesNumberStyle | kTakesEol, true, false},
    {TableFormat::kC, "c", "C", "arrays", WriteC, kTakesName | kTakesEol, true, false},
    {TableFormat::kBasic, "basic", "BASIC", "DATA lines", WriteBasic,
     kTakesName | kTakesLineNumbers | kTakesEol, true, false},
    {TableFormat::kBin, "bin", "", "the bytes alone", WriteBin, 0, false, true},
};

// The row of a format.
const FormatRow& FormatOf(TableFormat format);
// The format of a --format word, or nothing.
const FormatRow* FindFormat(std::string_view name);
// The format F shows after this one in the Generate window: the next row with a title, then the
// first again.
TableFormat NextWindowFormat(TableFormat format);

// The writer of the format. Every format but hex needs values that are bytes, and BASIC line
// numbers up to kLastBasicLine; the error says which value or line is out of reach. The formats
// that name layer colours add a "colours" table to each cel of two-layer tables without colour
// data (layerColours); the others stay the tables alone.
Result<std::string> WriteTables(const GeneratedTables& tables, TableFormat format,
                                const WriterOptions& options);
