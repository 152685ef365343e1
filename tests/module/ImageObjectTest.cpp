// The image object: loads of every kind, what each calls back, type transitions, timing,
// script-channel conversion, equations, reloads and the image's place in the grid scene.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "module/LunethSession.h"
#include "module/ScriptChannels.h"

using lunethtest::Calls;
using lunethtest::LunethSession;

namespace {

bool LoadText(CLuneth* l, const std::string& text) {
    return l->LoadScriptText(text.c_str(), int(text.size()));
}

}  // namespace

// ---------------------------------------------------------------- pictures

TEST(ImageObject, PictureLoadsNameTheFileAndReportOnce) {
    LunethSession s;
    std::filesystem::create_directories(s.dir / "dir.with.dots");
    std::string path = s.MakePicture("dir.with.dots/../picture.PNG");
    EXPECT_TRUE(s.luneth->LoadPictureFile(path.c_str()));
    EXPECT_EQ(s.luneth->GetImageType(), kImagePictureFile);
    EXPECT_STREQ(s.luneth->GetPictureFile(), path.c_str());
    EXPECT_STREQ(s.luneth->GetImageName(), "picture.PNG");
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].name, "picture.PNG");
    EXPECT_EQ(Calls()[0].width, 37);
    EXPECT_EQ(Calls()[0].height, 23);
    EXPECT_EQ(Calls()[0].cost, s.luneth->GetCostTime());
    EXPECT_EQ(s.Texels()[size_t(5) * 37 + 7], 0xFF000705u);
    EXPECT_EQ(s.TimerDepth(), 0);
}

TEST(ImageObject, AFailedPictureLoadStillNamesAndReportsWithSizeZero) {
    LunethSession s;
    std::string good = s.MakePicture("good.png");
    ASSERT_TRUE(s.luneth->LoadPictureFile(good.c_str()));
    std::string bad = s.Path("missing.png");
    EXPECT_FALSE(s.luneth->LoadPictureFile(bad.c_str()));
    EXPECT_EQ(s.luneth->GetImageType(), kImageNone);
    EXPECT_EQ(s.luneth->GetTexture(), nullptr);
    EXPECT_EQ(s.luneth->GetPictureFile(), nullptr);
    EXPECT_STREQ(s.luneth->GetImageName(), "missing.png");
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[1].name, "missing.png");
    EXPECT_EQ(Calls()[1].width, 0);
    EXPECT_EQ(Calls()[1].height, 0);
    EXPECT_STREQ(s.panel->TypeText()->GetText(), "Invalid");
    EXPECT_STREQ(s.panel->SizeText()->GetText(), "Width:0, Height:0");
    EXPECT_FALSE(s.luneth->GetImageControl()->IsVisible());
    EXPECT_FALSE(s.luneth->LoadPictureFile(""));
    EXPECT_STREQ(s.luneth->GetImageName(), "");
    EXPECT_FALSE(s.luneth->LoadPictureFile(s.dir.c_str()));  // a directory
    EXPECT_EQ(s.TimerDepth(), 0);
}

TEST(ImageObject, LongNamesAreCutAtACharacterBoundary) {
    LunethSession s;
    // 62 ASCII bytes, then a two-byte character that would end at byte 64.
    std::string name = std::string(62, 'n') + "\xC3\xA9.png";
    std::string path = s.MakePicture(name);
    EXPECT_TRUE(s.luneth->LoadPictureFile(path.c_str()));
    EXPECT_EQ(std::string(s.luneth->GetImageName()), std::string(62, 'n'));
    std::string longer = s.MakePicture(std::string(80, 'x') + ".png");
    EXPECT_TRUE(s.luneth->LoadPictureFile(longer.c_str()));
    EXPECT_EQ(std::strlen(s.luneth->GetImageName()), 63u);
}

// ---------------------------------------------------------------- scripts

