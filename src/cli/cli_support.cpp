#include "cli/cli_support.h"

#include <algorithm>
#include <iostream>

#include <sys/stat.h>
#include <unistd.h>

#include "base/file_writer.h"
#include "cli/cli.h"
#include "document/sprite_file.h"

int UsageError(std::ostream& err, std::string_view message) {
    err << kCliProgram << ": " << message << "\nTry '" << kCliProgram
        << " --help' for more information.\n";
    return kExitFailure;
}

bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

std::unique_ptr<TSpriteDocument> LoadDocument(const std::string& path, std::ostream& err) {
    auto doc = std::make_unique<TSpriteDocument>();
    const Result<> result = LoadSpriteFile(*doc, path, path);
    if (!result.ok()) {
        err << kCliProgram << ": " << result.message() << "\n";
        return nullptr;
    }
    return doc;
}

bool SameFile(const std::string& input, const std::string& output) {
    struct stat in {};
    struct stat out {};
    return ::stat(input.c_str(), &in) == 0 && ::stat(output.c_str(), &out) == 0 &&
           in.st_dev == out.st_dev && in.st_ino == out.st_ino;
}

bool Flushed(std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) return true;
    err << kCliProgram << ": cannot write to standard output\n";
    return false;
}

bool IsTerminal(const std::ostream& out) {
    return &out == &std::cout && ::isatty(STDOUT_FILENO) == 1;
}

bool WriteOutput(const std::string& output, std::span<const std::uint8_t> bytes, bool binary,
                 std::ostream& out, std::ostream& err) {
    if (output == "-") {
        if (binary && IsTerminal(out)) {
            UsageError(err,
                       "the output is binary and standard output is a terminal: give a file, "
                       "or send - into a pipe");
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return Flushed(out, err);
    }
    const Result<> written = WriteFile(output, bytes, output);
    if (!written) err << kCliProgram << ": " << written.message() << "\n";
    return written.ok();
}

bool FirstTime(std::vector<std::string>& seen, const std::string& option, std::ostream& err) {
    if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
        UsageError(err, "option '" + option + "' is given twice");
        return false;
    }
    seen.push_back(option);
    return true;
}
