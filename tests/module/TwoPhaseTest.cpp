// Computing in two phases, cancels at every point, the texts pictures carry and their formats.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "module/LunethSession.h"
#include "module/PictureTexts.h"

using lunethtest::Calls;
using lunethtest::LunethSession;

namespace {

const std::string kFirst = "pixels = width:16 height:8\nx = from 0 to 1 W\nr = x\ng = 1 - x";
const std::string kSecond = "pixels = width:8 height:8\ny = from 0 to 1 H\nb = y";

bool LoadText(ILuneth* l, const std::string& text) {
    return l->LoadScriptText(text.data(), int(text.size()));
}

// Cancels the image object at the first progress report when armed.
struct CancelAtFirstReport {
    ILuneth* luneth = nullptr;
    static void Report(void* user, int64_t, int64_t) {
        auto* self = static_cast<CancelAtFirstReport*>(user);
        if (self->luneth) self->luneth->CancelComputation();
    }
};

}  // namespace

TEST(TwoPhases, TheImageStaysUntilTheResultIsTaken) {
    LunethSession s;
    ASSERT_TRUE(LoadText(s.luneth, kFirst));
    const std::vector<uint32_t> before = s.Texels();
    ASSERT_TRUE(s.luneth->BeginLoadScriptText(kSecond.data(), int(kSecond.size())));
    EXPECT_TRUE(s.luneth->IsComputing());
    // One computation at a time, whatever asks.
    EXPECT_FALSE(s.luneth->BeginEquation(1));
    EXPECT_FALSE(s.luneth->ComputeEquation(1));
    EXPECT_FALSE(LoadText(s.luneth, kFirst));
    std::thread worker([&] { s.luneth->ComputePending(); });
    worker.join();
    EXPECT_EQ(s.Texels(), before);
    EXPECT_EQ(Calls().size(), 1u);
    EXPECT_TRUE(s.luneth->FinishComputation());
    EXPECT_FALSE(s.luneth->IsComputing());
    EXPECT_EQ(s.luneth->GetScriptLineCount(), 3);
    EXPECT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls().back().width, 8);
    EXPECT_FALSE(s.luneth->FinishComputation());  // nothing begun
    EXPECT_EQ(s.TimerDepth(), 0);
}

TEST(TwoPhases, ACancelAtAnyPointKeepsThePreviousImageAndStream) {
    LunethSession s;
    const std::string picture = s.MakePicture("p.png");
    const std::string slow =
        "pixels = width:256 height:256\nx = from 0 to 1 W\nr = sin(x)\n"
        "g = cos(x)\nb = r * g";
    const struct {
        const char* what;
        std::function<bool(ILuneth*)> begin;
        bool reports;  // the computation reports progress before it ends
    } requests[] = {
        {"script",
         [&](ILuneth* l) { return l->BeginLoadScriptText(slow.data(), int(slow.size())); }, true},
        {"reload", [](ILuneth* l) { return l->BeginReload(); }, true},
        {"equation", [](ILuneth* l) { return l->BeginEquation(3); }, true},
        {"picture", [&](ILuneth* l) { return l->BeginLoadPicture(picture.c_str()); }, false},
    };
    CancelAtFirstReport canceller;
    s.luneth->SetProgressCallback(CancelAtFirstReport::Report, &canceller);
    for (const auto& r : requests) {
        for (bool atReport : {false, true}) {
            if (atReport && !r.reports) continue;
            canceller.luneth = nullptr;
            ASSERT_TRUE(LoadText(s.luneth, kFirst));
            const std::vector<uint32_t> before = s.Texels();
            const uint32_t random = s.luneth->GetRandomState();
            const size_t calls = Calls().size();
            ASSERT_TRUE(r.begin(s.luneth)) << r.what;
            if (atReport)
                canceller.luneth = s.luneth;
            else
                s.luneth->CancelComputation();
            s.luneth->ComputePending();
            EXPECT_FALSE(s.luneth->FinishComputation()) << r.what << " " << atReport;
            EXPECT_TRUE(s.luneth->WasCancelled()) << r.what;
            EXPECT_EQ(s.Texels(), before) << r.what;
            EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript) << r.what;
            EXPECT_STREQ(s.luneth->GetImageName(), "No Name") << r.what;
            EXPECT_EQ(s.luneth->GetScriptLineCount(), 4) << r.what;
            EXPECT_EQ(s.luneth->GetRandomState(), random) << r.what;
            EXPECT_EQ(Calls().size(), calls) << r.what;
        }
    }
    EXPECT_EQ(s.TimerDepth(), 0);
}