TEST(ImageObject, ScriptChannelsBecomeBytesByTruncation) {
    LunethSession s;
    ASSERT_TRUE(LoadText(s.luneth,
                         "pixels = width:5 height:2\n"
                         "r = from -0.5 to 1.5 W\n"
                         "g = 0.25\n"
                         "b = from 1.5 to -0.5 W\n"));
    std::vector<uint32_t> t = s.Texels();
    ASSERT_EQ(t.size(), 10u);
    const uint32_t red[] = {0, 0, 127, 255, 255};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(t[i] >> 24, 255u) << i;  // no a: opaque
        EXPECT_EQ((t[i] >> 16) & 255, red[i % 5]) << i;
        EXPECT_EQ((t[i] >> 8) & 255, 63u) << i;  // a scalar channel fills every pixel
        EXPECT_EQ(t[i] & 255, red[4 - i % 5]) << i;
    }
}

TEST(ImageObject, AlphaComesFromAOnlyWhenItIsAnArray) {
    LunethSession s;
    ASSERT_TRUE(LoadText(s.luneth, "pixels = width:3 height:1; r = from 0 to 1 W; a = 0.25"));
    for (uint32_t texel : s.Texels()) EXPECT_EQ(texel >> 24, 255u);
    ASSERT_TRUE(
        LoadText(s.luneth, "pixels = width:3 height:1; r = from 1 to 1 W; a = from 0 to 1 W"));
    std::vector<uint32_t> t = s.Texels();
    EXPECT_EQ(t[0], 0x00FF0000u);  // g and b unset: 0
    EXPECT_EQ(t[1], 0x7FFF0000u);
    EXPECT_EQ(t[2], 0xFFFF0000u);
}

TEST(ScriptChannels, ArraysShorterThanThePictureArePaddedWithZeros) {
    // r covers the first row of a 4 x 3 picture, g one pixel more; pitch leaves a gap.
    luneth::ScriptValue r, g, b(0.5f), a;
    ASSERT_TRUE(r.SetCount(4));
    ASSERT_TRUE(g.SetCount(5));
    for (int i = 0; i < 4; ++i) r.MutableData()[i] = 1.0f;
    for (int i = 0; i < 5; ++i) g.MutableData()[i] = 0.5f;
    std::vector<uint32_t> texels(6 * 3, 0xDEADBEEFu);
    ASSERT_TRUE(luneth::ConvertScriptChannels(r, g, b, &a, 4, 3, texels.data(), 6));
    EXPECT_EQ(texels[0], 0xFFFF7F7Fu);
    EXPECT_EQ(texels[6], 0xFF007F7Fu);  // second row: r ran out, g has one more
    EXPECT_EQ(texels[7], 0xFF00007Fu);
    EXPECT_EQ(texels[17 - 2], 0xFF00007Fu);
    EXPECT_EQ(texels[4], 0xDEADBEEFu);  // outside the width: untouched
    EXPECT_FALSE(luneth::ConvertScriptChannels(r, g, b, &a, 4, 3, texels.data(), 3));
    EXPECT_FALSE(luneth::ConvertScriptChannels(r, g, b, &a, 0, 3, texels.data(), 6));
}

TEST(ScriptChannels, TheByteRuleAtItsEdges) {
    struct {
        float value;
        uint32_t byte;
    } cases[] = {{-0.5f, 0},  {0.0f, 0},       {0.5f, 127},     {1.0f, 255},
                 {1.5f, 255}, {-0.0f, 0},      {1.0f / 255, 1}, {0.99999994f, 254},
                 {NAN, 0},    {INFINITY, 255}, {-INFINITY, 0},  {1e-40f, 0}};
    for (auto c : cases) EXPECT_EQ(luneth::ChannelByte(c.value), c.byte) << c.value;
}

