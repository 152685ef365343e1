#include "script/MathScript.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "kiv/files.h"
#include "script/Evaluate.h"
#include "script/FunctionRegistry.h"
#include "script/Lexer.h"
#include "script/Readers.h"

namespace luneth {

namespace {

constexpr size_t kMessageLineCapacity = 256;  // one formatted message, cut at 255 characters
constexpr int kMaxGapValues = 16;

bool IsSeparator(char c) { return c == '\r' || c == '\n' || c == '\0' || c == ';'; }

constexpr const char* kGeometryWords[] = {"surface_slices", "scale", "rotate", "translate", "pipe"};

// The words before '=' that name a directive, not a variable (any case).
bool IsDirectiveWord(const char* word) {
    if (EqualsNoCase(word, "vertices") || EqualsNoCase(word, "pixels")) return true;
    for (const char* geometry : kGeometryWords)
        if (EqualsNoCase(word, geometry)) return true;
    return false;
}

// Besides the arrays a script assigns, a run holds one temporary while a line computes and the
// picture's texture (as many bytes as a float array).
constexpr uint32_t kWorkingArrays = 2;

}  // namespace

CMathScript::CMathScript() { lines_.reserve(32); }

CMathScript::~CMathScript() { Reset(); }

// ---------------------------------------------------------------------------------------------
// Text entry
// ---------------------------------------------------------------------------------------------

bool CMathScript::Load(const char* path) {
    loadError_.clear();
    uint64_t size = 0;
    int fd = KivOpenRegularFile(path, kMaxScriptBytes, &size, &loadError_);
    if (fd < 0) return false;
    char* bytes = static_cast<char*>(std::malloc(size_t(size) + 1));
    bool ok = bytes && KivReadExactly(fd, bytes, size_t(size), &loadError_);
    if (!bytes) loadError_ = "there is not enough memory for it";
    close(fd);
    if (!ok) {
        std::free(bytes);
        return false;
    }
    bytes[size] = '\0';
    Reset();
    text_ = bytes;
    textLength_ = size_t(size);
    source_.assign(bytes, size_t(size));
    return Run();
}

bool CMathScript::LoadText(const char* bytes, size_t length) {
    if (!bytes || length == 0) return false;
    char* copy = static_cast<char*>(std::malloc(length + 1));
    if (!copy) return false;
    std::memcpy(copy, bytes, length);
    copy[length] = '\0';
    Reset();
    text_ = copy;
    textLength_ = length;
    source_.assign(bytes, length);
    return Run();
}

bool CMathScript::Rerun() {
    char* text = text_;
    size_t length = textLength_;
    if (!text || length == 0) return false;
    text_ = nullptr;  // detached so that Reset keeps it
    std::vector<std::pair<int, int>> positions = std::move(linePositions_);
    std::string source = std::move(source_);
    Reset();
    text_ = text;
    textLength_ = length;
    linePositions_ = std::move(positions);
    source_ = std::move(source);
    return Run();
}

void CMathScript::Reset() {
    for (ScriptValue& letter : letters_) letter.Clear();
    for (uint32_t i = 0; i < userVariableCount_; ++i) {
        userVariables_[i].value.Clear();
        std::memset(userVariables_[i].name, 0, sizeof userVariables_[i].name);
        userVariables_[i].nameHash = 0;
    }
    userVariableCount_ = 0;
    std::free(text_);
    text_ = nullptr;
    textLength_ = 0;
    lines_.clear();
    currentLine_ = 0;
    elementCount_ = dimension1_ = dimension2_ = 0;
    fullWidth_ = fullHeight_ = 0;
    arrayTargets_ = 0;
    source_.clear();
    messages_[0] = '\0';
    messageLength_ = 0;
    FreeTransforms();
    surfaceSlices_ = kDefaultSurfaceSlices;
    std::memset(letterScalars_, 0, sizeof letterScalars_);
    cancelled_ = false;
    linePositions_.clear();
    lineInfo_.clear();
    diagnostics_.clear();
}

void CMathScript::GetText(char* buffer, size_t capacity) const {
    if (!buffer || capacity == 0) return;
    size_t used = 0;
    size_t total = 1;  // the terminating NUL
    buffer[0] = '\0';
    for (const char* line : lines_) {
        size_t length = std::strlen(line);
        total += length + 2;
        if (total > capacity) break;
        std::memcpy(buffer + used, line, length);
        used += length;
        buffer[used++] = '\r';
        buffer[used++] = '\n';
        buffer[used] = '\0';
    }
}

// ---------------------------------------------------------------------------------------------
// Values, variables and the log
// ---------------------------------------------------------------------------------------------

const ScriptValue* CMathScript::Letter(char c) const {
    return (c >= 'a' && c <= 'z') ? &letters_[c - 'a'] : nullptr;
}

ScriptValue* CMathScript::MutableLetter(char c) {
    return (c >= 'a' && c <= 'z') ? &letters_[c - 'a'] : nullptr;
}

UserVariable* CMathScript::FindUserVariable(const char* name) {
    if (!name || !name[0]) return nullptr;
    uint32_t hash = ElfHash(name);
    for (uint32_t i = 0; i < userVariableCount_; ++i) {
        UserVariable& u = userVariables_[i];
        if (u.nameHash == hash && std::strcmp(u.name, name) == 0) return &u;
    }
    return nullptr;
}

const ScriptValue* CMathScript::UserValue(const char* name) const {
    UserVariable* u = const_cast<CMathScript*>(this)->FindUserVariable(name);
    return u ? &u->value : nullptr;
}

int CMathScript::UserVariableIndex(const char* name) const {
    const UserVariable* u = const_cast<CMathScript*>(this)->FindUserVariable(name);
    return u ? static_cast<int>(u - userVariables_) : -1;
}

UserVariable* CMathScript::AddUserVariable(const char* name) {
    if (!name || !name[0] || std::strlen(name) >= kUserVariableNameCapacity) return nullptr;
    if (LookupFunction(name) < FunctionCount()) return nullptr;  // built-in names are taken
    if (UserVariable* u = FindUserVariable(name)) return u;
    if (userVariableCount_ >= kMaxUserVariables) return nullptr;
    UserVariable& u = userVariables_[userVariableCount_++];
    std::strcpy(u.name, name);
    u.nameHash = ElfHash(name);
    u.value.Clear();
    return &u;
}

namespace {

// Where the conversion character stands among the flags, width and precision after a '%'.
const char* ConversionOf(const char* spec) {
    while (*spec && std::strchr("-+ #0123456789.*hlLqjzt", *spec)) ++spec;
    return spec;
}

// The fewest characters a message of `format` can have: its own text and the CR LF, since a
// conversion may give nothing.
size_t LeastMessageLength(const char* format) {
    size_t length = 2;
    for (const char* p = format; *p; ++p) {
        if (*p == '%') {
            p = ConversionOf(p + 1);
            if (!*p) break;
            if (*p != '%') continue;
        }
        ++length;
    }
    return length;
}

// `format` with every string conversion held to one log line: formatting then costs no more
// than the line it makes, however long the text it quotes (a script line may be megabytes).
void BoundStringConversions(const char* format, char* out, size_t capacity) {
    size_t n = 0;
    auto put = [&](std::string_view text) {
        for (char c : text)
            if (n + 1 < capacity) out[n++] = c;
    };
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            put({p, 1});
            continue;
        }
        const char* conversion = ConversionOf(p + 1);
        std::string_view spec(p, size_t(conversion - p));
        put(spec);
        if (*conversion == 's' && spec.find('.') == std::string_view::npos) put(".255");
        if (!*conversion) break;
        put({conversion, 1});
        p = conversion;
    }
    out[n] = '\0';
}

}  // namespace

