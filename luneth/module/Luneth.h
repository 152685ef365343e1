// CLuneth: the image object, the module's game object (see ILuneth.h for what it offers).
//
// It owns the current texture, the script object, the 512-slot equation table and the panel;
// the services, the image control and the grid scene are the engine's, obtained in Initialize
// and handed back in Destroy. It listens to the grid scene and places the image again after
// every view change.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Progress.h"
#include "common/Random.h"
#include "equations/EquationCatalogue.h"
#include "kiv/engine.h"
#include "kiv/messages.h"
#include "kiv/module.h"
#include "module/ILuneth.h"
#include "script/MathScript.h"

class CLunethUI;

class CLuneth : public ILuneth, public KicGridScene2DNotification {
public:
    static constexpr uint32_t kDefaultGameFlags = 0x01000000;
    static constexpr uint32_t kGameFlagKeepEscape = 0x4;  // Esc makes no exit request
    static constexpr int kNameCapacity = 64;

    CLuneth();
    ~CLuneth() override;

    // --- KicBaseClass and KicGame ---
    int Release() override;
    int GetClassKind() const override { return kKivKindGame; }
    bool IsKindOf(const char* className) const override;
    bool OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool Initialize() override;
    void Destroy() override;

    // --- ILuneth ---
    KcDX9Render* GetRender() override { return render_; }
    KcSimpleDX9Font* GetFont() override { return font_; }
    KcImageControl* GetImageControl() override { return imageControl_; }
    KcGridScene2D* GetGridScene() override { return gridScene_; }
    KcTexture* GetTexture() override { return texture_; }
    char* GetImageName() override { return imageName_; }
    void UnloadImage() override;
    bool LoadPictureFile(const char* path) override;
    const char* GetPictureFile() override;
    bool LoadScriptFile(const char* path) override;
    bool LoadScriptText(const char* text, int length) override;
    int GetScriptLineCount() override { return int(script_->LineCount()); }
    const char* GetScriptLine(int index) override;
    int GetScriptTextLength() override { return int(script_->TextLength()); }
    int GetScriptText(char* buffer, int size) override;
    const char* GetScriptMessages() override { return script_->Messages(); }
    void GetScriptImageSize(int* pixelCount, int* width, int* height) override;
    int GetEquationCount() override { return equationCount_; }
    bool ComputeEquation(int index) override;
    int GetEquationIndex() override;
    void GetTextureSize(int* pixelCount, int* width, int* height) override;
    float GetCostTime() override { return costTime_; }
    void FitImageSize() override;
    void ShowOriginalSize() override;
    bool SaveImage(const char* path) override;
    void SetDropFilesEnabled(bool enabled) override { dropFilesEnabled_ = enabled; }
    bool IsDropFilesEnabled() override { return dropFilesEnabled_; }
    void SetDefaultFit(bool fit) override { defaultFit_ = fit; }
    bool IsDefaultFit() override { return defaultFit_; }
    int GetImageType() override { return imageType_; }
    bool ReloadImage() override;
    void ShowPanel(bool show) override;
    bool IsPanelVisible() override;
    void SetImageCallback(ImageCallback callback) override { callback_ = callback; }
    luneth::IPixelEquation* GetEquation(int index) override;
    bool GetScriptRunResult() override { return scriptRan_; }
    bool GetScriptVariable(const char* name, float* scalar, const float** data,
                           int* count) override;
    int GetScriptSurfaceSlices() override;
    int GetFunctionCount() override;
    const char* GetFunctionName(int index, int* kind) override;
    void SetThreadCount(int threads) override;
    int GetThreadCount() override;
    const char* GetScriptDiagnostics() override;
    void SetProgressCallback(ProgressCallback callback, void* user) override;
    void CancelComputation() override { control_.RequestCancel(); }
    bool WasCancelled() override { return cancelled_; }
    void SetImageViewShown(bool shown) override;
    bool IsImageViewShown() override { return imageViewShown_; }
    bool BeginLoadPicture(const char* path) override;
    bool BeginLoadScriptFile(const char* path) override;
    bool BeginLoadScriptText(const char* text, int length) override;
    bool BeginEquation(int index) override;
    bool BeginReload() override;
    void ComputePending() override;
    bool FinishComputation() override;
    bool IsComputing() override { return pending_.kind != PendingKind::None; }
    void SetComputeRunner(ComputeRunner runner, void* user) override;
    void SetPictureGrid(int width, int height, int x, int y, int w, int h) override;
    bool SetScriptDefine(const char* name, float value) override;
    void ClearScriptDefines() override { defines_.clear(); }
    uint32_t GetRandomState() override { return random_.State(); }
    void SetRandomState(uint32_t state) override { random_.Seed(state); }
    void SetProgramName(const char* name) override { programName_ = name ? name : ""; }
    const char* GetPictureText(const char* key) override;
    const char* GetPictureScript(int* length) override;
    const char* GetComputeError() override { return computeError_.c_str(); }
    // The image object's own commands (panel, keys): begun here and handed to the host's
    // runner, or computed at once without one.
    void StartEquation(int index) { Start(BeginEquation(index)); }
    void StartReload() { Start(BeginReload()); }
    // The script object (tests read its state directly).
    const luneth::CMathScript& Script() const { return *script_; }

