// LZHUF encoder and skin package writer for the build-time packer. The
// program only decodes; this side mirrors the decoder's tree step for step.
#pragma once

#include "skin/LzhDecoder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace skinpack {

// Writes one LZHUF bit stream token by token.
class TLzhEncoder {
public:
    void PutLiteral(std::uint8_t byte);
    // `distance` back from the next output byte, 1 to 4096; length 3 to 60.
    void PutMatch(int length, int distance);
    // Pads the last byte with zero bits and returns the stream.
    std::vector<std::uint8_t> Finish();
    // Bits written so far, the padding excluded.
    std::size_t BitCount() const {
        return out_.size() * 8 + static_cast<std::size_t>(pendingBits_);
    }

private:
    void PutSymbol(int symbol);
    void PutBits(unsigned value, int count); // most significant first
    void PutBit(int bit);

    skin::TLzhTree tree_;
    std::vector<std::uint8_t> out_;
    std::uint8_t pending_ = 0;
    int pendingBits_ = 0;
};

// The bit stream of `data`, matches found through hash chains.
std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> data);

// A skin file: decoded size, then the bit stream.
std::vector<std::uint8_t> MakeSkinFile(std::span<const std::uint8_t> package);

using Entry = std::pair<std::string, std::vector<std::uint8_t>>;

// A package: header, names each followed by CR LF, sizes, bodies.
std::vector<std::uint8_t> BuildPackage(const std::vector<Entry>& entries);

} // namespace skinpack
