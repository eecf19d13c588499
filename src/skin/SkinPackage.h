// The skin package: a skin file (decoded size + LZHUF bit stream) unpacks to
// a header, a list of entry names, their sizes and their bodies. TSkinReader
// holds one unpacked package and serves entries by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skin {

// Shown to the user when a package is not in the format we read. The Windows
// layer puts it in a message box; this layer only reports it.
inline constexpr wchar_t kOlderSkinMessage[] =
    L"This is Older Skin File\rPlease update to new version !";

namespace package {
constexpr std::uint32_t kMarker = 20000;      // first header field of a current package
constexpr std::uint32_t kReserved1 = 4666021; // written by the packer, ignored on reading
constexpr std::uint32_t kReserved2 = 4666029;
constexpr std::size_t kHeaderSize = 16;   // marker, name list length, two reserved
constexpr std::size_t kSizeFieldSize = 4; // leading decoded size of a skin file
constexpr std::size_t kMaxEntries = 1001; // room the reader keeps for entry sizes
constexpr std::uint32_t kMaxPackageSize = 64u * 1024 * 1024; // largest decoded size we accept
} // namespace package

class TSkinReader {
public:
    // Called with kOlderSkinMessage when LoadPackage refuses a package.
    std::function<void(std::wstring_view message)> OnOlderFormat;

    // Unpacks a skin file. False (and OnOlderFormat) for a package that is not
    // current or cannot be read safely, including a bit stream that ends well
    // before the declared size; the reader is then empty.
    bool LoadPackage(std::span<const std::uint8_t> skinFile,
                     std::uint32_t maxPackageSize = package::kMaxPackageSize);

    // Body of the first entry whose name equals `name`, compared ASCII-case-
    // insensitively and whole. `target` is empty when there is none.
    void ExtractFile(std::wstring_view name, std::vector<std::uint8_t>& target) const;

    // Body of the first entry whose lower-cased name contains `text`; returns
    // that entry's name, or an empty name with `target` empty.
    std::wstring ExtractFirstMatch(std::wstring_view text, std::vector<std::uint8_t>& target) const;

    std::size_t EntryCount() const { return names_.size(); }
    const std::vector<std::string>& Names() const { return names_; }
    const std::vector<std::int32_t>& Sizes() const { return sizes_; }
    // Decoded bytes of the last package loaded.
    std::size_t PackageSize() const { return packageSize_; }

private:
    bool Refuse();
    void CopyEntry(std::size_t index, std::vector<std::uint8_t>& target) const;

    std::vector<std::string> names_; // lower-cased, list order
    std::vector<std::int32_t> sizes_;
    std::vector<std::size_t> offsets_; // start of each body in body_
    std::vector<std::uint8_t> body_;
    std::size_t packageSize_ = 0;
};

// Splits a name list at CR, LF or CR LF, stopping at a NUL. A break after the
// last name adds no entry; an empty line between two breaks is one.
std::vector<std::string> SplitNameList(std::span<const std::uint8_t> list);

} // namespace skin
