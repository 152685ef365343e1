// Hostile picture files and places: each load fails with its reason before anything large is
// allocated, and a save that fails says why and leaves the old file and nothing else.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>

#include "EngineSession.h"

using kivtest::EngineSession;

namespace {

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::string BigEndian(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string Chunk(const std::string& type, const std::string& data) {
    return BigEndian(uint32_t(data.size())) + type + data + BigEndian(Crc32(type + data));
}

// A PNG that is all header: what it claims is all a loader may trust before decoding.
std::string PngClaiming(uint32_t width, uint32_t height) {
    std::string ihdr = BigEndian(width) + BigEndian(height) + std::string("\x08\x06\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", ihdr) + Chunk("IEND", "");
}

// A 32-bit DDS header: size, flags, pitch and mip count as given.
std::string Dds(uint32_t width, uint32_t height, uint32_t flags, uint32_t pitch, uint32_t mips,
                const std::string& data) {
    uint32_t w[32] = {0x20534444, 124, flags, height, width, pitch, 0, mips};
    w[19] = 32, w[20] = 0x41, w[22] = 32;
    w[23] = 0xFF0000, w[24] = 0xFF00, w[25] = 0xFF, w[26] = 0xFF000000, w[27] = 0x1000;
    return std::string(reinterpret_cast<const char*>(w), sizeof w) + data;
}

}  // namespace

TEST(HostilePictures, FailWithTheirReasonBeforeAllocating) {
    EngineSession engine("Modules=\nMemoryBudgetMiB=64\n");
    std::filesystem::create_directory(engine.dir / "folder.png");
    std::filesystem::create_symlink("/dev/zero", engine.dir / "zero.dds");
    ASSERT_EQ(mkfifo(engine.Path("pipe.png").c_str(), 0600), 0);
    kivtest::WriteFile(engine.dir / "empty.bmp", "");
    struct {
        const char* file;
        std::string bytes;  // written unless empty
        const char* reason;
    } cases[] = {
        {"huge.png", PngClaiming(65535, 65535), "claims 65535 x 65535 pixels, more than 16384"},
        {"huge.dds", Dds(65535, 65535, 0x1007, 0, 0, std::string(64, 'x')), "more than 16384"},
        {"budget.png", PngClaiming(8192, 8192), "more than the memory budget leaves ("},
        {"mips.dds", Dds(4, 4, 0x21007, 0, 4, std::string(64, 'x')), "claims 4 mip levels"},
        {"pitch.dds", Dds(4, 4, 0x100F, 15, 0, std::string(64, 'x')), "pitch of 15 bytes"},
        {"short.dds", Dds(4, 4, 0x100F, 20, 0, std::string(75, 'x')), "is truncated"},
        {"short.ppm", "P5\n4 4\n255\n" + std::string(15, 'x'), "damaged or truncated"},
        {"folder.png", "", "it is a directory"},
        {"zero.dds", "", "it is a device, not a file"},
        {"pipe.png", "", "it is a pipe or a socket"},
        {"empty.bmp", "", "it is empty"},
        {"missing.tga", "", "No such file or directory"},
        {"picture.gif", "", "no picture extension"},
    };
    for (const auto& c : cases) {
        if (!c.bytes.empty()) kivtest::WriteFile(engine.dir / c.file, c.bytes);
        EXPECT_EQ(engine.Textures()->LoadTexture(engine.Path(c.file).c_str()), nullptr) << c.file;
        EXPECT_NE(std::string(engine.Textures()->GetLastError()).find(c.reason), std::string::npos)
            << c.file << ": " << engine.Textures()->GetLastError();
    }
    // Rows `pitch` bytes apart: the padding after each row is skipped.
    std::string rows = "\x01\x02\x03\x04\x05\x06\x07\x08pad!\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10";
    kivtest::WriteFile(engine.dir / "padded.dds", Dds(2, 2, 0x100F, 12, 0, rows));
    KcTexture* t = engine.Textures()->LoadTexture(engine.Path("padded.dds").c_str());
    ASSERT_NE(t, nullptr) << engine.Textures()->GetLastError();
    uint32_t pitch = 0;
    void* bits = nullptr;
    ASSERT_TRUE(t->Lock(0, &pitch, &bits));
    const uint32_t* texels = static_cast<const uint32_t*>(bits);
    EXPECT_EQ(texels[1], 0x08070605u);
    EXPECT_EQ(texels[pitch / 4], 0x0c0b0a09u);
    t->Unlock();
    t->Release();
}

TEST(HostilePictures, AFailedSaveSaysWhyAndLeavesTheOldFileAlone) {
    EngineSession engine;
    KcTexture* t = engine.Textures()->CreateTexture(64, 64, 1, kKivFormatA8R8G8B8, kKivPoolManaged);
    ASSERT_NE(t, nullptr);
    kivtest::WriteFile(engine.dir / "keep.png", "old contents");
    std::filesystem::create_directory(engine.dir / "folder.png");
    // A file size limit stands in for a full disk: the write fails part way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    bool saved = t->SaveToFile(engine.Path("keep.png").c_str());
    std::string why = engine.Textures()->GetLastError();
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(saved);
    EXPECT_EQ(why, std::strerror(EFBIG));
    struct {
        const char* file;
        const char* reason;
    } cases[] = {{"folder.png", "it is a directory"},
                 {"missing/x.png", "No such file or directory"}};
    for (const auto& c : cases) {
        EXPECT_FALSE(t->SaveToFile(engine.Path(c.file).c_str())) << c.file;
        EXPECT_NE(std::string(engine.Textures()->GetLastError()).find(c.reason), std::string::npos)
            << c.file << ": " << engine.Textures()->GetLastError();
    }
    t->Release();
    EXPECT_EQ(kivtest::ReadFile(engine.dir / "keep.png"), "old contents");
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(engine.dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"folder.png", "keep.png", "kivcore.ini", "kivcore.log"}));
}
