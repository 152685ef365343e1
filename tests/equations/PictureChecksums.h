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
    {0, 0xF8E3E56CE9222325ull},    // Black
    {1, 0xEDCA745A0AC7B049ull},    // Color RGB
    {2, 0x8B013EA2B7E22325ull},    // XOR
    {3, 0xAA20EA77A1C62595ull},    // Pow FTW
    {4, 0xA01F43EC69F1B325ull},    // Pow And
    {5, 0x4547A6AE444769BAull},    // AndAddOr
    {6, 0xCD9681EF8E1D21C4ull},    // And
    {7, 0x5B5BED079FC80325ull},    // Colorful Triangle
    {8, 0x041155D57D1F71D2ull},    // Unicorns
    {9, 0x7ACB8EFD63BE6615ull},    // Purple
    {10, 0x957B56419C2CFE87ull},   // Color Point
    {11, 0x2A8CAB9ADEA46119ull},   // Construction Papers
    {12, 0x96C95D30AC85BE28ull},   // Spotlight
    {13, 0xB2834DC189492781ull},   // Float Convert Int 1
    {14, 0xB83A33AA575EAC25ull},   // Float Convert Int 2
    {15, 0x39D9BE7491E07966ull},   // Float Convert Int 3
    {50, 0xE1AEB8D70FF94F4Cull},   // Taiji Yinyang
    {51, 0x91C0E4D52025AD55ull},   // Taiji Four Diagrams
    {52, 0x1F91572F64CE0325ull},   // Taiji World
    {53, 0xFC90139DDDE9303Cull},   // Taiji Eight Diagrams
    {54, 0x9BCA01F3E9954625ull},   // Svastika Left
    {55, 0xBD81D6D7B219FC2Dull},   // Svastika Right
    {56, 0xCC79129485038CC7ull},   // Svastikas Set
    {57, 0x5C127BECBFB1ACF5ull},   // Cross on a Hill
    {58, 0xAD987159FAE7493Cull},   // Stack Overflow
    {59, 0xF95C6D8556FDB1C5ull},   // Blue Sky White Sun
    {60, 0xEF1A663986E76F05ull},   // Five Stars Red Flag
    {61, 0x8BE91857C3FED657ull},   // American Flag
    {62, 0x146FD0BC1A934A65ull},   // WeiQi
    {63, 0x5707DE78A20CCBE2ull},   // Trial Coordinate
    {64, 0x26193043649B4C3Dull},   // Black Hole
    {65, 0xE27FE8D39EB4FD26ull},   // Triangle
    {68, 0xCD24BB27FB62A6B1ull},   // N Star
    {69, 0xE5C718ED0D1CF18Dull},   // N Light Star
    {72, 0x56C234473CBF287Full},   // Reflected Waves
    {73, 0xA0073DAD513743C8ull},   // Magnifier Ball
    {74, 0x04E50B8C9A474A58ull},   // Starry Night
    {75, 0x0C0A142B02FD2FD9ull},   // Christmas Stars
    {76, 0x5BBE318CDF64266Dull},   // Cameron 1
    {77, 0x2E9323623A114B78ull},   // Cameron 2
    {107, 0x07DA960E3343AC25ull},  // Palette
    {108, 0x9574240F403BA069ull},  // Be Happy
    {109, 0x5960687A1A3B13BDull},  // Game Screen
    {110, 0x6F4EC0909405EB51ull},  // Umber Ferrule
    {119, 0xFF1017DA88EC94D4ull},  // Random Painter 1
    {120, 0x6C56C32548EAA953ull},  // Random Painter 2
    {121, 0x42D8722F46F40038ull},  // Diabolical
    {122, 0xF94ACC42669DC234ull},  // Joukowsky
    {131, 0x2988B0B6A4B52B27ull},  // Sheet Music
    {133, 0x74DA6DFA4EE9C557ull},  // Vinyl
    {134, 0x2581B1D1D750148Dull},  // Coloured Vinyl
    {135, 0xC706CD6B9E514729ull},  // Planetary Painter
    {149, 0x5606A3E082530BA7ull},  // Mandelbulb 1
    {150, 0x58DEA10CF0834A0Cull},  // Mandelbulb 2
    {152, 0x3D21CA2EB7EA55F2ull},  // Lyapunov Fractal 2
    {161, 0x0C75D41F1B5CED62ull},  // Schwefel
    {162, 0x39EF9DA876787BC7ull},  // Schwefel New
    {163, 0x60465536A03ABC0Dull},  // Cool 1
    {164, 0x1147F0F7F789A98Aull},  // Cool 2
    {165, 0xE3B6EAC05C928ED5ull},  // Cool 3
    {166, 0x1F82904E0647923Aull},  // Cool 4
    {167, 0xD9D11AF3C3F5D825ull},  // Hilbert Color
    {168, 0xD9D11AF3C3F5D825ull},  // Hilbert Red
    {176, 0x927F43E267B12325ull},  // Square Tile Fractal
    {177, 0xB0182D76AA006585ull},  // Circle Squares
    {193, 0x075D5A288F82A5A5ull},  // Raycaster Sphere
    {194, 0xE4749AF6616C8720ull},  // Raycaster Sprite
};

}  // namespace luneth::test
