// Index: construction and engine hooks, loading (pictures, scripts, equations, reload),
// placing and zooming, messages, queries.
#include "module/Luneth.h"

#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "common/Parallel.h"
#include "equations/EquationRenderer.h"
#include "functions/RandomTexture.h"
#include "kiv/messages.h"
#include "kiv/pictures.h"
#include "module/LibraryStart.h"
#include "module/LunethUI.h"
#include "module/ScriptChannels.h"
#include "script/FunctionRegistry.h"

namespace {

KivEngineAPI* Api() { return LunethModule().api; }

}  // namespace

// ================================================================ construction, engine hooks

// Every image object's random stream starts where the module's start-up leaves the generator:
// just after the random texture's fill.
CLuneth::CLuneth()
    : script_(std::make_unique<luneth::CMathScript>()),
      random_(luneth::texture::StreamAfterFill()) {
    script_->SetControl(&control_);
}

CLuneth::~CLuneth() = default;

int CLuneth::Release() {
    if (refCount_ > 1) return --refCount_;
    // The engine destroys this object here; nothing of it may be touched afterwards.
    KivEngineAPI* api = Api();
    api->ReleaseGame();
    api->LogText("CLuneth::Release()");
    return 0;
}

bool CLuneth::IsKindOf(const char* className) const {
    return KivNameIs(className, "KicGame") || KivNameIs(className, "KicBaseClass");
}

bool CLuneth::Initialize() {
    KivEngineAPI* api = Api();
    api->LogText("CLuneth::Initialize()");
    KicConfig* config = api->GetConfig();
    threads_ = std::max(0, config->ReadInt("Luneth", "Threads", 0));
    if (const char* env = std::getenv("LUNETH_THREADS")) {
        char* end = nullptr;
        long n = std::strtol(env, &end, 10);
        if (end != env && *end == 0 && n >= 0 && n <= 4096) threads_ = int(n);
    }
    script_->SetThreadCount(threads_);
    // Script arrays live outside the engine's allocator; they answer to the same budget.
    luneth::SetArrayMemoryBudget(api->GetAllocator()->GetBudget());

    render_ = api->AcquireServiceAs<KcDX9Render>("KcDX9Render");
    int background = config->ReadInt("Luneth", "BackGroundColor", 0);
    if (background != 0 && render_) render_->SetBackgroundColor(uint32_t(background));

    font_ = api->AcquireServiceAs<KcSimpleDX9Font>("KcSimpleDX9Font");
    if (font_) font_->Prepare();
    primitives_ = api->AcquireServiceAs<KcPrimitive2DRender>("KcPrimitive2DRender");
    textures_ = api->AcquireServiceAs<KcTexturesMgr>("KcTexturesMgr");

    imageControl_ = api->CreateEngineObjectAs<KcImageControl>("KcImageControl");
    if (imageControl_) {
        imageControl_->SetVisible(false);
        imageControl_->SetDisabled(true);
    }

    gridScene_ = api->CreateEngineObjectAs<KcGridScene2D>("KcGridScene2D");
    if (gridScene_) {
        gridScene_->SetNotification(this);
        gridScene_->SetAxisColor(
            uint32_t(config->ReadInt("Luneth", "GridAxisColor", int(gridScene_->GetAxisColor()))));
        gridScene_->SetMajorColor(uint32_t(
            config->ReadInt("Luneth", "GridMajorColor", int(gridScene_->GetMajorColor()))));
        gridScene_->SetMinorColor(uint32_t(
            config->ReadInt("Luneth", "GridMinorColor", int(gridScene_->GetMinorColor()))));
    }

    luneth::StartFunctionLibrary();
    api->LogFormat(1, "Operators Count: %d", int(luneth::FunctionCount()));

    equationCount_ = luneth::BuildEquationCatalogue(equations_);

    KicObject* panel = api->CreateUIObject("CLunethUI");
    panel_ = panel ? static_cast<CLunethUI*>(panel) : nullptr;
    if (panel_) {
        panel_->Attach(this);
        panel_->Layout();
    }
    return true;
}

