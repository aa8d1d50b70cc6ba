#include "cli/cli.h"

#include <memory>
#include <optional>
#include <vector>

#include "cli/cli_support.h"
#include "document/sprite_document.h"
#include "generator/regenerate.h"

namespace {

// The one FILE operand of a command, or nothing after saying what is wrong.
std::optional<std::string> OneFile(const std::vector<std::string>& files, std::string_view command,
                                   std::ostream& err) {
    if (files.size() == 1) return files.front();
    UsageError(err, std::string(command) +
                        (files.empty() ? " needs a FILE.dat" : " takes only one FILE.dat"));
    return std::nullopt;
}

int RunTables(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    GeneratorOptions options;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !IsOption(arg)) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--two-layers") {
            options.twoLayers = true;
        } else if (arg == "--color-data") {
            options.colorData = true;
        } else if (arg == "--no-comma") {
            options.comma = 0;
        } else if (std::optional<std::string> type; IsOptionWithValue(args, i, "--type", type)) {
            if (!type) return UsageError(err, "option '--type' needs a value: sprite or chr");
            if (*type == "sprite") {
                options.outputType = OutputType::kSprite;
            } else if (*type == "chr") {
                options.outputType = OutputType::kChr;
            } else {
                return UsageError(err, "unknown table type '" + *type + "': use sprite or chr");
            }
        } else {
            return UsageError(err, "unknown option '" + arg + "' for tables");
        }
    }
    const std::optional<std::string> file = OneFile(files, "tables", err);
    if (!file) return kExitFailure;
    const auto doc = LoadDocument(*file, err);
    if (!doc) return kExitFailure;

    const GenerationResult result = Regenerate(CaptureDocument(doc->Buffer()), options);
    out.write(result.text.data(), static_cast<std::streamsize>(result.text.size()));
    if (!Flushed(out, err)) return kExitFailure;
    if (result.resultCode != kNoError) {
        err << *file << ": " << ResultMessage(result.resultCode) << "\n";
        return kExitRuleBroken;
    }
    return kExitOk;
}

int RunInfo(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || !IsOption(arg)) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else {
            return UsageError(err, "unknown option '" + arg + "' for info");
        }
    }
    const std::optional<std::string> file = OneFile(files, "info", err);
    if (!file) return kExitFailure;
    const auto doc = LoadDocument(*file, err);
    if (!doc) return kExitFailure;
    out << "width: " << doc->Width() << "\nheight: " << doc->Height()
        << "\ncels: " << doc->CelCount() << "\n";
    return Flushed(out, err) ? kExitOk : kExitFailure;
}

constexpr CliCommand kCoreCommands[] = {
    {"tables", "[--type sprite|chr] [--two-layers] [--color-data] [--no-comma] FILE.dat",
     "Write the data tables of every cel to standard output, exactly as the Generate window\n"
     "shows them (CR LF line breaks). Defaults: sprite tables, one layer, no colour data,\n"
     "\"#\" tokens separated by \",\".\n"
     "  --type sprite|chr  sprite tables or character tables\n"
     "  --two-layers       split sprites into two layers\n"
     "  --color-data       add colour bytes to sprite tables\n"
     "  --no-comma         bare hexadecimal digits, no \"#\" and no \",\"",
     RunTables},
    {"info", "FILE.dat", "Print the width, height and cel count of a sprite file.", RunInfo},
};

void PrintHelp(std::ostream& out, std::span<const CliCommand> commands) {
    out << "Usage:\n";
    for (const CliCommand& command : commands) {
        out << "  " << kCliProgram << " " << command.name << " " << command.synopsis << "\n";
    }
    out << "  " << kCliProgram << " --help | --version\n";
    for (const CliCommand& command : commands) {
        out << "\n" << command.name << ":\n" << command.summary << "\n";
    }
    out << "\nExit status: 0 on success; 1 when the tables were written but break a two-layer\n"
           "rule (the message goes to standard error); 2 on a wrong command line, a file that\n"
           "cannot be read or is not a sprite file, a picture that cannot be imported, or an\n"
           "output file that cannot be written.\n";
}

}  // namespace

std::span<const CliCommand> CoreCommands() {
    return kCoreCommands;
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    return RunCli(args, out, err, CoreCommands());
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           std::span<const CliCommand> commands) {
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") {
            PrintHelp(out, commands);
            return Flushed(out, err) ? kExitOk : kExitFailure;
        }
    }
    if (args.empty()) return UsageError(err, "missing command");
    if (args.front() == "--version") {
        out << kCliProgram << " " << SPRITEHEX_VERSION << "\n";
        return Flushed(out, err) ? kExitOk : kExitFailure;
    }
    for (const CliCommand& command : commands) {
        if (args.front() == command.name) return command.run(args.subspan(1), out, err);
    }
    return UsageError(err, "unknown command '" + args.front() + "'");
}
