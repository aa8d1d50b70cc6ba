#include "generator/clashes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <string_view>

#include "generator/layer_basis.h"
#include "generator/pixel_words.h"
#include "generator/regenerate.h"

namespace {

// The distinct values of a run of pixels in order of first appearance; 0 counts only when asked.
std::vector<int> Colours(const std::uint8_t* pixels, int count, bool withZero) {
    std::array<bool, 256> seen{};
    std::vector<int> colours;
    for (int x = 0; x < count; ++x) {
        const std::uint8_t p = pixels[x];
        if ((p != 0 || withZero) && !seen[p]) colours.push_back(p);
        seen[p] = true;
    }
    return colours;
}

// "1, 3, 4"
std::string Commas(const std::vector<int>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += ", ";
        text += std::to_string(values[i]);
    }
    return text;
}

// "5 and 7", "1, 4 and 6"
std::string Listed(const std::vector<int>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += i + 1 == values.size() ? " and " : ", ";
        text += std::to_string(values[i]);
    }
    return text;
}

std::vector<int> From(const std::vector<int>& values, std::size_t first) {
    return {values.begin() + static_cast<std::ptrdiff_t>(std::min(first, values.size())),
            values.end()};
}

// A number's digits at `at`; returns their end. Room for 12 characters.
char* PutNumber(char* at, int n) {
    return std::to_chars(at, at + 12, n).ptr;
}

// "cel 2, row 5" at `at`; returns its end. Room for 40 characters.
char* PutPlace(char* at, int cel, int row) {
    return PutNumber(std::copy_n(", row ", 6, PutNumber(std::copy_n("cel ", 4, at), cel + 1)), row);
}

// "columns 16 to 31 are not in any sprite pattern" at `at`; returns its end. Room for 80.
char* PutUncovered(char* at, const ColumnRange& range, bool chr) {
    if (range.first == range.last) {
        at = std::copy_n(" is", 3, PutNumber(std::copy_n("column ", 7, at), range.first));
    } else {
        at = PutNumber(std::copy_n("columns ", 8, at), range.first);
        at = std::copy_n(" are", 4, PutNumber(std::copy_n(" to ", 4, at), range.last));
    }
    const std::string_view rest =
        chr ? " not in any character pattern" : " not in any sprite pattern";
    return std::copy(rest.begin(), rest.end(), at);
}

class ClashList {
  public:
    ClashList(int cel, int row) : cel_(cel), row_(row) {}
    void Add(std::string_view what) {
        if (where_.empty()) {
            Put({what});
        } else {
            Put({where_, ": ", what});
        }
    }
    // The columns of the lines Add writes from now on ("columns 16 to 31"); empty for none.
    void At(std::string where) { where_ = std::move(where); }
    void Add(std::string_view where, std::string_view what) { Put({where, ": ", what}); }
    std::vector<std::string> lines;

  private:
    // "cel 2, row 5" and the parts given after it: ", " before a place, ": " before the rest.
    void Put(std::initializer_list<std::string_view> parts) {
        char place[40];
        char* end = PutPlace(place, cel_, row_);
        std::size_t size = static_cast<std::size_t>(end - place) + 2;
        for (const std::string_view part : parts) size += part.size();
        std::string line;
        line.reserve(size);
        line.append(place, end);
        line += parts.size() == 1 ? ": " : ", ";
        for (const std::string_view part : parts) line += part;
        lines.push_back(std::move(line));
    }
    int cel_;
    int row_;
    std::string where_;
};

// Moves a row's lines to the end of all lines.
void Append(std::vector<std::string>& lines, ClashList& clashes) {
    lines.insert(lines.end(), std::make_move_iterator(clashes.lines.begin()),
                 std::make_move_iterator(clashes.lines.end()));
}

void TwoLayerRow(const std::uint8_t* row, int width, ClashList& clashes) {
    const std::vector<int> colours = Colours(row, width, false);
    if (colours.size() > 3) {
        const std::vector<int> dropped = From(colours, 3);
        clashes.Add(std::to_string(colours.size()) + " colours (" + Commas(colours) + "); " +
                    Listed(dropped) + (dropped.size() == 1 ? " is" : " are") + " dropped");
        return;
    }
    std::vector<int> sorted = colours;
    std::sort(sorted.begin(), sorted.end());
    if (sorted.size() == 3 && sorted[2] != (sorted[0] | sorted[1])) {
        clashes.Add("colours " + Commas(sorted) + ": " + std::to_string(sorted[2]) + " is not " +
                    std::to_string(sorted[0]) + " OR " + std::to_string(sorted[1]));
    }
}

