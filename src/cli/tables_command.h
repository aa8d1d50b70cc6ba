#pragma once
// spritehex-cli tables and check: the tables of sprite files in every format, and every row those
// tables cannot show as drawn.

#include <ostream>
#include <span>
#include <string>

#include "cli/cli.h"

int RunTables(std::span<const std::string> args, std::ostream& out, std::ostream& err);
int RunCheck(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The two commands with their help.
const CliCommand& TablesCommand();
const CliCommand& CheckCommand();
