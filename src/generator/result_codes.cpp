#include "generator/result_codes.h"

std::string_view ResultMessage(int code) {
    switch (code) {
        case kNoError:
            return "no error";
        case kColourCodeNotFound:
            return "color code not found";
        case kNotOrColour:
            return "3rd color is not or'ing color";
        case kTooManyColours:
            return "too many colors";
        default:
            return "unknown result code";
    }
}
