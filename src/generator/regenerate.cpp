#include "generator/regenerate.h"

#include "generator/table_kinds.h"
#include "generator/writers.h"

GeneratorKind ChooseGenerator(const GeneratorOptions& options) {
    return ChooseTableKind(options).kind;
}

void GenerateTables(const CapturedDocument& doc, const GeneratorOptions& options,
                    GeneratedTables& out) {
    ChooseTableKind(options).generate(doc, options, out);
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
