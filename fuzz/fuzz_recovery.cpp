// Any byte string is either refused as a recovery copy with a reason, leaving the result
// untouched, or read as a document that makes exactly the same copy again.

#include <vector>

#include "document/recovery_file.h"
#include "document/sprite_document.h"
#include "document/sprite_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecoveredDocument read;
    read.name = "untouched";
    const std::string reason = ReadRecoveryCopy(data, size, read);
    if (!reason.empty()) {
        FUZZ_CHECK(read.name == "untouched" && read.image.empty());
        return 0;
    }
    FUZZ_CHECK(read.name.size() <= kMaxRecoveredText && read.savePath.size() <= kMaxRecoveredText);
    TSpriteDocument doc;
    FUZZ_CHECK(LoadSpriteBytes(doc, read.image.data(), read.image.size(), read.savePath).ok());
    doc.Names().name = read.name;
    static std::vector<std::uint8_t> again(kMaxRecoveryCopySize);
    const std::size_t made = MakeRecoveryCopy(doc, again.data(), again.size());
    FUZZ_CHECK(made == size);
    for (std::size_t i = 0; i < size; ++i) FUZZ_CHECK(again[i] == data[i]);
    return 0;
}
