#include "reference_tables.h"

#include <algorithm>

namespace {

class Reference {
  public:
    Reference(const std::vector<std::uint8_t>& image, const GeneratorOptions& options)
        : image_(image), options_(options), width_(image[0]), height_(image[1]), cels_(image[2]) {}

    GenerationResult Run() {
        if (options_.outputType == OutputType::kChr) {
            Chr();
        } else if (options_.layers == 1) {
            Sprite();
        } else if (options_.colorData) {
            TwoLayers();
        } else {
            TwoLayersNoColor();
        }
        return {WithCommas(), code_};
    }

  private:
    // The pixel, or -1 past the row's last pixel.
    int Pixel(int cel, int row, int x) const {
        if (x >= width_) return -1;
        return image_[static_cast<std::size_t>(3 + (cel * height_ + row) * width_ + x)];
    }
    void Add(std::string& tokens, int value) const { AppendHexByte(tokens, options_.comma, value); }
    void AddText(const std::string& piece) {
        for (const char c : piece) text_ += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    std::string WithCommas() const {
        if (options_.comma != 1) return text_;
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < text_.size()) {
            const std::size_t end = std::min(text_.find("\r\n", start), text_.size());
            lines.push_back(text_.substr(start, end - start));
            start = end + 2;
        }
        std::string joined;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            joined += lines[i];
            if (i + 1 < lines.size() && !lines[i].empty()) joined += ",";
            if (i + 1 < lines.size() || text_.ends_with("\r\n")) joined += "\r\n";
        }
        return joined;
    }

    void Sprite() {
        for (int c = 0; c < cels_; ++c) {
            std::string pattern;
            std::string colours;
            for (int r = 0; r < height_; ++r) {
                std::string bits;
                int colour = -1;
                for (int x = 0; x < width_; ++x) {
                    const int v = Pixel(c, r, x);
                    if (colour < 0 && v != 0) colour = v;
                    if (x < 8) bits += v != 0 ? "1" : "0";
                }
                Add(colours, std::max(colour, 0));
                Add(pattern, BinToInt(bits));
            }
            for (int r = 0; width_ > 8 && r < height_; ++r) {
                std::string bits;
                for (int x = 8; x < 16; ++x) bits += Pixel(c, r, x) > 0 ? "1" : "0";
                Add(pattern, BinToInt(bits));
            }
            AddText(options_.colorData ? pattern + "\n" + colours : pattern);
            if (c + 1 < cels_) AddText("\n");
        }
    }

    void Chr() {
        for (int c = 0; c < cels_; ++c) {
            std::string pattern;
            std::string colours;
            for (int x0 = 0; x0 < std::min(width_, 16); x0 += 8) {
                for (int r = 0; r < height_; ++r) {
                    const int b = Pixel(c, r, x0);
                    int f = -1;
                    std::string bits;
                    for (int x = x0; x < x0 + 8; ++x) {
                        const int v = Pixel(c, r, x) < 0 ? b : Pixel(c, r, x);
                        if (f < 0 && v != b) f = v;
                        bits += v != b ? "1" : "0";
                    }
                    Add(pattern, BinToInt(bits));
                    Add(colours, (f < 0 ? b : f) * 16 + b);
                }
            }
            AddText(pattern + "," + colours + "\n");
        }
    }

    // Distinct colours other than 0 in order of appearance; a further one sets kTooManyColours.
    std::vector<int> Collect(const std::vector<int>& pixels, std::size_t slots) {
        std::vector<int> found;
        for (const int p : pixels) {
            if (p == 0 || std::find(found.begin(), found.end(), p) != found.end()) continue;
            if (found.size() == slots) {
                code_ = kTooManyColours;
            } else {
                found.push_back(p);
            }
        }
        found.resize(slots, 0);
        return found;
    }
    std::vector<int> Row(int c, int r) const {
        std::vector<int> pixels;
        for (int x = 0; x < width_; ++x) pixels.push_back(Pixel(c, r, x));
        return pixels;
    }
    void Layers(int c, int r, int x0, int first, int second, int both, std::string& p1,
                std::string& p2) const {
        std::string bits1;
        std::string bits2;
        for (int x = x0; x < x0 + 8; ++x) {
            const int p = Pixel(c, r, x);
            bits1 += p > 0 && (p == first || p == both) ? "1" : "0";
            bits2 += p > 0 && (p == second || p == both) ? "1" : "0";
        }
        Add(p1, BinToInt(bits1));
        Add(p2, BinToInt(bits2));
    }

    void TwoLayers() {
        for (int c = 0; c < cels_; ++c) {
            std::string p1, p2, c1, c2;
            for (int x0 = 0; x0 < std::min(width_, 16); x0 += 8) {
                for (int r = 0; r < height_; ++r) {
                    std::vector<int> s = Collect(Row(c, r), 3);
                    const auto used = std::count_if(s.begin(), s.end(), [](int v) { return v; });
                    std::sort(s.begin(), s.begin() + used);
                    if (x0 == 0) {
                        Add(c1, s[0]);
                        Add(c2, s[1] | 0x40);
                        if (s[2] != 0 && s[2] != (s[0] | s[1])) code_ = kNotOrColour;
                    }
                    Layers(c, r, x0, s[0], s[1], s[2], p1, p2);
                }
            }
            AddText(p1 + "\n" + p2 + "\n" + c1 + "\n" + c2);
            if (c + 1 < cels_) AddText("\n");
        }
    }

    void TwoLayersNoColor() {
        for (int c = 0; c < cels_; ++c) {
            std::vector<int> pixels;
            for (int r = 0; r < height_; ++r) {
                const std::vector<int> row = Row(c, r);
                pixels.insert(pixels.end(), row.begin(), row.end());
            }
            const std::vector<int> s = Collect(pixels, 2);
            std::string p1, p2;
            for (int x0 = 0; x0 < std::min(width_, 16); x0 += 8) {
                for (int r = 0; r < height_; ++r) Layers(c, r, x0, s[0], s[1], -2, p1, p2);
            }
            AddText(p1 + "\n" + p2);
            if (c + 1 < cels_) AddText("\n");
        }
    }

    const std::vector<std::uint8_t>& image_;
    GeneratorOptions options_;
    int width_;
    int height_;
    int cels_;
    std::string text_;
    int code_ = kNoError;
};

}  // namespace

GenerationResult ReferenceTables(const std::vector<std::uint8_t>& image,
                                 const GeneratorOptions& options) {
    return Reference(image, options).Run();
}
