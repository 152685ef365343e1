// Module loading, the factory lists and the objects the engine makes through them.
#include <gtest/gtest.h>

#include "kiv/messages.h"
#include "kiv/module.h"
#include "kivcore/EngineSession.h"
#include "kivcore/plugin/TestModule.h"

using kivtest::EngineSession;

namespace {

const std::string kTestModules =
    std::string("Modules=KivTestModule,NoSuchModule\nModulePath=") + KIV_TEST_MODULE_DIR + "\n";

}  // namespace

TEST(EngineModules, TheGameIsCreatedOnceAndInitialized) {
    EngineSession engine(kTestModules, "CTestGame");
    ASSERT_TRUE(engine.ok);
    auto* game = static_cast<ITestGame*>(engine.api->GetGame());
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->InitializeCount(), 1);
    EXPECT_EQ(game->GetClassKind(), kKivKindGame);
    KivModuleAPI* factory = game->GetFactory();
    ASSERT_NE(factory, nullptr);
    EXPECT_STREQ(factory->GetTypeName(), "CTestGame");
    EXPECT_EQ(factory->kind, game->GetClassKind());
    EXPECT_EQ(factory->CreateObject(), game);  // the single object
    engine.Shutdown();
    std::string log = engine.Log();
    EXPECT_NE(log.find("module KivTestModule loaded"), std::string::npos);
    EXPECT_NE(log.find("module NoSuchModule not found"), std::string::npos);
    size_t init = log.find("CTestGame::Initialize()");
    size_t destroy = log.find("CTestGame::Destroy()");
    EXPECT_NE(init, std::string::npos);
    EXPECT_NE(destroy, std::string::npos);
    EXPECT_LT(init, destroy);
    EXPECT_NE(log.find("Memory: no leaks"), std::string::npos);
}

TEST(EngineModules, FactoryListRunsFromTheLastDefinition) {
    EngineSession engine(kTestModules, "CTestGame");
    KivModuleAPI* game = engine.api->GetGame()->GetFactory();
    // The game factory was defined first, so it is the last of the list.
    EXPECT_EQ(game->next, nullptr);
    KicObject* panel = engine.api->CreateUIObject("CTestPanel");
    ASSERT_NE(panel, nullptr);
    KivModuleAPI* head = engine.api->CreateEngineObject("CTestEntity")->GetFactory();
    ASSERT_NE(head, nullptr);
    EXPECT_STREQ(head->GetTypeName(), "CTestEntity");
    ASSERT_NE(head->next, nullptr);
    EXPECT_EQ(head->next, panel->GetFactory());
    EXPECT_EQ(head->next->next, game);
    engine.api->DestroyUIObject(panel);
}

TEST(EngineModules, UIObjectsAreFreshWithControlsCreated) {
    EngineSession engine(kTestModules, nullptr);
    EXPECT_EQ(engine.api->GetGame(), nullptr);
    KicAllocator* a = engine.api->GetAllocator();
    size_t blocks = a->LiveBlockCount();
    auto* one = static_cast<ITestPanel*>(engine.api->CreateUIObject("CTestPanel"));
    auto* two = static_cast<ITestPanel*>(engine.api->CreateUIObject("CTestPanel"));
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    EXPECT_NE(one, two);
    EXPECT_EQ(one->CreateControlsCount(), 1);
    EXPECT_EQ(one->GetClassKind(), kKivKindUIObject);
    EXPECT_EQ(one->GetFactory(), two->GetFactory());
    EXPECT_EQ(one->GetFactory()->kind, kKivKindUIObject);
    EXPECT_EQ(a->BlockSize(one), a->BlockSize(two));
    EXPECT_EQ(a->LiveBlockCount(), blocks + 2);
    // Only UI factories answer for UI objects, and the other way round.
    EXPECT_EQ(engine.api->CreateUIObject("CTestGame"), nullptr);
    EXPECT_EQ(engine.api->CreateUIObject("CTestEntity"), nullptr);
    EXPECT_EQ(engine.api->CreateEngineObject("CTestPanel"), nullptr);
    engine.api->DestroyUIObject(one);
    engine.api->DestroyUIObject(one);  // no longer known: ignored
    EXPECT_EQ(a->LiveBlockCount(), blocks + 1);
    engine.Shutdown();  // `two` is left over on purpose
    std::string log = engine.Log();
    EXPECT_NE(log.find("a UI object was not destroyed"), std::string::npos);
    EXPECT_NE(log.find("Memory: no leaks"), std::string::npos);
}

TEST(EngineModules, AnUnknownGameClassLeavesNoGame) {
    EngineSession engine(kTestModules, "CLuneth");
    EXPECT_TRUE(engine.ok);
    EXPECT_EQ(engine.api->GetGame(), nullptr);
    engine.Shutdown();
    EXPECT_NE(engine.Log().find("can not create the game object CLuneth"), std::string::npos);
}

TEST(EngineModules, MessagesReachTheGameWithTheKeyStateThenTheScenes) {
    EngineSession engine(kTestModules, "CTestGame");
    auto* game = static_cast<ITestGame*>(engine.api->GetGame());
    auto* scene = engine.api->CreateEngineObjectAs<KcGridScene2D>("KcGridScene2D");
    scene->ShowView(1280, 720);
    EXPECT_FALSE(engine.api->DispatchMessage(WM_KEYDOWN, 'F', 0, kKivKeyControl));
    EXPECT_EQ(game->MessageCount(), 1);
    EXPECT_EQ(game->LastMessage(), WM_KEYDOWN);
    EXPECT_TRUE(game->CtrlDuringLastMessage());
    EXPECT_FALSE(engine.api->IsKeyDown(VK_CONTROL));  // only while the message is handled
    engine.api->DispatchMessage(WM_KEYDOWN, 'F', 0, kKivKeyShift);
    EXPECT_FALSE(game->CtrlDuringLastMessage());

    game->SetConsumeMessages(true);
    EXPECT_TRUE(engine.api->DispatchMessage(WM_MOUSEWHEEL, uintptr_t(WHEEL_DELTA) << 16,
                                            KivMakeLParam(640, 360), 0));
    EXPECT_EQ(scene->GetScale(), 1.0f);  // consumed by the game: the scene saw nothing
    game->SetConsumeMessages(false);
    engine.api->DispatchMessage(WM_MOUSEWHEEL, uintptr_t(WHEEL_DELTA) << 16,
                                KivMakeLParam(640, 360), 0);
    EXPECT_FLOAT_EQ(scene->GetScale(), 1.1f);
    engine.api->DestroyEngineObject(scene);
}

TEST(EngineModules, FramesUpdateTheGameAndReleaseGameEndsIt) {
    EngineSession engine(kTestModules, "CTestGame");
    auto* game = static_cast<ITestGame*>(engine.api->GetGame());
    EXPECT_TRUE(KivEngineFrame());
    EXPECT_TRUE(KivEngineFrame());
    EXPECT_EQ(game->UpdateCount(), 2);
    EXPECT_GT(engine.api->GetFrameRate(), 0.0f);
    engine.api->ReleaseGame();
    EXPECT_EQ(engine.api->GetGame(), nullptr);
    EXPECT_TRUE(KivEngineFrame());
    engine.Shutdown();
    std::string log = engine.Log();
    EXPECT_NE(log.find("CTestGame::Destroy()"), std::string::npos);
    EXPECT_NE(log.find("Memory: no leaks"), std::string::npos);
}
