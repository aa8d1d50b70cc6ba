#include "cli/png_command.h"

#include <climits>
#include <optional>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "cli/colour_strip_beside.h"
#include "image/colour_strip.h"
#include "image/png_codec.h"

int RunPng(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const std::string& stripDir) {
    const std::optional<CommandLine> line = ReadCommandLine(args, "png", kPngCommand, err);
    if (!line) return kExitFailure;
    const std::optional<int> cel = line->cel ? NumberIn(*line->cel, 0, INT_MAX) : 1;
    if (!cel) return UsageError(err, "'" + *line->cel + "' is not a cel number: use 1, 2, 3 ...");
    const std::vector<std::string>& files = line->operands;
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
        "png",
        "FILE.dat OUT.png",
        "Write a cel as a PNG picture at twice its size, each pixel a 2 x 2 block of its colour\n"
        "from the color.bmp beside this program: the same picture as the editor's PNG export.\n"
        "An existing OUT.png is replaced only once the new one is complete; it is overwritten in\n"
        "place instead when replacing it would lose something (other hard links, another owner,\n"
        "a folder that cannot be written to). Named pipes, devices and folders are never\n"
        "written. OUT.png - writes the picture to standard output (never to a terminal).",
        [](std::span<const std::string> args, std::ostream& out, std::ostream& err) {
            return RunBesideProgram(RunPng, args, out, err);
        },
        kPngCommand,
        ""};
    return command;
}
