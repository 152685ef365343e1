// Window messages (resize, keys, dropped files) and the image panel: its texts, layout,
// refreshes and events.
#include <gtest/gtest.h>

#include <cstdio>

#include "kiv/messages.h"
#include "module/LunethSession.h"

using lunethtest::Calls;
using lunethtest::LunethSession;

namespace {

void Key(LunethSession& s, int key, uint32_t keyState = 0) {
    s.api->DispatchMessage(WM_KEYDOWN, uintptr_t(key), 0, keyState);
}

// Drops one path; whether the drop was finished.
bool Drop(LunethSession& s, const std::string& path) {
    const char* paths[] = {path.c_str()};
    KivDropFiles drop{paths, 1, false};
    s.api->DispatchMessage(WM_DROPFILES, reinterpret_cast<uintptr_t>(&drop), 0, 0);
    return drop.finished;
}

}  // namespace

// ---------------------------------------------------------------- keys

TEST(LunethKeys, ChannelKeysToggleBackToNormal) {
    LunethSession s;
    KcImageControl* image = s.luneth->GetImageControl();
    const std::pair<char, int> keys[] = {{'T', 1}, {'R', 2}, {'G', 3},
                                         {'B', 4}, {'A', 5}, {'I', 6}};
    for (auto [key, view] : keys) {
        Key(s, key);
        EXPECT_EQ(image->GetChannelView(), view) << key;
        EXPECT_EQ(s.panel->ChannelBox()->GetSelection(), view);
        Key(s, key);
        EXPECT_EQ(image->GetChannelView(), 0) << key;
        EXPECT_EQ(s.panel->ChannelBox()->GetSelection(), 0);
    }
    Key(s, 'T');
    Key(s, 'R');  // another mode switches straight to it
    EXPECT_EQ(image->GetChannelView(), 2);
    Key(s, 'T' + 0x100);  // not a key of ours, whatever its low byte says
    EXPECT_EQ(image->GetChannelView(), 2);
}

TEST(LunethKeys, FilterKeysSetZeroOneAndTwo) {
    LunethSession s;
    KcImageControl* image = s.luneth->GetImageControl();
    Key(s, '2');
    EXPECT_EQ(image->GetFilterType(), 1);
    EXPECT_EQ(s.panel->FilterBox()->GetSelection(), 1);
    Key(s, '3');  // the panel names only the first two
    EXPECT_EQ(image->GetFilterType(), 2);
    EXPECT_EQ(s.panel->FilterBox()->GetSelection(), -1);
    Key(s, '1');
    EXPECT_EQ(image->GetFilterType(), 0);
    EXPECT_EQ(s.panel->FilterBox()->GetSelection(), 0);
}

TEST(LunethKeys, FitOriginalAndReloadUnlessCtrlIsHeld) {
    LunethSession s;
    ASSERT_TRUE(s.luneth->ComputeEquation(0));  // 1024 x 1024 at one texel a pixel
    KcGridScene2D* grid = s.luneth->GetGridScene();
    Key(s, 'F', kKivKeyControl);
    EXPECT_EQ(grid->GetScale(), 1.0f);
    Key(s, 'F');
    EXPECT_FLOAT_EQ(grid->GetScale(), 720.0f / 1024.0f);
    Key(s, 'O', kKivKeyControl | kKivKeyShift);
    EXPECT_FLOAT_EQ(grid->GetScale(), 720.0f / 1024.0f);
    Key(s, 'O', kKivKeyShift);
    EXPECT_EQ(grid->GetScale(), 1.0f);
    Calls().clear();
    Key(s, 'K', kKivKeyControl);
    EXPECT_TRUE(Calls().empty());
    Key(s, 'K');
    EXPECT_EQ(Calls().size(), 1u);
}

TEST(LunethKeys, EscapeAsksToExitUnlessTheGameKeepsIt) {
    {
        LunethSession s;
        s.luneth->SetGameFlags(s.luneth->GetGameFlags() | 0x4);
        Key(s, VK_ESCAPE);
        EXPECT_FALSE(s.api->IsExitRequested());
    }
    LunethSession s;
    Key(s, VK_ESCAPE);
    EXPECT_TRUE(s.api->IsExitRequested());
    EXPECT_FALSE(KivEngineFrame());
}

