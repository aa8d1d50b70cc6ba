#include "cli/png_command.h"

#include <charconv>
#include <optional>
#include <vector>

#include "cli/cli_support.h"
#include "cli/colour_strip_beside.h"
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

}  // namespace

int RunPng(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const std::string& stripDir) {
    std::vector<std::string> files;
    std::optional<std::string> celText;
    std::vector<std::string> seen;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !IsOption(arg)) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (!FirstTime(seen, arg.substr(0, arg.find('=')), err)) {
            return kExitFailure;
        } else if (IsOptionWithValue(args, i, "--cel", celText)) {
            if (!celText)
                return UsageError(err, "option '--cel' needs a cel number, counted from 1");
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
    if (output != "-" && SameFile(input, output)) {
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
    const std::optional<RgbImage> strip = LoadColourStrip(stripDir, err);
    if (!strip) return kExitFailure;

    const std::uint8_t* pixels = doc->Buffer() + kHeaderSize + (*cel - 1) * doc->CelSize();
    const RgbImage picture = AssembleExportImage(*strip, pixels, doc->Width(), doc->Height());
    // Written as the editor's export writes it: 8 bits per colour channel, compression level 9.
    const std::vector<std::uint8_t> png = EncodePng(picture, kExportPngLevel);
    if (png.empty()) {
        err << kCliProgram << ": Cannot write " << output << ": the picture cannot be encoded.\n";
        return kExitFailure;
    }
    return WriteOutput(output, png, true, out, err) ? kExitOk : kExitFailure;
}

const CliCommand& PngCommand() {
    static const CliCommand command = {
        "png", "[--cel N] FILE.dat OUT.png",
        "Write cel N (counted from 1; default 1) as a PNG picture at twice its size, each pixel a\n"
        "2 x 2 block of its colour from the color.bmp beside this program: the same picture as\n"
        "the editor's PNG export. An existing OUT.png is replaced only once the new one is\n"
        "complete; it is overwritten in place instead when replacing it would lose something\n"
        "(other hard links, another owner, a folder that cannot be written to). Named pipes,\n"
        "devices and folders are never written. OUT.png - writes the picture to standard output\n"
        "(never to a terminal).",
        [](std::span<const std::string> args, std::ostream& out, std::ostream& err) {
            return RunBesideProgram(RunPng, args, out, err);
        }};
    return command;
}
