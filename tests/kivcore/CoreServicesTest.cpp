// Allocator, timer stack, configuration and log of the engine core.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "kivcore/EngineSession.h"

using kivtest::EngineSession;

// ---------------------------------------------------------------- allocator

TEST(Allocator, BlocksKnowTheirSizeAndForeignPointersAreRefused) {
    EngineSession engine;
    ASSERT_TRUE(engine.ok);
    KicAllocator* a = engine.api->GetAllocator();
    size_t before = a->LiveBlockCount(), beforeBytes = a->LiveBytes();

    void* p = a->Allocate(100, "AllocatorTest", 1);
    void* q = a->Allocate(0, "AllocatorTest", 2);
    ASSERT_NE(p, nullptr);
    ASSERT_NE(q, nullptr);
    EXPECT_NE(p, q);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 16, 0u);
    EXPECT_EQ(a->BlockSize(p), 100u);
    EXPECT_EQ(a->BlockSize(q), 0u);
    EXPECT_EQ(a->LiveBlockCount(), before + 2);
    EXPECT_EQ(a->LiveBytes(), beforeBytes + 100);

    int local = 0;
    EXPECT_EQ(a->BlockSize(&local), 0u);
    EXPECT_EQ(a->BlockSize(nullptr), 0u);
    a->Free(&local);  // logged, otherwise ignored
    a->Free(nullptr);
    EXPECT_EQ(a->LiveBlockCount(), before + 2);

    a->Free(p);
    a->Free(q);
    a->Free(p);  // a second free is a foreign pointer now
    EXPECT_EQ(a->LiveBlockCount(), before);
    EXPECT_EQ(a->LiveBytes(), beforeBytes);
    engine.Shutdown();
    std::string log = engine.Log();
    EXPECT_NE(log.find("free of an unknown block"), std::string::npos);
    EXPECT_NE(log.find("Memory: no leaks"), std::string::npos);
}

TEST(Allocator, BudgetRefusesBlocksThatWouldPassIt) {
    EngineSession engine;
    KicAllocator* a = engine.api->GetAllocator();
    a->SetBudget(a->LiveBytes() + 1000);
    void* p = a->Allocate(600, "Budget", 1);
    EXPECT_NE(p, nullptr);
    EXPECT_EQ(a->Allocate(401, "Budget", 2), nullptr);
    EXPECT_EQ(a->Allocate(size_t(-1), "Budget", 3), nullptr);
    void* q = a->Allocate(400, "Budget", 4);
    EXPECT_NE(q, nullptr);
    a->SetBudget(0);
    void* r = a->Allocate(5000, "Budget", 5);
    EXPECT_NE(r, nullptr);
    for (void* m : {p, q, r}) a->Free(m);
}

TEST(Allocator, LeaksAreReportedWithTagAndLineAtShutdown) {
    EngineSession engine;
    KicAllocator* a = engine.api->GetAllocator();
    ASSERT_NE(a->Allocate(48, "LeakyUnit", 77), nullptr);
    ASSERT_NE(a->Allocate(16, "LeakyUnit", 78), nullptr);
    engine.Shutdown();
    std::string log = engine.Log();
    size_t first = log.find("Memory leak: 48 bytes from LeakyUnit(77)");
    size_t second = log.find("Memory leak: 16 bytes from LeakyUnit(78)");
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_NE(second, std::string::npos);
    EXPECT_LT(first, second);  // in allocation order
    EXPECT_EQ(log.find("no leaks"), std::string::npos);
}

// ---------------------------------------------------------------- timer stack

TEST(TimerStack, StopsPairWithStartsInnermostFirst) {
    TimerStack t;
    EXPECT_EQ(t.Stop(), 0.0f);
    EXPECT_EQ(t.depth, 0);
    t.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    t.Start();
    float inner = t.Stop();
    float outer = t.Stop();
    EXPECT_EQ(t.depth, 0);
    EXPECT_GE(inner, 0.0f);
    EXPECT_GE(outer, 19.0f);
    EXPECT_LT(inner, outer);
    EXPECT_EQ(t.Stop(), 0.0f);
    EXPECT_EQ(t.depth, 0);
}

TEST(TimerStack, StartsBeyondTheSlotsKeepThePairing) {
    TimerStack t;
    for (int i = 0; i < 40; ++i) t.Start();
    EXPECT_EQ(t.depth, 40);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(t.Stop(), 0.0f);  // starts 33..40 had no slot
    EXPECT_EQ(t.depth, TimerStack::kCapacity);
    for (int i = 0; i < TimerStack::kCapacity; ++i) EXPECT_GE(t.Stop(), 0.0f);
    EXPECT_EQ(t.depth, 0);
}

