// The fractal functions' registration table (the members live in FractalEscape.cpp,
// FractalNewton.cpp and FractalFold.cpp; FractalMembers.h describes the conventions).
//
// Arguments, in the order read, and the default iteration count:
//
//   fractal_hierarchy_sphere    x y s n                     100
//   fractal_hierarchy_square    x y s n                     100
//   fractal_madrugada           x y s n                     100   2-D Mandelbox
//   fractal_bedouin             x y z n                     6
//   fractal_manda               x y b1 b2 n                 12
//   fractal_thorn               x y a b bailout n           128
//   fractal_exponential         x y cr ci n                 25
//   fractal_holy_grail          x y z c n                   10
//   fractal_grinning            x y cr ci n                 64
//   fractal_sierpinski_carpet   x y n                       5     0 or 1
//   fractal_newton              x y n                       32    final imaginary part
//   fractal_lyapunov            x y n                       50
//   fractal_mandelbrot          x y n                       128
//   fractal_mandelbrot_center   x y zr0 zi0 n               128
//   fractal_mandelbrot_distance x y n                       300   0 inside the set
//   fractal_mandelbrot_ex       x y cr ci n                 256
//   fractal_mandelbrot_power    x y p n                     128
//   fractal_mandelbulb          x y z p n                   7
//   fractal_mandelbrot3d_a      x y z bailout n             128
//   fractal_mandelbrot3d_b      x y z bailout n             128   triplex square
//   fractal_pattern_a           x y z a n                   10
//   fractal_pattern_b           x y z a n                   10    orbit trap of pattern_a
//   fractal_julia_sets          x y cr ci n                 200
//   fractal_julia_inv_sets      x y cr ci n                 200
//   fractal_julia_traps         x y a b n                   128
//   fractal_julia_inv_traps     x y a b n                   128
//   fractal_julia_level         x y cr ci (ignored) n       128
//   fractal_julia_distance      x y cr ci n                 256
//   fractal_julia_quaternion    x y z c1 c2 c3 c4 n         10
//   fractal_juliasbulb          x y z c1 c2 c3 k n          10
//   fractal_sin_julia           x y bailout n               128
//   fractal_burnship            x y a b n                   256
//   fractal_burning_ship        x y n                       2000
//   fractal_kali_set            x y z a b c n               19
//   fractal_kali_iteration      x y z a b c n               18
//   fractal_field               x y z a b c s p k n         32
//   fractal_magic               x y z a b c n               13
//   fractal_anxiety             x y z a b c n               20    tetrahedral fold trap
//   fractal_orbiting            x y a b k e n               128
//   fractal_phoenix             x y c1 p c2 q n             100
//   fractal_phoenix2            x y c1 p1 p2 c2 q1 q2 n     100
//   fractal_flowers             x y cx cy a f n             5
//   fractal_cmpx_vine           x y cr ci bailout n         128
//   fractal_cmpx_cactus         x y cr ci bailout n         128
//   fractal_cmpx_sin_julia      x y cr ci bailout n         128
//   fractal_cmpx_crown          x y cr ci bailout n         16    tricorn Julia set
//   fractal_cmpx_power          x y cr ci p bailout n       16
//   fractal_cmpx_newton         x y eps n                   32
//   fractal_cmpx_newton_pow6    x y eps n                   32
//   fractal_cmpx_newton_pow8    x y eps n                   32
//   fractal_cmpx_newton_sin     x y eps n                   64
//   fractal_cmpx_newton_ex      x y ar ai eps n             32
//   fractal_cmpx_newton_exp     x y ar ai eps n             32    relaxed Newton for e^z - 1
//   fractal_cmpx_aiekick        x y cr ci p bailout n       100
//   fractal_cmpx_butterfly      x y k p bailout n           128
//   fractal_cmpx_lemon          x y eps n                   128
//   fractal_cmpx_duck           x y cr ci n                 50
//   fractal_cmpx_binocular      x y c1r c1i c2r c2i p bailout n  128  alternating Julia
#include "functions/Families.h"
#include "functions/FractalMembers.h"

namespace luneth {

namespace {

using namespace fractal;

constexpr BuiltinFunction kFractals[] = {
    {"fractal_hierarchy_sphere", HierarchySphere},
    {"fractal_hierarchy_square", HierarchySquare},
    {"fractal_madrugada", Madrugada},
    {"fractal_bedouin", Bedouin},
    {"fractal_manda", Manda},
    {"fractal_thorn", Thorn},
    {"fractal_exponential", Exponential},
    {"fractal_holy_grail", HolyGrail},
    {"fractal_grinning", Grinning},
    {"fractal_sierpinski_carpet", SierpinskiCarpet},
    {"fractal_newton", Newton},
    {"fractal_lyapunov", Lyapunov},
    {"fractal_mandelbrot", Mandelbrot},
    {"fractal_mandelbrot_center", MandelbrotCenter},
    {"fractal_mandelbrot_distance", MandelbrotDistance},
    {"fractal_mandelbrot_ex", MandelbrotEx},
    {"fractal_mandelbrot_power", MandelbrotPower},
    {"fractal_mandelbulb", Mandelbulb},
    {"fractal_mandelbrot3d_a", Mandelbrot3dA},
    {"fractal_mandelbrot3d_b", Mandelbrot3dB},
    {"fractal_pattern_a", PatternA},
    {"fractal_pattern_b", PatternB},
    {"fractal_julia_sets", JuliaSets},
    {"fractal_julia_inv_sets", JuliaInvSets},
    {"fractal_julia_traps", JuliaTraps},
    {"fractal_julia_inv_traps", JuliaInvTraps},
    {"fractal_julia_level", JuliaLevel},
    {"fractal_julia_distance", JuliaDistance},
    {"fractal_julia_quaternion", JuliaQuaternion},
    {"fractal_juliasbulb", Juliasbulb},
    {"fractal_sin_julia", SinJulia},
    {"fractal_burnship", Burnship},
    {"fractal_burning_ship", BurningShip},
    {"fractal_kali_set", KaliSet},
    {"fractal_kali_iteration", KaliIteration},
    {"fractal_field", Field},
    {"fractal_magic", Magic},
    {"fractal_anxiety", Anxiety},
    {"fractal_orbiting", Orbiting},
    {"fractal_phoenix", Phoenix},
    {"fractal_phoenix2", Phoenix2},
    {"fractal_flowers", Flowers},
    {"fractal_cmpx_vine", CmpxVine},
    {"fractal_cmpx_cactus", CmpxCactus},
    {"fractal_cmpx_sin_julia", CmpxSinJulia},
    {"fractal_cmpx_crown", CmpxCrown},
    {"fractal_cmpx_power", CmpxPower},
    {"fractal_cmpx_newton", CmpxNewton},
    {"fractal_cmpx_newton_pow6", CmpxNewtonPow6},
    {"fractal_cmpx_newton_pow8", CmpxNewtonPow8},
    {"fractal_cmpx_newton_sin", CmpxNewtonSin},
    {"fractal_cmpx_newton_ex", CmpxNewtonEx},
    {"fractal_cmpx_newton_exp", CmpxNewtonExp},
    {"fractal_cmpx_aiekick", CmpxAiekick},
    {"fractal_cmpx_butterfly", CmpxButterfly},
    {"fractal_cmpx_lemon", CmpxLemon},
    {"fractal_cmpx_duck", CmpxDuck},
    {"fractal_cmpx_binocular", CmpxBinocular},
};

}  // namespace

FunctionTable FractalFunctions() { return kFractals; }

}  // namespace luneth
