#include "cli/cli.h"

#include <memory>
#include <optional>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "cli/decode_command.h"
#include "cli/tables_command.h"
#include "document/sprite_document.h"

namespace {

// The one FILE operand of a command, or nothing after saying what is wrong.
std::optional<std::string> OneFile(const std::vector<std::string>& files, std::string_view command,
                                   std::ostream& err) {
    if (files.size() == 1) return files.front();
    UsageError(err, std::string(command) +
                        (files.empty() ? " needs a FILE.dat" : " takes only one FILE.dat"));
    return std::nullopt;
}

int RunInfo(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const std::optional<CommandLine> line = ReadCommandLine(args, "info", 0, err);
    if (!line) return kExitFailure;
    const std::optional<std::string> file = OneFile(line->operands, "info", err);
    if (!file) return kExitFailure;
    const auto doc = LoadDocument(*file, err);
    if (!doc) return kExitFailure;
    out << "width: " << doc->Width() << "\nheight: " << doc->Height()
        << "\ncels: " << doc->CelCount() << "\n";
    return Flushed(out, err) ? kExitOk : kExitFailure;
}

// The usage line of a command: its options and operands, in lines of at most 80 characters.
std::string UsageLine(const CliCommand& command) {
    std::vector<std::string> words = OptionSynopsis(command.options);
    if (!command.operands.empty()) words.emplace_back(command.operands);
    std::string usage = "  " + std::string(kCliProgram) + " " + std::string(command.name);
    std::size_t lineStart = 0;
    for (const std::string& word : words) {
        if (usage.size() - lineStart + 1 + word.size() > 80) {
            lineStart = usage.size() + 1;
            usage += "\n     ";
        }
        usage += " " + word;
    }
    return usage;
}

void PrintHelp(std::ostream& out, std::span<const CliCommand> commands) {
    out << "Usage:\n";
    for (const CliCommand& command : commands) out << UsageLine(command) << "\n";
    out << "  " << kCliProgram << " --help | --version\n";
    for (const CliCommand& command : commands) {
        out << "\n" << command.name << ":\n" << command.summary << "\n";
        if (command.options != 0) out << OptionHelp(command.options);
        if (!command.details.empty()) out << command.details << "\n";
    }
    out << "\nExit status: 0 on success; 1 when the tables were written but break a two-layer\n"
           "rule, or check found a row the tables cannot show (the lines go to standard error);\n"
           "2 on a wrong command line, a file that cannot be read or is not a sprite file, a\n"
           "picture that cannot be imported, tables that cannot be read back, or an output that\n"
           "cannot be written.\n";
}

}  // namespace

std::span<const CliCommand> CoreCommands() {
    static const CliCommand commands[] = {
        TablesCommand(),
        CheckCommand(),
        {"info", "FILE.dat", "Print the width, height and cel count of a sprite file.", RunInfo, 0,
         ""},
        DecodeCommand(),
    };
    return commands;
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
        if (args.size() > 1) return UsageError(err, "--version takes nothing after it");
        out << kCliProgram << " " << SPRITEHEX_VERSION << "\n";
        return Flushed(out, err) ? kExitOk : kExitFailure;
    }
    for (const CliCommand& command : commands) {
        if (args.front() == command.name) return command.run(args.subspan(1), out, err);
    }
    return UsageError(err, "unknown command '" + args.front() + "'");
}