void CLuneth::Destroy() {
    KivEngineAPI* api = Api();
    ReleaseTexture();
    picturePath_.clear();
    script_->Reset();
    for (auto& slot : equations_) slot.reset();
    equationCount_ = 0;
    if (panel_) api->DestroyUIObject(panel_);
    panel_ = nullptr;
    if (imageControl_) api->DestroyEngineObject(imageControl_);
    imageControl_ = nullptr;
    if (gridScene_) api->DestroyEngineObject(gridScene_);
    gridScene_ = nullptr;
    auto release = [api](auto*& service) {
        if (service) api->ReleaseService(service);
        service = nullptr;
    };
    release(textures_);
    release(primitives_);
    release(font_);
    release(render_);
    api->LogText("CLuneth::Destroy()");
}

// ================================================================ helpers

void CLuneth::ReleaseTexture() {
    KcTexture* texture = texture_;
    texture_ = nullptr;
    if (texture) texture->Release();
}

void CLuneth::SetName(const char* name) {
    std::memset(imageName_, 0, sizeof imageName_);
    if (!name) return;
    size_t length = std::strlen(name);
    if (length >= sizeof imageName_) {
        // Cut to 63 bytes, back to the start of a UTF-8 character so none is split.
        length = sizeof imageName_ - 1;
        while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(imageName_, name, length);
}

void CLuneth::SetNameFromPath(const char* path) {
    if (!path) return SetName("");
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    SetName(name);
}

void CLuneth::StartTimer() { Api()->GetTimerStack()->Start(); }

void CLuneth::StopTimer() { costTime_ = Api()->GetTimerStack()->Stop(); }

void CLuneth::RefreshPanel() {
    if (panel_) panel_->RefreshInfo();
}

void CLuneth::FitOrOriginalSize() {
    if (defaultFit_)
        FitImageSize();
    else
        ShowOriginalSize();
}

void CLuneth::Report() {
    if (!callback_) return;
    int pixels, width, height;
    GetTextureSize(&pixels, &width, &height);
    callback_(imageName_, width, height, costTime_);
}

// ================================================================ loading

void CLuneth::DropImage() {
    switch (imageType_) {
        case kImagePictureFile:
            picturePath_.clear();
            break;
        case kImageMathScript:
            script_->Reset();
            break;
        case kImagePixelEquation:
            equationIndex_ = -1;
            break;
        default:
            break;
    }
    imageType_ = kImageNone;
    ReleaseTexture();
}

void CLuneth::UnloadImage() {
    DropImage();
    SetName(nullptr);
    PlaceImage();
    RefreshPanel();
}

void CLuneth::ShowNewImage(bool resetChannelView, bool setZoom) {
    PlaceImage();
    if (resetChannelView && imageControl_) imageControl_->SetChannelView(kKivChannelNormal);
    RefreshPanel();
    if (setZoom) FitOrOriginalSize();
}

bool CLuneth::LoadPictureFile(const char* path) {
    cancelled_ = false;
    UnloadImage();
    StartTimer();
    texture_ = textures_ ? textures_->LoadTexture(path) : nullptr;
    StopTimer();
    if (texture_) {
        picturePath_ = path;
        imageType_ = kImagePictureFile;
    }
    ShowNewImage(true, true);
    SetNameFromPath(path);
    Report();
    return texture_ != nullptr;
}

bool CLuneth::RunNewScript(const std::function<bool(luneth::CMathScript&)>& run, bool* ran,
                           KcTexture** picture) {
    next_ = std::make_unique<luneth::CMathScript>();
    next_->SetThreadCount(threads_);
    next_->SetControl(&control_);
    nextRandom_ = random_;
    {
        luneth::RandomBinding bind(nextRandom_);
        *ran = run(*next_);
    }
    cancelled_ = next_->Cancelled() || control_.Cancelled();
    *picture = *ran && !cancelled_ ? MakeScriptTexture(*next_) : nullptr;
    return !cancelled_;
}

void CLuneth::TakeNewScript(KcTexture* picture, bool ran) {
    script_ = std::move(next_);
    random_ = nextRandom_;
    texture_ = picture;
    scriptRan_ = ran;
    imageType_ = kImageMathScript;
}

bool CLuneth::LoadScript(const std::function<bool(luneth::CMathScript&)>& run, bool keepZoom,
                         const char* path) {
    control_.Reset();
    StartTimer();
    bool ran = false;
    KcTexture* picture = nullptr;
    bool finished = RunNewScript(run, &ran, &picture);
    StopTimer();
    if (!finished) return false;  // cancelled: the previous image stays as it was
    UnloadImage();
    TakeNewScript(picture, ran);
    ShowNewImage(true, !keepZoom);
    if (path)
        SetNameFromPath(path);
    else if (!imageName_[0])
        SetName("No Name");
    Report();
    return picture != nullptr;
}

bool CLuneth::LoadScriptFile(const char* path) {
    return LoadScript([path](luneth::CMathScript& s) { return s.Load(path); }, false,
                      path ? path : "");
}

bool CLuneth::LoadScriptText(const char* text, int length) {
    // The zoom stays: text comes from the script panel, typically a variation of the last one.
    return LoadScript(
        [text, length](luneth::CMathScript& s) {
            return text && length > 0 && s.LoadText(text, size_t(length));
        },
        true, nullptr);
}

KcTexture* CLuneth::MakeScriptTexture(const luneth::CMathScript& script) {
    const luneth::ScriptValue* r = script.Letter('r');
    const luneth::ScriptValue* g = script.Letter('g');
    const luneth::ScriptValue* b = script.Letter('b');
    uint32_t width = script.Width(), height = script.Height();
    if (script.ElementCount() == 0 || !(r->data || g->data || b->data) || width == 0 ||
        height == 0 || !textures_)
        return nullptr;
    KcTexture* texture =
        textures_->CreateTexture(width, height, 1, kKivFormatA8R8G8B8, kKivPoolManaged);
    if (!texture) return nullptr;
    uint32_t pitch = 0;
    void* bits = nullptr;
    if (!texture->Lock(0, &pitch, &bits)) {
        texture->Release();
        return nullptr;
    }
    bool ok = luneth::ConvertScriptChannels(*r, *g, *b, script.Letter('a'), width, height,
                                            static_cast<uint32_t*>(bits), pitch / 4);
    texture->Unlock();
    if (!ok) {
        texture->Release();
        return nullptr;
    }
    return texture;
}

bool CLuneth::ConvertScriptChannels() {
    ReleaseTexture();
    texture_ = MakeScriptTexture(*script_);
    return texture_ != nullptr;
}

bool CLuneth::ComputeEquation(int index) {
    if (index < 0 || index >= int(luneth::kEquationSlotCount)) return false;
    control_.Reset();
    cancelled_ = false;
    StartTimer();
    luneth::IPixelEquation* equation = equations_[size_t(index)].get();
    KcTexture* picture = nullptr;
    if (equation && equation->width != 0 && equation->height != 0 && textures_)
        picture = textures_->CreateTexture(equation->width, equation->height, 1, kKivFormatA8R8G8B8,
                                           kKivPoolManaged);
    uint32_t pitch = 0;
    void* bits = nullptr;
    if (!picture || !picture->Lock(0, &pitch, &bits)) {
        if (picture) picture->Release();
        StopTimer();
        // The current image goes; the name and the panel stay.
        DropImage();
        equationIndex_ = index;
        return false;
    }
    luneth::RandomStream random = random_;
    luneth::EquationContext context{random, &control_};
    bool done = luneth::RenderEquation(*equation, context, static_cast<uint32_t*>(bits), pitch / 4,
                                       threads_);
    picture->Unlock();
    StopTimer();
    if (!done) {
        // Cancelled: the previous image stays as it was.
        picture->Release();
        cancelled_ = true;
        return false;
    }
    DropImage();
    texture_ = picture;
    random_ = random;
    equationIndex_ = index;
    imageType_ = kImagePixelEquation;
    ShowNewImage(true, true);
    SetName(equation->GetName());
    Report();
    return true;
}

bool CLuneth::ReloadImage() {
    switch (imageType_) {
        case kImagePictureFile: {
            std::string path = picturePath_;  // the unload inside clears the original
            return LoadPictureFile(path.c_str());
        }
        case kImageMathScript: {
            control_.Reset();
            StartTimer();
            bool ran = false;
            KcTexture* picture = nullptr;
            const luneth::CMathScript& current = *script_;
            bool finished = RunNewScript(
                [&current](luneth::CMathScript& s) {
                    return current.TextLength() > 0 && s.RunCopyOf(current);
                },
                &ran, &picture);
            StopTimer();
            if (!finished) return false;
            ReleaseTexture();
            TakeNewScript(picture, ran);
            ShowNewImage(false, true);  // the channel view stays
            Report();
            return picture != nullptr;
        }
        case kImagePixelEquation:
            return ComputeEquation(equationIndex_);
        default:
            return false;
    }
}

// ================================================================ placing and zooming

void CLuneth::PlaceImage() {
    if (!imageControl_) return;
    if (!texture_ || !texture_->IsValid() || !gridScene_) {
        imageControl_->SetTexture(nullptr);
        imageControl_->SetVisible(false);
        imageControl_->SetDisabled(true);
        return;
    }
    imageControl_->SetTexture(texture_);
    imageControl_->SetVisible(true);
    imageControl_->SetDisabled(false);
    float w = float(texture_->GetWidth()), h = float(texture_->GetHeight());
    float x0, y0, x1, y1;
    gridScene_->WorldToScreen(-w / 2, h / 2, &x0, &y0);
    gridScene_->WorldToScreen(w / 2, -h / 2, &x1, &y1);
    imageControl_->SetRect(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
}

void CLuneth::FitImageSize() {
    if (!texture_ || !gridScene_) return;
    gridScene_->ShowView(float(texture_->GetWidth()), float(texture_->GetHeight()));
}

void CLuneth::ShowOriginalSize() {
    if (!render_ || !gridScene_) return;
    gridScene_->ShowView(float(render_->GetSurfaceWidth()), float(render_->GetSurfaceHeight()));
}

// ================================================================ messages

bool CLuneth::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case WM_SIZE:
            if (render_) {
                render_->Resize(int(KivLowWord(lParam)), int(KivHighWord(lParam)));
                if (panel_) panel_->Layout();
            }
            break;
        case WM_KEYDOWN:
            HandleKey(int(wParam));
            break;
        case WM_DROPFILES:
            if (dropFilesEnabled_) HandleDrop(reinterpret_cast<KivDropFiles*>(wParam));
            break;
        default:
            break;
    }
    return false;
}

