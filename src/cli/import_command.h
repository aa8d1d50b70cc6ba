#pragma once
// spritehex-cli import: a PNG picture or sprite sheet as a sprite file, through the same import as
// the editor's, matched against the colour strip color.bmp.

#include <ostream>
#include <span>
#include <string>

#include "cli/cli.h"

// The import command; its colour strip is the color.bmp beside the running program.
const CliCommand& ImportCommand();

// The import command with the colour strip read from stripDir/color.bmp.
int RunImport(std::span<const std::string> args, std::ostream& out, std::ostream& err,
              const std::string& stripDir);
