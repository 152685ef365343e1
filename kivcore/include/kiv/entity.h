// KicEntity: a scene entity (kind 2) of a plug-in module, created by class name through
// KivEngineAPI::CreateEngineObject or named in the configuration key "KivCore/Scenes".
//
// The engine calls Init right after creating an entity (false: logged, the entity destroyed
// again). In Init the entity registers for the event kinds it wants, each with an order
// (KivEngineAPI::RegisterEvent); every frame the engine then calls, kind by kind,
//     Update(milliseconds since the previous frame), Apply, Render, RenderOverlay
// on the entities registered for that kind, in ascending order (equal orders: creation order),
// before the game object's own call of the same step; and every dispatched window message goes
// to OnMessage of the entities registered for kKivEventMessage, in order, before the game
// object, until one answers true. Destroying an entity removes its registrations.
#pragma once

#include <cstdint>

#include "kiv/base.h"

enum KivEventKind : int {
    kKivEventUpdate = 1,
    kKivEventApply = 2,
    kKivEventRender = 8,
    kKivEventRenderOverlay = 16,
    kKivEventMessage = 32,
};

class KicEntity : public KicBaseClass {
public:
    int GetClassKind() const override { return kKivKindSceneEntity; }
    virtual void Update(uint32_t elapsedMs) { (void)elapsedMs; }
    virtual void Apply() {}
    virtual void Render() {}
    virtual void RenderOverlay() {}
    // A window message (kiv/messages.h); true when consumed.
    virtual bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
        (void)message, (void)wParam, (void)lParam;
        return false;
    }
    virtual bool Init() { return true; }
};
