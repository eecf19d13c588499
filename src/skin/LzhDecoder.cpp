#include "skin/LzhDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
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

// Input block size: large enough that refilling the block is rare, small
// enough to stay in the first-level cache beside the tables.
constexpr std::size_t kInputBlock = 4096;

// Everything one decoding run needs, allocated at once.
struct Workspace {
    TLzhTree tree;
    std::uint8_t ring[kRingSize + kMaxMatch - 1];
    std::uint8_t input[kInputBlock];
};

// The compressed input, read a block at a time. Past its end it delivers
// zero bytes and counts them.
class BlockInput {
public:
    BlockInput(ByteSource& source, std::uint8_t* block) : source_(source), block_(block) {}

    std::uint8_t Next() { return next_ != end_ ? *next_++ : Reload(); }

    // Eight bytes at once, the first one in the top bits, while the block
    // holds them.
    bool HasEight() const { return end_ - next_ >= 8; }
    std::uint64_t PeekEight() const {
        const auto b = [this](int i) { return static_cast<std::uint64_t>(next_[i]); };
        return b(0) << 56 | b(1) << 48 | b(2) << 40 | b(3) << 32 | b(4) << 24 | b(5) << 16 |
               b(6) << 8 | b(7);
    }
    void Skip(int n) { next_ += n; }

    bool Ended() const { return ended_; }
    // Bytes the source delivered, all of them once Ended().
    std::uint64_t Delivered() const { return delivered_; }
    // Bytes handed out so far, the zero bytes past the end included.
    std::uint64_t Taken() const {
        return delivered_ - static_cast<std::uint64_t>(end_ - next_) + padded_;
    }

private:
    std::uint8_t Reload() {
        if (!ended_) {
            const std::size_t n = source_.Read(block_, kInputBlock);
            if (n > 0) {
                delivered_ += n;
                next_ = block_;
                end_ = block_ + n;
                return *next_++;
            }
            ended_ = true;
        }
        ++padded_;
        return 0;
    }

    ByteSource& source_;
    std::uint8_t* block_;
    const std::uint8_t* next_ = nullptr;
    const std::uint8_t* end_ = nullptr;
    std::uint64_t delivered_ = 0;
    std::uint64_t padded_ = 0;
    bool ended_ = false;
};

// Copies `n` bytes forward with the effect of one byte after the other:
// where the target starts less than `n` bytes after the source, bytes just
// written are read again, so the stretch between them repeats. Eight bytes
// go at a time wherever no eight-byte piece reads what it writes itself.
inline void CopyForward(std::uint8_t* to, const std::uint8_t* from, int n) {
    const std::ptrdiff_t gap = to - from;
    const std::uint8_t* src = from;
    int k = 0;
    if (gap > 0 && gap < 8) {
        // Whole repeats first, until they span eight bytes; from then on
        // each piece is copied from that far back.
        const int period = static_cast<int>(gap * ((8 + gap - 1) / gap));
        for (; k < n && k < period; ++k)
            to[k] = from[k];
        src = to - period;
    }
    for (; k + 8 <= n; k += 8) {
        std::uint64_t piece; // read whole before written: a target just below its source
        std::memcpy(&piece, src + k, sizeof piece);
        std::memcpy(to + k, &piece, sizeof piece);
    }
    for (; k < n; ++k)
        to[k] = src[k];
}

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
    for (int i = kTableSize; i < kFreqSlots; ++i)
        freq_[i] = 0xFFFF;
    parent_[kRoot] = 0;
    parent_[kSpareParent] = 0;
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

// The node before the first one from `from` on whose count is not below k.
// Every count there is k - 1 or more, so this is the end of a run of k - 1:
// compared four at a time where the byte order allows.
int TLzhTree::LastBelow(int from, std::uint16_t k) const {
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t run = 0x0001000100010001ull * static_cast<std::uint16_t>(k - 1);
        constexpr std::uint64_t kLow15 = 0x7FFF7FFF7FFF7FFFull;
        constexpr std::uint64_t kTop = 0x8000800080008000ull;
        for (int l = from;; l += 4) {
            std::uint64_t four;
            std::memcpy(&four, freq_ + l, sizeof four);
            const std::uint64_t diff = four ^ run;
            // The top bit of each lane that differs from k - 1.
            const std::uint64_t other = (((diff & kLow15) + kLow15) | diff) & kTop;
            if (other != 0) return l + std::countr_zero(other) / 16 - 1;
        }
    } else {
        int l = from;
        while (k > freq_[l])
            ++l;
        return l - 1;
    }
}