    // --- KicGridScene2DNotification ---
    void OnViewChanged(KcGridScene2D*) override { PlaceImage(); }

    // Shows the texture in the image control at its place in the grid scene (or hides the
    // control without a texture).
    void PlaceImage();
    // Builds the texture from the script's r, g, b, a; false (and no texture) when the script
    // holds no picture or the texture can't be made.
    bool ConvertScriptChannels();
    CLunethUI* GetPanel() const { return panel_; }
    uint32_t GetGameFlags() const { return gameFlags_; }
    void SetGameFlags(uint32_t flags) { gameFlags_ = flags; }

private:
    void ReleaseTexture();
    void SetNameFromPath(const char* path);
    void SetName(const char* name);
    void StartTimer();
    void StopTimer();
    void RefreshPanel();
    void FitOrOriginalSize();
    // Drops texture, type and the source's state; the name and the panel stay.
    void DropImage();
    // After a load: place the image, refresh the panel, optionally reset the channel view and
    // fit or show the original size by the default-fit flag.
    void ShowNewImage(bool resetChannelView, bool setZoom);
    void Report();
    void HandleKey(int key);
    void HandleDrop(KivDropFiles* drop);

    // ---- the computation in two phases (see ILuneth.h) ----
    enum class PendingKind { None, Picture, Script, Reload, Equation };
    struct PendingComputation {
        PendingKind kind = PendingKind::None;
        std::string path;  // picture or script file (the image name comes from it)
        bool fromFile = false;
        std::string text;  // script text
        bool hasText = false;
        int index = -1;  // equation
        uint32_t randomStart = 1;
        // What the compute phase leaves behind.
        bool computed = false;
        bool cancelled = false;
        std::unique_ptr<luneth::CMathScript> script;
        luneth::RandomStream random{1};
        KcTexture* picture = nullptr;
        bool ran = false;  // the script ran to its end
        float cost = 0.0f;
        std::string error;
    };
    // Takes a request of `kind`; false while another one is begun.
    bool Begin(PendingKind kind);
    // Computes and finishes a begun request at once (the one-call operations).
    bool RunNow(bool begun);
    // Hands a begun request to the host's runner, or runs it at once.
    void Start(bool begun);
    void ComputeScript(PendingComputation& p);
    void ComputeEquationPicture(PendingComputation& p);
    // The texture of a script's r, g, b, a, or null when it holds no picture.
    KcTexture* MakeScriptTexture(const luneth::CMathScript& script);
    // The texts that let the picture be computed again (see ILuneth.h).
    void LabelPicture(KcTexture* picture, const PendingComputation& p);
    bool FinishPicture(PendingComputation& p);
    bool FinishScript(PendingComputation& p);
    bool FinishEquation(PendingComputation& p);

    uint32_t gameFlags_ = kDefaultGameFlags;
    uint32_t reserved_ = 0;
    KcDX9Render* render_ = nullptr;
    KcSimpleDX9Font* font_ = nullptr;
    KcPrimitive2DRender* primitives_ = nullptr;
    KcTexturesMgr* textures_ = nullptr;
    KcImageControl* imageControl_ = nullptr;
    KcGridScene2D* gridScene_ = nullptr;
    bool imageViewShown_ = true;
    uint32_t gridColours_[3] = {};  // axis, major, minor while the view is aside
    CLunethUI* panel_ = nullptr;
    char imageName_[kNameCapacity] = {};
    KcTexture* texture_ = nullptr;
    int imageType_ = kImageNone;
    std::string picturePath_;
    std::unique_ptr<luneth::CMathScript> script_;
    luneth::EquationTable equations_;
    int equationIndex_ = -1;
    int equationCount_ = 0;
    float costTime_ = 0.0f;
    ImageCallback callback_ = nullptr;
    bool dropFilesEnabled_ = true;
    bool defaultFit_ = false;
    bool scriptRan_ = false;
    // The stream every random draw of this object's scripts and equations comes from.
    luneth::RandomStream random_;
    int threads_ = 0;  // 0: the machine's hardware threads
    luneth::ComputeControl control_;
    bool cancelled_ = false;
    std::string diagnostics_;
    PendingComputation pending_;
    ComputeRunner runner_ = nullptr;
    void* runnerUser_ = nullptr;
    luneth::PictureGrid grid_;
    std::vector<luneth::ScriptDefine> defines_;
    uint64_t memoryBudget_ = 0;  // bytes, 0: none
    std::string programName_ = "Luneth";
    std::string pictureScript_;
    std::string computeError_;
    // Per equation slot, the random state its last drawing computation started from (-1: none
    // yet). An accumulated picture computed again unchanged is reused without drawing, and its
    // texts must name the state it was drawn from.
    std::vector<int64_t> equationRandom_ = std::vector<int64_t>(luneth::kEquationSlotCount, -1);
};

// The module-wide state kept by KivModuleApiFunction (RegisterAPI.cpp).
KivModuleState& LunethModule();
