#pragma once
// The editor's command line: `spritehex [FILE.dat]`, `spritehex --help`, `spritehex --version`.
// Read before anything else, so a wrong one ends the program before any window.

#include <span>
#include <string>

struct EditorCommandLine {
    enum class Action { kRun, kHelp, kVersion, kUsageError };
    Action action = Action::kRun;
    std::string path;     // the file to open (kRun), empty for none
    std::string message;  // kUsageError: the one line for standard error
};

// args: the arguments after the program's name.
EditorCommandLine ParseEditorCommandLine(std::span<const std::string> args);

// The text of --help and of --version.
std::string EditorHelpText();
std::string EditorVersionText();