void TLzhTree::Update(int symbol) {
    if (freq_[kRoot] == kMaxFreq) Reconstruct();
    int c = parent_[symbol + kTableSize];
    do {
        const auto k = static_cast<std::uint16_t>(++freq_[c]);
        if (k > freq_[c + 1]) {
            // c trades places with the last node still below k.
            const int l = LastBelow(c + 2, k);
            freq_[c] = freq_[l];
            freq_[l] = k;

            const int i = child_[c];
            parent_[i] = static_cast<std::uint16_t>(l);
            parent_[i < kTableSize ? i + 1 : kSpareParent] = static_cast<std::uint16_t>(l);

            const int j = child_[l];
            child_[l] = static_cast<std::uint16_t>(i);
            parent_[j] = static_cast<std::uint16_t>(c);
            parent_[j < kTableSize ? j + 1 : kSpareParent] = static_cast<std::uint16_t>(c);
            child_[c] = static_cast<std::uint16_t>(j);
            c = l;
        }
        c = parent_[c];
    } while (c != 0);
}

bool TLzhDecoder::Unpack(std::uint32_t outSize, ByteSource& source, ByteSink& sink) {
    // The tables live for one run and go whatever happens.
    std::unique_ptr<Workspace> ws(new (std::nothrow) Workspace);
    if (!ws) throw ELzhError("LZH : Cannot get memory for dictionary tables");
    TLzhTree& tree = ws->tree;
    std::uint8_t* const ring = ws->ring;
    std::memset(ring, kFillByte, kStartPos);
    std::memset(ring + kStartPos, 0, sizeof(ws->ring) - kStartPos);

    // The ring doubles as the output buffer: what lies between `flushed`
    // and `r` has not gone to the sink yet.
    int r = kStartPos;
    int flushed = kStartPos;
    const auto flush = [&] {
        if (r > flushed) sink.Write(ring + flushed, static_cast<std::size_t>(r - flushed));
        flushed = r;
    };

    // Bit buffer: `count` valid bits from the top; a refill leaves at least
    // 56. Below them may lie the first bits of the next input byte, which the
    // next refill puts in again.
    BlockInput in(source, ws->input);
    std::uint64_t bits = 0;
    int count = 0;
    const auto refill = [&] {
        if (in.HasEight()) {
            bits |= in.PeekEight() >> count;
            in.Skip((63 - count) >> 3);
            count |= 56;
            return;
        }
        while (count <= 56) {
            bits |= static_cast<std::uint64_t>(in.Next()) << (56 - count);
            count += 8;
        }
    };
    constexpr int kPositionMaxBits = 14; // the first byte and up to six more bits
    // Bits the symbols may use: the input and the allowance past its end.
    const auto overrun = [&] {
        const std::uint64_t used = in.Taken() * 8 - static_cast<std::uint64_t>(count);
        return used > (in.Delivered() + kMaxOverrunBytes) * 8;
    };

    std::uint64_t produced = 0;
    while (produced < outSize) {
        // A code is at most 21 bits long: a Huffman code of n bits needs a
        // total count of at least Fibonacci(n + 2), and the counts are halved
        // before they pass 0x8000. So a refill covers a whole symbol.
        refill();
        int c = tree.Child(kRoot);
        while (c < kTableSize) {
            c = tree.Child(c + static_cast<int>(bits >> 63));
            bits <<= 1;
            --count;
        }
        c -= kTableSize;
        tree.Update(c);

        if (c < 256) {
            if (in.Ended() && overrun()) break;
            ring[r++] = static_cast<std::uint8_t>(c);
            ++produced;
            if (r == kRingSize) {
                flush();
                r = flushed = 0;
            }
            continue;
        }

        if (count < kPositionMaxBits) refill();
        const int first = static_cast<int>(bits >> 56);
        bits <<= 8;
        const int extra = PositionBits(static_cast<std::uint8_t>(first)) - 2;
        const int low = ((first << extra) | static_cast<int>(bits >> (64 - extra))) & 0x3F;
        bits <<= extra;
        count -= 8 + extra;
        const int position = PositionCode(static_cast<std::uint8_t>(first)) << 6 | low;
        if (in.Ended() && overrun()) break;

        // Copied in runs that wrap neither the source nor the target. A match
        // closer than its length repeats the bytes it is producing.
        int from = (r - position - 1) & (kRingSize - 1);
        int length = c - 255 + kThreshold;
        produced += static_cast<std::uint64_t>(length); // the whole match, even past outSize
        if (r + length < kRingSize && from + length <= kRingSize) { // the common case
            CopyForward(ring + r, ring + from, length);
            r += length;
            continue;
        }
        while (length > 0) {
            const int run = std::min({length, kRingSize - r, kRingSize - from});
            CopyForward(ring + r, ring + from, run);
            r += run;
            from = (from + run) & (kRingSize - 1);
            length -= run;
            if (r == kRingSize) {
                flush();
                r = flushed = 0;
            }
        }
    }
    flush();
    return produced >= outSize;
}

} // namespace skin
