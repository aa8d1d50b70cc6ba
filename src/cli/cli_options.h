#pragma once
// Every option of every spritehex-cli command, one row each, and the one loop that reads a command
// line with them. The help of each command is written from the same rows.

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generator/options.h"
#include "generator/writers.h"
#include "image/picture_import.h"

// The commands that take options, as bits of the rows that name them.
enum CommandBit : unsigned {
    kTablesCommand = 1U << 0,
    kCheckCommand = 1U << 1,
    kPngCommand = 1U << 2,
    kImportCommand = 1U << 3,
    kDecodeCommand = 1U << 4,
};

// What the options of any command set, and the operands.
struct CommandLine {
    GeneratorOptions tables;                  // tables, check, decode
    TableFormat format = kFormats[0].format;  // tables, decode
    WriterOptions writer;                     // tables; name and source are set per file
    std::optional<std::string> name;          // tables: --name, for the one FILE
    std::optional<std::string> output;        // tables: -o FILE; "-" or none: standard output
    std::optional<int> spritesPerLine;        // tables, check: --sprites-per-line
    std::optional<int> layersGiven;           // tables, check: --layers (into tables.layers)
    std::optional<std::string> cel;           // png: counted from 1
    ImportOptions import;                     // import; the cel size of decode too
    bool sizeGiven = false;                   // import, decode
    std::optional<int> cels;                  // decode: --cels
    std::optional<int> offset;                // decode: --offset
    std::vector<int> colours;                 // decode: --colour, one or two
    bool scaleGiven = false;                  // import
    std::vector<std::string> given;           // the options given, once each
    std::vector<std::string> operands;
};

struct CliOption {
    std::string_view name;     // "--type", "-o"
    std::string_view value;    // what follows it in the help, "sprite|chr"; empty for a flag
    unsigned commands;         // the CommandBit of every command that takes it
    unsigned writerOption;     // the WriterOption it sets, for the check against the format; or 0
    std::string_view help;     // after the formats that take it, if it is a writer option
    std::string_view example;  // for the help
    std::string_view needs;    // for a missing value: "option '--x' needs " NEEDS
    std::string (*helpOf)();   // or the help made from a table of names
    std::string (*needsOf)();  // or NEEDS made from a table of names
    // Takes the option's value (or, for a flag, nothing) into the command line: what is wrong
    // with the value, or nothing.
    std::optional<std::string> (*take)(CommandLine& line, const std::string& value);
    unsigned neededBy = 0;  // the CommandBit of every command that cannot run without it
};

// Reads the options a command takes and its operands ("--" ends the options; "-" is an operand).
// Options are "--name VALUE", "--name=VALUE" or "-o FILE", each at most once; those the command
// needs must be there. On a usage error says what is wrong on err and gives nothing.
std::optional<CommandLine> ReadCommandLine(std::span<const std::string> args,
                                           std::string_view command, unsigned commandBit,
                                           std::ostream& err);

// Refuses an option given for a format that does not take it: false after saying so.
bool OptionsFitFormat(const CommandLine& line, std::ostream& err);

// The options of a command, for the usage line: in brackets but those it needs.
std::vector<std::string> OptionSynopsis(unsigned commandBit);
// The help lines of a command's options: the option, what it does, an example.
std::string OptionHelp(unsigned commandBit);

// A whole number from low to high: decimal digits only, no sign.
std::optional<int> NumberIn(std::string_view text, int low, int high);
