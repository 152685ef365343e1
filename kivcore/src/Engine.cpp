#include "Engine.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <system_error>

#include "Controls.h"
#include "GridScene.h"
#include "MeshBuilder.h"
#include "Services.h"
#include "Texture.h"
#include "kiv/messages.h"

namespace kivcore {

namespace {

CKivEngine* gEngine = nullptr;

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

// $XDG_<kind>_HOME, else $HOME/<fallback>; empty when neither is set.
std::string XdgDirectory(const char* variable, const char* homeRelative) {
    std::string dir = EnvOr(variable, "");
    if (!dir.empty()) return dir;
    std::string home = EnvOr("HOME", "");
    return home.empty() ? std::string() : home + "/" + homeRelative;
}

std::vector<std::string> SplitList(const std::string& text, const char* separators) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (std::strchr(separators, c)) {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

bool IsModuleName(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

// The directory of this library, where the plug-ins are installed beside it.
std::string OwnDirectory() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&KivEngineSetup), &info) || !info.dli_fname) return {};
    return std::filesystem::path(info.dli_fname).parent_path().string();
}

}  // namespace

CKivEngine* Engine() { return gEngine; }

// The headless mode: services that keep state and a size, controls without widgets.
const KivModeTable& HeadlessMode() {
    static constexpr KivEngineClass kServices[] = {
        {"KcDX9Render", MakeObject<CRenderService>},
        {"KcSimpleDX9Font", MakeObject<CFontService>},
        {"KcPrimitive2DRender", MakeObject<CPrimitive2DService>},
        {"KcTexturesMgr", MakeObject<CTexturesMgr>},
        {"KcDxMeshBuilder", MakeObject<CMeshBuilder>},
    };
    static constexpr KivEngineClass kClasses[] = {
        {"KcImageControl", MakeObject<CImageControl>},
        {"KcGridScene2D", MakeObject<CGridScene2D>},
        {"KcStaticText", MakeObject<CStaticText>},
        {"KcSelectBox", MakeObject<CSelectBox>},
        {"KcCheckBox", MakeObject<CCheckBox>},
        {"KcButtonControl", MakeObject<CButtonControl>},
        {"KcListBox", MakeObject<CListBox>},
        {"KcEditValueSpinFloat", MakeObject<CEditValueSpinFloat>},
    };
    static constexpr KivModeTable kMode{kServices, std::size(kServices), kClasses,
                                        std::size(kClasses)};
    return kMode;
}

CKivEngine::~CKivEngine() { Shutdown(); }

// ---------------------------------------------------------------- setup and shutdown

bool CKivEngine::Setup(void* window, int flags, const char* gameClass, const char* configFile) {
    (void)flags;
    std::string configPath =
        configFile && *configFile ? std::string(configFile) : EnvOr("KIV_CONFIG", "");
    if (configPath.empty()) {
        std::string dir = XdgDirectory("XDG_CONFIG_HOME", ".config");
        if (!dir.empty()) configPath = dir + "/brisel/kivcore.ini";
    }
    config_.Open(configPath);

    std::string logPath;
    if (!config_.ReadText("KivCore", "LogFile", &logPath)) {
        std::string dir = XdgDirectory("XDG_STATE_HOME", ".local/state");
        if (!dir.empty()) logPath = dir + "/brisel/kivcore.log";
    }
    log_.Open(logPath, config_.ReadInt("KivCore", "LogLevel", 2));
    allocator_.SetReporter([this](int level, const char* text) { log_.Write(level, text); });
    // Without a budget of its own the engine keeps within the machine's memory, so that a
    // hostile size fails with a reason instead of the system's out-of-memory killer.
    int budgetMiB = config_.ReadInt("KivCore", "MemoryBudgetMiB", 0);
    long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    size_t physical = pages > 0 && pageSize > 0 ? size_t(pages) * size_t(pageSize) : 0;
    allocator_.SetBudget(budgetMiB > 0 ? size_t(budgetMiB) << 20 : physical);

    running_ = true;
    headless_ = window == nullptr;
    if (!headless_) {
        surface_ = CreateWindowSurface(*this, window);
        if (!surface_) {
            LogFormat(4, "KivCore: can not open the window surface (no QApplication?)");
            return false;
        }
    }
    LogText(headless_ ? "KivCore: engine setup (headless)" : "KivCore: engine setup (windowed)");
    mode_ = headless_ ? &HeadlessMode() : &WindowedMode();
    if (!CreateServices(*mode_)) {
        LogFormat(4, "KivCore: can not create the services");
        return false;
    }
    LoadModules();
    if (gameClass && *gameClass) CreateGame(gameClass);
    CreateConfiguredScenes();
    lastFrame_ = start_ = std::chrono::steady_clock::now();
    return true;
}

