// Any byte string is either refused with a message, leaving the document exactly as it was, or
// accepted as a document within the limits that saves back to the same bytes.

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "document/sprite_document.h"
#include "document/sprite_file.h"
#include "fuzz_check.h"

namespace {

// A file in the temporary directory that saves go to; removed when the process ends.
const std::string& ScratchPath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() /
         ("spritehex-fuzz-loader-" + std::to_string(::getpid()) + ".dat"))
            .string();
    static const bool cleanup = (std::atexit([] { std::filesystem::remove(ScratchPath()); }), true);
    (void)cleanup;
    return path;
}

// The bytes are what matters here; flushing them to the disk would only slow the fuzzer.
class NoFlushWriter : public DiskCalls {
  public:
    int Flush(int) override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TSpriteDocument doc;
    static std::vector<std::uint8_t> before(kBufferCapacity);
    static const std::string scratch = ScratchPath();

    // A refusal must leave at least the old document's bytes alone; the rest is never touched
    // either, and checking the used part keeps each run fast.
    const std::size_t used = static_cast<std::size_t>(doc.UsedSize());
    std::memcpy(before.data(), doc.Buffer(), used);
    const int width = doc.Width(), height = doc.Height(), cels = doc.CelCount();
    const int cursorX = doc.CursorX(), cursorY = doc.CursorY(), cel = doc.CurrentCel();
    const DocumentNames names = doc.Names();
    const bool modified = doc.Modified();

    const Result<> result = LoadSpriteBytes(doc, data, size, "/fuzz/in.dat");
    if (!result.ok()) {
        FUZZ_CHECK(result.failure() == Failure::kNotUsable);
        FUZZ_CHECK(result.message().rfind("in.dat is not a sprite file: ", 0) == 0);
        FUZZ_CHECK(std::memcmp(before.data(), doc.Buffer(), used) == 0);
        FUZZ_CHECK(doc.Width() == width && doc.Height() == height && doc.CelCount() == cels);
        FUZZ_CHECK(doc.CursorX() == cursorX && doc.CursorY() == cursorY);
        FUZZ_CHECK(doc.CurrentCel() == cel && doc.Modified() == modified);
        FUZZ_CHECK(doc.Names().name == names.name && doc.Names().savePath == names.savePath);
        return 0;
    }
    FUZZ_CHECK(doc.Width() >= 1 && doc.Width() <= kMaxWidth);
    FUZZ_CHECK(doc.Height() >= 1 && doc.Height() <= kMaxHeight);
    FUZZ_CHECK(doc.CelCount() >= 1 && doc.CelCount() <= kMaxCels);
    FUZZ_CHECK(static_cast<std::size_t>(doc.UsedSize()) <= size);
    const std::size_t celBytes = static_cast<std::size_t>(doc.UsedSize());
    FUZZ_CHECK(std::memcmp(doc.Buffer(), data, celBytes) == 0);
    // Padding past the cels arrives as colour indices: those that are not become 0.
    for (std::size_t i = celBytes; i < size; ++i) {
        FUZZ_CHECK(doc.Buffer()[i] == (data[i] <= 15 ? data[i] : 0));
    }
    FUZZ_CHECK(doc.CurrentCel() == 0 && doc.Modified() == modified);
    FUZZ_CHECK(doc.Names().name == "in");
    for (int i = kHeaderSize; i < doc.UsedSize(); ++i) FUZZ_CHECK(doc.Buffer()[i] <= 15);
    if (static_cast<std::size_t>(doc.UsedSize()) == size) {
        doc.Names().savePath = scratch;
        NoFlushWriter writer;
        FUZZ_CHECK(SaveSpriteFile(doc, &writer).ok());
        std::ifstream in(scratch, std::ios::binary);
        const std::vector<std::uint8_t> saved(std::istreambuf_iterator<char>(in), {});
        FUZZ_CHECK(saved.size() == size && std::memcmp(saved.data(), data, size) == 0);
    }
    return 0;
}