TEST(TimerStack, TheEngineSharesOneRecord) {
    EngineSession engine;
    TimerStack* t = engine.api->GetTimerStack();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t, engine.api->GetTimerStack());
    EXPECT_EQ(t->depth, 0);
    EXPECT_EQ(t->frequency, 1000000000);
}

// ---------------------------------------------------------------- configuration

TEST(Config, TypedReadsFallBackToTheirDefaults) {
    EngineSession engine("Modules=\n", nullptr,
                         "[Luneth]\n"
                         "BackGroundColor=0xFF202020\n"
                         "Decimal=-42\n"
                         "Leading=010\n"
                         "Huge=0x1FFFFFFFF\n"
                         "Word=green\n"
                         "[SceneControl]\n"
                         "LightAble=true\n"
                         "SpecularAble=0\n"
                         "Odd=maybe\n"
                         "FOV=0.7853982\n"
                         "LightDiffuse=1, 0.5, 0.25, 1\n"
                         "Short=1 2\n"
                         "Name=Tolvan scene\n");
    KicConfig* c = engine.api->GetConfig();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->ReadInt("Luneth", "BackGroundColor", 0), int(0xFF202020u));
    EXPECT_EQ(c->ReadInt("Luneth", "Decimal", 0), -42);
    EXPECT_EQ(c->ReadInt("Luneth", "Leading", 0), 10);
    EXPECT_EQ(c->ReadInt("Luneth", "Huge", 5), 5);
    EXPECT_EQ(c->ReadInt("Luneth", "Word", 6), 6);
    EXPECT_EQ(c->ReadInt("Luneth", "Missing", 7), 7);
    EXPECT_EQ(c->ReadInt("Other", "BackGroundColor", 8), 8);
    EXPECT_TRUE(c->ReadBool("SceneControl", "LightAble", false));
    EXPECT_FALSE(c->ReadBool("SceneControl", "SpecularAble", true));
    EXPECT_TRUE(c->ReadBool("SceneControl", "Odd", true));
    EXPECT_FLOAT_EQ(c->ReadFloat("SceneControl", "FOV", 0.0f), 0.7853982f);
    EXPECT_EQ(c->ReadFloat("SceneControl", "Name", 1.5f), 1.5f);

    float colour[4] = {9, 9, 9, 9};
    EXPECT_TRUE(c->ReadFloats("SceneControl", "LightDiffuse", colour, 4));
    EXPECT_EQ(colour[1], 0.5f);
    EXPECT_EQ(colour[2], 0.25f);
    float vec[3] = {7, 7, 7};
    EXPECT_FALSE(c->ReadFloats("SceneControl", "Short", vec, 3));
    EXPECT_EQ(vec[0], 7.0f);  // untouched on a mismatch

    char small[6];
    EXPECT_EQ(c->ReadString("SceneControl", "Name", "x", small, sizeof small), 12);
    EXPECT_STREQ(small, "Tolva");
    EXPECT_EQ(c->ReadString("SceneControl", "Absent", "dflt", small, sizeof small), 4);
    EXPECT_STREQ(small, "dflt");
}

TEST(Config, AMissingFileMeansEveryDefault) {
    auto dir = kivtest::FreshDirectory("noconfig");
    std::string ini = (dir / "absent.ini").string();
    ASSERT_TRUE(KivEngineSetup(nullptr, 0, nullptr, ini.c_str()));
    KivEngineAPI* api = KivEngineGetAPI();
    EXPECT_EQ(api->GetConfig()->ReadInt("Luneth", "GridAxisColor", 1234), 1234);
    auto* render = static_cast<KcDX9Render*>(api->FindService("KcDX9Render"));
    EXPECT_EQ(render->GetSurfaceWidth(), 1280);
    EXPECT_EQ(render->GetSurfaceHeight(), 720);
    KivEngineShutdown();
    std::filesystem::remove_all(dir);
}

// ---------------------------------------------------------------- engine lifetime

