#pragma once
// What a generation reports besides its text. Every generation starts at kNoError; a later breach
// overwrites an earlier one.

#include <string_view>

inline constexpr int kNoError = 0;
inline constexpr int kColourCodeNotFound = 1;  // no generator sets it
inline constexpr int kNotOrColour = 2;
inline constexpr int kTooManyColours = 3;

// "no error", "color code not found", "3rd color is not or'ing color", "too many colors".
std::string_view ResultMessage(int code);
