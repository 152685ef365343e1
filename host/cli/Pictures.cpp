#include "Pictures.h"

#include <string>

#include "CliSupport.h"
#include "kiv/pictures.h"

namespace {

struct PictureCommands {
    CLI::App* convert = nullptr;
    CLI::App* info = nullptr;
    std::string input, output;
} g_commands;

// The engine without a game object: the texture manager is all these commands need.
class TextureEngine {
public:
    TextureEngine() {
        if (!KivEngineSetup(nullptr, 0, nullptr, nullptr)) return;
        started_ = true;
        if (KivEngineAPI* api = KivEngineGetAPI())
            textures_ = api->AcquireServiceAs<KcTexturesMgr>("KcTexturesMgr");
    }
    ~TextureEngine() {
        if (textures_) KivEngineGetAPI()->ReleaseService(textures_);
        if (started_) KivEngineShutdown();
    }
    KcTexturesMgr* Textures() const { return textures_; }

private:
    bool started_ = false;
    KcTexturesMgr* textures_ = nullptr;
};

const char* FormatName(const std::string& path) {
    const char* extension = KivFileExtension(path.c_str());
    for (const KivPictureExtension& e : kKivPictureExtensions)
        if (extension && !strcasecmp(extension, e.extension))
            return e.format == KivPictureFormat::Jpg ? "jpg" : e.extension;
    return "unknown";
}

bool IsPicturePath(const std::string& path) {
    return KivPictureFormatOf(path.c_str()) != KivPictureFormat::Unknown;
}

int Convert(const std::string& input, const std::string& output) {
    if (!IsPicturePath(output))
        return Fail(
            "cannot write '%s': the extension names no picture format "
            "(png, jpg, tga, bmp, ppm or dds)",
            output);
    TextureEngine engine;
    if (!engine.Textures()) return Fail("the engine could not start (see its log)");
    KcTexture* picture = engine.Textures()->LoadTexture(input.c_str());
    if (!picture) return Fail("cannot load '%s': %s", input, PictureError());
    bool saved = picture->SaveToFile(output.c_str());
    std::string why = saved ? "" : PictureError();
    picture->Release();
    return saved ? 0 : Fail("cannot write '%s': %s", output, why);
}

int Info(const std::string& input) {
    TextureEngine engine;
    if (!engine.Textures()) return Fail("the engine could not start (see its log)");
    KcTexture* picture = engine.Textures()->LoadTexture(input.c_str());
    if (!picture) {
        std::printf("%s: %s, not loaded\n", input.c_str(), FormatName(input));
        return Fail("cannot load '%s': %s", input, PictureError());
    }
    std::printf("%s: %s, %u x %u, loaded\n", input.c_str(), FormatName(input), picture->GetWidth(),
                picture->GetHeight());
    picture->Release();
    return 0;
}

}  // namespace

void AddPictureCommands(CLI::App& app) {
    PictureCommands& c = g_commands;
    c.convert = app.add_subcommand("convert", "convert a picture to the format of OUTPUT");
    c.convert->add_option("PICTURE", c.input, "the picture (png, jpg, bmp, ppm, tga or dds)")
        ->required();
    c.convert->add_option("-o", c.output, "the new picture, its format by the extension")
        ->required()
        ->check(kNonEmptyName);
    c.info = app.add_subcommand("info", "print a picture's format and size");
    c.info->add_option("PICTURE", c.input, "the picture (png, jpg, bmp, ppm, tga or dds)")
        ->required();
}

int RunPictureCommand() {
    const PictureCommands& c = g_commands;
    if (c.convert && c.convert->parsed()) return Convert(c.input, c.output);
    if (c.info && c.info->parsed()) return Info(c.input);
    return -1;
}
