#pragma once
// The writers of generated tables: the hexadecimal text of the Generate window, and output ready
// for an assembler, a C compiler, a BASIC interpreter or a binary file. Each writes every cel's
// tables in the order the generator made them.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"
#include "generator/output_text.h"
#include "generator/tables.h"

enum class TableFormat { kHex, kAsm, kC, kBasic, kBin };

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

// The text of the Generate window: CR LF line breaks; in comma mode "#" tokens joined by "," and
// a "," at the end of every line but the last. Sprite tables give a line per table and no break
// after the last; character tables a line per cel (patterns, ",", colours), each ended by a break.
// Replaces what out held.
void WriteHex(const GeneratedTables& tables, int comma, OutputText& out);

// Per cel and table a label line "NAME_cN_ROLE:" (cels from 1), then lines of up to 16 bytes: a
// tab, the directive, a blank and the bytes joined by ",".
std::string WriteAsm(const GeneratedTables& tables, const WriterOptions& options);

// A header: a comment naming the source, an include guard NAME_TABLES_H (in capitals),
// "#define NAME_CELS N", and per role one array "static const unsigned char NAME_ROLE[N][B]" with
// a "/* cel N */" comment before each cel's row.
std::string WriteC(const GeneratedTables& tables, const WriterOptions& options);

// Numbered lines: "REM NAME cel N ROLE" before each table, then "DATA &H30,&H05", up to 8 bytes a
// line. Fails when a line number would pass kLastBasicLine.
Result<std::string> WriteBasic(const GeneratedTables& tables, const WriterOptions& options);
inline constexpr int kLastBasicLine = 65529;
// The number of lines WriteTables writes in BASIC for these tables.
int BasicLineCount(const GeneratedTables& tables);

// The bytes alone, cel by cel and table by table.
std::string WriteBin(const GeneratedTables& tables);

// The writer of the format. Every format but hex needs values that are bytes, and BASIC line
// numbers up to kLastBasicLine; the error says which value or line is out of reach. The
// assembler, C and BASIC formats add a "colours" table to each cel of two-layer tables without
// colour data (layerColours); the hexadecimal text and the binary output stay the tables alone.
Result<std::string> WriteTables(const GeneratedTables& tables, TableFormat format,
                                const WriterOptions& options);

// "hex", "asm", "c", "basic", "bin": the names spritehex-cli takes.
std::string_view FormatName(TableFormat format);
