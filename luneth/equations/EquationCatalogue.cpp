// The catalogue: every built-in equation by index, with its display name, class, size and
// parameters ({name, min, max, step, default}). Sizes default to 1024 x 1024.
//
// Index of this file:
//   kCatalogue          the 195 rows, in index order
//   kEquationFamilies   the families whose classes fill the rows
//   BuildEquationCatalogue, CreateEquation
#include "equations/EquationCatalogue.h"

#include <cstring>

#include "equations/EquationFamilies.h"

namespace luneth {

namespace {

// The rows of the triangle equations: the three corners, defaulting to a triangle that fills
// the picture from the middle of the top edge to the bottom corners.
constexpr EquationInfo TriangleRow(uint32_t index, const char* name, const char* className) {
    return {index,
            name,
            className,
            1024,
            1024,
            {{"Point0 X", 0, 1023, 1, 512},
             {"Point0 Y", 0, 1023, 1, 0},
             {"Point1 X", 0, 1023, 1, 0},
             {"Point1 Y", 0, 1023, 1, 1023},
             {"Point2 X", 0, 1023, 1, 1023},
             {"Point2 Y", 0, 1023, 1, 1023}}};
}

// clang-format off
constexpr EquationInfo kCatalogue[] = {
    // 0
    {0, "Black", "CPixelZero"},
    {1, "Color RGB", "CPixelRGB"},
    {2, "XOR", "CPixelXOR"},
    {3, "Pow FTW", "CPixelPowFTW"},
    {4, "Pow And", "CPixelPowAnd"},
    {5, "AndAddOr", "CPixelAndAddOr"},
    {6, "And", "CPixelAnd"},
    {7, "Colorful Triangle", "CPixelColorful"},
    {8, "Unicorns", "CPixelUnicorns"},
    {9, "Purple", "CPixelPurple"},
    // 10
    {10, "Color Point", "CPixelColorPoint"},
    {11, "Construction Papers", "CPixelConstructionPapers"},
    {12, "Spotlight", "CPixelSpotlight"},
    {13, "Float Convert Int 1", "CPixelFloatConvertInt1", 1000, 1000},
    {14, "Float Convert Int 2", "CPixelFloatConvertInt2", 1000, 1000},
    {15, "Float Convert Int 3", "CPixelFloatConvertInt3", 1000, 1000},
    {16, "ShaderToy Ocean", "CPixelShaderToy_Ocean", 1024, 768, {{"Time", 0, 100000, 0.01, 92.97}}},
    {17, "ShaderToy Star", "CPixelShaderToy_Star", 1024, 768, {{"Time", 0, 100000, 0.5, 1024}}},
    {18, "ShaderToy Mars", "CPixelShaderToy_Mars", 1024, 768, {{"Time", 0, 100000, 0.5, 1024}}},
    {19, "ShaderToy Frozenland", "CPixelShaderToy_FrozenWasteland", 1024, 768,
        {{"Time", 0, 100000, 0.5, 3.98}}},
    // 20
    {20, "ShaderToy Elevated", "CPixelShaderToy_Elevated", 1024, 768,
        {{"Time", 0, 100000, 0.01, 1.47}}},
    {21, "ShaderToy Fire", "CPixelShaderToy_Fire", 1024, 768, {{"Time", 0, 100000, 0.01, 92.97}}},
    {22, "ShaderToy Clouds", "CPixelShaderToy_Clouds", 1024, 768,
        {{"Time", 0, 100000, 0.01, 92.97}}},
    {23, "ShaderToy Hell", "CPixelShaderToy_Hell", 1024, 768, {{"Time", 0, 10000, 0.01, 7.98}}},
    {24, "ShaderToy Flames", "CPixelShaderToy_Flames", 1024, 768, {{"Time", 0, 10000, 0.01, 7.98}}},
    {25, "ShaderToy Galaxy", "CPixelShaderToy_Galaxy", 1024, 768, {{"Time", 0, 10000, 0.01, 7.98}}},
    {26, "ShaderToy StarNest", "CPixelShaderToy_StarNest", 1024, 768,
        {{"Time", 0, 10000, 0.01, 47.98}}},
    {27, "ShaderToy Noise", "CPixelShaderToy_Noise", 1024, 768, {{"Time", 0, 10000, 0.01, 47.98}}},
    {28, "ShaderToy NoiseBlur", "CPixelShaderToy_NoiseBlur", 1024, 768,
        {{"Time", 0, 10000, 0.01, 47.98}}},
    {29, "ShaderToy TinyPlanet", "CPixelShaderToy_TinyPlanet", 1024, 768,
        {{"Time", 0, 10000, 0.01, 47.98}}},
    // 30
    {30, "ShaderToy Disk", "CPixelShaderToy_Disk", 1024, 768, {{"Time", 0, 10000, 0.01, 47.98}}},
    {31, "ShaderToy Simplicity", "CPixelShaderToy_Simplicity", 1024, 768,
        {{"Time", 0, 10000, 0.01, 47.98}}},
    {32, "ShaderToy WaterCaustic", "CPixelShaderToy_WaterCaustic", 1024, 768,
        {{"Time", 0, 10000, 0.01, 47.98}}},
    {33, "ShaderToy SatelliteEye", "CPixelShaderToy_SatelliteEye", 1024, 768,
        {{"Time", 0, 100000, 0.5, 24}}},
    {34, "ShaderToy AfterRain", "CPixelShaderToy_AfterRain", 1024, 768,
        {{"Time", 0, 100000, 0.5, 1}}},
    {35, "ShaderToy Smoke", "CPixelShaderToy_Smoke", 1024, 768, {{"Time", 0, 100000, 0.5, 1}}},
    {36, "ShaderToy Nightfall", "CPixelShaderToy_Nightfall", 1024, 768,
        {{"Time", 0, 100000, 0.5, 10}}},
    {37, "ShaderToy Cave", "CPixelShaderToy_Cave", 1024, 768, {{"Time", 0, 10000, 0.01, 47.98}}},
    {38, "ShaderToy NoiseImage", "CPixelShaderToy_NoiseImage", 1024, 1024,
        {{"Scale", 0.001, 1000, 0.001, 1},
        {"Z", -100, 100, 0.01, 0}}},
    {39, "ShaderToy CloudySunset", "CPixelShaderToy_CloudySunset", 1024, 768,
        {{"Time", 0, 10000, 0.01, 7.98}}},
    // 40
    {40, "ShaderToy FFT_Domain", "CPixelShaderToy_FFT_Domain", 1024, 1024,
        {{"Time", 0, 100000, 0.5, 1},
        KeptOnReset({"Type", 0, 20, 1, 0})}},
    {41, "ShaderToy Eye", "CPixelShaderToy_Eye", 1024, 768},
    {42, "Math Random", "CPixelMathRandom"},
    {43, "Arnold Random", "CPixelArnoldRandom", 1024, 1024,
        {ResetTo({"SeedX", 0, 1000, 0.001, 0}, 0.1),
        ResetTo({"SeedY", 0, 1000, 0.001, 0}, 0.2)}},
    {44, "Map Random", "CPixelMapRandom"},
    {45, "Color Map Random", "CPixelColorMapRandom"},
    {46, "Color Random 2", "CPixelColorMapRandom2", 1024, 1024, {{"Scale", 0, 1000, 0.0001, 0.01}}},
    {47, "Smooth Color Random", "CPixelColorMapSmoothRandom"},
    {48, "Hash", "CPixelHash", 1024, 1024, {{"Scale", 0, 1000, 0.001, 1}}},
    {49, "MyRandom", "CPixelMyRandom"},
    // 50
    {50, "Taiji Yinyang", "CPixelTaijiYinyang", 1024, 1024,
        {{"Radius 1", 0, 1024, 1, 480},
        {"Scale", 0, 1, 0.0005, 0.15}}},
    {51, "Taiji Four Diagrams", "CPixelTaijiFour"},
    {52, "Taiji World", "CPixelTaijiWorld"},
    {53, "Taiji Eight Diagrams", "CPixelTaijiEight"},
    {54, "Svastika Left", "CPixelSvastikaLeft", 1024, 1024,
        {{"Size", 64, 512, 1, 320},
        {"Width", 16, 256, 0.5, 100},
        {"angle", 0, 360, 0.5, 0}}},
    {55, "Svastika Right", "CPixelSvastikaRight", 1024, 1024,
        {{"Size", 64, 512, 1, 320},
        {"Width", 16, 256, 0.5, 100},
        {"angle", 0, 360, 0.5, 45}}},
    {56, "Svastikas Set", "CPixelSvastikasSet", 1024, 1024, {{"Width", 2, 32, 0.05, 6}}},
    {57, "Cross on a Hill", "CPixelCrossOnHill"},
    {58, "Stack Overflow", "CPixelStackOverflow"},
    {59, "Blue Sky White Sun", "CPixelBlueSkyWhiteSun", 1680, 1120},
    // 60
    {60, "Five Stars Red Flag", "CPixel5StarsRedFlag", 1680, 1120},
    {61, "American Flag", "CPixelAmericanFlag"},
    {62, "WeiQi", "CPixelWeiQi"},
    {63, "Trial Coordinate", "CPixelTrialCoordinate"},
    {64, "Black Hole", "CPixelBlackHole"},
    TriangleRow(65, "Triangle", "CPixelTriangle"),
    TriangleRow(66, "Triangle Rasterize", "CPixelTriangleRasterize"),
    TriangleRow(67, "Triangle Rasterize 2", "CPixelTriangleRasterize2"),
    {68, "N Star", "CPixelNStar", 1024, 1024, {{"N", 5, 32, 1, 5}}},
    {69, "N Light Star", "CPixelNLightStar", 1024, 1024,
        {{"N", 3, 32, 1, 5},
        {"Radius", 32, 512, 0.5, 200},
        {"Height Scale", 0, 3.2, 0.001, 0.618}}},
    // 70
    {70, "Lattice Cloth", "CPixelLatticeCloth"},
    {71, "Flat Table Cloth", "CPixelTablecloths"},
    {72, "Reflected Waves", "CPixelReflectedWaves", 1024, 1024, {{"Wave Size", 0, 10000, 1, 8000}}},
    {73, "Magnifier Ball", "CPixelMagnifierBall", 1024, 1024,
        {{"Ball Pos X", 0, 1023, 1, 512},
        {"Ball Pos Y", 0, 1023, 1, 512}}},
    {74, "Starry Night", "CPixelStarryNight"},
    {75, "Christmas Stars", "CPixelChristmasStars"},
    {76, "Cameron 1", "CPixelCameron1"},
    {77, "Cameron 2", "CPixelCameron2"},
    {78, "Plaid Trip", "CPixelPlaidTrip"},
    {79, "Henon", "CPixelHenon", 1024, 1024, {{"Angle", 0, 12.566371, 0.01, 10}}},
    // 80
    {80, "Henon IFS", "CPixelHenonIFS", 1024, 1024, {{"Several Side", 2, 16, 1, 3}}},
    {81, "Star Julia", "CPixelStarJulia", 1024, 1024, {{"Type", 0, 2, 1, 0}}},
    {82, "Twon Dragon", "CPixelTwonDragon", 1024, 1024, {{"Several Side", 2, 16, 1, 3}}},
    {83, "Cooral Dragon", "CPixelCooralDragon", 1024, 1024, {{"Several Side", 2, 16, 1, 3}}},
    {84, "San Marco Dragon", "CPixelInverseSanMarcoDragon"},
    {85, "Grinch Dragon", "CPixelGrinchDragon"},
    {86, "Pascal Triangle", "CPixelPascalTriangle"},
    {87, "Diaxial Plane", "CPixelDiaxialPlane"},
    {88, "Mandelbrot Factor", "CPixelMandelFactor"},
    {89, "Lace", "CPixelLace"},
    // 90
    {90, "Reverse Julia", "CPixelReverseJulia", 1024, 1024,
        {{"A", -2, 2, 0.00001, -0.74543},
        {"B", -2, 2, 0.00001, 0.11301},
        {"P", 0, 1, 0.001, 0.99}}},
    {91, "Rational", "CPixelRational"},
    {92, "Inverse Tree", "CPixelInverseTree"},
    {93, "Similarity Dimension", "CPixelSpecificSimilarityDimension"},
    {94, "Star Fractal", "CPixelStarFractal", 1024, 1024, {{"Several Side", 3, 16, 1, 5}}},
    {95, "General N Tile", "CPixelGeneralNTile", 1024, 1024, {{"Several Side", 2, 16, 1, 3}}},
    {96, "Apollony Fractal", "CPixelApollonyFractal"},
    {97, "Kissing Circles", "CPixelKissingCircles"},
    {98, "Woggle", "CPixelWoggle", 1024, 1024, {{"Several Side", 2, 16, 1, 3}}},
    {99, "Cross Carpet", "CPixelCrossCarpet", 1024, 1024,
        {{"Several Side", 3, 16, 1, 4},
        {"Pass Side", 0, 32, 1, 0}}},
    // 100
    {100, "Trianguloid", "CPixelTrianguloid"},
    {101, "Rogers Rings", "CPixelRogersRings"},
    {102, "Measure Function", "CPixelMeasureFunction", 1024, 1024, {{"Several Side", 2, 16, 1, 3}}},
    {103, "Popcorn", "CPixelPopcorn", 1024, 1024,
        {{"Scale", 0.1, 10, 0.0001, 1},
        {"Hconst", -10, 10, 0.0001, 0.05},
        {"M", 4, 256, 1, 64},
        {"N", 100, 10000000, 1, 50000}}},
    {104, "Mauldin Gasket", "CPixelMauldinGasket"},
    {105, "DLA", "CPixelDLA"},
    {106, "Tree Root Attractor", "CPixelTreeRootAttractor"},
    {107, "Palette", "CPixelPalette"},
    {108, "Be Happy", "CPixelBeHappy"},
    {109, "Game Screen", "CPixelGameScreen"},
    // 110
    {110, "Umber Ferrule", "CPixelUmberFerrule"},
    {111, "Stripes", "CPixelStripes"},
    {112, "Sine Stripes", "CPixelSineStripes"},
    {113, "Nonlinear Stripes", "CPixelNonlinearStripes"},
    {114, "Wave Stripes", "CPixelWaveStripes"},
    {115, "Blur Stripes", "CPixelBlurStripes"},
    {116, "Zebra Stripes", "CPixelZebraStripes"},
    {117, "Mistake Stripes", "CPixelMistakeStripes"},
    {118, "Cross Target", "CPixelCrossTarget"},
    {119, "Random Painter 1", "CPixelRandomPainter1"},
    // 120
    {120, "Random Painter 2", "CPixelRandomPainter2"},
    {121, "Diabolical", "CPixelDiabolical", 1024, 1024, {{"Extend", 1, 128, 0.01, 64}}},
    {122, "Joukowsky", "CPixelJoukowsky"},
    {123, "Spiral 1", "CPixelSpiral1"},
    {124, "Spiral 2", "CPixelSpiral2", 1024, 1024,
        {{"Distance 1", -256, 256, 0.1, 80},
        {"Distance 2", -256, 256, 0.1, 45},
        {"Distance 3", -256, 256, 0.1, 60}}},
    {125, "Swirly Pointy 1", "CPixelSwirlyPointy1"},
    {126, "Swirly Pointy 2", "CPixelSwirlyPointy2"},
    {127, "Swirly Pointy 3", "CPixelSwirlyPointy3"},
    {128, "Faubiguy Circle", "CPixelFaubiguy"},
    {129, "Groovy", "CPixelGroovy"},
    // 130
    {130, "Laser Light", "CPixelLaserLight"},
    {131, "Sheet Music", "CPixelSheetMusic"},
    {132, "Voronoi Diagrams", "CPixelVoronoiDiagrams"},
    {133, "Vinyl", "CPixelVinyl"},
    {134, "Coloured Vinyl", "CPixelColouredVinyl"},
    {135, "Planetary Painter", "CPixelPlanetaryPainter"},
    {136, "Wavy Chessboard", "CPixelWavyChessboard"},
    {137, "Sharp Edges", "CPixelSharpEdges"},
    {138, "Binary Flash", "CPixelBinaryFlash"},
    {139, "Triangular Limbo", "CPixelTriangularLimbo"},
    // 140
    {140, "Mandelbrot 1", "CPixelMandelbrot1", 800, 600},
    {141, "Mandelbrot 2", "CPixelMandelbrot2"},
    {142, "Mandelbrot-Martin", "CPixelMandelbrotMartin", 1024, 1024, {{"Color Type", 0, 3, 1, 0}}},
    {143, "Mandelbrot-Kasten", "CPixelMandelbrotKasten"},
    {144, "Mandelbrot2-Kasten", "CPixelMandelbrotKasten2"},
    {145, "Mandelbrot-Lehman", "CPixelMandelbrotLehman"},
    {146, "Julia Sets 1", "CPixelJuliaSets1"},
    {147, "Julia Sets 2", "CPixelJuliaSets2", 1024, 1024,
        {{"Green R", -2, 2, 0.0001, 0.362},
        {"Green K", -2, 2, 0.0001, 0.32},
        {"Blue R", -2, 2, 0.0001, -0.7},
        {"Blue K", -2, 2, 0.0001, 0.2701}}},
    {148, "Julia Sets 3", "CPixelJuliaSets3", 800, 600},
    {149, "Mandelbulb 1", "CPixelMandelbulb1"},
    // 150
    {150, "Mandelbulb 2", "CPixelMandelbulb2"},
    {151, "Lyapunov Fractal 1", "CPixelLyapunovFractal1"},
    {152, "Lyapunov Fractal 2", "CPixelLyapunovFractal2"},
    {153, "Sierpinski Iteration", "CPixelSierpinskiIteration"},
    {154, "Sierpinski Carpets 1", "CPixelSierpinskiCarpets1"},
    {155, "Sierpinski Carpets 2", "CPixelSierpinskiCarpets2"},
    {156, "Sierpinski Carpets 3", "CPixelSierpinskiCarpets3", 1024, 1024,
        {{"Carpet type", 0, 5, 1, 0}}},
    {157, "Sierpinski Triangle", "CPixelSierpinskiTriangle"},
    {158, "Sierpinski Paint Splash", "CPixelSierpinskiSplash"},
    {159, "Sierpinski Pentagon", "CPixelSierpinskiPentagon"},
    // 160
    {160, "Sierpinski Triangle Map", "CPixelSierpinskiTriangleMap"},
    {161, "Schwefel", "CPixelSchwefel"},
    {162, "Schwefel New", "CPixelSchwefelNew"},
    {163, "Cool 1", "CPixelCool1"},
    {164, "Cool 2", "CPixelCool2"},
    {165, "Cool 3", "CPixelCool3"},
    {166, "Cool 4", "CPixelCool4"},
    {167, "Hilbert Color", "CPixelHilbertColor"},
    {168, "Hilbert Red", "CPixelHilbertRed"},
    {169, "Newton Fractal 1", "CPixelNewtonFractal1", 1024, 1024,
        {{"Min X", -10, 10, 0.001, -2},
        {"Max X", -10, 10, 0.001, 2},
        {"Min Y", -10, 10, 0.001, -2},
        {"Max Y", -10, 10, 0.001, 2}}},
    // 170
    {170, "Newton Fractal 2", "CPixelNewtonFractal2", 1024, 1024,
        {{"Min X", -10, 10, 0.001, -1},
        {"Max X", -10, 10, 0.001, 1},
        {"Min Y", -10, 10, 0.001, -1},
        {"Max Y", -10, 10, 0.001, 1}}},
    {171, "Cellular Automata 1", "CPixelCellularAutomata1"},
    {172, "Cellular Automata 2", "CPixelCellularAutomata2", 1024, 768},
    {173, "Cellular Automata 3", "CPixelCellularAutomata3", 1024, 512},
    {174, "Thorn Fractal", "CPixelThornFractal", 1024, 1024,
        {{"Cx", -10, 10, 0.0005, 0.102},
        {"Cy", -10, 10, 0.0005, -0.04}}},
    {175, "Burning Ship", "CPixelBurningShip", 1024, 1024,
        {{"Pos X", -10, 10, 0.0005, 0},
        {"Pos Y", -10, 10, 0.0005, 0},
        {"Range", 0.05, 20, 0.0005, 1}}},
    {176, "Square Tile Fractal", "CPixelSquareTileFractal"},
    {177, "Circle Squares", "CPixelCircleSquaresFractal"},
    {178, "Action Painting", "CPixelActionPainting"},
    {179, "Belousov-Zhabotinsky", "CPixelBelousovZhabotinsky"},
    // 180
    {180, "Buddhabrot 1", "CPixelBuddhabrot1"},
    {181, "Buddhabrot 2", "CPixelBuddhabrot2", 1024, 1024,
        {{"Scale R", 10, 1000, 0.5, 31},
        {"Scale G", 10, 1000, 0.5, 29},
        {"Scale B", 10, 1000, 0.5, 23}}},
    {182, "Buddhabrot 3", "CPixelBuddhabrot3"},
    {183, "Feigenbaum Logistic", "CPixelFeigenbaumLogistic", 512, 512},
    {184, "Logistic Map", "CPixelLogisticMap"},
    {185, "Ice Frost", "CPixelIceFrost", 512, 512},
    {186, "IFS Tree", "CPixelIFSTree"},
    {187, "Martin Iterate", "CPixelMartinIterate", 1024, 1024,
        {{"Param A", -5, 5, 0.0001, 0.68},
        {"Param B", -5, 5, 0.0001, 0.75},
        {"Param C", -5, 5, 0.0001, 0.83},
        {"Scale", 0.1, 10, 0.01, 2}}},
    {188, "Four Quadrangle", "CPixelQuadrangle", 1024, 1024, {{"Type", 0, 5, 1, 0}}},
    {189, "Five Pentagon", "CPixelPentagon", 1024, 1024, {{"Type", 0, 6, 1, 0}}},
    // 190
    {190, "Six Hexagonal", "CPixelHexagonal", 1024, 1024, {{"Type", 0, 8, 1, 0}}},
    {191, "Seven Heptagon", "CPixelHeptagon", 1024, 1024, {{"Type", 0, 5, 1, 0}}},
    {192, "Eight Octagon", "CPixelOctagon", 1024, 1024, {{"Type", 0, 6, 1, 0}}},
    {193, "Raycaster Sphere", "CPixelRaycasterSphere"},
    {194, "Raycaster Sprite", "CPixelRaycasterSprite"},
};
// clang-format on

constexpr bool RowsInIndexOrder() {
    for (uint32_t i = 0; i < std::size(kCatalogue); ++i)
        if (kCatalogue[i].index != i) return false;
    return true;
}
static_assert(RowsInIndexOrder(), "catalogue rows must be listed in index order");
static_assert(std::size(kCatalogue) <= kEquationSlotCount);

// The families whose classes are built. A row whose class none of them provides stays empty.
constexpr EquationClassTable (*kEquationFamilies[])() = {
    BitPatternEquations,
    EmblemEquations,
    ClosedFormEquations,
    EscapeTimeEquations,
    SierpinskiEquations,
    CellularAutomatonEquations,
    RandomPictureEquations,
    ClothEquations,
    StripeEquations,
    SpiralEquations,
    PatternEquations,
    ShaderEquations,
    TestFunctionEquations,
    FieldEquations,
    SceneEquations,
    PainterEquations,
    RaycasterEquations,
    IteratedMapEquations,
    DragonEquations,
    CountColouredEquations,
    OrbitEquations,
    CanvasEquations,
};

EquationFactory FindFactory(const char* className) {
    for (auto family : kEquationFamilies) {
        for (const EquationClass& entry : family()) {
            if (std::strcmp(entry.className, className) == 0) return entry.create;
        }
    }
    return nullptr;
}

}  // namespace

std::span<const EquationInfo> EquationCatalogue() { return kCatalogue; }

std::unique_ptr<IPixelEquation> CreateEquation(uint32_t index) {
    if (index >= std::size(kCatalogue)) return nullptr;
    EquationFactory create = FindFactory(kCatalogue[index].className);
    return create ? create(kCatalogue[index]) : nullptr;
}

int BuildEquationCatalogue(EquationTable& table) {
    int count = 0;
    for (auto& slot : table) slot.reset();
    for (const EquationInfo& row : kCatalogue) {
        table[row.index] = CreateEquation(row.index);
        if (table[row.index]) ++count;
    }
    return count;
}

}  // namespace luneth
