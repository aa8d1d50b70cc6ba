// spritehex-cli: the command line goes to RunCli with the core commands, png and import; text is
// written exactly as generated.
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
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<CliCommand> commands(CoreCommands().begin(), CoreCommands().end());
    commands.push_back(PngCommand());
    commands.push_back(ImportCommand());
    return RunCli(args, std::cout, std::cerr, commands);
}
