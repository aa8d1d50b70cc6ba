#pragma once
// Words named as a choice in a message or a help line: "hex, asm, c, basic or bin".

#include <string>

// "a", "a or b", "a, b or c".
template <typename Words>
std::string OneOf(const Words& words) {
    std::string text;
    std::size_t i = 0;
    for (const auto& word : words) {
        if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
        text += word;
        ++i;
    }
    return text;
}