TEST(ImageObject, ScriptsWithoutAPictureLeaveTypeTwoAndNoTexture) {
    LunethSession s;
    for (const char* text : {"pixels = width:4 height:4; r = 1; g = 0.5; b = 0",  // constants
                             "vertices = 8; r = from 0 to 1 d1",                  // no grid
                             "pixels = width:4 height:4; x = 3"}) {
        Calls().clear();
        EXPECT_FALSE(LoadText(s.luneth, text)) << text;
        EXPECT_TRUE(s.luneth->GetScriptRunResult()) << text;
        EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript);
        EXPECT_EQ(s.luneth->GetTexture(), nullptr);
        ASSERT_EQ(Calls().size(), 1u);
        EXPECT_EQ(Calls()[0].name, "No Name");
        EXPECT_EQ(Calls()[0].width, 0);
    }
    EXPECT_FALSE(s.luneth->LoadScriptText(nullptr, 5));
    EXPECT_FALSE(s.luneth->LoadScriptText("r = 1", 0));
    EXPECT_FALSE(s.luneth->GetScriptRunResult());
    EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript);
    EXPECT_EQ(s.TimerDepth(), 0);
}

TEST(ImageObject, ScriptFilesAreNamedByFileAndFailedOnesStillReport) {
    LunethSession s;
    kivtest::WriteFile(s.dir / "ramp.txt", "pixels = width:8 height:2\r\nr = from 0 to 1 W\r\n");
    kivtest::WriteFile(s.dir / "fatal.txt", "pixels = width:8 height:2\nthis is no assignment\n");
    EXPECT_TRUE(s.luneth->LoadScriptFile(s.Path("ramp.txt").c_str()));
    EXPECT_STREQ(s.luneth->GetImageName(), "ramp.txt");
    EXPECT_EQ(s.luneth->GetScriptLineCount(), 2);
    EXPECT_STREQ(s.luneth->GetScriptLine(1), "r = from 0 to 1 W");
    EXPECT_EQ(s.luneth->GetScriptLine(2), nullptr);
    EXPECT_EQ(s.luneth->GetScriptLine(-1), nullptr);
    char buffer[256];
    const char* expected = "pixels = width:8 height:2\r\nr = from 0 to 1 W\r\n";
    EXPECT_EQ(s.luneth->GetScriptText(buffer, sizeof buffer), int(std::strlen(expected)));
    EXPECT_STREQ(buffer, expected);
    EXPECT_EQ(s.luneth->GetScriptText(buffer, 10), 0);  // the first line does not fit
    EXPECT_EQ(s.luneth->GetScriptText(nullptr, 10), 0);
    int n, w, h;
    s.luneth->GetScriptImageSize(&n, &w, &h);
    EXPECT_EQ(n, 16);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 2);

    EXPECT_FALSE(s.luneth->LoadScriptFile(s.Path("fatal.txt").c_str()));
    EXPECT_FALSE(s.luneth->GetScriptRunResult());
    EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript);
    EXPECT_STREQ(s.luneth->GetImageName(), "fatal.txt");
    EXPECT_NE(std::string(s.luneth->GetScriptMessages()).find("[Warning]"), std::string::npos);
    EXPECT_FALSE(s.luneth->LoadScriptFile(s.Path("nothing.txt").c_str()));
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_EQ(Calls()[1].width, 0);
    EXPECT_EQ(Calls()[2].name, "nothing.txt");
    EXPECT_EQ(s.TimerDepth(), 0);
}

TEST(ImageObject, ScriptTextKeepsTheZoomAndScriptFilesFit) {
    LunethSession s;
    KcGridScene2D* grid = s.luneth->GetGridScene();
    grid->ShowView(100, 100);
    float scale = grid->GetScale();
    ASSERT_TRUE(LoadText(s.luneth, "pixels = width:640 height:360; r = from 0 to 1 W"));
    EXPECT_EQ(grid->GetScale(), scale);
    s.luneth->SetDefaultFit(true);
    kivtest::WriteFile(s.dir / "s.txt", "pixels = width:640 height:360; r = from 0 to 1 W");
    ASSERT_TRUE(s.luneth->LoadScriptFile(s.Path("s.txt").c_str()));
    EXPECT_EQ(grid->GetScale(), 2.0f);  // 640 x 360 fitted into 1280 x 720
    s.luneth->SetDefaultFit(false);
    ASSERT_TRUE(s.luneth->LoadScriptFile(s.Path("s.txt").c_str()));
    EXPECT_EQ(grid->GetScale(), 1.0f);
}

