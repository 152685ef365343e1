// Writing a script's channels r, g, b, a as a picture file.
#pragma once

#include <string>

#include "script/MathScript.h"

namespace luneth::cli {

// Converts the channels to 0xAARRGGBB pixels and writes a PNG. False with a message when the
// script holds no picture (no count, no grid or none of r, g, b an array) or the file fails.
bool SaveScriptImage(const CMathScript& script, const std::string& path, std::string* error);

}  // namespace luneth::cli
