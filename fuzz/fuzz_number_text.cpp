// The New dialog's number conversion, against a second implementation of the same rules built
// from a regular expression and wide arithmetic.

#include <optional>
#include <regex>
#include <string>

#include "document/number_text.h"
#include "fuzz_check.h"

namespace {

std::optional<long long> Reference(const std::string& text) {
    static const std::regex hex(R"(^ *([+-]?)(\$|0[xX]|[xX])([0-9A-Fa-f]+)$)");
    static const std::regex dec(R"(^ *([+-]?)([0-9]+)$)");
    std::smatch m;
    std::string digits;
    int base = 10;
    bool negative = false;
    if (std::regex_match(text, m, hex)) {
        base = 16;
        negative = m[1] == "-";
        digits = m[3];
    } else if (std::regex_match(text, m, dec)) {
        negative = m[1] == "-";
        digits = m[2];
    } else {
        return std::nullopt;
    }
    const std::size_t first = digits.find_first_not_of('0');
    digits = first == std::string::npos ? "0" : digits.substr(first);
    if (digits.size() > 12) return std::nullopt;  // far beyond 32 bits in either base
    const long long value = (negative ? -1 : 1) * std::stoll(digits, nullptr, base);
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
    return 0;
}
