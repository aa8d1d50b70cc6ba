#include "generator/table_reader.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "document/sprite_document.h"
#include "generator/regenerate.h"

namespace {

// The ways a number may be written, as bits: each format reads some of them.
enum NumberForm : unsigned {
    kDollarHex = 1U << 0,     // $30
    kHashHex = 1U << 1,       // #30
    kZeroXHex = 1U << 2,      // 0x30
    kAmpersandHex = 1U << 3,  // &H30
    kSuffixHex = 1U << 4,     // 30h, 0A5h
    kDecimal = 1U << 5,       // 48
    kOctal = 1U << 6,         // 060, as C reads it
};
constexpr unsigned kAsmNumbers =
    kDollarHex | kHashHex | kZeroXHex | kAmpersandHex | kSuffixHex | kDecimal;
constexpr unsigned kBasicNumbers = kAmpersandHex | kDecimal;
constexpr unsigned kCNumbers = kZeroXHex | kOctal | kDecimal;

// Where a value that is no byte stops growing.
constexpr unsigned kPastByte = 0x10000;
constexpr auto kMostCels = static_cast<std::size_t>(kMaxCels);

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (Lower(c) >= 'a' && Lower(c) <= 'z') || c == '_';
}

// The letters, digits and "_" at the start of text.
std::string_view LeadingWord(std::string_view text) {
    const auto end =
        std::find_if(text.begin(), text.end(), [](char c) { return !IsLetter(c) && !IsDigit(c); });
    return text.substr(0, static_cast<std::size_t>(end - text.begin()));
}

unsigned DigitValue(char c) {
    if (IsDigit(c)) return static_cast<unsigned>(c - '0');
    if (Lower(c) >= 'a' && Lower(c) <= 'f') return static_cast<unsigned>(Lower(c) - 'a' + 10);
    return 99;
}

bool AllOf(std::string_view text, unsigned base) {
    return std::all_of(text.begin(), text.end(), [base](char c) { return DigitValue(c) < base; });
}

bool StartsNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(),
                      [](char a, char b) { return Lower(a) == Lower(b); });
}

std::optional<unsigned> Digits(std::string_view digits, unsigned base) {
    if (digits.empty() || !AllOf(digits, base)) return std::nullopt;
    unsigned value = 0;
    for (const char c : digits) value = std::min(value * base + DigitValue(c), kPastByte);
    return value;
}

// The value of a number written in one of the forms.
std::optional<unsigned> Number(std::string_view token, unsigned forms) {
    struct Prefix {
        unsigned form;
        std::string_view text;
    };
    for (const Prefix prefix : {Prefix{kDollarHex, "$"}, Prefix{kHashHex, "#"},
                                Prefix{kZeroXHex, "0x"}, Prefix{kAmpersandHex, "&h"}}) {
        if ((forms & prefix.form) != 0 && StartsNoCase(token, prefix.text)) {
            return Digits(token.substr(prefix.text.size()), 16);
        }
    }
    // A number starts with a digit; "A5h" is a name.
    if (token.empty() || !IsDigit(token[0])) return std::nullopt;
    if ((forms & kSuffixHex) != 0 && Lower(token.back()) == 'h') {
        return Digits(token.substr(0, token.size() - 1), 16);
    }
    if ((forms & kOctal) != 0 && token.size() > 1 && token[0] == '0') {
        return Digits(token.substr(1), 8);
    }
    return (forms & kDecimal) != 0 ? Digits(token, 10) : std::nullopt;
}

// The next word of rest, skipping separators before it; rest goes on after it. Empty at the end.
std::string_view NextWord(std::string_view& rest, std::string_view separators) {
    const std::size_t start = std::min(rest.find_first_not_of(separators), rest.size());
    const std::size_t end = std::min(rest.find_first_of(separators, start), rest.size());
    const std::string_view word = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return word;
}

constexpr std::string_view kBlanks = " \t";

