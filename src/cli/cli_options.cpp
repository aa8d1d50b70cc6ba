#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "base/one_of.h"
#include "cli/cli_support.h"
#include "document/size_rules.h"
#include "document/sprite_document.h"
#include "generator/label_name.h"
#include "generator/table_kinds.h"

namespace {

using Wrong = std::optional<std::string>;

// The formats that take a writer option.
std::vector<std::string_view> FormatsTaking(unsigned writerOption) {
    std::vector<std::string_view> names;
    for (const FormatRow& format : kFormats) {
        if ((format.takes & writerOption) != 0) names.push_back(format.name);
    }
    return names;
}

std::vector<std::string_view> FormatNames() {
    std::vector<std::string_view> names;
    for (const FormatRow& format : kFormats) names.push_back(format.name);
    return names;
}

std::vector<std::string_view> TypeNames() {
    std::vector<std::string_view> names;
    for (const TableTypeRow& type : kTableTypes) names.push_back(type.name);
    return names;
}

std::string TypeHelp() {
    std::vector<std::string> notes;
    for (const TableTypeRow& type : kTableTypes) notes.emplace_back(type.note);
    notes.front() += " (default)";
    return OneOf(notes) + " tables";
}

std::vector<std::string_view> PieceNames() {
    std::vector<std::string_view> names;
    for (const PiecesRow& row : kPieceSizes) {
        if (!row.name.empty()) names.push_back(row.name);
    }
    return names;
}

std::string PiecesNeeds() {
    return "a value: " + OneOf(PieceNames());
}

std::vector<std::string_view> LayerNames() {
    std::vector<std::string_view> names;
    for (const LayersRow& row : kLayerChoices) names.push_back(row.name);
    return names;
}

std::string LayersNeeds() {
    return "a value: " + OneOf(LayerNames());
}

std::string TypeNeeds() {
    return "a value: " + OneOf(TypeNames());
}

std::string FormatNeeds() {
    return "a value: " + OneOf(FormatNames());
}

std::string FormatHelp() {
    std::string help;
    for (const FormatRow& format : kFormats) {
        if (!help.empty()) help += ", ";
        help += std::string(format.name) + " (" +
                std::string(format.note.empty() ? "default" : format.note) + ")";
    }
    return help;
}

struct StyleWord {
    std::string_view word;
    NumberStyle style;
};
constexpr StyleWord kStyles[] = {{"$", NumberStyle::kDollar},
                                 {"#", NumberStyle::kHash},
                                 {"0x", NumberStyle::kZeroX},
                                 {"&H", NumberStyle::kAmpersandH},
                                 {"h", NumberStyle::kSuffixH}};

// "16x16": a width, "x" (or "X"), a height, each of at most 9 digits. The range is checked after.
std::optional<CelSize> CelSizeOf(const std::string& text) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos || x > 9 || text.size() - x - 1 > 9) return std::nullopt;
    const auto width = NumberIn(std::string_view(text).substr(0, x), 0, INT_MAX);
    const auto height = NumberIn(std::string_view(text).substr(x + 1), 0, INT_MAX);
    if (!width || !height) return std::nullopt;
    return CelSize{*width, *height};
}

Wrong TakeCelSize(CommandLine& line, const std::string& v) {
    const std::optional<CelSize> size = CelSizeOf(v);
    if (!size) return "'" + v + "' is not a cel size: use WxH, such as 16x16";
    if (const Result<> fits = CheckCelSize(size->width, size->height); !fits) {
        return "--size " + v + ": " + fits.message();
    }
    line.import.celWidth = size->width;
    line.import.celHeight = size->height;
    line.sizeGiven = true;
    return std::nullopt;
}

Wrong TakeFormat(CommandLine& line, const std::string& v) {
    const FormatRow* format = FindFormat(v);
    if (format == nullptr) return "unknown format '" + v + "': use " + OneOf(FormatNames());
    line.format = format->format;
    return std::nullopt;
}

std::string DecodeFormatHelp() {
    return OneOf(FormatNames()) + " (default: told from what IN holds)";
}

constexpr unsigned kTableCommands = kTablesCommand | kCheckCommand | kDecodeCommand;

