#include "cli/tables_command.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "base/file_writer.h"
#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "document/sprite_file.h"
#include "generator/clashes.h"
#include "generator/decode_tables.h"
#include "generator/label_name.h"
#include "generator/regenerate.h"
#include "generator/sprite_lines.h"
#include "generator/table_kinds.h"

namespace {

struct FileTables {
    std::string path;
    std::string name;  // NAME of its labels
    std::unique_ptr<TSpriteDocument> doc;
    GeneratedTables tables;
};

// Labels and arrays of two files of one name would clash in the output.
bool NamesDiffer(const std::vector<FileTables>& files, TableFormat format, std::ostream& err) {
    if (format != TableFormat::kAsm && format != TableFormat::kC) return true;
    // C's include guards are the names in capitals: Ship and ship would share one.
    const auto key = [format](std::string name) {
        if (format == TableFormat::kC) {
            for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        return name;
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (key(files[i].name) != key(files[j].name)) continue;
            err << kCliProgram << ": " << files[j].path << " and " << files[i].path
                << " both make the name " << files[i].name
                << ", so their labels would clash; rename one, or run " << kCliProgram
                << " once for each\n";
            return false;
        }
    }
    return true;
}

// The output of every file in turn. Hex texts are kept apart by a line break, BASIC lines go on
// counting from file to file.
std::optional<std::string> WriteAll(const std::vector<FileTables>& files, const CommandLine& line,
                                    std::ostream& err) {
    std::string output;
    std::int64_t next = line.writer.lineStart;
    for (const FileTables& file : files) {
        WriterOptions writer = line.writer;
        writer.name = file.name;
        writer.source = FileNameOfPath(file.path);
        writer.lineStart = static_cast<int>(std::min<std::int64_t>(next, kLastBasicLine + 1));
        Result<std::string> text = WriteTables(file.tables, line.format, writer);
        if (!text) {
            err << kCliProgram << ": " << text.message();
            if (line.format == TableFormat::kBasic)
                err << " Choose a smaller --line-start or --line-step.";
            err << "\n";
            return std::nullopt;
        }
        if (line.format == TableFormat::kHex && !output.empty() && !output.ends_with("\r\n")) {
            output += "\r\n";
        }
        output += text.value();
        next += std::int64_t{BasicLineCount(file.tables)} * line.writer.lineStep;
    }
    return output;
}

// Standard output, or the file of -o through the one writer of files.
bool Deliver(const std::string& output, const CommandLine& line, std::ostream& out,
             std::ostream& err) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(output.data());
    return WriteOutput(line.output.value_or("-"), std::span(bytes, output.size()),
                       FormatOf(line.format).binary, out, err);
}

// The command line of tables or check, with the checks of its operands and of the options against
// the format.
std::optional<CommandLine> ReadTablesLine(std::span<const std::string> args,
                                          std::string_view command, unsigned commandBit,
                                          std::ostream& err) {
    std::optional<CommandLine> line = ReadCommandLine(args, command, commandBit, err);
    if (!line || !OptionsFitFormat(*line, err)) return std::nullopt;
    std::string wrong;
    const std::optional<int> layers = line->layersGiven;
    if (layers && *layers != 2 &&
        std::find(line->given.begin(), line->given.end(), "--two-layers") != line->given.end()) {
        wrong = "--two-layers is --layers 2; it cannot go with --layers " +
                std::string(LayersOf(*layers).name);
    } else if (layers && line->tables.outputType == OutputType::kChr) {
        wrong = "--layers splits sprites; character tables (--type chr) have no layers";
    } else if (line->operands.empty()) {
        wrong = std::string(command) + " needs a FILE.dat";
    } else if (line->name && line->operands.size() > 1) {
        wrong = "--name takes one FILE.dat; with several, each is named after its file";
    } else if (line->tables.pieces != 0 && line->tables.outputType == OutputType::kChr) {
        wrong = "--pieces makes sprite sets; character tables (--type chr) have no sprites";
    } else if (FormatOf(line->format).binary && !line->output) {
        wrong = "--format " + std::string(FormatOf(line->format).name) +
                " needs -o FILE (or -o - for a pipe): it writes bytes, not text";
    }
    if (!wrong.empty()) {
        UsageError(err, wrong);
        return std::nullopt;
    }
    if (layers) line->tables.layers = *layers;
    return line;
}

// Lines about a file, each after its path, in one write: a document can have a line for every row
// of every cel.
void NameEach(const std::string& path, const std::vector<std::string>& lines, std::ostream& err) {
    std::size_t size = 0;
    for (const std::string& text : lines) size += path.size() + 2 + text.size() + 1;
    std::string all;
    all.reserve(size);
    for (const std::string& text : lines) {
        all += path;
        all += ": ";
        all += text;
        all += '\n';
    }
    err << all;
}

// The layers --layers auto chose for a file.
void SayLayersChosen(const std::string& path, const CapturedDocument& doc, const CommandLine& line,
                     std::ostream& err) {
    if (line.tables.layers != kAutoLayers || line.tables.outputType == OutputType::kChr) return;
    const int layers = FewestLayers(doc, line.tables);
    err << path << ": --layers auto: " << layers << (layers == 1 ? " layer\n" : " layers\n");
}

