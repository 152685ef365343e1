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
    {59, 0xF95C6D8556FDB1C5ull},   // Blue Sky White Sun
    {60, 0xEF1A663986E76F05ull},   // Five Stars Red Flag
    {61, 0x8BE91857C3FED657ull},   // American Flag
    {62, 0x146FD0BC1A934A65ull},   // WeiQi
    {63, 0x5707DE78A20CCBE2ull},   // Trial Coordinate
    {64, 0x26193043649B4C3Dull},   // Black Hole
    {65, 0xE27FE8D39EB4FD26ull},   // Triangle
    {66, 0x90FA1B4C373462F2ull},   // Triangle Rasterize
    {67, 0xFFE4E6ADF8D23BCDull},   // Triangle Rasterize 2
    {68, 0xCD24BB27FB62A6B1ull},   // N Star
    {69, 0xE5C718ED0D1CF18Dull},   // N Light Star
    {77, 0x2E9323623A114B78ull},   // Cameron 2
    {79, 0x0C30F65E1FED2606ull},   // Henon
    {80, 0x5B68F7B1F2BC4E8Aull},   // Henon IFS
    {81, 0x5E994DFAF37540E6ull},   // Star Julia
    {82, 0x38C56C105069DBE3ull},   // Twon Dragon
    {83, 0x89F591D6915155C7ull},   // Cooral Dragon
    {84, 0x04831208DE2DD492ull},   // San Marco Dragon
    {85, 0xE8FAFB40341B5904ull},   // Grinch Dragon
    {86, 0xA1B25BA45AF2D4E5ull},   // Pascal Triangle
    {87, 0x5F5F7B3DB1C79C6Full},   // Diaxial Plane
    {88, 0xE9D81579DCE6F27Full},   // Mandelbrot Factor
    {89, 0x069E4EFECA2FBEA6ull},   // Lace
    {90, 0x50B6D69073BEFE47ull},   // Reverse Julia
    {91, 0x43AEF5790F54F683ull},   // Rational
    {92, 0x9E331521B98E7534ull},   // Inverse Tree
    {93, 0xDC93D32CC787D295ull},   // Similarity Dimension
    {94, 0x6C9993418B1149C4ull},   // Star Fractal
    {95, 0xF63119051CD4A58Cull},   // General N Tile
    {96, 0x5429742F1ED88DB9ull},   // Apollony Fractal
    {97, 0xDCAAA8B171277F5Dull},   // Kissing Circles
    {98, 0x1C7A4D70B2510C72ull},   // Woggle
    {99, 0x5AF035CDBC3508AEull},   // Cross Carpet
    {100, 0xAA6344E974A2A09Aull},  // Trianguloid
    {101, 0xA6A27994DF927635ull},  // Rogers Rings
    {102, 0x2450CBBDCE7954A1ull},  // Measure Function
    {103, 0x686CBA555580526Bull},  // Popcorn
    {104, 0x0B393D4D8892DD02ull},  // Mauldin Gasket
    {105, 0x82E6C983973CAD3Cull},  // DLA
    {106, 0xFFC627F30BD37921ull},  // Tree Root Attractor
    {107, 0x07DA960E3343AC25ull},  // Palette
    {131, 0x2988B0B6A4B52B27ull},  // Sheet Music
    {133, 0x74DA6DFA4EE9C557ull},  // Vinyl
    {167, 0xD9D11AF3C3F5D825ull},  // Hilbert Color
    {168, 0xD9D11AF3C3F5D825ull},  // Hilbert Red
    {176, 0x927F43E267B12325ull},  // Square Tile Fractal
    {177, 0xB0182D76AA006585ull},  // Circle Squares
    {178, 0x3296BBBF9B0C5217ull},  // Action Painting
    {179, 0xDBEA145C6F62CA38ull},  // Belousov-Zhabotinsky
    {180, 0x1891E2CF492DB32Full},  // Buddhabrot 1
    {181, 0xF175E561F9071F63ull},  // Buddhabrot 2
    {182, 0xDD721135EA33C784ull},  // Buddhabrot 3
    {183, 0x42612F662E3A4B1Cull},  // Feigenbaum Logistic
    {184, 0xB5C27813FA0EB871ull},  // Logistic Map
    {185, 0xB3BD16EB190721FDull},  // Ice Frost
    {186, 0x3E6904DBA7090E5Dull},  // IFS Tree
    {187, 0x37C163673605DB69ull},  // Martin Iterate
    {188, 0xEC52BF994B36E143ull},  // Four Quadrangle
    {189, 0x961FC57CCC9D0CA5ull},  // Five Pentagon
    {190, 0xB031524E7EF82000ull},  // Six Hexagonal
    {191, 0xA380D1F09C6993A3ull},  // Seven Heptagon
    {192, 0x6FD71FCD09DAFC2Cull},  // Eight Octagon
};

}  // namespace luneth::test
