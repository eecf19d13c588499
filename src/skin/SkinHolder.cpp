#include "skin/SkinHolder.h"

#include "skin/SkinLoader.h"
#include "skin/SkinManager.h"

#include "ui/Application.h"
#include "ui/WinControl.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace skin {

namespace {

// How long a change of Active or of the skin waits before windows follow.
constexpr int kActionDelayMs = 250;

} // namespace

const std::vector<std::wstring>& DefaultForeignClasses() {
    // Other libraries' control classes mapped to the skinning kind that fits
    // them. Only the find dialog's check boxes occur in this program.
    static const std::vector<std::wstring> list = {
        L"TDataCheckBox=Checkbox",
        L"TDataRadioButton=RadioButton",
        L"TDataButton=Button",
        L"TDataBitBtn=BitBtn",
        L"TDataSpeedButton=SpeedButton",
        L"TDataProgressBar=Progress",
        L"TDataGroupBox=GroupBox",
        L"TDataPanel=Panel",
        L"TDataEdit=Edit",
        L"TDataCheckBox=Checkbox",
    };
    return list;
}

TSkinControlTypes DefaultSkinControls() {
    TSkinControlTypes set = TSkinControlTypes::FromBits((1u << (scReportForms + 1)) - 1);
    set.Exclude(scMenuItem);
    set.Exclude(scReportForms);
    return set;
}

TSkinHolder::TSkinHolder(ui::TComponent* owner) : ui::TComponent(owner) {
    gdi::UseSystemColours();
    maxWidth_ = GetSystemMetrics(SM_CXMAXIMIZED);
    maxHeight_ = GetSystemMetrics(SM_CYMAXIMIZED);
}

TSkinHolder::~TSkinHolder() {
    if (TSkinManager* manager = TSkinManager::Instance()) manager->Unregister(this);
}

// ---- stored skin ------------------------------------------------------------

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
        SetSkinStream({});
        return false;
    }
    SetSkinFileBytes({static_cast<const std::uint8_t*>(bytes), size});
    return true;
}

std::wstring TSkinHolder::SkinStatus() const {
    return StoredSkinFile().empty() ? L"(none)" : L"(Good)";
}

bool TSkinHolder::LoadSkin() {
    noSkinLoaded_ = true;
    SkinLoadOptions options;
    options.CxHScroll = GetSystemMetrics(SM_CXHSCROLL);
    options.SystemColours = [](int index) { return static_cast<Colour>(GetSysColor(index)); };
    options.OnOlderFormat = [](std::wstring_view message) {
        // The one failure of the skin engine a user is told about.
        const std::wstring text(message);
        const std::wstring caption = ui::Application ? ui::Application->Title() : L"";
        MessageBoxW(GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
    };
    std::unique_ptr<TSkinData> data = LoadSkinStream(stream_, nullptr, options);
    if (!data) return false;
    data_ = std::move(data);
    faceBrush_.Reset(data_->Colours.ButtonFace);
    noSkinLoaded_ = false;
    return true;
}

void TSkinHolder::SetSkinFile(const std::wstring& path) {
    skinFile_ = path;
    if (loading_ || path.empty()) return;
    std::error_code error;
    const std::filesystem::path file(path);
    if (!std::filesystem::is_regular_file(file, error)) return;
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return;
    SetSkinFileBytes(bytes);
    // Windows already skinned with this component follow the new skin.
    if (TSkinManager* manager = TSkinManager::Instance(); manager && manager->Started())
        manager->ScheduleAction(saRefresh, kActionDelayMs, this);
}

// ---- start-up -----------------------------------------------------------------

void TSkinHolder::Loaded() {
    if (!loading_) return;
    loading_ = false;
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32 || !GetProcAddress(user32, "GetScrollBarInfo")) SkinControls.Exclude(scScrollbar);

    TSkinManager& manager = TSkinManager::Create();
    manager.Register(this);
    BuildCaptionFont();

    if (SkinFormtype != TSkinFormType::stMainform) {
        manager.EnableSkinning(true);
        manager.SetStarted();
        if (active_)
            if (auto* form = dynamic_cast<ui::TWinControl*>(Owner()))
                if (form->HandleAllocated()) manager.SkinWindow(form->HandleIfAllocated());
        return;
    }

    manager.InstallHook();
    if (active_) {
        if (!SkinLoaded())
            active_ = false;
        else
            manager.ScheduleAction(saSkinAll, kActionDelayMs, this);
    }
    if (SkinControls.Has(scMainMenu))
        SkinControls.Exclude(scMenuItem);
    else
        SkinControls.Exclude(scSystemMenu);
    BuildAppIcon();
    BuildMenuGlyphs();
}

void TSkinHolder::BuildMenuGlyphs() {
    HANDLE bitmap = LoadImageW(GetModuleHandleW(nullptr), L"SKINMENUGLYPHS", IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION);
    if (!bitmap) return;
    menuGlyphs_ = gdi::ReadBitmap(static_cast<HBITMAP>(bitmap));
    DeleteObject(bitmap);
    if (menuGlyphs_.Height() < kMenuGlyphSize) menuGlyphs_.Clear();
}

void TSkinHolder::BuildCaptionFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        captionFont_.reset(CreateFontIndirectW(&metrics.lfCaptionFont));
}

HFONT TSkinHolder::CaptionFont() const {
    return captionFont_ ? captionFont_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TSkinHolder::BuildAppIcon() {
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    gdi::DibCanvas canvas(cx, cy, kMagenta);
    if (!canvas.valid()) return;
    HWND app = ui::Application ? ui::Application->Handle() : nullptr;
    HICON icon = nullptr;
    if (app) {
        icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
        if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
    }
    if (icon) {
        // A copy at the small size, so a large icon is scaled once, properly.
        if (HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0))) {
            DrawIconEx(canvas.dc(), 0, 0, copy, cx, cy, 0, nullptr, DI_NORMAL);
            DestroyIcon(copy);
        }
    }
    appIcon_ = canvas.ToPixmap();
}

// ---- Active -----------------------------------------------------------------

void TSkinHolder::SetActive(bool active) {
    active_ = active;
    if (loading_) return;
    TSkinManager* manager = TSkinManager::Instance();
    if (!manager) return;
    switch (SkinFormtype) {
    case TSkinFormType::stMainform:
        if (active) {
            if (!SkinLoaded()) return;
            manager->ScheduleAction(saSkinAll, kActionDelayMs, this);
            manager->SetStarted();
        } else {
            manager->ScheduleAction(saUnskinAll, kActionDelayMs, this);
        }
        break;
    case TSkinFormType::stOnlyThisForm:
        if (active && !SkinLoaded()) return;
        manager->ScheduleAction(active ? saSkinAll : saUnskinAll, kActionDelayMs, this);
        break;
    case TSkinFormType::stDialog:
    case TSkinFormType::stDLL:
        break;
    }
}

COLORREF TSkinHolder::ToRGB(Colour colour) {
    return static_cast<COLORREF>(ResolveColour(colour) & 0x00FFFFFFu);
}

COLORREF TSkinHolder::ButtonFaceRGB() const {
    return ToRGB(data_ ? data_->Colours.ButtonFace : kSysBtnFace);
}

} // namespace skin
