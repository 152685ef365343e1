// The whole picture of every built equation at its default parameters, as an FNV-1a checksum
// over the pixel words (see EquationTestUtil). A change here must be a deliberate change of a
// picture; a new equation adds its row (the failing test prints it).
#pragma once

#include <cstdint>

namespace luneth::test {

struct RecordedPicture {
    uint32_t index;
    uint64_t checksum;
};

inline constexpr RecordedPicture kPictureChecksums[] = {
    {0, 0xF8E3E56CE9222325ull},  // Black
    {1, 0xEDCA745A0AC7B049ull},  // Color RGB
    {2, 0x8B013EA2B7E22325ull},  // XOR
    {3, 0xAA20EA77A1C62595ull},  // Pow FTW
    {4, 0xA01F43EC69F1B325ull},  // Pow And
    {5, 0x4547A6AE444769BAull},  // AndAddOr
    {6, 0xCD9681EF8E1D21C4ull},  // And
    {7, 0x5B5BED079FC80325ull},  // Colorful Triangle
    {8, 0x041155D57D1F71D2ull},  // Unicorns
    {9, 0x7ACB8EFD63BE6615ull},  // Purple
    {10, 0x957B56419C2CFE87ull}, // Color Point
    {11, 0x2A8CAB9ADEA46119ull}, // Construction Papers
    {12, 0x96C95D30AC85BE28ull}, // Spotlight
    {13, 0xB2834DC189492781ull}, // Float Convert Int 1
    {14, 0xB83A33AA575EAC25ull}, // Float Convert Int 2
    {15, 0x39D9BE7491E07966ull}, // Float Convert Int 3
    {16, 0xC6F5AD0385CC9209ull}, // ShaderToy Ocean
    {17, 0x9E41CF90CD0388B5ull}, // ShaderToy Star
    {18, 0x19ED1915354CE795ull}, // ShaderToy Mars
    {19, 0xE34238839EF3D642ull}, // ShaderToy Frozenland
    {20, 0x1FC8E3796E695A28ull}, // ShaderToy Elevated
    {21, 0xC659B2D59F69A576ull}, // ShaderToy Fire
    {22, 0x65BA689E34049D18ull}, // ShaderToy Clouds
    {23, 0x3331797F6CB90C70ull}, // ShaderToy Hell
    {24, 0xA597BEE14D3557C9ull}, // ShaderToy Flames
    {25, 0xB206AD1F42AAE2A8ull}, // ShaderToy Galaxy
    {26, 0x6EE401D5C82F7A41ull}, // ShaderToy StarNest
    {27, 0x31485B185F8AD463ull}, // ShaderToy Noise
    {28, 0xF426BB0D2C04FA99ull}, // ShaderToy NoiseBlur
    {29, 0xE9A47C53950AA082ull}, // ShaderToy TinyPlanet
    {30, 0x3F3FB9E5A87840D9ull}, // ShaderToy Disk
    {31, 0x52B215CBBEC2BD83ull}, // ShaderToy Simplicity
    {32, 0x0F74A36188BFCAEBull}, // ShaderToy WaterCaustic
    {33, 0xA950601D6347D471ull}, // ShaderToy SatelliteEye
    {34, 0xA83E8F30C12E1E47ull}, // ShaderToy AfterRain
    {35, 0x4960FEE1EE443BD4ull}, // ShaderToy Smoke
    {36, 0x80A162B174275A3Cull}, // ShaderToy Nightfall
    {37, 0xEC2556E59139DA54ull}, // ShaderToy Cave
    {38, 0xF80E7B2605E2DA44ull}, // ShaderToy NoiseImage
    {39, 0x7560072645193E4Cull}, // ShaderToy CloudySunset
    {40, 0x31659ED681B63E3Cull}, // ShaderToy FFT_Domain
    {41, 0xE5D411EF04E3879Full}, // ShaderToy Eye
    {42, 0x62B8179CE1596DBBull}, // Math Random
    {43, 0xD700AD43017D702Full}, // Arnold Random
    {44, 0x24B4B9380066B436ull}, // Map Random
    {45, 0x8E08A567C7BC433Eull}, // Color Map Random
    {46, 0xEC1411E1BC62758Dull}, // Color Random 2
    {47, 0x393ECFCD1C3A4146ull}, // Smooth Color Random
    {48, 0x3AFEFBDCAA32520Dull}, // Hash
    {49, 0x7BB8495478DF5388ull}, // MyRandom
    {50, 0xE1AEB8D70FF94F4Cull}, // Taiji Yinyang
    {51, 0x91C0E4D52025AD55ull}, // Taiji Four Diagrams
    {52, 0x1F91572F64CE0325ull}, // Taiji World
    {53, 0xFC90139DDDE9303Cull}, // Taiji Eight Diagrams
    {54, 0x9BCA01F3E9954625ull}, // Svastika Left
    {55, 0xBD81D6D7B219FC2Dull}, // Svastika Right
    {56, 0xCC79129485038CC7ull}, // Svastikas Set
    {57, 0x5C127BECBFB1ACF5ull}, // Cross on a Hill
    {58, 0xAD987159FAE7493Cull}, // Stack Overflow
    {59, 0xF95C6D8556FDB1C5ull}, // Blue Sky White Sun
    {60, 0xEF1A663986E76F05ull}, // Five Stars Red Flag
    {61, 0x8BE91857C3FED657ull}, // American Flag
    {62, 0x146FD0BC1A934A65ull}, // WeiQi
    {63, 0x5707DE78A20CCBE2ull}, // Trial Coordinate
    {64, 0x26193043649B4C3Dull}, // Black Hole
    {65, 0xE27FE8D39EB4FD26ull}, // Triangle
    {66, 0x90FA1B4C373462F2ull}, // Triangle Rasterize
    {67, 0xFFE4E6ADF8D23BCDull}, // Triangle Rasterize 2
    {68, 0xCD24BB27FB62A6B1ull}, // N Star
    {69, 0xE5C718ED0D1CF18Dull}, // N Light Star
    {70, 0xBF5E8D286E4D4CB5ull}, // Lattice Cloth
    {71, 0xA2E8B818D1C5B639ull}, // Flat Table Cloth
    {72, 0x56C234473CBF287Full}, // Reflected Waves
    {73, 0xA0073DAD513743C8ull}, // Magnifier Ball
    {74, 0x04E50B8C9A474A58ull}, // Starry Night
    {75, 0x0C0A142B02FD2FD9ull}, // Christmas Stars
    {76, 0x5BBE318CDF64266Dull}, // Cameron 1
    {77, 0x2E9323623A114B78ull}, // Cameron 2
    {78, 0xE1273FFB9F137260ull}, // Plaid Trip
    {79, 0x0C30F65E1FED2606ull}, // Henon
    {80, 0x5B68F7B1F2BC4E8Aull}, // Henon IFS
    {81, 0x5E994DFAF37540E6ull}, // Star Julia
    {82, 0x38C56C105069DBE3ull}, // Twon Dragon
    {83, 0x89F591D6915155C7ull}, // Cooral Dragon
    {84, 0x04831208DE2DD492ull}, // San Marco Dragon
    {85, 0xE8FAFB40341B5904ull}, // Grinch Dragon
    {86, 0xA1B25BA45AF2D4E5ull}, // Pascal Triangle
    {87, 0x5F5F7B3DB1C79C6Full}, // Diaxial Plane
    {88, 0xE9D81579DCE6F27Full}, // Mandelbrot Factor
    {89, 0x069E4EFECA2FBEA6ull}, // Lace
    {90, 0x50B6D69073BEFE47ull}, // Reverse Julia
    {91, 0x43AEF5790F54F683ull}, // Rational
    {92, 0x9E331521B98E7534ull}, // Inverse Tree
    {93, 0xDC93D32CC787D295ull}, // Similarity Dimension
    {94, 0x6C9993418B1149C4ull}, // Star Fractal
    {95, 0xF63119051CD4A58Cull}, // General N Tile
    {96, 0x5429742F1ED88DB9ull}, // Apollony Fractal
    {97, 0xDCAAA8B171277F5Dull}, // Kissing Circles
    {98, 0x1C7A4D70B2510C72ull}, // Woggle
    {99, 0x5AF035CDBC3508AEull}, // Cross Carpet
    {100, 0xAA6344E974A2A09Aull}, // Trianguloid
    {101, 0xA6A27994DF927635ull}, // Rogers Rings
    {102, 0x2450CBBDCE7954A1ull}, // Measure Function
    {103, 0x686CBA555580526Bull}, // Popcorn
    {104, 0x0B393D4D8892DD02ull}, // Mauldin Gasket
    {105, 0x82E6C983973CAD3Cull}, // DLA
    {106, 0xFFC627F30BD37921ull}, // Tree Root Attractor
    {107, 0x07DA960E3343AC25ull}, // Palette
    {108, 0x9574240F403BA069ull}, // Be Happy
    {109, 0x5960687A1A3B13BDull}, // Game Screen
    {110, 0x6F4EC0909405EB51ull}, // Umber Ferrule
    {111, 0xC89A1CF636A5F325ull}, // Stripes
    {112, 0x91A75F82EAFE63A4ull}, // Sine Stripes
    {113, 0x66E5ED1C4441296Dull}, // Nonlinear Stripes
    {114, 0x7EDB26A7E166AFE5ull}, // Wave Stripes
    {115, 0x70E7C6C06315F601ull}, // Blur Stripes
    {116, 0x64DCA8FDCC617150ull}, // Zebra Stripes
    {117, 0xD742BC2F345CCF64ull}, // Mistake Stripes
    {118, 0x5E4FC4624D9EB104ull}, // Cross Target
    {119, 0xFF1017DA88EC94D4ull}, // Random Painter 1
    {120, 0x6C56C32548EAA953ull}, // Random Painter 2
    {121, 0x42D8722F46F40038ull}, // Diabolical
    {122, 0xF94ACC42669DC234ull}, // Joukowsky
    {123, 0xA7B2ECE10E31C428ull}, // Spiral 1
    {124, 0x2701DAD9C4797885ull}, // Spiral 2
    {125, 0xCC50932D5113F6FDull}, // Swirly Pointy 1
    {126, 0xD3440F195FB1004Full}, // Swirly Pointy 2
    {127, 0xB7D3F4023DDC7315ull}, // Swirly Pointy 3
    {128, 0x33EAC62538971EC4ull}, // Faubiguy Circle
    {129, 0xAA8081AC5FB478BEull}, // Groovy
    {130, 0x1CC44DCC739B1529ull}, // Laser Light
    {131, 0x2988B0B6A4B52B27ull}, // Sheet Music
    {132, 0x198289A207FF8BE1ull}, // Voronoi Diagrams
    {133, 0x74DA6DFA4EE9C557ull}, // Vinyl
    {134, 0x2581B1D1D750148Dull}, // Coloured Vinyl
    {135, 0xC706CD6B9E514729ull}, // Planetary Painter
    {136, 0x46140302F6418EFAull}, // Wavy Chessboard
    {137, 0x542D7AB0F734D558ull}, // Sharp Edges
    {138, 0xB43F2AE5E2459F05ull}, // Binary Flash
    {139, 0x4D9CFCF360B476E6ull}, // Triangular Limbo
    {140, 0x5B884669A936CB5Cull}, // Mandelbrot 1
    {141, 0x277E5967C3FB328Full}, // Mandelbrot 2
    {142, 0x5921C1A9F5292395ull}, // Mandelbrot-Martin
    {143, 0x812A62B4D592915Dull}, // Mandelbrot-Kasten
    {144, 0xB0E4E0FD0694B74Full}, // Mandelbrot2-Kasten
    {145, 0xDAB576EA8E6AD8D0ull}, // Mandelbrot-Lehman
    {146, 0x659ADA8F85D923ADull}, // Julia Sets 1
    {147, 0x01EFB8DA1391B81Aull}, // Julia Sets 2
    {148, 0x97FF88498360FB64ull}, // Julia Sets 3
    {149, 0x5606A3E082530BA7ull}, // Mandelbulb 1
    {150, 0x58DEA10CF0834A0Cull}, // Mandelbulb 2
    {151, 0x665C107F5E189612ull}, // Lyapunov Fractal 1
    {152, 0x3D21CA2EB7EA55F2ull}, // Lyapunov Fractal 2
    {153, 0x2D47DADF0CAC04D5ull}, // Sierpinski Iteration
    {154, 0x94A4123CEA91DB25ull}, // Sierpinski Carpets 1
    {155, 0x2940746A37BBDB25ull}, // Sierpinski Carpets 2
    {156, 0x68BE31ACC16CE069ull}, // Sierpinski Carpets 3
    {157, 0xF5C3720CE99B2781ull}, // Sierpinski Triangle
    {158, 0xA5F55E3F27CC4BFDull}, // Sierpinski Paint Splash
    {159, 0x498E2982C648A101ull}, // Sierpinski Pentagon
    {160, 0x15DC6F4705BD2A56ull}, // Sierpinski Triangle Map
    {161, 0x0C75D41F1B5CED62ull}, // Schwefel
    {162, 0x39EF9DA876787BC7ull}, // Schwefel New
    {163, 0x60465536A03ABC0Dull}, // Cool 1
    {164, 0x1147F0F7F789A98Aull}, // Cool 2
    {165, 0xE3B6EAC05C928ED5ull}, // Cool 3
    {166, 0x1F82904E0647923Aull}, // Cool 4
    {167, 0xD9D11AF3C3F5D825ull}, // Hilbert Color
    {168, 0xD9D11AF3C3F5D825ull}, // Hilbert Red
    {169, 0xAA1248B5A748E4A6ull}, // Newton Fractal 1
    {170, 0xFFE5CBB3207D1186ull}, // Newton Fractal 2
    {171, 0x93D2180F2C0297DAull}, // Cellular Automata 1
    {172, 0x6774C5ACCD159469ull}, // Cellular Automata 2
    {173, 0x4A7A1FC2B4200572ull}, // Cellular Automata 3
    {174, 0x7681E81AC991CC73ull}, // Thorn Fractal
    {175, 0x3BF2416D2F239D31ull}, // Burning Ship
    {176, 0x927F43E267B12325ull}, // Square Tile Fractal
    {177, 0xB0182D76AA006585ull}, // Circle Squares
    {178, 0x3296BBBF9B0C5217ull}, // Action Painting
    {179, 0xDBEA145C6F62CA38ull}, // Belousov-Zhabotinsky
    {180, 0x1891E2CF492DB32Full}, // Buddhabrot 1
    {181, 0xF175E561F9071F63ull}, // Buddhabrot 2
    {182, 0xDD721135EA33C784ull}, // Buddhabrot 3
    {183, 0x42612F662E3A4B1Cull}, // Feigenbaum Logistic
    {184, 0xB5C27813FA0EB871ull}, // Logistic Map
    {185, 0xB3BD16EB190721FDull}, // Ice Frost
    {186, 0x3E6904DBA7090E5Dull}, // IFS Tree
    {187, 0x37C163673605DB69ull}, // Martin Iterate
    {188, 0xEC52BF994B36E143ull}, // Four Quadrangle
    {189, 0x961FC57CCC9D0CA5ull}, // Five Pentagon
    {190, 0xB031524E7EF82000ull}, // Six Hexagonal
    {191, 0xA380D1F09C6993A3ull}, // Seven Heptagon
    {192, 0x6FD71FCD09DAFC2Cull}, // Eight Octagon
    {193, 0x075D5A288F82A5A5ull}, // Raycaster Sphere
    {194, 0xE4749AF6616C8720ull}, // Raycaster Sprite
};

}  // namespace luneth::test
