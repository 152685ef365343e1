// The windowed UI controls: the headless controls (Controls.h) with a Qt widget each, a child of
// the GL view at the control's pixel rectangle. The state stays in the headless class; every
// change of it (Changed) is copied into the widget with the widget's signals blocked, and the
// user's input on the widget goes through the control's own setters, which tell the listener.
//
//   KcStaticText          QLabel (background, text colour and frame by a style sheet)
//   KcSelectBox, KcListBox QListWidget with rows 20 pixels high
//   KcCheckBox            QCheckBox
//   KcButtonControl       QPushButton (a click is the control's Click)
//   KcEditValueSpinFloat  QDoubleSpinBox with six decimals ("%f"), in the C locale
#pragma once

#include <QPointer>
#include <QSignalBlocker>
#include <QWidget>

#include "Controls.h"

namespace kivcore {

// The parent of the control widgets (the GL view) and its device pixel ratio.
QWidget* ControlParent();
// A control's rectangle (device pixels) in the parent's logical pixels.
QRect LogicalRect(const KivRect& rect);

template <class Base, class Widget>
class CWidgetControl : public Base {
public:
    ~CWidgetControl() override { delete widget_.data(); }

protected:
    // Makes the widget and shows the control's state in it; called by the derived constructor.
    void Create() {
        QWidget* parent = ControlParent();
        if (!parent) return;  // the host's view is gone: the control keeps its state only
        widget_ = new Widget(parent);
        // A click on a control is the control's, never a drag of the scene below it.
        widget_->setAttribute(Qt::WA_NoMousePropagation);
        widget_->setFocusPolicy(Qt::NoFocus);
        Bind(widget_);
        Changed(~0u);
    }
    void Changed(unsigned what) override {
        Widget* w = widget_;
        if (!w) return;
        QSignalBlocker block(w);
        if (what & kChangeRect) w->setGeometry(LogicalRect(this->rect_));
        if (what & kChangeVisible) w->setVisible(this->visible_);
        if (what & kChangeDisabled) w->setEnabled(!this->disabled_);
        Sync(w, what);
    }
    // Connects the widget's input to the control.
    virtual void Bind(Widget* w) = 0;
    // Copies the control's state named by `what` into the widget.
    virtual void Sync(Widget* w, unsigned what) = 0;

    QPointer<Widget> widget_;
};

}  // namespace kivcore
