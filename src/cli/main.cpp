// spritehex-cli: the command line goes to RunCli with the core commands, png and import; text is
// written exactly as generated.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/cli.h"
#include "cli/import_command.h"
#include "cli/png_command.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    // The tables carry their own CR LF line breaks; no translation.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // Messages can run to a line for every row of every cel; they go out in blocks, not in a write
    // for every piece of a line, and all of them before the program ends.
    static char messages[1 << 16];
    std::setvbuf(stderr, messages, _IOFBF, sizeof messages);
    std::cerr.unsetf(std::ios::unitbuf);
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<CliCommand> commands(CoreCommands().begin(), CoreCommands().end());
    commands.push_back(PngCommand());
    commands.push_back(ImportCommand());
    const int status = RunCli(args, std::cout, std::cerr, commands);
    std::cerr.flush();
    std::fflush(stderr);
    return status;
}
