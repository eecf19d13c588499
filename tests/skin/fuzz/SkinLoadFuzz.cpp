// Feeds arbitrary bytes to the skin load: the package reader, every entry
// pulled out by name, then the definition and bitmaps built into skin data,
// the steps of a real load with the decoding done once.
#include "skin/SkinLoader.h"
#include "skin/SkinPackage.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace {
// Large enough for the real package, small enough to keep each run quick.
constexpr std::uint32_t kFuzzPackageLimit = 1u << 20;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) try {
    const std::span<const std::uint8_t> file(data, size);

    skin::TSkinReader reader;
    if (!reader.LoadPackage(file, kFuzzPackageLimit)) return 0;
    std::vector<std::uint8_t> definition;
    reader.ExtractFirstMatch(L".ini", definition);
    std::vector<std::uint8_t> body;
    for (const auto& name : reader.Names())
        reader.ExtractFile(std::wstring(name.begin(), name.end()), body);

    const skin::SkinEntryReader entries = [&](std::wstring_view name) {
        std::vector<std::uint8_t> entry;
        reader.ExtractFile(name, entry);
        return entry;
    };
    skin::BuildSkinData(definition, entries);
    return 0;
} catch (const std::exception&) {
    // What the skin load itself catches: no skin, nothing else.
    return 0;
}
