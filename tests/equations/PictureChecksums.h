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
    {16, 0xC6F5AD0385CC9209ull},   // ShaderToy Ocean
    {17, 0x9E41CF90CD0388B5ull},   // ShaderToy Star
    {18, 0x19ED1915354CE795ull},   // ShaderToy Mars
    {19, 0xE34238839EF3D642ull},   // ShaderToy Frozenland
    {20, 0x1FC8E3796E695A28ull},   // ShaderToy Elevated
    {21, 0xC659B2D59F69A576ull},   // ShaderToy Fire
    {22, 0x65BA689E34049D18ull},   // ShaderToy Clouds
    {23, 0x3331797F6CB90C70ull},   // ShaderToy Hell
    {24, 0xA597BEE14D3557C9ull},   // ShaderToy Flames
    {25, 0xB206AD1F42AAE2A8ull},   // ShaderToy Galaxy
    {26, 0x6EE401D5C82F7A41ull},   // ShaderToy StarNest
    {27, 0x31485B185F8AD463ull},   // ShaderToy Noise
    {28, 0xF426BB0D2C04FA99ull},   // ShaderToy NoiseBlur
    {29, 0xE9A47C53950AA082ull},   // ShaderToy TinyPlanet
    {30, 0x3F3FB9E5A87840D9ull},   // ShaderToy Disk
    {31, 0x52B215CBBEC2BD83ull},   // ShaderToy Simplicity
    {32, 0x0F74A36188BFCAEBull},   // ShaderToy WaterCaustic
    {33, 0xA950601D6347D471ull},   // ShaderToy SatelliteEye
    {34, 0xA83E8F30C12E1E47ull},   // ShaderToy AfterRain
    {35, 0x4960FEE1EE443BD4ull},   // ShaderToy Smoke
    {36, 0x80A162B174275A3Cull},   // ShaderToy Nightfall
    {37, 0xEC2556E59139DA54ull},   // ShaderToy Cave
    {38, 0xF80E7B2605E2DA44ull},   // ShaderToy NoiseImage
    {39, 0x7560072645193E4Cull},   // ShaderToy CloudySunset
    {40, 0x31659ED681B63E3Cull},   // ShaderToy FFT_Domain
    {41, 0xE5D411EF04E3879Full},   // ShaderToy Eye
    {50, 0xE1AEB8D70FF94F4Cull},   // Taiji Yinyang
    {51, 0x91C0E4D52025AD55ull},   // Taiji Four Diagrams
    {52, 0x1F91572F64CE0325ull},   // Taiji World
    {53, 0xFC90139DDDE9303Cull},   // Taiji Eight Diagrams
    {54, 0x9BCA01F3E9954625ull},   // Svastika Left
    {55, 0xBD81D6D7B219FC2Dull},   // Svastika Right
    {56, 0xCC79129485038CC7ull},   // Svastikas Set
    {57, 0x5C127BECBFB1ACF5ull},   // Cross on a Hill
    {59, 0xF95C6D8556FDB1C5ull},   // Blue Sky White Sun
    {60, 0xEF1A663986E76F05ull},   // Five Stars Red Flag
    {61, 0x8BE91857C3FED657ull},   // American Flag
    {62, 0x146FD0BC1A934A65ull},   // WeiQi
    {63, 0x5707DE78A20CCBE2ull},   // Trial Coordinate
    {64, 0x26193043649B4C3Dull},   // Black Hole
    {65, 0xE27FE8D39EB4FD26ull},   // Triangle
    {68, 0xCD24BB27FB62A6B1ull},   // N Star
    {69, 0xE5C718ED0D1CF18Dull},   // N Light Star
    {77, 0x2E9323623A114B78ull},   // Cameron 2
    {107, 0x07DA960E3343AC25ull},  // Palette
    {131, 0x2988B0B6A4B52B27ull},  // Sheet Music
    {133, 0x74DA6DFA4EE9C557ull},  // Vinyl
    {167, 0xD9D11AF3C3F5D825ull},  // Hilbert Color
    {168, 0xD9D11AF3C3F5D825ull},  // Hilbert Red
    {176, 0x927F43E267B12325ull},  // Square Tile Fractal
    {177, 0xB0182D76AA006585ull},  // Circle Squares
};

}  // namespace luneth::test
