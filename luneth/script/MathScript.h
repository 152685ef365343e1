// CMathScript: a math script, its variables and its warning log.
//
// A script is plain 8-bit text, executed once top to bottom. Lines end at CR, LF, NUL or ';'.
// Line grammar (keywords compare without regard to case, names are case-sensitive):
//
//   # comment
//   pixels   = width:W height:H             grid of W x H elements (also W:, H:)
//   vertices = N                            N elements without a grid
//   vertices = dimension1:A dimension2:B    grid of A x B elements (also d1:, d2:)
//   x = from A to B [W|H|d1|d2] [gap(v, ...)]   ramp along an axis (A, B: literal, constant or
//   (expr)) x = expression                          element-wise evaluation (letters a..z, user
//   variables) x = [loop: N] expression                the assignment applied N times [LOOP START:
//   N] ... LOOP END]           body lines run N times with the variable `loop` = 0..N-1
//   surface_slices / scale / rotate / translate / pipe = ...   geometry directives
//
// Problems go to a 2048-byte warning log as lines "[Warning] ...\r\n"; a message that does not
// fit is dropped. Run() is false only for a fatal line (a word not followed by '=', or an
// assignment before any count directive); every other problem is a warning. Beside the log,
// every line that fails leaves one diagnostic (its line and column in the text, and what was
// expected there) for the hosts to show.
//
// Each line is read once: an assignment's expression is compiled the first time the line runs
// and the compiled form runs on every repetition ([loop: N], loop blocks). Element-wise lines
// run over tiles on ThreadCount() threads with the same results for any number of threads.
//
// Results: ElementCount(), Width() (dimension1), Height() (dimension2) and the letters
// r, g, b, a (Letter('r') ...). Everything a run changes belongs to the script object, so
// several scripts may run at the same time on different threads.
//
// Settings that the host gives and that stay across Reset and reruns:
//   SetPictureGrid(grid)     another pixel grid for the picture, or one rectangle of it (below)
//   SetDefines(list)         letters or user variables set before the first line of each run
//   SetMemoryBudget(bytes)   a count directive whose arrays would need more is refused (fatal)
//
// A rectangle of the picture: the count directive makes the rectangle the grid, and a ramp's
// element k holds (first column or row of the rectangle + k) x step + from, with the step of
// the whole picture, so every pixel of the rectangle has the bits of the same pixel of the
// whole render. Functions that read or make whole arrays (kinds 10 to 14: sums, shifts,
// element access, generated arrays) or draw random numbers would see only the rectangle, so a
// script that names one is refused before its first line runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/Progress.h"
#include "script/Program.h"
#include "script/ScriptValue.h"

namespace luneth {

constexpr int kLetterCount = 26;
constexpr int kMaxUserVariables = 72;
constexpr int kUserVariableNameCapacity = 16;  // 15 characters and a NUL
constexpr size_t kMessageCapacity = 2048;
constexpr uint32_t kDefaultSurfaceSlices = 32;
constexpr uint32_t kMaxSurfaceSlices = 1u << 16;
constexpr uint64_t kMaxScriptBytes = uint64_t(64) << 20;

struct UserVariable {
    char name[kUserVariableNameCapacity] = {};
    uint32_t nameHash = 0;
    ScriptValue value;
};

// Where a line failed and why: line and column count from 1 in the script text.
struct ScriptDiagnostic {
    int line = 0;
    int column = 0;
    std::string message;
};

// Geometry transform records: recorded while the lines run, applied together after the last line
// to sweep a vertex curve into a surface of S slices (see GeometryDirectives.cpp).
struct ScaleTransform {
    float anchor[3] = {0, 0, 0};
    ScriptValue scaleX, scaleY, scaleZ;  // one factor per slice
};
struct RotateTransform {
    float anchor[3] = {0, 0, 0};
    float axis[3] = {0, 0, 0};
    ScriptValue angle;  // radians, one per slice
};
struct TranslateTransform {
    float direction[3] = {0, 0, 0};
    ScriptValue distance;  // one per slice
};
struct PipeTransform {
    float radius = 0.0f;
    int type = 0;
};
// Kind 1 scale, 2 rotate, 3 translate, 4 pipe: the variant's index + 1.
using TransformRecord =
    std::variant<ScaleTransform, RotateTransform, TranslateTransform, PipeTransform>;

// The grid of a script's picture as the host chooses it: the whole picture of width x height
// (0 x 0: the grid the script's count directive sets) and the rectangle of it that is computed
// (x, y, regionWidth x regionHeight; 0 x 0: the whole picture).
struct PictureGrid {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t regionWidth = 0;
    uint32_t regionHeight = 0;

