#pragma once
// The tables of a generation as data: what the four generators make and every writer (the
// hexadecimal text, assembler, C, BASIC, binary) turns into output. Every cel has the same tables,
// in the same order and of the same lengths, so the values lie cel by cel and, within a cel,
// table by table.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "generator/result_codes.h"

// Which generator made the tables. The hexadecimal text lays its lines out by it: one line per
// table for sprites, one line per cel (patterns "," colours) for characters.
enum class GeneratorKind { kSprite, kSprite2Layers, kSprite2LayersNoColor, kChr };

// What a table holds. A cel's tables come in this order: single-layer sprites kPattern and, with
// colour data, kColour; characters kPattern, kColour; two layers kPattern1, kPattern2 and, with
// colour data, kColour1, kColour2. kLayerColours is the table the assembler, C and BASIC writers
// add after two layers without colour data (GeneratedTables::layerColours).
enum class TableRole { kPattern, kColour, kPattern1, kPattern2, kColour1, kColour2, kLayerColours };

// "pattern", "colour", "pattern1", "pattern2", "colour1", "colour2", "colours": the role in
// labels.
std::string_view RoleName(TableRole role);

// One value of a table: a byte for every document whose pixels are colour indices 0 to 15, which
// is every document a sprite file or the editor holds. Only character tables of pixel bytes above
// 15 go past 255 (foreground × 16 + background); the hexadecimal text writes them with more
// digits, the other writers refuse them.
using TableValue = std::uint16_t;

struct TableShape {
    TableRole role;
    std::size_t length;  // values in the table, the same in every cel
};

struct GeneratedTables {
    GeneratorKind kind = GeneratorKind::kSprite;
    std::vector<TableShape> shapes;  // the tables of one cel, in order
    int celCount = 0;
    std::size_t celLength = 0;       // values per cel: the sum of the shapes' lengths
    std::vector<TableValue> values;  // cel by cel, table by table
    int resultCode = kNoError;       // what the generator found, as the Generate window shows it
    // Two layers without colour data: per cel, layer 1's colour and layer 2's (0 for an empty
    // layer), which the sprite attribute table needs. Not a table of the hexadecimal text or the
    // binary output; empty for every other generator.
    std::vector<TableValue> layerColours;

    // Lays the tables out for celCount cels of these shapes, every value 0, and the result code
    // kNoError. Keeps the storage of an earlier generation.
    void Reset(GeneratorKind madeBy, std::initializer_list<TableShape> celShapes, int cels);

    // The values of one cel, all its tables one after the other.
    std::span<TableValue> Cel(int cel) {
        return std::span(values).subspan(static_cast<std::size_t>(cel) * celLength, celLength);
    }
    std::span<const TableValue> Cel(int cel) const {
        return std::span(values).subspan(static_cast<std::size_t>(cel) * celLength, celLength);
    }
    // Table t (an index into shapes) of one cel.
    std::span<const TableValue> Table(int cel, std::size_t t) const;
};
