// luneth beyond one picture: pictures made again from their texts, animations, regions and
// sizes that fail clearly, Ctrl+C.
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "cli/CliRun.h"

extern char** environ;

namespace {

const char kWave[] =
    "'pixels = width:24 height:16; x = from -1 to 1 W; y = from 0 to 1 H; "
    "r = 0.5 + 0.5 * sin(x * 9 + t * 6.28); g = y * t; b = rand(y)'";

// A 1 x 1 PNG without any text chunk.
const unsigned char kPlainPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
    0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78,
    0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x00, 0x05, 0x00, 0x01, 0xFF, 0x89, 0x99,
    0x3D, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

}  // namespace

TEST_F(Cli, PicturesAreMadeAgainFromTheirTexts) {
    // A script with random numbers and a define, a second picture after it (the random stream
    // has moved on), an equation with a parameter.
    ASSERT_EQ(Run(std::string("run -e ") + kWave + " --define t=0.3 -o first.png").status, 0);
    ASSERT_EQ(Run("equation 'Taiji Yinyang' --param 1=0.2 -o star.png").status, 0);
    ASSERT_EQ(
        Run("run -e " + std::string(kWave) + " --define t=0.3 --region 4,2,8,8 -o tile.png").status,
        1);  // rand() can't be cut into tiles
    for (const char* picture : {"first.png", "star.png"}) {
        const bool script = picture[0] == 'f';
        Result r = Run(std::string(script ? "run " : "equation ") + picture + " -o again.png");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(kivtest::ReadFile(dir / "again.png"), kivtest::ReadFile(dir / picture))
            << picture;
    }
    kivtest::WriteFile(dir / "plain.png", std::string(std::begin(kPlainPng), std::end(kPlainPng)));
    ExpectFailures({
        {"run plain.png", 1, "'plain.png' carries no script (only PNG files written by"},
        {"equation plain.png", 1, "'plain.png' carries no equation"},
        {"run star.png", 1, "carries no script: it holds an equation (luneth equation 'star.png')"},
        {"equation first.png -o x.png", 1, "carries no equation: it holds a script"},
        {"run missing.png", 1, "cannot read script file 'missing.png'"},
    });
}

TEST_F(Cli, AnimationsWriteOneFileAFrame) {
    const std::string wave = std::string("run -e ") + kWave;
    Result count = Run(wave + " --define t=0:1:0.5 --frame-count");
    EXPECT_EQ(count.out, "3\n");
    Result r = Run(wave + " --define t=0:1:0.5 -o 'frames of t/%04d.png'");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* frame : {"0000.png", "0001.png", "0002.png"})
        EXPECT_TRUE(std::filesystem::exists(dir / "frames of t" / frame)) << frame;
    EXPECT_NE(kivtest::ReadFile(dir / "frames of t/0000.png"),
              kivtest::ReadFile(dir / "frames of t/0002.png"));
    // A frame on its own is the frame of the whole run, and so is the picture made again.
    ASSERT_EQ(Run(wave + " --define t=0:1:0.5 --frames 1 -o one/%d.png").status, 0);
    EXPECT_EQ(kivtest::ReadFile(dir / "one/1.png"),
              kivtest::ReadFile(dir / "frames of t/0001.png"));
    ASSERT_EQ(Run("run 'frames of t/0002.png' -o again.png").status, 0);
    EXPECT_EQ(kivtest::ReadFile(dir / "again.png"),
              kivtest::ReadFile(dir / "frames of t/0002.png"));
    r = Run(
        "equation 'Taiji Yinyang' --param 0=300:400:50 --param 1=0.1:0.2:0.05 -o star/%02d.png");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "star/02.png"));

    ExpectFailures({
        {wave + " --define t=0:1:0.5 --define u=0:1:0.25", 2, "(3 values) and u (5 values)"},
        {wave + " --define t=0:1:0.5 -o x.png", 2, "3 frames need a file name with a frame number"},
        {wave + " --define t=0:1:0.5 -o x%d%d.png", 2, "needs exactly one frame number"},
        {wave + " --define t=0:1:-0.5", 2, "the STEP must lead from FROM to TO"},
        {wave + " --define t=0:1:0", 2, "the STEP must lead from FROM to TO"},
        {wave + " --define t=0:1:1e-9", 2, "in at most 1000000 values"},
        {wave + " --define t=0:1:0.5 --frames 3:4", 2, "the animation has 3 frames"},
        {wave + " --define t=1:2", 2, "is not NAME=VALUE or NAME=FROM:TO:STEP"},
        {"equation 0 --param 9=0:1:0.5", 2, "is not I=V or I=FROM:TO:STEP"},
    });
}

