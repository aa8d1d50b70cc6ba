#pragma once
// spritehex-cli decode: tables that tables wrote, in any format, back into a sprite file whose cels
// are what the video chip shows of them.

#include <istream>
#include <ostream>
#include <span>
#include <string>

#include "cli/cli.h"

// The decode command; IN "-" is standard input.
const CliCommand& DecodeCommand();

// The decode command with IN "-" read from in.
int RunDecode(std::span<const std::string> args, std::istream& in, std::ostream& out,
              std::ostream& err);
