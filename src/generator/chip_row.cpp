#include "generator/chip_row.h"

#include <algorithm>
#include <array>
#include <vector>

#include "generator/clashes.h"

namespace {

char Key(int colour) {
    return "0123456789ABCDEF"[colour & 0x0F];
}

// The drawn colours of a run of pixels in order of appearance; 0 counts only when asked.
std::vector<std::uint8_t> Colours(const std::uint8_t* pixels, int count, bool withZero = false) {
    std::array<bool, 256> seen{};
    std::vector<std::uint8_t> colours;
    for (int x = 0; x < count; ++x) {
        if ((pixels[x] != 0 || withZero) && !seen[pixels[x]]) colours.push_back(pixels[x]);
        seen[pixels[x]] = true;
    }
    return colours;
}

// "5 and 7", "1, 4 and 6"
std::string Listed(const std::vector<std::uint8_t>& colours) {
    std::string text;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        if (i > 0) text += i + 1 == colours.size() ? " and " : ", ";
        text += Key(colours[i]);
    }
    return text;
}

// Three or four layers: "1 | 2 OR | 4 OR → 1, 3, 6, 7", the colours of the layers that draw in
// the row and the colours it shows, when a pixel of the row is in more than one layer; empty
// otherwise.
std::string ManyLayersText(const GeneratedTables& tables, const std::uint8_t* shown, int width,
                           int height, int row) {
    const auto rows = static_cast<std::size_t>(height);
    const std::size_t patterns = rows * (width > 8 ? 2 : 1);
    const auto r = static_cast<std::size_t>(row);
    const auto values = tables.Cel(0);
    const auto layers = static_cast<std::size_t>(tables.layers);
    std::string text;
    unsigned seen = 0;
    unsigned overlap = 0;
    for (std::size_t j = 0; j < layers; ++j) {
        unsigned bits = 0;
        for (std::size_t at = r; at < patterns; at += rows) {
            bits = bits << 8 | values[j * patterns + at];
        }
        if (bits == 0) continue;
        overlap |= seen & bits;
        seen |= bits;
        const TableValue colour = tables.kind == GeneratorKind::kSpriteLayers
                                      ? values[layers * patterns + j * rows + r]
                                      : static_cast<TableValue>(tables.layerColours[j]);
        if (!text.empty()) text += " | ";
        text.append(1, Key(colour));
        if (j > 0 && (colour & 0x40u) != 0) text += " OR";
    }
    if (overlap == 0) return {};
    std::vector<std::uint8_t> colours = Colours(shown, std::min(width, 16));
    std::sort(colours.begin(), colours.end());
    text += " → ";
    for (std::size_t i = 0; i < colours.size(); ++i) {
        text.append(i == 0 ? "" : ", ").append(1, Key(colours[i]));
    }
    return text;
}

// "a | b OR → c" when a pixel of the row is in both layers; empty otherwise.
std::string LayersText(const GeneratedTables& tables, int width, int height, int row) {
    const auto rows = static_cast<std::size_t>(height);
    const std::size_t patterns = rows * (width > 8 ? 2 : 1);
    const auto r = static_cast<std::size_t>(row);
    const auto values = tables.Cel(0);
    bool both = false;
    for (std::size_t at = r; at < patterns; at += rows)
        both |= (values[at] & values[patterns + at]) != 0;
    if (!both) return {};
    TableValue colour1 = 0;
    TableValue colour2 = 0x40;
    if (tables.kind == GeneratorKind::kSpriteLayers) {
        colour1 = values[2 * patterns + r];
        colour2 = values[2 * patterns + rows + r];
    } else if (tables.layerColours.size() >= 2) {
        colour1 = tables.layerColours[0];
        colour2 = tables.layerColours[1] | 0x40u;
    }
    const int shown = (colour2 & 0x40u) != 0 ? (colour1 | colour2) & 0x0F : colour1 & 0x0F;
    std::string text;
    text.append(1, Key(colour1)).append(" | ").append(1, Key(colour2));
    text.append(" OR → ").append(1, Key(shown));
    return text;
}

}  // namespace

std::string DescribeChipRow(const ChipCel& chip, int row) {
    const int width = chip.Width();
    const std::uint8_t* drawn = chip.Drawn() + static_cast<std::ptrdiff_t>(row) * width;
    const std::uint8_t* shown = chip.Pixels() + static_cast<std::ptrdiff_t>(row) * width;
    const GeneratedTables& tables = chip.Tables();
    const bool holdsColours = TablesHoldColours(tables);
    const bool set = tables.kind == GeneratorKind::kSpriteSet;
    const int covered = set ? width : std::min(width, 16);  // the columns the tables hold
    std::string said;
    bool coloursSaid = false;
    if (set && tables.layers == 1 && holdsColours) {
        // One colour a line of each piece: "columns 16–31: 5 and 7: the line takes 5".
        for (int x0 = 0; x0 < width; x0 += tables.pieces) {
            const int count = std::min(tables.pieces, width - x0);
            const std::vector<std::uint8_t> colours = Colours(drawn + x0, count);
            if (colours.size() < 2) continue;
            said.append(said.empty() ? "" : "; ").append("columns " + std::to_string(x0));
            said.append("–" + std::to_string(x0 + count - 1) + ": " + Listed(colours));
            said.append(": the line takes ").append(1, Key(colours[0]));
            coloursSaid = true;
        }
    } else if (tables.kind == GeneratorKind::kSpriteLayers ||
               tables.kind == GeneratorKind::kSpriteLayersNoColor) {
        said = tables.layers > 2 ? ManyLayersText(tables, shown, width, chip.Height(), row)
                                 : LayersText(tables, width, chip.Height(), row);
    } else if (tables.kind == GeneratorKind::kSprite && holdsColours) {
        const std::vector<std::uint8_t> colours = Colours(drawn, covered);
        if (colours.size() > 1) {
            said = Listed(colours) + ": the line takes " + Key(colours[0]);
            coloursSaid = true;
        }
    }

    // What else the chip shows otherwise than drawn: each drawn colour of the columns the tables
    // hold at its first pixel shown otherwise, then the columns from 16 on.
    std::vector<std::string> otherwise;
    if (holdsColours && !coloursSaid) {
        // Colour 0 is a character's colour like any other.
        for (const std::uint8_t colour :
             Colours(drawn, covered, tables.kind == GeneratorKind::kChr)) {
            int x = 0;
            while (x < covered && (drawn[x] != colour || shown[x] == colour)) ++x;
            if (x == covered) continue;
            std::string text(1, Key(colour));
            // A sprite's colour 0 is no colour: the pixel is not there.
            otherwise.push_back(shown[x] == 0 && tables.kind != GeneratorKind::kChr
                                    ? text + " is dropped"
                                    : text + " shows as " + Key(shown[x]));
        }
    }
    if (const std::optional<ColumnRange> lost =
            set ? std::nullopt : UncoveredColumns(drawn, width, 1)) {
        otherwise.push_back(lost->first == lost->last
                                ? "column " + std::to_string(lost->first) + " is in no table"
                                : "columns " + std::to_string(lost->first) + "–" +
                                      std::to_string(lost->last) + " are in no table");
    }
    for (const std::string& text : otherwise) said += (said.empty() ? "" : "; ") + text;
    std::string line = "row " + std::to_string(row) + ": ";
    line += said.empty() ? "as drawn" : said;
    return line;
}
