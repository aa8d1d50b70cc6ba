#pragma once
// The command line of spritehex-cli tables and check: which tables, in which format, written
// where, from which files.

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "generator/options.h"
#include "generator/writers.h"

struct TablesCommandLine {
    GeneratorOptions tables;
    TableFormat format = TableFormat::kHex;
    WriterOptions writer;               // name and source are set per file
    std::optional<std::string> name;    // --name, for the one FILE
    std::optional<std::string> output;  // -o FILE; "-" or none: standard output
    std::vector<std::string> files;
};

// The command line of tables (withOutput) or check (the table options alone). On a usage error
// says what is wrong on err and gives nothing.
std::optional<TablesCommandLine> ParseTablesCommandLine(std::span<const std::string> args,
                                                        std::string_view command, bool withOutput,
                                                        std::ostream& err);
