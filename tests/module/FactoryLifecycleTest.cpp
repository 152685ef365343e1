// The module entry, its two factories, and the image object's life from Initialize to Destroy.
#include <gtest/gtest.h>

#include <cstdio>

#include "module/LunethSession.h"
#include "script/FunctionRegistry.h"

using lunethtest::LunethSession;

TEST(LunethFactories, TheUIFactoryComesFirstThenTheGameFactory) {
    LunethSession s;
    ASSERT_NE(s.luneth, nullptr);
    KivModuleAPI* head = LunethModule().head;
    ASSERT_NE(head, nullptr);
    EXPECT_STREQ(head->GetTypeName(), "CLunethUI");
    EXPECT_EQ(head->kind, kKivKindUIObject);
    ASSERT_NE(head->next, nullptr);
    EXPECT_STREQ(head->next->GetTypeName(), "CLuneth");
    EXPECT_EQ(head->next->kind, kKivKindGame);
    EXPECT_EQ(head->next->next, nullptr);
    EXPECT_EQ(LunethModule().api, s.api);
    EXPECT_EQ(LunethModule().allocator, s.api->GetAllocator());
    EXPECT_EQ(LunethModule().apiVersion, kKivApiVersion);
    EXPECT_TRUE(LunethModule().headless);
}

TEST(LunethFactories, OneGameObjectAndAFreshPanelPerCall) {
    LunethSession s;
    KivModuleAPI* game = s.luneth->GetFactory();
    EXPECT_EQ(game, LunethModule().head->next);
    EXPECT_EQ(game->CreateObject(), static_cast<KicBaseClass*>(static_cast<ILuneth*>(s.luneth)));
    EXPECT_EQ(game->CreateObject(), game->CreateObject());
    EXPECT_EQ(s.luneth->GetClassKind(), game->kind);
    EXPECT_TRUE(s.luneth->IsKindOf("KicGame"));
    EXPECT_TRUE(s.luneth->IsKindOf("KicBaseClass"));
    EXPECT_FALSE(s.luneth->IsKindOf("KicObject"));
    EXPECT_FALSE(s.luneth->IsKindOf(nullptr));

    KicObject* a = s.api->CreateUIObject("CLunethUI");
    KicObject* b = s.api->CreateUIObject("CLunethUI");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_NE(a, static_cast<KicObject*>(s.panel));
    for (KicObject* ui : {a, b, static_cast<KicObject*>(s.panel)}) {
        EXPECT_EQ(ui->GetFactory(), LunethModule().head);
        EXPECT_EQ(ui->GetClassKind(), ui->GetFactory()->kind);
        EXPECT_TRUE(ui->IsKindOf("KicObject"));
        EXPECT_FALSE(ui->IsKindOf("KicGame"));
        EXPECT_EQ(s.api->GetAllocator()->BlockSize(ui), sizeof(CLunethUI));
    }
    EXPECT_EQ(s.api->GetAllocator()->BlockSize(static_cast<ILuneth*>(s.luneth)), sizeof(CLuneth));
    // A second panel starts visible and without owner: no equation rows.
    auto* second = static_cast<CLunethUI*>(a);
    EXPECT_TRUE(second->IsVisible());
    EXPECT_FALSE(second->ResetButton()->IsVisible());
    s.api->DestroyUIObject(a);
    s.api->DestroyUIObject(b);
    s.Shutdown();
    EXPECT_EQ(s.Log().find("was not destroyed"), std::string::npos);
}

TEST(LunethFactories, ObjectsLiveInAllocatorMemoryTaggedWithTheirFactoryLine) {
    LunethSession s;
    // Made behind the engine's back, so only the allocator can name it at shutdown.
    KicBaseClass* stray = LunethModule().head->CreateObject();
    ASSERT_NE(stray, nullptr);
    s.Shutdown();
    char expected[80];
    std::snprintf(expected, sizeof expected, "Memory leak: %zu bytes from RegisterAPI(23)",
                  sizeof(CLunethUI));
    EXPECT_NE(s.Log().find(expected), std::string::npos) << s.Log();
}

TEST(LunethFactories, DestroyingABlockOfUnknownSizeDoesNothing) {
    LunethSession s;
    int notAnObject = 0;
    KicAllocator* a = s.api->GetAllocator();
    size_t blocks = a->LiveBlockCount();
    LunethModule().head->DestroyObject(reinterpret_cast<KicBaseClass*>(&notAnObject));
    LunethModule().head->DestroyObject(nullptr);
    EXPECT_EQ(a->LiveBlockCount(), blocks);
}

TEST(LunethFactories, FailedAllocationCreatesNothing) {
    LunethSession s;
    KicAllocator* a = s.api->GetAllocator();
    a->SetBudget(a->LiveBytes() + 16);
    EXPECT_EQ(LunethModule().head->CreateObject(), nullptr);
    EXPECT_EQ(s.api->CreateUIObject("CLunethUI"), nullptr);
    a->SetBudget(0);
}

