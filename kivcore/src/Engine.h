// CKivEngine: the engine behind the four entry points and the KivEngineAPI object.
//
// One engine per process. Setup reads the configuration, opens the log, creates the services
// of the mode (headless: Services.h), loads the plug-in modules and creates the game object.
// Objects of the engine's own classes (controls, scenes, textures, services) live in allocator
// memory and are tracked, so Shutdown can name and destroy whatever a module forgot.
#pragma once

#include <chrono>
#include <cstdint>
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
class CRenderService;

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
    TimerStack* GetTimerStack() override { return &timerStack_; }
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
    // Tells every grid scene that the surface changed size.
    void OnSurfaceResized();

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
    bool CreateHeadlessServices();
    void LoadModules();
    bool LoadModule(const std::string& name, const std::vector<std::string>& directories);
    KivModuleAPI* FindFactory(const char* typeName, int kind) const;
    void CreateGame(const char* gameClass);
    void CreateConfiguredScenes();
    void DestroyGame();
    void DestroyModuleObject(KicBaseClass* object);

    CAllocator allocator_;
    CConfig config_;
    CLog log_;
    TimerStack timerStack_;
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
    std::vector<EngineObject> engineObjects_;    // the engine's own, in creation order
    std::vector<KicObject*> uiObjects_;          // made by module factories
    std::vector<KicBaseClass*> moduleEntities_;  // scene entities made by module factories
    CEntityEvents entities_;
    std::vector<KicBaseClass*> configuredScenes_;  // made from "KivCore/Scenes"
    KicGame* game_ = nullptr;
    CRenderService* render_ = nullptr;

    std::chrono::steady_clock::time_point lastFrame_{};
    std::chrono::steady_clock::time_point start_{};
    uint64_t lastFrameMs_ = 0;
    uint64_t frameCount_ = 0;
    float frameRate_ = 0.0f;
};

// The running engine, or null.
CKivEngine* Engine();

}  // namespace kivcore
