#include "Controls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "kiv/services.h"

namespace kivcore {

template <class Interface>
int CItemControl<Interface>::AddItem(const char* text) {
    try {
        items_.emplace_back(text ? text : "");
    } catch (const std::bad_alloc&) {
        return -1;
    }
    this->Changed(kChangeItems);
    return GetItemCount() - 1;
}

template <class Interface>
void CItemControl<Interface>::SetSelection(int index) {
    if (index < 0 || index >= GetItemCount()) index = -1;
    if (index == selection_) return;
    selection_ = index;
    this->Changed(kChangeSelection);
    if (this->listener_) this->listener_->OnSelectionChanged(this, index);
}

template class CItemControl<KcSelectBox>;
template class CItemControl<KcListBox>;

void CListBox::EnsureVisible(int index) {
    if (index < 0 || index >= GetItemCount()) return;
    int rows = std::max(1, int((rect_.bottom - rect_.top) / kRowHeight));
    if (index < top_)
        top_ = index;
    else if (index >= top_ + rows)
        top_ = index - rows + 1;
    Changed(kChangeSelection);
}

void CCheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed(kChangeValue);
    if (listener_) listener_->OnCheckChanged(this, checked);
}

void CButtonControl::Click() {
    if (!visible_ || disabled_ || !listener_) return;
    // The listener may hide or destroy other controls on the press; keep our own pointer.
    KicControl2DNotification* listener = listener_;
    listener->OnButtonEvent(this, 1);
    listener->OnButtonEvent(this, 0);
}

void CEditValueSpinFloat::SetRange(float minimum, float maximum) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || minimum > maximum) return;
    minimum_ = minimum;
    maximum_ = maximum;
    Changed(kChangeValue);
    SetValue(value_);
}

void CEditValueSpinFloat::GetRange(float* minimum, float* maximum) const {
    if (minimum) *minimum = minimum_;
    if (maximum) *maximum = maximum_;
}

void CEditValueSpinFloat::SetStep(float step) {
    if (!std::isfinite(step) || !(step > 0.0f)) return;
    step_ = step;
    Changed(kChangeValue);
}

void CEditValueSpinFloat::SetValue(float value) {
    if (std::isnan(value)) return;
    value = std::min(std::max(value, minimum_), maximum_);
    if (value == value_) return;
    value_ = value;
    FormatText();
    Changed(kChangeValue);
    if (listener_) listener_->OnValueChanged(this, value);
}

void CEditValueSpinFloat::FormatText() {
    char text[64];
    std::snprintf(text, sizeof text, "%f", double(value_));
    text_ = text;
}

void CImageControl::SetTexture(KcTexture* texture) {
    if (texture == texture_) return;
    if (texture) texture->AddRef();
    KcTexture* old = texture_;
    texture_ = texture;
    if (old) old->Release();
}

}  // namespace kivcore