constexpr CliOption kOptions[] = {
    // The tables do not say their cel size: decode needs it, first in its usage line.
    {"--size", "WxH", kDecodeCommand, 0, "the cel size of the tables, 1 to 64 each", "--size 16x16",
     "a cel size WxH, such as 16x16", nullptr, nullptr, TakeCelSize, kDecodeCommand},
    {"--type", "sprite|chr", kTableCommands, 0, "", "--type chr", "", TypeHelp, TypeNeeds,
     [](CommandLine& line, const std::string& v) -> Wrong {
         const TableTypeRow* type = FindTableType(v);
         if (type == nullptr) {
             return "unknown table type '" + v + "': use " + OneOf(TypeNames());
         }
         line.tables.outputType = type->type;
         return std::nullopt;
     }},
    {"--two-layers", "", kTableCommands, 0, "sprites in two layers (--layers 2)", "", "", nullptr,
     nullptr,
     [](CommandLine& line, const std::string&) -> Wrong {
         line.tables.layers = 2;
         return std::nullopt;
     }},
    {"--layers", "1|2|3|4|auto", kTablesCommand | kCheckCommand, 0,
     "sprites in up to four OR-ed layers, any colours in a line; auto: the fewest that show every "
     "line of the file",
     "--layers 3", "", nullptr, LayersNeeds,
     [](CommandLine& line, const std::string& v) -> Wrong {
         for (const LayersRow& row : kLayerChoices) {
             if (row.name == v) {
                 line.layersGiven = row.layers;
                 return std::nullopt;
             }
         }
         return "unknown layer count '" + v + "': use " + OneOf(LayerNames());
     }},
    {"--color-data", "", kTableCommands, 0, "sprite tables with colour bytes", "", "", nullptr,
     nullptr,
     [](CommandLine& line, const std::string&) -> Wrong {
         line.tables.colorData = true;
         return std::nullopt;
     }},
    {"--pieces", "16|8", kTablesCommand | kCheckCommand, 0,
     "sprite sets: every cel cut into hardware sprites of 16 x 16 or 8 x 8 pixels (those with a "
     "drawn pixel), with a sprite table per cel",
     "--pieces 16", "", nullptr, PiecesNeeds,
     [](CommandLine& line, const std::string& v) -> Wrong {
         for (const PiecesRow& row : kPieceSizes) {
             if (!row.name.empty() && row.name == v) {
                 line.tables.pieces = row.pieces;
                 return std::nullopt;
             }
         }
         return "unknown piece size '" + v + "': use " + OneOf(PieceNames());
     }},
    {"--sprites-per-line", "N", kTablesCommand | kCheckCommand, 0,
     "the hardware sprites the chip shows on a line, 1 to 32; default 8 with --color-data, 4 "
     "without. More on a line are named",
     "--sprites-per-line 8", "a value: a number of sprites from 1 to 32", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         line.spritesPerLine = NumberIn(v, 1, 32);
         if (!line.spritesPerLine) return "'" + v + "' is not a number of sprites from 1 to 32";
         return std::nullopt;
     }},
    {"--no-comma", "", kTablesCommand, kTakesComma, "bare digits, no \"#\" and no \",\"", "", "",
     nullptr, nullptr,
     [](CommandLine& line, const std::string&) -> Wrong {
         line.writer.comma = 0;
         return std::nullopt;
     }},
    {"--format", "FORMAT", kTablesCommand, 0, "", "--format asm", "", FormatHelp, FormatNeeds,
     TakeFormat},
    {"--name", "ID", kTablesCommand, kTakesName,
     "NAME in NAME_c1_pattern, NAME_pattern, REM NAME; default the file's name made an "
     "identifier (letters, digits, _)",
     "--name ship", "a value: a name for labels (letters, digits and _)", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         if (!IsLabelName(v)) {
             return "'" + v +
                    "' is not a name for labels: use letters, digits and _, and no digit first";
         }
         line.name = v;
         return std::nullopt;
     }},
    {"--directive", "TEXT", kTablesCommand, kTakesDirective, "before the bytes; default db",
     "--directive defb", "a value: db, defb, .byte ...", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         // Printable ASCII, no blank, and no ';', which starts a comment in the common
         // assemblers and would hide every byte after it.
         const auto wordChar = [](char c) { return c >= 0x21 && c <= 0x7E && c != ';'; };
         if (v.empty() || !std::all_of(v.begin(), v.end(), wordChar)) {
             return "the directive must be one word of printable characters without ';', such "
                    "as db or .byte";
         }
         line.writer.directive = v;
         return std::nullopt;
     }},
    {"--number-style", "STYLE", kTablesCommand, kTakesNumberStyle,
     "$ ($30, default), # (#30), 0x (0x30), &H (&H30) or h (30h, 0A5h)", "--number-style h",
     "a value: $, #, 0x, &H or h", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         for (const StyleWord& style : kStyles) {
             if (v == style.word) {
                 line.writer.numberStyle = style.style;
                 return std::nullopt;
             }
         }
         return "unknown number style '" + v + "': use $, #, 0x, &H or h";
     }},
    {"--line-start", "N", kTablesCommand, kTakesLineNumbers, "the first line number; default 10",
     "--line-start 1000", "a value: a line number from 0 to 65529", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         const std::optional<int> number = NumberIn(v, 0, kLastBasicLine);
         if (!number) return "'" + v + "' is not a line number from 0 to 65529";
         line.writer.lineStart = *number;
         return std::nullopt;
     }},
    {"--line-step", "N", kTablesCommand, kTakesLineNumbers, "the step between lines; default 10",
     "--line-step 5", "a value: a step from 1 to 65529", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         const std::optional<int> number = NumberIn(v, 1, kLastBasicLine);
         if (!number) return "'" + v + "' is not a line step from 1 to 65529";
         line.writer.lineStep = *number;
         return std::nullopt;
     }},
    {"--eol", "lf|crlf", kTablesCommand, kTakesEol, "line ends; default lf", "--eol crlf",
     "a value: lf or crlf", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         if (v != "lf" && v != "crlf") return "unknown line end '" + v + "': use lf or crlf";
         line.writer.crlf = v == "crlf";
         return std::nullopt;
     }},
    {"-o", "FILE", kTablesCommand, 0,
     "write FILE (replaced only once complete) instead of standard output (-); bin needs it",
     "-o ship.asm", "a value: a FILE, or - for standard output", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         if (v.empty()) return "option '-o' needs a FILE, or - for standard output";
         line.output = v;
         return std::nullopt;
     }},
    {"--cel", "N", kPngCommand, 0, "the cel, counted from 1; default 1", "--cel 2",
     "a cel number, counted from 1", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         line.cel = v;  // read once every option is
         return std::nullopt;
     }},
    {"--size", "WxH", kImportCommand, 0,
     "the cel size, 1 to 64 each; default: the whole picture is one cel, if it fits 64 x 64",
     "--size 16x16", "a cel size WxH, such as 16x16", nullptr, nullptr, TakeCelSize},
    {"--scale", "1|2|auto", kImportCommand, 0,
     "2: each 2 x 2 block of the picture is one pixel, as the png command writes it; 1: each "
     "pixel is one pixel (the default with --size); auto (the default without --size): 2 when "
     "every 2 x 2 block is of one colour and the picture is twice a whole number of cels",
     "--scale 2", "a value: 1, 2 or auto", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         if (v == "1") {
             line.import.scale = ImportScale::kOne;
         } else if (v == "2") {
             line.import.scale = ImportScale::kTwo;
         } else if (v == "auto") {
             line.import.scale = ImportScale::kAuto;
         } else {
             return "unknown scale '" + v + "': use 1, 2 or auto";
         }
         line.scaleGiven = true;
         return std::nullopt;
     }},
    {"--strict", "", kImportCommand, 0,
     "refuse a colour that is not exactly one colour of color.bmp", "", "", nullptr, nullptr,
     [](CommandLine& line, const std::string&) -> Wrong {
         line.import.strict = true;
         return std::nullopt;
     }},
    {"--indices", "", kImportCommand, 0,
     "keep the indices of an indexed picture of at most 16 entries, whatever its palette's "
     "colours",
     "", "", nullptr, nullptr,
     [](CommandLine& line, const std::string&) -> Wrong {
         line.import.keepIndices = true;
         return std::nullopt;
     }},
    {"--cels", "N", kDecodeCommand, 0, "1 to 100; default every whole cel in IN", "--cels 4",
     "a cel count from 1 to 100", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         line.cels = NumberIn(v, 1, kMaxCels);
         if (!line.cels) return "'" + v + "' is not a cel count from 1 to 100";
         return std::nullopt;
     }},
    {"--offset", "N", kDecodeCommand, 0, "bin: the byte where the tables start", "--offset 512",
     "a byte offset from 0", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         line.offset = NumberIn(v, 0, INT_MAX);
         if (!line.offset) return "'" + v + "' is not a byte offset from 0";
         return std::nullopt;
     }},
    {"--colour", "C[,C2]", kDecodeCommand, 0,
     "0 to 15, default 15: set bits where the tables hold no colour (sprites without colour "
     "data); two layers: layer 1's and 2's, or one for both; overrides the colours IN names",
     "--colour 7,9", "a colour from 0 to 15, or two: 7,9", nullptr, nullptr,
     [](CommandLine& line, const std::string& v) -> Wrong {
         const std::size_t comma = v.find(',');
         const std::optional<int> first = NumberIn(std::string_view(v).substr(0, comma), 0, 15);
         const std::optional<int> second =
             comma == v.npos ? first : NumberIn(std::string_view(v).substr(comma + 1), 0, 15);
         if (!first || !second) return "'" + v + "' is not a colour from 0 to 15, or two: 7,9";
         line.colours.assign(1, *first);
         if (comma != v.npos) line.colours.push_back(*second);
         return std::nullopt;
     }},
    {"--format", "FORMAT", kDecodeCommand, 0, "", "--format asm", "", DecodeFormatHelp, FormatNeeds,
     TakeFormat},
};

