// LZHUF decoder: LZSS over a 4 KB ring buffer with an adaptive Huffman coder
// for literals and match lengths. It knows nothing of files or streams; bytes
// come from a ByteSource one at a time and go to a ByteSink at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace skin {

// Delivers the compressed input one byte at a time.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Stores the next byte in `out` and returns 1, or returns 0 at the end.
    virtual std::size_t Read(std::uint8_t& out) = 0;
};

// Receives every decoded byte as soon as it is produced.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::uint8_t byte) = 0;
};

class ELzhError : public std::runtime_error {
public:
    explicit ELzhError(const std::string& message) : std::runtime_error(message) {}
};

// The format's fixed parameters, shared with the packer.
namespace lzh {
constexpr int kRingSize = 4096;                          // N: size of the sliding window
constexpr int kMaxMatch = 60;                            // F: longest match
constexpr int kThreshold = 2;                            // a match must be longer than this
constexpr int kCharCount = 256 - kThreshold + kMaxMatch; // N_CHAR: 256 literals + 58 lengths
constexpr int kTableSize = kCharCount * 2 - 1;           // T: nodes of the Huffman tree
constexpr int kRoot = kTableSize - 1;                    // R: the root node
constexpr std::uint16_t kMaxFreq = 0x8000;               // root frequency that triggers a rebuild
constexpr std::uint8_t kFillByte = 0x20;                 // the window starts as spaces
constexpr int kStartPos = kRingSize - kMaxMatch;         // first write position in the window
} // namespace lzh

// The adaptive Huffman tree both sides keep in step.
class TLzhTree {
public:
    TLzhTree();
    // Counts one more occurrence of `symbol` and reorders the tree.
    void Update(int symbol);
    std::uint16_t Child(int node) const { return child_[node]; }
    std::uint16_t Parent(int node) const { return parent_[node]; }
    std::uint16_t Freq(int node) const { return freq_[node]; }

private:
    void Reconstruct();

    std::uint16_t freq_[lzh::kTableSize + 1];                 // +1: 0xFFFF sentinel
    std::uint16_t parent_[lzh::kTableSize + lzh::kCharCount]; // leaves' parents above T
    std::uint16_t child_[lzh::kTableSize];
};

// Upper six position bits, indexed by the first position byte, and the total
// number of position bits the byte announces.
std::uint8_t PositionCode(std::uint8_t firstByte);
std::uint8_t PositionBits(std::uint8_t firstByte);

class TLzhDecoder {
public:
    // Decodes until at least `outSize` bytes went to `sink`. A match is always
    // emitted whole, so a few bytes beyond `outSize` may follow. Missing input
    // reads as zero bits.
    void Unpack(std::uint32_t outSize, ByteSource& source, ByteSink& sink);
};

} // namespace skin
