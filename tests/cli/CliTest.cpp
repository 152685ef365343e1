// The command-line host as a user runs it: exit codes, messages, output files of every format,
// export, lists. Each command runs in a fresh directory with its own engine configuration.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "cli/CliRun.h"

namespace {

const char kRamp[] = "'pixels = width:8 height:4; r = from 0 to 1 W; a = from 1 to 0.5 H'";

}  // namespace

TEST_F(Cli, ScriptsRenderInEverySixFormats) {
    struct {
        const char* file;
        std::string magic;
    } formats[] = {{"p.png", "\x89PNG"}, {"p.jpg", "\xFF\xD8"},
                   {"p.bmp", "BM"},      {"p.ppm", "P6"},
                   {"p.dds", "DDS "},    {"p.tga", std::string("\0\0\x02", 3)}};
    for (const auto& f : formats) {
        Result r = Run(std::string("run -e ") + kRamp + " -o " + f.file);
        EXPECT_EQ(r.status, 0) << f.file << ": " << r.err;
        EXPECT_NE(r.err.find("No Name: 8 x 4, "), std::string::npos) << r.err;
        EXPECT_EQ(kivtest::ReadFile(dir / f.file).substr(0, f.magic.size()), f.magic) << f.file;
    }
    EXPECT_EQ(Files().size(), 6u);  // no temporary files left
}

TEST_F(Cli, ScriptFilesDumpAndReportByFileName) {
    kivtest::WriteFile(dir / "s.txt", "pixels = width:3 height:2\nx = from 0 to 1 W\nr = x\n");
    Result r = Run("run s.txt --dump x,r,q,Nope");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "x = [0, 0.5, 1, 0, 0.5, 1]\nr = [0, 0.5, 1, 0, 0.5, 1]\nq = 0\nNope = <unset>\n");
    EXPECT_NE(r.err.find("s.txt: 3 x 2, "), std::string::npos);
    // A run without a picture succeeds unless a picture is asked for.
    r = Run("run -e 'vertices = 1; v = 2 ^ 3 ^ 2' --dump v");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "v = 64\n");
}

TEST_F(Cli, FailuresSayWhyAndLeaveNoFile) {
    kivtest::WriteFile(dir / "fatal.txt", "pixels = width:4 height:4\nno assignment here\n");
    struct {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {"run missing.txt -o x.png", 1, "cannot read script file 'missing.txt'"},
        {"run fatal.txt -o x.png", 1, "the script 'fatal.txt' failed"},
        {"run -e 'pixels = width:4 height:4; r = 1' -o x.png", 1, "made no picture"},
        {std::string("run -e ") + kRamp + " -o x.gif", 1, "names no picture format"},
        {std::string("run -e ") + kRamp + " -o nodir/x.png", 1,
         "cannot write 'nodir/x.png': No such file or directory"},
        {"equation 100000 -o x.png", 1, "there is no equation '100000'"},
        {"equation 'No Such Picture'", 1, "there is no equation"},
        {"equation 0 --param 0=5 -o x.png", 1, "has no parameter 0"},
        {"equation 0 --param 7=1", 2, "is not I=V"},
        {"equation 0 --param 0=nan", 2, "is not I=V"},
        {"run", 2, "give either SCRIPT or -e TEXT"},
        {"list colours", 2, ""},
        {"", 2, "A subcommand is required"},
    };
    for (const auto& c : cases) {
        Result r = Run(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.arguments << "\n" << r.err;
    }
    EXPECT_EQ(Files(), std::vector<std::string>{"fatal.txt"});
    EXPECT_NE(kivtest::ReadFile(dir / "kivcore.log").find("Memory: no leaks"), std::string::npos);
}

TEST_F(Cli, AWriteOntoADirectoryFailsAndLeavesItAlone) {
    std::filesystem::create_directory(dir / "taken.png");  // a directory where the file would go
    Result r = Run(std::string("run -e ") + kRamp + " -o taken.png");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write 'taken.png'"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.png"));
    EXPECT_EQ(Files(), std::vector<std::string>{"taken.png"});
}

TEST_F(Cli, EquationsByIndexOrNameWithParameters) {
    Result r = Run("equation 0 -o black.png");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Black: 1024 x 1024, "), std::string::npos);
    Result byName = Run("equation 'color rgb' -o rgb.bmp");
    EXPECT_EQ(byName.status, 0) << byName.err;
    EXPECT_NE(byName.err.find("Color RGB: "), std::string::npos);

    Result list = Run("list equations");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(list.out, m, std::regex("(\\d+) ([^\\n]+) (\\d+)x(\\d+)\\n")));
    std::regex param("^(\\d+) N Star \\d+x\\d+$", std::regex::multiline);
    if (std::regex_search(list.out, m, param)) {
        Result star = Run("equation " + m[1].str() + " --param 0=7 --param 0=9 -o star.dds");
        EXPECT_EQ(star.status, 0) << star.err;
        EXPECT_TRUE(std::filesystem::exists(dir / "star.dds"));
    }
}

