// LZHUF decoder: LZSS over a 4 KB ring buffer with an adaptive Huffman coder
// for literals and match lengths. It knows nothing of files or streams; bytes
// come from a ByteSource and go to a ByteSink, both in blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace skin {

// Delivers the compressed input.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to `size` next bytes to `buffer` and returns how many; 0 only
    // at the end of the input.
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t size) = 0;
};

// Receives the decoded bytes in order, a block at a time.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
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
// A stream may end inside its last symbol; the missing bits read as zero. A
// symbol that needs bits further than this many bytes past the end means the
// stream is cut short, not merely unpadded.
constexpr int kMaxOverrunBytes = 4;
} // namespace lzh

// The adaptive Huffman tree both sides keep in step.
class TLzhTree {
public:
    TLzhTree();
    // Counts one more occurrence of `symbol` and reorders the tree.
    void Update(int symbol);
    // The same, for a symbol just decoded: `path` holds the `depth` nodes
    // passed on the way down from the root, the root itself not included.
    void Update(int symbol, const std::uint16_t* path, int depth);
    std::uint16_t Child(int node) const { return child_[node]; }
    // The child table seen from one side: Children(bit)[n] is Child(n + bit).
    const std::uint16_t* Children(unsigned bit) const { return child_ + bit; }
    std::uint16_t Parent(int node) const { return parent_[node]; }
    std::uint16_t Freq(int node) const { return freq_[node]; }

private:
    void Reconstruct();
    int Increment(int c);
    // Counts c and every node above it once more, the root included.
    void CountUpFrom(int c);
    int LastBelow(int from, std::uint16_t k) const;

    // Counts ascend with the node number. The sentinel 0xFFFF at T (and the
    // slots after it, which let the scan read eight counts at a time) stop
    // every search for a larger count.
    static constexpr int kFreqSlots = lzh::kTableSize + 8;
    // Leaves' parents sit above T; one spare slot takes the writes meant for
    // a leaf's non-existent sibling, which saves a branch per swap.
    static constexpr int kSpareParent = lzh::kTableSize + lzh::kCharCount;

    std::uint16_t freq_[kFreqSlots];
    std::uint16_t parent_[kSpareParent + 1];
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
    // reads as zero bits, as long as the symbols need no bits more than
    // kMaxOverrunBytes past its end; otherwise decoding stops there and the
    // result is false (what was decoded so far has gone to `sink`).
    bool Unpack(std::uint32_t outSize, ByteSource& source, ByteSink& sink);
};

} // namespace skin
