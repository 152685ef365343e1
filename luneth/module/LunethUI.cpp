#include "module/LunethUI.h"

#include <algorithm>
#include <cstdio>

#include "equations/PixelEquation.h"
#include "kiv/engine.h"
#include "module/Luneth.h"

namespace {

KivEngineAPI* Api() { return LunethModule().api; }

constexpr float kLeft = 8.0f;
constexpr float kRight = 168.0f;
constexpr float kRowHeight = 20.0f;
constexpr float kGap = 4.0f;
constexpr float kRightColumnWidth = 200.0f;  // x from W - 208 to W - 8
constexpr int kMaxEquationSlots = int(luneth::kEquationSlotCount);

constexpr const char* kChannelNames[] = {"Normal(N)",  "Alpha_Able(T)", "Color_R(R)", "Color_G(G)",
                                         "Color_B(B)", "Color_A(A)",    "Inverse(I)"};
constexpr const char* kFilterNames[] = {"Point", "Linear"};

// A control of the left column (x 8 to 168), or null when the engine gives none.
template <class T>
T* MakeControl(const char* className, float top, float bottom, const char* text) {
    T* control = Api()->CreateEngineObjectAs<T>(className);
    if (!control) return nullptr;
    control->SetRect(kLeft, top, kRight, bottom);
    if (text) control->SetText(text);
    return control;
}

const char* TypeName(int type) {
    switch (type) {
        case kImagePictureFile:
            return "Picture File";
        case kImageMathScript:
            return "Math Script";
        case kImagePixelEquation:
            return "Pixel Equation";
        default:
            return "Invalid";
    }
}

}  // namespace

// Sets the updating flag for a scope and restores what it was, so nested refreshes (an event
// that computes an equation, which refreshes the panel) keep the outer guard.
class CLunethUI::UpdatingScope {
public:
    explicit UpdatingScope(CLunethUI* panel) : panel_(panel), saved_(panel->updating_) {
        panel_->updating_ = true;
    }
    ~UpdatingScope() { panel_->updating_ = saved_; }

private:
    CLunethUI* panel_;
    bool saved_;
};

bool CLunethUI::IsKindOf(const char* className) const {
    return KivNameIs(className, "KicObject") || KivNameIs(className, "KicBaseClass");
}

template <class Fn>
void CLunethUI::ForEachControl(Fn fn) const {
    KcControl2D* fixed[] = {typeTitle_,      typeText_,    sizeText_,           costText_,
                            channelTitle_,   channelBox_,  filterTitle_,        filterBox_,
                            defaultFitBox_,  fitButton_,   originalSizeButton_, reloadButton_,
                            equationsTitle_, equationList_};
    for (KcControl2D* c : fixed)
        if (c) fn(c, false);
    for (int i = 0; i < kParamRows; ++i) {
        if (paramLabels_[i]) fn(paramLabels_[i], true);
        if (paramEditors_[i]) fn(paramEditors_[i], true);
    }
    if (resetButton_) fn(resetButton_, true);
}

// ================================================================ controls

bool CLunethUI::CreateControls() {
    auto text = [](float top, const char* caption, bool framed) {
        auto* t = MakeControl<KcStaticText>("KcStaticText", top, top + kRowHeight, caption);
        if (t) {
            t->SetBackColor(kTextBackColor);
            t->SetTextColor(kTextColor);
            if (framed) t->SetFrameWidth(kTitleFrameWidth);
        }
        return t;
    };
    auto select = [](float top, std::initializer_list<const char*> items) {
        float bottom = top + kRowHeight * float(items.size()) + kGap;
        auto* box = MakeControl<KcSelectBox>("KcSelectBox", top, bottom, nullptr);
        if (box)
            for (const char* item : items) box->AddItem(item);
        return box;
    };
    auto button = [](float top, const char* caption) {
        return MakeControl<KcButtonControl>("KcButtonControl", top, top + kRowHeight, caption);
    };

    typeTitle_ = text(8, "Image Type", true);
    typeText_ = text(32, "", true);
    sizeText_ = text(56, "", true);
    costText_ = text(80, "", true);
    channelTitle_ = text(108, "Image Channel", true);
    channelBox_ =
        select(132, {kChannelNames[0], kChannelNames[1], kChannelNames[2], kChannelNames[3],
                     kChannelNames[4], kChannelNames[5], kChannelNames[6]});
    filterTitle_ = text(284, "Texture Filter Type", true);
    filterBox_ = select(308, {kFilterNames[0], kFilterNames[1]});
    defaultFitBox_ = MakeControl<KcCheckBox>("KcCheckBox", 360, 380, "Image Default Fit");
    fitButton_ = button(384, "Image Fit Size(F)");
    originalSizeButton_ = button(408, "Image Original Size(O)");
    reloadButton_ = button(436, "Reload Texture(K)");
    equationsTitle_ = text(0, "Pixel Equations", true);
    equationList_ = MakeControl<KcListBox>("KcListBox", 0, 0, nullptr);
    for (int i = 0; i < kParamRows; ++i) {
        paramLabels_[i] = text(0, "", false);
        paramEditors_[i] = MakeControl<KcEditValueSpinFloat>("KcEditValueSpinFloat", 0, 0, nullptr);
        if (paramEditors_[i]) {
            paramEditors_[i]->SetRange(-360.0f, 360.0f);
            paramEditors_[i]->SetStep(0.001f);
        }
    }
    resetButton_ = button(0, "Reset Default Params");

    ForEachControl([&](KcControl2D* c, bool paramRow) {
        if (c != equationList_) c->SetNotification(this);
        if (paramRow) c->SetVisible(false);
    });
    visible_ = false;
    SetVisible(true);
    Layout();
    RefreshInfo();
    return true;
}