TEST_F(Cli, ExportWritesEveryEquationIntoANewDirectory) {
    Result r = Run("export 'pictures/of equations'");
    EXPECT_EQ(r.status, 0) << r.err;
    Result list = Run("list equations");
    std::regex line("^(\\d+) (.+) \\d+x\\d+$", std::regex::multiline);
    int count = 0;
    for (auto it = std::sregex_iterator(list.out.begin(), list.out.end(), line);
         it != std::sregex_iterator(); ++it, ++count) {
        std::string name = (*it)[1].str() + " " + (*it)[2].str() + ".png";
        EXPECT_TRUE(std::filesystem::exists(dir / "pictures/of equations" / name)) << name;
    }
    EXPECT_GT(count, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "pictures/of equations"),
                            std::filesystem::directory_iterator()),
              count);
}

TEST_F(Cli, ListFunctionsEndsWithTheModulePresets) {
    Result r = Run("list functions");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("0 "), 0u);
    EXPECT_NE(r.out.find(" GradientColorTerrain 5\n"), std::string::npos);
    size_t last = r.out.rfind('\n', r.out.size() - 2);
    EXPECT_NE(r.out.substr(last + 1).find(" NoiseModuleLime 7"), std::string::npos);
}

// ---------------------------------------------------------------- surface export

namespace {

// A small reader of what `luneth surface` writes: OBJ "v x y z r g b" and "f a b c" lines, or
// ASCII PLY with x y z and byte colours per vertex and "3 a b c" faces.
struct Mesh {
    std::vector<std::array<float, 6>> vertices;  // position, colour in [0, 1]
    std::vector<std::array<uint32_t, 3>> faces;  // from 0
};

Mesh ReadMesh(const std::filesystem::path& path) {
    Mesh mesh;
    std::istringstream in(kivtest::ReadFile(path));
    std::string word;
    if (path.extension() == ".obj") {
        while (in >> word) {
            if (word == "v") {
                std::array<float, 6> v;
                for (float& f : v) in >> f;
                mesh.vertices.push_back(v);
            } else if (word == "f") {
                std::array<uint32_t, 3> f;
                for (uint32_t& i : f) in >> i, --i;
                mesh.faces.push_back(f);
            } else {
                std::getline(in, word);
            }
        }
        return mesh;
    }
    size_t vertices = 0, faces = 0;
    while (in >> word && word != "end_header") {
        if (word == "element") {
            std::string what;
            size_t n = 0;
            in >> what >> n;
            (what == "vertex" ? vertices : faces) = n;
        }
    }
    for (size_t k = 0; k < vertices; ++k) {
        std::array<float, 6> v;
        int rgb[3];
        in >> v[0] >> v[1] >> v[2] >> rgb[0] >> rgb[1] >> rgb[2];
        for (int c = 0; c < 3; ++c) v[3 + c] = rgb[c] / 255.0f;
        mesh.vertices.push_back(v);
    }
    for (size_t k = 0; k < faces; ++k) {
        int corners = 0;
        std::array<uint32_t, 3> f;
        in >> corners >> f[0] >> f[1] >> f[2];
        if (corners == 3) mesh.faces.push_back(f);
    }
    return mesh;
}

double Area(const Mesh& mesh) {
    double area = 0;
    for (const auto& f : mesh.faces) {
        const auto &a = mesh.vertices[f[0]], &b = mesh.vertices[f[1]], &c = mesh.vertices[f[2]];
        double u[3], w[3];
        for (int i = 0; i < 3; ++i) u[i] = b[i] - a[i], w[i] = c[i] - a[i];
        double x = u[1] * w[2] - u[2] * w[1], y = u[2] * w[0] - u[0] * w[2],
               z = u[0] * w[1] - u[1] * w[0];
        area += std::sqrt(x * x + y * y + z * z) / 2;
    }
    return area;
}

}  // namespace