void CMathScript::Warn(const char* format, ...) {
    // A full log takes nothing more: skip the formatting, which quotes whole lines and would
    // otherwise cost a line's length at every read of an unset letter.
    const size_t least = std::min(LeastMessageLength(format), kMessageLineCapacity - 1);
    if (messageLength_ + least >= kMessageCapacity) return;
    char bounded[kMessageLineCapacity];
    BoundStringConversions(format, bounded, sizeof bounded);
    char line[kMessageLineCapacity];
    va_list args;
    va_start(args, format);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int n = std::vsnprintf(line, kMessageLineCapacity - 2, bounded, args);
#pragma GCC diagnostic pop
    va_end(args);
    if (n < 0) return;
    // Every message ends in CR LF, also one cut to the line limit (255 characters in all).
    size_t length = std::strlen(line);
    line[length++] = '\r';
    line[length++] = '\n';
    line[length] = '\0';
    if (messageLength_ + length >= kMessageCapacity) return;
    std::memcpy(messages_ + messageLength_, line, length + 1);
    messageLength_ += length;
}

// ---------------------------------------------------------------------------------------------
// Running
// ---------------------------------------------------------------------------------------------

void CMathScript::SplitLines() {
    lines_.clear();
    // Line and column of every character while the text still has its line ends.
    const bool fresh = linePositions_.empty();
    int physicalLine = 1, column = 1;
    auto advance = [&](size_t i) {
        const char c = text_[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= textLength_ || text_[i + 1] != '\n'))) {
            ++physicalLine;
            column = 1;
        } else {
            ++column;
        }
    };
    auto startLine = [&](char* at) {
        lines_.push_back(at);
        if (fresh) linePositions_.emplace_back(physicalLine, column);
    };
    int separators = 0;
    bool afterSeparator = true;  // the first character of the text starts a line
    for (size_t i = 0; i < textLength_; ++i) {
        if (IsSeparator(text_[i])) {
            if (fresh) advance(i);
            text_[i] = '\0';
            afterSeparator = true;
            // Every third consecutive separator leaves an empty line behind, which keeps the
            // line indices near the file's line numbers.
            if (++separators == 3) {
                startLine(text_ + i);
                separators = 0;
            }
        } else {
            if (afterSeparator) startLine(text_ + i);
            if (fresh) advance(i);
            afterSeparator = false;
            separators = 0;
        }
    }
    lineInfo_.assign(lines_.size(), LineInfo{});
}

