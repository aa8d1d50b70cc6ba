#pragma once
// What the chosen tables cannot show as drawn, row by row, in words: the check that names every
// clash with its place, where a generation reports only its last result code.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "generator/captured_document.h"
#include "generator/options.h"

// One line for every row that breaks a rule of the tables the options choose, cel by cel (from
// 1) and row by row (from 0), each "cel 2, row 5: " and then:
// - two layers with colour data: "colours 1, 3, 4: 4 is not 1 OR 3", or "4 colours (5, 1, 2,
//   3); 3 is dropped" (in order of appearance; only the first three are kept);
// - two layers without colour data: "colour 3 is not one of the cel's two (1 and 2); it is
//   dropped", for every row that holds a colour past the cel's first two;
// - one layer with colour data: "colours 5 and 7; the line takes 5";
// - characters, per 8-pixel segment: "cel 1, row 3, columns 0 to 7: colours 1, 4 and 6; 6 is
//   drawn as 4";
// - sprite sets (pieces on): the rule of the kind for each piece's part of a row, with its
//   columns: "cel 1, row 3, columns 16 to 31: colours 5 and 7; the line takes 5"; two layers
//   without colour data "colour 3 is not one of the piece's two (1 and 2); it is dropped";
// - every kind but sprite sets: "columns 16 to 31 are not in any sprite pattern" (or character
//   pattern) for drawn pixels, not colour 0, from column 16 on.
// A row can give two lines: a colour clash, then the columns.
std::vector<std::string> FindClashes(const CapturedDocument& doc, const GeneratorOptions& options);

// Only the lines of FindClashes for drawn pixels that no table holds (columns from 16 on), put to
// out: each line after `before` and ended by a line break. A document can have one for every row
// of every cel.
void PutUncoveredPixels(const CapturedDocument& doc, const GeneratorOptions& options,
                        std::string_view before, std::ostream& out);

// The first and last column, from 16 on, that holds a drawn pixel in a cel of width x height
// pixels; nothing when every drawn pixel lies in the tables.
struct ColumnRange {
    int first = 0;
    int last = 0;
};
std::optional<ColumnRange> UncoveredColumns(const std::uint8_t* cel, int width, int height);
