#include "skin/LzhDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define SONDRELK_LZH_SSE2 1
#else
#define SONDRELK_LZH_SSE2 0
#endif

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
// The bit reader takes this many bytes at a time.
constexpr std::size_t kPeekBytes = 8;

// The output goes through a straight window rather than a ring: the last
// kRingSize bytes, all a match can reach back to, then a block of new
// output. So a match never wraps, and its copy may run a few bytes past its
// end, into bytes that no match reads before they are written.
constexpr int kOutputBlock = 16384;
constexpr int kFirstOutput = kRingSize;               // where new output starts
constexpr int kFlushAt = kFirstOutput + kOutputBlock; // output ahead of this goes out
constexpr int kCopyReach = kMaxMatch + 8;             // bytes a match copy may write
constexpr int kWindowSize = kFlushAt + kCopyReach;
// The ring starts as spaces up to its first write position and zeros from
// there on; the zeros are the oldest bytes, so the window starts with them.
constexpr int kInitialZeros = kRingSize - kStartPos;

// Everything one decoding run needs, allocated at once.
struct Workspace {
    TLzhTree tree;
    std::uint8_t window[kWindowSize];
    std::uint8_t input[kInputBlock];
};

// The compressed input, read a block at a time; past its end it goes on as
// zero bytes. The decoding loop keeps its own read pointer and calls Refill
// when fewer than eight bytes are left before End().
class BlockInput {
public:
    BlockInput(ByteSource& source, std::uint8_t* block)
        : source_(source), block_(block), end_(block) {}

    const std::uint8_t* End() const { return end_; }
    // Moves the unread bytes from `next` on to the front of the block and
    // reads after them; returns where they now start. At least eight bytes
    // are readable there afterwards.
    const std::uint8_t* Refill(const std::uint8_t* next);

    bool Ended() const { return ended_; }
    // Bytes the source delivered, all of them once Ended().
    std::uint64_t Delivered() const { return delivered_; }
    // Input offset of a place in the block, past the end for the zeros.
    std::uint64_t OffsetOf(const std::uint8_t* at) const {
        return base_ + static_cast<std::uint64_t>(at - block_);
    }

private:
    ByteSource& source_;
    std::uint8_t* block_;
    const std::uint8_t* end_;
    std::uint64_t base_ = 0; // input offset of block_[0]
    std::uint64_t delivered_ = 0;
    bool ended_ = false;
};

const std::uint8_t* BlockInput::Refill(const std::uint8_t* next) {
    std::size_t have = static_cast<std::size_t>(end_ - next);
    std::memmove(block_, next, have);
    base_ += static_cast<std::uint64_t>(next - block_);
    while (have < kPeekBytes && !ended_) {
        const std::size_t n = source_.Read(block_ + have, kInputBlock - have);
        ended_ = n == 0;
        delivered_ += n;
        have += n;
    }
    if (ended_) {
        std::memset(block_ + have, 0, kInputBlock - have);
        have = kInputBlock;
    }
    end_ = block_ + have;
    return block_;
}

std::uint64_t LoadBigEndian64(const std::uint8_t* p) {
    const auto b = [p](int i) { return static_cast<std::uint64_t>(p[i]); };
    return b(0) << 56 | b(1) << 48 | b(2) << 40 | b(3) << 32 | b(4) << 24 | b(5) << 16 | b(6) << 8 |
           b(7);
}

template <std::size_t N> void CopyPiece(std::uint8_t* to, const std::uint8_t* from) {
    std::uint8_t piece[N]; // read whole before written
    std::memcpy(piece, from, N);
    std::memcpy(to, piece, N);
}

// Eight bytes holding the `gap` bytes at `from` over and over (gap 1 to 7).
std::uint64_t RepeatedPattern(const std::uint8_t* from, int gap) {
    if constexpr (std::endian::native == std::endian::little) {
        // Multiplying spreads the gap's bytes to every multiple of the gap.
        constexpr std::uint64_t kSpread[8] = {0,
                                              0x0101010101010101ull,
                                              0x0001000100010001ull,
                                              0x0001000001000001ull,
                                              0x0000000100000001ull,
                                              0x0000010000000001ull,
                                              0x0001000000000001ull,
                                              0x0100000000000001ull};
        std::uint64_t head;
        std::memcpy(&head, from, sizeof head);
        return (head & ((std::uint64_t{1} << (8 * gap)) - 1)) * kSpread[gap];
    } else {
        std::uint8_t bytes[8];
        for (int i = 0; i < 8; ++i)
            bytes[i] = i < gap ? from[i] : bytes[i - gap];
        std::uint64_t pattern;
        std::memcpy(&pattern, bytes, sizeof pattern);
        return pattern;
    }
}

// Copies a match of `length` bytes (3 to 60) starting `gap` bytes back, with
// the effect of one byte after the other: where the gap is shorter than the
// length, the bytes the match produces come round again. Every piece reads
// only bytes before its own start, so pieces copied in order give the same
// result; up to kCopyReach bytes are written.
inline void CopyMatch(std::uint8_t* to, int gap, int length) {
    const std::uint8_t* from = to - gap;
    if (gap >= 16) {
        // Four pieces cover the longest match: no loop to mispredict.
        CopyPiece<16>(to, from);
        CopyPiece<16>(to + 16, from + 16);
        CopyPiece<16>(to + 32, from + 32);
        CopyPiece<16>(to + 48, from + 48);
    } else if (gap >= 8) {
        for (int k = 0; k < length; k += 8)
            CopyPiece<8>(to + k, from + k);
    } else {
        // Written from a register, so no piece waits for the one before.
        constexpr int kStride[8] = {0, 8, 8, 6, 8, 5, 6, 7};
        const std::uint64_t pattern = RepeatedPattern(from, gap);
        for (int k = 0; k < length; k += kStride[gap])
            std::memcpy(to + k, &pattern, sizeof pattern);
    }
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
// Every count there is k - 1 or more, so this is the end of a run of k - 1,
// compared eight at a time where the processor allows.
int TLzhTree::LastBelow(int from, std::uint16_t k) const {
#if SONDRELK_LZH_SSE2
    const __m128i run = _mm_set1_epi16(static_cast<short>(k - 1));
    for (int l = from;; l += 8) {
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(freq_ + l));
        // Two bits a count, set where it is k - 1.
        const auto same = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(eight, run)));
        if (same != 0xFFFF) return l + std::countr_zero(~same) / 2 - 1;
    }
