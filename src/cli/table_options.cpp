#include "cli/table_options.h"

#include <algorithm>
#include <charconv>
#include <functional>

#include "cli/cli_support.h"
#include "generator/label_name.h"

namespace {

// A whole number from low to high: digits only, no sign.
std::optional<int> NumberIn(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || text[0] == '-' || text[0] == '+' || error != std::errc() || stop != end ||
        value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

struct FormatWord {
    const char* word;
    TableFormat format;
};
constexpr FormatWord kFormats[] = {{"hex", TableFormat::kHex},
                                   {"asm", TableFormat::kAsm},
                                   {"c", TableFormat::kC},
                                   {"basic", TableFormat::kBasic},
                                   {"bin", TableFormat::kBin}};

struct StyleWord {
    const char* word;
    NumberStyle style;
};
constexpr StyleWord kStyles[] = {{"$", NumberStyle::kDollar},
                                 {"#", NumberStyle::kHash},
                                 {"0x", NumberStyle::kZeroX},
                                 {"&H", NumberStyle::kAmpersandH},
                                 {"h", NumberStyle::kSuffixH}};

// An option that takes a value: what its value may be, and what it does with it (an error message
// for a value it cannot take, or nothing).
struct ValueOption {
    const char* name;
    const char* values;  // for "option 'x' needs a value: ..."
    bool output;         // tables only
    std::function<std::optional<std::string>(TablesCommandLine&, const std::string&)> take;
};

// The formats an output option is for; the option is refused with any other.
struct ForFormats {
    const char* option;
    std::vector<TableFormat> formats;
    const char* named;
};

const std::vector<ValueOption>& ValueOptions() {
    static const std::vector<ValueOption> options = {
        {"--type", "sprite or chr", false,
         [](TablesCommandLine& line, const std::string& v) -> std::optional<std::string> {
             if (v == "sprite") {
                 line.tables.outputType = OutputType::kSprite;
             } else if (v == "chr") {
                 line.tables.outputType = OutputType::kChr;
             } else {
                 return "unknown table type '" + v + "': use sprite or chr";
             }
             return std::nullopt;
         }},
        {"--format", "hex, asm, c, basic or bin", true,
         [](TablesCommandLine& line, const std::string& v) -> std::optional<std::string> {
             for (const FormatWord& format : kFormats) {
                 if (v == format.word) {
                     line.format = format.format;
                     return std::nullopt;
                 }
             }
             return "unknown format '" + v + "': use hex, asm, c, basic or bin";
         }},
        {"--name", "a name for labels (letters, digits and _)", true,
         [](TablesCommandLine& line, const std::string& v) -> std::optional<std::string> {
             if (!IsLabelName(v)) {
                 return "'" + v +
                        "' is not a name for labels: use letters, digits and _, and no digit "
                        "first";
             }
             line.name = v;
             return std::nullopt;
         }},
        {"--directive", "db, defb, .byte ...", true,
         [](TablesCommandLine& line, const std::string& v) -> std::optional<std::string> {
             // Printable ASCII, no blank, and no ';', which starts a comment in the common
             // assemblers and would hide every byte after it.
             const auto wordChar = [](char c) { return c >= 0x21 && c <= 0x7E && c != ';'; };
             if (v.empty() || !std::all_of(v.begin(), v.end(), wordChar)) {
                 return "the directive must be one word of printable characters without ';', "
                        "such as db or .byte";
             }
             line.writer.directive = v;
             return std::nullopt;
         }},
        {"--number-style", "$, #, 0x, &H or h", true,
         [](TablesCommandLine& line, const std::string& v) -> std::optional<std::string> {
             for (const StyleWord& style : kStyles) {
                 if (v == style.word) {
                     line.writer.numberStyle = style.style;
                     return std::nullopt;
                 }
             }
             return "unknown number style '" + v + "': use $, #, 0x, &H or h";
         }},
        {"--line-start", "a line number from 0 to 65529", true,
         [](TablesCommandLine& line, const std::string& v) -> std::optional<std::string> {
             const std::optional<int> number = NumberIn(v, 0, kLastBasicLine);
             if (!number) return "'" + v + "' is not a line number from 0 to 65529";
             line.writer.lineStart = *number;
             return std::nullopt;
         }},
        {"--line-step", "a step from 1 to 65529", true,
         [](TablesCommandLine& line, const std::string& v) -> std::optional<std::string> {
             const std::optional<int> number = NumberIn(v, 1, kLastBasicLine);
             if (!number) return "'" + v + "' is not a line step from 1 to 65529";
             line.writer.lineStep = *number;
             return std::nullopt;
         }},
        {"--eol", "lf or crlf", true,
         [](TablesCommandLine& line, const std::string& v) -> std::optional<std::string> {
             if (v != "lf" && v != "crlf") return "unknown line end '" + v + "': use lf or crlf";
             line.writer.crlf = v == "crlf";
             return std::nullopt;
         }},
        {"-o", "a FILE, or - for standard output", true,
         [](TablesCommandLine& line, const std::string& v) -> std::optional<std::string> {
             if (v.empty()) return "option '-o' needs a FILE, or - for standard output";
             line.output = v;
             return std::nullopt;
         }},
    };
    return options;
}

}  // namespace

std::optional<TablesCommandLine> ParseTablesCommandLine(std::span<const std::string> args,
                                                        std::string_view command, bool withOutput,
                                                        std::ostream& err) {
    TablesCommandLine line;
    std::vector<std::string> given;  // the output options used, for the check against the format
    std::vector<std::string> seen;
    bool optionsEnded = false;
    const auto fail = [&err](const std::string& message) {
        UsageError(err, message);
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !IsOption(arg)) {
            line.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string key = arg.substr(0, equals);
        if (!FirstTime(seen, key, err)) return std::nullopt;
        if (arg == "--two-layers") {
            line.tables.twoLayers = true;
            continue;
        }
        if (arg == "--color-data") {
            line.tables.colorData = true;
            continue;
        }
        if (arg == "--no-comma" && withOutput) {
            line.writer.comma = 0;
            given.push_back(arg);
            continue;
        }
        // "--name VALUE" or "--name=VALUE"; "-o FILE".
        const ValueOption* option = nullptr;
        for (const ValueOption& candidate : ValueOptions()) {
            if (key == candidate.name && (withOutput || !candidate.output)) option = &candidate;
        }
        if (option == nullptr) {
            return fail("unknown option '" + arg + "' for " + std::string(command));
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return fail("option '" + key + "' needs a value: " + option->values);
        }
        if (const std::optional<std::string> wrong = option->take(line, value)) return fail(*wrong);
        if (option->output) given.push_back(key);
    }

    // Options that do nothing in the chosen format are refused rather than ignored.
    using F = TableFormat;
    const ForFormats rules[] = {
        {"--no-comma", {F::kHex}, "hex"},
        {"--name", {F::kAsm, F::kC, F::kBasic}, "asm, c or basic"},
        {"--directive", {F::kAsm}, "asm"},
        {"--number-style", {F::kAsm}, "asm"},
        {"--line-start", {F::kBasic}, "basic"},
        {"--line-step", {F::kBasic}, "basic"},
        {"--eol", {F::kAsm, F::kC, F::kBasic}, "asm, c or basic"},
    };
    for (const ForFormats& rule : rules) {
        const bool used = std::find(given.begin(), given.end(), rule.option) != given.end();
        if (used && std::find(rule.formats.begin(), rule.formats.end(), line.format) ==
                        rule.formats.end()) {
            return fail("option '" + std::string(rule.option) + "' is for --format " + rule.named);
        }
    }
    if (line.files.empty()) return fail(std::string(command) + " needs a FILE.dat");
    if (line.name && line.files.size() > 1) {
        return fail("--name takes one FILE.dat; with several, each is named after its file");
    }
    if (line.format == TableFormat::kBin && !line.output) {
        return fail("--format bin needs -o FILE (or -o - for a pipe): it writes bytes, not text");
    }
    return line;
}