// Words a C declaration of tables starts with.
constexpr std::string_view kCWords[] = {"static", "const",   "unsigned", "signed",  "char",
                                        "extern", "uint8_t", "int8_t",   "volatile"};

// The most tables a cel has, with the colours of two layers; and the most labels and remarks that
// can name them, a table of every cel.
constexpr std::size_t kMostTables = 5;
constexpr std::size_t kMostLabels = kMostTables * static_cast<std::size_t>(kMaxCels);

std::string_view LastWord(std::string_view text) {
    std::string_view word;
    for (std::string_view next; !(next = NextWord(text, kBlanks)).empty();) word = next;
    return word;
}

std::optional<TableRole> RoleOfName(std::string_view name) {
    const std::string_view role = name.substr(name.rfind('_') + 1);
    for (const TableRole r :
         {TableRole::kPattern, TableRole::kColour, TableRole::kPattern1, TableRole::kPattern2,
          TableRole::kColour1, TableRole::kColour2, TableRole::kLayerColours}) {
        if (RoleName(r) == role) return r;
    }
    return std::nullopt;
}

struct Line {
    std::string_view text;  // without its line break
    int number;             // from 1
};

// What a text holds, as it is read: its values in groups (C: one per array; else one), the roles
// its names give, and the first error.
class TextReader {
  public:
    explicit TextReader(std::string_view shown) : shown_(shown) {}

    // A label or remark that names a table, where it stands among the values.
    struct Label {
        TableRole role;
        std::size_t at;     // values before it
        std::string where;  // "walk.asm:3:1: 'walk_c1_pattern:'"
    };

    std::vector<std::vector<TableValue>> groups{1};
    std::vector<TableRole> roles;  // each once, in the order named
    std::vector<Label> labels;
    std::vector<std::optional<unsigned>> rows;  // C: each array's row length, where it says
    std::optional<Error> error;

    // "walk.asm:3:12: '$G0'": a token of a line and its place.
    std::string Where(const Line& line, std::string_view token) const {
        const auto column = static_cast<std::size_t>(token.data() - line.text.data()) + 1;
        std::string where(shown_);
        where.append(":").append(std::to_string(line.number)).append(":");
        return where.append(std::to_string(column)).append(": '").append(token).append("'");
    }

    // Refuses a token of a line; false.
    bool Wrong(const Line& line, std::string_view token, std::string_view what) {
        error = Fail(Failure::kNotUsable, Where(line, token).append(" ").append(what));
        return false;
    }

    void Add(unsigned value) { groups.back().push_back(static_cast<TableValue>(value)); }

    bool Value(const Line& line, std::string_view token, unsigned forms) {
        const std::optional<unsigned> value = Number(token, forms);
        if (!value) return Wrong(line, token, "is not a byte");
        if (*value > 0xFF) return Wrong(line, token, "is more than 255");
        Add(*value);
        return true;
    }

    // Numbers between blanks and ",".
    bool Values(const Line& line, std::string_view text, unsigned forms) {
        for (std::string_view token; !(token = NextWord(text, " \t,")).empty();) {
            if (!Value(line, token, forms)) return false;
        }
        return true;
    }

    // An array name, or the last word of a label or remark: the role it ends with, if any.
    std::optional<TableRole> Name(std::string_view name) {
        const std::optional<TableRole> role = RoleOfName(name);
        if (role && std::find(roles.begin(), roles.end(), *role) == roles.end()) {
            roles.push_back(*role);
        }
        return role;
    }

    // A label or remark of a line, whose role is its name's; false past the most there can be.
    bool Labels(const Line& line, std::string_view label, std::string_view name) {
        const std::optional<TableRole> role = Name(name);
        if (!role) return true;
        if (labels.size() == kMostLabels)
            return Wrong(line, label, "names more tables than 100 cels have");
        labels.push_back({*role, groups.back().size(), Where(line, label)});
        return true;
    }

