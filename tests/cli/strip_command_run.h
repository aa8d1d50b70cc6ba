#pragma once
// Runs png or import in-process with the colour strip of a test's own folder, keeping what it
// wrote to standard output and standard error.

#include <sstream>
#include <string>
#include <vector>

#include "cli/colour_strip_beside.h"

struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

inline CommandRun RunStripCommand(StripCommand command, const std::vector<std::string>& args,
                                  const std::string& stripDir) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = command(args, out, err, stripDir);
    return {status, out.str(), err.str()};
}