void CLuneth::HandleKey(int key) {
    switch (key) {
        case VK_ESCAPE:
            if (!(gameFlags_ & kGameFlagKeepEscape)) Api()->RequestExit();
            return;
        case '1':
        case '2':
        case '3':
            if (panel_) panel_->SetFilterType(key - '1');
            return;
        case 'U':
            if (panel_) panel_->SetVisible(!panel_->IsVisible());
            return;
        default:
            break;
    }
    static constexpr char kChannelKeys[] = "TRGBAI";  // channel views 1 .. 6
    const char* at = key > 0 && key < 128 ? std::strchr(kChannelKeys, key) : nullptr;
    if (at) {
        int view = int(at - kChannelKeys) + 1;
        if (imageControl_ && imageControl_->GetChannelView() == view) view = kKivChannelNormal;
        if (panel_) panel_->SetChannelView(view);
        return;
    }
    if ((key == 'F' || key == 'O' || key == 'K') && !Api()->IsKeyDown(VK_CONTROL)) {
        if (key == 'F')
            FitImageSize();
        else if (key == 'O')
            ShowOriginalSize();
        else
            ReloadImage();
    }
}

void CLuneth::HandleDrop(KivDropFiles* drop) {
    // The whole path, however long: a path cut short would name another file.
    std::string path(KivDragQueryFile(drop, 0, nullptr, 0) + 1, '\0');
    KivDragQueryFile(drop, 0, path.data(), uint32_t(path.size()));
    path.resize(std::strlen(path.c_str()));
    if (KivFileExtension(path.c_str())) {
        if (KivPictureFormatOf(path.c_str()) != KivPictureFormat::Unknown)
            LoadPictureFile(path.c_str());
        else
            LoadScriptFile(path.c_str());
    }
    KivDragFinish(drop);
}