void CLunethUI::DestroyControls() {
    KivEngineAPI* api = Api();
    ForEachControl([api](KcControl2D* c, bool) { api->DestroyEngineObject(c); });
    typeTitle_ = typeText_ = sizeText_ = costText_ = channelTitle_ = filterTitle_ =
        equationsTitle_ = nullptr;
    channelBox_ = filterBox_ = nullptr;
    defaultFitBox_ = nullptr;
    fitButton_ = originalSizeButton_ = reloadButton_ = resetButton_ = nullptr;
    equationList_ = nullptr;
    for (int i = 0; i < kParamRows; ++i) paramLabels_[i] = nullptr, paramEditors_[i] = nullptr;
}

// ================================================================ panel operations

void CLunethUI::Attach(ILuneth* owner) {
    owner_ = owner;
    if (!owner_) return;
    if (equationList_) {
        UpdatingScope scope(this);
        equationList_->ClearItems();
        char line[96];
        for (int i = 0; i < kMaxEquationSlots; ++i) {
            luneth::IPixelEquation* equation = owner_->GetEquation(i);
            if (!equation) break;
            std::snprintf(line, sizeof line, "[%d] %s", i, equation->GetName());
            equationList_->AddItem(line);
        }
        equationList_->SetNotification(this);
    }
    RefreshInfo();
}

void CLunethUI::Layout() {
    KcDX9Render* render = owner_ ? owner_->GetRender() : nullptr;
    if (!render) return;
    int width = render->GetSurfaceWidth(), height = render->GetSurfaceHeight();
    float left = float(width) - 8.0f - kRightColumnWidth, right = float(width) - 8.0f;
    float listBottom = float(height / 2 + 32);
    if (equationsTitle_) equationsTitle_->SetRect(left, 8, right, 28);
    if (equationList_) equationList_->SetRect(left, 32, right, listBottom);
    float top = listBottom + kGap;
    if (resetButton_) resetButton_->SetRect(left, top, right, top + kRowHeight);
    top += kRowHeight;
    for (int i = 0; i < kParamRows; ++i) {
        top += kGap;
        if (paramLabels_[i]) paramLabels_[i]->SetRect(left, top, right, top + kRowHeight);
        top += kRowHeight + kGap;
        if (paramEditors_[i]) paramEditors_[i]->SetRect(left, top, right, top + kRowHeight);
        top += kRowHeight;
    }
}

void CLunethUI::RefreshInfo() {
    if (!owner_) return;
    UpdatingScope scope(this);
    char line[96];
    if (typeText_) typeText_->SetText(TypeName(owner_->GetImageType()));
    int pixels = 0, width = 0, height = 0;
    owner_->GetTextureSize(&pixels, &width, &height);
    std::snprintf(line, sizeof line, "Width:%d, Height:%d", width, height);
    if (sizeText_) sizeText_->SetText(line);
    std::snprintf(line, sizeof line, "Cost Time: %0.3f", double(owner_->GetCostTime()));
    if (costText_) costText_->SetText(line);
    if (KcImageControl* image = owner_->GetImageControl()) {
        if (channelBox_) channelBox_->SetSelection(image->GetChannelView());
        if (filterBox_) filterBox_->SetSelection(image->GetFilterType());
    }
    if (defaultFitBox_) defaultFitBox_->SetChecked(owner_->IsDefaultFit());
    RefreshEquation();
}

