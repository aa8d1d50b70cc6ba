#include "cli/colour_strip_beside.h"

#include <filesystem>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "image/colour_strip.h"

namespace {

std::string ExecutableDir() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.parent_path().string();
}

}  // namespace

int RunBesideProgram(StripCommand command, std::span<const std::string> args, std::ostream& out,
                     std::ostream& err) {
    const std::string dir = ExecutableDir();
    if (dir.empty()) {
        err << kCliProgram << ": cannot find the program's own directory, where color.bmp lies\n";
        return kExitFailure;
    }
    return command(args, out, err, dir);
}

std::optional<RgbImage> LoadColourStrip(const std::string& stripDir, std::ostream& err) {
    const std::string stripPath = (std::filesystem::path(stripDir) / "color.bmp").string();
    Result<RgbImage> strip = ReadColourStrip(stripPath, stripPath);
    if (!strip) {
        err << kCliProgram << ": " << strip.message() << "\n";
        return std::nullopt;
    }
    return strip.Take();
}
