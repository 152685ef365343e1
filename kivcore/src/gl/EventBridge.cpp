#include "gl/EventBridge.h"

#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>
#include <cmath>
#include <string>
#include <vector>

#include "Engine.h"
#include "Services.h"
#include "kiv/messages.h"

namespace kivcore {

namespace {

// Qt keys that have a virtual-key code beyond letters, digits and function keys.
constexpr struct {
    int qtKey;
    int virtualKey;
} kKeyTable[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},          {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Shift, VK_SHIFT},      {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},       {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},    {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},        {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},          {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},  {Qt::Key_Delete, VK_DELETE},
};

uint32_t MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    uint32_t flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

uint32_t ButtonMessage(Qt::MouseButton button, bool down) {
    switch (button) {
        case Qt::LeftButton:
            return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case Qt::RightButton:
            return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case Qt::MiddleButton:
            return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        default:
            return 0;
    }
}

}  // namespace

int KivVirtualKey(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;  // the same codes as ASCII upper case and digits
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
    for (const auto& k : kKeyTable)
        if (k.qtKey == qtKey) return k.virtualKey;
    return 0;
}

uint32_t KivKeyState(Qt::KeyboardModifiers modifiers) {
    uint32_t state = 0;
    if (modifiers & Qt::ShiftModifier) state |= kKivKeyShift;
    if (modifiers & Qt::ControlModifier) state |= kKivKeyControl;
    if (modifiers & Qt::AltModifier) state |= kKivKeyAlt;
    return state;
}

CEventBridge::CEventBridge(CKivEngine& engine, QWidget* host, QWidget* view)
    : engine_(engine), host_(host), view_(view) {}

int CEventBridge::ToDevice(double logical) const {
    double ratio = host_ ? host_->devicePixelRatioF() : 1.0;
    return int(std::lround(logical * ratio));
}

intptr_t CEventBridge::PointParam(QPointF position) const {
    return KivMakeLParam(ToDevice(position.x()), ToDevice(position.y()));
}

void CEventBridge::SyncSize() {
    if (!host_) return;
    if (view_) view_->setGeometry(host_->rect());
    int width = ToDevice(host_->width()), height = ToDevice(host_->height());
    if (width < 1 || height < 1) return;  // a minimised or collapsed view keeps the last size
    if (CRenderService* render = engine_.Render()) render->Resize(width, height);
    engine_.DispatchMessage(WM_SIZE, 0, KivMakeLParam(width, height), 0);
}

bool CEventBridge::eventFilter(QObject* watched, QEvent* event) {
    if (watched != host_) return false;
    switch (event->type()) {
        case QEvent::Resize:
            SyncSize();
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            // A held key repeats its key-down only, as the messages of origin do.
            if (key->isAutoRepeat() && event->type() == QEvent::KeyRelease) break;
            if (int vk = KivVirtualKey(key->key()))
                engine_.DispatchMessage(event->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP,
                                        uintptr_t(vk), 0, KivKeyState(key->modifiers()));
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            uint32_t message =
                ButtonMessage(mouse->button(), event->type() == QEvent::MouseButtonPress);
            if (message)
                engine_.DispatchMessage(message, MouseFlags(mouse->buttons(), mouse->modifiers()),
                                        PointParam(mouse->position()),
                                        KivKeyState(mouse->modifiers()));
            break;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            engine_.DispatchMessage(WM_MOUSEMOVE, MouseFlags(mouse->buttons(), mouse->modifiers()),
                                    PointParam(mouse->position()), KivKeyState(mouse->modifiers()));
            break;
        }
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            int delta = wheel->angleDelta().y();
            if (delta == 0) break;
            uint32_t flags = MouseFlags(wheel->buttons(), wheel->modifiers());
            uintptr_t wParam = flags | (uint32_t(uint16_t(int16_t(delta))) << 16);
            engine_.DispatchMessage(WM_MOUSEWHEEL, wParam, PointParam(wheel->position()),
                                    KivKeyState(wheel->modifiers()));
            break;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            std::vector<std::string> paths;
            for (const QUrl& url : drop->mimeData()->urls())
                if (url.isLocalFile())
                    paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
            if (paths.empty()) break;
            std::vector<const char*> pointers;
            for (const std::string& p : paths) pointers.push_back(p.c_str());
            KivDropFiles files{pointers.data(), uint32_t(pointers.size()), false};
            engine_.DispatchMessage(WM_DROPFILES, reinterpret_cast<uintptr_t>(&files), 0,
                                    KivKeyState(drop->modifiers()));
            break;
        }
        default:
            break;
    }
    return false;
}

}  // namespace kivcore
