// TSkinHolder: the skin data component of a form. It holds the skin file (its
// stored state `SkinStream`: a 32-bit little-endian length followed by that
// many bytes of skin file), builds the skin data when the skin is loaded, and
// carries the settings that decide which windows, controls and menus the skin
// manager skins with it.
#pragma once

#include "platform/GdiHandles.h"
#include "skin/Bitmap.h"
#include "skin/GdiImage.h"
#include "skin/SkinDefinition.h"
#include "skin/SkinTypes.h"
#include "ui/Component.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ui {
class TControl;
class TWinControl;
} // namespace ui

namespace skin {

class TSkinControl;
class TSkinHolder;

// Lets the application choose the skinning object of a control: leave
// `skinned` null to go on with the standard choice.
using TSkinControlEvent = std::function<void(
    ui::TComponent* sender, TSkinHolder& holder, ui::TWinControl* form, ui::TControl* control,
    const std::wstring& controlClass, TSkinControl*& skinned)>;
// Decides whether a top-level window is skinned (replaces the built-in filter).
using TFormSkinEvent = std::function<void(ui::TComponent* sender, HWND window,
                                          const std::wstring& className, bool& skin)>;
// Before and after a form is skinned.
using TSkinFormEvent = std::function<void(ui::TComponent* sender, HWND window)>;

// The built-in list of foreign control classes and their skinning kinds.
const std::vector<std::wstring>& DefaultForeignClasses();
// Every control kind but scMenuItem and scReportForms.
TSkinControlTypes DefaultSkinControls();

class TSkinHolder : public ui::TComponent {
public:
    explicit TSkinHolder(ui::TComponent* owner);
    ~TSkinHolder() override;
    std::wstring ClassName() const override { return L"TSkinHolder"; }

    // ---- published properties ----
    bool Active() const { return active_; }
    void SetActive(bool active);
    long long DisableTag = 99;
    TSkinControlTypes SkinControls = DefaultSkinControls();
    TSkinOptions Options{soPreview, soToolbarBK};
    std::vector<std::wstring> ForeignClasses = DefaultForeignClasses();
    TSkinFormType SkinFormtype = TSkinFormType::stMainform;
    bool MenuUpdate = true;
    bool MenuMerge = false;
    // A skin file to load at run time: when the file exists its bytes replace
    // the stored skin and every window skinned with this component follows.
    const std::wstring& SkinFile() const { return skinFile_; }
    void SetSkinFile(const std::wstring& path);
    // Display only: "(Good)" when a skin is stored, "(none)" otherwise.
    std::wstring SkinStatus() const;
    void SetSkinStatus(const std::wstring&) {}
    std::wstring Version() const { return L"1.0"; }
    void SetVersion(const std::wstring&) {}

    TFormSkinEvent OnFormSkin;
    std::function<void(ui::TComponent* sender)> OnSkinChanged;
    TSkinControlEvent OnSkinControl;
    TSkinFormEvent OnBeforeSkinForm;
    TSkinFormEvent OnAfterSkinForm;

    // ---- stored skin ----
    // The stored payload, framing included. Setting it loads the skin.
    const std::vector<std::uint8_t>& SkinStream() const { return stream_; }
    void SetSkinStream(std::vector<std::uint8_t> payload);
    // Frames a skin file as the stored payload and loads it.
    void SetSkinFileBytes(std::span<const std::uint8_t> skinFile);
    // The skin file inside the payload; empty when the payload holds none.
    std::span<const std::uint8_t> StoredSkinFile() const;
    // The form's stored skin: an RCDATA resource of the executable holding
    // the skin file. False (and no skin) when the resource is missing.
    bool LoadStoredSkin(const wchar_t* resourceName);

    // Runs once the form's stored properties are set: starts the skin manager
    // and registers with it.
    void Loaded();
    bool IsLoading() const { return loading_; }

    // ---- the loaded skin ----
    // False from the start of a load until a skin was built completely.
    bool SkinLoaded() const { return !noSkinLoaded_; }
    // Elements and colours; null when no skin is loaded.
    TSkinData* Data() const { return data_.get(); }
    // The system caption font (the default GUI font when that cannot be had).
    HFONT CaptionFont() const;
    // Solid brush of the skin's ButtonFace colour.
    HBRUSH FaceBrush() const { return faceBrush_.get(); }
    // The skin's ButtonFace colour as RGB.
    COLORREF ButtonFaceRGB() const;
    // A colour of the skin (plain or system reference) as RGB.
    static COLORREF ToRGB(Colour colour);
    // The application's small icon on magenta, the small-icon size.
    Pixmap& AppIconBitmap() { return appIcon_; }
    // The menu glyphs (bitmap resource "SKINMENUGLYPHS", 16 x 16 each: 0
    // restore, 1 maximise, 2 minimise, 3 close): pixels that are not white
    // are the glyph. Empty when the resource is missing.
    static constexpr int kMenuGlyphSize = 16;
    const Pixmap& MenuGlyphs() const { return menuGlyphs_; }
    int MenuGlyphCount() const { return menuGlyphs_.Width() / kMenuGlyphSize; }
    // The screen's maximised-window size taken at creation.
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }

private:
    bool LoadSkin();
    void BuildCaptionFont();
    void BuildAppIcon();
    void BuildMenuGlyphs();

    bool active_ = false;
    bool loading_ = true;
    bool noSkinLoaded_ = true;
    std::wstring skinFile_;
    std::vector<std::uint8_t> stream_;
    std::unique_ptr<TSkinData> data_;
    platform::Font captionFont_;
    gdi::FaceBrush faceBrush_;
    Pixmap appIcon_;
    Pixmap menuGlyphs_;
    int maxWidth_ = 0;
    int maxHeight_ = 0;
};

} // namespace skin