bool CKivEngine::CreateServices(const KivModeTable& mode) {
    for (size_t i = 0; i < mode.serviceCount; ++i) {
        const KivEngineClass& c = mode.services[i];
        KicBaseClass* service = c.create(*this, c.name);
        if (!service) return false;
        services_.push_back({c.name, service, 0});
    }
    render_ = static_cast<CRenderService*>(FindService("KcDX9Render"));
    if (!render_) return false;
    int width = config_.ReadInt("KivCore", "SurfaceWidth", CRenderService::kDefaultWidth);
    int height = config_.ReadInt("KivCore", "SurfaceHeight", CRenderService::kDefaultHeight);
    if (surface_) surface_->DeviceSize(&width, &height);
    render_->Resize(width, height);
    return true;
}

void CKivEngine::Shutdown() {
    if (!running_) return;
    DestroyGame();
    std::vector<KicBaseClass*> scenes;
    scenes.swap(configuredScenes_);
    for (auto it = scenes.rbegin(); it != scenes.rend(); ++it) DestroyEngineObject(*it);
    if (render_) render_->ReleaseResources();
    DestroyLeftovers();
    for (Service& s : services_) {
        if (s.acquired > 0)
            LogFormat(2, "KivCore: service %s still acquired %d time(s)", s.name, s.acquired);
        DeleteObject(s.object);
    }
    services_.clear();
    render_ = nullptr;
    delete surface_;  // after the controls, whose widgets are its children
    surface_ = nullptr;
    allocator_.ReportLeaksAndFree();
    // Unload after the leak report: the modules' own objects are gone by now.
    for (auto it = modules_.rbegin(); it != modules_.rend(); ++it) dlclose(it->handle);
    modules_.clear();
    LogText("KivCore: engine shutdown");
    log_.Close();
    running_ = false;
}

// Whatever a module created and did not destroy: named in the log, then destroyed. Controls
// and scenes go before the textures they may still hold.
void CKivEngine::DestroyLeftovers() {
    while (!uiObjects_.empty()) {
        KicObject* object = uiObjects_.back();
        LogFormat(2, "KivCore: a UI object was not destroyed");
        DestroyUIObject(object);
    }
    while (!moduleEntities_.empty()) {
        KicBaseClass* object = moduleEntities_.back();
        moduleEntities_.pop_back();
        entities_.Forget(object);
        LogFormat(2, "KivCore: a scene entity was not destroyed");
        DestroyModuleObject(object);
    }
    for (Module& m : modules_)
        for (KivModuleAPI* f = m.head; f; f = f->next) f->DestroyAll();
    for (int kind : {int(kKivKindEngineObject), int(kKivKindResource)}) {
        for (size_t i = engineObjects_.size(); i-- > 0;) {
            if (i >= engineObjects_.size()) continue;  // a destructor took others with it
            EngineObject entry = engineObjects_[i];
            if (entry.object->GetClassKind() != kind) continue;
            LogFormat(2, "KivCore: %s was not destroyed", entry.className);
            DeleteObject(entry.object);
        }
    }
}

// ---------------------------------------------------------------- modules and factories