  private:
    std::string_view shown_;
};

bool ReadHexLine(TextReader& r, const Line& line) {
    std::string_view rest = line.text;
    for (std::string_view token; !(token = NextWord(rest, " \t,")).empty();) {
        if (token[0] == '#') {
            if (!r.Value(line, token, kHashHex)) return false;
            continue;
        }
        if (!AllOf(token, 16)) return r.Wrong(line, token, "is not a byte");
        if (token.size() % 2 != 0) return r.Wrong(line, token, "is an odd number of digits");
        for (std::size_t i = 0; i < token.size(); i += 2) r.Add(*Digits(token.substr(i, 2), 16));
    }
    return true;
}

bool IsDirective(std::string_view word) {
    return !word.empty() && (IsLetter(word[0]) || word[0] == '.' || word[0] == '!');
}

// The directives of bytes that assemblers know: any other (org, ds, equ ...) is refused rather
// than its numbers taken for tables.
bool IsByteDirective(std::string_view word) {
    for (const std::string_view known : {"db", "defb", "dfb", "fcb", "byte", "dc.b", ".db", ".defb",
                                         ".dfb", ".fcb", ".byte", ".dc.b", "!byte", "!by", "!8"}) {
        if (word.size() == known.size() && StartsNoCase(word, known)) return true;
    }
    return false;
}

bool ReadAsmLine(TextReader& r, const Line& line) {
    std::string_view rest = line.text.substr(0, line.text.find(';'));
    std::string_view word = NextWord(rest, kBlanks);
    if (word.ends_with(':')) {
        if (!r.Labels(line, word, word.substr(0, word.size() - 1))) return false;
        word = NextWord(rest, kBlanks);
    }
    if (word.empty()) return true;
    if (!IsByteDirective(word)) {
        return r.Wrong(line, word, "is not a directive of bytes (db, defb, .byte, dc.b, fcb ...)");
    }
    return r.Values(line, rest, kAsmNumbers);
}

bool ReadBasicLine(TextReader& r, const Line& line) {
    std::string_view rest = line.text;
    const std::string_view number = NextWord(rest, kBlanks);
    if (number.empty()) return true;
    if (!AllOf(number, 10)) return r.Wrong(line, number, "is not a line number");
    rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));
    if (StartsNoCase(rest, "rem")) return r.Labels(line, rest, LastWord(rest));
    if (StartsNoCase(rest, "data")) return r.Values(line, rest.substr(4), kBasicNumbers);
    return rest.empty() || r.Wrong(line, NextWord(rest, kBlanks), "is neither DATA nor REM");
}

// What a C text carries from line to line.
struct CState {
    bool inComment = false;
    int depth = 0;                // of braces
    std::string name;             // the last name outside the braces: the array's
    std::optional<unsigned> row;  // the number in its last [ ]: its row length
};

bool ReadCLine(TextReader& r, const Line& line, CState& c) {
    const std::string_view t = line.text;
    if (!c.inComment && t.substr(std::min(t.find_first_not_of(kBlanks), t.size())).starts_with('#'))
        return true;  // the preprocessor's
    for (std::size_t i = 0; i < t.size();) {
        const std::string_view rest = t.substr(i);
        // Past the next end, or to the end of the line: whether there was one.
        const auto skipPast = [&](std::string_view end) {
            const std::size_t at = t.find(end, i);
            i = at == std::string_view::npos ? t.size() : at + end.size();
            return at != std::string_view::npos;
        };
        if (c.inComment || rest.starts_with("/*")) {
            if (!c.inComment) i += 2;
            c.inComment = !skipPast("*/");
        } else if (rest.starts_with("//")) {
            i = t.size();
        } else if (rest[0] == '[') {
            const std::size_t start = ++i;
            c.row = skipPast("]") ? Digits(t.substr(start, i - start - 1), 10) : std::nullopt;
        } else if (rest[0] == '{' || rest[0] == '}') {
            if (rest[0] == '{' && c.depth++ == 0) {
                if (r.groups.size() == kMostTables) {
                    return r.Wrong(line, rest.substr(0, 1),
                                   "opens more arrays than there are tables");
                }
                r.groups.emplace_back();
                r.rows.push_back(c.row);
                r.Name(c.name);
            }
            if (rest[0] == '}') c.depth = std::max(c.depth - 1, 0);
            ++i;
        } else if (c.depth > 0 && std::string_view(" \t,").find(rest[0]) == rest.npos) {
            const std::string_view token = rest.substr(0, rest.find_first_of(" \t,{}/", 1));
            if (!r.Value(line, token, kCNumbers)) return false;
            i += token.size();
        } else if (IsLetter(rest[0])) {
            c.name = LeadingWord(rest);
            c.row.reset();
            i += c.name.size();
        } else {
            ++i;
        }
    }
    return true;
}