TEST(EngineLifetime, OneEngineAtATimeAndShutdownTwiceIsHarmless) {
    EngineSession engine("Modules=\nSurfaceWidth=640\nSurfaceHeight=480\n");
    ASSERT_TRUE(engine.ok);
    EXPECT_TRUE(engine.api->IsHeadless());
    EXPECT_EQ(engine.api->GetApiVersion(), kKivApiVersion);
    EXPECT_FALSE(KivEngineSetup(nullptr, 0, nullptr, nullptr));
    auto* render = engine.Service<KcDX9Render>("KcDX9Render");
    EXPECT_EQ(render->GetSurfaceWidth(), 640);
    EXPECT_EQ(render->GetSurfaceHeight(), 480);
    EXPECT_EQ(engine.api->GetGame(), nullptr);
    EXPECT_TRUE(KivEngineFrame());
    engine.api->RequestExit();
    EXPECT_TRUE(engine.api->IsExitRequested());
    EXPECT_FALSE(KivEngineFrame());
    engine.Shutdown();
    EXPECT_EQ(KivEngineGetAPI(), nullptr);
    EXPECT_FALSE(KivEngineFrame());
    KivEngineShutdown();
}

// The windowed mode draws through Qt Widgets; without an application object it can't start.
TEST(EngineLifetime, AWindowWithoutAQtApplicationRefusesToStart) {
    auto dir = kivtest::FreshDirectory("windowed");
    int fakeWidget = 0;
    kivtest::WriteFile(dir / "k.ini", "[KivCore]\nLogFile=" + (dir / "k.log").string() +
                                          "\nLogLevel=5\nModules=\n");
    EXPECT_FALSE(KivEngineSetup(&fakeWidget, 0, "CLuneth", (dir / "k.ini").c_str()));
    EXPECT_EQ(KivEngineGetAPI(), nullptr);
    EXPECT_NE(kivtest::ReadFile(dir / "k.log").find("can not open the window surface"),
              std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(EngineLifetime, ServicesAreCountedAndUnreleasedOnesNamed) {
    EngineSession engine;
    for (const char* name : {"KcDX9Render", "KcSimpleDX9Font", "KcPrimitive2DRender",
                             "KcTexturesMgr", "KcDxMeshBuilder"}) {
        KicBaseClass* s = engine.api->AcquireService(name);
        ASSERT_NE(s, nullptr) << name;
        EXPECT_TRUE(s->IsKindOf(name));
        EXPECT_EQ(s->GetClassKind(), kKivKindService);
        EXPECT_EQ(s, engine.api->FindService(name));
        engine.api->ReleaseService(s);
    }
    EXPECT_EQ(engine.api->AcquireService("KcNoSuchService"), nullptr);
    EXPECT_EQ(engine.api->AcquireService(nullptr), nullptr);
    EXPECT_EQ(engine.api->AcquireServiceAs<KcDX9Render>("KcDX9Render")->GetSurfaceWidth(),
              1280);  // held on purpose
    engine.Shutdown();
    std::string log = engine.Log();
    EXPECT_NE(log.find("service KcDX9Render still acquired 1 time(s)"), std::string::npos);
    EXPECT_EQ(log.find("KcTexturesMgr still acquired"), std::string::npos);
    EXPECT_NE(log.find("Memory: no leaks"), std::string::npos);
}

TEST(EngineLifetime, ForgottenEngineObjectsAreNamedAndFreed) {
    EngineSession engine;
    ASSERT_NE(engine.api->CreateEngineObject("KcListBox"), nullptr);
    auto* control = engine.api->CreateEngineObjectAs<KcImageControl>("KcImageControl");
    KcTexture* t = engine.Textures()->CreateTexture(8, 8, 1, kKivFormatA8R8G8B8, kKivPoolManaged);
    control->SetTexture(t);
    t->Release();  // the control holds the last reference
    EXPECT_EQ(engine.api->CreateEngineObject("KcNoSuchThing"), nullptr);
    engine.Shutdown();
    std::string log = engine.Log();
    EXPECT_NE(log.find("KcListBox was not destroyed"), std::string::npos);
    EXPECT_NE(log.find("KcImageControl was not destroyed"), std::string::npos);
    EXPECT_EQ(log.find("KcTexture was not destroyed"), std::string::npos);
    EXPECT_NE(log.find("Memory: no leaks"), std::string::npos);
}

TEST(EngineLifetime, FramesCollectPrimitivesAndClearThem) {
    EngineSession engine;
    auto* p = engine.Service<KcPrimitive2DRender>("KcPrimitive2DRender");
    p->DrawLine(0, 0, 10, 10, 0xFFFFFFFF);
    p->FillRect(1, 2, 3, 4, 0xFF00FF00);
    ASSERT_EQ(p->GetPrimitiveCount(), 2u);
    EXPECT_EQ(p->GetPrimitives()[1].type, KivPrimitive2D::kFilledRect);
    EXPECT_EQ(p->GetPrimitives()[1].color, 0xFF00FF00u);
    EXPECT_TRUE(KivEngineFrame());
    EXPECT_EQ(p->GetPrimitiveCount(), 0u);
}
