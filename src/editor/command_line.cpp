#include "editor/command_line.h"

namespace {

constexpr const char* kUsage = "usage: spritehex [FILE.dat] | --help | --version";

EditorCommandLine UsageError(const std::string& what) {
    return {EditorCommandLine::Action::kUsageError, {}, "spritehex: " + what + "; " + kUsage};
}

}  // namespace

// As spritehex-cli reads its own: --help anywhere before "--" wins, --version only comes first.
EditorCommandLine ParseEditorCommandLine(std::span<const std::string> args) {
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") return {EditorCommandLine::Action::kHelp, {}, {}};
    }
    if (!args.empty() && args.front() == "--version") {
        if (args.size() > 1) return UsageError("--version takes nothing after it");
        return {EditorCommandLine::Action::kVersion, {}, {}};
    }
    EditorCommandLine line;
    bool optionsEnded = false;
    int files = 0;
    for (const std::string& arg : args) {
        // "-" alone is a file name, as everywhere; "--" ends the options.
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (++files > 1) return UsageError("more than one FILE.dat");
            line.path = arg;
        } else if (arg == "--") {
            optionsEnded = true;
        } else {
            return UsageError("unknown option '" + arg + "'");
        }
    }
    if (files == 1 && line.path.empty()) return UsageError("an empty file name");
    return line;
}

std::string EditorHelpText() {
    return "Usage:\n"
           "  spritehex [FILE.dat]     start the sprite editor, with FILE.dat open if given\n"
           "  spritehex --help | --version\n"
           "\n"
           "Press F1 in the editor for its keys. While a document has unsaved changes, the editor\n"
           "keeps a recovery copy of it in ~/.local/share/spritehex/recovery/ and offers it at\n"
           "the next start if the editor was killed or lost its display.\n"
           "\n"
           "Exit status: 0 when the editor closes; 1 when it cannot start (no display, a missing\n"
           "pal.bmp or color.bmp); 2 on a wrong command line.\n";
}

std::string EditorVersionText() {
    return std::string("spritehex ") + SPRITEHEX_VERSION + "\n";
}
