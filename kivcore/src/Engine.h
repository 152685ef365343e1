// CKivEngine: the engine behind the four entry points and the KivEngineAPI object.
//
// One engine per process. Setup reads the configuration, opens the log, creates the services
// and takes the classes of its mode (KivModeTable: headless below, windowed in gl/), loads the
// plug-in modules and creates the game object. The two modes differ only in their table and in
// the window surface, which the windowed mode adds: it draws the frames and turns the view's
// events into messages.
// Objects of the engine's own classes (controls, scenes, textures, services) live in allocator
// memory and are tracked, so Shutdown can name and destroy whatever a module forgot.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "Allocator.h"
#include "Config.h"
#include "EntityEvents.h"
#include "Log.h"
#include "kiv/controls.h"
#include "kiv/engine.h"
#include "kiv/module.h"
#include "kiv/services.h"

namespace kivcore {

class CGridScene2D;
class CKivEngine;
class CRenderService;

// A class the engine creates by name: a service, a control or a scene.
struct KivEngineClass {
    const char* name;
    KicBaseClass* (*create)(CKivEngine& engine, const char* className);
};

// What differs between the modes: the services and the engine's own object classes.
struct KivModeTable {
    const KivEngineClass* services;
    size_t serviceCount;
    const KivEngineClass* classes;
    size_t classCount;
};
const KivModeTable& HeadlessMode();

// The windowed mode's surface over the host's view (gl/GLSurface.cpp). Setup creates it before
// the services; it draws each frame when the view is painted.
class CWindowSurface {
public:
    virtual ~CWindowSurface() = default;
    // Asks for a frame to be drawn when the display is ready for it.
    virtual void ScheduleFrame() = 0;
    // The view's size in device pixels.
    virtual void DeviceSize(int* width, int* height) const = 0;
};
// Null when the window is no widget or Qt has no application object.
CWindowSurface* CreateWindowSurface(CKivEngine& engine, void* window);
const KivModeTable& WindowedMode();

class CKivEngine final : public KivEngineAPI {
public:
    CKivEngine() = default;
    ~CKivEngine();

    bool Setup(void* window, int flags, const char* gameClass, const char* configFile);
    bool Frame();
    void Shutdown();

    // --- KivEngineAPI ---
    void LogFormat(int level, const char* format, ...) override
        __attribute__((format(printf, 3, 4)));
    void LogText(const char* text) override;
    KicConfig* GetConfig() override { return &config_; }
    void RequestExit() override { exitRequested_ = true; }
    KicAllocator* GetAllocator() override { return &allocator_; }
    int GetApiVersion() override { return kKivApiVersion; }
    bool IsHeadless() override { return headless_; }
    // Each thread times its own nested work.
    TimerStack* GetTimerStack() override;
    KicObject* CreateUIObject(const char* className) override;
    void DestroyUIObject(KicObject* object) override;
    KicBaseClass* CreateEngineObject(const char* className) override;
    void DestroyEngineObject(KicBaseClass* object) override;
    KicBaseClass* AcquireService(const char* name) override;
    void ReleaseService(KicBaseClass* service) override;
    KicBaseClass* FindService(const char* name) override;
    KicGame* GetGame() override { return game_; }
    void ReleaseGame() override;
    bool DispatchMessage(uint32_t message, uintptr_t wParam, intptr_t lParam,
                         uint32_t keyState) override;
    bool IsKeyDown(int virtualKey) override;
    bool IsExitRequested() override { return exitRequested_; }
    float GetFrameRate() override { return frameRate_; }
    bool RegisterEvent(KicEntity* entity, int kind, int order) override {
        return entities_.Register(entity, kind, order);
    }
    bool GetEventOrder(const KicEntity* entity, int kind, int* order) override {
        return entities_.Order(entity, kind, order);
    }
    KicEntity* FindEntity(const char* className) override { return entities_.Find(className); }

