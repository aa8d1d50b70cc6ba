#include "cli/decode_command.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <vector>

#include "base/file_reader.h"
#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "document/sprite_document.h"
#include "generator/decode_tables.h"
#include "generator/table_reader.h"

namespace {

// The most of IN that is read: room for a cartridge image with the tables at an offset, and far
// more than the text of any tables.
constexpr std::size_t kMostInput = std::size_t{16} << 20;

bool Given(const CommandLine& line, std::string_view option) {
    return std::find(line.given.begin(), line.given.end(), option) != line.given.end();
}

// What is wrong with the operands and options together; empty when nothing is.
std::string WrongLine(const CommandLine& line) {
    if (line.operands.size() != 2) {
        return line.operands.size() < 2 ? "decode needs IN and OUT.dat"
                                        : "decode takes only IN and OUT.dat";
    }
    if (line.offset && Given(line, "--format") && line.format != TableFormat::kBin) {
        return "--offset is for --format bin";
    }
    if (line.colours.empty()) return "";
    if (line.tables.outputType == OutputType::kChr) {
        return "--colour is for sprite tables: character tables hold their own colours";
    }
    if (line.tables.colorData) {
        return "--colour is for tables without colour data: with --color-data they hold their "
               "own colours";
    }
    if (line.tables.layers != 2 && line.colours.size() > 1) {
        return "--colour takes one colour for sprites of one layer";
    }
    return "";
}

std::optional<std::string> TooLong(const std::string& shown, std::ostream& err) {
    err << kCliProgram << ": " << shown << " is longer than " << (kMostInput >> 20)
        << " MiB, the most decode reads\n";
    return std::nullopt;
}

// The bytes of IN: a file, or in for "-". Nothing after saying why they cannot be read.
std::optional<std::string> ReadInput(const std::string& path, std::istream& in, std::ostream& err) {
    if (path == "-") {
        std::string bytes;
        std::vector<char> buffer(std::size_t{1} << 16);
        while (bytes.size() <= kMostInput && in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            bytes.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
        }
        if (in.bad()) {
            err << kCliProgram << ": cannot read standard input\n";
            return std::nullopt;
        }
        return bytes.size() > kMostInput ? TooLong("standard input", err) : bytes;
    }
    const FileBytes file = ReadWholeFile(path, kMostInput);
    switch (file.problem) {
        case ReadProblem::kNone:
            return std::string(file.bytes.begin(), file.bytes.end());
        case ReadProblem::kCannotOpen:
            err << kCliProgram << ": Cannot open " << path << ": " << file.reason << ".\n";
            return std::nullopt;
        case ReadProblem::kCannotRead:
        case ReadProblem::kNotRegular:
            err << kCliProgram << ": Cannot read " << path << ": " << file.reason << ".\n";
            return std::nullopt;
        case ReadProblem::kTooLong:
            break;
    }
    return TooLong(path, err);
}

}  // namespace

int RunDecode(std::span<const std::string> args, std::istream& in, std::ostream& out,
              std::ostream& err) {
    const std::optional<CommandLine> line = ReadCommandLine(args, "decode", kDecodeCommand, err);
    if (!line) return kExitFailure;
    if (const std::string wrong = WrongLine(*line); !wrong.empty()) return UsageError(err, wrong);
    const std::string& input = line->operands[0];
    const std::string& output = line->operands[1];
    if (input != "-" && output != "-" && SameFile(input, output)) {
        err << kCliProgram << ": " << output << ": is " << input
            << " itself; write the sprite file elsewhere\n";
        return kExitFailure;
    }
    const std::optional<std::string> bytes = ReadInput(input, in, err);
    if (!bytes) return kExitFailure;

    TableSource source;
    source.options = line->tables;
    source.width = line->import.celWidth;
    source.height = line->import.celHeight;
    if (Given(*line, "--format")) source.format = line->format;
    if (line->offset) source.offset = static_cast<std::size_t>(*line->offset);
    source.cels = line->cels.value_or(0);
    Result<TablesRead> read = ReadTables(*bytes, source, input == "-" ? "standard input" : input);
    if (!read) {
        err << kCliProgram << ": " << read.message() << "\n";
        return kExitFailure;
    }
    GeneratedTables& tables = read.value().tables;
    UnheldColours colours;
    if (!line->colours.empty()) {
        colours = {line->colours.front(), line->colours.back()};
        tables.layerColours.clear();  // the colours given go before those IN names
    }
    const auto celSize = static_cast<std::size_t>(source.width * source.height);
    std::vector<std::uint8_t> image(kHeaderSize +
                                    celSize * static_cast<std::size_t>(tables.celCount));
    image[0] = static_cast<std::uint8_t>(source.width);
    image[1] = static_cast<std::uint8_t>(source.height);
    image[2] = static_cast<std::uint8_t>(tables.celCount);
    for (int cel = 0; cel < tables.celCount; ++cel) {
        DecodeCel(tables, cel, source.width, source.height, colours,
                  image.data() + kHeaderSize + celSize * static_cast<std::size_t>(cel));
    }
    if (!WriteOutput(output, image, true, out, err)) return kExitFailure;
    if (!read->note.empty()) err << kCliProgram << ": " << read->note << "\n";
    return kExitOk;
}

const CliCommand& DecodeCommand() {
    static const CliCommand command = {
        "decode",
        "IN OUT.dat",
        "Read tables back into a sprite file: each cel of W x H pixels as the video chip shows "
        "its\n"
        "tables. IN is what tables wrote, in any format (- reads standard input); give the\n"
        "options it was written with (--type, --two-layers, --color-data).",
        [](std::span<const std::string> args, std::ostream& out, std::ostream& err) {
            return RunDecode(args, std::cin, out, err);
        },
        kDecodeCommand,
        "Without --format, IN is bin when --offset is given or it holds bytes that are not text;\n"
        "otherwise its first word tells: c (/*, static, #define), basic (a line number before\n"
        "REM or DATA), asm (a label, a \";\" comment or a directive such as db), else hex.\n"
        "Set bits of sprites without colour data show --colour; two layers without colour data\n"
        "take the colours table of asm, c and basic unless --colour is given.\n"
        "Values after the last whole cel are left out, and standard error says so. A token that\n"
        "is not a byte is named with its line and column (walk.asm:3:12: '$G0' is not a byte).\n"
        "OUT.dat is written as the editor saves (- writes it to standard output, never to a\n"
        "terminal); nothing is written when IN cannot be read. Sprite sets (--pieces of tables)\n"
        "are not read back."};
    return command;
}
