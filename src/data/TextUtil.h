// Text helpers of the dataset layer: name matching, the ordinal comparison
// that indexes sort by, and cutting a value to a field's size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace data {

// Field and index names match without regard to ASCII letter case.
bool SameText(const std::wstring& a, const std::wstring& b);

// Ordinal comparison in Unicode code point order, the same whether wchar_t
// holds UTF-16 (Windows) or UTF-32 (the native build). With ignoreCase, ASCII
// and Latin-1 letters compare as their upper-case forms; nothing else folds.
// Returns <0, 0 or >0.
int CompareOrdinal(std::wstring_view a, std::wstring_view b, bool ignoreCase);

// The key CompareOrdinal compares a unit by: comparing the keys of two
// texts unit by unit, then their lengths, is CompareOrdinal.
std::uint32_t OrdinalKey(wchar_t c, bool ignoreCase);

// CompareOrdinal without folding, inline for sorting: the first unit that
// differs decides. In UTF-16, surrogates (D800-DFFF) move above E000-FFFF,
// which gives code point order for well-formed text.
inline int CompareCodePoints(const std::wstring_view& a, const std::wstring_view& b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] == b[i]) continue;
        auto x = static_cast<std::uint32_t>(a[i]);
        auto y = static_cast<std::uint32_t>(b[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (x >= 0xD800) x = x >= 0xE000 ? x - 0x800 : x + 0x2000;
            if (y >= 0xD800) y = y >= 0xE000 ? y - 0x800 : y + 0x2000;
        }
        return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Length in UTF-16 code units.
int Utf16Length(const std::wstring& text);

// The longest prefix of text that fits in maxUnits UTF-16 code units, never
// splitting a surrogate pair.
std::wstring TruncateToUtf16(const std::wstring& text, int maxUnits);

// UTF-8 form, for std::exception::what(); ill-formed sequences become U+FFFD.
std::string ToUtf8(const std::wstring& text);

} // namespace data