// Every run of lines of a file with more sprites than the chip shows on a line: true when there is
// one.
bool NameCrowdedLines(const std::string& path, const CapturedDocument& doc, const CommandLine& line,
                      std::ostream& err) {
    const int limit = line.spritesPerLine.value_or(ChipSpritesPerLine(line.tables));
    const std::vector<std::string> crowded = LinesOverSpriteLimit(doc, line.tables, limit);
    NameEach(path, crowded, err);
    return !crowded.empty();
}

}  // namespace

int RunTables(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const std::optional<CommandLine> line = ReadTablesLine(args, "tables", kTablesCommand, err);
    if (!line) return kExitFailure;
    const bool toStandardOutput = !line->output || *line->output == "-";
    if (FormatOf(line->format).binary && toStandardOutput && IsTerminal(out)) {
        return UsageError(err, "--format " + std::string(FormatOf(line->format).name) +
                                   " writes bytes, not to a terminal: give -o FILE");
    }
    if (!toStandardOutput) {
        for (const std::string& file : line->operands) {
            if (!SameFile(file, *line->output)) continue;
            err << kCliProgram << ": " << *line->output << ": is the sprite file " << file
                << " itself; write the tables elsewhere\n";
            return kExitFailure;
        }
    }

    // Every file is read first: a file that cannot be used stops the run before anything is
    // written.
    std::vector<FileTables> files;
    bool unreadable = false;
    for (const std::string& path : line->operands) {
        FileTables file{path, {}, LoadDocument(path, err), {}};
        if (!file.doc) {
            unreadable = true;
            continue;
        }
        file.name = line->name.value_or(LabelName(file.doc->Names().name));
        GenerateTables(CaptureDocument(file.doc->Buffer()), line->tables, file.tables);
        files.push_back(std::move(file));
    }
    if (unreadable || !NamesDiffer(files, line->format, err)) return kExitFailure;
    const std::optional<std::string> output = WriteAll(files, *line, err);
    if (!output || !Deliver(*output, *line, out, err)) return kExitFailure;

    // A broken two-layer rule: every row that breaks it, then the message of the window. Drawn
    // pixels that no table holds are named as check names them, as a warning.
    int status = kExitOk;
    for (const FileTables& file : files) {
        SayLayersChosen(file.path, CaptureDocument(file.doc->Buffer()), *line, err);
        NameCrowdedLines(file.path, CaptureDocument(file.doc->Buffer()), *line, err);
        if (file.tables.resultCode == kNoError) {
            PutUncoveredPixels(CaptureDocument(file.doc->Buffer()), line->tables, file.path + ": ",
                               err);
            continue;
        }
        NameEach(file.path, FindClashes(CaptureDocument(file.doc->Buffer()), line->tables), err);
        err << file.path << ": " << ResultMessage(file.tables.resultCode) << "\n";
        status = kExitRuleBroken;
    }
    return status;
}

int RunCheck(std::span<const std::string> args, std::ostream&, std::ostream& err) {
    const std::optional<CommandLine> line = ReadTablesLine(args, "check", kCheckCommand, err);
    if (!line) return kExitFailure;
    int status = kExitOk;
    for (const std::string& path : line->operands) {
        const auto doc = LoadDocument(path, err);
        if (!doc) {
            status = kExitFailure;
            continue;
        }
        // The verdict is the decoded tables' own; the lines say why each row differs.
        const CapturedDocument captured = CaptureDocument(doc->Buffer());
        SayLayersChosen(path, captured, *line, err);
        NameEach(path, FindClashes(captured, line->tables), err);
        const bool crowded = NameCrowdedLines(path, captured, *line, err);
        if (crowded || !RowsNotAsDrawn(captured, line->tables).empty()) {
            status = std::max(status, kExitRuleBroken);
        }
    }
    return status;
}

const CliCommand& TablesCommand() {
    static const CliCommand command = {
        "tables",
        "FILE.dat...",
        "Write the data tables of every cel of each FILE, one file after the other. Without\n"
        "options exactly the text of the Generate window (CR LF line breaks): sprite tables, one\n"
        "layer, no colour data, \"#\" tokens separated by \",\".",
        RunTables,
        kTablesCommand,
        "A row that breaks a two-layer rule is named on standard error (exit status 1), as by\n"
        "check. Lines with more sprites than the chip shows are named as a warning (exit 0)."};
    return command;
}

const CliCommand& CheckCommand() {
    static const CliCommand command = {
        "check",
        "FILE.dat...",
        "Check that the tables of these options show every cel as drawn.",
        RunCheck,
        kCheckCommand,
        "Write one line on standard error for every row that the tables of these options cannot\n"
        "show as drawn, with its place (cels from 1, rows and columns from 0), and nothing on\n"
        "standard output:\n"
        "  walk.dat: cel 2, row 5: colours 1, 3, 4: 4 is not 1 OR 3\n"
        "  walk.dat: cel 2, row 6: 4 colours (5, 1, 2, 3); 3 is dropped\n"
        "  walk.dat: cel 1, row 3: colours 5 and 7; the line takes 5   (--color-data)\n"
        "  font.dat: cel 1, row 3, columns 0 to 7: colours 1, 4 and 6; 6 is drawn as 4\n"
        "  wide.dat: cel 1, row 0: columns 16 to 31 are not in any sprite pattern\n"
        "  big.dat: cel 1, row 3, columns 16 to 31: colours 5 and 7; the line takes 5  (--pieces)\n"
        "and one for every run of lines with more sprites than the chip shows on a line:\n"
        "  walk.dat: cel 2, lines 0 to 15: 6 sprites on a line; the chip shows 4\n"
        "Exit status 1 when there is such a row or line, 0 when there is none."};
    return command;
}