bool CMathScript::StopRequested() {
    if (control_ && control_->Cancelled()) cancelled_ = true;
    return cancelled_;
}

void CMathScript::ReportLines(int line, int64_t fraction, int64_t of) {
    if (!control_ || of <= 0) return;
    control_->Progress(line * kProgressPerLine + fraction * kProgressPerLine / of,
                       int64_t(lines_.size()) * kProgressPerLine);
}

bool CMathScript::RunCopyOf(const CMathScript& other) {
    if (!other.text_ || other.textLength_ == 0) return false;
    char* copy = static_cast<char*>(std::malloc(other.textLength_ + 1));
    if (!copy) return false;
    std::memcpy(copy, other.text_, other.textLength_ + 1);
    Reset();
    text_ = copy;
    textLength_ = other.textLength_;
    linePositions_ = other.linePositions_;
    source_ = other.source_;
    return Run();
}

bool CMathScript::Run() {
    if (!text_) return false;
    cancelled_ = false;
    SplitLines();
    if (!ScanLines()) return false;
    ApplyDefines();
    const int count = static_cast<int>(lines_.size());
    for (int i = 0; i < count; ++i) {
        if (StopRequested()) return false;
        int repeat = 0, endLine = 0;
        if (OpensLoopBlock(i, &repeat, &endLine)) {
            ParseLoopLines(i + 1, endLine, repeat);
            if (cancelled_) return false;
            i = endLine;
            ReportLines(i + 1);
            continue;
        }
        if (!ParseLine(i)) return false;
        if (cancelled_) return false;
        ReportLines(i + 1);
    }
    if ((dimension1_ == 0 || dimension2_ == 0) && !transforms_.empty()) ApplyTransforms();
    return true;
}

