// Textures in memory and the six picture formats: round trips, DXT decoding, and files that
// must fail to load without harm (empty, truncated, damaged, misnamed, randomly mutated).
#include <gtest/gtest.h>
#include <squish.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "kivcore/EngineSession.h"

using kivtest::EngineSession;

namespace {

struct Pixels {
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> argb;
};

KcTexture* MakeTexture(KcTexturesMgr* mgr, const Pixels& p) {
    KcTexture* t = mgr->CreateTexture(p.width, p.height, 1, kKivFormatA8R8G8B8, kKivPoolManaged);
    if (!t) return nullptr;
    uint32_t pitch = 0;
    void* bits = nullptr;
    EXPECT_TRUE(t->Lock(0, &pitch, &bits));
    for (uint32_t y = 0; y < p.height; ++y)
        std::memcpy(static_cast<char*>(bits) + size_t(pitch) * y, &p.argb[size_t(y) * p.width],
                    size_t(p.width) * 4);
    t->Unlock();
    return t;
}

Pixels ReadTexture(KcTexture* t) {
    Pixels p{t->GetWidth(), t->GetHeight(), {}};
    p.argb.resize(size_t(p.width) * p.height);
    uint32_t pitch = 0;
    void* bits = nullptr;
    EXPECT_TRUE(t->Lock(0, &pitch, &bits));
    for (uint32_t y = 0; y < p.height; ++y)
        std::memcpy(&p.argb[size_t(y) * p.width], static_cast<char*>(bits) + size_t(pitch) * y,
                    size_t(p.width) * 4);
    t->Unlock();
    return p;
}

// A smooth picture (jpg keeps it close) with a pattern in the low bits and varying alpha.
Pixels TestPicture(uint32_t w, uint32_t h, bool opaque) {
    Pixels p{w, h, {}};
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint32_t r = x * 255 / (w - 1), g = y * 255 / (h - 1), b = (x + y) * 127 / (w + h);
            uint32_t a = opaque ? 255 : (x * 7 + y * 13) & 0xFF;
            p.argb.push_back(a << 24 | r << 16 | g << 8 | b);
        }
    return p;
}

int MaxChannelDifference(uint32_t a, uint32_t b) {
    int d = 0;
    for (int s = 0; s < 32; s += 8)
        d = std::max(d, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
    return d;
}

}  // namespace

// ---------------------------------------------------------------- textures

TEST(Texture, CreationRefusesWhatIsNotOneLevelOfA8R8G8B8) {
    EngineSession engine;
    KcTexturesMgr* m = engine.Textures();
    struct Case {
        uint32_t w, h, levels;
        uint32_t format, pool;
    } refused[] = {
        {0, 4, 1, kKivFormatA8R8G8B8, kKivPoolManaged},
        {4, 0, 1, kKivFormatA8R8G8B8, 1},
        {16385, 1, 1, kKivFormatA8R8G8B8, 1},
        {4, 4, 0, kKivFormatA8R8G8B8, 1},
        {4, 4, 2, kKivFormatA8R8G8B8, 1},
        {4, 4, 1, 22, 1},
        {4, 4, 1, kKivFormatA8R8G8B8, 3},
    };
    for (const Case& c : refused)
        EXPECT_EQ(
            m->CreateTexture(c.w, c.h, c.levels, KivTextureFormat(c.format), KivMemoryPool(c.pool)),
            nullptr)
            << c.w << "x" << c.h << " levels " << c.levels << " format " << c.format;
    engine.api->GetAllocator()->SetBudget(engine.api->GetAllocator()->LiveBytes() + 4096);
    EXPECT_EQ(m->CreateTexture(64, 64, 1, kKivFormatA8R8G8B8, kKivPoolManaged), nullptr);
}

TEST(Texture, LockGivesAlignedZeroedRowsOnceAtATime) {
    EngineSession engine;
    size_t blocks = engine.api->GetAllocator()->LiveBlockCount();
    KcTexture* t = engine.Textures()->CreateTexture(37, 5, 1, kKivFormatA8R8G8B8, kKivPoolManaged);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetWidth(), 37u);
    EXPECT_EQ(t->GetHeight(), 5u);
    EXPECT_TRUE(t->IsValid());
    EXPECT_EQ(t->GetClassKind(), kKivKindResource);
    uint32_t pitch = 0;
    void* bits = nullptr;
    EXPECT_FALSE(t->Lock(1, &pitch, &bits));
    ASSERT_TRUE(t->Lock(0, &pitch, &bits));
    EXPECT_EQ(pitch % 16, 0u);
    EXPECT_GE(pitch, 37u * 4);
    EXPECT_FALSE(t->Lock(0, &pitch, &bits));
    const uint8_t* b = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < size_t(pitch) * 5; ++i) ASSERT_EQ(b[i], 0) << i;
    t->Unlock();
    EXPECT_TRUE(t->Lock(0, &pitch, &bits));
    t->Unlock();
    t->AddRef();
    EXPECT_EQ(t->Release(), 1);
    EXPECT_EQ(t->Release(), 0);
    EXPECT_EQ(engine.api->GetAllocator()->LiveBlockCount(), blocks);
}

