#pragma once
// spritehex-cli: subcommands that work on .dat files without the editor. The command line is run
// by RunCli, which writes only to the streams it is given, so it can be tested in-process.

#include <ostream>
#include <span>
#include <string>
#include <string_view>

inline constexpr int kExitOk = 0;
inline constexpr int kExitRuleBroken = 1;  // tables written, but a two-layer rule is broken
inline constexpr int kExitFailure = 2;     // bad usage, or a file that cannot be read or used

struct CliCommand {
    std::string_view name;
    std::string_view operands;  // after the options in the usage line: "FILE.dat..."
    std::string_view summary;   // the help before the lines of its options
    // Runs with the arguments after the command name; returns the exit status.
    int (*run)(std::span<const std::string> args, std::ostream& out, std::ostream& err);
    unsigned options = 0;      // the CommandBit of its options (cli_options.h); 0: none
    std::string_view details;  // the help after the lines of its options
};

// tables, check, info and decode.
std::span<const CliCommand> CoreCommands();

// Runs a command line (without the program name) with the core commands.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);
// The same with a given set of commands, for a program that adds its own to the core ones.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           std::span<const CliCommand> commands);
