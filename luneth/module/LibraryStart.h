// The function library's one-time start.
//
// StartFunctionLibrary() fills the function registry (the core group, then the texture,
// colour, distance, fractal and terrain groups, then the noise presets) and builds every table
// that the built-in functions read (the random texture, the reference Perlin tables). It runs
// its work once per process, however many image objects start and from whichever threads;
// afterwards the registry and the tables are only read.
#pragma once

namespace luneth {

void StartFunctionLibrary();

}  // namespace luneth