void CKivEngine::LoadModules() {
    std::string list = "Luneth,Tolvan";
    config_.ReadText("KivCore", "Modules", &list);
    std::vector<std::string> directories;
    std::string own = OwnDirectory();
    if (!own.empty()) directories.push_back(own);
    std::error_code ec;
    std::filesystem::path cwd = std::filesystem::current_path(ec);
    if (!ec) directories.push_back((cwd / "ExternDll").string());
    std::string extra;
    if (config_.ReadText("KivCore", "ModulePath", &extra))
        for (const std::string& d : SplitList(extra, ":")) directories.push_back(d);

    for (const std::string& name : SplitList(list, ",; \t")) {
        if (!IsModuleName(name)) {
            LogFormat(2, "KivCore: module name \"%s\" ignored", name.c_str());
            continue;
        }
        bool loaded = std::any_of(modules_.begin(), modules_.end(),
                                  [&](const Module& m) { return m.name == name; });
        if (!loaded) LoadModule(name, directories);
    }
}

bool CKivEngine::LoadModule(const std::string& name, const std::vector<std::string>& directories) {
    // A module that the program itself links (a test linking the module directly) is used as
    // it is: loading the file beside the engine as well would make two copies of it.
    if (void* linked = dlopen(("lib" + name + ".so").c_str(), RTLD_NOW | RTLD_NOLOAD)) {
        if (AddModule(name, linked, "the program")) return true;
        dlclose(linked);
    }
    for (const std::string& dir : directories) {
        std::string path = dir + "/lib" + name + ".so";
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) continue;
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            LogFormat(4, "KivCore: can not load module %s: %s", path.c_str(), dlerror());
            return false;
        }
        if (!AddModule(name, handle, path)) {
            dlclose(handle);
            return false;
        }
        return true;
    }
    LogFormat(1, "KivCore: module %s not found", name.c_str());
    return false;
}

TimerStack* CKivEngine::GetTimerStack() {
    thread_local TimerStack stack;
    return &stack;
}

bool CKivEngine::AddModule(const std::string& name, void* handle, const std::string& from) {
    auto entry = reinterpret_cast<KivModuleApiFunctionType>(dlsym(handle, "KivModuleApiFunction"));
    if (!entry) {
        LogFormat(4, "KivCore: %s exports no KivModuleApiFunction", from.c_str());
        return false;
    }
    modules_.push_back(Module{name, handle, nullptr});
    modules_.back().head = entry(this);
    LogFormat(1, "KivCore: module %s loaded from %s", name.c_str(), from.c_str());
    return true;
}

KivModuleAPI* CKivEngine::FindFactory(const char* typeName, int kind) const {
    if (!typeName) return nullptr;
    for (const Module& m : modules_)
        for (KivModuleAPI* f = m.head; f; f = f->next)
            if (f->kind == kind && KivNameIs(f->GetTypeName(), typeName)) return f;
    return nullptr;
}

void CKivEngine::DestroyModuleObject(KicBaseClass* object) {
    if (KivModuleAPI* factory = object ? object->GetFactory() : nullptr)
        factory->DestroyObject(object);
}

void CKivEngine::CreateGame(const char* gameClass) {
    KivModuleAPI* factory = FindFactory(gameClass, kKivKindGame);
    KicBaseClass* object = factory ? factory->CreateObject() : nullptr;
    if (!object) {
        LogFormat(4, "KivCore: can not create the game object %s", gameClass);
        return;
    }
    if (!object->IsKindOf("KicGame")) {
        LogFormat(4, "KivCore: %s is not a game object", gameClass);
        factory->DestroyObject(object);
        return;
    }
    game_ = static_cast<KicGame*>(object);
    if (!game_->Initialize()) {
        LogFormat(4, "KivCore: %s failed to initialize", gameClass);
        DestroyGame();
    }
}

