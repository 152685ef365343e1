// Script channels to texels: the letters r, g, b, a (values 0 .. 1, one a pixel) written as
// A8R8G8B8 words 0xAARRGGBB.
//
// Pixel i = y x width + x reads each channel as a script value reads element i: the array
// element below its count, 0 beyond it, the scalar when there is no array. Alpha is the
// script's a only when a is an array; otherwise every pixel is opaque. A value below 0 (or NaN)
// gives the byte 0, above 1 gives 255, otherwise value x 255 truncated (0.5 -> 127).
#pragma once

#include <cstdint>

#include "common/ColorWord.h"
#include "script/ScriptValue.h"

namespace luneth {

// Writes width x height pixels, rows pitchWords apart. `a` may be null (opaque). False, writing
// nothing, for a size of 0, a pitch below the width or when the row buffers can't be had.
bool ConvertScriptChannels(const ScriptValue& r, const ScriptValue& g, const ScriptValue& b,
                           const ScriptValue* a, uint32_t width, uint32_t height, uint32_t* texels,
                           uint32_t pitchWords);

}  // namespace luneth
