// Engine objects created by class name (KivEngineAPI::CreateEngineObject): the 2D grid scene,
// the image control and the UI controls.
//
//   "KcGridScene2D"         a pannable, zoomable 2D world (y up) over the drawing surface; tells
//                           its KicGridScene2DNotification listener after every view change
//                           (ShowView, pan, zoom, surface resize). Mouse: left-button drag pans,
//                           the wheel zooms about the cursor.
//   "KcImageControl"        draws one texture into a screen rectangle, with a channel view and a
//                           texture filter.
//   "KcStaticText", "KcSelectBox", "KcCheckBox", "KcButtonControl", "KcListBox",
//   "KcEditValueSpinFloat"  UI controls at pixel rectangles over the surface.
//
// Controls report changes to their KicControl2DNotification listener whenever the value
// changes, whether by the user or by a setter (as Qt's signals do); a listener that writes into
// its own controls guards against the echo. Setting the value a control already has notifies
// nothing. Headless, the controls keep their state without drawing; the user-action calls
// (Click, StepUp, StepDown) stand for the input a windowed control receives.
#pragma once

#include <cstdint>

#include "kiv/base.h"

class KcControl2D;
class KcGridScene2D;
class KcTexture;

class KicControl2DNotification {
public:
    virtual ~KicControl2DNotification() = default;
    virtual void OnCheckChanged(KcControl2D* sender, bool value) { (void)sender, (void)value; }
    virtual void OnValueChanged(KcControl2D* sender, float value) { (void)sender, (void)value; }
    virtual void OnSelectionChanged(KcControl2D* sender, int index) { (void)sender, (void)index; }
    // flag 1 when the button is pressed, 0 when it is released.
    virtual void OnButtonEvent(KcControl2D* sender, int flag) { (void)sender, (void)flag; }
};

class KicGridScene2DNotification {
public:
    virtual ~KicGridScene2DNotification() = default;
    virtual void OnViewChanged(KcGridScene2D* scene) = 0;
};

struct KivRect {
    float left = 0, top = 0, right = 0, bottom = 0;
};

class KcControl2D : public KicBaseClass {
public:
    virtual void SetNotification(KicControl2DNotification* listener) = 0;
    virtual KicControl2DNotification* GetNotification() const = 0;
    virtual void SetRect(float left, float top, float right, float bottom) = 0;
    virtual KivRect GetRect() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetDisabled(bool disabled) = 0;
    virtual bool IsDisabled() const = 0;
    // Caption or text (copied).
    virtual void SetText(const char* text) = 0;
    virtual const char* GetText() const = 0;
};

class KcStaticText : public KcControl2D {
public:
    // The three display properties: background colour, text colour, frame width in pixels.
    virtual void SetBackColor(uint32_t argb) = 0;
    virtual void SetTextColor(uint32_t argb) = 0;
    virtual void SetFrameWidth(float pixels) = 0;
    virtual uint32_t GetBackColor() const = 0;
    virtual uint32_t GetTextColor() const = 0;
    virtual float GetFrameWidth() const = 0;
};

// A list of items with one selection (-1 for none). Shared by the select box and the list box.
class KcItemControl : public KcControl2D {
public:
    virtual int AddItem(const char* text) = 0;  // index of the new item
    virtual void ClearItems() = 0;              // also clears the selection, without notifying
    virtual int GetItemCount() const = 0;
    virtual const char* GetItemText(int index) const = 0;  // null out of range
    // An index out of range selects nothing (-1). Notifies when the selection changes.
    virtual void SetSelection(int index) = 0;
    virtual int GetSelection() const = 0;
};

class KcSelectBox : public KcItemControl {};

class KcListBox : public KcItemControl {
public:
    // Scrolls the least needed so that the item is within the visible rows (rect height / 20).
    virtual void EnsureVisible(int index) = 0;
    virtual int GetTopIndex() const = 0;
};

class KcCheckBox : public KcControl2D {
public:
    virtual void SetChecked(bool checked) = 0;  // notifies on change
    virtual bool IsChecked() const = 0;
};

class KcButtonControl : public KcControl2D {
public:
    // A press and release: OnButtonEvent with 1, then with 0. Nothing while hidden or disabled.
    virtual void Click() = 0;
};

class KcEditValueSpinFloat : public KcControl2D {
public:
    // The value is clamped into [min, max]; its text is the value formatted with "%f".
    virtual void SetRange(float minimum, float maximum) = 0;
    virtual void GetRange(float* minimum, float* maximum) const = 0;
    virtual void SetStep(float step) = 0;
    virtual float GetStep() const = 0;
    virtual void SetValue(float value) = 0;  // notifies on change
    virtual float GetValue() const = 0;
    // The spin arrows: the value plus or minus one step.
    virtual void StepUp() = 0;
    virtual void StepDown() = 0;
};

// Channel views and filters of the image control.
enum KivChannelView : int {
    kKivChannelNormal = 0,
    kKivChannelAlphaBlend = 1,
    kKivChannelRed = 2,
    kKivChannelGreen = 3,
    kKivChannelBlue = 4,
    kKivChannelAlpha = 5,
    kKivChannelInverse = 6,
};
enum KivFilterType : int { kKivFilterPoint = 0, kKivFilterLinear = 1, kKivFilterAnisotropic = 2 };

class KcImageControl : public KcControl2D {
public:
    // The control holds a reference to the texture while it is attached.
    virtual void SetTexture(KcTexture* texture) = 0;
    virtual KcTexture* GetTexture() const = 0;
    virtual void SetChannelView(int view) = 0;
    virtual int GetChannelView() const = 0;
    virtual void SetFilterType(int filter) = 0;
    virtual int GetFilterType() const = 0;
};

class KcGridScene2D : public KicBaseClass {
public:
    virtual void SetNotification(KicGridScene2DNotification* listener) = 0;
    virtual uint32_t GetAxisColor() const = 0;
    virtual uint32_t GetMajorColor() const = 0;
    virtual uint32_t GetMinorColor() const = 0;
    virtual void SetAxisColor(uint32_t argb) = 0;
    virtual void SetMajorColor(uint32_t argb) = 0;
    virtual void SetMinorColor(uint32_t argb) = 0;
    // Screen pixels (y down, origin at the surface's top left) of a world point, and back.
    virtual void WorldToScreen(float x, float y, float* screenX, float* screenY) const = 0;
    virtual void ScreenToWorld(float screenX, float screenY, float* x, float* y) const = 0;
    // Centres the world origin and zooms so that a width x height world rectangle just fits the
    // surface. Sizes that are not positive and finite change nothing.
    virtual void ShowView(float width, float height) = 0;
    // Screen pixels per world unit, and the world point at the surface's centre.
    virtual float GetScale() const = 0;
    virtual void GetCenter(float* x, float* y) const = 0;
    virtual void SetCenter(float x, float y) = 0;
    // Scale multiplied by `factor` keeping the world point under (screenX, screenY) in place.
    virtual void ZoomAt(float factor, float screenX, float screenY) = 0;
};