TEST(PictureTexts, PicturesCarryWhatMakesThemAgain) {
    LunethSession s("MemoryBudgetMiB=2\n");
    s.luneth->SetProgramName("test 9.9");
    const std::string utf8 = "# Ringe – 环\n" + kFirst;
    std::string latin1 = "# Ringe \xB0\n" + kFirst;
    latin1 += std::string("\0;b = 0.5", 9);  // a NUL separates lines too
    s.luneth->SetPictureGrid(32, 16, 8, 4, 16, 8);
    ASSERT_TRUE(s.luneth->SetScriptDefine("t", 0.1f));
    const struct {
        std::string script;
        const char* key;
    } scripts[] = {{utf8, luneth::kTextScript}, {latin1, luneth::kTextScriptBytes}};
    for (const auto& c : scripts) {
        const uint32_t random = s.luneth->GetRandomState();
        ASSERT_TRUE(LoadText(s.luneth, c.script));
        const std::string path = s.Path("script.png");
        ASSERT_TRUE(s.luneth->SaveImage(path.c_str()));
        ASSERT_TRUE(s.luneth->LoadPictureFile(path.c_str()));
        EXPECT_NE(s.luneth->GetPictureText(c.key), nullptr);
        int length = 0;
        const char* carried = s.luneth->GetPictureScript(&length);
        ASSERT_NE(carried, nullptr);
        EXPECT_EQ(std::string(carried, size_t(length)), c.script);
        EXPECT_STREQ(s.luneth->GetPictureText(luneth::kTextSoftware), "test 9.9");
        EXPECT_STREQ(s.luneth->GetPictureText(luneth::kTextRandom), std::to_string(random).c_str());
        EXPECT_STREQ(s.luneth->GetPictureText(luneth::kTextSize), "32x16");
        EXPECT_STREQ(s.luneth->GetPictureText(luneth::kTextRegion), "8,4,16,8");
        EXPECT_STREQ(s.luneth->GetPictureText(luneth::kTextDefines), "t=0.100000001");
    }
    // Names no script can assign are refused.
    for (const char* name : {"", "sin", "2x", "a b", "SixteenCharsLong", "x+y"})
        EXPECT_FALSE(s.luneth->SetScriptDefine(name, 1.0f)) << name;

    // An equation: its name and every named parameter; within the memory budget only as a
    // rectangle (a whole 1024 x 1024 picture needs 4 MiB).
    s.luneth->SetPictureGrid(0, 0, 0, 0, 0, 0);
    int index = s.EquationWithParams(2);
    ASSERT_GE(index, 0);
    luneth::IPixelEquation* equation = s.luneth->GetEquation(index);
    ASSERT_GT(uint64_t(equation->width) * equation->height * 4, 2u << 20);
    EXPECT_FALSE(s.luneth->ComputeEquation(index));
    EXPECT_NE(std::strstr(s.luneth->GetComputeError(), "more than the memory budget of 2 MiB"),
              nullptr);
    s.luneth->SetPictureGrid(0, 0, 0, 0, 64, 32);
    ASSERT_TRUE(s.luneth->ComputeEquation(index));
    EXPECT_STREQ(s.luneth->GetComputeError(), "");
    const std::string path = s.Path("equation.png");
    ASSERT_TRUE(s.luneth->SaveImage(path.c_str()));
    ASSERT_TRUE(s.luneth->LoadPictureFile(path.c_str()));
    EXPECT_STREQ(s.luneth->GetPictureText(luneth::kTextEquation), equation->GetName());
    luneth::NamedValues params;
    ASSERT_TRUE(luneth::ParseValues(s.luneth->GetPictureText(luneth::kTextParameters), &params));
    ASSERT_GE(params.size(), 2u);
    EXPECT_EQ(params[1], std::make_pair(std::string("1"), equation->params[1]));
    int length = 0;
    EXPECT_EQ(s.luneth->GetPictureScript(&length), nullptr);
}

