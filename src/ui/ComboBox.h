// TDataComboBox: a combo box, the system COMBOBOX class superclassed as
// "TDataComboBox" (the skin engine recognises combo boxes by that name).
// Editable (csDropDown) or a fixed list (csDropDownList).
#pragma once

#include "ui/WinControl.h"

#include <string>
#include <vector>

namespace ui {

enum class TComboBoxStyle { csDropDown, csDropDownList };

class TDataComboBox : public TWinControl {
public:
    explicit TDataComboBox(TComponent* owner);
    std::wstring ClassName() const override { return L"TDataComboBox"; }
    std::vector<std::wstring> ClassChain() const override;

    TComboBoxStyle Style = TComboBoxStyle::csDropDown;
    int DropDownCount = 8;

    // The list; kept here so it survives a recreated window.
    const std::vector<std::wstring>& Items() const { return items_; }
    void AddItem(const std::wstring& item);
    void ClearItems();
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The edit text (the selected item's for a fixed list).
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    bool DroppedDown() const;

    // The bounds are those of the closed box; the window also spans the
    // drop-down list of DropDownCount rows below it.
    void SetBounds(int left, int top, int width, int height) override;

    // The user changed the text or chose another item.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void WindowCreated() override;
    void WndProc(TMessage& msg) override;

private:
    int ListHeight() const;

    std::vector<std::wstring> items_;
    int itemIndex_ = -1;
};

} // namespace ui