bool CMathScript::OpensLoopBlock(int index, int* count, int* endLine) const {
    const char* line = lines_[index];
    if (!StartsWithNoCase(line, "[LOOP START:")) return false;
    const char* p = line + 12;
    if (!ReadInteger(p, count)) return false;
    for (int j = index + 1; j < static_cast<int>(lines_.size()); ++j) {
        if (StartsWithNoCase(lines_[j], "LOOP END]")) {
            *endLine = j;
            return true;
        }
    }
    return false;
}

bool CMathScript::ParseLoopLines(int first, int last, int count) {
    UserVariable* loop = AddUserVariable("loop");
    if (!loop) {
        Warn("[Warning] ParseLoopLines Failed(AddUserVariable): Line:%d, Word:loop", first);
        currentLine_ = first - 1;
        Diagnose(lines_[size_t(first - 1)], "no room for the variable 'loop' (at most 72)");
        return false;
    }
    for (int k = 0; k < count; ++k) {
        loop->value.SetScalar(static_cast<float>(k));
        for (int i = first; i < last; ++i) {
            if (StopRequested() || !ParseLine(i)) return false;
        }
        ReportLines(first - 1, k + 1, count);
    }
    return true;
}

bool CMathScript::ParseLine(int index) {
    currentLine_ = index;
    const char* line = lines_[index];
    const char* p = SkipBlanks(line);
    if (*p == '\0' || *p == '#') return true;

    char word[kWordCapacity];
    if (!ReadWord(p, word)) {
        Warn("[Warning] Parse Failed: Line:%d, Expression:%s", index, line);
        Diagnose(p, "expected a variable or a directive name");
        return true;
    }
    p = SkipBlanks(p);
    if (*p != '=') {
        Warn("[Warning] Parse Failed: Line:%d, Expression:%s", index, line);
        Diagnose(p, "expected '=' after '" + std::string(word) + "'");
        return false;
    }
    const char* rhs = p + 1;

    if (EqualsNoCase(word, "vertices")) return ParseCountDirective(rhs, false);
    if (EqualsNoCase(word, "pixels")) return ParseCountDirective(rhs, true);
    for (const char* geometry : kGeometryWords) {
        if (EqualsNoCase(word, geometry)) {
            ParseGeometryDirective(geometry, rhs);
            return true;
        }
    }

    if (elementCount_ == 0) {
        Warn("[Warning] Vertices count is not setted: Line:%d, Word:%s, Expression:%s", index, word,
             rhs);
        Diagnose(line,
                 "no element count yet: start the script with 'pixels = width:W "
                 "height:H' or 'vertices = N'");
        return false;
    }

    ScriptValue* target = nullptr;
    int letter = -1;
    if (word[0] >= 'a' && word[0] <= 'z' && word[1] == '\0') {
        letter = word[0] - 'a';
        target = &letters_[letter];
    } else if (std::strlen(word) >= kUserVariableNameCapacity) {
        Warn("[Warning] Parse Failed: Line:%d, Word:%s, Expression:%s", index, word, rhs);
        Diagnose(line, "a variable name has at most 15 characters");
        return true;
    } else if (UserVariable* u = AddUserVariable(word)) {
        target = &u->value;
    } else {
        Warn("[Warning] Parse Failed(AddUserVariable): Line:%d, Word:%s, Expression:%s", index,
             word, rhs);
        Diagnose(line, LookupFunction(word) < FunctionCount()
                           ? "'" + std::string(word) + "' is a function and cannot be assigned"
                           : std::string("no room for another variable (at most 72)"));
        return true;
    }

    if (ParseFromToSetting(rhs, target)) return true;

    // Repetition prefix "[loop: N]".
    const char* expression = rhs;
    int repeat = -1;
    const char* q = SkipBlanks(rhs);
    if (*q == '[') {
        const char* r = q + 1;
        char loopWord[kWordCapacity];
        if (ReadWord(r, loopWord) && EqualsNoCase(loopWord, "loop")) {
            r = SkipBlanks(r);
            if (*r == ':') {
                ++r;
                int n = 0;
                if (ReadInteger(r, &n)) {
                    r = SkipBlanks(r);
                    repeat = *r == ']' ? n : -1;
                    // The expression starts after the character that closes the prefix; a line
                    // that ends there has no expression (never read past the line's end).
                    expression = *r ? r + 1 : r;
                } else {
                    expression = r;
                }
            }
        }
    }

    const CompiledExpression& program = LineProgram(index, expression);
    if (StopRequested()) return true;
    if (program.Run(this, target)) {
        if (letter >= 0) letterScalars_[letter] = target->scalar;
    } else if (!StopRequested()) {
        Warn("[Warning] ParseExpression Failed. Line:%d, Expression:%s", index, line);
        if (program.Complete())
            Diagnose(expression, "the expression could not be computed (out of memory)");
        else
            Diagnose(expression + program.Error().offset, program.Error().message);
    }
    for (int k = 1; k < repeat && !StopRequested(); ++k) {
        if (program.Run(this, target) && letter >= 0) letterScalars_[letter] = target->scalar;
    }
    return true;
}

