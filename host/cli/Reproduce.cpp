#include "Reproduce.h"

#include <cstdio>

#include "CliSupport.h"
#include "module/PictureTexts.h"

namespace cli {

namespace {

// The host's failure line (below any progress bar), for a message built here.
int Fail(const std::string& text) { return ::Fail("%s", text); }

// Loads the picture without a load report; 0 or 1 with the reason.
int LoadPicture(ILuneth* luneth, const std::string& path) {
    luneth->SetImageCallback(nullptr);
    bool loaded = luneth->LoadPictureFile(path.c_str());
    return loaded ? 0 : Fail("cannot read the picture '" + path + "'");
}

// What a script and an equation picture share: the random state and the region, unless the
// command line gave them.
void AddCommonTexts(ILuneth* luneth, RenderOptions* options) {
    uint32_t value[4];
    if (!options->hasRandom &&
        luneth::ParseUnsigned(luneth->GetPictureText(luneth::kTextRandom), &value[0])) {
        options->hasRandom = true;
        options->random = value[0];
    }
    if (!options->HasRegion() &&
        luneth::ParseRect(luneth->GetPictureText(luneth::kTextRegion), value))
        for (int i = 0; i < 4; ++i) options->region[i] = value[i];
}

}  // namespace

int ReadPictureScript(ILuneth* luneth, const std::string& path, std::string* script,
                      RenderOptions* options) {
    if (int status = LoadPicture(luneth, path)) return status;
    int length = 0;
    const char* text = luneth->GetPictureScript(&length);
    if (!text)
        return Fail("the picture '" + path + "' carries no script" +
                    (luneth->GetPictureText(luneth::kTextEquation)
                         ? ": it holds an equation (luneth equation '" + path + "')"
                         : std::string(" (only PNG files written by luneth or brisel do)")));
    script->assign(text, size_t(length));
    AddCommonTexts(luneth, options);
    uint32_t size[2];
    if (!options->size[0] &&
        luneth::ParseSize(luneth->GetPictureText(luneth::kTextSize), &size[0], &size[1]))
        options->size[0] = size[0], options->size[1] = size[1];
    AddPictureValues(luneth->GetPictureText(luneth::kTextDefines), options);
    return 0;
}

int ReadPictureEquation(ILuneth* luneth, const std::string& path, std::string* name,
                        RenderOptions* options) {
    if (int status = LoadPicture(luneth, path)) return status;
    const char* equation = luneth->GetPictureText(luneth::kTextEquation);
    if (!equation)
        return Fail("the picture '" + path + "' carries no equation" +
                    (luneth->GetPictureText(luneth::kTextScript) ||
                             luneth->GetPictureText(luneth::kTextScriptBytes)
                         ? ": it holds a script (luneth run '" + path + "')"
                         : std::string(" (only PNG files written by luneth or brisel do)")));
    *name = equation;
    AddCommonTexts(luneth, options);
    AddPictureValues(luneth->GetPictureText(luneth::kTextParameters), options);
    return 0;
}

}  // namespace cli