// Every line of the text to read, until one fails.
template <typename ReadLine>
void ReadLines(std::string_view text, ReadLine readLine) {
    int number = 1;
    for (std::size_t start = 0; start < text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!readLine(Line{line, number})) return;
        start = end + 1;
    }
}

bool IsText(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c < 0x7F)) continue;
        // UTF-8: a lead byte, then as many continuation bytes as it says.
        const std::size_t more = c >= 0xC2 && c <= 0xDF   ? 1
                                 : c >= 0xE0 && c <= 0xEF ? 2
                                 : c >= 0xF0 && c <= 0xF4 ? 3
                                                          : 0;
        if (more == 0 || bytes.size() - i <= more) return false;
        for (std::size_t k = 1; k <= more; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        }
        i += more;
    }
    return true;
}

// "sprite tables with colour data": the kind, for messages.
std::string KindWords(const GeneratedTables& layout, bool layerColours) {
    switch (layout.kind) {
        case GeneratorKind::kSprite:
            return layout.shapes.size() > 1 ? "sprite tables with colour data" : "sprite tables";
        case GeneratorKind::kSpriteLayers:
            return "two-layer sprite tables with colour data";
        case GeneratorKind::kSpriteLayersNoColor:
            return layerColours ? "two-layer sprite tables and their colours"
                                : "two-layer sprite tables";
        case GeneratorKind::kSpriteSet:
            return "sprite sets";
        case GeneratorKind::kChr:
            break;
    }
    return "character tables";
}

std::string RoleList(const std::vector<TableRole>& roles) {
    std::string list;
    for (const TableRole role : roles) list.append(list.empty() ? "" : ", ").append(RoleName(role));
    return list;
}

std::string Count(std::size_t count, std::string_view thing) {
    return std::to_string(count) + " " + std::string(thing) + (count == 1 ? "" : "s");
}

}  // namespace

TableFormat DetectTableFormat(std::string_view bytes) {
    if (!IsText(bytes)) return TableFormat::kBin;
    std::string_view rest = bytes;
    const std::string_view word = NextWord(rest, " \t\r\n");
    std::string_view line = rest.substr(0, rest.find_first_of("\r\n"));
    const std::string_view next = NextWord(line, kBlanks);
    const std::string_view hashWord =
        LeadingWord(word.substr(std::min<std::size_t>(1, word.size())));
    const bool cWord = std::find(std::begin(kCWords), std::end(kCWords), word) != std::end(kCWords);
    if (word.starts_with("/*") || word.starts_with("//") || cWord ||
        (word.starts_with('#') && !AllOf(hashWord, 16))) {
        return TableFormat::kC;
    }
    if (!word.empty() && AllOf(word, 10) &&
        (StartsNoCase(next, "rem") || StartsNoCase(next, "data"))) {
        return TableFormat::kBasic;
    }
    if (word.ends_with(':') || word.starts_with(';') || (IsDirective(word) && !next.empty())) {
        return TableFormat::kAsm;
    }
    return TableFormat::kHex;
}