const CompiledExpression& CMathScript::LineProgram(int index, const char* text) {
    LineInfo& info = lineInfo_[size_t(index)];
    // A complete program stays valid: the names it resolved keep their meaning. One that
    // failed is compiled again, since a later line may have created the variable it missed.
    if (info.expression != text || !info.program.Complete()) {
        info.expression = text;
        info.program.Compile(this, text);
    }
    return info.program;
}

void CMathScript::Diagnose(const char* at, std::string message) {
    if (currentLine_ < 0 || size_t(currentLine_) >= lineInfo_.size()) return;
    LineInfo& info = lineInfo_[size_t(currentLine_)];
    if (info.diagnosed) return;
    info.diagnosed = true;
    const char* line = lines_[size_t(currentLine_)];
    const size_t length = std::strlen(line);
    size_t offset = at >= line && at <= line + length ? size_t(at - line) : 0;
    std::pair<int, int> start = size_t(currentLine_) < linePositions_.size()
                                    ? linePositions_[size_t(currentLine_)]
                                    : std::pair<int, int>(currentLine_ + 1, 1);
    diagnostics_.push_back({start.first, start.second + int(offset), std::move(message)});
}

std::string CMathScript::DiagnosticsText() const {
    std::string text;
    for (const ScriptDiagnostic& d : diagnostics_)
        text += "line " + std::to_string(d.line) + ", column " + std::to_string(d.column) + ": " +
                d.message + "\n";
    return text;
}

// ---------------------------------------------------------------------------------------------
// Count directives
// ---------------------------------------------------------------------------------------------

namespace {

// Reads `name : integer` where name is one of the two spellings (any case).
bool ReadNamedInteger(const char*& p, const char* longName, const char* shortName, int* value) {
    char word[kWordCapacity];
    if (!ReadWord(p, word) || !(EqualsNoCase(word, longName) || EqualsNoCase(word, shortName)))
        return false;
    p = SkipBlanks(p);
    if (*p != ':') return false;
    ++p;
    return ReadInteger(p, value);
}

}  // namespace

