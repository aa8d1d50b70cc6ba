#include "cli/png_command.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <vector>

#include "cli/cli_support.h"
#include "image/colour_strip.h"
#include "image/png_codec.h"

namespace {

// A cel number counted from 1: digits only, no sign.
std::optional<int> CelNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || text[0] == '-' || text[0] == '+') {
        return std::nullopt;
    }
    return value;
}

std::string ExecutableDir() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.parent_path().string();
}

int RunPngBesideProgram(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const std::string dir = ExecutableDir();
    if (dir.empty()) {
        err << kCliProgram << ": cannot find the program's own directory, where color.bmp lies\n";
        return kExitFailure;
    }
    return RunPng(args, out, err, dir);
}

}  // namespace

int RunPng(std::span<const std::string> args, std::ostream&, std::ostream& err,
           const std::string& stripDir) {
    std::vector<std::string> files;
    std::optional<std::string> celText;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !IsOption(arg)) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--cel" || arg.starts_with("--cel=")) {
            if (arg != "--cel") {
                celText = arg.substr(6);
            } else if (i + 1 < args.size()) {
                celText = args[++i];
            } else {
                return UsageError(err, "option '--cel' needs a cel number, counted from 1");
            }
        } else {
            return UsageError(err, "unknown option '" + arg + "' for png");
        }
    }
    std::optional<int> cel = 1;
    if (celText) cel = CelNumber(*celText);
    if (!cel) {
        return UsageError(err, "'" + *celText + "' is not a cel number: use 1, 2, 3 ...");
    }
    if (files.size() != 2) {
        return UsageError(err, files.size() < 2 ? "png needs a FILE.dat and an OUT.png"
                                                : "png takes only a FILE.dat and an OUT.png");
    }
    const std::string& input = files[0];
    const std::string& output = files[1];
    if (SameFile(input, output)) {
        err << kCliProgram << ": " << output << ": is the sprite file " << input
            << " itself; write the picture elsewhere\n";
        return kExitFailure;
    }
    const auto doc = LoadDocument(input, err);
    if (!doc) return kExitFailure;
    if (*cel < 1 || *cel > doc->CelCount()) {
        return UsageError(err, "cel " + std::to_string(*cel) + " is outside 1 to " +
                                   std::to_string(doc->CelCount()) + ", the cels of " + input);
    }
    const std::string stripPath = (std::filesystem::path(stripDir) / "color.bmp").string();
    const Result<RgbImage> strip = ReadColourStrip(stripPath, stripPath);
    if (!strip) {
        err << kCliProgram << ": " << strip.message() << "\n";
        return kExitFailure;
    }

    const std::uint8_t* pixels = doc->Buffer() + kHeaderSize + (*cel - 1) * doc->CelSize();
    const RgbImage picture = AssembleExportImage(*strip, pixels, doc->Width(), doc->Height());
    // Written as the editor's export writes it: 8 bits per colour channel, compression level 9.
    const Result<> written = WritePngFile(picture, output, output, kExportPngLevel);
    if (!written) {
        err << kCliProgram << ": " << written.message() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

const CliCommand& PngCommand() {
    static const CliCommand command = {
        "png", "[--cel N] FILE.dat OUT.png",
        "Write cel N (counted from 1; default 1) as a PNG picture at twice its size, each pixel a\n"
        "2 x 2 block of its colour from the color.bmp beside this program: the same picture as\n"
        "the editor's PNG export. An existing OUT.png is replaced only once the new one is\n"
        "complete; it is overwritten in place instead when replacing it would lose something\n"
        "(other hard links, another owner, a folder that cannot be written to). Named pipes,\n"
        "devices and folders are never written.",
        RunPngBesideProgram};
    return command;
}