// ---------------------------------------------------------------- equations

TEST(ImageObject, EquationsComputeIntoTheirTexture) {
    LunethSession s;
    luneth::IPixelEquation* e = s.luneth->GetEquation(2);
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(s.luneth->ComputeEquation(2));
    EXPECT_EQ(s.luneth->GetImageType(), kImagePixelEquation);
    EXPECT_EQ(s.luneth->GetEquationIndex(), 2);
    EXPECT_STREQ(s.luneth->GetImageName(), e->GetName());
    std::vector<uint32_t> t = s.Texels();
    ASSERT_EQ(t.size(), size_t(e->width) * e->height);
    for (uint32_t y : {0u, 1u, 517u, e->height - 1})
        for (uint32_t x : {0u, 3u, 700u, e->width - 1})
            ASSERT_EQ(t[size_t(y) * e->width + x], e->GetPixel(x, y)) << x << "," << y;
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].width, int(e->width));
    EXPECT_STREQ(s.panel->TypeText()->GetText(), "Pixel Equation");
}

TEST(ImageObject, AnIndexOf512OrMoreChangesNothing) {
    LunethSession s;
    std::string path = s.MakePicture("keep.png");
    ASSERT_TRUE(s.luneth->LoadPictureFile(path.c_str()));
    Calls().clear();
    KcTexture* texture = s.luneth->GetTexture();
    for (int index : {512, 513, 100000, -1, -512}) {
        EXPECT_FALSE(s.luneth->ComputeEquation(index)) << index;
        EXPECT_EQ(s.luneth->GetImageType(), kImagePictureFile);
        EXPECT_EQ(s.luneth->GetTexture(), texture);
        EXPECT_STREQ(s.luneth->GetImageName(), "keep.png");
        EXPECT_EQ(s.TimerDepth(), 0);
    }
    EXPECT_TRUE(Calls().empty());
}

TEST(ImageObject, AnEmptySlotDropsTheImageWithoutReport) {
    LunethSession s;
    ASSERT_TRUE(s.luneth->ComputeEquation(0));
    Calls().clear();
    int empty = -1;
    for (int i = 0; i < 512 && empty < 0; ++i)
        if (!s.luneth->GetEquation(i)) empty = i;
    ASSERT_GE(empty, 0);
    for (int index : {empty, 511}) {
        EXPECT_FALSE(s.luneth->ComputeEquation(index));
        EXPECT_EQ(s.luneth->GetImageType(), kImageNone);
        EXPECT_EQ(s.luneth->GetTexture(), nullptr);
        EXPECT_EQ(s.luneth->GetEquationIndex(), -1);
        EXPECT_EQ(s.TimerDepth(), 0);
        EXPECT_FALSE(s.luneth->ReloadImage());
    }
    EXPECT_TRUE(Calls().empty());
    EXPECT_STREQ(s.panel->TypeText()->GetText(), "Pixel Equation");  // untouched
}

TEST(ImageObject, TextureFailuresAreFailuresWithBalancedTimers) {
    LunethSession s;
    KicAllocator* a = s.api->GetAllocator();
    a->SetBudget(a->LiveBytes() + 1024);  // no texture can be had
    EXPECT_FALSE(s.luneth->ComputeEquation(0));
    EXPECT_EQ(s.luneth->GetImageType(), kImageNone);
    EXPECT_FALSE(LoadText(s.luneth, "pixels = width:64 height:64; r = from 0 to 1 W"));
    EXPECT_TRUE(s.luneth->GetScriptRunResult());
    EXPECT_EQ(s.luneth->GetTexture(), nullptr);
    EXPECT_FALSE(s.luneth->ReloadImage());
    EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript);
    std::string path = s.Path("never.png");
    EXPECT_FALSE(s.luneth->LoadPictureFile(path.c_str()));
    EXPECT_EQ(s.TimerDepth(), 0);
    a->SetBudget(0);
    EXPECT_TRUE(s.luneth->ComputeEquation(0));
}

