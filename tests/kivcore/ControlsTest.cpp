// The headless controls, the image control and the grid scene.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "kiv/messages.h"
#include "kivcore/EngineSession.h"

using kivtest::EngineSession;

namespace {

// Records every notification as text.
struct Recorder : KicControl2DNotification, KicGridScene2DNotification {
    std::vector<std::string> events;
    int views = 0;
    void OnCheckChanged(KcControl2D*, bool v) override {
        events.push_back("check " + std::to_string(v));
    }
    void OnValueChanged(KcControl2D*, float v) override {
        events.push_back("value " + std::to_string(v));
    }
    void OnSelectionChanged(KcControl2D*, int i) override {
        events.push_back("select " + std::to_string(i));
    }
    void OnButtonEvent(KcControl2D*, int f) override {
        events.push_back("button " + std::to_string(f));
    }
    void OnViewChanged(KcGridScene2D*) override { ++views; }
};

}  // namespace

TEST(Controls, ItemControlsNotifyOnlyWhenTheSelectionChanges) {
    EngineSession engine;
    Recorder r;
    for (const char* name : {"KcSelectBox", "KcListBox"}) {
        r.events.clear();
        auto* box = engine.api->CreateEngineObjectAs<KcItemControl>(name);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->IsKindOf("KcControl2D"));
        EXPECT_EQ(box->GetClassKind(), kKivKindEngineObject);
        box->SetNotification(&r);
        EXPECT_EQ(box->AddItem("a"), 0);
        EXPECT_EQ(box->AddItem("b"), 1);
        EXPECT_EQ(box->GetSelection(), -1);
        box->SetSelection(1);
        box->SetSelection(1);
        box->SetSelection(7);   // out of range: nothing selected
        box->SetSelection(-3);  // already nothing
        box->SetSelection(0);
        EXPECT_EQ(r.events, (std::vector<std::string>{"select 1", "select -1", "select 0"}));
        EXPECT_STREQ(box->GetItemText(1), "b");
        EXPECT_EQ(box->GetItemText(2), nullptr);
        box->ClearItems();
        EXPECT_EQ(box->GetItemCount(), 0);
        EXPECT_EQ(box->GetSelection(), -1);
        EXPECT_EQ(r.events.size(), 3u);
        engine.api->DestroyEngineObject(box);
    }
}

TEST(Controls, ListBoxScrollsTheLeastNeeded) {
    EngineSession engine;
    auto* list = engine.api->CreateEngineObjectAs<KcListBox>("KcListBox");
    list->SetRect(0, 0, 100, 100);  // five rows of 20
    for (int i = 0; i < 30; ++i) list->AddItem("x");
    list->EnsureVisible(4);
    EXPECT_EQ(list->GetTopIndex(), 0);
    list->EnsureVisible(12);
    EXPECT_EQ(list->GetTopIndex(), 8);
    list->EnsureVisible(10);
    EXPECT_EQ(list->GetTopIndex(), 8);
    list->EnsureVisible(3);
    EXPECT_EQ(list->GetTopIndex(), 3);
    list->EnsureVisible(99);
    EXPECT_EQ(list->GetTopIndex(), 3);
    engine.api->DestroyEngineObject(list);
}

TEST(Controls, CheckBoxesButtonsAndSpinEditors) {
    EngineSession engine;
    Recorder r;
    auto* check = engine.api->CreateEngineObjectAs<KcCheckBox>("KcCheckBox");
    auto* button = engine.api->CreateEngineObjectAs<KcButtonControl>("KcButtonControl");
    auto* spin = engine.api->CreateEngineObjectAs<KcEditValueSpinFloat>("KcEditValueSpinFloat");
    for (KcControl2D* c : std::initializer_list<KcControl2D*>{check, button, spin})
        c->SetNotification(&r);

    check->SetChecked(false);
    check->SetChecked(true);
    check->SetChecked(true);
    button->Click();
    button->SetVisible(false);
    button->Click();
    button->SetVisible(true);
    button->SetDisabled(true);
    button->Click();
    EXPECT_EQ(r.events, (std::vector<std::string>{"check 1", "button 1", "button 0"}));

    r.events.clear();
    spin->SetRange(-360, 360);
    spin->SetStep(0.001f);
    spin->SetValue(8000);  // clamped
    EXPECT_EQ(spin->GetValue(), 360.0f);
    EXPECT_STREQ(spin->GetText(), "360.000000");
    spin->SetValue(360);
    spin->StepDown();
    EXPECT_FLOAT_EQ(spin->GetValue(), 359.999f);
    spin->SetValue(std::nanf(""));
    spin->SetRange(5, 1);  // refused
    float lo, hi;
    spin->GetRange(&lo, &hi);
    EXPECT_EQ(lo, -360.0f);
    EXPECT_EQ(hi, 360.0f);
    spin->SetRange(0, 10);  // the value follows into the new range
    EXPECT_EQ(spin->GetValue(), 10.0f);
    EXPECT_EQ(r.events.size(), 3u);
    EXPECT_EQ(r.events.front(), "value 360.000000");
    EXPECT_EQ(r.events.back(), "value 10.000000");
    for (KcControl2D* c : std::initializer_list<KcControl2D*>{check, button, spin})
        engine.api->DestroyEngineObject(c);
}