TEST(LunethKeys, UTogglesTheWholePanel) {
    LunethSession s;
    int index = s.EquationWithParams(1);
    ASSERT_GE(index, 0);
    ASSERT_TRUE(s.luneth->ComputeEquation(index));
    ASSERT_TRUE(s.panel->ResetButton()->IsVisible());
    Key(s, 'U');
    EXPECT_FALSE(s.luneth->IsPanelVisible());
    EXPECT_FALSE(s.panel->TypeText()->IsVisible());
    EXPECT_FALSE(s.panel->ParamLabel(0)->IsVisible());
    EXPECT_FALSE(s.panel->ResetButton()->IsVisible());
    Key(s, 'U');
    EXPECT_TRUE(s.luneth->IsPanelVisible());
    EXPECT_TRUE(s.panel->EquationList()->IsVisible());
    EXPECT_TRUE(s.panel->ParamLabel(0)->IsVisible());
    EXPECT_TRUE(s.panel->ResetButton()->IsVisible());
    s.luneth->ShowPanel(false);
    EXPECT_FALSE(s.panel->FitButton()->IsVisible());
}

TEST(LunethMessages, ResizeChangesTheSurfaceAndTheRightColumn) {
    LunethSession s;
    s.api->DispatchMessage(WM_SIZE, 0, KivMakeLParam(1000, 600), 0);
    EXPECT_EQ(s.luneth->GetRender()->GetSurfaceWidth(), 1000);
    EXPECT_EQ(s.luneth->GetRender()->GetSurfaceHeight(), 600);
    KivRect list = s.panel->EquationList()->GetRect();
    EXPECT_EQ(list.left, 792.0f);
    EXPECT_EQ(list.right, 992.0f);
    EXPECT_EQ(list.bottom, 332.0f);
    s.api->DispatchMessage(WM_SIZE, 0, KivMakeLParam(0, 0), 0);  // minimised: kept
    EXPECT_EQ(s.luneth->GetRender()->GetSurfaceWidth(), 1000);
}

// ---------------------------------------------------------------- drops

TEST(LunethDrops, PictureExtensionsLoadPicturesWhateverTheirCase) {
    LunethSession s;
    std::string png = s.MakePicture("UPPER.PNG");
    EXPECT_TRUE(Drop(s, png));
    EXPECT_EQ(s.luneth->GetImageType(), kImagePictureFile);
    std::string dds = s.MakePicture("mixed.DdS");
    EXPECT_TRUE(Drop(s, dds));
    EXPECT_STREQ(s.luneth->GetImageName(), "mixed.DdS");
    EXPECT_EQ(s.luneth->GetImageType(), kImagePictureFile);
    // ".jpeg" is saved as a picture, so it opens as one too.
    EXPECT_TRUE(Drop(s, s.MakePicture("long.jpeg")));
    EXPECT_EQ(s.luneth->GetImageType(), kImagePictureFile);
}

TEST(LunethDrops, OtherExtensionsLoadScriptsAndNoExtensionDoesNothing) {
    LunethSession s;
    for (const char* name : {"a.txt", "b.dat"}) {
        kivtest::WriteFile(s.dir / name, "pixels = width:2 height:2; r = from 0 to 1 W");
        s.luneth->UnloadImage();
        EXPECT_TRUE(Drop(s, s.Path(name)));
        EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript) << name;
        EXPECT_STREQ(s.luneth->GetImageName(), name);
    }
    Calls().clear();
    for (std::string path : {s.Path("noextension"), s.Path("dotted.dir/file"), s.Path("end.")}) {
        EXPECT_TRUE(Drop(s, path)) << path;
        EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript);
        EXPECT_STREQ(s.luneth->GetImageName(), "b.dat");
    }
    EXPECT_TRUE(Calls().empty());
}

TEST(LunethDrops, DisabledDropsAreLeftToTheHost) {
    LunethSession s;
    s.luneth->SetDropFilesEnabled(false);
    EXPECT_FALSE(s.luneth->IsDropFilesEnabled());
    std::string png = s.MakePicture("x.png");
    EXPECT_FALSE(Drop(s, png));
    EXPECT_EQ(s.luneth->GetImageType(), kImageNone);
    EXPECT_TRUE(Calls().empty());
    // An empty drop and a very long path are handled without harm.
    s.luneth->SetDropFilesEnabled(true);
    KivDropFiles none{nullptr, 0, false};
    s.api->DispatchMessage(WM_DROPFILES, reinterpret_cast<uintptr_t>(&none), 0, 0);
    EXPECT_TRUE(none.finished);
    EXPECT_TRUE(Drop(s, std::string(300, 'a') + ".png"));
    EXPECT_EQ(s.luneth->GetImageType(), kImageNone);
}