// Three or four layers with colour data: a line whose colours need more layers than there are.
void ManyLayerRow(const std::uint8_t* row, int width, int layers, ClashList& clashes) {
    const int needed = LayersNeeded(ColoursOf(row, width));
    if (needed <= layers) return;
    const std::vector<int> colours = Colours(row, width, false);
    std::vector<int> sorted = colours;
    std::sort(sorted.begin(), sorted.end());
    clashes.Add("colours " + Listed(sorted) + " need " + std::to_string(needed) + " layers, not " +
                std::to_string(layers));
}

// Layers without colour data: the colours of a line past the cel's (or piece's) first ones.
void CelColourRow(const std::uint8_t* row, int width, const std::vector<int>& celColours,
                  ClashList& clashes, const char* whose = "cel's") {
    constexpr const char* kCounts[] = {"", "one", "two", "three", "four"};
    const auto layers = static_cast<std::ptrdiff_t>(celColours.size());
    std::vector<int> dropped;
    for (const int colour : Colours(row, width, false)) {
        if (std::find(celColours.begin(), celColours.end(), colour) == celColours.end()) {
            dropped.push_back(colour);
        }
    }
    if (dropped.empty()) return;
    const bool one = dropped.size() == 1;
    clashes.Add((one ? "colour " : "colours ") + Listed(dropped) + (one ? " is" : " are") +
                " not one of the " + whose + " " + kCounts[layers] + " (" + Listed(celColours) +
                "); " + (one ? "it is" : "they are") + " dropped");
}

// The first `layers` colours of a cel or piece, in order of appearance, 0 for those it lacks.
std::vector<int> FirstColours(std::vector<int> colours, int layers) {
    colours.resize(static_cast<std::size_t>(layers), 0);
    return colours;
}

void OneLayerRow(const std::uint8_t* row, int width, ClashList& clashes) {
    const std::vector<int> colours = Colours(row, width, false);
    if (colours.size() > 1) {
        clashes.Add("colours " + Listed(colours) + "; the line takes " +
                    std::to_string(colours[0]));
    }
}

void ChrRow(const std::uint8_t* row, int width, ClashList& clashes) {
    for (int x0 = 0; x0 < std::min(width, 16); x0 += 8) {
        const int count = std::min(width - x0, 8);
        const std::vector<int> colours = Colours(row + x0, count, true);
        if (colours.size() <= 2) continue;
        const std::vector<int> others = From(colours, 2);
        clashes.Add("columns " + std::to_string(x0) + " to " + std::to_string(x0 + count - 1),
                    "colours " + Listed(colours) + "; " + Listed(others) +
                        (others.size() == 1 ? " is" : " are") + " drawn as " +
                        std::to_string(colours[1]));
    }
}

void ColumnsRow(const std::uint8_t* row, int width, bool chr, ClashList& clashes) {
    const std::optional<ColumnRange> range = UncoveredColumns(row, width, 1);
    if (!range) return;
    char text[80];
    clashes.Add(
        std::string_view(text, static_cast<std::size_t>(PutUncovered(text, *range, chr) - text)));
}

// Sprite sets: the rules of the kind applied to each piece's part of each row, named with its
// columns. Every column is in a piece.
void SpriteSetClashes(const CapturedDocument& doc, const GeneratorOptions& options, int cel,
                      std::vector<std::string>& lines) {
    const int width = doc.width;
    const int side = options.pieces;
    const std::uint8_t* pixels = CelPixels(doc, width, doc.height, cel);
    std::vector<int> pieceColours;
    for (int y0 = 0; y0 < doc.height; y0 += side) {
        const int rows = std::min(side, doc.height - y0);
        for (int r = y0; r < y0 + rows; ++r) {
            ClashList clashes(cel, r);
            const std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(r) * width;
            for (int x0 = 0; x0 < width; x0 += side) {
                const int count = std::min(side, width - x0);
                clashes.At("columns " + std::to_string(x0) + " to " +
                           std::to_string(x0 + count - 1));
                if (options.layers == 2 && options.colorData) {
                    TwoLayerRow(row + x0, count, clashes);
                } else if (options.layers > 2 && options.colorData) {
                    ManyLayerRow(row + x0, count, options.layers, clashes);
                } else if (options.layers > 1) {
                    // The piece's first colours, row by row as the generator reads them.
                    pieceColours.clear();
                    for (int y = y0; y < y0 + rows; ++y) {
                        for (const int colour :
                             Colours(pixels + static_cast<std::ptrdiff_t>(y) * width + x0, count,
                                     false)) {
                            if (std::find(pieceColours.begin(), pieceColours.end(), colour) ==
                                pieceColours.end())
                                pieceColours.push_back(colour);
                        }
                    }
                    CelColourRow(row + x0, count, FirstColours(pieceColours, options.layers),
                                 clashes, "piece's");
                } else if (options.colorData) {
                    OneLayerRow(row + x0, count, clashes);
                }
            }
            Append(lines, clashes);
        }
    }
}

}  // namespace

