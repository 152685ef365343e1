// Index: construction and engine hooks, loading (pictures, scripts, equations, reload),
// placing and zooming, messages, queries.
#include "module/Luneth.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/Parallel.h"
#include "equations/EquationRenderer.h"
#include "functions/RandomTexture.h"
#include "kiv/messages.h"
#include "kiv/pictures.h"
#include "module/LibraryStart.h"
#include "module/LunethUI.h"
#include "module/PictureTexts.h"
#include "module/ScriptChannels.h"
#include "script/FunctionRegistry.h"
#include "script/Lexer.h"

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
    memoryBudget_ = uint64_t(std::max(0, config->ReadInt("KivCore", "MemoryBudgetMiB", 0))) << 20;
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

// ---------------------------------------------------------------- the one-call operations

bool CLuneth::RunNow(bool begun) {
    if (!begun) return false;
    ComputePending();
    return FinishComputation();
}

void CLuneth::Start(bool begun) {
    if (!begun) return;
    if (runner_)
        runner_(runnerUser_);
    else
        RunNow(true);
}

bool CLuneth::LoadPictureFile(const char* path) { return RunNow(BeginLoadPicture(path)); }

bool CLuneth::LoadScriptFile(const char* path) { return RunNow(BeginLoadScriptFile(path)); }

bool CLuneth::LoadScriptText(const char* text, int length) {
    return RunNow(BeginLoadScriptText(text, length));
}

bool CLuneth::ComputeEquation(int index) { return RunNow(BeginEquation(index)); }

bool CLuneth::ReloadImage() { return RunNow(BeginReload()); }

void CLuneth::SetComputeRunner(ComputeRunner runner, void* user) {
    runner_ = runner;
    runnerUser_ = user;
}

// ---------------------------------------------------------------- begin

bool CLuneth::Begin(PendingKind kind) {
    if (IsComputing()) return false;
    pending_ = PendingComputation{};
    pending_.kind = kind;
    pending_.randomStart = random_.State();
    pending_.random = random_;
    control_.Reset();
    cancelled_ = false;
    return true;
}

bool CLuneth::BeginLoadPicture(const char* path) {
    if (!Begin(PendingKind::Picture)) return false;
    pending_.path = path ? path : "";
    return true;
}

bool CLuneth::BeginLoadScriptFile(const char* path) {
    if (!Begin(PendingKind::Script)) return false;
    pending_.path = path ? path : "";
    pending_.fromFile = true;
    return true;
}

bool CLuneth::BeginLoadScriptText(const char* text, int length) {
    if (!Begin(PendingKind::Script)) return false;
    pending_.hasText = text && length > 0;
    if (pending_.hasText) pending_.text.assign(text, size_t(length));
    return true;
}

bool CLuneth::BeginEquation(int index) {
    if (index < 0 || index >= int(luneth::kEquationSlotCount)) return false;
    if (!Begin(PendingKind::Equation)) return false;
    pending_.index = index;
    return true;
}

bool CLuneth::BeginReload() {
    switch (imageType_) {
        case kImagePictureFile: {
            std::string path = picturePath_;
            return BeginLoadPicture(path.c_str());
        }
        case kImageMathScript:
            return Begin(PendingKind::Reload);
        case kImagePixelEquation:
            return BeginEquation(equationIndex_);
        default:
            return false;
    }
}

// ---------------------------------------------------------------- compute (any thread)

// Nothing here touches the current image, its script or the panel: the result waits in
// pending_ for FinishComputation.
void CLuneth::ComputePending() {
    PendingComputation& p = pending_;
    if (p.kind == PendingKind::None || p.computed) return;
    TimerStack* timer = Api()->GetTimerStack();
    timer->Start();
    if (p.kind == PendingKind::Picture)
        p.picture = textures_ ? textures_->LoadTexture(p.path.c_str()) : nullptr;
    else if (p.kind == PendingKind::Equation)
        ComputeEquationPicture(p);
    else
        ComputeScript(p);
    p.cost = timer->Stop();
    // A cancel that comes after the work is done is too late to matter.
    p.cancelled = control_.Cancelled() || (p.script && p.script->Cancelled());
    p.computed = true;
}

void CLuneth::ComputeScript(PendingComputation& p) {
    p.script = std::make_unique<luneth::CMathScript>();
    luneth::CMathScript& script = *p.script;
    script.SetThreadCount(threads_);
    script.SetControl(&control_);
    script.SetPictureGrid(grid_);
    script.SetDefines(defines_);
    script.SetMemoryBudget(memoryBudget_);
    {
        luneth::RandomBinding bind(p.random);
        if (p.kind == PendingKind::Reload)
            p.ran = script_->TextLength() > 0 && script.RunCopyOf(*script_);
        else if (p.fromFile)
            p.ran = script.Load(p.path.c_str());
        else
            p.ran = p.hasText && script.LoadText(p.text.data(), p.text.size());
    }
    if (!p.ran || script.Cancelled() || control_.Cancelled()) return;
    p.picture = MakeScriptTexture(script);
    if (p.picture) LabelPicture(p.picture, p);
}

