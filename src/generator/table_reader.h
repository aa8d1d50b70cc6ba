#pragma once
// Written tables read back: the text or bytes a writer of kFormats wrote, as the tables of the
// kind a set of options chooses, for cels of a given size. The values are read in order; the
// names of labels, remarks and arrays only say which tables the text holds:
//
// - bin: the bytes from an offset, cel by cel, table by table;
// - hex: "#30" tokens, or bare pairs of digits "3005", between blanks, "," and line breaks;
// - asm: per line an optional label ("NAME_c1_pattern:"), a directive (db, defb, .byte ...) and
//   its bytes ($30, #30, 0x30, &H30, 30h, 0A5h or 48); ";" starts a comment;
// - basic: numbered lines, REM or DATA &H30,48;
// - c: the values inside each array's braces (0x30, 48 or 060), one array per table holding
//   every cel; comments, preprocessor lines and what is between [ and ] are skipped.
//
// Two-layer sprites without colour data have a "colours" table after each cel's patterns (two
// bytes, layer 1's and layer 2's colour) in asm, basic and c where the text names one (a label,
// remark or array of that role); it goes into layerColours. Labels, remarks and arrays that name
// roles must name those of the kind, in its order.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "generator/options.h"
#include "generator/tables.h"
#include "generator/writers.h"

struct TableSource {
    GeneratorOptions options;           // the kind of tables: type, two layers, colour data
    int width = 8;                      // of a cel, 1 to 64
    int height = 8;                     // 1 to 64
    std::optional<TableFormat> format;  // how to read them; nothing: told from the bytes
    std::optional<std::size_t> offset;  // bin: where the tables start; without format, means bin
    int cels = 0;                       // how many to read; 0: every whole cel, up to kMaxCels
};

struct TablesRead {
    GeneratedTables tables;
    TableFormat format = TableFormat::kHex;  // as read
    // Values left over after the last cel read, as a sentence naming the file; empty when none.
    std::string note;
};

// How bytes of tables are read when no format is given. Bytes that are not text (printable ASCII,
// tab, CR, LF or UTF-8) are bin. Text is told by its first word: "/*", "//", "static", "const" or
// "#" before a word that is not hexadecimal digits is c; a line number before REM or DATA is
// basic; a label (a word ending in ":"), a comment (";") or a directive (a word starting with a
// letter, "." or "!" before more text on its line) is asm; anything else is hex.
TableFormat DetectTableFormat(std::string_view bytes);

// Reads every cel's tables. Fails, naming the file as shown, on empty bytes, a token that is not
// a byte ("walk.asm:3:12: '$G0' is not a byte", lines and columns from 1), names of other tables
// than the kind's, or fewer values than source.cels (or one) cels need.
Result<TablesRead> ReadTables(std::string_view bytes, const TableSource& source,
                              std::string_view shown);