// ================================================================ queries

const char* CLuneth::GetPictureFile() {
    return imageType_ == kImagePictureFile ? picturePath_.c_str() : nullptr;
}

const char* CLuneth::GetScriptLine(int index) {
    return index >= 0 ? script_->Line(size_t(index)) : nullptr;
}

int CLuneth::GetScriptText(char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    script_->GetText(buffer, size_t(size));
    return int(std::strlen(buffer));
}

void CLuneth::GetScriptImageSize(int* pixelCount, int* width, int* height) {
    if (pixelCount) *pixelCount = int(script_->ElementCount());
    if (width) *width = int(script_->Width());
    if (height) *height = int(script_->Height());
}

int CLuneth::GetEquationIndex() { return imageType_ == kImagePixelEquation ? equationIndex_ : -1; }

void CLuneth::GetTextureSize(int* pixelCount, int* width, int* height) {
    int w = texture_ ? int(texture_->GetWidth()) : 0;
    int h = texture_ ? int(texture_->GetHeight()) : 0;
    if (pixelCount) *pixelCount = w * h;
    if (width) *width = w;
    if (height) *height = h;
}

bool CLuneth::SaveImage(const char* path) { return texture_ && texture_->SaveToFile(path); }

void CLuneth::ShowPanel(bool show) {
    if (panel_) panel_->SetVisible(show);
}

