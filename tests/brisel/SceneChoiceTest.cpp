// The View menu's scenes on the headless engine: choosing makes the engine create the scene and
// destroy the one before, the image view steps aside (leaving keys and mouse to the scene), the
// surface of the current script becomes the scene's contents, a configured scene is the chosen
// one.
#include <QAction>

#include "SceneChooser.h"
#include "brisel/BriselSession.h"
#include "kiv/messages.h"

using briseltest::BriselSession;

namespace {

constexpr const char* kModules = "Modules=Luneth,Tolvan\n";

// A tube of 8 points and 6 slices along x.
constexpr const char* kTube =
    "vertices = 8\nt = from 0.0 to 1.0\nx = t * 4.0\ny = 1.0\nz = 0\nsurface_slices = 6\n"
    "pipe = radius(0.5) type(1)\nr = t\ng = 0.5\nb = 1.0 - t\n";

}  // namespace

TEST(BriselScenes, ChoosingMakesOneSceneAtATimeAndShowsTheSurfaceInIt) {
    BriselSession s(brisel::CBriselView::Mode::Headless, kModules);
    KivEngineAPI* api = KivEngineGetAPI();
    s.view->OpenByExtension(s.WriteScript("tube.txt", kTube));
    s.view->WaitForComputation();
    for (const char* name : brisel::CSceneChooser::kSceneNames) {
        ASSERT_TRUE(s.view->ChooseScene(name)) << name;
        KicSceneControl* scene = s.view->Scenes()->Scene();
        ASSERT_NE(scene, nullptr);
        EXPECT_EQ(api->FindEntity("KicSceneControl"), scene) << name;  // the one before is gone
        EXPECT_TRUE(scene->IsKindOf(name));
        ASSERT_NE(scene->GetContents(), nullptr) << name;
        EXPECT_EQ(scene->GetContents()->GetVertexCount(), 2u * 6 * 8);
        EXPECT_FALSE(s.luneth->IsImageViewShown());
        EXPECT_FALSE(s.luneth->GetImageControl()->IsVisible());
    }
    // The orbit turns about the tube's middle.
    ASSERT_TRUE(s.view->ChooseScene("KcMultipleScene"));
    auto* multiple = static_cast<KicMultipleScene*>(s.view->Scenes()->Scene());
    EXPECT_NEAR(multiple->GetTarget().x, 2.0f, 1e-6f);
    EXPECT_NEAR(multiple->GetTarget().y, 1.0f, 0.05f);

    // Aside, the image object leaves keys and the mouse alone: no channel view, no zoom.
    KcGridScene2D* grid = s.luneth->GetGridScene();
    float scale = grid->GetScale();
    api->DispatchMessage(WM_KEYDOWN, 'R', 0, 0);
    api->DispatchMessage(WM_MOUSEWHEEL, uintptr_t(120u << 16), KivMakeLParam(10, 10), 0);
    EXPECT_EQ(s.luneth->GetImageControl()->GetChannelView(), kKivChannelNormal);
    EXPECT_EQ(grid->GetScale(), scale);
    EXPECT_EQ(grid->GetAxisColor() >> 24, 0u);

    // A picture has no surface: the scene stays, empty, and says so when chosen again.
    s.view->OpenByExtension(s.WritePicture("pic.png"));
    s.view->WaitForComputation();
    EXPECT_EQ(multiple->GetContents(), nullptr);
    ASSERT_TRUE(s.view->ChooseScene("KcOrthoScene"));
    EXPECT_TRUE(s.frame->Message().contains(QStringLiteral("没有可显示的曲面")));

    EXPECT_FALSE(s.view->ChooseScene("KcNoSuchScene"));
    EXPECT_EQ(api->FindEntity("KicSceneControl"), nullptr);
    EXPECT_TRUE(s.luneth->IsImageViewShown());
    EXPECT_TRUE(s.luneth->GetImageControl()->IsVisible());
    EXPECT_EQ(grid->GetAxisColor(), 0xFF808080u);  // the grid's colours are back
    s.Close();
    EXPECT_EQ(s.Log().find("not destroyed"), std::string::npos) << s.Log();
}

TEST(BriselScenes, ASceneOfTheConfigurationIsTheChosenOne) {
    BriselSession s(brisel::CBriselView::Mode::Headless,
                    std::string(kModules) + "Scenes=KcZAxisScene\n");
    EXPECT_EQ(s.view->Scenes()->Current(), QStringLiteral("KcZAxisScene"));
    EXPECT_FALSE(s.luneth->IsImageViewShown());
    const std::vector<QAction*>& items = s.frame->SceneActions();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_TRUE(items[4]->isChecked());
    items[0]->trigger();  // none: the image view again
    EXPECT_EQ(KivEngineGetAPI()->FindEntity("KicSceneControl"), nullptr);
    EXPECT_TRUE(s.luneth->IsImageViewShown());
    EXPECT_TRUE(items[0]->isChecked());
}