std::optional<ColumnRange> UncoveredColumns(const std::uint8_t* cel, int width, int height) {
    using namespace pixel_words;
    int first = width;
    int last = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = cel + static_cast<std::ptrdiff_t>(y) * width;
        // Sixteen pixels at a time: the first and the last drawn of each run.
        for (int x = 16; x < width; x += 16) {
            const unsigned drawn = DrawnBits(LoadLanes(row + x, width - x));
            if (drawn == 0) continue;
            first = std::min(first, x + std::countr_zero(drawn));
            last = std::max(last, x + 31 - std::countl_zero(drawn));
        }
    }
    if (last < 0) return std::nullopt;
    return ColumnRange{first, last};
}

void PutUncoveredPixels(const CapturedDocument& doc, const GeneratorOptions& options,
                        std::string_view before, std::ostream& out) {
    const GeneratorKind kind = ChooseGenerator(WithLayersChosen(doc, options));
    if (kind == GeneratorKind::kSpriteSet) return;
    const bool chr = kind == GeneratorKind::kChr;
    // Lines go out in blocks, so that the same memory takes every block.
    constexpr std::size_t kBlock = 1 << 15;
    std::string block;
    block.reserve(kBlock + before.size() + 128);
    for (int cel = 0; cel < doc.celCount; ++cel) {
        const std::uint8_t* pixels = CelPixels(doc, doc.width, doc.height, cel);
        for (int r = 0; r < doc.height; ++r) {
            const std::optional<ColumnRange> range =
                UncoveredColumns(pixels + static_cast<std::ptrdiff_t>(r) * doc.width, doc.width, 1);
            if (!range) continue;
            char line[128];
            char* end = std::copy_n(": ", 2, PutPlace(line, cel, r));
            end = PutUncovered(end, *range, chr);
            *end++ = '\n';
            block += before;
            block.append(line, end);
            if (block.size() >= kBlock) {
                out << block;
                block.clear();
            }
        }
    }
    out << block;
}

std::vector<std::string> FindClashes(const CapturedDocument& doc, const GeneratorOptions& chosen) {
    const GeneratorOptions options = WithLayersChosen(doc, chosen);
    std::vector<std::string> lines;
    const int width = doc.width;
    const GeneratorKind kind = ChooseGenerator(options);
    for (int cel = 0; cel < doc.celCount; ++cel) {
        if (kind == GeneratorKind::kSpriteSet) {
            SpriteSetClashes(doc, options, cel, lines);
            continue;
        }
        const std::uint8_t* pixels = CelPixels(doc, width, doc.height, cel);
        std::vector<int> celColours;
        if (kind == GeneratorKind::kSpriteLayersNoColor) {
            celColours = FirstColours(Colours(pixels, width * doc.height, false), options.layers);
        }
        for (int r = 0; r < doc.height; ++r) {
            const std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(r) * width;
            ClashList clashes(cel, r);
            switch (kind) {
                case GeneratorKind::kSpriteLayers:
                    if (options.layers == 2) {
                        TwoLayerRow(row, width, clashes);
                    } else {
                        ManyLayerRow(row, width, options.layers, clashes);
                    }
                    break;
                case GeneratorKind::kSpriteLayersNoColor:
                    CelColourRow(row, width, celColours, clashes);
                    break;
                case GeneratorKind::kSprite:
                    if (options.colorData) OneLayerRow(row, width, clashes);
                    break;
                case GeneratorKind::kChr:
                    ChrRow(row, width, clashes);
                    break;
                case GeneratorKind::kSpriteSet:
                    break;
            }
            ColumnsRow(row, width, kind == GeneratorKind::kChr, clashes);
            Append(lines, clashes);
        }
    }
    return lines;
}