// Words of text joined by blanks into lines of at most width characters.
std::vector<std::string> Wrap(const std::string& text, std::size_t width) {
    std::vector<std::string> lines(1);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width) {
            lines.emplace_back();
        }
        if (!lines.back().empty()) lines.back() += ' ';
        lines.back() += word;
        start = end + 1;
    }
    return lines;
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

std::string Usage(const CliOption& option) {
    std::string usage(option.name);
    if (!option.value.empty()) usage.append(" ").append(option.value);
    return usage;
}

}  // namespace

std::optional<int> NumberIn(std::string_view text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || text[0] == '-' || text[0] == '+' || error != std::errc() || stop != end ||
        value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<CommandLine> ReadCommandLine(std::span<const std::string> args,
                                           std::string_view command, unsigned commandBit,
                                           std::ostream& err) {
    CommandLine line;
    bool optionsEnded = false;
    const auto fail = [&err](const std::string& message) {
        UsageError(err, message);
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !IsOption(arg)) {
            line.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name VALUE" or "--name=VALUE"; "-o FILE"; a flag alone.
        const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string key = arg.substr(0, equals);
        if (!FirstTime(line.given, key, err)) return std::nullopt;
        const auto option =
            std::find_if(std::begin(kOptions), std::end(kOptions), [&](const CliOption& o) {
                return o.name == key && (o.commands & commandBit) &&
                       (!o.value.empty() || equals == arg.npos);
            });
        if (option == std::end(kOptions)) {
            return fail("unknown option '" + arg + "' for " + std::string(command));
        }
        std::string value;
        if (option->value.empty() || equals != std::string::npos) {
            value = equals == std::string::npos ? "" : arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return fail(
                "option '" + key + "' needs " +
                (option->needsOf != nullptr ? option->needsOf() : std::string(option->needs)));
        }
        if (const Wrong wrong = option->take(line, value)) return fail(*wrong);
    }
    for (const CliOption& option : kOptions) {
        if ((option.neededBy & commandBit) != 0 &&
            std::find(line.given.begin(), line.given.end(), option.name) == line.given.end()) {
            return fail(std::string(command) + " needs " + Usage(option) + ": " +
                        std::string(option.help));
        }
    }
    return line;
}

bool OptionsFitFormat(const CommandLine& line, std::ostream& err) {
    const unsigned takes = FormatOf(line.format).takes;
    for (const CliOption& option : kOptions) {
        const bool given =
            std::find(line.given.begin(), line.given.end(), option.name) != line.given.end();
        if (!given || option.writerOption == 0 || (takes & option.writerOption) != 0) continue;
        UsageError(err, "option '" + std::string(option.name) + "' is for --format " +
                            OneOf(FormatsTaking(option.writerOption)));
        return false;
    }
    return true;
}

std::vector<std::string> OptionSynopsis(unsigned commandBit) {
    std::vector<std::string> synopsis;
    for (const CliOption& option : kOptions) {
        if ((option.commands & commandBit) == 0) continue;
        synopsis.push_back((option.neededBy & commandBit) != 0 ? Usage(option)
                                                               : '[' + Usage(option) + ']');
    }
    return synopsis;
}

std::string OptionHelp(unsigned commandBit) {
    constexpr std::size_t kUsageWidth = 22;
    constexpr std::size_t kFirstWidth = 42;  // of a first line with an example after it
    constexpr std::size_t kHelpWidth = 80 - 2 - kUsageWidth;
    std::string text;
    for (const CliOption& option : kOptions) {
        if ((option.commands & commandBit) == 0) continue;
        std::string help = option.helpOf != nullptr ? option.helpOf() : std::string(option.help);
        if (option.writerOption != 0) {
            std::string named;
            for (const std::string_view format : FormatsTaking(option.writerOption)) {
                named.append(named.empty() ? "" : ", ").append(format);
            }
            help = named + ": " + help;
        }
        std::vector<std::string> lines =
            Wrap(help, option.example.empty() ? kHelpWidth : kFirstWidth);
        if (lines.size() > 1) {
            // The lines after the first take the width of the whole column.
            std::string rest;
            for (std::size_t l = 1; l < lines.size(); ++l)
                rest.append(l > 1 ? " " : "").append(lines[l]);
            lines.resize(1);
            for (std::string& line : Wrap(rest, kHelpWidth)) lines.push_back(std::move(line));
        }
        for (std::size_t l = 0; l < lines.size(); ++l) {
            text += "  " + Padded(l == 0 ? Usage(option) : "", kUsageWidth);
            if (l == 0 && !option.example.empty()) {
                text += Padded(lines[l], kFirstWidth);
                text.append(lines[l].size() < kFirstWidth ? "" : " ")
                    .append("e.g. ")
                    .append(option.example);
            } else {
                text += lines[l];
            }
            text += "\n";
        }
    }
    return text;
}
