#include "skin/SkinPackage.h"

#include "skin/LzhDecoder.h"

#include <algorithm>

namespace skin {

namespace {

class SpanSource : public ByteSource {
public:
    explicit SpanSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, bytes_.size() - pos_);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_), n, buffer);
        pos_ += n;
        return n;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

class VectorSink : public ByteSink {
public:
    explicit VectorSink(std::vector<std::uint8_t>& out) : out_(out) {}
    void Write(const std::uint8_t* data, std::size_t size) override {
        out_.insert(out_.end(), data, data + size);
    }

private:
    std::vector<std::uint8_t>& out_;
};

std::uint32_t ReadLe32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerName(std::wstring_view name) {
    std::string out;
    out.reserve(name.size());
    for (const wchar_t ch : name) {
        // Package names are bytes; a character beyond them can match nothing.
        if (ch > 0xFF) return std::string(1, '\0') + "\xff";
        out.push_back(LowerAscii(static_cast<char>(ch)));
    }
    return out;
}

std::wstring Widen(const std::string& name) {
    std::wstring out;
    out.reserve(name.size());
    for (const char ch : name)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(ch)));
    return out;
}

} // namespace

std::vector<std::string> SplitNameList(std::span<const std::uint8_t> list) {
    std::vector<std::string> lines;
    std::string line;
    bool pending = false; // characters (or nothing) since the last break
    for (std::size_t i = 0; i < list.size(); ++i) {
        const char ch = static_cast<char>(list[i]);
        if (ch == '\0') break;
        if (ch == '\r' || ch == '\n') {
            lines.push_back(line);
            line.clear();
            pending = false;
            if (ch == '\r' && i + 1 < list.size() && list[i + 1] == '\n') ++i;
            continue;
        }
        line.push_back(LowerAscii(ch));
        pending = true;
    }
    if (pending) lines.push_back(line);
    return lines;
}

bool TSkinReader::Refuse() {
    names_.clear();
    sizes_.clear();
    offsets_.clear();
    body_.clear();
    if (OnOlderFormat) OnOlderFormat(kOlderSkinMessage);
    return false;
}

bool TSkinReader::LoadPackage(std::span<const std::uint8_t> skinFile,
                              std::uint32_t maxPackageSize) {
    names_.clear();
    sizes_.clear();
    offsets_.clear();
    body_.clear();
    packageSize_ = 0;

    // A file too short for its size field decodes to nothing: marker 0.
    const std::uint32_t declared =
        skinFile.size() >= package::kSizeFieldSize ? ReadLe32(skinFile, 0) : 0;
    if (declared > maxPackageSize) return Refuse();

    std::vector<std::uint8_t> decoded;
    // Room for the declared size, but no more than the stream can produce:
    // every input bit yields at most six bytes (a 60-byte match takes ten
    // bits or more), so a few bytes declaring a large package reserve little.
    const std::size_t streamBytes =
        skinFile.size() - std::min(skinFile.size(), package::kSizeFieldSize);
    const std::size_t mostBytes = (streamBytes + lzh::kMaxOverrunBytes) * 8 * 6;
    decoded.reserve(std::min<std::size_t>(declared, mostBytes) + lzh::kMaxMatch);
    if (declared > 0) {
        SpanSource source(skinFile.subspan(package::kSizeFieldSize));
        VectorSink sink(decoded);
        // A stream cut short would otherwise be made up with zero bits.
        if (!TLzhDecoder().Unpack(declared, source, sink)) return Refuse();
    }
    packageSize_ = decoded.size();

    const std::span<const std::uint8_t> pkg(decoded);
    if (pkg.size() < package::kHeaderSize || ReadLe32(pkg, 0) != package::kMarker) return Refuse();

    // Every count and size below comes from the file: bound each one against
    // what the package holds before using it.
    const std::uint32_t listLength = ReadLe32(pkg, 4);
    std::size_t pos = package::kHeaderSize;
    if (listLength > pkg.size() - pos) return Refuse();
    std::vector<std::string> names = SplitNameList(pkg.subspan(pos, listLength));
    pos += listLength;

    if (names.size() > package::kMaxEntries) return Refuse();
    if (names.size() * package::kSizeFieldSize > pkg.size() - pos) return Refuse();
    std::vector<std::int32_t> sizes(names.size());
    for (auto& size : sizes) {
        size = static_cast<std::int32_t>(ReadLe32(pkg, pos));
        pos += package::kSizeFieldSize;
    }

    const std::size_t bodyLength = pkg.size() - pos;
    std::vector<std::size_t> offsets(sizes.size());
    std::size_t total = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i] < 0) return Refuse();
        offsets[i] = total;
        total += static_cast<std::size_t>(sizes[i]);
        if (total > bodyLength) return Refuse();
    }

    names_ = std::move(names);
    sizes_ = std::move(sizes);
    offsets_ = std::move(offsets);
    body_.assign(pkg.begin() + static_cast<std::ptrdiff_t>(pos), pkg.end());
    return true;
}

void TSkinReader::CopyEntry(std::size_t index, std::vector<std::uint8_t>& target) const {
    const auto begin = body_.begin() + static_cast<std::ptrdiff_t>(offsets_[index]);
    target.assign(begin, begin + sizes_[index]);
}

void TSkinReader::ExtractFile(std::wstring_view name, std::vector<std::uint8_t>& target) const {
    target.clear();
    const std::string wanted = LowerName(name);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == wanted) {
            CopyEntry(i, target);
            return;
        }
    }
}

std::wstring TSkinReader::ExtractFirstMatch(std::wstring_view text,
                                            std::vector<std::uint8_t>& target) const {
    target.clear();
    // The text is not lower-cased: an upper-case letter in it matches nothing.
    std::string wanted;
    for (const wchar_t ch : text) {
        if (ch > 0xFF) return {};
        wanted.push_back(static_cast<char>(ch));
    }
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].find(wanted) != std::string::npos) {
            CopyEntry(i, target);
            return Widen(names_[i]);
        }
    }
    return {};
}

} // namespace skin
