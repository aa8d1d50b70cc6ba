#pragma once
// How many hardware sprites the tables of a cel put on each of its pixel lines, against the
// number the video chip shows on one line (the rest of a line's sprites are not shown).

#include <string>
#include <vector>

#include "generator/captured_document.h"
#include "generator/options.h"

// Per pixel line of the cel (from 0), the hardware sprites whose rows cover it: without pieces
// every layer of the cel (1 or 2) on every line; with pieces, each piece with a drawn pixel counts
// its layers on every line it spans within the cel, its empty rows too. 0 for character tables.
std::vector<int> SpritesOnLines(const CapturedDocument& doc, int cel,
                                const GeneratorOptions& options);

// The sprites the chip shows on one line for these tables: 8 with colour data, 4 without.
int ChipSpritesPerLine(const GeneratorOptions& options);

// Every run of lines of one count over the limit, cel by cel: "cel 2, lines 0 to 15: 6 sprites
// on a line; the chip shows 4" ("line 3" for a run of one).
std::vector<std::string> LinesOverSpriteLimit(const CapturedDocument& doc,
                                              const GeneratorOptions& options, int limit);