bool CLuneth::IsPanelVisible() { return panel_ && panel_->IsVisible(); }

luneth::IPixelEquation* CLuneth::GetEquation(int index) {
    if (index < 0 || index >= int(luneth::kEquationSlotCount)) return nullptr;
    return equations_[size_t(index)].get();
}

bool CLuneth::GetScriptVariable(const char* name, float* scalar, const float** data, int* count) {
    if (!name || !name[0]) return false;
    const luneth::ScriptValue* v = name[1] == 0 ? script_->Letter(name[0]) : nullptr;
    if (!v) v = script_->UserValue(name);
    if (!v) return false;
    if (scalar) *scalar = v->scalar;
    if (data) *data = v->data;
    if (count) *count = v->data ? int(v->count) : 0;
    return true;
}

int CLuneth::GetScriptSurfaceSlices() {
    return script_->Transforms().empty() ? 0 : int(script_->SurfaceSlices());
}

int CLuneth::GetFunctionCount() { return int(luneth::FunctionCount()); }

const char* CLuneth::GetFunctionName(int index, int* kind) {
    const luneth::FunctionRecord* r =
        index >= 0 ? luneth::GetFunctionRecord(uint32_t(index)) : nullptr;
    if (kind) *kind = r ? int(r->kind) : 0;
    return r ? r->name : nullptr;
}

void CLuneth::SetProgressCallback(ProgressCallback callback, void* user) {
    control_.SetReport(callback, user);
}

void CLuneth::SetThreadCount(int threads) {
    threads_ = threads < 0 ? 0 : threads;
    script_->SetThreadCount(threads_);
}

int CLuneth::GetThreadCount() { return luneth::ResolveThreadCount(threads_); }

const char* CLuneth::GetScriptDiagnostics() {
    diagnostics_ = script_->DiagnosticsText();
    return diagnostics_.c_str();
}
