#include "cli/tables_command.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "base/file_writer.h"
#include "cli/cli_support.h"
#include "cli/table_options.h"
#include "document/sprite_file.h"
#include "generator/clashes.h"
#include "generator/label_name.h"
#include "generator/regenerate.h"

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
std::optional<std::string> WriteAll(const std::vector<FileTables>& files,
                                    const TablesCommandLine& line, std::ostream& err) {
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
bool Deliver(const std::string& output, const TablesCommandLine& line, std::ostream& out,
             std::ostream& err) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(output.data());
    return WriteOutput(line.output.value_or("-"), std::span(bytes, output.size()),
                       line.format == TableFormat::kBin, out, err);
}

}  // namespace

int RunTables(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const std::optional<TablesCommandLine> line = ParseTablesCommandLine(args, "tables", true, err);
    if (!line) return kExitFailure;
    const bool toStandardOutput = !line->output || *line->output == "-";
    if (line->format == TableFormat::kBin && toStandardOutput && IsTerminal(out)) {
        return UsageError(err, "--format bin writes bytes, not to a terminal: give -o FILE");
    }
    if (!toStandardOutput) {
        for (const std::string& file : line->files) {
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
    for (const std::string& path : line->files) {
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
        if (file.tables.resultCode == kNoError) {
            for (const std::string& lost :
                 FindUncoveredPixels(CaptureDocument(file.doc->Buffer()), line->tables)) {
                err << file.path << ": " << lost << "\n";
            }
            continue;
        }
        for (const std::string& clash :
             FindClashes(CaptureDocument(file.doc->Buffer()), line->tables)) {
            err << file.path << ": " << clash << "\n";
        }
        err << file.path << ": " << ResultMessage(file.tables.resultCode) << "\n";
        status = kExitRuleBroken;
    }
    return status;
}

int RunCheck(std::span<const std::string> args, std::ostream&, std::ostream& err) {
    const std::optional<TablesCommandLine> line = ParseTablesCommandLine(args, "check", false, err);
    if (!line) return kExitFailure;
    int status = kExitOk;
    for (const std::string& path : line->files) {
        const auto doc = LoadDocument(path, err);
        if (!doc) {
            status = kExitFailure;
            continue;
        }
        const std::vector<std::string> clashes =
            FindClashes(CaptureDocument(doc->Buffer()), line->tables);
        for (const std::string& clash : clashes) err << path << ": " << clash << "\n";
        if (!clashes.empty()) status = std::max(status, kExitRuleBroken);
    }
    return status;
}

const CliCommand& TablesCommand() {
    static const CliCommand command = {
        "tables",
        "[--type sprite|chr] [--two-layers] [--color-data]\n"
        "      [--no-comma] [--format FORMAT] [--name ID] [--directive TEXT]\n"
        "      [--number-style STYLE] [--line-start N] [--line-step N] [--eol lf|crlf]\n"
        "      [-o FILE] FILE.dat...",
        "Write the data tables of every cel of each FILE, one file after the other. Without\n"
        "options exactly the text of the Generate window (CR LF line breaks): sprite tables, one\n"
        "layer, no colour data, \"#\" tokens separated by \",\".\n"
        "  --type sprite|chr     sprite (default) or character tables      e.g. --type chr\n"
        "  --two-layers          split sprites into two layers\n"
        "  --color-data          add colour bytes to sprite tables\n"
        "  --no-comma            hex: bare digits, no \"#\" and no \",\"\n"
        "  --format FORMAT       hex (default), asm (db lines), c (arrays), e.g. --format asm\n"
        "                        basic (DATA lines), bin (the bytes alone)\n"
        "  --name ID             asm, c, basic: NAME in NAME_c1_pattern,    e.g. --name ship\n"
        "                        NAME_pattern, REM NAME; default the file's\n"
        "                        name made an identifier (letters, digits, _)\n"
        "  --directive TEXT      asm: before the bytes; default db         e.g. --directive defb\n"
        "  --number-style STYLE  asm: $ ($30, default), # (#30), 0x (0x30), e.g. --number-style h\n"
        "                        &H (&H30) or h (30h, 0A5h)\n"
        "  --line-start N        basic: the first line number; default 10  e.g. --line-start 1000\n"
        "  --line-step N         basic: the step between lines; default 10 e.g. --line-step 5\n"
        "  --eol lf|crlf         asm, c, basic: line ends; default lf      e.g. --eol crlf\n"
        "  -o FILE               write FILE (replaced only once complete)  e.g. -o ship.asm\n"
        "                        instead of standard output (-); bin needs it\n"
        "A row that breaks a two-layer rule is named on standard error (exit status 1), as by\n"
        "check.",
        RunTables};
    return command;
}

const CliCommand& CheckCommand() {
    static const CliCommand command = {
        "check", "[--type sprite|chr] [--two-layers] [--color-data] FILE.dat...",
        "Write one line on standard error for every row that the tables of these options cannot\n"
        "show as drawn, with its place (cels from 1, rows and columns from 0), and nothing on\n"
        "standard output:\n"
        "  walk.dat: cel 2, row 5: colours 1, 3, 4: 4 is not 1 OR 3\n"
        "  walk.dat: cel 2, row 6: 4 colours (5, 1, 2, 3); 3 is dropped\n"
        "  walk.dat: cel 1, row 3: colours 5 and 7; the line takes 5   (--color-data)\n"
        "  font.dat: cel 1, row 3, columns 0 to 7: colours 1, 4 and 6; 6 is drawn as 4\n"
        "  wide.dat: cel 1, row 0: columns 16 to 31 are not in any sprite pattern\n"
        "Exit status 1 when there is such a row, 0 when there is none.",
        RunCheck};
    return command;
}