TEST(LunethLifecycle, InitializeAndDestroyLogInOrderAndGiveEverythingBack) {
    LunethSession s;
    char count[64];
    std::snprintf(count, sizeof count, "Operators Count: %u", luneth::FunctionCount());
    // The nineteen presets are the last registered names.
    EXPECT_EQ(luneth::LookupFunction("NoiseModuleLime") + 1, luneth::FunctionCount());
    EXPECT_NE(s.luneth->GetRender(), nullptr);
    EXPECT_NE(s.luneth->GetFont(), nullptr);
    EXPECT_TRUE(s.luneth->GetFont()->IsPrepared());
    EXPECT_FALSE(s.luneth->GetImageControl()->IsVisible());
    EXPECT_TRUE(s.luneth->GetImageControl()->IsDisabled());
    EXPECT_EQ(s.luneth->GetEquationCount(), [&] {
        int n = 0;
        for (int i = 0; i < 512; ++i) n += s.luneth->GetEquation(i) != nullptr;
        return n;
    }());
    EXPECT_EQ(s.luneth->GetGameFlags(), 0x01000000u);
    s.Shutdown();
    std::string log = s.Log();
    size_t init = log.find("CLuneth::Initialize()");
    size_t ops = log.find(count);
    size_t destroy = log.find("CLuneth::Destroy()");
    ASSERT_NE(init, std::string::npos);
    ASSERT_NE(ops, std::string::npos) << count;
    ASSERT_NE(destroy, std::string::npos);
    EXPECT_LT(init, ops);
    EXPECT_LT(ops, destroy);
    EXPECT_EQ(log.find("still acquired"), std::string::npos);
    EXPECT_EQ(log.find("was not destroyed"), std::string::npos);
    EXPECT_NE(log.find("Memory: no leaks"), std::string::npos);
}

TEST(LunethLifecycle, AFullLoadComputeUnloadCycleLeaksNothing) {
    LunethSession s;
    std::string picture = s.MakePicture("p.png");
    EXPECT_TRUE(s.luneth->LoadPictureFile(picture.c_str()));
    const char script[] =
        "pixels = width:64 height:48; x = from 0 to 1 W; r = x; g = 1 - x; b = 0.5";
    EXPECT_TRUE(s.luneth->LoadScriptText(script, int(sizeof script - 1)));
    EXPECT_TRUE(s.luneth->ReloadImage());
    EXPECT_TRUE(s.luneth->ComputeEquation(0));
    EXPECT_TRUE(s.luneth->ReloadImage());
    EXPECT_FALSE(s.luneth->ComputeEquation(511));
    EXPECT_TRUE(s.luneth->LoadPictureFile(picture.c_str()));
    s.luneth->UnloadImage();
    EXPECT_TRUE(s.luneth->ComputeEquation(0));  // left loaded: Destroy releases it
    s.Shutdown();
    std::string log = s.Log();
    EXPECT_NE(log.find("Memory: no leaks"), std::string::npos) << log;
    EXPECT_EQ(log.find("was not destroyed"), std::string::npos);
}

TEST(LunethLifecycle, ReleaseAtTheLastReferenceEndsTheGame) {
    LunethSession s;
    s.luneth->AddRef();
    EXPECT_EQ(s.luneth->Release(), 1);
    EXPECT_NE(s.api->GetGame(), nullptr);
    EXPECT_EQ(s.luneth->Release(), 0);
    EXPECT_EQ(s.api->GetGame(), nullptr);
    s.Shutdown();
    std::string log = s.Log();
    size_t destroy = log.find("CLuneth::Destroy()");
    size_t release = log.find("CLuneth::Release()");
    EXPECT_NE(destroy, std::string::npos);
    EXPECT_NE(release, std::string::npos);
    EXPECT_NE(log.find("Memory: no leaks"), std::string::npos);
}

TEST(LunethLifecycle, ConfigurationColoursReachTheRenderAndTheGrid) {
    LunethSession s("",
                    "[Luneth]\nBackGroundColor=0xFF102030\nGridAxisColor=0xFF0000FF\n"
                    "GridMinorColor=-1\n");
    EXPECT_EQ(s.luneth->GetRender()->GetBackgroundColor(), 0xFF102030u);
    KcGridScene2D* grid = s.luneth->GetGridScene();
    EXPECT_EQ(grid->GetAxisColor(), 0xFF0000FFu);
    EXPECT_EQ(grid->GetMinorColor(), 0xFFFFFFFFu);
}

TEST(LunethLifecycle, AbsentColourKeysKeepTheDefaults) {
    LunethSession s;
    EXPECT_EQ(s.luneth->GetRender()->GetBackgroundColor(), 0xFF000000u);
    KcGridScene2D* grid = s.luneth->GetGridScene();
    EXPECT_EQ(grid->GetMajorColor(), 0xFF404040u);
}
