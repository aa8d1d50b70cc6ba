// The bytes of every table, nothing else: cel by cel, table by table.

#include <algorithm>
#include <cstring>

#include "generator/writers.h"

#if defined(__x86_64__)
#include "generator/avx512_lines.h"
#endif

namespace {

using Words = std::uint16_t __attribute__((vector_size(16)));
using Bytes = std::uint8_t __attribute__((vector_size(16)));

// The low bytes of count values (a multiple of 16) at out, sixteen at a time from two vectors of
// eight values; returns every value ORed together, lane by lane. Plain pointers: a store of a char
// could change a vector's own pointers, as far as the compiler knows, and would keep the loop from
// being done many bytes at a time.
Words PutBytes(const TableValue* values, std::size_t count, char* out) {
    Words all{};
    for (std::size_t i = 0; i < count; i += 16) {
        Words first;
        Words second;
        std::memcpy(&first, values + i, sizeof first);
        std::memcpy(&second, values + i + 8, sizeof second);
        all |= first | second;
        const Bytes low =
            __builtin_shufflevector(reinterpret_cast<Bytes>(first), reinterpret_cast<Bytes>(second),
                                    0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
        std::memcpy(out + i, &low, sizeof low);
    }
    return all;
}

#if defined(__x86_64__)
// The same with AVX-512, 32 values at a time, each cut to its low byte in one step.
__attribute__((target(SPRITEHEX_AVX512))) Words PutBytesAvx512(const TableValue* values,
                                                               std::size_t count, char* out) {
    __m512i all = _mm512_setzero_si512();
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m512i v = _mm512_loadu_si512(values + i);
        all = _mm512_or_si512(all, v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm512_cvtepi16_epi8(v));
    }
    __m256i rest = _mm256_or_si256(_mm512_castsi512_si256(all), _mm512_extracti64x4_epi64(all, 1));
    if (i < count) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values + i));
        rest = _mm256_or_si256(rest, v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm256_cvtepi16_epi8(v));
    }
    const __m128i lanes =
        _mm_or_si128(_mm256_castsi256_si128(rest), _mm256_extracti128_si256(rest, 1));
    Words words;
    std::memcpy(&words, &lanes, sizeof words);
    return words;
}
#endif

}  // namespace

Result<std::string> WriteBin(const GeneratedTables& tables, const WriterOptions&) {
    const std::size_t count = tables.values.size();
    const TableValue* values = tables.values.data();
    std::string bytes;
    bytes.reserve(count);
    // A block at a time, each made (as 0) just before it is written, while it is in the cache.
    constexpr std::size_t kBlock = 16384;
    Words all{};
    std::size_t i = 0;
    for (; i + 16 <= count; i = bytes.size()) {
        const std::size_t block = std::min(kBlock, (count - i) / 16 * 16);
        bytes.resize(i + block);
#if defined(__x86_64__)
        if (avx512_lines::ProcessorHas()) {
            all |= PutBytesAvx512(values + i, block, bytes.data() + i);
            continue;
        }
#endif
        all |= PutBytes(values + i, block, bytes.data() + i);
    }
    unsigned rest = 0;
    for (; i < count; ++i) {
        bytes.push_back(static_cast<char>(values[i] & 0xFF));
        rest |= values[i];
    }
    for (int lane = 0; lane < 8; ++lane) rest |= all[lane];
    if (rest > 0xFF) return AllBytes(tables).error();
    return bytes;
}