bool CMathScript::ParseCountDirective(const char* rhs, bool pixels) {
    const char* kind = pixels ? "Pixels" : "Vertices";
    const char* lower = pixels ? "pixels" : "vertices";
    if (elementCount_ != 0)
        Warn("[Warning] %s count should be set once. Line:%d, Expression:%s", kind, currentLine_,
             rhs);
    const char* p = rhs;
    char word[kWordCapacity];
    const char* start = SkipBlanks(p);
    if (!ReadWord(p, word)) {
        Warn("[Warning] Failed to set %s count. Line:%d, Expression:%s", lower, currentLine_, rhs);
        Diagnose(start, pixels ? "expected 'width:W height:H'"
                               : "expected a count N or 'dimension1:A dimension2:B'");
        return true;
    }
    int n = 0;
    fullWidth_ = fullHeight_ = 0;
    // Counts beyond what an array can hold, or whose one array would pass the memory budget,
    // are refused rather than allocated.
    std::string refusal;
    auto fits = [&refusal](uint64_t elements) {
        if (elements > kMaxElementCount) return false;
        const uint64_t budget = ArrayMemoryBudget(), bytes = elements * sizeof(float);
        if (!budget || bytes <= budget) return true;
        refusal = std::to_string(elements) + " elements need " + std::to_string(bytes >> 20) +
                  " MiB a variable, more than the memory budget of " +
                  std::to_string(budget >> 20) + " MiB (MemoryBudgetMiB)";
        return false;
    };
    if (!pixels && IsDigit(word[0]) && ParseIntegerWord(word, &n)) {
        if (grid_.HasSize() || grid_.HasRegion()) {
            elementCount_ = dimension1_ = dimension2_ = 0;
            Warn("[Warning] Line:%d a picture size or region needs a pixel grid:%s", currentLine_,
                 rhs);
            Diagnose(start, "a picture size or region needs a grid: 'pixels = width:W height:H'");
            return false;
        }
        float count = static_cast<float>(n) + 0.1f;
        if (count >= 0.0f && count <= static_cast<float>(kMaxElementCount) &&
            fits(uint64_t(count))) {
            elementCount_ = static_cast<uint32_t>(count);
            dimension1_ = dimension2_ = 0;
            return FitsMemoryBudget(start);
        }
    } else {
        p = start;
        int d1 = 0, d2 = 0;
        bool ok = pixels ? ReadNamedInteger(p, "width", "W", &d1) &&
                               ReadNamedInteger(p, "height", "H", &d2)
                         : ReadNamedInteger(p, "dimension1", "d1", &d1) &&
                               ReadNamedInteger(p, "dimension2", "d2", &d2);
        // Negative sizes are refused; so are grids beyond what an array can hold.
        uint32_t width = uint32_t(d1), height = uint32_t(d2);
        if (ok && d1 > 0 && d2 > 0) {
            if (!ChooseGrid(start, &width, &height)) {
                elementCount_ = dimension1_ = dimension2_ = 0;
                return false;
            }
            if (fits(uint64_t(width) * height)) {
                dimension1_ = width;
                dimension2_ = height;
                elementCount_ = width * height;
                return FitsMemoryBudget(start);
            }
        }
    }
    elementCount_ = dimension1_ = dimension2_ = 0;
    Warn("[Warning] Failed to set %s count. Line:%d, Expression:%s", lower, currentLine_, rhs);
    if (!refusal.empty())
        Diagnose(start, refusal);
    else
        Diagnose(start, pixels
                            ? "expected 'width:W height:H' with W x H from 1 to 2^28 pixels"
                            : "expected a count N or 'dimension1:A dimension2:B' (at most 2^28)");
    return true;
}

bool CMathScript::ChooseGrid(const char* at, uint32_t* width, uint32_t* height) {
    if (grid_.HasSize()) *width = grid_.width, *height = grid_.height;
    fullWidth_ = *width;
    fullHeight_ = *height;
    if (!grid_.HasRegion()) return true;
    const PictureGrid& g = grid_;
    if (*width > kMaxGridSide || *height > kMaxGridSide || g.x >= *width ||
        g.regionWidth > *width - g.x || g.y >= *height || g.regionHeight > *height - g.y) {
        char text[160];
        std::snprintf(text, sizeof text, "the region %u,%u,%u,%u lies outside the %u x %u picture",
                      g.x, g.y, g.regionWidth, g.regionHeight, *width, *height);
        Warn("[Warning] Line:%d %s", currentLine_, text);
        Diagnose(at, text);
        return false;
    }
    *width = g.regionWidth;
    *height = g.regionHeight;
    return true;
}

