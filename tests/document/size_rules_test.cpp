#include <gtest/gtest.h>

#include "document/size_rules.h"

namespace {

TEST(NumberText, ConversionRules) {
    struct Row {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Row rows[] = {
        {"16", 16},
        {" 16", 16},
        {"   +7", 7},
        {"-3", -3},
        {"$10", 16},
        {"x1F", 31},
        {"X1f", 31},
        {"0x40", 64},
        {"0X40", 64},
        {"-$10", -16},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$7FFFFFFF", 2147483647},
        {"16 ", std::nullopt},  // a trailing blank is an error
        {"", std::nullopt},
        {" ", std::nullopt},
        {"abc", std::nullopt},
        {"1a", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$G", std::nullopt},
        {"+", std::nullopt},
        {"--1", std::nullopt},
        {"1.5", std::nullopt},
        {"\t5", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$80000000", std::nullopt},
        {"99999999999999999999999", std::nullopt},
    };
    for (const Row& r : rows) EXPECT_EQ(ParseWholeNumber(r.text), r.value) << "'" << r.text << "'";
}

TEST(NumberText, NewDocumentFields) {
    struct Row {
        const char* w;
        const char* h;
        const char* n;
        int width, height, cels;
        const char* error;
    };
    const Row rows[] = {
        {"16", "16", "2", 16, 16, 2, ""},
        {"1", "1", "1", 1, 1, 1, ""},
        {"$40", "64", "100", 64, 64, 100, ""},
        {"8", "abc", "1", 0, 0, 0, "'abc' is not a valid whole number."},
        {"16 ", "abc", "1", 0, 0, 0, "'16 ' is not a valid whole number."},
        {"8", "8", "", 0, 0, 0, "'' is not a valid whole number."},
        {"0", "8", "1", 0, 0, 0, "Width must be from 1 to 64."},
        {"65", "8", "1", 0, 0, 0, "Width must be from 1 to 64."},
        {"8", "-1", "1", 0, 0, 0, "Height must be from 1 to 64."},
        {"8", "8", "101", 0, 0, 0, "Cel count must be from 1 to 100."},
        {"8", "8", "0", 0, 0, 0, "Cel count must be from 1 to 100."},
        {"99", "8", "x", 0, 0, 0, "'x' is not a valid whole number."},  // all convert first
    };
    for (const Row& r : rows) {
        const Result<NewDocumentSize> v = ParseNewDocumentFields(r.w, r.h, r.n);
        EXPECT_EQ(v.message(), r.error) << r.w << "," << r.h << "," << r.n;
        const NewDocumentSize size = v.ok() ? *v : NewDocumentSize{};
        EXPECT_EQ(size.width, r.width);
        EXPECT_EQ(size.height, r.height);
        EXPECT_EQ(size.celCount, r.cels);
    }
}

}  // namespace
