// Writes the largest document (100 cels of 64 x 64 pixels, the same every time) as a sprite file,
// for the whole-process benchmarks of spritehex-cli.
//
//   bench_make_largest OUT.dat

#include <cstdio>

#include "base/file_writer.h"
#include "largest_document.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_make_largest OUT.dat\n");
        return 2;
    }
    const Result<> written = WriteFile(argv[1], LargestDocument(), argv[1]);
    if (!written) std::fprintf(stderr, "bench_make_largest: %s\n", written.message().c_str());
    return written ? 0 : 1;
}
