// Bases of the engine's own object classes.
//
// CEngineObject<Interface, Kind>: a tracked engine object (control, scene, texture). Its last
// Release destroys it through the engine; DestroyEngineObject does the same at once.
// CServiceObject<Interface>: a service; the engine holds it from Setup to Shutdown, so Release
// never drops the engine's own reference.
#pragma once

#include <initializer_list>

#include "Engine.h"
#include "kiv/base.h"

namespace kivcore {

inline bool NameIn(const char* name, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (KivNameIs(name, n)) return true;
    return false;
}

template <class Interface, int Kind>
class CEngineObject : public Interface {
public:
    int Release() override {
        if (this->refCount_ > 1) return --this->refCount_;
        this->refCount_ = 0;
        if (CKivEngine* engine = Engine()) engine->DeleteObject(this);
        return 0;
    }
    int GetClassKind() const override { return Kind; }
};

template <class Interface>
class CServiceObject : public Interface {
public:
    int Release() override {
        if (this->refCount_ > 1) --this->refCount_;
        return this->refCount_;
    }
    int GetClassKind() const override { return kKivKindService; }
};

}  // namespace kivcore
