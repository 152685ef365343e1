// Index: geometry helpers; the six widget controls; the windowed mode's table.
#include "gl/WidgetControls.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <cmath>

#include "GridScene.h"
#include "Services.h"
#include "Texture.h"
#include "gl/GLSurface.h"

namespace kivcore {

namespace {

// The engine's list rows are 20 device pixels high.
constexpr double kRowPixels = 20.0;

double Ratio() {
    CGLSurface* surface = RunningSurface();
    return surface ? surface->DeviceRatio() : 1.0;
}

QString Rgba(uint32_t argb) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg((argb >> 16) & 0xFF)
        .arg((argb >> 8) & 0xFF)
        .arg(argb & 0xFF)
        .arg(double(argb >> 24) / 255.0, 0, 'f', 3);
}

}  // namespace

QWidget* ControlParent() {
    CGLSurface* surface = RunningSurface();
    return surface ? surface->ControlParent() : nullptr;
}

QRect LogicalRect(const KivRect& rect) {
    double ratio = Ratio();
    int left = int(std::lround(rect.left / ratio)), top = int(std::lround(rect.top / ratio));
    int right = int(std::lround(rect.right / ratio)),
        bottom = int(std::lround(rect.bottom / ratio));
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

// ================================================================ the controls

class CQtStaticText final : public CWidgetControl<CStaticText, QLabel> {
public:
    CQtStaticText() { Create(); }

protected:
    void Bind(QLabel* w) override {
        w->setTextFormat(Qt::PlainText);
        w->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    void Sync(QLabel* w, unsigned what) override {
        if (what & kChangeText) w->setText(QString::fromUtf8(GetText()));
        if (what & kChangeLook) {
            double frame = std::max(0.0, double(GetFrameWidth()) / Ratio());
            w->setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: %2; border: "
                                            "%3px solid %4; padding-left: 3px; }")
                                 .arg(Rgba(GetBackColor()), Rgba(GetTextColor()))
                                 .arg(std::lround(frame))
                                 .arg(Rgba((GetTextColor() & 0x00FFFFFF) | 0x60000000)));
        }
    }
};

// The select box shows all its items at once; the list box scrolls.
template <class Base, bool kScrolls>
class CQtItemControl final : public CWidgetControl<Base, QListWidget> {
public:
    CQtItemControl() { this->Create(); }

protected:
    void Bind(QListWidget* w) override {
        w->setSelectionMode(QAbstractItemView::SingleSelection);
        w->setUniformItemSizes(true);
        w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (!kScrolls) w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QObject::connect(w, &QListWidget::currentRowChanged, w,
                         [this](int row) { this->SetSelection(row); });
    }
    void Sync(QListWidget* w, unsigned what) override {
        if (what & kChangeItems) {
            // Items are only ever added or all cleared: append what the widget lacks.
            if (w->count() > int(this->items_.size())) w->clear();
            QSize row(0, int(std::lround(kRowPixels / Ratio())));
            for (size_t i = size_t(w->count()); i < this->items_.size(); ++i) {
                auto* item = new QListWidgetItem(QString::fromUtf8(this->items_[i].c_str()), w);
                item->setSizeHint(row);
            }
        }
        if (what & (kChangeItems | kChangeSelection)) {
            w->setCurrentRow(this->selection_);
            if (this->selection_ < 0) w->clearSelection();
            if (QListWidgetItem* item = w->item(this->selection_)) w->scrollToItem(item);
        }
    }
};

class CQtCheckBox final : public CWidgetControl<CCheckBox, QCheckBox> {
public:
    CQtCheckBox() { Create(); }

protected:
    void Bind(QCheckBox* w) override {
        // Its caption lies on the dark scene, not on a window background.
        w->setStyleSheet(QStringLiteral("QCheckBox { color: white; }"));
        QObject::connect(w, &QCheckBox::toggled, w, [this](bool on) { SetChecked(on); });
    }
    void Sync(QCheckBox* w, unsigned what) override {
        if (what & kChangeText) w->setText(QString::fromUtf8(GetText()));
        if (what & kChangeValue) w->setChecked(IsChecked());
    }
};

class CQtButton final : public CWidgetControl<CButtonControl, QPushButton> {
public:
    CQtButton() { Create(); }

protected:
    void Bind(QPushButton* w) override {
        QObject::connect(w, &QPushButton::clicked, w, [this] { Click(); });
    }
    void Sync(QPushButton* w, unsigned what) override {
        if (what & kChangeText) w->setText(QString::fromUtf8(GetText()));
    }
};

class CQtSpinFloat final : public CWidgetControl<CEditValueSpinFloat, QDoubleSpinBox> {
public:
    CQtSpinFloat() { Create(); }

protected:
    void Bind(QDoubleSpinBox* w) override {
        w->setDecimals(6);  // as "%f" writes the value
        w->setLocale(QLocale::c());
        w->setKeyboardTracking(false);  // a value when typing ends, not one per keystroke
        w->setFocusPolicy(Qt::ClickFocus);
        QObject::connect(w, &QDoubleSpinBox::valueChanged, w,
                         [this](double value) { SetValue(float(value)); });
    }
    void Sync(QDoubleSpinBox* w, unsigned what) override {
        if (!(what & kChangeValue)) return;
        float minimum = 0, maximum = 0;
        GetRange(&minimum, &maximum);
        w->setRange(minimum, maximum);
        w->setSingleStep(GetStep());
        w->setValue(GetValue());
    }
};

// ================================================================ the windowed mode

// The services are the headless ones: they keep the state that the GL view draws from.
const KivModeTable& WindowedMode() {
    static constexpr KivEngineClass kClasses[] = {
        {"KcImageControl", MakeObject<CImageControl>},
        {"KcGridScene2D", MakeObject<CGridScene2D>},
        {"KcStaticText", MakeObject<CQtStaticText>},
        {"KcSelectBox", MakeObject<CQtItemControl<CSelectBox, false>>},
        {"KcCheckBox", MakeObject<CQtCheckBox>},
        {"KcButtonControl", MakeObject<CQtButton>},
        {"KcListBox", MakeObject<CQtItemControl<CListBox, true>>},
        {"KcEditValueSpinFloat", MakeObject<CQtSpinFloat>},
    };
    static const KivModeTable kMode{HeadlessMode().services, HeadlessMode().serviceCount, kClasses,
                                    std::size(kClasses)};
    return kMode;
}

}  // namespace kivcore
