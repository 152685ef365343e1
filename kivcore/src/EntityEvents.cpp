#include "EntityEvents.h"

#include <algorithm>

namespace kivcore {

namespace {

bool IsEventKind(int kind) {
    return kind == kKivEventUpdate || kind == kKivEventApply || kind == kKivEventRender ||
           kind == kKivEventRenderOverlay || kind == kKivEventMessage;
}

}  // namespace

bool CEntityEvents::Start(KicBaseClass* object) {
    if (!object || !object->IsKindOf("KicEntity")) return true;  // a plain object: nothing to run
    auto* entity = static_cast<KicEntity*>(object);
    entities_.push_back(Known{entity, nextSequence_++});
    return entity->Init();
}

void CEntityEvents::Forget(const KicBaseClass* object) {
    std::erase_if(entities_, [object](const Known& k) { return k.entity == object; });
    std::erase_if(registrations_, [object](const Registration& r) { return r.entity == object; });
}

const CEntityEvents::Registration* CEntityEvents::Lookup(const KicEntity* entity, int kind) const {
    for (const Registration& r : registrations_)
        if (r.entity == entity && r.kind == kind) return &r;
    return nullptr;
}

bool CEntityEvents::Register(KicEntity* entity, int kind, int order) {
    auto known = std::find_if(entities_.begin(), entities_.end(),
                              [entity](const Known& k) { return k.entity == entity; });
    if (known == entities_.end() || !IsEventKind(kind)) return false;
    if (auto* r = const_cast<Registration*>(Lookup(entity, kind))) {
        r->order = order;
        return true;
    }
    registrations_.push_back(Registration{entity, kind, order, known->sequence});
    return true;
}

bool CEntityEvents::Order(const KicEntity* entity, int kind, int* order) const {
    const Registration* r = Lookup(entity, kind);
    if (!r) return false;
    if (order) *order = r->order;
    return true;
}

KicEntity* CEntityEvents::Find(const char* className) const {
    for (const Known& k : entities_)
        if (k.entity->IsKindOf(className)) return k.entity;
    return nullptr;
}

std::vector<CEntityEvents::Registration> CEntityEvents::Due(int kind) const {
    std::vector<Registration> due;
    for (const Registration& r : registrations_)
        if (r.kind == kind) due.push_back(r);
    std::stable_sort(due.begin(), due.end(), [](const Registration& a, const Registration& b) {
        return a.order != b.order ? a.order < b.order : a.sequence < b.sequence;
    });
    return due;
}

void CEntityEvents::Run(KivEventKind kind, uint32_t elapsedMs) {
    for (const Registration& r : Due(kind)) {
        if (!Lookup(r.entity, kind)) continue;  // destroyed meanwhile
        switch (kind) {
            case kKivEventUpdate:
                r.entity->Update(elapsedMs);
                break;
            case kKivEventApply:
                r.entity->Apply();
                break;
            case kKivEventRender:
                r.entity->Render();
                break;
            case kKivEventRenderOverlay:
                r.entity->RenderOverlay();
                break;
            default:
                break;
        }
    }
}

bool CEntityEvents::Dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    for (const Registration& r : Due(kKivEventMessage))
        if (Lookup(r.entity, kKivEventMessage) && r.entity->OnMessage(message, wParam, lParam))
            return true;
    return false;
}

}  // namespace kivcore
