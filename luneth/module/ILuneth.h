// ILuneth: the image object's public operations, as the hosts and the panel call them.
//
// The engine creates the image object from the game class "CLuneth"; a host takes it with
// KivEngineGetAPI()->GetGame() and static_cast<ILuneth*>. An image comes from a picture file,
// a math script or a pixel equation and ends up as one A8R8G8B8 texture placed in the grid
// scene, centred on the origin, one world unit a texel.
//
// Loading (LoadPictureFile, LoadScriptFile, LoadScriptText, ComputeEquation, ReloadImage)
// times the work with the engine's TimerStack, replaces the current image with the result and
// calls the ImageCallback once with the image name, the texture size (0, 0 without one) and the
// cost time. A failed equation computation calls nothing; a cancelled computation
// (CancelComputation) changes nothing and calls nothing. Failures are results only; nothing is
// logged. The work may run on a thread of the host's own; the image's placing and the panel
// are the engine's and belong to its thread.
//
// Computing in two phases, for a host that keeps its window responsive: a Begin operation
// (on the engine's thread) takes the request, ComputePending (on any thread) does the work on
// new objects without touching the current image, and FinishComputation (on the engine's
// thread again) makes the result the current image and reports it, exactly as the one-call
// operation would have, or drops it when it was cancelled. While a computation is begun and not
// finished (IsComputing), Begin operations and the one-call operations refuse, and the host
// changes nothing of the image (no unload, no equation parameters). The image object's own
// commands (its panel's equation list and reload button, the K key) begin their computation
// and hand it to the host's ComputeRunner when one is installed, else compute it at once.
//
// Pictures the object makes carry texts (see KcTexture::SetText): "Software" (the program
// and version the host names), and either "Luneth.Script" (the script's text as loaded, or
// "Luneth.ScriptBytes", its bytes in base64, when the text is not UTF-8) or
// "Luneth.Equation" (the display name) with "Luneth.Parameters" ("0=1.5 1=3", every named
// parameter); "Luneth.Random", the random stream's state at the start; and when they apply
// "Luneth.Defines" ("t=0.25 Speed=2"), "Luneth.Size" ("WxH") and "Luneth.Region"
// ("X,Y,W,H"). Saved as PNG, the picture can be computed again from them.
//
// Types: 0 none, 1 picture file, 2 math script (also after a failed script), 3 pixel equation.
#pragma once

#include <cstdint>

#include "kiv/base.h"
#include "kiv/controls.h"
#include "kiv/services.h"

namespace luneth {
class IPixelEquation;
}  // namespace luneth

enum ImageType : int {
    kImageNone = 0,
    kImagePictureFile = 1,
    kImageMathScript = 2,
    kImagePixelEquation = 3,
};

// The host's load report: image name, texture width and height, cost time in milliseconds.
using ImageCallback = void (*)(const char* name, int width, int height, float costTimeMs);

// Progress of a running computation: `done` of `total` (script lines, equation rows or
// accumulation steps, in units of their own). Called on the computing threads, never twice at
// once, `done` never going back.
using ProgressCallback = void (*)(void* user, int64_t done, int64_t total);

// The host's runner for a computation the image object has begun itself: it arranges for
// ComputePending and then FinishComputation to be called.
using ComputeRunner = void (*)(void* user);

class ILuneth : public KicGame {
public:
    virtual KcDX9Render* GetRender() = 0;
    virtual KcSimpleDX9Font* GetFont() = 0;
    virtual KcImageControl* GetImageControl() = 0;
    virtual KcGridScene2D* GetGridScene() = 0;
    virtual KcTexture* GetTexture() = 0;
    // The 64-byte name buffer (at most 63 characters).
    virtual char* GetImageName() = 0;
    virtual void UnloadImage() = 0;
    virtual bool LoadPictureFile(const char* path) = 0;
    // The path of the loaded picture file while the type is 1, else null.
    virtual const char* GetPictureFile() = 0;
    virtual bool LoadScriptFile(const char* path) = 0;
    virtual bool LoadScriptText(const char* text, int length) = 0;
    virtual int GetScriptLineCount() = 0;
    virtual const char* GetScriptLine(int index) = 0;
    virtual int GetScriptTextLength() = 0;
    // The script's lines, each ended by CR LF, into the buffer; the length written.
    virtual int GetScriptText(char* buffer, int size) = 0;
    virtual const char* GetScriptMessages() = 0;
    virtual void GetScriptImageSize(int* pixelCount, int* width, int* height) = 0;
    virtual int GetEquationCount() = 0;
    // False at once, changing nothing, for an index outside 0 .. 511.
    virtual bool ComputeEquation(int index) = 0;
    virtual int GetEquationIndex() = 0;
    virtual void GetTextureSize(int* pixelCount, int* width, int* height) = 0;
    virtual float GetCostTime() = 0;
    virtual void FitImageSize() = 0;
    virtual void ShowOriginalSize() = 0;
    virtual bool SaveImage(const char* path) = 0;
    virtual void SetDropFilesEnabled(bool enabled) = 0;
    virtual bool IsDropFilesEnabled() = 0;
    virtual void SetDefaultFit(bool fit) = 0;
    virtual bool IsDefaultFit() = 0;
    virtual int GetImageType() = 0;
    virtual bool ReloadImage() = 0;
    virtual void ShowPanel(bool show) = 0;
    virtual bool IsPanelVisible() = 0;
    virtual void SetImageCallback(ImageCallback callback) = 0;

