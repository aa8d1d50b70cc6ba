#pragma once
// The tables of a generation as data: what the four generators make and every writer (the
// hexadecimal text, assembler, C, BASIC, binary) turns into output. Every cel has the same tables
// in the same order; the values lie cel by cel and, within a cel, table by table. The tables of
// a cel have the same lengths in every cel, but in sprite sets, where a cel has as many hardware
// sprites as it has pieces with pixels.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "generator/result_codes.h"

// Which generator made the tables. The hexadecimal text lays its lines out by it: one line per
// table for sprites, one line per cel (patterns "," colours) for characters.
// Sprite sets lay their tables out like sprites: one line per table.
enum class GeneratorKind { kSprite, kSpriteLayers, kSpriteLayersNoColor, kChr, kSpriteSet };

// What a table holds. A cel's tables come in this order: single-layer sprites kPattern and, with
// colour data, kColour; characters kPattern, kColour; N layers (2 to 4) kPattern1 ... kPatternN
// and, with colour data, kColour1 ... kColourN; sprite sets kPattern, with colour data kColour, and
// kSprites, the sprite table (4 bytes per hardware sprite: y, x, pattern number, colour; then
// 0xD0). kLayerColours is the table the assembler, C and BASIC writers add after two layers without
// colour data (GeneratedTables::layerColours).
enum class TableRole {
    kPattern,
    kColour,
    kPattern1,
    kPattern2,
    kColour1,
    kColour2,
    kLayerColours,
    kSprites,
    kPattern3,
    kPattern4,
    kColour3,
    kColour4
};

// Layer `layer` (0 to 3)'s pattern role and colour role: kPattern1 ... kPattern4, kColour1 ...
// kColour4.
TableRole LayerPatternRole(int layer);
TableRole LayerColourRole(int layer);

// "pattern", "colour", "pattern1", "pattern2", "colour1", "colour2", "colours", "sprites": the
// role in labels.
std::string_view RoleName(TableRole role);

// One value of a table: a byte for every document whose pixels are colour indices 0 to 15, which
// is every document a sprite file or the editor holds. Only character tables of pixel bytes above
// 15 go past 255 (foreground × 16 + background); the hexadecimal text writes them with more
// digits, the other writers refuse them.
using TableValue = std::uint16_t;

struct TableShape {
    TableRole role;
    std::size_t length;  // values in the table, the same in every cel; 0 where cels differ
};

struct GeneratedTables {
    GeneratorKind kind = GeneratorKind::kSprite;
    std::vector<TableShape> shapes;  // the tables of one cel, in order
    int celCount = 0;
    std::size_t celLength = 0;       // values per cel: the sum of the shapes' lengths; 0 where
                                     // cels differ
    std::vector<TableValue> values;  // cel by cel, table by table
    int resultCode = kNoError;       // what the generator found, as the Generate window shows it
    // Layers without colour data: per cel, each layer's colour (0 for an empty layer), which the
    // sprite attribute table needs. Not a table of the hexadecimal text or the binary output;
    // empty for every other generator.
    std::vector<TableValue> layerColours;
    // Sprite sets: the side of a piece (16 or 8), else 0. Layered sprites and sprite sets: the
    // layers (the hardware sprites of a cel or piece, 2 to 4; sprite sets also 1), else 0.
    int pieces = 0;
    int layers = 0;
    // Where cels differ in length (sprite sets): the length of every cel's tables, cel by cel,
    // and where each cel starts in values (celCount + 1 offsets). Empty when every cel has the
    // shapes' lengths.
    std::vector<std::size_t> lengths;
    std::vector<std::size_t> celStarts;

    // Lays the tables out for celCount cels of these shapes, every value 0, and the result code
    // kNoError. Keeps the storage of an earlier generation.
    void Reset(GeneratorKind madeBy, std::span<const TableShape> celShapes, int cels);
    void Reset(GeneratorKind madeBy, std::initializer_list<TableShape> celShapes, int cels) {
        Reset(madeBy, std::span(celShapes.begin(), celShapes.size()), cels);
    }

    // Lays the tables out for celCount cels of these roles whose lengths differ from cel to cel,
    // no values yet: AddTable then adds every cel's tables in order.
    void ResetVarying(GeneratorKind madeBy, std::initializer_list<TableRole> roles, int cels);
    void AddTable(std::span<const TableValue> table);

    // The values of one cel, all its tables one after the other.
    std::span<TableValue> Cel(int cel) {
        const CelRange range = RangeOf(cel);
        return std::span(values).subspan(range.start, range.length);
    }
    std::span<const TableValue> Cel(int cel) const {
        const CelRange range = RangeOf(cel);
        return std::span(values).subspan(range.start, range.length);
    }
    // The length of table t (an index into shapes) in one cel.
    std::size_t Length(int cel, std::size_t t) const {
        if (lengths.empty()) return shapes[t].length;
        return lengths[static_cast<std::size_t>(cel) * shapes.size() + t];
    }
    // Table t of one cel.
    std::span<const TableValue> Table(int cel, std::size_t t) const;

  private:
    struct CelRange {
        std::size_t start;
        std::size_t length;
    };
    CelRange RangeOf(int cel) const {
        const auto c = static_cast<std::size_t>(cel);
        if (celStarts.empty()) return {c * celLength, celLength};
        return {celStarts[c], celStarts[c + 1] - celStarts[c]};
    }
};