// ---------------------------------------------------------------- transitions and reloads

TEST(ImageObject, EveryTypeGoesBackToNoneOnUnload) {
    LunethSession s;
    std::string picture = s.MakePicture("p.bmp");
    auto loads = std::vector<std::pair<int, std::function<bool()>>>{
        {kImagePictureFile, [&] { return s.luneth->LoadPictureFile(picture.c_str()); }},
        {kImageMathScript,
         [&] { return LoadText(s.luneth, "pixels = width:2 height:2; r = from 0 to 1 W"); }},
        {kImagePixelEquation, [&] { return s.luneth->ComputeEquation(1); }},
    };
    for (auto& [type, load] : loads) {
        ASSERT_TRUE(load());
        EXPECT_EQ(s.luneth->GetImageType(), type);
        EXPECT_TRUE(s.luneth->GetImageControl()->IsVisible());
        s.luneth->UnloadImage();
        EXPECT_EQ(s.luneth->GetImageType(), kImageNone);
        EXPECT_EQ(s.luneth->GetEquationIndex(), -1);
        EXPECT_EQ(s.luneth->GetPictureFile(), nullptr);
        EXPECT_STREQ(s.luneth->GetImageName(), "");
        int n = 1, w = 1, h = 1;
        s.luneth->GetTextureSize(&n, &w, &h);
        EXPECT_EQ(n + w + h, 0);
        EXPECT_FALSE(s.luneth->GetImageControl()->IsVisible());
        EXPECT_TRUE(s.luneth->GetImageControl()->IsDisabled());
        EXPECT_EQ(s.luneth->GetImageControl()->GetTexture(), nullptr);
        EXPECT_EQ(s.luneth->GetScriptTextLength(), 0);
        EXPECT_FALSE(s.luneth->SaveImage(s.Path("none.png").c_str()));
        EXPECT_STREQ(s.panel->TypeText()->GetText(), "Invalid");
    }
    EXPECT_FALSE(s.luneth->ReloadImage());
}

TEST(ImageObject, ReloadingAScriptKeepsTypeNameAndChannelView) {
    LunethSession s;
    kivtest::WriteFile(s.dir / "r.txt", "pixels = width:4 height:4; r = from 0 to 1 W; g = 0.5");
    ASSERT_TRUE(s.luneth->LoadScriptFile(s.Path("r.txt").c_str()));
    s.luneth->GetImageControl()->SetChannelView(kKivChannelRed);
    std::vector<uint32_t> first = s.Texels();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(s.luneth->ReloadImage());
        EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript);
        EXPECT_STREQ(s.luneth->GetImageName(), "r.txt");
        EXPECT_EQ(s.Texels(), first);
    }
    EXPECT_EQ(s.luneth->GetImageControl()->GetChannelView(), kKivChannelRed);
    ASSERT_EQ(Calls().size(), 4u);
    EXPECT_EQ(Calls()[3].name, "r.txt");
    EXPECT_EQ(s.TimerDepth(), 0);
}

TEST(ImageObject, ReloadingPicturesAndEquationsLoadsThemAgain) {
    LunethSession s;
    std::string path = s.MakePicture("p.tga");
    ASSERT_TRUE(s.luneth->LoadPictureFile(path.c_str()));
    EXPECT_TRUE(s.luneth->ReloadImage());
    EXPECT_STREQ(s.luneth->GetPictureFile(), path.c_str());
    std::filesystem::remove(path);
    EXPECT_FALSE(s.luneth->ReloadImage());
    EXPECT_EQ(s.luneth->GetImageType(), kImageNone);
    ASSERT_TRUE(s.luneth->ComputeEquation(3));
    s.luneth->GetImageControl()->SetChannelView(kKivChannelInverse);
    EXPECT_TRUE(s.luneth->ReloadImage());
    EXPECT_EQ(s.luneth->GetEquationIndex(), 3);
    EXPECT_EQ(s.luneth->GetImageControl()->GetChannelView(), kKivChannelNormal);
    EXPECT_EQ(Calls().size(), 5u);
}