void CKivEngine::CreateConfiguredScenes() {
    std::string list;
    config_.ReadText("KivCore", "Scenes", &list);
    for (const std::string& name : SplitList(list, ",; \t")) {
        KicBaseClass* scene = CreateEngineObject(name.c_str());
        if (scene)
            configuredScenes_.push_back(scene);
        else
            LogFormat(4, "KivCore: can not create the scene %s", name.c_str());
    }
}

void CKivEngine::DestroyGame() {
    KicGame* game = game_;
    if (!game) return;
    game->Destroy();
    game_ = nullptr;
    DestroyModuleObject(game);
}

void CKivEngine::ReleaseGame() { DestroyGame(); }

KicObject* CKivEngine::CreateUIObject(const char* className) {
    KivModuleAPI* factory = FindFactory(className, kKivKindUIObject);
    KicBaseClass* object = factory ? factory->CreateObject() : nullptr;
    if (!object) return nullptr;
    if (!object->IsKindOf("KicObject")) {
        factory->DestroyObject(object);
        return nullptr;
    }
    KicObject* ui = static_cast<KicObject*>(object);
    uiObjects_.push_back(ui);
    if (!ui->CreateControls()) {
        DestroyUIObject(ui);
        return nullptr;
    }
    return ui;
}

void CKivEngine::DestroyUIObject(KicObject* object) {
    auto it = std::find(uiObjects_.begin(), uiObjects_.end(), object);
    if (it == uiObjects_.end()) return;
    uiObjects_.erase(it);
    object->DestroyControls();
    DestroyModuleObject(object);
}

// ---------------------------------------------------------------- engine objects and services

void CKivEngine::Track(KicBaseClass* object, const char* className) {
    std::lock_guard lock(objectsMutex_);
    engineObjects_.push_back(EngineObject{object, className});
}

bool CKivEngine::DeleteObject(KicBaseClass* object) {
    {
        std::lock_guard lock(objectsMutex_);
        auto it = std::find_if(engineObjects_.begin(), engineObjects_.end(),
                               [object](const EngineObject& e) { return e.object == object; });
        if (it == engineObjects_.end()) return false;
        engineObjects_.erase(it);
    }
    void* block = dynamic_cast<void*>(object);
    object->~KicBaseClass();
    allocator_.Free(block);
    return true;
}

KicBaseClass* CKivEngine::CreateEngineObject(const char* className) {
    if (!className) return nullptr;
    for (size_t i = 0; mode_ && i < mode_->classCount; ++i) {
        const KivEngineClass& c = mode_->classes[i];
        if (KivNameIs(className, c.name)) return c.create(*this, c.name);
    }
    KivModuleAPI* factory = FindFactory(className, kKivKindSceneEntity);
    KicBaseClass* object = factory ? factory->CreateObject() : nullptr;
    if (!object) return nullptr;
    moduleEntities_.push_back(object);
    if (!entities_.Start(object)) {
        LogFormat(4, "KivCore: %s failed to initialize", className);
        DestroyEngineObject(object);
        return nullptr;
    }
    return object;
}

void CKivEngine::DestroyEngineObject(KicBaseClass* object) {
    if (!object || DeleteObject(object)) return;
    auto it = std::find(moduleEntities_.begin(), moduleEntities_.end(), object);
    if (it == moduleEntities_.end()) return;
    moduleEntities_.erase(it);
    entities_.Forget(object);
    std::erase(configuredScenes_, object);
    DestroyModuleObject(object);
}

KicBaseClass* CKivEngine::AcquireService(const char* name) {
    for (Service& s : services_) {
        if (KivNameIs(name, s.name)) {
            ++s.acquired;
            s.object->AddRef();
            return s.object;
        }
    }
    return nullptr;
}

void CKivEngine::ReleaseService(KicBaseClass* service) {
    for (Service& s : services_) {
        if (s.object == service && s.acquired > 0) {
            --s.acquired;
            s.object->Release();
        }
    }
}

KicBaseClass* CKivEngine::FindService(const char* name) {
    for (Service& s : services_)
        if (KivNameIs(name, s.name)) return s.object;
    return nullptr;
}

