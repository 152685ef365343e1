#include "TestModule.h"

#include "kiv/engine.h"
#include "kiv/module.h"

namespace {

KivModuleState gModule;

class CTestGame final : public ITestGame {
public:
    int Release() override { return --refCount_; }
    int GetClassKind() const override { return kKivKindGame; }
    bool IsKindOf(const char* name) const override {
        return KivNameIs(name, "CTestGame") || KivNameIs(name, "KicGame") ||
               KivNameIs(name, "KicBaseClass");
    }
    bool OnMessage(uint32_t message, uintptr_t, intptr_t) override {
        ++messages_;
        last_ = message;
        ctrl_ = gModule.api->IsKeyDown(0x11);
        return consume_;
    }
    void Update(float) override { ++updates_; }
    bool Initialize() override {
        ++initialized_;
        gModule.api->LogText("CTestGame::Initialize()");
        return true;
    }
    void Destroy() override { gModule.api->LogText("CTestGame::Destroy()"); }
    int InitializeCount() const override { return initialized_; }
    int MessageCount() const override { return messages_; }
    uint32_t LastMessage() const override { return last_; }
    bool CtrlDuringLastMessage() const override { return ctrl_; }
    int UpdateCount() const override { return updates_; }
    void SetConsumeMessages(bool consume) override { consume_ = consume; }

private:
    int initialized_ = 0, messages_ = 0, updates_ = 0;
    uint32_t last_ = 0;
    bool ctrl_ = false, consume_ = false;
};

class CTestPanel final : public ITestPanel {
public:
    int Release() override { return refCount_; }
    int GetClassKind() const override { return kKivKindUIObject; }
    bool IsKindOf(const char* name) const override {
        return KivNameIs(name, "KicObject") || KivNameIs(name, "KicBaseClass");
    }
    bool CreateControls() override { return ++created_ > 0; }
    void DestroyControls() override {}
    int CreateControlsCount() const override { return created_; }

private:
    int created_ = 0;
};

class CTestEntity final : public KicBaseClass {
public:
    int Release() override { return refCount_; }
    int GetClassKind() const override { return kKivKindSceneEntity; }
    bool IsKindOf(const char* name) const override { return KivNameIs(name, "KicBaseClass"); }
};

KivSingleObjectFactory<CTestGame> gGameVMA(gModule, "CTestGame", kKivKindGame, "TestModule",
                                           __LINE__);
KivObjectFactory<CTestPanel> gPanelVMA(gModule, "CTestPanel", kKivKindUIObject, "TestModule",
                                       __LINE__);
KivObjectFactory<CTestEntity> gEntityVMA(gModule, "CTestEntity", kKivKindSceneEntity, "TestModule",
                                         __LINE__);

}  // namespace

KIV_MODULE_EXPORT KivModuleAPI* KivModuleApiFunction(KivEngineAPI* api) {
    gModule.api = api;
    gModule.allocator = api->GetAllocator();
    gModule.apiVersion = api->GetApiVersion();
    gModule.headless = api->IsHeadless();
    return gModule.head;
}