Result<TablesRead> ReadTables(std::string_view bytes, const TableSource& source,
                              std::string_view shown) {
    const std::string name(shown);
    if (bytes.empty()) return Fail(Failure::kNotUsable, name + " is empty: it holds no tables.");
    TablesRead read;
    read.format = source.format   ? *source.format
                  : source.offset ? TableFormat::kBin
                                  : DetectTableFormat(bytes);

    // The layout of a cel's tables: those of a blank cel of this size.
    std::vector<std::uint8_t> blank(
        static_cast<std::size_t>(kHeaderSize + source.width * source.height), 0);
    blank[0] = static_cast<std::uint8_t>(source.width);
    blank[1] = static_cast<std::uint8_t>(source.height);
    blank[2] = 1;
    const GeneratedTables layout = GenerateTables(CaptureDocument(blank.data()), source.options);

    TextReader reader(shown);
    std::size_t offset = 0;
    if (read.format == TableFormat::kBin) {
        offset = source.offset.value_or(0);
        if (offset > bytes.size()) {
            return Fail(Failure::kNotUsable, name + " holds " + Count(bytes.size(), "byte") +
                                                 ": offset " + std::to_string(offset) +
                                                 " is past its end.");
        }
        for (const char byte : bytes.substr(offset)) reader.Add(static_cast<unsigned char>(byte));
    } else if (read.format == TableFormat::kC) {
        reader.groups.clear();
        CState state;
        ReadLines(bytes, [&](const Line& line) { return ReadCLine(reader, line, state); });
    } else {
        const auto readLine = read.format == TableFormat::kAsm     ? ReadAsmLine
                              : read.format == TableFormat::kBasic ? ReadBasicLine
                                                                   : ReadHexLine;
        ReadLines(bytes, [&](const Line& line) { return readLine(reader, line); });
    }
    if (reader.error) return *reader.error;

    // The tables of a cel in the text: the kind's, and the colours where the text has them.
    std::vector<TableRole> roles;
    for (const TableShape& shape : layout.shapes) roles.push_back(shape.role);
    const bool arrays = read.format == TableFormat::kC;
    const bool layerColours = layout.kind == GeneratorKind::kSpriteLayersNoColor &&
                              (arrays ? reader.groups.size() == roles.size() + 1
                                      : std::count(reader.roles.begin(), reader.roles.end(),
                                                   TableRole::kLayerColours) > 0);
    if (layerColours) roles.push_back(TableRole::kLayerColours);
    const std::string kind = std::to_string(source.width) + " × " + std::to_string(source.height) +
                             " " + KindWords(layout, layerColours);
    if (!reader.roles.empty() && reader.roles != roles) {
        return Fail(Failure::kNotUsable, name + " holds the tables " + RoleList(reader.roles) +
                                             "; " + kind + " are " + RoleList(roles) + ".");
    }
    if (arrays && reader.groups.size() != roles.size()) {
        return Fail(Failure::kNotUsable, name + " holds " + Count(reader.groups.size(), "array") +
                                             "; " + kind + " are " + Count(roles.size(), "array") +
                                             ": " + RoleList(roles) + ".");
    }

    // Where each table of a cel lies: in which group, how far into the cel's part of it.
    struct Place {
        std::size_t group, offset, length;
    };
    std::vector<Place> places;
    std::vector<std::size_t> perCel(reader.groups.size(), 0);  // of each group
    for (std::size_t t = 0; t < roles.size(); ++t) {
        const std::size_t group = arrays ? t : 0;
        const std::size_t length = t < layout.shapes.size() ? layout.shapes[t].length : 2;
        places.push_back({group, perCel[group], length});
        perCel[group] += length;
    }
    // Labels and remarks stand before their tables, arrays have the rows of theirs: a wrong size
    // or order shows there.
    for (std::size_t i = 0; i < reader.labels.size(); ++i) {
        const std::size_t t = i % places.size();
        const std::size_t at = i / places.size() * perCel[0] + places[t].offset;
        const TextReader::Label& label = reader.labels[i];
        if (label.role == roles[t] && label.at == at) continue;
        return Fail(Failure::kNotUsable, label.where + " stands after " + Count(label.at, "byte") +
                                             ", but table " + std::to_string(i + 1) + " of " +
                                             kind + ", cel " +
                                             std::to_string(i / places.size() + 1) + "'s " +
                                             std::string(RoleName(roles[t])) + ", starts after " +
                                             std::to_string(at) + ".");
    }
    for (std::size_t g = 0; g < reader.rows.size(); ++g) {
        if (!reader.rows[g] || *reader.rows[g] == places[g].length) continue;
        return Fail(Failure::kNotUsable, name + ": its " + std::string(RoleName(roles[g])) +
                                             " array has rows of " +
                                             Count(*reader.rows[g], "byte") + "; " + kind +
                                             " have " + std::to_string(places[g].length) + ".");
    }
    std::size_t whole = kMostCels + 1;
    std::size_t total = 0;
    for (std::size_t g = 0; g < perCel.size(); ++g) {
        whole = std::min(whole, reader.groups[g].size() / perCel[g]);
        total += reader.groups[g].size();
    }
    const std::size_t cels =
        source.cels > 0 ? static_cast<std::size_t>(source.cels) : std::min(whole, kMostCels);
    for (std::size_t g = 0; g < perCel.size(); ++g) {
        const std::size_t has = reader.groups[g].size();
        const std::size_t needs = std::max<std::size_t>(cels, 1) * perCel[g];
        if (has >= needs) continue;
        std::string where = name;
        if (arrays) where += "'s " + std::string(RoleName(roles[g])) + " array";
        if (source.offset) where += " from offset " + std::to_string(offset);
        return Fail(Failure::kNotUsable, where + " holds " + Count(has, "byte") + "; " +
                                             Count(std::max<std::size_t>(cels, 1), "cel") + " of " +
                                             kind + (cels > 1 ? " need " : " needs ") +
                                             std::to_string(needs) + ": " +
                                             std::to_string(needs - has) +
                                             (needs - has == 1 ? " is" : " are") + " missing.");
    }

    GeneratedTables& tables = read.tables;
    tables.kind = layout.kind;
    tables.shapes = layout.shapes;
    tables.celCount = static_cast<int>(cels);
    tables.celLength = layout.celLength;
    tables.layers = layout.layers;
    tables.values.assign(cels * layout.celLength, 0);
    tables.layerColours.assign(layerColours ? 2 * cels : 0, 0);
    for (std::size_t cel = 0; cel < cels; ++cel) {
        auto to = tables.values.begin() + static_cast<std::ptrdiff_t>(cel * tables.celLength);
        for (const Place& place : places) {
            const auto from = reader.groups[place.group].begin() +
                              static_cast<std::ptrdiff_t>(cel * perCel[place.group] + place.offset);
            const auto end = from + static_cast<std::ptrdiff_t>(place.length);
            if (&place == &places.back() && layerColours) {
                std::copy(from, end,
                          tables.layerColours.begin() + static_cast<std::ptrdiff_t>(2 * cel));
            } else {
                to = std::copy(from, end, to);
            }
        }
    }
    std::size_t used = 0;
    for (const std::size_t length : perCel) used += cels * length;
    if (total > used) {
        read.note = name + ": " + Count(cels, "cel") + " read; " + Count(total - used, "byte") +
                    (cels == 1 ? " after it" : " after them") +
                    (total - used == 1 ? " is" : " are") + " left out" +
                    (whole > kMostCels && source.cels == 0
                         ? " (a sprite file holds at most " + std::to_string(kMaxCels) + " cels)"
                         : "") +
                    ".";
    }
    return read;
}
