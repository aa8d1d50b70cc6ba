#include "cli/import_command.h"

#include <optional>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "cli/colour_strip_beside.h"
#include "image/picture_import.h"

namespace {

struct ImportLine {
    ImportOptions options;
    bool sizeGiven = false;
    std::string picture;
    std::string output;
};

// The command line's options and operands, or nothing after saying what is wrong.
std::optional<ImportLine> ParseImportLine(std::span<const std::string> args, std::ostream& err) {
    const std::optional<CommandLine> read = ReadCommandLine(args, "import", kImportCommand, err);
    if (!read) return std::nullopt;
    const std::vector<std::string>& files = read->operands;
    if (files.size() != 2) {
        UsageError(err, files.size() < 2 ? "import needs a PICTURE.png and an OUT.dat"
                                         : "import takes only a PICTURE.png and an OUT.dat");
        return std::nullopt;
    }
    ImportLine line{read->import, read->sizeGiven, files[0], files[1]};
    // A cel size given is a size in the picture's own pixels, unless a scale says otherwise.
    if (read->sizeGiven && !read->scaleGiven) line.options.scale = ImportScale::kOne;
    return line;
}

}  // namespace

int RunImport(std::span<const std::string> args, std::ostream& out, std::ostream& err,
              const std::string& stripDir) {
    std::optional<ImportLine> line = ParseImportLine(args, err);
    if (!line) return kExitFailure;
    const std::string& shown = line->picture;
    if (line->output != "-" && SameFile(line->picture, line->output)) {
        err << kCliProgram << ": " << line->output << ": is the picture " << line->picture
            << " itself; write the sprite file elsewhere\n";
        return kExitFailure;
    }
    const Result<PngPicture> picture = ReadPictureToImport(line->picture, shown);
    if (!picture) {
        err << kCliProgram << ": " << picture.message() << "\n";
        return kExitFailure;
    }
    const std::optional<RgbImage> strip = LoadColourStrip(stripDir, err);
    if (!strip) return kExitFailure;
    if (!line->sizeGiven) {
        // Without --size the whole picture is one cel, when it fits one.
        const CelSize whole = WholePictureCel(
            ShapeOfPicture(*picture, *strip, line->options.keepIndices), line->options.scale);
        if (!CheckCelSize(whole.width, whole.height)) {
            err << kCliProgram << ": " << shown << " is " << picture->width << " × "
                << picture->height << " pixels, more than one cel of at most 64 × 64: give the "
                << "cel size with --size WxH\n";
            return kExitFailure;
        }
        line->options.celWidth = whole.width;
        line->options.celHeight = whole.height;
    }
    const Result<ImportedDocument> imported = ImportPicture(*picture, shown, line->options, *strip);
    if (!imported) {
        err << kCliProgram << ": " << imported.message() << "\n";
        return kExitFailure;
    }
    if (!WriteOutput(line->output, imported->image, true, out, err)) return kExitFailure;
    for (const std::string& note : ImportNotes(*imported, shown)) {
        err << kCliProgram << ": " << note << "\n";
    }
    return kExitOk;
}

const CliCommand& ImportCommand() {
    static const CliCommand command = {
        "import",
        "PICTURE.png OUT.dat",
        "Make a sprite file of a PNG picture or sprite sheet. The picture is cut into cels of\n"
        "W x H pixels, left to right, then top to bottom; its sides must be whole numbers of\n"
        "cels. A picture of more than 100 cels gives its first 100.\n"
        "The largest picture read is 409600 pixels, no side above 6400.",
        [](std::span<const std::string> args, std::ostream& out, std::ostream& err) {
            return RunBesideProgram(RunImport, args, out, err);
        },
        kImportCommand,
        "Colours: an indexed picture whose palette is ours (each entry in use has the colour of\n"
        "its index in the color.bmp beside this program) keeps its indices. Any other picture is\n"
        "matched to the colours of color.bmp: a colour of it gives its index, a pixel of alpha 0\n"
        "gives colour 0, any other colour the nearest of colours 1 to 15 (never 0, the\n"
        "transparent background), and standard error says how many pixels were matched to the\n"
        "nearest. A colour that several swatches of color.bmp have gives the lowest of their\n"
        "indices, and standard error says so.\n"
        "OUT.dat is written as the editor saves (- writes it to standard output, never to a\n"
        "terminal); nothing is written when the import fails."};
    return command;
}
