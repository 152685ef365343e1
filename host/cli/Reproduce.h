// Pictures computed again from the texts they carry (see ILuneth.h): `luneth run PICTURE.png`
// and `luneth equation PICTURE.png`.
//
//   ReadPictureScript(luneth, path, &script, &options)      the script and what it ran with
//   ReadPictureEquation(luneth, path, &name, &options)      the equation's name, its parameters
//                                                           as ranges of one value ("0", "1" ...)
// Both load the picture into the image object, read its texts and add to `options` what the
// command line did not give (size, region, random state, defines or parameters). They give an
// exit status: 0, or 1 with the reason on standard error (no such picture, no texts).
#pragma once

#include <string>

#include "Frames.h"
#include "module/ILuneth.h"

namespace cli {

int ReadPictureScript(ILuneth* luneth, const std::string& path, std::string* script,
                      RenderOptions* options);
int ReadPictureEquation(ILuneth* luneth, const std::string& path, std::string* name,
                        RenderOptions* options);

}  // namespace cli
