#pragma once
// One row of a cel as the chip shows it, in words, for the editor's state line: colours are
// written as their keys (0 to 9, A to F).
//   "row 5: 7 | 8 OR → F"                a pixel in both layers shows their colours' OR
//   "row 3: 5 and 7: the line takes 5"   one colour a sprite line
//   "row 3: columns 16–31: 5 and 7: the line takes 5"   the same in a sprite set's piece
//   "row 4: 3 is dropped; 6 shows as 4"  what else the chip shows otherwise
//   "row 2: columns 16–20 are in no table"
//   "row 2: as drawn"

#include <string>

#include "generator/decode_tables.h"

std::string DescribeChipRow(const ChipCel& chip, int row);