#else
    int l = from;
    while (k > freq_[l])
        ++l;
    return l - 1;
#endif
}

// Counts node c once more. Where its count now passes the next node's, it
// trades places with the last node still below the count: the two subtrees
// swap, and the one that was at c now sits there. Returns where it sits.
inline int TLzhTree::Increment(int c) {
    const auto k = static_cast<std::uint16_t>(++freq_[c]);
    if (k <= freq_[c + 1]) return c;
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
    return l;
}

void TLzhTree::CountUpFrom(int c) {
    // Node 0 is a node like any other; 0 ends the walk only as the root's parent.
    do
        c = parent_[Increment(c)];
    while (c != 0);
}

void TLzhTree::Update(int symbol) {
    if (freq_[kRoot] == kMaxFreq) Reconstruct();
    CountUpFrom(parent_[symbol + kTableSize]);
}

void TLzhTree::Update(int symbol, const std::uint16_t* path, int depth) {
    // A rebuilt tree has other paths.
    if (freq_[kRoot] == kMaxFreq) return Update(symbol);
    // Up the path as long as no node moves: the next node up is known then
    // without waiting for its parent link to be read.
    while (depth > 0) {
        const int c = path[--depth];
        const int l = Increment(c);
        if (l != c) return CountUpFrom(parent_[l]);
    }
    ++freq_[kRoot]; // the sentinel above it never lets the root move
}

bool TLzhDecoder::Unpack(std::uint32_t outSize, ByteSource& source, ByteSink& sink) {
    // The tables live for one run and go whatever happens.
    std::unique_ptr<Workspace> ws(new (std::nothrow) Workspace);
    if (!ws) throw ELzhError("LZH : Cannot get memory for dictionary tables");
    TLzhTree& tree = ws->tree;
    std::uint8_t* const window = ws->window;
    std::memset(window, 0, kInitialZeros);
    std::memset(window + kInitialZeros, kFillByte, kFirstOutput - kInitialZeros);
    std::memset(window + kFirstOutput, 0, kWindowSize - kFirstOutput);

    // New output lies between kFirstOutput and w. Once a block of it is
    // there it goes to the sink, and the last kRingSize bytes move to the
    // front, where they remain for the matches that follow.
    int w = kFirstOutput;
    const auto flush = [&] {
        if (w > kFirstOutput)
            sink.Write(window + kFirstOutput, static_cast<std::size_t>(w - kFirstOutput));
    };
    const auto flushBlock = [&] {
        flush();
        std::memmove(window, window + w - kRingSize, kRingSize);
        w = kFirstOutput;
    };

    // Bit buffer: `count` valid bits from the top; a refill leaves at least
    // 56. Below them may lie the first bits of the next input byte, which the
    // next refill puts in again.
    BlockInput in(source, ws->input);
    const std::uint8_t* next = in.End();
    std::uint64_t bits = 0;
    int count = 0;
    const auto refill = [&] {
        if (in.End() - next < static_cast<std::ptrdiff_t>(kPeekBytes)) next = in.Refill(next);
        bits |= LoadBigEndian64(next) >> count;
        next += (63 - count) >> 3;
        count |= 56;
    };
    constexpr int kPositionMaxBits = 14; // the first byte and up to six more bits
    // Bits the symbols may use: the input and the allowance past its end.
    const auto overrun = [&] {
        const std::uint64_t used = in.OffsetOf(next) * 8 - static_cast<std::uint64_t>(count);
        return used > (in.Delivered() + kMaxOverrunBytes) * 8;
    };

    // A code is at most 21 bits long: a Huffman code of n bits needs a total
    // count of at least Fibonacci(n + 2), and the counts are halved before
    // they pass 0x8000. So a refill covers a whole symbol, and the path down
    // fits; the mask only keeps a broken tree from writing elsewhere.
    constexpr int kPathSlots = 32;
    std::uint16_t path[kPathSlots];

    std::uint64_t produced = 0;
    while (produced < outSize) {
        refill();
        int c = tree.Child(kRoot);
        int depth = 0;
        while (c < kTableSize) {
            const unsigned bit = static_cast<unsigned>(bits >> 63);
            path[depth++ & (kPathSlots - 1)] = static_cast<std::uint16_t>(c + bit);
            c = tree.Children(bit)[c];
            bits <<= 1;
        }
        count -= depth;
        c -= kTableSize;
        tree.Update(c, path, depth & (kPathSlots - 1));

        if (c < 256) {
            if (in.Ended() && overrun()) break;
            window[w++] = static_cast<std::uint8_t>(c);
            ++produced;
            if (w == kFlushAt) flushBlock();
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

        const int length = c - 255 + kThreshold;
        CopyMatch(window + w, position + 1, length);
        w += length;
        produced += static_cast<std::uint64_t>(length); // the whole match, even past outSize
        if (w >= kFlushAt) flushBlock();
    }
    flush();
    return produced >= outSize;
}

} // namespace skin
