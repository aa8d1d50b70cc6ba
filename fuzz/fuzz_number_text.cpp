// The New dialog's number conversion, against a second implementation of the same rules built
// from the C library's character classes and strtoull; and the cel-size dialog's two fields
// against the New dialog's.

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>

#include "document/size_rules.h"
#include "fuzz_check.h"

namespace {

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

std::optional<long long> Reference(std::string text) {
    text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size()
                                                                   : text.find_first_not_of(' '));
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.erase(0, 1);
    }
    int base = 10;
    if (StartsWith(text, "$") || StartsWith(text, "x") || StartsWith(text, "X")) {
        base = 16;
        text.erase(0, 1);
    } else if (StartsWith(text, "0x") || StartsWith(text, "0X")) {
        base = 16;
        text.erase(0, 2);
    }
    const auto isDigit = [base](unsigned char c) {
        return base == 16 ? std::isxdigit(c) != 0 : std::isdigit(c) != 0;
    };
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) return std::nullopt;
    text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
    if (text.size() > 12) return std::nullopt;  // far beyond 32 bits in either base
    const long long magnitude = static_cast<long long>(std::strtoull(text.c_str(), nullptr, base));
    const long long value = negative ? -magnitude : magnitude;
    if (value < -2147483648LL || value > 2147483647LL) return std::nullopt;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto got = ParseWholeNumber(text);
    const auto want = Reference(text);
    FUZZ_CHECK(got.has_value() == want.has_value());
    if (got) FUZZ_CHECK(*got == *want);
    // Two lines are the cel-size dialog's W and H: the New dialog's values and messages.
    if (const std::size_t cut = text.find('\n'); cut != std::string::npos) {
        const std::string width = text.substr(0, cut);
        const std::string height = text.substr(cut + 1);
        const Result<CelSize> cel = ParseCelSizeFields(width, height);
        const Result<NewDocumentSize> fresh = ParseNewDocumentFields(width, height, "1");
        FUZZ_CHECK(cel.message() == fresh.message());
        if (cel) FUZZ_CHECK(cel->width == fresh->width && cel->height == fresh->height);
    }
    return 0;
}