TEST(Controls, StaticTextKeepsItsTextAndDisplayProperties) {
    EngineSession engine;
    auto* text = engine.api->CreateEngineObjectAs<KcStaticText>("KcStaticText");
    text->SetText("Image Type");
    text->SetBackColor(0x80808080);
    text->SetTextColor(0xFFFF8040);
    text->SetFrameWidth(2.0f);
    text->SetRect(8, 8, 168, 28);
    EXPECT_STREQ(text->GetText(), "Image Type");
    EXPECT_EQ(text->GetBackColor(), 0x80808080u);
    EXPECT_EQ(text->GetTextColor(), 0xFFFF8040u);
    EXPECT_EQ(text->GetFrameWidth(), 2.0f);
    EXPECT_EQ(text->GetRect().bottom, 28.0f);
    text->SetText(nullptr);
    EXPECT_STREQ(text->GetText(), "");
    engine.api->DestroyEngineObject(text);
}

TEST(Controls, ImageControlHoldsAReferenceToItsTexture) {
    EngineSession engine;
    size_t blocks = engine.api->GetAllocator()->LiveBlockCount();
    auto* image = engine.api->CreateEngineObjectAs<KcImageControl>("KcImageControl");
    KcTexture* t = engine.Textures()->CreateTexture(4, 4, 1, kKivFormatA8R8G8B8, kKivPoolManaged);
    image->SetTexture(t);
    EXPECT_EQ(t->RefCount(), 2);
    EXPECT_EQ(t->Release(), 1);
    EXPECT_TRUE(image->GetTexture()->IsValid());
    image->SetChannelView(kKivChannelInverse);
    image->SetFilterType(kKivFilterLinear);
    EXPECT_EQ(image->GetChannelView(), 6);
    EXPECT_EQ(image->GetFilterType(), 1);
    image->SetTexture(nullptr);  // the last reference goes
    engine.api->DestroyEngineObject(image);
    EXPECT_EQ(engine.api->GetAllocator()->LiveBlockCount(), blocks);
}

// ---------------------------------------------------------------- grid scene

class GridScene : public testing::Test {
protected:
    void SetUp() override {
        scene = engine.api->CreateEngineObjectAs<KcGridScene2D>("KcGridScene2D");
        ASSERT_NE(scene, nullptr);
        scene->SetNotification(&r);
    }
    void TearDown() override { engine.api->DestroyEngineObject(scene); }

    EngineSession engine{"Modules=\nSurfaceWidth=800\nSurfaceHeight=600\n"};
    KcGridScene2D* scene = nullptr;
    Recorder r;
};

TEST_F(GridScene, ShowViewFitsTheRectangleAroundTheOrigin) {
    scene->ShowView(400, 100);  // width-bound: 2 pixels a unit
    EXPECT_EQ(scene->GetScale(), 2.0f);
    float x0, y0, x1, y1;
    scene->WorldToScreen(-200, 50, &x0, &y0);
    scene->WorldToScreen(200, -50, &x1, &y1);
    EXPECT_EQ(x0, 0.0f);
    EXPECT_EQ(x1, 800.0f);
    EXPECT_EQ(y0, 200.0f);
    EXPECT_EQ(y1, 400.0f);
    scene->ShowView(100, 600);  // height-bound
    EXPECT_EQ(scene->GetScale(), 1.0f);
    scene->ShowView(800, 600);  // one unit a pixel
    EXPECT_EQ(scene->GetScale(), 1.0f);
    EXPECT_EQ(r.views, 3);
    for (float bad : {0.0f, -5.0f, std::nanf(""), INFINITY}) scene->ShowView(bad, 10);
    EXPECT_EQ(r.views, 3);
}