TEST(ImageObject, SavedImagesLoadBackTheSame) {
    LunethSession s;
    ASSERT_TRUE(LoadText(s.luneth,
                         "pixels = width:33 height:17; r = from 0 to 1 W;"
                         "b = from 1 to 0 H; a = from 0.2 to 1 W"));
    std::vector<uint32_t> made = s.Texels();
    for (const char* name : {"s.png", "s.dds", "s.tga"}) {
        ASSERT_TRUE(s.luneth->SaveImage(s.Path(name).c_str())) << name;
        ASSERT_TRUE(s.luneth->LoadPictureFile(s.Path(name).c_str())) << name;
        EXPECT_EQ(s.Texels(), made) << name;
        ASSERT_TRUE(LoadText(s.luneth,
                             "pixels = width:33 height:17; r = from 0 to 1 W;"
                             "b = from 1 to 0 H; a = from 0.2 to 1 W"));
    }
}

// ---------------------------------------------------------------- placing

TEST(ImageObject, TheImageSitsCentredInTheGridScene) {
    LunethSession s;
    ASSERT_TRUE(s.luneth->ComputeEquation(0));  // 1024 x 1024, one texel a pixel
    KcImageControl* image = s.luneth->GetImageControl();
    KivRect r = image->GetRect();
    EXPECT_EQ(r.left, 640.0f - 512.0f);
    EXPECT_EQ(r.top, 360.0f - 512.0f);
    EXPECT_EQ(r.right, 640.0f + 512.0f);
    EXPECT_EQ(r.bottom, 360.0f + 512.0f);
    EXPECT_EQ(image->GetTexture(), s.luneth->GetTexture());
    s.luneth->FitImageSize();  // 720 / 1024 pixels a texel
    r = image->GetRect();
    EXPECT_FLOAT_EQ(r.bottom - r.top, 720.0f);
    EXPECT_FLOAT_EQ(r.right - r.left, 720.0f);
    // Any view change places the image again.
    s.luneth->GetGridScene()->SetCenter(100.0f, 0.0f);
    EXPECT_FLOAT_EQ(image->GetRect().left, 640.0f - 360.0f - 100.0f * 720.0f / 1024.0f);
    s.luneth->ShowOriginalSize();
    EXPECT_EQ(image->GetRect().left, 128.0f);
}

// ---------------------------------------------------------------- several objects

namespace {

// The texels of a script's picture made by a fresh image object of the running engine.
std::vector<uint32_t> PictureOf(CLuneth& object, const std::string& text) {
    std::vector<uint32_t> texels;
    if (!LoadText(&object, text)) return texels;
    KcTexture* t = object.GetTexture();
    uint32_t pitch = 0;
    void* bits = nullptr;
    if (!t->Lock(0, &pitch, &bits)) return texels;
    for (uint32_t y = 0; y < t->GetHeight(); ++y)
        for (uint32_t x = 0; x < t->GetWidth(); ++x)
            texels.push_back(static_cast<uint32_t*>(bits)[size_t(y) * pitch / 4 + x]);
    t->Unlock();
    return texels;
}

struct FreshObject {
    CLuneth object;
    FreshObject() { object.Initialize(); }
    ~FreshObject() { object.Destroy(); }
};

}  // namespace