    bool HasSize() const { return width != 0 && height != 0; }
    bool HasRegion() const { return regionWidth != 0 && regionHeight != 0; }
};
// A side of a whole picture computed in rectangles: ramp positions stay exact floats below 2^24.
constexpr uint32_t kMaxGridSide = 1u << 24;

// A letter or user variable set before the first line runs.
struct ScriptDefine {
    std::string name;
    float value = 0.0f;
};

class CMathScript {
public:
    CMathScript();
    ~CMathScript();
    CMathScript(const CMathScript&) = delete;
    CMathScript& operator=(const CMathScript&) = delete;

    // Reads the file (binary) and runs it. False, leaving the current script untouched, for a
    // null or empty path, a file that can't be opened or read, an empty file, one larger than
    // kMaxScriptBytes or one that is not a regular file (a directory, a device, a pipe: never
    // read); LoadError() then says why.
    bool Load(const char* path);
    const std::string& LoadError() const { return loadError_; }

    // Resets, takes a copy of the bytes and runs them. False for null bytes or length 0.
    bool LoadText(const char* bytes, size_t length);

    // Splits the text into lines, executes them and applies geometry transforms.
    bool Run();

    // Frees every value and the text; letters become scalar 0 and not valid; counts 0; log empty.
    void Reset();

    // Runs the kept text again from a clean state (same lines as the first run).
    bool Rerun();

    // Writes the lines, each followed by CR LF, into buffer (see the log-size rule in the .cpp).
    void GetText(char* buffer, size_t capacity) const;

    // The text as it was loaded, before the lines were split.
    const std::string& Source() const { return source_; }
    size_t LineCount() const { return lines_.size(); }
    const char* Line(size_t i) const { return i < lines_.size() ? lines_[i] : nullptr; }
    size_t TextLength() const { return textLength_; }
    const char* Messages() const { return messages_; }
    size_t MessagesLength() const { return messageLength_; }

    uint32_t ElementCount() const { return elementCount_; }
    uint32_t Width() const { return dimension1_; }
    uint32_t Height() const { return dimension2_; }
    uint32_t SurfaceSlices() const { return surfaceSlices_; }
    // The whole picture the grid belongs to and where the computed grid lies in it (the grid
    // itself, at 0, 0, unless a rectangle was asked for).
    uint32_t FullWidth() const { return fullWidth_; }
    uint32_t FullHeight() const { return fullHeight_; }

    void SetPictureGrid(const PictureGrid& grid) { grid_ = grid; }
    const PictureGrid& GetPictureGrid() const { return grid_; }
    void SetDefines(std::vector<ScriptDefine> defines) { defines_ = std::move(defines); }
    const std::vector<ScriptDefine>& Defines() const { return defines_; }
    // 0: no budget.
    void SetMemoryBudget(uint64_t bytes) { memoryBudget_ = bytes; }

    // Letter 'a'..'z' (lower case only); null for any other character.
    const ScriptValue* Letter(char c) const;
    ScriptValue* MutableLetter(char c);
    // User variable by exact name; null when absent.
    const ScriptValue* UserValue(const char* name) const;
    uint32_t UserVariableCount() const { return userVariableCount_; }
    const UserVariable& UserVariableAt(uint32_t i) const { return userVariables_[i]; }
    const std::vector<TransformRecord>& Transforms() const { return transforms_; }
    // The scalar last assigned to each letter 'a' .. 'z', as directive parameters read them.
    const float* LetterScalars() const { return letterScalars_; }

    // The diagnostics of the last run, one per failed line in the order the lines failed;
    // DiagnosticsText gives each as "line L, column C: message" and a line feed.
    const std::vector<ScriptDiagnostic>& Diagnostics() const { return diagnostics_; }
    std::string DiagnosticsText() const;

    // Threads that element-wise lines may use: n >= 1, or 0 for every hardware thread.
    void SetThreadCount(int threads) { threads_ = threads < 0 ? 0 : threads; }
    int ThreadCount() const { return threads_; }
    // The control the run polls: with one, a cancel request stops the run between lines,
    // repeats and tiles (Run() is false and Cancelled() true), and the run reports its progress
    // in lines (done and total scaled by kProgressPerLine, loop blocks in between).
    void SetControl(ComputeControl* control) { control_ = control; }
    ComputeControl* Control() const { return control_; }
    bool Cancelled() const { return cancelled_; }
    static constexpr int64_t kProgressPerLine = 1000;