    // --- beyond the panel's needs: what the hosts read ---
    // The equation in slot `index` (0 .. 511), null for an empty slot or another index.
    virtual luneth::IPixelEquation* GetEquation(int index) = 0;
    // Whether the last script load, text or reload ran to its end (a script may run and still
    // make no picture; the load's result is false then, this is true).
    virtual bool GetScriptRunResult() = 0;
    // A variable of the last script run: a letter 'a' .. 'z' (always present) or a user
    // variable. True with its scalar, or its array and element count (data null for a
    // scalar); false, touching nothing, for any other name.
    virtual bool GetScriptVariable(const char* name, float* scalar, const float** data,
                                   int* count) = 0;
    // The number of slices the script swept its curve into (its x, y, z then hold
    // slices x vertices points), 0 when it made no surface.
    virtual int GetScriptSurfaceSlices() = 0;
    // The function registry: the number of entries, and the name and kind of entry `index`
    // (null past the end).
    virtual int GetFunctionCount() = 0;
    virtual const char* GetFunctionName(int index, int* kind) = 0;
    // Threads that computations may use: n >= 1, or 0 for the machine's hardware threads.
    // The start value comes from the environment variable LUNETH_THREADS, else the key
    // "Threads" of the configuration section "Luneth", else 0.
    virtual void SetThreadCount(int threads) = 0;
    // The number of threads computations use (at least 1).
    virtual int GetThreadCount() = 0;
    // Progress reports of every computation (null: none).
    virtual void SetProgressCallback(ProgressCallback callback, void* user) = 0;
    // Asks the running load, reload or equation to stop; any thread may call it. The load then
    // returns false and changes nothing: the previous image, its script and the random stream
    // stay as they were, and no ImageCallback is made.
    virtual void CancelComputation() = 0;
    // Whether the last load, reload or equation was cancelled.
    virtual bool WasCancelled() = 0;
    // What the last script run could not read, one line per failed script line:
    // "line L, column C: what was expected\n" (empty when every line ran).
    virtual const char* GetScriptDiagnostics() = 0;
    // The image view (the picture on its grid) shown, or put aside while the host shows a 3-D
    // scene in its place. Aside, neither the picture nor the grid lines are drawn, and the image
    // object leaves keys and mouse to the scenes: Esc still asks to end, the window's size and
    // dropped files are still handled. Shown at start.
    virtual void SetImageViewShown(bool shown) = 0;
    virtual bool IsImageViewShown() = 0;

    // --- computing in two phases (see the top of this file) ---
    virtual bool BeginLoadPicture(const char* path) = 0;
    virtual bool BeginLoadScriptFile(const char* path) = 0;
    virtual bool BeginLoadScriptText(const char* text, int length) = 0;
    virtual bool BeginEquation(int index) = 0;
    virtual bool BeginReload() = 0;
    // The work of the begun computation; nothing when none is begun.
    virtual void ComputePending() = 0;
    // The begun computation's result becomes the current image (or is dropped when cancelled);
    // the result the one-call operation gives. False when none was begun.
    virtual bool FinishComputation() = 0;
    virtual bool IsComputing() = 0;
    virtual void SetComputeRunner(ComputeRunner runner, void* user) = 0;

    // --- pictures beyond one render ---
    // The grid scripts compute their picture on: a whole picture of width x height in place of
    // the one the script sets (0, 0: the script's own) and the rectangle x, y, w x h of it that
    // is computed (0 x 0: all of it). Equations compute the rectangle of their own picture.
    // Scripts refuse a rectangle outside the picture, scripts without a pixel grid and, for a
    // rectangle, functions that see whole arrays or draw random numbers (see their log).
    virtual void SetPictureGrid(int width, int height, int x, int y, int w, int h) = 0;
    // Sets a letter or user variable before the first line of every script run; false (and
    // nothing set) for a name that no script can assign. ClearScriptDefines drops them all.
    virtual bool SetScriptDefine(const char* name, float value) = 0;
    virtual void ClearScriptDefines() = 0;
    // The state of the random stream the next computation starts from.
    virtual uint32_t GetRandomState() = 0;
    virtual void SetRandomState(uint32_t state) = 0;
    // "Program version", the "Software" text of the pictures made from now on.
    virtual void SetProgramName(const char* name) = 0;
    // A text of the current picture (see the top of this file), null when it has none.
    virtual const char* GetPictureText(const char* key) = 0;
    // The script the current picture carries, as it was loaded (either form), with its length
    // (it may hold NUL bytes); null for none.
    virtual const char* GetPictureScript(int* length) = 0;
    // Why the last equation made no picture when the reason is not its own (the memory
    // budget, a rectangle outside the picture); empty otherwise.
    virtual const char* GetComputeError() = 0;
};
