#pragma once
// spritehex-cli png: one cel of a sprite file as a PNG picture at twice its size, the same picture
// as the editor's PNG export, assembled from the colour strip color.bmp.

#include <ostream>
#include <span>
#include <string>

#include "cli/cli.h"

// The png command; its colour strip is the color.bmp beside the running program.
const CliCommand& PngCommand();

// The png command with the colour strip read from stripDir/color.bmp.
int RunPng(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const std::string& stripDir);