void CLuneth::ComputeEquationPicture(PendingComputation& p) {
    luneth::IPixelEquation* equation = equations_[size_t(p.index)].get();
    if (!equation || equation->width == 0 || equation->height == 0 || !textures_) return;
    luneth::PixelRect rect;
    if (grid_.HasRegion()) rect = {grid_.x, grid_.y, grid_.regionWidth, grid_.regionHeight};
    char why[200];
    if (!rect.IsEmpty() && !rect.Inside(equation->width, equation->height)) {
        std::snprintf(why, sizeof why, "the region %u,%u,%u,%u lies outside the %u x %u picture",
                      rect.x, rect.y, rect.width, rect.height, equation->width, equation->height);
        p.error = why;
        return;
    }
    const uint32_t width = rect.IsEmpty() ? equation->width : rect.width;
    const uint32_t height = rect.IsEmpty() ? equation->height : rect.height;
    const uint64_t bytes = uint64_t(width) * height * 4;
    if (memoryBudget_ && bytes > memoryBudget_) {
        std::snprintf(why, sizeof why,
                      "the %u x %u picture needs %llu MiB, more than the memory budget of %llu "
                      "MiB (MemoryBudgetMiB)",
                      width, height,
                      static_cast<unsigned long long>((bytes + (1u << 20) - 1) >> 20),
                      static_cast<unsigned long long>(memoryBudget_ >> 20));
        p.error = why;
        return;
    }
    KcTexture* picture =
        textures_->CreateTexture(width, height, 1, kKivFormatA8R8G8B8, kKivPoolManaged);
    uint32_t pitch = 0;
    void* bits = nullptr;
    if (!picture || !picture->Lock(0, &pitch, &bits)) {
        if (picture) picture->Release();
        return;
    }
    luneth::EquationContext context{p.random, &control_};
    bool done = luneth::RenderEquation(*equation, context, static_cast<uint32_t*>(bits), pitch / 4,
                                       threads_, rect);
    picture->Unlock();
    if (!done) {
        picture->Release();
        return;
    }
    int64_t& drawnFrom = equationRandom_[size_t(p.index)];
    if (p.random.State() != p.randomStart)
        drawnFrom = p.randomStart;
    else if (drawnFrom >= 0)
        p.randomStart = uint32_t(drawnFrom);  // the picture was reused, drawn from this state
    LabelPicture(picture, p);
    p.picture = picture;
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

void CLuneth::LabelPicture(KcTexture* picture, const PendingComputation& p) {
    using namespace luneth;
    picture->SetText(kTextSoftware, programName_.c_str());
    picture->SetText(kTextRandom, std::to_string(p.randomStart).c_str());
    if (grid_.HasRegion()) {
        const uint32_t rect[4] = {grid_.x, grid_.y, grid_.regionWidth, grid_.regionHeight};
        picture->SetText(kTextRegion, FormatRect(rect).c_str());
    }
    if (p.kind == PendingKind::Equation) {
        IPixelEquation& equation = *equations_[size_t(p.index)];
        NamedValues params;
        for (uint32_t i = 0; i < kEquationParamCount && equation.GetParamName(i); ++i)
            params.emplace_back(std::to_string(i), equation.params[i]);
        picture->SetText(kTextEquation, equation.GetName());
        picture->SetText(kTextParameters, FormatValues(params).c_str());
        return;
    }
    const std::string& source = p.script->Source();
    if (IsUtf8Text(source))
        picture->SetText(kTextScript, source.c_str());
    else
        picture->SetText(kTextScriptBytes, Base64Encode(source).c_str());
    if (grid_.HasSize()) picture->SetText(kTextSize, FormatSize(grid_.width, grid_.height).c_str());
    NamedValues defines;
    for (const ScriptDefine& d : defines_) defines.emplace_back(d.name, d.value);
    if (!defines.empty()) picture->SetText(kTextDefines, FormatValues(defines).c_str());
}

// ---------------------------------------------------------------- finish (engine's thread)

bool CLuneth::FinishComputation() {
    if (!IsComputing()) return false;
    ComputePending();  // when the host did not
    PendingComputation p = std::move(pending_);
    pending_ = PendingComputation{};
    cancelled_ = p.cancelled;
    if (p.cancelled) {
        // The previous image, its script and the random stream stay as they were.
        if (p.picture) p.picture->Release();
        return false;
    }
    computeError_ = p.error;
    costTime_ = p.cost;
    switch (p.kind) {
        case PendingKind::Picture:
            return FinishPicture(p);
        case PendingKind::Equation:
            return FinishEquation(p);
        default:
            return FinishScript(p);
    }
}

bool CLuneth::FinishPicture(PendingComputation& p) {
    UnloadImage();
    texture_ = p.picture;
    if (texture_) {
        picturePath_ = p.path;
        imageType_ = kImagePictureFile;
    }
    ShowNewImage(true, true);
    SetNameFromPath(p.path.c_str());
    Report();
    return texture_ != nullptr;
}

bool CLuneth::FinishScript(PendingComputation& p) {
    const bool reload = p.kind == PendingKind::Reload;
    if (reload)
        ReleaseTexture();
    else
        UnloadImage();
    script_ = std::move(p.script);
    random_ = p.random;
    texture_ = p.picture;
    scriptRan_ = p.ran;
    imageType_ = kImageMathScript;
    // A reload keeps the channel view; text keeps the zoom: it comes from the script panel,
    // typically a variation of the last one.
    ShowNewImage(!reload, reload || p.fromFile);
    if (p.fromFile)
        SetNameFromPath(p.path.c_str());
    else if (!imageName_[0])
        SetName("No Name");
    Report();
    return texture_ != nullptr;
}

bool CLuneth::FinishEquation(PendingComputation& p) {
    // The current image goes either way; a failure leaves the name and the panel as they are.
    DropImage();
    equationIndex_ = p.index;
    if (!p.picture) return false;
    texture_ = p.picture;
    random_ = p.random;
    imageType_ = kImagePixelEquation;
    ShowNewImage(true, true);
    SetName(equations_[size_t(p.index)]->GetName());
    Report();
    return true;
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
    imageControl_->SetVisible(imageViewShown_);
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

void CLuneth::SetImageViewShown(bool shown) {
    if (shown == imageViewShown_) return;
    imageViewShown_ = shown;
    if (gridScene_) {
        // Aside, the grid's lines turn transparent; shown again, they get their colours back.
        KcGridScene2D* g = gridScene_;
        if (!shown) {
            gridColours_[0] = g->GetAxisColor(), gridColours_[1] = g->GetMajorColor();
            gridColours_[2] = g->GetMinorColor();
        }
        g->SetAxisColor(shown ? gridColours_[0] : 0);
        g->SetMajorColor(shown ? gridColours_[1] : 0);
        g->SetMinorColor(shown ? gridColours_[2] : 0);
    }
    PlaceImage();
}

bool CLuneth::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    // Aside, keys and mouse are the scenes'; the mouse is taken, so the hidden grid stays put.
    if (!imageViewShown_) {
        if (message == WM_KEYDOWN && int(wParam) != VK_ESCAPE) return false;
        if (message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL) return true;
    }
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
            // While a computation runs, Esc stops it rather than the program.
            if (IsComputing())
                CancelComputation();
            else if (!(gameFlags_ & kGameFlagKeepEscape))
                Api()->RequestExit();
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
            StartReload();
    }
}

