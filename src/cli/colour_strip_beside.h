#pragma once
// The commands that paint or match colours (png, import) use the colour strip color.bmp that lies
// beside the running program, as the editor does.

#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "image/rgb_image.h"

// A command that takes the folder its colour strip lies in, so tests can give their own.
using StripCommand = int (*)(std::span<const std::string> args, std::ostream& out,
                             std::ostream& err, const std::string& stripDir);

// Runs the command with the running program's folder; exit status 2 when that cannot be found.
int RunBesideProgram(StripCommand command, std::span<const std::string> args, std::ostream& out,
                     std::ostream& err);

// stripDir/color.bmp, or nothing after saying why it cannot be used.
std::optional<RgbImage> LoadColourStrip(const std::string& stripDir, std::ostream& err);