bool CMathScript::FitsMemoryBudget(const char* at) {
    const uint64_t bytes =
        uint64_t(elementCount_) * sizeof(float) * (arrayTargets_ + kWorkingArrays);
    if (memoryBudget_ == 0 || bytes <= memoryBudget_) return true;
    char text[200];
    std::snprintf(text, sizeof text,
                  "%u elements in %u arrays need about %llu MiB, more than the memory budget of "
                  "%llu MiB (MemoryBudgetMiB)",
                  elementCount_, arrayTargets_ + kWorkingArrays,
                  static_cast<unsigned long long>((bytes + (1u << 20) - 1) >> 20),
                  static_cast<unsigned long long>(memoryBudget_ >> 20));
    elementCount_ = dimension1_ = dimension2_ = 0;
    Warn("[Warning] Line:%d %s", currentLine_, text);
    Diagnose(at, text);
    return false;
}

// ---------------------------------------------------------------------------------------------
// Before the first line: the arrays a run makes, functions that can't see a region, defines
// ---------------------------------------------------------------------------------------------

bool CMathScript::ScanLines() {
    std::vector<std::string> targets;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const char* p = SkipBlanks(lines_[i]);
        if (*p == '#') continue;
        char word[kWordCapacity];
        const char* q = p;
        if (ReadWord(q, word) && *SkipBlanks(q) == '=' && !IsDirectiveWord(word) &&
            std::find(targets.begin(), targets.end(), word) == targets.end())
            targets.emplace_back(word);
        if (!grid_.HasRegion()) continue;
        // Every name the line's expressions can call; a function's name is never a variable.
        for (const char* s = p; *s && *s != '#';) {
            if (IsDelimiter(*s)) {
                ++s;
                continue;
            }
            const char* at = s;
            ReadWord(s, word);
            const FunctionRecord* f = FindFunction(word);
            if (!f || (f->kind < kKindReduce && !f->drawsRandom)) continue;
            currentLine_ = int(i);
            const char* why = f->drawsRandom ? "draws random numbers" : "works on whole arrays";
            Warn("[Warning] Line:%d '%s' %s, so this script can't be computed in a region", int(i),
                 word, why);
            Diagnose(at, "'" + std::string(word) + "' " + why +
                             ", so this script can't be cut into regions or tiles");
            return false;
        }
    }
    arrayTargets_ = uint32_t(targets.size());
    return true;
}

