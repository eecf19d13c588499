#include "skin/SkinLoader.h"

#include "skin/DerivedElements.h"
#include "skin/ImageOps.h"
#include "skin/SkinIni.h"

#include <stdexcept>

namespace skin {

namespace {

constexpr std::size_t kLengthFieldSize = 4;

std::uint32_t ReadLe32(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::unique_ptr<TSkinData> Fail(SkinLoadReport* report, SkinLoadReport::Failure why) {
    if (report) report->Result = why;
    return nullptr;
}

void BuildDerived(TSkinData& data, const SkinLoadOptions& options) {
    const Colour face =
        IsSystemColour(data.Colours.ButtonFace) && options.SystemColours
            ? options.SystemColours(static_cast<int>(data.Colours.ButtonFace & 0xFF))
            : ResolveColour(data.Colours.ButtonFace);
    DerivedElementSet set;
    set.SunkEdge = data.SunkEdge.get();
    set.ComboButton = data.ComboButton.get();
    set.ExtraImages = data.ExtraImages.get();
    set.Top = data.Top.get();
    set.ComboxArrow = data.ComboxArrow.get();
    set.Toolbar = data.Toolbar.get();
    BuildDerivedElements(set, options.CxHScroll, face & 0xFFFFFF);
}

} // namespace

std::optional<std::span<const std::uint8_t>>
SkinFileOfStream(std::span<const std::uint8_t> payload) {
    if (payload.size() < kLengthFieldSize) return std::nullopt;
    const auto n = static_cast<std::int32_t>(ReadLe32(payload));
    if (n <= 0) return std::nullopt;
    const std::span<const std::uint8_t> rest = payload.subspan(kLengthFieldSize);
    // A length beyond the stored bytes is a damaged resource, not a shorter skin.
    if (static_cast<std::uint32_t>(n) > rest.size()) return std::nullopt;
    return rest.first(static_cast<std::size_t>(n));
}

std::unique_ptr<TSkinData> LoadSkinFile(std::span<const std::uint8_t> skinFile,
                                        SkinLoadReport* report, const SkinLoadOptions& options) {
    if (report) *report = SkinLoadReport{};
    // The declared size decides how much the decoder produces, whatever the
    // input holds; refuse absurd sizes before decoding anything.
    if (skinFile.size() >= 4 && ReadLe32(skinFile) > options.MaxPackageSize)
        return Fail(report, SkinLoadReport::Failure::kTooLarge);

    try {
        TSkinReader reader;
        reader.OnOlderFormat = options.OnOlderFormat;
        if (!reader.LoadPackage(skinFile, options.MaxPackageSize))
            return Fail(report, SkinLoadReport::Failure::kOlderFormat);
        if (report) report->PackageSize = reader.PackageSize();

        std::vector<std::uint8_t> text;
        const std::wstring name = reader.ExtractFirstMatch(L".ini", text);
        if (report) report->DefinitionName = name;
        const SkinEntryReader entries = [&](std::wstring_view entry) {
            std::vector<std::uint8_t> body;
            reader.ExtractFile(entry, body);
            if (report) {
                ++report->BitmapsRequested;
                if (!body.empty()) ++report->BitmapsFound;
            }
            return body;
        };
        return BuildSkinData(text, entries, options);
    } catch (const std::exception&) {
        // The decoder's ELzhError and running out of memory: the skin engine
        // fails silently, the skin is simply not loaded.
        return Fail(report, SkinLoadReport::Failure::kDecodeFailure);
    }
}

std::unique_ptr<TSkinData> BuildSkinData(std::span<const std::uint8_t> definition,
                                         const SkinEntryReader& entries,
                                         const SkinLoadOptions& options) {
    TSkinIni ini;
    ini.LoadFromStream(definition);
    auto data = std::make_unique<TSkinData>();
    ReadSkinDefinition(ini, entries, *data, options.Fallbacks);
    BuildDerived(*data, options);
    return data;
}

std::unique_ptr<TSkinData> LoadSkinStream(std::span<const std::uint8_t> payload,
                                          SkinLoadReport* report, const SkinLoadOptions& options) {
    const auto file = SkinFileOfStream(payload);
    if (!file) {
        if (report) *report = SkinLoadReport{};
        return Fail(report, SkinLoadReport::Failure::kBadFraming);
    }
    return LoadSkinFile(*file, report, options);
}

} // namespace skin