TEST_F(Cli, RegionsSizesAndTheBudgetFailClearly) {
    kivtest::WriteFile(dir / "grid.txt",
                       "pixels = width:64 height:32\nx = from 0 to 1 W\nr = x\ng = 1 - x\n");
    ExpectFailures({
        {"run grid.txt --region 60,0,8,8 -o out.png", 1,
         "the region 60,0,8,8 lies outside the 64 x 32 picture"},
        {"run grid.txt --size 100x10 --region 0,8,8,8 -o out.png", 1,
         "lies outside the 100 x 10 picture"},
        {"equation 1 --region 1000,1000,100,100 -o out.png", 1,
         "lies outside the 1024 x 1024 picture"},
        {"run grid.txt --region 0,0,0,8 -o out.png", 2,
         "--region needs a width and a height of at least 1"},
        {"run grid.txt --size 0x32 -o out.png", 2,
         "--size needs a width and a height of at least 1"},
        {"run grid.txt --size 16385x8 -o out.png", 2,
         "one picture has at most 16384 x 16384 pixels"},
        {"run grid.txt --size 99999999x8 --region 0,0,8,8 -o out.png", 2,
         "sides of at most 16777216"},
        {"run grid.txt --region 0,0,20000,8 -o out.png", 2,
         "one picture has at most 16384 x 16384"},
        {"run grid.txt --region 1,2,3 -o out.png", 2, "'1,2,3' is not X,Y,W,H"},
        {"run grid.txt --size 64*32 -o out.png", 2, "'64*32' is not WxH"},
        {"run -e 'pixels = width:8 height:8; x = from 0 to 1 W; r = array_cumulate(x, 1)' "
         "--region 0,0,4,4 -o out.png",
         1, "'array_cumulate' works on whole arrays, so this script can't be cut"},
    });
    kivtest::WriteFile(dir / "kivcore.ini", "[KivCore]\nMemoryBudgetMiB=1\nLogFile=" +
                                                (dir / "kivcore.log").string() + "\n");
    Result r = Run("run grid.txt --size 1024x512 -o out.png");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("more than the memory budget of 1 MiB (MemoryBudgetMiB)"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Files(), std::vector<std::string>{"grid.txt"});
}

TEST_F(Cli, CtrlCCancelsWithStatus130AndWritesNothing) {
    kivtest::WriteFile(dir / "slow.txt",
                       "pixels = width:1024 height:1024\nx = from -2 to 2 W\ny = from -2 to 2 H\n"
                       "[LOOP START: 100000]\nr = sin(x * y + loop)\nLOOP END]\ng = r\nb = r\n");
    std::string config = "KIV_CONFIG=" + (dir / "kivcore.ini").string();
    std::vector<char*> env;
    for (char** e = environ; *e; ++e) env.push_back(*e);
    env.push_back(config.data());
    env.push_back(nullptr);
    std::string out = (dir / "slow.png").string(), script = (dir / "slow.txt").string();
    const char* argv[] = {LUNETH_CLI,     "--threads", "1",         "run",
                          script.c_str(), "-o",        out.c_str(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, LUNETH_CLI, nullptr, nullptr, const_cast<char**>(argv), env.data()),
              0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(Files(), std::vector<std::string>{"slow.txt"});
}