// Two image objects computing at the same time on two threads: each has its own letters and
// its own random stream, so each picture is the one it makes alone.
TEST(ImageObjects, TwoObjectsOnTwoThreadsMakeThePicturesTheyMakeAlone) {
    LunethSession s;
    const std::string noisy =
        "pixels = width:256 height:160\nx = from 0.0 to 8.0 W\ny = from 0.0 to 5.0 H\n"
        "r = rand(1)\ng = xor_value_fbm2(x, y, 5) * 0.5 + 0.5\nb = r * g";
    const std::string rings =
        "pixels = width:300 height:200\nx = from -1.5 to 1.5 W\ny = from -1.0 to 1.0 H\n"
        "d = sqrt(x * x + y * y)\n[LOOP START: 3]\nd = d + 0.01 * loop\nLOOP END]\n"
        "r = 0.5 + 0.5 * sin(d * 40)\ng = rand(1) * 0.1\nb = 1 - r";
    std::vector<uint32_t> aloneA, aloneB;
    {
        FreshObject a, b;
        aloneA = PictureOf(a.object, noisy);
        aloneB = PictureOf(b.object, rings);
    }
    ASSERT_EQ(aloneA.size(), 256u * 160u);
    ASSERT_EQ(aloneB.size(), 300u * 200u);
    for (int round = 0; round < 4; ++round) {
        FreshObject a, b;
        a.object.SetThreadCount(2);
        b.object.SetThreadCount(1 + round);
        std::vector<uint32_t> pictureA, pictureB;
        std::thread first([&] { pictureA = PictureOf(a.object, noisy); });
        std::thread second([&] { pictureB = PictureOf(b.object, rings); });
        first.join();
        second.join();
        EXPECT_EQ(pictureA, aloneA) << "round " << round;
        EXPECT_EQ(pictureB, aloneB) << "round " << round;
    }
    EXPECT_EQ(s.TimerDepth(), 0);
}

// ---------------------------------------------------------------- progress and cancel

namespace {

struct ProgressLog {
    std::vector<std::pair<int64_t, int64_t>> reports;
    CLuneth* cancelAfterFirst = nullptr;
    static void Record(void* user, int64_t done, int64_t total) {
        auto* log = static_cast<ProgressLog*>(user);
        log->reports.emplace_back(done, total);
        if (log->cancelAfterFirst) log->cancelAfterFirst->CancelComputation();
    }
    bool MonotonicToTheEnd() const {
        for (size_t i = 1; i < reports.size(); ++i)
            if (reports[i].first <= reports[i - 1].first) return false;
        return !reports.empty() && reports.back().first == reports.back().second;
    }
};

}  // namespace

TEST(ImageObject, ProgressRisesToItsTotalAndACancelKeepsThePreviousImage) {
    LunethSession s;
    ProgressLog log;
    s.luneth->SetProgressCallback(ProgressLog::Record, &log);
    const std::string first =
        "pixels = width:64 height:32\nx = from 0.0 to 1.0 W\nr = x\ng = 1 - x";
    ASSERT_TRUE(LoadText(s.luneth, first));
    EXPECT_TRUE(log.MonotonicToTheEnd());
    const std::vector<uint32_t> before = s.Texels();
    const std::string name = s.luneth->GetImageName();

    // A long script, cancelled at its first report: nothing changes, nothing is reported.
    Calls().clear();
    log = {};
    log.cancelAfterFirst = s.luneth;
    std::string slow = "pixels = width:512 height:512\nx = from 0.0 to 1.0 W\n";
    for (int i = 0; i < 40; ++i) slow += "r = sin(x + " + std::to_string(i) + ")\n";
    EXPECT_FALSE(LoadText(s.luneth, slow));
    EXPECT_TRUE(s.luneth->WasCancelled());
    EXPECT_EQ(log.reports.size(), 1u);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript);
    EXPECT_EQ(s.luneth->GetImageName(), name);
    EXPECT_EQ(s.Texels(), before);
    EXPECT_EQ(s.luneth->GetScriptLineCount(), 4);

    // An equation, cancelled after its first band of rows; then computed whole.
    log = {};
    log.cancelAfterFirst = s.luneth;
    EXPECT_FALSE(s.luneth->ComputeEquation(3));
    EXPECT_EQ(s.Texels(), before);
    log = {};
    EXPECT_TRUE(s.luneth->ComputeEquation(3));
    EXPECT_FALSE(s.luneth->WasCancelled());
    EXPECT_TRUE(log.MonotonicToTheEnd());
    EXPECT_EQ(log.reports.back().second, 1024);
    EXPECT_EQ(s.TimerDepth(), 0);
}