// Three points on x swept 0..3 along z over four slices: a 2 x 3 rectangle of 12 vertices.
TEST_F(Cli, SurfacesBecomeMeshesWithTheirColours) {
    kivtest::WriteFile(dir / "sheet.txt",
                       "vertices = 3\nx = from 0 to 2\ny = 0\nz = 0\nsurface_slices = 4\n"
                       "translate = dir(0, 0, 1) dis(0, 3)\nr = x * 0.5\ng = 1\n");
    for (const char* file : {"sheet.obj", "sheet.ply"}) {
        Result r = Run(std::string("surface sheet.txt -o ") + file);
        ASSERT_EQ(r.status, 0) << r.err;
        Mesh mesh = ReadMesh(dir / file);
        ASSERT_EQ(mesh.vertices.size(), 12u) << file;
        ASSERT_EQ(mesh.faces.size(), 12u) << file;
        for (const auto& f : mesh.faces)
            for (uint32_t i : f) ASSERT_LT(i, 12u);
        EXPECT_NEAR(Area(mesh), 6.0, 1e-6) << file;
        // Vertex slice + point x 4: point 1, slice 2 is (1, 0, 2), coloured r = 0.5, g = 1.
        const auto& v = mesh.vertices[2 + 1 * 4];
        EXPECT_EQ(v[0], 1.0f);
        EXPECT_EQ(v[2], 2.0f);
        EXPECT_NEAR(v[3], 0.5f, 1 / 255.0f);
        EXPECT_EQ(v[4], 1.0f);
        EXPECT_EQ(v[5], 0.0f);
        EXPECT_EQ(mesh.vertices[11][0], 2.0f);
        EXPECT_EQ(mesh.vertices[11][2], 3.0f);
    }
    struct {
        std::string arguments;
        int status;
        const char* message;
    } failures[] = {
        {"surface sheet.txt -o sheet.stl", 1, "names no mesh format (obj or ply)"},
        {"surface missing.txt -o m.obj", 1, "cannot read script file 'missing.txt'"},
        {"surface flat.txt -o m.obj", 1, "made no surface"},
        {"surface sheet.txt -o nodir/m.ply", 1, "cannot write 'nodir/m.ply'"},
        {"surface sheet.txt", 2, "-o is required"},
    };
    kivtest::WriteFile(dir / "flat.txt", "pixels = width:4 height:4\nr = 1\n");
    for (const auto& f : failures) {
        Result r = Run(f.arguments);
        EXPECT_EQ(r.status, f.status) << f.arguments << "\n" << r.err;
        EXPECT_NE(r.err.find(f.message), std::string::npos) << f.arguments << "\n" << r.err;
    }
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"flat.txt", "sheet.obj", "sheet.ply", "sheet.txt"}));
}

TEST_F(Cli, PicturesConvertBothWaysAndInfoGivesFormatAndSize) {
    ASSERT_EQ(Run(std::string("run -e ") + kRamp + " -o ramp.dds").status, 0);
    Result r = Run("convert ramp.dds -o ramp.png");
    EXPECT_EQ(r.status, 0) << r.err;
    r = Run("convert ramp.png -o back.dds");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(kivtest::ReadFile(dir / "back.dds"), kivtest::ReadFile(dir / "ramp.dds"));
    r = Run("info ramp.png");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "ramp.png: png, 8 x 4, loaded\n");
}

TEST_F(Cli, HostileInputsFailWithAReasonAndNeverOverwriteTheScript) {
    ASSERT_EQ(Run(std::string("run -e ") + kRamp + " -o ramp.png").status, 0);
    std::string png = kivtest::ReadFile(dir / "ramp.png");
    kivtest::WriteFile(dir / "cut.png", png.substr(0, png.size() / 2));
    std::string huge(128, '\0');
    const uint32_t header[] = {0x20534444, 124, 0x1007, 65535, 65535};
    std::memcpy(huge.data(), header, sizeof header);
    huge[76] = 32;
    kivtest::WriteFile(dir / "huge.dds", huge);
    std::filesystem::create_directory(dir / "folder.png");
    std::filesystem::create_symlink("/dev/zero", dir / "zero.png");
    ASSERT_EQ(mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    const std::string script = "pixels = width:2 height:2\nr = 1\ng = from 0 to 1 W\n";
    kivtest::WriteFile(dir / "s.png", script);
    kivtest::WriteFile(dir / "s.obj", script);
    struct {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {"info cut.png", 1, "cannot load 'cut.png': it is damaged or truncated"},
        {"info huge.dds", 1, "it claims 65535 x 65535 pixels, more than 16384 a side"},
        {"info zero.png", 1, "cannot load 'zero.png': it is a device, not a file"},
        {"convert folder.png -o x.png", 1, "cannot load 'folder.png': it is a directory"},
        {"convert ramp.png -o x.gif", 1, "names no picture format"},
        {"run pipe.txt", 1, "cannot read script file 'pipe.txt': it is a pipe or a socket"},
        {"run /dev/zero", 1, "cannot read script file '/dev/zero': it is a device"},
        {"run s.png -o ./s.png", 1, "will not write './s.png': it is the script itself"},
        {"surface s.obj -o s.obj", 1, "will not write 's.obj': it is the script itself"},
        {"run -e 'vertices = 1' -o ''", 2, "the file name is empty"},
        {"convert ramp.png -o ''", 2, "the file name is empty"},
        {"run -e 'vertices = 1;[LOOP START: 2000000000];x = x + 1;LOOP END]' --timeout 0.5", 1,
         "the script '<text>' was stopped after 0.5 seconds (--timeout)"},
    };
    for (const auto& c : cases) {
        Result r = Run(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.arguments << "\n" << r.err;
    }
    EXPECT_EQ(Run("info cut.png").out, "cut.png: png, not loaded\n");
    EXPECT_EQ(kivtest::ReadFile(dir / "s.png"), script);
    EXPECT_EQ(kivtest::ReadFile(dir / "s.obj"), script);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
}
