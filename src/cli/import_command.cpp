#include "cli/import_command.h"

#include <optional>
#include <vector>

#include "cli/cli_support.h"
#include "cli/colour_strip_beside.h"
#include "document/size_rules.h"
#include "image/picture_import.h"

namespace {

// "16x16": decimal digits, "x" (or "X"), decimal digits (at most 9 each, so no number overflows;
// the range is checked after).
std::optional<CelSize> ParseCelSize(const std::string& text) {
    const std::size_t x = text.find_first_of("xX");
    const auto number = [](std::string_view digits) -> std::optional<int> {
        if (digits.empty() || digits.size() > 9) return std::nullopt;
        int value = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + (c - '0');
        }
        return value;
    };
    if (x == std::string::npos) return std::nullopt;
    const auto width = number(std::string_view(text).substr(0, x));
    const auto height = number(std::string_view(text).substr(x + 1));
    if (!width || !height) return std::nullopt;
    return CelSize{*width, *height};
}

std::optional<ImportScale> ParseScale(const std::string& text) {
    if (text == "1") return ImportScale::kOne;
    if (text == "2") return ImportScale::kTwo;
    if (text == "auto") return ImportScale::kAuto;
    return std::nullopt;
}

struct ImportLine {
    ImportOptions options;
    bool sizeGiven = false;
    std::string picture;
    std::string output;
};

// The command line's options and operands, or nothing after saying what is wrong.
std::optional<ImportLine> ParseImportLine(std::span<const std::string> args, std::ostream& err) {
    ImportLine line;
    std::vector<std::string> files;
    std::vector<std::string> seen;
    bool optionsEnded = false;
    bool scaleGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string> value;
        if (optionsEnded || !IsOption(arg)) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (!FirstTime(seen, arg.substr(0, arg.find('=')), err)) {
            return std::nullopt;
        } else if (arg == "--strict") {
            line.options.strict = true;
        } else if (arg == "--indices") {
            line.options.keepIndices = true;
        } else if (IsOptionWithValue(args, i, "--size", value)) {
            const std::optional<CelSize> size = value ? ParseCelSize(*value) : std::nullopt;
            if (!size) {
                UsageError(err, value ? "'" + *value + "' is not a cel size: use WxH, such as 16x16"
                                      : "option '--size' needs a cel size WxH, such as 16x16");
                return std::nullopt;
            }
            if (const Result<> fits = CheckCelSize(size->width, size->height); !fits) {
                UsageError(err, "--size " + *value + ": " + fits.message());
                return std::nullopt;
            }
            line.options.celWidth = size->width;
            line.options.celHeight = size->height;
            line.sizeGiven = true;
        } else if (IsOptionWithValue(args, i, "--scale", value)) {
            const std::optional<ImportScale> scale = value ? ParseScale(*value) : std::nullopt;
            if (!scale) {
                UsageError(err, value ? "unknown scale '" + *value + "': use 1, 2 or auto"
                                      : "option '--scale' needs a value: 1, 2 or auto");
                return std::nullopt;
            }
            line.options.scale = *scale;
            scaleGiven = true;
        } else {
            UsageError(err, "unknown option '" + arg + "' for import");
            return std::nullopt;
        }
    }
    if (files.size() != 2) {
        UsageError(err, files.size() < 2 ? "import needs a PICTURE.png and an OUT.dat"
                                         : "import takes only a PICTURE.png and an OUT.dat");
        return std::nullopt;
    }
    // A cel size given is a size in the picture's own pixels, unless a scale says otherwise.
    if (line.sizeGiven && !scaleGiven) line.options.scale = ImportScale::kOne;
    line.picture = files[0];
    line.output = files[1];
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
        "import", "[--size WxH] [--scale 1|2|auto] [--strict] [--indices] PICTURE.png OUT.dat",
        "Make a sprite file of a PNG picture or sprite sheet. The picture is cut into cels of\n"
        "W x H pixels (1 to 64 each; default: the whole picture is one cel, if it fits 64 x 64),\n"
        "left to right, then top to bottom; its sides must be whole numbers of cels. A picture\n"
        "of more than 100 cels gives its first 100.\n"
        "The largest picture read is 409600 pixels, no side above 6400.\n"
        "  --scale 2     each 2 x 2 block of the picture is one pixel, as the png command writes\n"
        "  --scale 1     each pixel of the picture is one pixel (the default with --size)\n"
        "  --scale auto  (the default without --size) 2 when every 2 x 2 block is of one colour\n"
        "                and the picture is twice a whole number of cels, else 1\n"
        "Colours: an indexed picture whose palette is ours (each entry in use has the colour of\n"
        "its index in the color.bmp beside this program) keeps its indices. Any other picture is\n"
        "matched to the colours of color.bmp: a colour of it gives its index, a pixel of alpha 0\n"
        "gives colour 0, any other colour the nearest of colours 1 to 15 (never 0, the\n"
        "transparent background), and standard error says how many pixels were matched to the\n"
        "nearest. A colour that several swatches of color.bmp have gives the lowest of their\n"
        "indices, and standard error says so.\n"
        "  --strict      refuse a colour that is not exactly one colour of color.bmp\n"
        "  --indices     keep the indices of an indexed picture of at most 16 entries, whatever\n"
        "                its palette's colours\n"
        "OUT.dat is written as the editor saves (- writes it to standard output, never to a\n"
        "terminal); nothing is written when the import fails.",
        [](std::span<const std::string> args, std::ostream& out, std::ostream& err) {
            return RunBesideProgram(RunImport, args, out, err);
        }};
    return command;
}
