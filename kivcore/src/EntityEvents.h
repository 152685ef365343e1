// CEntityEvents: the scene entities the engine created and the events they registered for.
//
// Calls run in ascending order, entities of equal order in creation order. An entity destroyed
// by an earlier call of the same step (a message handler may destroy a scene) is skipped.
#pragma once

#include <cstdint>
#include <vector>

#include "kiv/entity.h"

namespace kivcore {

class CEntityEvents {
public:
    // A newly created module object: an entity gets its Init; false when that fails.
    bool Start(KicBaseClass* object);
    // Forgets the object and its registrations (nothing when it is unknown).
    void Forget(const KicBaseClass* object);

    bool Register(KicEntity* entity, int kind, int order);
    bool Order(const KicEntity* entity, int kind, int* order) const;
    KicEntity* Find(const char* className) const;

    // One frame step (Update, Apply, Render or RenderOverlay) for its registered entities.
    void Run(KivEventKind kind, uint32_t elapsedMs);
    // A window message to the registered entities until one consumes it.
    bool Dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam);

private:
    struct Registration {
        KicEntity* entity;
        int kind;
        int order;
        uint64_t sequence;  // creation order of the entity
    };
    const Registration* Lookup(const KicEntity* entity, int kind) const;
    // The registrations of a kind, sorted for calling.
    std::vector<Registration> Due(int kind) const;

    struct Known {
        KicEntity* entity;
        uint64_t sequence;
    };
    std::vector<Known> entities_;
    std::vector<Registration> registrations_;
    uint64_t nextSequence_ = 0;
};

}  // namespace kivcore