TEST(PictureTexts, FormatsReadBackExactlyAndRefuseWhatIsNotThem) {
    uint32_t w = 0, h = 0, rect[4];
    EXPECT_TRUE(luneth::ParseSize("16384x7", &w, &h));
    EXPECT_EQ(w * 10000 + h, 163840007u);
    EXPECT_TRUE(luneth::ParseRect("0,1,2,3", rect));
    EXPECT_EQ(luneth::FormatRect(rect), "0,1,2,3");
    for (const char* bad : {"", "16x", "x7", "-1x2", "1x2x3", "1 x2", "4294967296x1"})
        EXPECT_FALSE(luneth::ParseSize(bad, &w, &h)) << bad;
    for (const char* bad : {"1,2,3", "1,2,3,4,", "1,,3,4", "a,b,c,d"})
        EXPECT_FALSE(luneth::ParseRect(bad, rect)) << bad;

    const luneth::NamedValues values = {{"t", 0.1f}, {"Speed", -3.4028235e38f}, {"e", 1e-45f}};
    luneth::NamedValues back;
    ASSERT_TRUE(luneth::ParseValues(luneth::FormatValues(values).c_str(), &back));
    EXPECT_EQ(back, values);
    for (const char* bad : {"t", "=1", "t=", "t=1x", "t=nan", "t=1  u=2"})
        EXPECT_FALSE(luneth::ParseValues(bad, &back)) << bad;

    for (std::string bytes : {std::string(), std::string("a"), std::string("ab"),
                              std::string("\0\xFF\x80", 3), std::string("four")}) {
        std::string decoded = "junk";
        ASSERT_TRUE(luneth::Base64Decode(luneth::Base64Encode(bytes), &decoded));
        EXPECT_EQ(decoded, bytes);
    }
    EXPECT_EQ(luneth::Base64Encode("ab"), "YWI=");
    std::string out;
    for (const char* bad : {"YWI", "Y=WI", "YW=I", "YW*=", "YQ==YQ=="})
        EXPECT_FALSE(luneth::Base64Decode(bad, &out)) << bad;

    const struct {
        std::string text;
        bool utf8;
    } texts[] = {{"plain", true},
                 {"\xE7\x8E\xAF", true},
                 {"\xF0\x9F\x99\x82", true},
                 {"\xB0", false},
                 {"\xC0\x80", false},
                 {"\xE0\x80\x80", false},
                 {"\xED\xA0\x80", false},
                 {"\xF4\x90\x80\x80", false},
                 {"\xE7\x8E", false},
                 {std::string("a\0b", 3), false}};
    for (const auto& t : texts) EXPECT_EQ(luneth::IsUtf8Text(t.text), t.utf8) << t.text;
}

TEST(PictureTexts, AReusedAccumulationNamesTheStateItWasDrawnFrom) {
    LunethSession s;
    const int pentagon = 159;  // a chaos game: accumulated from random numbers, then reused
    ASSERT_TRUE(s.luneth->ComputeEquation(pentagon));
    const std::string drawnFrom = s.luneth->GetPictureText(luneth::kTextRandom);
    EXPECT_NE(std::to_string(s.luneth->GetRandomState()), drawnFrom);
    const uint32_t before = s.luneth->GetRandomState();
    LoadText(s.luneth, "vertices = 100\nx = from 1 to 2\nr = rand(x)");  // the stream moves on
    ASSERT_NE(s.luneth->GetRandomState(), before);
    ASSERT_TRUE(s.luneth->ComputeEquation(pentagon));
    EXPECT_EQ(s.luneth->GetPictureText(luneth::kTextRandom), drawnFrom);
}