void CLuneth::HandleDrop(KivDropFiles* drop) {
    // The whole path, however long: a path cut short would name another file.
    std::string path(KivDragQueryFile(drop, 0, nullptr, 0) + 1, '\0');
    KivDragQueryFile(drop, 0, path.data(), uint32_t(path.size()));
    path.resize(std::strlen(path.c_str()));
    if (KivFileExtension(path.c_str())) {
        if (KivPictureFormatOf(path.c_str()) != KivPictureFormat::Unknown)
            Start(BeginLoadPicture(path.c_str()));
        else
            Start(BeginLoadScriptFile(path.c_str()));
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

void CLuneth::SetPictureGrid(int width, int height, int x, int y, int w, int h) {
    auto side = [](int v) { return v > 0 ? uint32_t(v) : 0u; };
    grid_ = {side(width), side(height), side(x), side(y), side(w), side(h)};
}

bool CLuneth::SetScriptDefine(const char* name, float value) {
    // Only a name an assignment can have: a word of 1 to 15 characters that does not start
    // with a digit and is no built-in function.
    size_t length = name ? std::strlen(name) : 0;
    if (length == 0 || length >= luneth::kUserVariableNameCapacity ||
        (name[0] >= '0' && name[0] <= '9') ||
        luneth::LookupFunction(name) < luneth::FunctionCount())
        return false;
    for (const char* c = name; *c; ++c)
        if (luneth::IsDelimiter(*c) || *c == '#' || *c == ';' || *c == '\r' || *c == '\n')
            return false;
    for (luneth::ScriptDefine& d : defines_)
        if (d.name == name) return d.value = value, true;
    defines_.push_back({name, value});
    return true;
}

const char* CLuneth::GetPictureText(const char* key) {
    return texture_ ? texture_->GetText(key) : nullptr;
}

const char* CLuneth::GetPictureScript(int* length) {
    if (const char* text = GetPictureText(luneth::kTextScript))
        pictureScript_ = text;
    else if (const char* bytes = GetPictureText(luneth::kTextScriptBytes);
             !bytes || !luneth::Base64Decode(bytes, &pictureScript_))
        return nullptr;
    if (length) *length = int(pictureScript_.size());
    return pictureScript_.c_str();
}

const char* CLuneth::GetScriptDiagnostics() {
    diagnostics_ = script_->DiagnosticsText();
    return diagnostics_.c_str();
}
