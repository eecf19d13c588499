// Settings and messages shared by every part of the skin engine: the kinds of
// controls and menus a skin data component skins, its behaviour switches, the
// windows it serves, and the private messages between skinned windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>

namespace skin {

// Kinds of controls and menus that get skinned. The declaration order gives
// the bit number in a set.
enum TSkinControlType {
    scMainMenu,
    scPopupMenu,
    scMenuItem,
    scToolbar,
    scControlbar,
    scCombo,
    scCheckBox,
    scRadioButton,
    scProgress,
    scScrollbar,
    scEdit,
    scButton,
    scBitBtn,
    scSpeedButton,
    scSpin,
    scPanel,
    scGroupBox,
    scStatusBar,
    scTab,
    scTrackBar,
    scSystemMenu,
    scReportForms,
};

// Behaviour switches, in declaration order.
enum TSkinOption {
    soMDIScrollbar,
    soMenuMerge,
    soTransparent,
    soPreview,
    soParentBackGround,
    soNoFocusRect,
    soToolbarBK,
    soMDIChildBorder,
    soMenuBG,
    soFormScrollbar,
};

// Which windows a skin data component skins.
enum class TSkinFormType { stMainform, stOnlyThisForm, stDialog, stDLL };

// A set of enumeration members, one bit per member in declaration order.
template <typename E> class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> members) {
        for (E m : members)
            bits_ |= Bit(m);
    }
    static constexpr TEnumSet FromBits(std::uint32_t bits) {
        TEnumSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr bool Has(E m) const { return (bits_ & Bit(m)) != 0; }
    constexpr void Include(E m) { bits_ |= Bit(m); }
    constexpr void Exclude(E m) { bits_ &= ~Bit(m); }
    constexpr std::uint32_t Bits() const { return bits_; }
    friend constexpr bool operator==(TEnumSet, TEnumSet) = default;

private:
    static constexpr std::uint32_t Bit(E m) { return 1u << static_cast<unsigned>(m); }
    std::uint32_t bits_ = 0;
};

using TSkinControlTypes = TEnumSet<TSkinControlType>;
using TSkinOptions = TEnumSet<TSkinOption>;

// Private window messages of the skin engine.
constexpr UINT WM_SKIN_REPAINTFRAME = 0x3502;  // repaint the skinned frame
constexpr UINT WM_SKIN_START = 0x3503;         // posted right after a frame painter is attached
constexpr UINT WM_SKIN_ENABLE = 0x3506;        // wParam > 0: skin the control, else not
constexpr UINT WM_SKIN_CAPTIONACTION = 0x3514; // custom caption button action, wParam = action
constexpr UINT WM_SKIN_BUTTONVISIBLE = 0x3515; // caption button visibility query
constexpr UINT WM_SKIN_REBUILDSCROLL =
    0x3517;                            // recreate the scroll bar skinning of wParam's window
constexpr UINT WM_SKIN_QUERY = 0x3523; // answer 1: skinned already or not to be skinned

// Deferred actions of the skin manager.
enum TSkinAction : int {
    saSkinAll = 1,
    saUnskinAll = 2,
    saRefresh = 3,
    saPurgeDestroyed = 6,
    saReskinWindow = 7,
};

} // namespace skin
