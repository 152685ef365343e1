// Plug-in modules: the exported entry and the class factories.
//
// A module exports one C function, KivModuleApiFunction(api). The engine calls it once after
// loading the module; it keeps the API object and the allocator in the module's KivModuleState,
// calls the two calls every module makes at this point (GetApiVersion, IsHeadless) and returns
// the head of the module's factory list. The engine then creates and destroys every object of
// the module through these factories, by type name.
//
// Factories are static objects. Each one, when constructed, puts itself at the head of its
// module's list, so the list holds them in the reverse order of their definition.
//
// To add a class to a module, define one more static factory in its registration unit:
//     static KivObjectFactory<CMyPanel> gMyPanelVMA(gModule, "CMyPanel", kKivKindUIObject,
//                                                   "RegisterAPI", __LINE__);
// (KivSingleObjectFactory for the game object: asking twice gives the same object.)
#pragma once

#include <new>

#include "kiv/allocator.h"
#include "kiv/base.h"
#include "kiv/engine.h"

class KivModuleAPI {
public:
    KivModuleAPI(KivModuleAPI*& head, int kind) : next(head), kind(kind) { head = this; }
    KivModuleAPI(const KivModuleAPI&) = delete;
    KivModuleAPI& operator=(const KivModuleAPI&) = delete;
    virtual ~KivModuleAPI() = default;

    virtual const char* GetTypeName() const = 0;
    virtual KicBaseClass* CreateObject() = 0;
    virtual void DestroyObject(KicBaseClass* object) { (void)object; }
    virtual void DestroyAll() {}

    KivModuleAPI* next;  // the next factory of the same module, null for the last
    int32_t kind;        // kind of the objects created (KivObjectKind)
};

// Module-wide state: the API object and allocator kept by the entry, and the factory list.
struct KivModuleState {
    KivEngineAPI* api = nullptr;
    KicAllocator* allocator = nullptr;
    int apiVersion = 0;
    bool headless = false;
    KivModuleAPI* head = nullptr;
};

using KivModuleApiFunctionType = KivModuleAPI* (*)(KivEngineAPI* api);

#define KIV_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

// The body of every module's KivModuleApiFunction: keeps the API object and the allocator,
// makes the two calls every module makes (a version other than its own is logged at level 2
// with the module's name) and gives the head of the factory list.
inline KivModuleAPI* KivEnterModule(KivModuleState& module, KivEngineAPI* api,
                                    const char* moduleName) {
    module.api = api;
    module.allocator = api ? api->GetAllocator() : nullptr;
    if (api) {
        module.apiVersion = api->GetApiVersion();
        module.headless = api->IsHeadless();
        if (module.apiVersion != kKivApiVersion)
            api->LogFormat(2, "%s: engine API version %d, module built for %d", moduleName,
                           module.apiVersion, kKivApiVersion);
    }
    return module.head;
}

// Creates T in allocator memory tagged (tag, line); the object's constructor fills its defaults.
template <class T>
T* KivCreateInAllocator(KicAllocator* allocator, KivModuleAPI* factory, const char* tag, int line) {
    if (!allocator) return nullptr;
    void* memory = allocator->Allocate(sizeof(T), tag, line);
    if (!memory) return nullptr;
    T* object = new (memory) T();
    object->SetFactory(factory);
    return object;
}

// Runs the destructors of the objects in the block (last to first) and frees it. A block whose
// size is unknown to the allocator is left alone.
template <class T>
void KivDestroyInAllocator(KicAllocator* allocator, T* object) {
    if (!allocator || !object) return;
    size_t count = allocator->BlockSize(object) / sizeof(T);
    if (count == 0) return;
    for (size_t i = count; i-- > 0;) object[i].~T();
    allocator->Free(object);
}

// A factory that makes a new object on every CreateObject.
template <class T>
class KivObjectFactory : public KivModuleAPI {
public:
    KivObjectFactory(KivModuleState& module, const char* typeName, int kind, const char* tag,
                     int line)
        : KivModuleAPI(module.head, kind),
          module_(module),
          typeName_(typeName),
          tag_(tag),
          line_(line) {}

    const char* GetTypeName() const override { return typeName_; }
    KicBaseClass* CreateObject() override {
        return KivCreateInAllocator<T>(module_.allocator, this, tag_, line_);
    }
    // Only a block of the allocator can hold an object of this factory: any other pointer is
    // left alone before it is cast, since casting a stranger to T is itself undefined. (Every
    // plug-in class has KicBaseClass first, so its objects start their blocks.)
    void DestroyObject(KicBaseClass* object) override {
        if (!object || !module_.allocator || module_.allocator->BlockSize(object) < sizeof(T))
            return;
        KivDestroyInAllocator<T>(module_.allocator, static_cast<T*>(object));
    }

protected:
    KivModuleState& module_;
    const char* typeName_;
    const char* tag_;
    int line_;
};

// A factory that holds at most one object: CreateObject gives the held object while there is
// one; DestroyObject (whatever its argument) and DestroyAll destroy it and forget it.
template <class T>
class KivSingleObjectFactory : public KivObjectFactory<T> {
public:
    using KivObjectFactory<T>::KivObjectFactory;

    KicBaseClass* CreateObject() override {
        if (!object_) object_ = static_cast<T*>(KivObjectFactory<T>::CreateObject());
        return object_;
    }
    void DestroyObject(KicBaseClass*) override { DestroyAll(); }
    void DestroyAll() override {
        T* object = object_;
        object_ = nullptr;
        if (object) KivDestroyInAllocator<T>(this->module_.allocator, object);
    }
    T* Object() const { return object_; }

private:
    T* object_ = nullptr;
};
