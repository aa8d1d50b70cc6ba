#include "generator/regenerate.h"

#include <algorithm>
#include <bit>

#include "generator/layer_basis.h"
#include "generator/table_kinds.h"
#include "generator/writers.h"

GeneratorKind ChooseGenerator(const GeneratorOptions& options) {
    return ChooseTableKind(options).kind;
}

int FewestLayers(const CapturedDocument& doc, const GeneratorOptions& options) {
    // Each cel in parts as the tables split it: lines of pieces with sprite sets, else whole
    // lines; without colour data, the colours of a whole piece or cel count together.
    const int side = options.pieces > 0 ? options.pieces : std::max(doc.width, 1);
    const int tall = options.pieces > 0 ? options.pieces : std::max(doc.height, 1);
    int most = 1;
    for (int cel = 0; cel < doc.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, doc.width, doc.height, cel);
        for (int y0 = 0; y0 < doc.height; y0 += tall) {
            for (int x0 = 0; x0 < doc.width; x0 += side) {
                const int columns = std::min(side, doc.width - x0);
                unsigned all = 0;
                for (int y = y0; y < std::min(y0 + tall, doc.height); ++y) {
                    const ColourSet line = ColoursOf(
                        pixels + static_cast<std::ptrdiff_t>(y) * doc.width + x0, columns);
                    all |= line;
                    if (options.colorData) most = std::max(most, LayersNeeded(line));
                }
                if (!options.colorData) most = std::max(most, std::popcount(all));
            }
        }
    }
    return std::min(most, kMostLayers);
}

GeneratorOptions WithLayersChosen(const CapturedDocument& doc, GeneratorOptions options) {
    if (options.layers == kAutoLayers) options.layers = FewestLayers(doc, options);
    return options;
}

void GenerateTables(const CapturedDocument& doc, const GeneratorOptions& options,
                    GeneratedTables& out) {
    const GeneratorOptions chosen = WithLayersChosen(doc, options);
    ChooseTableKind(chosen).generate(doc, chosen, out);
}

GeneratedTables GenerateTables(const CapturedDocument& doc, const GeneratorOptions& options) {
    GeneratedTables tables;
    GenerateTables(doc, options, tables);
    return tables;
}

GenerationResult Regenerate(const CapturedDocument& doc, const GeneratorOptions& options) {
    const GeneratedTables tables = GenerateTables(doc, options);
    OutputText out;
    WriteHex(tables, options.comma, out);
    return {out.Take(), tables.resultCode};
}