TEST_F(GridScene, ScreenAndWorldAreInverseAndZoomKeepsThePointUnderTheCursor) {
    scene->ShowView(200, 150);
    scene->SetCenter(12.5f, -3.0f);
    for (float sx : {0.0f, 133.0f, 799.0f})
        for (float sy : {0.0f, 299.0f, 600.0f}) {
            float wx, wy, bx, by;
            scene->ScreenToWorld(sx, sy, &wx, &wy);
            scene->WorldToScreen(wx, wy, &bx, &by);
            EXPECT_NEAR(bx, sx, 1e-3f);
            EXPECT_NEAR(by, sy, 1e-3f);
        }
    float wx, wy;
    scene->ScreenToWorld(100, 500, &wx, &wy);
    scene->ZoomAt(3.0f, 100, 500);
    float sx, sy;
    scene->WorldToScreen(wx, wy, &sx, &sy);
    EXPECT_NEAR(sx, 100.0f, 1e-3f);
    EXPECT_NEAR(sy, 500.0f, 1e-3f);
    EXPECT_FLOAT_EQ(scene->GetScale(), 12.0f);
}

TEST_F(GridScene, MouseMessagesPanAndZoomThroughTheEngine) {
    scene->ShowView(800, 600);
    int before = r.views;
    KivEngineAPI* api = engine.api;
    api->DispatchMessage(WM_LBUTTONDOWN, MK_LBUTTON, KivMakeLParam(100, 100), 0);
    api->DispatchMessage(WM_MOUSEMOVE, MK_LBUTTON, KivMakeLParam(130, 80), 0);
    float cx, cy;
    scene->GetCenter(&cx, &cy);
    EXPECT_EQ(cx, -30.0f);  // the world moved right with the cursor
    EXPECT_EQ(cy, -20.0f);  // and up
    api->DispatchMessage(WM_LBUTTONUP, 0, KivMakeLParam(130, 80), 0);
    api->DispatchMessage(WM_MOUSEMOVE, 0, KivMakeLParam(500, 500), 0);
    scene->GetCenter(&cx, &cy);
    EXPECT_EQ(cx, -30.0f);
    api->DispatchMessage(WM_MOUSEWHEEL, uintptr_t(WHEEL_DELTA) << 16, KivMakeLParam(400, 300), 0);
    EXPECT_FLOAT_EQ(scene->GetScale(), 1.1f);
    api->DispatchMessage(WM_MOUSEWHEEL, uintptr_t(uint16_t(-2 * WHEEL_DELTA)) << 16,
                         KivMakeLParam(400, 300), 0);
    EXPECT_NEAR(scene->GetScale(), 1.1f / 1.21f, 1e-6f);
    EXPECT_EQ(r.views, before + 3);
}

TEST_F(GridScene, ASurfaceResizeIsAViewChange) {
    auto* render = engine.Service<KcDX9Render>("KcDX9Render");
    int before = r.views;
    EXPECT_TRUE(render->Resize(1024, 768));
    EXPECT_EQ(r.views, before + 1);
    EXPECT_TRUE(render->Resize(1024, 768));  // same size: no change
    EXPECT_EQ(r.views, before + 1);
    for (auto [w, h] : {std::pair{0, 10}, {10, -1}, {16385, 10}})
        EXPECT_FALSE(render->Resize(w, h));
    EXPECT_EQ(render->GetSurfaceWidth(), 1024);
    float sx, sy;
    scene->WorldToScreen(scene->GetScale() * 0, 0, &sx, &sy);
    float cx, cy;
    scene->GetCenter(&cx, &cy);
    scene->WorldToScreen(cx, cy, &sx, &sy);
    EXPECT_EQ(sx, 512.0f);
    EXPECT_EQ(sy, 384.0f);
    EXPECT_EQ(r.views, before + 1);
}