void CMathScript::ApplyDefines() {
    for (const ScriptDefine& d : defines_) {
        const char* name = d.name.c_str();
        if (int letter = LetterIndex(name); letter >= 0) {
            letters_[letter].SetScalar(d.value);
            letterScalars_[letter] = d.value;
        } else if (UserVariable* u = AddUserVariable(name)) {
            u->value.SetScalar(d.value);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Ramps and gaps
// ---------------------------------------------------------------------------------------------

namespace {

// A ramp bound: (expression), an exponent literal, or [+-] constant / integer / decimal word.
bool ReadRampValue(const float* letters, const char*& p, float* value) {
    p = SkipBlanks(p);
    int bracket = OpeningBracketKind(*p);
    if (bracket >= 0) {
        ++p;
        char argument[kArgumentCapacity];
        return ExtractArgument(p, bracket, ArgumentMode::Last, argument) &&
               EvaluateScalar(letters, argument, value);
    }
    if (ReadExponentLiteral(p, value)) return true;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = (*p++ == '-');
    char word[kWordCapacity];
    if (!ReadWord(p, word)) return false;
    float v = 0.0f;
    int i = 0;
    if (LookupConstant(word, &v)) {
    } else if (IsDigit(word[0]) && ParseIntegerWord(word, &i)) {
        v = static_cast<float>(i);
    } else if (!ParseDecimalWord(word, &v)) {
        return false;
    }
    *value = negative ? -v : v;
    return true;
}

// n elements of a ramp over `full` positions (from at 0, to at full - 1), starting at position
// `first`: the same bits as the same elements of the whole ramp.
bool FillRamp(ScriptValue* target, uint32_t n, float from, float to, uint32_t full,
              uint32_t first) {
    if (!target->SetCount(n)) return false;
    if (full >= 2) {
        float step = (to - from) / static_cast<float>(full - 1);
        for (uint32_t k = 0; k < n; ++k)
            target->data[k] = static_cast<float>(first + k) * step + from;
    }
    return true;
}

}  // namespace

bool CMathScript::ParseFromToSetting(const char* rhs, ScriptValue* target) {
    const char* p = rhs;
    char word[kWordCapacity];
    if (!ReadWord(p, word) || !EqualsNoCase(word, "from")) return false;
    float from = 0.0f, to = 0.0f;
    const char* at = SkipBlanks(p);
    if (!ReadRampValue(letterScalars_, p, &from)) {
        Warn("[Warning] Line:%d ParseFromToSetting Fail to get the \"from\" value:%s", currentLine_,
             rhs);
        Diagnose(at, "expected a number, a constant or (expression) after 'from'");
        return false;
    }
    at = SkipBlanks(p);
    if (!ReadWord(p, word) || !EqualsNoCase(word, "to")) {
        Warn("[Warning] Line:%d ParseFromToSetting Fail to get the \"to\" word:%s", currentLine_,
             rhs);
        Diagnose(at, "expected 'to'");
        return false;
    }
    at = SkipBlanks(p);
    if (!ReadRampValue(letterScalars_, p, &to)) {
        Warn("[Warning] Line:%d ParseFromToSetting Fail to get the \"to\" value:%s", currentLine_,
             rhs);
        Diagnose(at, "expected a number, a constant or (expression) after 'to'");
        return false;
    }

    if (dimension1_ == 0 || dimension2_ == 0) {
        if (!FillRamp(target, elementCount_, from, to, elementCount_, 0)) return false;
        const char* q = p;
        if (ReadWord(q, word) && EqualsNoCase(word, "gap")) MakeGap(rhs, q);
        return true;
    }

    at = SkipBlanks(p);
    if (!ReadWord(p, word)) {
        Warn("[Warning] Line:%d ParseFromToSetting not set dimension:%s", currentLine_, rhs);
        Diagnose(at, "expected W or H (the axis of the ramp)");
        return false;
    }
    bool alongWidth =
        EqualsNoCase(word, "dimension1") || EqualsNoCase(word, "d1") || EqualsNoCase(word, "W");
    bool alongHeight =
        EqualsNoCase(word, "dimension2") || EqualsNoCase(word, "d2") || EqualsNoCase(word, "H");
    if (!alongWidth && !alongHeight) {
        Warn("[Warning] Line:%d ParseFromToSetting not set dimension:%s", currentLine_, rhs);
        Diagnose(at, "expected W or H (the axis of the ramp), found '" + std::string(word) + "'");
        return false;
    }
    const bool region = grid_.HasRegion();
    if (!(alongWidth ? FillRamp(target, dimension1_, from, to, fullWidth_, region ? grid_.x : 0)
                     : FillRamp(target, dimension2_, from, to, fullHeight_, region ? grid_.y : 0)))
        return false;
    const char* q = p;
    if (ReadWord(q, word) && EqualsNoCase(word, "gap")) MakeGap(rhs, q);
    // Rows follow each other: along the width the ramp repeats per row, along the height each
    // row holds one ramp value.
    return alongWidth ? target->Tile(dimension2_) : target->RepeatEach(dimension1_);
}

void CMathScript::MakeGap(const char* rhs, const char* position) {
    // The listed values only mark places on the ramp; nothing else reads them, so the list is
    // checked for form and otherwise leaves the ramp as built.
    float values[kMaxGapValues];
    int count = 0;
    const char* p = position;
    if (!ReadScalarList(letterScalars_, p, values, 1, kMaxGapValues, &count)) {
        Warn("[Warning] Line:%d MakeGap failed:%s", currentLine_, rhs);
        Diagnose(position, "expected a bracketed list of 1 to 16 numbers after 'gap'");
    }
}

}  // namespace luneth
