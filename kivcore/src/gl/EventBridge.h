// CEventBridge: the event filter on the host's view, the analogue of a subclassed window
// procedure. Each event of the view becomes a window message (kiv/messages.h) that the engine
// dispatches to the game object and the scenes; the filter never eats an event, so the host
// handles it afterwards as usual.
//
//   resize              the GL view follows the host's size; the render service takes the new
//                       device size; WM_SIZE
//   key press, release  WM_KEYDOWN, WM_KEYUP with the virtual-key code (keys without one are
//                       not forwarded); Ctrl, Shift and Alt as the message's key state
//   mouse buttons, move WM_xBUTTONDOWN/UP, WM_MOUSEMOVE at device pixels of the view
//   wheel               WM_MOUSEWHEEL, 120 a notch
//   drop                WM_DROPFILES with the local files of the drop
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>

namespace kivcore {

class CKivEngine;

// The virtual-key code of a Qt key, 0 for keys that have none.
int KivVirtualKey(int qtKey);
// The kKivKey* flags of Qt's keyboard modifiers.
uint32_t KivKeyState(Qt::KeyboardModifiers modifiers);

class CEventBridge final : public QObject {
public:
    CEventBridge(CKivEngine& engine, QWidget* host, QWidget* view);

    bool eventFilter(QObject* watched, QEvent* event) override;
    // The view to the host's full size, the render service to its device size, and WM_SIZE.
    void SyncSize();

private:
    int ToDevice(double logical) const;
    intptr_t PointParam(QPointF position) const;

    CKivEngine& engine_;
    QPointer<QWidget> host_;
    QPointer<QWidget> view_;
};

}  // namespace kivcore