// ---------------------------------------------------------------- round trips

struct RoundTripCase {
    const char* file;
    bool keepsAlpha;
    int tolerance;
};

class PictureRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(PictureRoundTrip, SavedPixelsComeBack) {
    const RoundTripCase& c = GetParam();
    EngineSession engine;
    Pixels original = TestPicture(37, 23, !c.keepsAlpha);
    KcTexture* t = MakeTexture(engine.Textures(), original);
    ASSERT_NE(t, nullptr);
    std::string path = engine.Path(c.file);
    ASSERT_TRUE(t->SaveToFile(path.c_str()));
    t->Release();

    KcTexture* loaded = engine.Textures()->LoadTexture(path.c_str());
    ASSERT_NE(loaded, nullptr) << c.file;
    Pixels back = ReadTexture(loaded);
    loaded->Release();
    ASSERT_EQ(back.width, original.width);
    ASSERT_EQ(back.height, original.height);
    int worst = 0;
    for (size_t i = 0; i < back.argb.size(); ++i)
        worst = std::max(worst, MaxChannelDifference(back.argb[i], original.argb[i]));
    EXPECT_LE(worst, c.tolerance) << c.file;
    // Nothing but the picture is left in the directory (the save went through a temporary).
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(engine.dir)) files += e.is_regular_file();
    EXPECT_EQ(files, 3);  // ini, log, picture
}

