// The headless UI controls and the image control: state without drawing. Each keeps what its
// setters store and tells its listener about changes of its value (see kiv/controls.h).
//
// Every change of state also calls the protected hook Changed(what) with KivControlChange bits;
// the headless controls ignore it, the windowed ones (gl/WidgetControls.h) bring their Qt widget
// up to date there, so the state rules stay in this one place.
#pragma once

#include <string>
#include <vector>

#include "EngineObject.h"
#include "kiv/controls.h"

namespace kivcore {

enum KivControlChange : unsigned {
    kChangeRect = 1u << 0,
    kChangeVisible = 1u << 1,
    kChangeDisabled = 1u << 2,
    kChangeText = 1u << 3,
    kChangeItems = 1u << 4,
    kChangeSelection = 1u << 5,
    kChangeValue = 1u << 6,  // check state, spin value, range and step
    kChangeLook = 1u << 7,   // colours and frame of a static text
};

// The common state of every control.
template <class Interface>
class CControl : public CEngineObject<Interface, kKivKindEngineObject> {
public:
    void SetNotification(KicControl2DNotification* listener) override { listener_ = listener; }
    KicControl2DNotification* GetNotification() const override { return listener_; }
    void SetRect(float left, float top, float right, float bottom) override {
        rect_ = KivRect{left, top, right, bottom};
        Changed(kChangeRect);
    }
    KivRect GetRect() const override { return rect_; }
    void SetVisible(bool visible) override {
        visible_ = visible;
        Changed(kChangeVisible);
    }
    bool IsVisible() const override { return visible_; }
    void SetDisabled(bool disabled) override {
        disabled_ = disabled;
        Changed(kChangeDisabled);
    }
    bool IsDisabled() const override { return disabled_; }
    void SetText(const char* text) override {
        text_ = text ? text : "";
        Changed(kChangeText);
    }
    const char* GetText() const override { return text_.c_str(); }

protected:
    virtual void Changed(unsigned what) { (void)what; }

    KicControl2DNotification* listener_ = nullptr;
    KivRect rect_;
    bool visible_ = true;
    bool disabled_ = false;
    std::string text_;
};

class CStaticText : public CControl<KcStaticText> {
public:
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcStaticText", "KcControl2D", "KicBaseClass"});
    }
    void SetBackColor(uint32_t argb) override {
        backColor_ = argb;
        Changed(kChangeLook);
    }
    void SetTextColor(uint32_t argb) override {
        textColor_ = argb;
        Changed(kChangeLook);
    }
    void SetFrameWidth(float pixels) override {
        frameWidth_ = pixels;
        Changed(kChangeLook);
    }
    uint32_t GetBackColor() const override { return backColor_; }
    uint32_t GetTextColor() const override { return textColor_; }
    float GetFrameWidth() const override { return frameWidth_; }

private:
    uint32_t backColor_ = 0;
    uint32_t textColor_ = 0xFFFFFFFF;
    float frameWidth_ = 0.0f;
};

template <class Interface>
class CItemControl : public CControl<Interface> {
public:
    int AddItem(const char* text) override;
    void ClearItems() override {
        items_.clear();
        selection_ = -1;
        this->Changed(kChangeItems | kChangeSelection);
    }
    int GetItemCount() const override { return int(items_.size()); }
    const char* GetItemText(int index) const override {
        return index >= 0 && index < GetItemCount() ? items_[size_t(index)].c_str() : nullptr;
    }
    void SetSelection(int index) override;
    int GetSelection() const override { return selection_; }

protected:
    std::vector<std::string> items_;
    int selection_ = -1;
};

class CSelectBox : public CItemControl<KcSelectBox> {
public:
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcSelectBox", "KcItemControl", "KcControl2D", "KicBaseClass"});
    }
};

class CListBox : public CItemControl<KcListBox> {
public:
    static constexpr float kRowHeight = 20.0f;
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcListBox", "KcItemControl", "KcControl2D", "KicBaseClass"});
    }
    void EnsureVisible(int index) override;
    int GetTopIndex() const override { return top_; }

private:
    int top_ = 0;
};

class CCheckBox : public CControl<KcCheckBox> {
public:
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcCheckBox", "KcControl2D", "KicBaseClass"});
    }
    void SetChecked(bool checked) override;
    bool IsChecked() const override { return checked_; }

private:
    bool checked_ = false;
};

class CButtonControl : public CControl<KcButtonControl> {
public:
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcButtonControl", "KcControl2D", "KicBaseClass"});
    }
    void Click() override;
};

class CEditValueSpinFloat : public CControl<KcEditValueSpinFloat> {
public:
    CEditValueSpinFloat() { FormatText(); }
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcEditValueSpinFloat", "KcControl2D", "KicBaseClass"});
    }
    void SetRange(float minimum, float maximum) override;
    void GetRange(float* minimum, float* maximum) const override;
    void SetStep(float step) override;
    float GetStep() const override { return step_; }
    void SetValue(float value) override;
    float GetValue() const override { return value_; }
    void StepUp() override { SetValue(value_ + step_); }
    void StepDown() override { SetValue(value_ - step_); }

private:
    void FormatText();
    float minimum_ = 0.0f;
    float maximum_ = 1.0f;
    float step_ = 0.01f;
    float value_ = 0.0f;
};

class CImageControl final : public CControl<KcImageControl> {
public:
    ~CImageControl() override { SetTexture(nullptr); }
    bool IsKindOf(const char* name) const override {
        return NameIn(name, {"KcImageControl", "KcControl2D", "KicBaseClass"});
    }
    void SetTexture(KcTexture* texture) override;
    KcTexture* GetTexture() const override { return texture_; }
    void SetChannelView(int view) override { channelView_ = view; }
    int GetChannelView() const override { return channelView_; }
    void SetFilterType(int filter) override { filterType_ = filter; }
    int GetFilterType() const override { return filterType_; }

private:
    KcTexture* texture_ = nullptr;
    int channelView_ = kKivChannelNormal;
    int filterType_ = kKivFilterPoint;
};

}  // namespace kivcore
