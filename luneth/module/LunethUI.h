// CLunethUI: the image panel. A left column with the image's type, size and cost time, the
// channel view, the texture filter, the fit options and the reload button; a right column
// with the equation list and the parameter editors of the selected equation. Built from the
// engine's controls; all texts are ASCII.
//
// The updating flag is set while the panel writes into its own controls, so the change
// notifications that come back are ignored (button events excepted).
#pragma once

#include "kiv/controls.h"
#include "module/ILuneth.h"

class CLunethUI : public KicObject, public KicControl2DNotification {
public:
    static constexpr int kParamRows = 6;
    static constexpr uint32_t kTextBackColor = 0x80808080;
    static constexpr uint32_t kTextColor = 0xFFFF8040;
    static constexpr float kTitleFrameWidth = 2.0f;

    CLunethUI() = default;
    ~CLunethUI() override = default;

    // --- KicBaseClass and KicObject ---
    int Release() override { return refCount_; }
    int GetClassKind() const override { return kKivKindUIObject; }
    bool IsKindOf(const char* className) const override;
    bool CreateControls() override;
    void DestroyControls() override;

    // --- the panel ---
    // Keeps the owner, lists its equations ("[%d] %s") up to the first empty slot, listens to
    // the list, shows the owner's state.
    void Attach(ILuneth* owner);
    // The right column from the render surface's size.
    void Layout();
    void RefreshInfo();
    void RefreshEquation();
    void SetChannelView(int mode);
    void SetFilterType(int value);
    void SetVisible(bool visible);
    bool IsVisible() const { return visible_; }

    // --- KicControl2DNotification ---
    void OnCheckChanged(KcControl2D* sender, bool value) override;
    void OnValueChanged(KcControl2D* sender, float value) override;
    void OnSelectionChanged(KcControl2D* sender, int index) override;
    void OnButtonEvent(KcControl2D* sender, int flag) override;

    // The controls, for the tests and a windowed host's inspection.
    KcStaticText* TypeText() const { return typeText_; }
    KcStaticText* SizeText() const { return sizeText_; }
    KcStaticText* CostText() const { return costText_; }
    KcSelectBox* ChannelBox() const { return channelBox_; }
    KcSelectBox* FilterBox() const { return filterBox_; }
    KcCheckBox* DefaultFitBox() const { return defaultFitBox_; }
    KcButtonControl* FitButton() const { return fitButton_; }
    KcButtonControl* OriginalSizeButton() const { return originalSizeButton_; }
    KcButtonControl* ReloadButton() const { return reloadButton_; }
    KcButtonControl* ResetButton() const { return resetButton_; }
    KcListBox* EquationList() const { return equationList_; }
    KcStaticText* ParamLabel(int i) const { return paramLabels_[i]; }
    KcEditValueSpinFloat* ParamEditor(int i) const { return paramEditors_[i]; }

private:
    class UpdatingScope;
    luneth::IPixelEquation* CurrentEquation() const;
    // Every control, in creation order.
    template <class Fn>
    void ForEachControl(Fn fn) const;
    void ShowParamRows(int shownRows);

    uint32_t reserved_[2] = {};
    ILuneth* owner_ = nullptr;
    KcStaticText* typeTitle_ = nullptr;
    KcStaticText* typeText_ = nullptr;
    KcStaticText* sizeText_ = nullptr;
    KcStaticText* costText_ = nullptr;
    KcStaticText* channelTitle_ = nullptr;
    KcSelectBox* channelBox_ = nullptr;
    KcStaticText* filterTitle_ = nullptr;
    KcSelectBox* filterBox_ = nullptr;
    KcCheckBox* defaultFitBox_ = nullptr;
    KcButtonControl* fitButton_ = nullptr;
    KcButtonControl* originalSizeButton_ = nullptr;
    KcButtonControl* reloadButton_ = nullptr;
    KcStaticText* equationsTitle_ = nullptr;
    KcListBox* equationList_ = nullptr;
    KcStaticText* paramLabels_[kParamRows] = {};
    KcEditValueSpinFloat* paramEditors_[kParamRows] = {};
    KcButtonControl* resetButton_ = nullptr;
    bool updating_ = false;
    bool visible_ = false;
};
