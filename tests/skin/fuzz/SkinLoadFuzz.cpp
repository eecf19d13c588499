// Feeds arbitrary bytes to the skin load: first to the package reader alone,
// pulling out every entry, then through the whole load to skin data.
#include "skin/SkinLoader.h"
#include "skin/SkinPackage.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {
// Large enough for the real package, small enough to keep each run quick.
constexpr std::uint32_t kFuzzPackageLimit = 1u << 20;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);

    skin::TSkinReader reader;
    if (reader.LoadPackage(file, kFuzzPackageLimit)) {
        std::vector<std::uint8_t> body;
        reader.ExtractFirstMatch(L".ini", body);
        for (const auto& name : reader.Names())
            reader.ExtractFile(std::wstring(name.begin(), name.end()), body);
    }

    skin::SkinLoadOptions options;
    options.MaxPackageSize = kFuzzPackageLimit;
    skin::LoadSkinFile(file, nullptr, options);
    return 0;
}