// ---------------------------------------------------------------- panel

TEST(LunethPanel, ControlsHaveTheirTextsAndPlaces) {
    LunethSession s;
    CLunethUI* p = s.panel;
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->IsVisible());
    EXPECT_STREQ(p->TypeText()->GetText(), "Invalid");
    EXPECT_STREQ(p->SizeText()->GetText(), "Width:0, Height:0");
    EXPECT_STREQ(p->CostText()->GetText(), "Cost Time: 0.000");
    const char* channels[] = {"Normal(N)",  "Alpha_Able(T)", "Color_R(R)", "Color_G(G)",
                              "Color_B(B)", "Color_A(A)",    "Inverse(I)"};
    ASSERT_EQ(p->ChannelBox()->GetItemCount(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_STREQ(p->ChannelBox()->GetItemText(i), channels[i]);
    EXPECT_STREQ(p->FilterBox()->GetItemText(1), "Linear");
    EXPECT_EQ(p->ChannelBox()->GetSelection(), 0);
    EXPECT_EQ(p->FilterBox()->GetSelection(), 0);
    EXPECT_FALSE(p->DefaultFitBox()->IsChecked());
    EXPECT_STREQ(p->DefaultFitBox()->GetText(), "Image Default Fit");
    EXPECT_STREQ(p->FitButton()->GetText(), "Image Fit Size(F)");
    EXPECT_STREQ(p->OriginalSizeButton()->GetText(), "Image Original Size(O)");
    EXPECT_STREQ(p->ReloadButton()->GetText(), "Reload Texture(K)");
    EXPECT_STREQ(p->ResetButton()->GetText(), "Reset Default Params");

    struct Place {
        KcControl2D* control;
        float top, bottom;
    } left[] = {{p->TypeText(), 32, 52},      {p->SizeText(), 56, 76},
                {p->CostText(), 80, 100},     {p->ChannelBox(), 132, 276},
                {p->FilterBox(), 308, 352},   {p->DefaultFitBox(), 360, 380},
                {p->FitButton(), 384, 404},   {p->OriginalSizeButton(), 408, 428},
                {p->ReloadButton(), 436, 456}};
    for (const Place& place : left) {
        KivRect r = place.control->GetRect();
        EXPECT_EQ(r.left, 8.0f);
        EXPECT_EQ(r.right, 168.0f);
        EXPECT_EQ(r.top, place.top) << place.control->GetText();
        EXPECT_EQ(r.bottom, place.bottom) << place.control->GetText();
    }
    auto* title = static_cast<KcStaticText*>(p->TypeText());
    EXPECT_EQ(title->GetBackColor(), 0x80808080u);
    EXPECT_EQ(title->GetTextColor(), 0xFFFF8040u);
    EXPECT_EQ(title->GetFrameWidth(), 2.0f);
    EXPECT_EQ(p->ParamLabel(3)->GetTextColor(), 0xFFFF8040u);
    EXPECT_EQ(p->ParamLabel(3)->GetFrameWidth(), 0.0f);
    float lo, hi;
    p->ParamEditor(5)->GetRange(&lo, &hi);
    EXPECT_EQ(lo, -360.0f);
    EXPECT_EQ(hi, 360.0f);
    EXPECT_EQ(p->ParamEditor(5)->GetStep(), 0.001f);

    // The right column of a 1280 x 720 surface.
    KivRect list = p->EquationList()->GetRect();
    EXPECT_EQ(list.left, 1072.0f);
    EXPECT_EQ(list.right, 1272.0f);
    EXPECT_EQ(list.top, 32.0f);
    EXPECT_EQ(list.bottom, 392.0f);
    EXPECT_EQ(p->ResetButton()->GetRect().top, 396.0f);
    EXPECT_EQ(p->ParamLabel(0)->GetRect().top, 420.0f);
    EXPECT_EQ(p->ParamEditor(0)->GetRect().top, 444.0f);
    EXPECT_EQ(p->ParamLabel(1)->GetRect().top, 468.0f);
    EXPECT_EQ(p->ParamEditor(5)->GetRect().bottom, 704.0f);
}

TEST(LunethPanel, TheEquationListRunsToTheFirstEmptySlot) {
    LunethSession s;
    KcListBox* list = s.panel->EquationList();
    int expected = 0;
    while (expected < 512 && s.luneth->GetEquation(expected)) ++expected;
    ASSERT_EQ(list->GetItemCount(), expected);
    ASSERT_GT(expected, 0);
    EXPECT_STREQ(list->GetItemText(0), "[0] Black");
    char last[96];
    std::snprintf(last, sizeof last, "[%d] %s", expected - 1,
                  s.luneth->GetEquation(expected - 1)->GetName());
    EXPECT_STREQ(list->GetItemText(expected - 1), last);
    EXPECT_EQ(list->GetSelection(), -1);
}

TEST(LunethPanel, InformationFollowsEveryLoad) {
    LunethSession s;
    ASSERT_TRUE(s.luneth->ComputeEquation(1));
    char cost[64];
    std::snprintf(cost, sizeof cost, "Cost Time: %0.3f", double(s.luneth->GetCostTime()));
    EXPECT_STREQ(s.panel->TypeText()->GetText(), "Pixel Equation");
    EXPECT_STREQ(s.panel->SizeText()->GetText(), "Width:1024, Height:1024");
    EXPECT_STREQ(s.panel->CostText()->GetText(), cost);
    EXPECT_EQ(s.panel->EquationList()->GetSelection(), 1);
    std::string picture = s.MakePicture("p.png", 5, 3);
    ASSERT_TRUE(s.luneth->LoadPictureFile(picture.c_str()));
    EXPECT_STREQ(s.panel->TypeText()->GetText(), "Picture File");
    EXPECT_STREQ(s.panel->SizeText()->GetText(), "Width:5, Height:3");
    EXPECT_EQ(s.panel->EquationList()->GetSelection(), -1);
    for (int i = 0; i < CLunethUI::kParamRows; ++i)
        EXPECT_FALSE(s.panel->ParamLabel(i)->IsVisible());
    EXPECT_FALSE(s.panel->ResetButton()->IsVisible());
    ASSERT_TRUE(s.luneth->LoadScriptText("pixels = width:3 height:2; r = from 0 to 1 W", 44));
    EXPECT_STREQ(s.panel->TypeText()->GetText(), "Math Script");
}

TEST(LunethPanel, SelectingAListLineComputesThatEquation) {
    LunethSession s;
    KcListBox* list = s.panel->EquationList();
    ASSERT_GT(list->GetItemCount(), 2);
    list->SetSelection(2);
    EXPECT_EQ(s.luneth->GetImageType(), kImagePixelEquation);
    EXPECT_EQ(s.luneth->GetEquationIndex(), 2);
    EXPECT_EQ(Calls().size(), 1u);
    // An equation without parameters shows no rows and no reset button.
    for (int i = 0; i < CLunethUI::kParamRows; ++i) {
        EXPECT_FALSE(s.panel->ParamLabel(i)->IsVisible());
        EXPECT_FALSE(s.panel->ParamEditor(i)->IsVisible());
    }
    EXPECT_FALSE(s.panel->ResetButton()->IsVisible());
}

TEST(LunethPanel, ParameterRowsShowNamesRangesAndClampedValues) {
    LunethSession s;
    int index = s.EquationWithParams(2);
    ASSERT_GE(index, 0);
    luneth::IPixelEquation* e = s.luneth->GetEquation(index);
    ASSERT_TRUE(s.luneth->ComputeEquation(index));
    int rows = 0;
    for (int i = 0; i < CLunethUI::kParamRows; ++i) {
        const char* name = e->GetParamName(uint32_t(i));
        EXPECT_EQ(s.panel->ParamLabel(i)->IsVisible(), name != nullptr) << i;
        EXPECT_EQ(s.panel->ParamEditor(i)->IsVisible(), name != nullptr) << i;
        if (!name) continue;
        ++rows;
        EXPECT_STREQ(s.panel->ParamLabel(i)->GetText(), name);
        float lo, hi, step, elo, ehi;
        e->GetParamRange(uint32_t(i), &lo, &hi, &step);
        s.panel->ParamEditor(i)->GetRange(&elo, &ehi);
        EXPECT_EQ(elo, lo);
        EXPECT_EQ(ehi, hi);
        EXPECT_EQ(s.panel->ParamEditor(i)->GetStep(), step);
        char text[64];
        std::snprintf(text, sizeof text, "%f", double(std::clamp(e->params[i], lo, hi)));
        EXPECT_STREQ(s.panel->ParamEditor(i)->GetText(), text);
    }
    EXPECT_GE(rows, 2);
    EXPECT_TRUE(s.panel->ResetButton()->IsVisible());
}

TEST(LunethPanel, ReflectedWavesShowsItsWaveSize) {
    LunethSession s;
    luneth::IPixelEquation* e = s.luneth->GetEquation(72);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(e->GetName(), "Reflected Waves");
    ASSERT_TRUE(s.luneth->ComputeEquation(72));
    EXPECT_STREQ(s.panel->ParamLabel(0)->GetText(), "Wave Size");
    EXPECT_STREQ(s.panel->ParamEditor(0)->GetText(), "8000.000000");
    EXPECT_FALSE(s.panel->ParamLabel(1)->IsVisible());
    EXPECT_TRUE(s.panel->ResetButton()->IsVisible());
}

TEST(LunethPanel, EditingAParameterWaitsForReloadAndResetRestoresIt) {
    LunethSession s;
    int index = s.EquationWithParams(1);
    ASSERT_GE(index, 0);
    luneth::IPixelEquation* e = s.luneth->GetEquation(index);
    e->ResetParams();  // some rows reset to another value than they start with
    ASSERT_TRUE(s.luneth->ComputeEquation(index));
    std::vector<uint32_t> before = s.Texels();
    float original = e->params[0];
    KcEditValueSpinFloat* editor = s.panel->ParamEditor(0);
    float lo, hi;
    editor->GetRange(&lo, &hi);
    float changed = original == hi ? lo : hi;
    Calls().clear();
    editor->SetValue(changed);
    EXPECT_EQ(e->params[0], changed);
    EXPECT_TRUE(Calls().empty());  // no recomputation
    EXPECT_EQ(s.Texels(), before);
    s.panel->ReloadButton()->Click();
    EXPECT_EQ(Calls().size(), 1u);
    EXPECT_EQ(e->params[0], changed);
    s.panel->ResetButton()->Click();
    EXPECT_EQ(e->params[0], original);
    char text[64];
    std::snprintf(text, sizeof text, "%f", double(std::clamp(original, lo, hi)));
    EXPECT_STREQ(editor->GetText(), text);
    EXPECT_EQ(Calls().size(), 1u);  // reset does not recompute either
}

TEST(LunethPanel, BoxesAndButtonsDriveTheImageObject) {
    LunethSession s;
    ASSERT_TRUE(s.luneth->ComputeEquation(0));
    s.panel->ChannelBox()->SetSelection(5);
    EXPECT_EQ(s.luneth->GetImageControl()->GetChannelView(), 5);
    s.panel->FilterBox()->SetSelection(1);
    EXPECT_EQ(s.luneth->GetImageControl()->GetFilterType(), 1);
    s.panel->DefaultFitBox()->SetChecked(true);
    EXPECT_TRUE(s.luneth->IsDefaultFit());
    s.panel->FitButton()->Click();
    EXPECT_FLOAT_EQ(s.luneth->GetGridScene()->GetScale(), 720.0f / 1024.0f);
    s.panel->OriginalSizeButton()->Click();
    EXPECT_EQ(s.luneth->GetGridScene()->GetScale(), 1.0f);
    // The panel's own refresh writes into the boxes without coming back as events.
    s.luneth->SetDefaultFit(false);
    s.panel->RefreshInfo();
    EXPECT_FALSE(s.panel->DefaultFitBox()->IsChecked());
    EXPECT_FALSE(s.luneth->IsDefaultFit());
    // A load resets the channel view, and the box follows.
    ASSERT_TRUE(s.luneth->ComputeEquation(0));
    EXPECT_EQ(s.panel->ChannelBox()->GetSelection(), 0);
    EXPECT_EQ(s.luneth->GetImageControl()->GetFilterType(), 1);
}
