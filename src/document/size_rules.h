#pragma once
// The numbers typed into the New dialog and the picture import's cel-size dialog: conversion of a
// field's text to a whole number, and the check of the values against the document's limits.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"

// Optional leading blanks, an optional sign, then decimal digits, or hexadecimal digits after a
// "$", "x" or "0x" prefix (x in either case). Anything else (an empty text, a trailing blank, a
// value outside the signed 32-bit range) gives no value.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

struct NewDocumentSize {
    int width = 0;
    int height = 0;
    int celCount = 0;
};

// The width and height of a cel.
struct CelSize {
    int width = 0;
    int height = 0;
};

// Checks a cel size against the document's limits, width first: "Width must be from 1 to 64.",
// "Height must be from 1 to 64." (the New dialog's texts; the picture import's cel size too).
Result<> CheckCelSize(int width, int height);

// Converts all three texts, then checks width and height 1 to 64 and the cel count 1 to 100. The
// first failure wins, in the order width, height, cel count: "'abc' is not a valid whole number.",
// "Width must be from 1 to 64." ...
Result<NewDocumentSize> ParseNewDocumentFields(std::string_view width, std::string_view height,
                                               std::string_view celCount);

// The cel-size dialog's two texts, with the New dialog's rules and messages: both converted, then
// checked by CheckCelSize.
Result<CelSize> ParseCelSizeFields(std::string_view width, std::string_view height);
