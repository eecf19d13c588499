// The yardstick for the skin decoder: the classic bit-by-bit LZHUF decoder,
// written the way the published C program decodes (one bit per call, a
// 16-bit bit buffer, one input byte fetched at a time, one output byte
// stored at a time), kept apart from the program so that it stays classic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bench {

// Decodes `in` (the bit stream after the size field) until `outSize` bytes
// are produced; missing input reads as zero bits.
std::vector<std::uint8_t> ClassicLzhufDecode(const std::uint8_t* in, std::size_t inSize,
                                             std::uint32_t outSize);

} // namespace bench
