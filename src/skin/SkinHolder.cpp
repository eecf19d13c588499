// The skin data component without the skin manager: enough to load a skin and
// hand its elements and colours to the control skinning objects. The manager
// side (Loaded, Active, SkinFile) follows with the manager itself.
#include "skin/SkinHolder.h"

#include "skin/SkinLoader.h"

#include <windows.h>

namespace skin {

const std::vector<std::wstring>& DefaultForeignClasses() {
    // The find dialog's check boxes; the line stands twice, the first one is used.
    static const std::vector<std::wstring> list{L"TDataCheckBox=Checkbox",
                                                L"TDataCheckBox=Checkbox"};
    return list;
}

TSkinControlTypes DefaultSkinControls() {
    TSkinControlTypes all;
    for (int m = scMainMenu; m <= scReportForms; ++m)
        all.Include(static_cast<TSkinControlType>(m));
    all.Exclude(scMenuItem);
    all.Exclude(scReportForms);
    return all;
}

TSkinHolder::TSkinHolder(ui::TComponent* owner) : ui::TComponent(owner) {
    gdi::UseSystemColours();
    maxWidth_ = GetSystemMetrics(SM_CXMAXIMIZED);
    maxHeight_ = GetSystemMetrics(SM_CYMAXIMIZED);
}

TSkinHolder::~TSkinHolder() = default;

void TSkinHolder::SetActive(bool active) {
    active_ = active;
}

void TSkinHolder::SetSkinFile(const std::wstring& path) {
    skinFile_ = path;
}

std::wstring TSkinHolder::SkinStatus() const {
    return StoredSkinFile().empty() ? L"(none)" : L"(Good)";
}

void TSkinHolder::SetSkinStream(std::vector<std::uint8_t> payload) {
    stream_ = std::move(payload);
    LoadSkin();
}

void TSkinHolder::SetSkinFileBytes(std::span<const std::uint8_t> skinFile) {
    const auto n = static_cast<std::uint32_t>(skinFile.size());
    std::vector<std::uint8_t> payload{
        static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
        static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
    payload.insert(payload.end(), skinFile.begin(), skinFile.end());
    SetSkinStream(std::move(payload));
}

std::span<const std::uint8_t> TSkinHolder::StoredSkinFile() const {
    return SkinFileOfStream(stream_).value_or(std::span<const std::uint8_t>{});
}

bool TSkinHolder::LoadStoredSkin(const wchar_t* resourceName) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, resourceName, MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    const DWORD size = info ? SizeofResource(module, info) : 0;
    if (!bytes || size == 0) {
        stream_.clear();
        data_.reset();
        noSkinLoaded_ = true;
        return false;
    }
    SetSkinFileBytes({static_cast<const std::uint8_t*>(bytes), size});
    return true;
}

void TSkinHolder::Loaded() {
    loading_ = false;
}

bool TSkinHolder::LoadSkin() {
    noSkinLoaded_ = true;
    SkinLoadOptions options;
    options.CxHScroll = GetSystemMetrics(SM_CXHSCROLL);
    data_ = LoadSkinStream(stream_, nullptr, options);
    if (!data_) return false;
    faceBrush_.Reset(data_->Colours.ButtonFace);
    noSkinLoaded_ = false;
    return true;
}

HFONT TSkinHolder::CaptionFont() const {
    return captionFont_ ? captionFont_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

COLORREF TSkinHolder::ButtonFaceRGB() const {
    return ToRGB(data_ ? data_->Colours.ButtonFace : kSysBtnFace);
}

COLORREF TSkinHolder::ToRGB(Colour colour) {
    return static_cast<COLORREF>(ResolveColour(colour));
}

} // namespace skin
