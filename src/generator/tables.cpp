#include "generator/tables.h"

std::string_view RoleName(TableRole role) {
    switch (role) {
        case TableRole::kPattern:
            return "pattern";
        case TableRole::kColour:
            return "colour";
        case TableRole::kPattern1:
            return "pattern1";
        case TableRole::kPattern2:
            return "pattern2";
        case TableRole::kColour1:
            return "colour1";
        case TableRole::kColour2:
            return "colour2";
        case TableRole::kLayerColours:
            return "colours";
        case TableRole::kSprites:
            return "sprites";
        case TableRole::kPattern3:
            return "pattern3";
        case TableRole::kPattern4:
            return "pattern4";
        case TableRole::kColour3:
            return "colour3";
        case TableRole::kColour4:
            return "colour4";
    }
    return "table";
}

TableRole LayerPatternRole(int layer) {
    constexpr TableRole kRoles[] = {TableRole::kPattern1, TableRole::kPattern2,
                                    TableRole::kPattern3, TableRole::kPattern4};
    return kRoles[layer];
}

TableRole LayerColourRole(int layer) {
    constexpr TableRole kRoles[] = {TableRole::kColour1, TableRole::kColour2, TableRole::kColour3,
                                    TableRole::kColour4};
    return kRoles[layer];
}

void GeneratedTables::Reset(GeneratorKind madeBy, std::span<const TableShape> celShapes, int cels) {
    kind = madeBy;
    shapes.assign(celShapes.begin(), celShapes.end());
    celCount = cels > 0 ? cels : 0;
    celLength = 0;
    for (const TableShape& shape : shapes) celLength += shape.length;
    values.assign(static_cast<std::size_t>(celCount) * celLength, 0);
    layerColours.clear();
    pieces = 0;
    layers = 0;
    lengths.clear();
    celStarts.clear();
    resultCode = kNoError;
}

void GeneratedTables::ResetVarying(GeneratorKind madeBy, std::initializer_list<TableRole> roles,
                                   int cels) {
    Reset(madeBy, {}, cels);
    for (const TableRole role : roles) shapes.push_back({role, 0});
    values.clear();
    celStarts.assign(1, 0);
}

void GeneratedTables::AddTable(std::span<const TableValue> table) {
    values.insert(values.end(), table.begin(), table.end());
    lengths.push_back(table.size());
    if (lengths.size() % shapes.size() == 0) celStarts.push_back(values.size());
}

std::span<const TableValue> GeneratedTables::Table(int cel, std::size_t t) const {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < t; ++i) offset += Length(cel, i);
    return Cel(cel).subspan(offset, Length(cel, t));
}
