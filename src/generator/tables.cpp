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
    }
    return "table";
}

void GeneratedTables::Reset(GeneratorKind madeBy, std::initializer_list<TableShape> celShapes,
                            int cels) {
    kind = madeBy;
    shapes.assign(celShapes);
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
