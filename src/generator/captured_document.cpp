#include "generator/captured_document.h"

CapturedDocument CaptureDocument(const std::uint8_t* buffer) {
    const auto signedByte = [buffer](int i) {
        return static_cast<int>(static_cast<std::int8_t>(buffer[i]));
    };
    return {buffer, signedByte(0), signedByte(1), signedByte(2)};
}