INSTANTIATE_TEST_SUITE_P(
    SixFormats, PictureRoundTrip,
    testing::Values(RoundTripCase{"a.png", true, 0}, RoundTripCase{"a.tga", true, 0},
                    RoundTripCase{"a.dds", true, 0}, RoundTripCase{"a.bmp", false, 0},
                    RoundTripCase{"a.ppm", false, 0}, RoundTripCase{"a.jpg", false, 12},
                    RoundTripCase{"UPPER.PNG", true, 0}, RoundTripCase{"b.jpeg", false, 12}),
    [](const testing::TestParamInfo<RoundTripCase>& info) {
        std::string n = info.param.file;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(PictureSave, AlphaIsDroppedNotBlendedByFormatsWithoutIt) {
    EngineSession engine;
    Pixels p{2, 1, {0x00FF8000u, 0x80102030u}};
    KcTexture* t = MakeTexture(engine.Textures(), p);
    std::string path = engine.Path("x.ppm");
    ASSERT_TRUE(t->SaveToFile(path.c_str()));
    t->Release();
    KcTexture* back = engine.Textures()->LoadTexture(path.c_str());
    ASSERT_NE(back, nullptr);
    Pixels q = ReadTexture(back);
    back->Release();
    EXPECT_EQ(q.argb[0], 0xFFFF8000u);
    EXPECT_EQ(q.argb[1], 0xFF102030u);
}

TEST(PictureSave, UnknownExtensionsAndUnwritablePlacesFailWithoutTouchingFiles) {
    EngineSession engine;
    KcTexture* t = MakeTexture(engine.Textures(), TestPicture(4, 4, true));
    std::string existing = engine.Path("keep.png");
    kivtest::WriteFile(existing, "old contents");
    for (std::string bad :
         {engine.Path("x.gif"), engine.Path("noextension"), engine.Path("dir.png/"),
          engine.Path("missing/sub/x.png"), std::string("")})
        EXPECT_FALSE(t->SaveToFile(bad.c_str())) << bad;
    EXPECT_FALSE(t->SaveToFile(nullptr));
    EXPECT_EQ(kivtest::ReadFile(existing), "old contents");
    EXPECT_TRUE(t->SaveToFile(existing.c_str()));
    EXPECT_NE(kivtest::ReadFile(existing), "old contents");
    t->Release();
}

// ---------------------------------------------------------------- DDS

namespace {

std::string DdsHeader(uint32_t w, uint32_t h, uint32_t pfFlags, uint32_t fourCC, uint32_t bits,
                      uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    uint32_t words[32] = {};
    words[0] = 0x20534444;
    words[1] = 124;
    words[2] = 0x1007;
    words[3] = h;
    words[4] = w;
    words[19] = 32;
    words[20] = pfFlags;
    words[21] = fourCC;
    words[22] = bits;
    words[23] = r, words[24] = g, words[25] = b, words[26] = a;
    words[27] = 0x1000;
    return std::string(reinterpret_cast<const char*>(words), sizeof words);
}

}  // namespace

TEST(DdsLoad, DxtBlocksDecodeAsSquishDecodesThem) {
    EngineSession engine;
    const uint32_t w = 13, h = 9;  // partial blocks on both edges
    std::vector<uint8_t> rgba(w * h * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = uint8_t(i * 37 + (i >> 3) * 11);
    struct {
        const char* fourCC;
        int flags;
    } kinds[] = {{"DXT1", squish::kDxt1}, {"DXT3", squish::kDxt3}, {"DXT5", squish::kDxt5}};
    for (const auto& k : kinds) {
        std::vector<uint8_t> blocks(size_t(squish::GetStorageRequirements(w, h, k.flags)));
        squish::CompressImage(rgba.data(), w, h, blocks.data(), k.flags);
        std::vector<uint8_t> expected(rgba.size());
        squish::DecompressImage(expected.data(), w, h, blocks.data(), k.flags);
        uint32_t cc;
        std::memcpy(&cc, k.fourCC, 4);
        std::string file =
            DdsHeader(w, h, 0x4, cc, 0, 0, 0, 0, 0) + std::string(blocks.begin(), blocks.end());
        std::string path = engine.Path(std::string(k.fourCC) + ".dds");
        kivtest::WriteFile(path, file);
        KcTexture* t = engine.Textures()->LoadTexture(path.c_str());
        ASSERT_NE(t, nullptr) << k.fourCC;
        Pixels p = ReadTexture(t);
        t->Release();
        for (size_t i = 0; i < p.argb.size(); ++i) {
            const uint8_t* e = &expected[i * 4];
            uint32_t want =
                uint32_t(e[3]) << 24 | uint32_t(e[0]) << 16 | uint32_t(e[1]) << 8 | e[2];
            ASSERT_EQ(p.argb[i], want) << k.fourCC << " pixel " << i;
        }
        // One byte short of the last block fails.
        kivtest::WriteFile(path, file.substr(0, file.size() - 1));
        EXPECT_EQ(engine.Textures()->LoadTexture(path.c_str()), nullptr) << k.fourCC;
    }
}

TEST(DdsLoad, MaskedFormatsScaleEachChannelToEightBits) {
    EngineSession engine;
    struct Case {
        const char* name;
        uint32_t flags, bits, r, g, b, a;
        std::vector<uint8_t> data;
        uint32_t expected;
    } cases[] = {
        // R5G6B5 white-ish: r 31, g 0, b 16
        {"r5g6b5", 0x40, 16, 0xF800, 0x07E0, 0x001F, 0, {0x10, 0xF8}, 0xFFFF0084u},
        // A1R5G5B5 with alpha set, green full
        {"a1r5g5b5", 0x41, 16, 0x7C00, 0x03E0, 0x001F, 0x8000, {0xE0, 0x83}, 0xFF00FF00u},
        // R8G8B8 (24 bits, bytes b, g, r)
        {"r8g8b8", 0x40, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0, {0x03, 0x02, 0x01}, 0xFF010203u},
        // A8B8G8R8 (bytes r, g, b, a)
        {"a8b8g8r8", 0x41, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000u, {1, 2, 3, 4}, 0x04010203u},
        // L8
        {"l8", 0x20000, 8, 0xFF, 0, 0, 0, {0x7F}, 0xFF7F7F7Fu},
        // A8 alone
        {"a8", 0x2, 8, 0, 0, 0, 0xFF, {0x40}, 0x40000000u},
    };
    for (const Case& c : cases) {
        std::string path = engine.Path(std::string(c.name) + ".dds");
        kivtest::WriteFile(path, DdsHeader(1, 1, c.flags, 0, c.bits, c.r, c.g, c.b, c.a) +
                                     std::string(c.data.begin(), c.data.end()));
        KcTexture* t = engine.Textures()->LoadTexture(path.c_str());
        ASSERT_NE(t, nullptr) << c.name;
        EXPECT_EQ(ReadTexture(t).argb[0], c.expected) << c.name;
        t->Release();
    }
}

// ---------------------------------------------------------------- files that must fail

namespace {

// Saves the test picture in every format and gives the file contents by extension.
std::vector<std::pair<std::string, std::string>> ValidFiles(EngineSession& engine) {
    std::vector<std::pair<std::string, std::string>> files;
    KcTexture* t = MakeTexture(engine.Textures(), TestPicture(19, 11, false));
    for (const char* ext : {"png", "jpg", "bmp", "ppm", "tga", "dds"}) {
        std::string path = engine.Path(std::string("valid.") + ext);
        EXPECT_TRUE(t->SaveToFile(path.c_str()));
        files.emplace_back(ext, kivtest::ReadFile(path));
    }
    t->Release();
    return files;
}

}  // namespace

TEST(PictureLoad, EmptyTruncatedMisnamedAndMissingFilesFail) {
    EngineSession engine;
    KicAllocator* a = engine.api->GetAllocator();
    auto files = ValidFiles(engine);
    size_t blocks = a->LiveBlockCount();
    KcTexturesMgr* m = engine.Textures();
    for (const auto& [ext, bytes] : files) {
        std::string path = engine.Path("case." + ext);
        kivtest::WriteFile(path, "");
        EXPECT_EQ(m->LoadTexture(path.c_str()), nullptr) << "empty " << ext;
        // Cut inside the header, halfway through the data, and one byte short.
        for (size_t keep : {size_t(3), size_t(17), bytes.size() / 2, bytes.size() - 1}) {
            kivtest::WriteFile(path, bytes.substr(0, keep));
            KcTexture* t = m->LoadTexture(path.c_str());
            EXPECT_EQ(t, nullptr) << ext << " cut at " << keep << " of " << bytes.size();
            if (t) t->Release();
        }
        // The right bytes under another format's name.
        for (const auto& [other, ignored] : files) {
            if (other == ext) continue;
            std::string misnamed = engine.Path("misnamed." + other);
            kivtest::WriteFile(misnamed, bytes);
            KcTexture* t = m->LoadTexture(misnamed.c_str());
            EXPECT_EQ(t, nullptr) << ext << " named ." << other;
            if (t) t->Release();
        }
    }
    for (std::string bad : {engine.Path("nothing.png"), engine.Path("valid.gif"),
                            engine.dir.string(), engine.Path("noext"), std::string()})
        EXPECT_EQ(m->LoadTexture(bad.c_str()), nullptr) << bad;
    EXPECT_EQ(m->LoadTexture(nullptr), nullptr);
    EXPECT_EQ(a->LiveBlockCount(), blocks);
}

TEST(PictureLoad, DdsHeadersThatDoNotAddUpFail) {
    EngineSession engine;
    std::string body(64, '\x55');
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"zero width", DdsHeader(0, 4, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000) + body},
        {"huge",
         DdsHeader(1 << 20, 1 << 20, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000) + body},
        {"short data", DdsHeader(8, 8, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000) + body},
        {"odd bits", DdsHeader(2, 2, 0x40, 0, 12, 0xF00, 0xF0, 0xF, 0) + body},
        {"no masks", DdsHeader(2, 2, 0x40, 0, 32, 0, 0, 0, 0) + body},
        {"dx10", DdsHeader(2, 2, 0x4, 0x30315844, 0, 0, 0, 0, 0) + body},
        {"no kind", DdsHeader(2, 2, 0, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0) + body},
        {"bad magic",
         "XDS " + DdsHeader(2, 2, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0).substr(4) + body},
    };
    for (const Case& c : cases) {
        std::string path = engine.Path("bad.dds");
        kivtest::WriteFile(path, c.bytes);
        EXPECT_EQ(engine.Textures()->LoadTexture(path.c_str()), nullptr) << c.name;
    }
}

// Random damage to valid files of every format: whatever loads must be a sane texture, nothing
// may crash or leak. Fixed seeds keep the run repeatable.
TEST(PictureLoad, RandomlyDamagedFilesNeverCrashOrLeak) {
    EngineSession engine;
    KicAllocator* a = engine.api->GetAllocator();
    auto files = ValidFiles(engine);
    size_t blocks = a->LiveBlockCount();
    std::mt19937 rng(20240607);
    int loaded = 0, failed = 0;
    for (const auto& [ext, bytes] : files) {
        std::string path = engine.Path("fuzz." + ext);
        for (int round = 0; round < 120; ++round) {
            std::string damaged = bytes;
            switch (round % 4) {
                case 0:  // flip a few bytes, header included
                    for (int k = 0; k < 1 + int(rng() % 8); ++k)
                        damaged[rng() % std::min<size_t>(damaged.size(), 200)] ^=
                            char(1 + rng() % 255);
                    break;
                case 1:  // flip anywhere
                    for (int k = 0; k < 1 + int(rng() % 32); ++k)
                        damaged[rng() % damaged.size()] = char(rng());
                    break;
                case 2:  // truncate
                    damaged.resize(rng() % damaged.size());
                    break;
                default:  // garbage of random length
                    damaged.assign(rng() % 512, '\0');
                    for (char& ch : damaged) ch = char(rng());
                    break;
            }
            kivtest::WriteFile(path, damaged);
            KcTexture* t = engine.Textures()->LoadTexture(path.c_str());
            if (t) {
                ++loaded;
                EXPECT_TRUE(t->IsValid());
                EXPECT_LE(t->GetWidth(), 16384u);
                EXPECT_LE(t->GetHeight(), 16384u);
                t->Release();
            } else {
                ++failed;
            }
        }
    }
    EXPECT_GT(failed, 0);
    EXPECT_EQ(a->LiveBlockCount(), blocks);
    (void)loaded;
}
