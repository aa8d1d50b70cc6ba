#pragma once
// A slow, literal rendering of the table rules: bit strings of "0" and "1" read by BinToInt, token
// strings, and lines split and joined one by one. The tests compare the generators against it.

#include <cstdint>
#include <string>
#include <vector>

#include "generator/regenerate.h"

// The text and result code of one generation from a document's file image (header and cels).
GenerationResult ReferenceTables(const std::vector<std::uint8_t>& image,
                                 const GeneratorOptions& options);
