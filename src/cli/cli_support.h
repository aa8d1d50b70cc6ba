#pragma once
// What every spritehex-cli command shares: usage errors, operands that look like options, sprite
// files loaded with a message on failure, an output that is its own input, and a check that
// standard output was written.

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/sprite_document.h"

inline constexpr std::string_view kCliProgram = "spritehex-cli";

// Says what is wrong with the command line and where to find help; returns kExitFailure.
int UsageError(std::ostream& err, std::string_view message);

// "-x" and "--x" are options; "-" alone is an operand.
bool IsOption(const std::string& arg);

// The document of a sprite file, or nothing after saying why it cannot be used.
std::unique_ptr<TSpriteDocument> LoadDocument(const std::string& path, std::ostream& err);

// Whether writing output would overwrite the file input (the same file by device and inode,
// through whatever names or links).
bool SameFile(const std::string& input, const std::string& output);

// Standard output may fail (a full disk); that must not pass for success.
bool Flushed(std::ostream& out, std::ostream& err);

// Whether out is the program's standard output and that is a terminal.
bool IsTerminal(const std::ostream& out);

// Writes an output: "-" is standard output, any other name a file through the one writer of
// files. Bytes that are not text (binary) are refused to a terminal before anything is written.
// False after saying what went wrong.
bool WriteOutput(const std::string& output, std::span<const std::uint8_t> bytes, bool binary,
                 std::ostream& out, std::ostream& err);

// An option given a second time would silently take the last value: false after saying so.
// seen collects the options of one command line.
bool FirstTime(std::vector<std::string>& seen, const std::string& option, std::ostream& err);
