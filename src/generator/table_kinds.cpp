#include "generator/table_kinds.h"

#include <iterator>

#include "generator/generators.h"

namespace {

using R = TableRole;
using S = Setting;

void Sprite(const CapturedDocument& doc, const GeneratorOptions& options, GeneratedTables& out) {
    GenerateSprite(doc, doc.width, doc.height, options.colorData, out);
}
void Chr(const CapturedDocument& doc, const GeneratorOptions&, GeneratedTables& out) {
    GenerateChr(doc, doc.width, doc.height, out);
}
void TwoLayers(const CapturedDocument& doc, const GeneratorOptions&, GeneratedTables& out) {
    GenerateSprite2Layers(doc, doc.width, doc.height, out);
}
void SpriteSet(const CapturedDocument& doc, const GeneratorOptions& options, GeneratedTables& out) {
    GenerateSpriteSet(doc, options, out);
}
void TwoLayersNoColour(const CapturedDocument& doc, const GeneratorOptions&, GeneratedTables& out) {
    GenerateSprite2LayersNoColor(doc, doc.width, doc.height, out);
}
void ManyLayers(const CapturedDocument& doc, const GeneratorOptions& options,
                GeneratedTables& out) {
    GenerateSpriteLayers(doc, doc.width, doc.height, options.layers, out);
}
void ManyLayersNoColour(const CapturedDocument& doc, const GeneratorOptions& options,
                        GeneratedTables& out) {
    GenerateSpriteLayersNoColor(doc, doc.width, doc.height, options.layers, out);
}

// Every kind, in the order they are tried. Character tables ignore layers, colour data and
// pieces. Sprite sets have the same roles with any number of layers: a cel's sprites follow each
// other.
constexpr TableKindRow kKinds[] = {
    {GeneratorKind::kChr, OutputType::kChr, 0, S::kAny, S::kAny, Chr, {R::kPattern, R::kColour}, 2},
    {GeneratorKind::kSprite, OutputType::kSprite, 1, S::kOff, S::kOff, Sprite, {R::kPattern}, 1},
    {GeneratorKind::kSprite,
     OutputType::kSprite,
     1,
     S::kOn,
     S::kOff,
     Sprite,
     {R::kPattern, R::kColour},
     2},
    {GeneratorKind::kSpriteLayersNoColor,
     OutputType::kSprite,
     2,
     S::kOff,
     S::kOff,
     TwoLayersNoColour,
     {R::kPattern1, R::kPattern2},
     2},
    {GeneratorKind::kSpriteLayers,
     OutputType::kSprite,
     2,
     S::kOn,
     S::kOff,
     TwoLayers,
     {R::kPattern1, R::kPattern2, R::kColour1, R::kColour2},
     4},
    {GeneratorKind::kSpriteLayersNoColor,
     OutputType::kSprite,
     3,
     S::kOff,
     S::kOff,
     ManyLayersNoColour,
     {R::kPattern1, R::kPattern2, R::kPattern3},
     3},
    {GeneratorKind::kSpriteLayers,
     OutputType::kSprite,
     3,
     S::kOn,
     S::kOff,
     ManyLayers,
     {R::kPattern1, R::kPattern2, R::kPattern3, R::kColour1, R::kColour2, R::kColour3},
     6},
    {GeneratorKind::kSpriteLayersNoColor,
     OutputType::kSprite,
     4,
     S::kOff,
     S::kOff,
     ManyLayersNoColour,
     {R::kPattern1, R::kPattern2, R::kPattern3, R::kPattern4},
     4},
    {GeneratorKind::kSpriteLayers,
     OutputType::kSprite,
     4,
     S::kOn,
     S::kOff,
     ManyLayers,
     {R::kPattern1, R::kPattern2, R::kPattern3, R::kPattern4, R::kColour1, R::kColour2, R::kColour3,
      R::kColour4},
     8},
    {GeneratorKind::kSpriteSet,
     OutputType::kSprite,
     0,
     S::kOff,
     S::kOn,
     SpriteSet,
     {R::kPattern, R::kSprites},
     2},
    {GeneratorKind::kSpriteSet,
     OutputType::kSprite,
     0,
     S::kOn,
     S::kOn,
     SpriteSet,
     {R::kPattern, R::kColour, R::kSprites},
     3},
};

// The row of a table of choices whose field holds the value, or the first row.
template <typename Row, std::size_t N, typename Value>
const Row& RowOf(const Row (&rows)[N], Value value, Value Row::*field) {
    for (const Row& row : rows) {
        if (row.*field == value) return row;
    }
    return rows[0];
}

// The value of the row after the value's, then of the first row again.
template <typename Row, std::size_t N, typename Value>
Value NextOf(const Row (&rows)[N], Value value, Value Row::*field) {
    const Row* next = &RowOf(rows, value, field) + 1;
    return next == std::end(rows) ? rows[0].*field : next->*field;
}

bool Meets(Setting setting, bool value) {
    return setting == Setting::kAny || (setting == Setting::kOn) == value;
}

}  // namespace

const TableTypeRow& TableTypeOf(OutputType type) {
    return RowOf(kTableTypes, type, &TableTypeRow::type);
}

const TableTypeRow* FindTableType(std::string_view name) {
    for (const TableTypeRow& row : kTableTypes) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

OutputType NextTableType(OutputType type) {
    return NextOf(kTableTypes, type, &TableTypeRow::type);
}

const LayersRow& LayersOf(int layers) {
    return RowOf(kLayerChoices, layers, &LayersRow::layers);
}

int NextLayers(int layers) {
    return NextOf(kLayerChoices, layers, &LayersRow::layers);
}

const PiecesRow& PiecesOf(int pieces) {
    return RowOf(kPieceSizes, pieces, &PiecesRow::pieces);
}

int NextPieces(int pieces) {
    return NextOf(kPieceSizes, pieces, &PiecesRow::pieces);
}

const TableKindRow& ChooseTableKind(const GeneratorOptions& options) {
    for (const TableKindRow& row : kKinds) {
        if (row.type == options.outputType && (row.layers == 0 || row.layers == options.layers) &&
            Meets(row.colorData, options.colorData) && Meets(row.pieces, options.pieces != 0)) {
            return row;
        }
    }
    return kKinds[1];
}