    // Loads the text of `other` (as it was loaded: its lines and where they start) and runs it.
    bool RunCopyOf(const CMathScript& other);

    // Whether element-wise lines run fused over tiles (the default) or step by step, value by
    // value; both give the same bits.
    void SetTiledLines(bool tiled) { tiledLines_ = tiled; }
    bool TiledLines() const { return tiledLines_; }

    // --- used by the expression parser and the directive parsers ---
    int CurrentLine() const { return currentLine_; }
    // Appends "[Warning] ..." formatted like printf plus CR LF, when it fits in the log.
    void Warn(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Finds or creates a user variable; null for a built-in function's name or 72 slots in use.
    UserVariable* AddUserVariable(const char* name);
    UserVariable* FindUserVariable(const char* name);
    // The slot of a user variable, or -1.
    int UserVariableIndex(const char* name) const;

private:
    void SplitLines();
    bool ParseLine(int index);
    bool OpensLoopBlock(int index, int* count, int* endLine) const;
    bool ParseLoopLines(int first, int last, int count);
    // False for a fatal refusal (a rectangle outside the picture, the memory budget).
    bool ParseCountDirective(const char* rhs, bool pixels);
    // The grid a directive's d1 x d2 becomes under the host's PictureGrid; false (fatal) with
    // a warning when it can't.
    bool ChooseGrid(const char* at, uint32_t* d1, uint32_t* d2);
    // Before the first line: counts the assignment targets (the memory estimate) and, for a
    // rectangle, refuses functions that see whole arrays or draw random numbers.
    bool ScanLines();
    // False (fatal, counts 0) when the element count's arrays would pass the memory budget.
    bool FitsMemoryBudget(const char* at);
    void ApplyDefines();
    bool ParseFromToSetting(const char* rhs, ScriptValue* target);
    void MakeGap(const char* rhs, const char* position);
    void ParseGeometryDirective(const char* word, const char* rhs);
    bool ParseBracketValueNode(const char*& p, const char* rhs, ScriptValue* target);
    void ApplyTransforms();
    void FreeTransforms();
    // The compiled form of the expression at `text` of line `index`.
    const CompiledExpression& LineProgram(int index, const char* text);
    // Records the diagnostic of the current line (the first one only) at `at` in its text.
    void Diagnose(const char* at, std::string message);

    ScriptValue letters_[kLetterCount];
    UserVariable userVariables_[kMaxUserVariables];
    uint32_t userVariableCount_ = 0;
    char* text_ = nullptr;
    size_t textLength_ = 0;
    std::vector<char*> lines_;
    int currentLine_ = 0;
    uint32_t elementCount_ = 0;
    uint32_t dimension1_ = 0;
    uint32_t dimension2_ = 0;
    uint32_t fullWidth_ = 0;
    uint32_t fullHeight_ = 0;
    PictureGrid grid_;
    std::vector<ScriptDefine> defines_;
    uint64_t memoryBudget_ = 0;
    uint32_t arrayTargets_ = 0;
    std::string source_;
    char messages_[kMessageCapacity] = {};
    size_t messageLength_ = 0;
    uint32_t surfaceSlices_ = kDefaultSurfaceSlices;
    std::vector<TransformRecord> transforms_;
    float letterScalars_[kLetterCount] = {};
    // Where each line starts in the text as loaded (line and column), kept across reruns, whose
    // text has its separators already replaced.
    std::vector<std::pair<int, int>> linePositions_;
    // Per line: its compiled expression and whether it has failed yet.
    struct LineInfo {
        const char* expression = nullptr;
        CompiledExpression program;
        bool diagnosed = false;
    };
    std::vector<LineInfo> lineInfo_;
    std::vector<ScriptDiagnostic> diagnostics_;
    int threads_ = 0;
    bool tiledLines_ = true;
    ComputeControl* control_ = nullptr;
    bool cancelled_ = false;
    std::string loadError_;
    // True (and cancelled_ set) once the control asks to stop.
    bool StopRequested();
    void ReportLines(int line, int64_t fraction = 0, int64_t of = 1);
};

}  // namespace luneth