luneth::IPixelEquation* CLunethUI::CurrentEquation() const {
    int index = owner_ ? owner_->GetEquationIndex() : -1;
    if (index < 0 || index >= kMaxEquationSlots) return nullptr;
    return owner_->GetEquation(index);
}

void CLunethUI::ShowParamRows(int shownRows) {
    for (int i = 0; i < kParamRows; ++i) {
        bool show = visible_ && i < shownRows;
        if (paramLabels_[i]) paramLabels_[i]->SetVisible(show);
        if (paramEditors_[i]) paramEditors_[i]->SetVisible(show);
    }
    if (resetButton_) resetButton_->SetVisible(visible_ && shownRows > 0);
}

void CLunethUI::RefreshEquation() {
    if (!owner_) return;
    UpdatingScope scope(this);
    luneth::IPixelEquation* equation = CurrentEquation();
    int index = equation ? owner_->GetEquationIndex() : -1;
    if (equationList_) {
        equationList_->SetSelection(index);
        equationList_->EnsureVisible(index);
    }
    if (!equation) return ShowParamRows(0);
    int shown = 0;
    for (int i = 0; i < kParamRows; ++i) {
        const char* name = equation->GetParamName(uint32_t(i));
        bool show = visible_ && name != nullptr;
        if (name) {
            float lo = -1.0f, hi = 1.0f, step = 0.001f;
            equation->GetParamRange(uint32_t(i), &lo, &hi, &step);
            if (paramLabels_[i]) paramLabels_[i]->SetText(name);
            if (KcEditValueSpinFloat* editor = paramEditors_[i]) {
                editor->SetRange(lo, hi);
                editor->SetStep(step);
                float value = equation->params[i];
                editor->SetValue(value < lo ? lo : value > hi ? hi : value);
            }
            ++shown;
        }
        if (paramLabels_[i]) paramLabels_[i]->SetVisible(show);
        if (paramEditors_[i]) paramEditors_[i]->SetVisible(show);
    }
    if (resetButton_) resetButton_->SetVisible(visible_ && shown > 0);
}

void CLunethUI::SetChannelView(int mode) {
    if (channelBox_) channelBox_->SetSelection(mode);
    if (KcImageControl* image = owner_ ? owner_->GetImageControl() : nullptr)
        image->SetChannelView(mode);
}

void CLunethUI::SetFilterType(int value) {
    if (filterBox_) filterBox_->SetSelection(value);
    if (KcImageControl* image = owner_ ? owner_->GetImageControl() : nullptr)
        image->SetFilterType(value);
}

void CLunethUI::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    ForEachControl([visible](KcControl2D* c, bool paramRow) {
        if (!paramRow) c->SetVisible(visible);
    });
    if (visible && owner_)
        RefreshEquation();
    else
        ShowParamRows(0);
}

// ================================================================ events

void CLunethUI::OnSelectionChanged(KcControl2D* sender, int index) {
    if (updating_ || !owner_ || index < 0) return;
    UpdatingScope scope(this);
    if (sender == channelBox_)
        SetChannelView(index);
    else if (sender == filterBox_)
        SetFilterType(index);
    else if (sender == equationList_)
        static_cast<CLuneth*>(owner_)->StartEquation(index);
}

void CLunethUI::OnCheckChanged(KcControl2D* sender, bool value) {
    if (updating_ || !owner_) return;
    if (sender == defaultFitBox_) owner_->SetDefaultFit(value);
}

void CLunethUI::OnValueChanged(KcControl2D* sender, float value) {
    // The equation may be computing on another thread; its parameters wait until it is done.
    if (updating_ || !owner_ || owner_->IsComputing()) return;
    for (int i = 0; i < kParamRows; ++i) {
        if (sender != paramEditors_[i]) continue;
        if (luneth::IPixelEquation* equation = CurrentEquation())
            equation->SetParam(uint32_t(i), value);
    }
}

void CLunethUI::OnButtonEvent(KcControl2D* sender, int flag) {
    if (!flag || !owner_) return;
    if (sender == reloadButton_) {
        static_cast<CLuneth*>(owner_)->StartReload();
    } else if (sender == fitButton_) {
        owner_->FitImageSize();
    } else if (sender == originalSizeButton_) {
        owner_->ShowOriginalSize();
    } else if (sender == resetButton_) {
        if (luneth::IPixelEquation* equation =
                owner_->IsComputing() ? nullptr : CurrentEquation()) {
            equation->ResetParams();
            RefreshEquation();
        }
    }
}
