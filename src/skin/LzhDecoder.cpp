#include "skin/LzhDecoder.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>

namespace skin {

using namespace lzh;

namespace {

// The classic LZHUF position tables: the first byte of a position selects its
// upper six bits and how many bits the position takes in all.
struct PositionTables {
    std::array<std::uint8_t, 256> code{};
    std::array<std::uint8_t, 256> bits{};
};

constexpr PositionTables MakePositionTables() {
    // (bits, number of codes, first bytes per code), in byte order.
    constexpr int kGroups[6][3] = {{3, 1, 32}, {4, 3, 16}, {5, 8, 8},
                                   {6, 12, 4}, {7, 24, 2}, {8, 16, 1}};
    PositionTables t;
    int b = 0;
    int code = 0;
    for (const auto& g : kGroups)
        for (int c = 0; c < g[1]; ++c, ++code)
            for (int k = 0; k < g[2]; ++k, ++b) {
                t.code[b] = static_cast<std::uint8_t>(code);
                t.bits[b] = static_cast<std::uint8_t>(g[0]);
            }
    return t;
}

constexpr PositionTables kPositions = MakePositionTables();

class BitReader {
public:
    explicit BitReader(ByteSource& source) : source_(source) {}

    int Bit() {
        Fill();
        const int bit = (buffer_ >> 15) & 1;
        buffer_ = static_cast<std::uint16_t>(buffer_ << 1);
        --count_;
        return bit;
    }

    int Byte() {
        Fill();
        const int byte = buffer_ >> 8;
        buffer_ = static_cast<std::uint16_t>(buffer_ << 8);
        count_ -= 8;
        return byte;
    }

private:
    void Fill() {
        while (count_ <= 8) {
            std::uint8_t in = 0;
            if (source_.Read(in) != 1) in = 0; // past the end reads as zero bits
            buffer_ = static_cast<std::uint16_t>(buffer_ | (in << (8 - count_)));
            count_ += 8;
        }
    }

    ByteSource& source_;
    std::uint16_t buffer_ = 0;
    int count_ = 0;
};

} // namespace

std::uint8_t PositionCode(std::uint8_t firstByte) {
    return kPositions.code[firstByte];
}
std::uint8_t PositionBits(std::uint8_t firstByte) {
    return kPositions.bits[firstByte];
}

TLzhTree::TLzhTree() {
    for (int i = 0; i < kCharCount; ++i) {
        freq_[i] = 1;
        child_[i] = static_cast<std::uint16_t>(i + kTableSize);
        parent_[i + kTableSize] = static_cast<std::uint16_t>(i);
    }
    for (int i = 0, j = kCharCount; j <= kRoot; i += 2, ++j) {
        freq_[j] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
        child_[j] = static_cast<std::uint16_t>(i);
        parent_[i] = parent_[i + 1] = static_cast<std::uint16_t>(j);
    }
    freq_[kTableSize] = 0xFFFF;
    parent_[kRoot] = 0;
}

void TLzhTree::Reconstruct() {
    // Gather the leaves, halving their counts.
    int j = 0;
    for (int i = 0; i < kTableSize; ++i) {
        if (child_[i] >= kTableSize) {
            freq_[j] = static_cast<std::uint16_t>((freq_[i] + 1) / 2);
            child_[j] = child_[i];
            ++j;
        }
    }
    // Rebuild the inner nodes, keeping the frequencies sorted.
    for (int i = 0, n = kCharCount; n < kTableSize; i += 2, ++n) {
        const auto f = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
        int k = n - 1;
        while (f < freq_[k])
            --k;
        ++k;
        std::memmove(&freq_[k + 1], &freq_[k], sizeof(freq_[0]) * static_cast<std::size_t>(n - k));
        freq_[k] = f;
        std::memmove(&child_[k + 1], &child_[k],
                     sizeof(child_[0]) * static_cast<std::size_t>(n - k));
        child_[k] = static_cast<std::uint16_t>(i);
    }
    for (int i = 0; i < kTableSize; ++i) {
        const int k = child_[i];
        if (k >= kTableSize)
            parent_[k] = static_cast<std::uint16_t>(i);
        else
            parent_[k] = parent_[k + 1] = static_cast<std::uint16_t>(i);
    }
}

void TLzhTree::Update(int symbol) {
    if (freq_[kRoot] == kMaxFreq) Reconstruct();
    int c = parent_[symbol + kTableSize];
    do {
        const auto k = static_cast<std::uint16_t>(++freq_[c]);
        int l = c + 1;
        if (k > freq_[l]) {
            while (k > freq_[++l]) {
            }
            --l;
            freq_[c] = freq_[l];
            freq_[l] = k;

            const int i = child_[c];
            parent_[i] = static_cast<std::uint16_t>(l);
            if (i < kTableSize) parent_[i + 1] = static_cast<std::uint16_t>(l);

            const int j = child_[l];
            child_[l] = static_cast<std::uint16_t>(i);
            parent_[j] = static_cast<std::uint16_t>(c);
            if (j < kTableSize) parent_[j + 1] = static_cast<std::uint16_t>(c);
            child_[c] = static_cast<std::uint16_t>(j);
            c = l;
        }
        c = parent_[c];
    } while (c != 0);
}

void TLzhDecoder::Unpack(std::uint32_t outSize, ByteSource& source, ByteSink& sink) {
    // The tables live for one run and go whatever happens.
    std::unique_ptr<TLzhTree> tree(new (std::nothrow) TLzhTree);
    std::unique_ptr<std::uint8_t[]> ring(new (std::nothrow)
                                             std::uint8_t[kRingSize + kMaxMatch - 1]);
    if (!tree || !ring) throw ELzhError("LZH : Cannot get memory for dictionary tables");
    std::memset(ring.get(), kFillByte, kStartPos);
    std::memset(ring.get() + kStartPos, 0, kRingSize + kMaxMatch - 1 - kStartPos);

    BitReader in(source);
    int r = kStartPos;
    std::uint32_t count = 0;
    while (count < outSize) {
        int c = tree->Child(kRoot);
        while (c < kTableSize)
            c = tree->Child(c + in.Bit());
        c -= kTableSize;
        tree->Update(c);

        if (c < 256) {
            const auto byte = static_cast<std::uint8_t>(c);
            sink.Write(byte);
            ring[r] = byte;
            r = (r + 1) & (kRingSize - 1);
            ++count;
            continue;
        }

        int first = in.Byte();
        const int high = PositionCode(static_cast<std::uint8_t>(first)) << 6;
        for (int extra = PositionBits(static_cast<std::uint8_t>(first)) - 2; extra > 0; --extra)
            first = (first << 1) + in.Bit();
        const int position = high | (first & 0x3F);

        const int start = r - position - 1;
        const int length = c - 255 + kThreshold;
        for (int k = 0; k < length; ++k) {
            const std::uint8_t byte = ring[(start + k) & (kRingSize - 1)];
            sink.Write(byte);
            ring[r] = byte;
            r = (r + 1) & (kRingSize - 1);
            ++count; // the whole match goes out, even past outSize
        }
    }
}

} // namespace skin