void CKivEngine::OnSurfaceResized() {
    ForEachObject<CGridScene2D>([](CGridScene2D* scene) { scene->OnSurfaceResized(); });
}

// ---------------------------------------------------------------- log, messages, frames

void CKivEngine::LogFormat(int level, const char* format, ...) {
    if (!format) return;
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    log_.Write(level, text);
}

void CKivEngine::LogText(const char* text) { log_.Write(1, text); }

bool CKivEngine::DispatchMessage(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                 uint32_t keyState) {
    keyState_ = keyState;
    bool consumed = entities_.Dispatch(message, wParam, lParam);
    if (!consumed) consumed = game_ && game_->OnMessage(message, wParam, lParam);
    if (!consumed)
        ForEachObject<CGridScene2D>([&](CGridScene2D* scene) {
            if (!consumed) consumed = scene->HandleMessage(message, wParam, lParam);
        });
    keyState_ = 0;
    return consumed;
}

bool CKivEngine::IsKeyDown(int virtualKey) {
    switch (virtualKey) {
        case VK_SHIFT:
            return keyState_ & kKivKeyShift;
        case VK_CONTROL:
            return keyState_ & kKivKeyControl;
        case VK_MENU:
            return keyState_ & kKivKeyAlt;
        case VK_CAPITAL:
            return keyState_ & kKivKeyCapsLock;
        default:
            return false;
    }
}

bool CKivEngine::Frame() {
    if (!running_ || exitRequested_) return false;
    if (surface_) {
        surface_->ScheduleFrame();
        return true;
    }
    RunFrame();
    return !exitRequested_;
}

void CKivEngine::RunFrame() {
    auto now = std::chrono::steady_clock::now();
    float elapsed = std::chrono::duration<float>(now - lastFrame_).count();
    lastFrame_ = now;
    if (elapsed > 0.0f) {
        float rate = 1.0f / elapsed;
        // Smoothed over about ten frames.
        frameRate_ = frameCount_ == 0 ? rate : frameRate_ + (rate - frameRate_) * 0.1f;
    }
    uint64_t nowMs =
        uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(now - start_).count());
    uint32_t elapsedMs = uint32_t(nowMs - lastFrameMs_);
    lastFrameMs_ = nowMs;
    if (auto* primitives = static_cast<CPrimitive2DService*>(FindService("KcPrimitive2DRender")))
        primitives->BeginFrame();
    if (render_) render_->BeginFrame();
    // Each step runs the scene entities registered for it, then the game object.
    entities_.Run(kKivEventUpdate, elapsedMs);
    if (game_) game_->Update(elapsed);
    entities_.Run(kKivEventApply, elapsedMs);
    entities_.Run(kKivEventRender, elapsedMs);
    marks_.gameRender = render_ ? render_->GetCallCount() : 0;
    if (game_) game_->Render();
    marks_.overlay = render_ ? render_->GetCallCount() : 0;
    entities_.Run(kKivEventRenderOverlay, elapsedMs);
    if (game_) game_->RenderOverlay();
    ++frameCount_;
}

}  // namespace kivcore

// ---------------------------------------------------------------- entry points

using kivcore::CKivEngine;

bool KivEngineSetup(void* window, int flags, const char* gameClass, const char* configFile) {
    if (kivcore::gEngine) return false;
    auto* engine = new (std::nothrow) CKivEngine();
    if (!engine) return false;
    kivcore::gEngine = engine;
    if (!engine->Setup(window, flags, gameClass, configFile)) {
        engine->Shutdown();
        kivcore::gEngine = nullptr;
        delete engine;
        return false;
    }
    return true;
}

bool KivEngineFrame() { return kivcore::gEngine && kivcore::gEngine->Frame(); }

KivEngineAPI* KivEngineGetAPI() { return kivcore::gEngine; }

void KivEngineShutdown() {
    CKivEngine* engine = kivcore::gEngine;
    if (!engine) return;
    engine->Shutdown();
    kivcore::gEngine = nullptr;
    delete engine;
}
