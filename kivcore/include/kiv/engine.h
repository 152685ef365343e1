// The engine core: its four entry points and the API object handed to hosts and modules.
//
// Host side:
//   KivEngineSetup(window, flags, gameClass, configFile)
//       Boots the engine. window: the host's view widget (QWidget*) for the windowed mode, or
//       null for the headless mode (no display needed). flags: 0. gameClass: the type name of the
//       game object to create ("CLuneth"), or null for none. configFile: the INI file, or null
//       for $KIV_CONFIG, else $XDG_CONFIG_HOME/brisel/kivcore.ini (a missing file means every
//       default). Loads the plug-in modules, creates the game object and calls its Initialize.
//       False when the engine already runs or the mode is not available; a game class that no
//       module provides is logged and leaves GetGame null.
//   KivEngineFrame()     one frame; false when there is no engine or an exit was requested.
//   KivEngineGetAPI()    the API object, null when the engine does not run.
//   KivEngineShutdown()  destroys the game object, UI objects, engine objects and services,
//                        reports leaked memory, unloads the modules. Safe to call twice.
//
// Scenes: after the game object, the engine creates the scene entities named in "KivCore/Scenes"
// (class names separated by commas, none by default) and runs their registered events
// (kiv/entity.h); one that no module provides or whose Init fails is logged and skipped.
//
// Modules: the names in "KivCore/Modules" (default "Luneth,Tolvan"), each loaded as
// lib<Name>.so from the first of these directories that has it: the engine library's own
// directory, ExternDll below the working directory, then the directories of
// "KivCore/ModulePath" (separated by ':'). A module that is not found is logged at level 1.
//
// Log: levels 1 info, 2 warning, 3 severe, 4 error; every line to the log file
// ("KivCore/LogFile", default $XDG_STATE_HOME/brisel/kivcore.log) and lines of level
// "KivCore/LogLevel" (default 2) and above to standard error. LogText writes at level 1.
#pragma once

#include <cstdint>

#include "kiv/allocator.h"
#include "kiv/base.h"
#include "kiv/config.h"
#include "kiv/entity.h"
#include "kiv/timer.h"

constexpr int kKivApiVersion = 1;

class KivEngineAPI {
public:
    virtual void LogFormat(int level, const char* format, ...)
        __attribute__((format(printf, 3, 4))) = 0;
    virtual void LogText(const char* text) = 0;
    virtual KicConfig* GetConfig() = 0;
    // Asks the host to end the application (KivEngineFrame gives false from then on).
    virtual void RequestExit() = 0;
    virtual KicAllocator* GetAllocator() = 0;
    // The two calls every module makes from its entry function.
    virtual int GetApiVersion() = 0;
    virtual bool IsHeadless() = 0;
    virtual TimerStack* GetTimerStack() = 0;
    // UI objects of the modules' factories (kind 1), created with CreateControls called.
    virtual KicObject* CreateUIObject(const char* className) = 0;
    virtual void DestroyUIObject(KicObject* object) = 0;
    // The engine's controls and scenes (kiv/controls.h), then module factories of kind 2.
    virtual KicBaseClass* CreateEngineObject(const char* className) = 0;
    virtual void DestroyEngineObject(KicBaseClass* object) = 0;
    // Services by name (kiv/services.h); each acquire is paired with a release.
    virtual KicBaseClass* AcquireService(const char* name) = 0;
    virtual void ReleaseService(KicBaseClass* service) = 0;
    // A service without taking a reference.
    virtual KicBaseClass* FindService(const char* name) = 0;
    virtual KicGame* GetGame() = 0;
    // Destroys the game object (its Destroy, then its factory); GetGame is null afterwards.
    virtual void ReleaseGame() = 0;

    // Forwards a window message (kiv/messages.h) to the game object, then to the grid scenes;
    // keyState (kKivKey* flags) is what IsKeyDown reports meanwhile. True when one consumed it.
    virtual bool DispatchMessage(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                 uint32_t keyState) = 0;
    // VK_SHIFT, VK_CONTROL, VK_MENU held, or VK_CAPITAL toggled, during a dispatched message.
    virtual bool IsKeyDown(int virtualKey) = 0;
    virtual bool IsExitRequested() = 0;
    virtual float GetFrameRate() = 0;

    // Scene entities (kiv/entity.h). RegisterEvent adds (or re-orders) the entity's
    // registration for one event kind; false for an entity the engine did not create or an
    // unknown kind. GetEventOrder answers a registration's order. FindEntity gives the first
    // living entity of a class, in creation order.
    virtual bool RegisterEvent(KicEntity* entity, int kind, int order) = 0;
    virtual bool GetEventOrder(const KicEntity* entity, int kind, int* order) = 0;
    virtual KicEntity* FindEntity(const char* className) = 0;

    // Typed helpers: the object when it is of the named class, else null.
    template <class T>
    T* AcquireServiceAs(const char* name) {
        KicBaseClass* s = AcquireService(name);
        if (s && !s->IsKindOf(name)) {
            ReleaseService(s);
            return nullptr;
        }
        return static_cast<T*>(s);
    }
    template <class T>
    T* CreateEngineObjectAs(const char* className) {
        KicBaseClass* o = CreateEngineObject(className);
        if (o && !o->IsKindOf(className)) {
            DestroyEngineObject(o);
            return nullptr;
        }
        return static_cast<T*>(o);
    }

protected:
    ~KivEngineAPI() = default;
};

#define KIV_ENGINE_EXPORT extern "C" __attribute__((visibility("default")))

KIV_ENGINE_EXPORT bool KivEngineSetup(void* window, int flags, const char* gameClass,
                                      const char* configFile);
KIV_ENGINE_EXPORT bool KivEngineFrame();
KIV_ENGINE_EXPORT KivEngineAPI* KivEngineGetAPI();
KIV_ENGINE_EXPORT void KivEngineShutdown();
