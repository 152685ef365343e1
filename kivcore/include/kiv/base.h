// Base classes of every engine and plug-in object.
//
// KicBaseClass   reference count (1 after construction) and the factory that created the object.
//                Objects of plug-in modules are created and destroyed only through their class
//                factories (kiv/module.h), in memory of the engine allocator; never `delete` one.
// KicGame        the game object: the one object the engine creates from the game class named at
//                KivEngineSetup. It receives the forwarded window messages and the frame calls.
// KicObject      a UI object (kind 1), created by class name through KivEngineAPI::CreateUIObject;
//                the engine calls CreateControls right after creating it and DestroyControls
//                before destroying it.
//
// Kinds, as GetClassKind answers them: 1 UI object, 2 scene entity, 4 game object; the engine's
// own objects answer 8 (controls and scenes), 16 (services) or 32 (resources such as textures).
#pragma once

#include <cstdint>

class KivModuleAPI;

enum KivObjectKind : int {
    kKivKindUIObject = 1,
    kKivKindSceneEntity = 2,
    kKivKindGame = 4,
    kKivKindEngineObject = 8,
    kKivKindService = 16,
    kKivKindResource = 32,
};

class KicBaseClass {
public:
    KicBaseClass() = default;
    KicBaseClass(const KicBaseClass&) = delete;
    KicBaseClass& operator=(const KicBaseClass&) = delete;
    virtual ~KicBaseClass() = default;

    // Drops one reference; what happens at the last one is the class's business.
    virtual int Release() = 0;
    virtual int GetClassKind() const = 0;
    // True for the class's own name and the names of the interfaces it implements.
    virtual bool IsKindOf(const char* className) const = 0;

    int AddRef() { return ++refCount_; }
    int RefCount() const { return refCount_; }
    KivModuleAPI* GetFactory() const { return factory_; }
    void SetFactory(KivModuleAPI* factory) { factory_ = factory; }

protected:
    int32_t refCount_ = 1;
    KivModuleAPI* factory_ = nullptr;
};

class KicGame : public KicBaseClass {
public:
    // A window message forwarded by the engine (kiv/messages.h); true when it was consumed.
    virtual bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // Per-frame work before drawing, with the seconds since the previous frame.
    virtual void Update(float elapsedSeconds) { (void)elapsedSeconds; }
    // Drawing of the frame and the overlay above the scenes and controls.
    virtual void Render() {}
    virtual void RenderOverlay() {}
    // Called once after creation; false makes the engine destroy the game object again.
    virtual bool Initialize() = 0;
    // Called once before the engine destroys the object; hands back everything it obtained.
    virtual void Destroy() = 0;
};

class KicObject : public KicBaseClass {
public:
    virtual bool CreateControls() = 0;
    virtual void DestroyControls() = 0;
};

// Case-sensitive name comparison for IsKindOf implementations.
inline bool KivNameIs(const char* name, const char* expected) {
    if (!name) return false;
    while (*name && *name == *expected) ++name, ++expected;
    return *name == *expected;
}
