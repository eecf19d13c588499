#include "LzhEncoder.h"

#include "skin/SkinPackage.h"

#include <algorithm>
#include <stdexcept>

namespace skinpack {

using namespace skin::lzh;

namespace {

void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Inverse of the decoder's position tables: first byte and bit count of each
// upper-six-bit code.
struct CodeTables {
    std::uint8_t firstByte[64]{};
    std::uint8_t bits[64]{};
};

CodeTables MakeCodeTables() {
    CodeTables t;
    for (int b = 255; b >= 0; --b) { // keep the lowest byte of each code
        const int code = skin::PositionCode(static_cast<std::uint8_t>(b));
        t.firstByte[code] = static_cast<std::uint8_t>(b);
        t.bits[code] = skin::PositionBits(static_cast<std::uint8_t>(b));
    }
    return t;
}

const CodeTables kCodes = MakeCodeTables();

} // namespace

void TLzhEncoder::PutBit(int bit) {
    pending_ = static_cast<std::uint8_t>(pending_ | (bit << (7 - pendingBits_)));
    if (++pendingBits_ == 8) {
        out_.push_back(pending_);
        pending_ = 0;
        pendingBits_ = 0;
    }
}

void TLzhEncoder::PutBits(unsigned value, int count) {
    for (int i = count - 1; i >= 0; --i)
        PutBit((value >> i) & 1);
}

void TLzhEncoder::PutSymbol(int symbol) {
    // Walk from the leaf's node up to the root: the pairs of children sit at
    // even indices, so an odd node is reached with bit 1.
    int path[kTableSize];
    int depth = 0;
    for (int k = tree_.Parent(symbol + kTableSize); k != kRoot; k = tree_.Parent(k))
        path[depth++] = k & 1;
    while (depth > 0)
        PutBit(path[--depth]);
    tree_.Update(symbol);
}

void TLzhEncoder::PutLiteral(std::uint8_t byte) {
    PutSymbol(byte);
}

void TLzhEncoder::PutMatch(int length, int distance) {
    if (length <= kThreshold || length > kMaxMatch || distance < 1 || distance > kRingSize)
        throw std::invalid_argument("match out of range");
    PutSymbol(255 - kThreshold + length);
    const int position = distance - 1;
    const int code = position >> 6;
    // The first byte holds the code's prefix bits and the start of the low six.
    PutBits(kCodes.firstByte[code] >> (8 - kCodes.bits[code]), kCodes.bits[code]);
    PutBits(static_cast<unsigned>(position & 0x3F), 6);
}

std::vector<std::uint8_t> TLzhEncoder::Finish() {
    if (pendingBits_ > 0) {
        out_.push_back(pending_);
        pending_ = 0;
        pendingBits_ = 0;
    }
    return std::move(out_);
}

std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> data) {
    constexpr int kHashBits = 15;
    constexpr int kChainLimit = 256;
    std::vector<int> head(1u << kHashBits, -1);
    std::vector<int> prev(data.size(), -1);
    const auto hash = [&](std::size_t i) {
        return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & ((1 << kHashBits) - 1);
    };
    const auto insert = [&](std::size_t i) {
        if (i + 2 >= data.size()) return;
        const int h = hash(i);
        prev[i] = head[h];
        head[h] = static_cast<int>(i);
    };

    TLzhEncoder enc;
    std::size_t i = 0;
    while (i < data.size()) {
        int bestLen = 0;
        int bestDist = 0;
        if (i + 2 < data.size()) {
            const int maxLen = static_cast<int>(std::min<std::size_t>(kMaxMatch, data.size() - i));
            int chain = 0;
            for (int cand = head[hash(i)]; cand >= 0 && chain < kChainLimit;
                 cand = prev[static_cast<std::size_t>(cand)], ++chain) {
                const int dist = static_cast<int>(i) - cand;
                if (dist > kRingSize) break;
                int len = 0;
                while (len < maxLen && data[static_cast<std::size_t>(cand + len)] == data[i + len])
                    ++len;
                if (len > bestLen) {
                    bestLen = len;
                    bestDist = dist;
                    if (len == maxLen) break;
                }
            }
        }
        if (bestLen > kThreshold) {
            enc.PutMatch(bestLen, bestDist);
            for (int k = 0; k < bestLen; ++k)
                insert(i + k);
            i += static_cast<std::size_t>(bestLen);
        } else {
            enc.PutLiteral(data[i]);
            insert(i);
            ++i;
        }
    }
    return enc.Finish();
}

std::vector<std::uint8_t> MakeSkinFile(std::span<const std::uint8_t> package) {
    std::vector<std::uint8_t> out;
    AppendLe32(out, static_cast<std::uint32_t>(package.size()));
    const std::vector<std::uint8_t> stream = Compress(package);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

std::vector<std::uint8_t> BuildPackage(const std::vector<Entry>& entries) {
    std::string list;
    for (const auto& e : entries)
        list += e.first + "\r\n";
    std::vector<std::uint8_t> out;
    AppendLe32(out, skin::package::kMarker);
    AppendLe32(out, static_cast<std::uint32_t>(list.size()));
    AppendLe32(out, skin::package::kReserved1);
    AppendLe32(out, skin::package::kReserved2);
    out.insert(out.end(), list.begin(), list.end());
    for (const auto& e : entries)
        AppendLe32(out, static_cast<std::uint32_t>(e.second.size()));
    for (const auto& e : entries)
        out.insert(out.end(), e.second.begin(), e.second.end());
    return out;
}

} // namespace skinpack
