#pragma once
// The kinds of tables, one row each: the options that choose a kind, its generator and the roles
// of the tables it makes for every cel. And the types of tables that the Generate window's T key
// and spritehex-cli's --type choose between, with the words each shows. A new kind is its
// generator and a row here.

#include <array>
#include <cstddef>
#include <string_view>

#include "generator/captured_document.h"
#include "generator/options.h"
#include "generator/tables.h"

struct TableTypeRow {
    OutputType type;
    std::string_view name;   // the word of spritehex-cli's --type
    std::string_view title;  // the Generate window's, after "Type: "
    std::string_view note;   // what it makes, for the help: "character" tables
};

// The types in the order the help names them and T shows them; the first is the default.
inline constexpr TableTypeRow kTableTypes[] = {
    {OutputType::kSprite, "sprite", "Sprite", "sprite"},
    {OutputType::kChr, "chr", "Chr", "character"},
};

// The row of a type.
const TableTypeRow& TableTypeOf(OutputType type);
// The type of a --type word, or nothing.
const TableTypeRow* FindTableType(std::string_view name);
// The type T shows after this one: the next row, then the first again.
OutputType NextTableType(OutputType type);

struct PiecesRow {
    int pieces;              // GeneratorOptions::pieces
    std::string_view name;   // the word of spritehex-cli's --pieces; empty: not given there
    std::string_view title;  // the Generate window's, after "Pieces: "
};

// The piece sizes in the order P shows them; the first is the default.
inline constexpr PiecesRow kPieceSizes[] = {
    {0, "", "off"},
    {16, "16", "16 × 16"},
    {8, "8", "8 × 8"},
};

// The row of a piece size.
const PiecesRow& PiecesOf(int pieces);
// The piece size P shows after this one: the next row, then the first again.
int NextPieces(int pieces);

struct LayersRow {
    int layers;              // GeneratorOptions::layers
    std::string_view name;   // the word of spritehex-cli's --layers
    std::string_view title;  // the Generate window's, after "Layers: "
};

// The layer choices in the order L shows them; the first is the default.
inline constexpr LayersRow kLayerChoices[] = {
    {1, "1", "1"}, {2, "2", "2"}, {3, "3", "3"}, {4, "4", "4"}, {kAutoLayers, "auto", "auto"},
};

// The row of a layer choice.
const LayersRow& LayersOf(int layers);
// The choice L shows after this one: the next row, then the first again.
int NextLayers(int layers);

// Whether a kind needs an option on or off, or leaves it as it is.
enum class Setting { kAny, kOff, kOn };

struct TableKindRow {
    GeneratorKind kind;
    OutputType type;
    int layers;  // GeneratorOptions::layers, or 0 for any
    Setting colorData;
    Setting pieces;  // on: sprite sets (GeneratorOptions::pieces not 0)
    // Lays out and fills every cel's tables, and sets the result code.
    void (*generate)(const CapturedDocument& doc, const GeneratorOptions& options,
                     GeneratedTables& out);
    std::array<TableRole, 8> roles;  // the tables of a cel, in order
    std::size_t roleCount;
};

// The row of the kind the options choose: the first row whose settings they meet. The layers
// must be chosen (not kAutoLayers).
const TableKindRow& ChooseTableKind(const GeneratorOptions& options);
