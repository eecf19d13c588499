// Text helpers of the dataset layer: name matching, the ordinal comparison
// that indexes sort by, and cutting a value to a field's size.
#pragma once

#include <string>

namespace data {

// Field and index names match without regard to ASCII letter case.
bool SameText(const std::wstring& a, const std::wstring& b);

// Ordinal comparison in Unicode code point order, the same whether wchar_t
// holds UTF-16 (Windows) or UTF-32 (the native build). With ignoreCase, ASCII
// and Latin-1 letters compare as their upper-case forms; nothing else folds.
// Returns <0, 0 or >0.
int CompareOrdinal(const std::wstring& a, const std::wstring& b, bool ignoreCase);

// Length in UTF-16 code units.
int Utf16Length(const std::wstring& text);

// The longest prefix of text that fits in maxUnits UTF-16 code units, never
// splitting a surrogate pair.
std::wstring TruncateToUtf16(const std::wstring& text, int maxUnits);

// UTF-8 form, for std::exception::what(); ill-formed sequences become U+FFFD.
std::string ToUtf8(const std::wstring& text);

} // namespace data