    // --- for the engine's own objects ---
    // Constructs T in allocator memory and tracks it; null when memory can't be had.
    template <class T>
    T* NewObject(const char* tag, int line) {
        void* memory = allocator_.Allocate(sizeof(T), tag, line);
        if (!memory) return nullptr;
        T* object = new (memory) T();
        Track(object, tag);
        return object;
    }
    // Destroys a tracked object and frees its memory; false for an object that isn't tracked.
    bool DeleteObject(KicBaseClass* object);
    CAllocator& Allocator() { return allocator_; }
    CRenderService* Render() { return render_; }
    CWindowSurface* Surface() { return surface_; }
    // The per-frame work of the modules: frame rate, primitives cleared, the game's update and
    // drawing calls. Headless it is the whole frame; windowed the surface runs it when it paints.
    void RunFrame();
    // Calls fn for every engine object of class T, in creation order.
    template <class T, class Fn>
    void ForEachObject(Fn fn) {
        std::vector<T*> found;
        {
            std::lock_guard lock(objectsMutex_);
            for (const EngineObject& e : engineObjects_)
                if (auto* object = dynamic_cast<T*>(e.object)) found.push_back(object);
        }
        for (T* object : found) fn(object);
    }
    // Tells every grid scene that the surface changed size.
    void OnSurfaceResized();
    // Where the steps of the last frame begin in the render record: the calls before
    // `gameRender` are the scenes' Apply and Render, then come the game's Render (with the
    // engine's own 2D objects) and from `overlay` on the overlays.
    struct FrameMarks {
        uint32_t gameRender = 0, overlay = 0;
    };
    const FrameMarks& Marks() const { return marks_; }

private:
    struct Module {
        std::string name;
        void* handle = nullptr;
        KivModuleAPI* head = nullptr;
    };
    struct Service {
        const char* name;
        KicBaseClass* object;
        int acquired;
    };

    void Track(KicBaseClass* object, const char* className);
    void DestroyLeftovers();
    bool CreateServices(const KivModeTable& mode);
    void LoadModules();
    bool LoadModule(const std::string& name, const std::vector<std::string>& directories);
    // Takes the module entry of a loaded library; false when it has none.
    bool AddModule(const std::string& name, void* handle, const std::string& from);
    KivModuleAPI* FindFactory(const char* typeName, int kind) const;
    void CreateGame(const char* gameClass);
    void CreateConfiguredScenes();
    void DestroyGame();
    void DestroyModuleObject(KicBaseClass* object);

    CAllocator allocator_;
    CConfig config_;
    CLog log_;
    bool running_ = false;
    bool headless_ = true;
    bool exitRequested_ = false;
    uint32_t keyState_ = 0;

    std::vector<Module> modules_;
    std::vector<Service> services_;
    struct EngineObject {
        KicBaseClass* object;
        const char* className;
    };
    std::vector<EngineObject> engineObjects_;  // the engine's own, in creation order
    // Textures may be made and released on a computing thread while a frame walks the list.
    std::mutex objectsMutex_;
    std::vector<KicObject*> uiObjects_;          // made by module factories
    std::vector<KicBaseClass*> moduleEntities_;  // scene entities made by module factories
    CEntityEvents entities_;
    std::vector<KicBaseClass*> configuredScenes_;  // made from "KivCore/Scenes"
    KicGame* game_ = nullptr;
    CRenderService* render_ = nullptr;
    const KivModeTable* mode_ = nullptr;
    CWindowSurface* surface_ = nullptr;

    std::chrono::steady_clock::time_point lastFrame_{};
    std::chrono::steady_clock::time_point start_{};
    uint64_t lastFrameMs_ = 0;
    uint64_t frameCount_ = 0;
    float frameRate_ = 0.0f;
    FrameMarks marks_;
};

// The running engine, or null.
CKivEngine* Engine();

// MakeObject<T> as a KivEngineClass::create: T constructed and tracked under the class name.
template <class T>
KicBaseClass* MakeObject(CKivEngine& engine, const char* className) {
    return engine.NewObject<T>(className, __LINE__);
}

}  // namespace kivcore
