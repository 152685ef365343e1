#include "Frames.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "Progress.h"
#include "module/PictureTexts.h"

namespace cli {

namespace {

// More frames than anyone renders: a step that is far too small.
constexpr int kMaxFrames = 1000000;
// A picture side; larger pictures are computed in rectangles.
constexpr uint32_t kMaxPictureSide = 16384;
// A whole picture's side when it is computed in rectangles (ramp positions stay exact floats).
constexpr uint32_t kMaxGridSide = 1u << 24;

bool ReadNumber(const std::string& text, double* value) {
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(*value);
}

// Where the one %d conversion of a pattern starts and ends; false when there is none or more
// than one, or another conversion.
bool FindConversion(const std::string& pattern, size_t* start, size_t* end) {
    int found = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') continue;
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[j]))) ++j;
        if (j >= pattern.size() || pattern[j] != 'd' || j - i > 4) return false;
        *start = i;
        *end = j + 1;
        ++found;
        i = j;
    }
    return found == 1;
}

}  // namespace

bool ParseRange(const std::string& text, ValueRange* range, std::string* why) {
    size_t eq = text.find('=');
    if (eq == 0 || eq == std::string::npos) {
        *why = "'" + text + "' is not NAME=VALUE or NAME=FROM:TO:STEP";
        return false;
    }
    range->name = text.substr(0, eq);
    std::vector<std::string> parts;
    for (size_t start = eq + 1;;) {
        size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon == std::string::npos ? colon : colon - start));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    double numbers[3];
    bool ok = parts.size() == 1 || parts.size() == 3;
    for (size_t i = 0; ok && i < parts.size(); ++i) ok = ReadNumber(parts[i], &numbers[i]);
    if (!ok) {
        *why = "'" + text + "' is not NAME=VALUE or NAME=FROM:TO:STEP (finite numbers)";
        return false;
    }
    range->from = numbers[0];
    range->step = 0.0;
    range->count = 1;
    if (parts.size() == 1) return true;
    const double span = numbers[1] - numbers[0], step = numbers[2];
    // The last value may miss TO by rounding; a thousandth of a step is close enough.
    const double steps = step != 0.0 ? span / step : -1.0;
    if (step == 0.0 || steps < -1e-3 || steps + 1.0 > kMaxFrames) {
        *why = "'" + text + "': the STEP must lead from FROM to TO in at most " +
               std::to_string(kMaxFrames) + " values";
        return false;
    }
    range->step = step;
    range->count = int(std::floor(steps + 1e-3)) + 1;
    return true;
}

bool ParseFrameSpan(const std::string& text, RenderOptions* options) {
    size_t colon = text.find(':');
    double first = 0, last = 0;
    if (!ReadNumber(text.substr(0, colon), &first) ||
        !ReadNumber(colon == std::string::npos ? text : text.substr(colon + 1), &last) ||
        first < 0 || last < first || first != std::floor(first) || last != std::floor(last) ||
        last >= kMaxFrames)
        return false;
    options->firstFrame = int(first);
    options->lastFrame = int(last);
    return true;
}

bool CheckPictureOptions(const RenderOptions& o, std::string* why) {
    const bool size = o.size[0] || o.size[1];
    if (size && (!o.size[0] || !o.size[1]))
        return *why = "--size needs a width and a height of at least 1", false;
    if (o.size[0] > kMaxGridSide || o.size[1] > kMaxGridSide)
        return *why = "--size: a picture computed in regions has sides of at most " +
                      std::to_string(kMaxGridSide),
               false;
    if (!o.HasRegion()) {
        if (o.region[3]) return *why = "--region needs a width and a height of at least 1", false;
        if (o.size[0] > kMaxPictureSide || o.size[1] > kMaxPictureSide)
            return *why =
                       "--size: one picture has at most 16384 x 16384 pixels; compute larger "
                       "ones in regions with --region (see scripts/render-tiles)",
                   false;
        return true;
    }
    const uint32_t* r = o.region;
    if (!r[3]) return *why = "--region needs a width and a height of at least 1", false;
    if (r[2] > kMaxPictureSide || r[3] > kMaxPictureSide)
        return *why = "--region: one picture has at most 16384 x 16384 pixels", false;
    if (uint64_t(r[0]) + r[2] > kMaxGridSide || uint64_t(r[1]) + r[3] > kMaxGridSide)
        return *why = "--region lies beyond the largest picture (" + std::to_string(kMaxGridSide) +
                      " pixels a side)",
               false;
    return true;
}

void AddPictureValues(const char* text, RenderOptions* options) {
    luneth::NamedValues values;
    if (!text || !luneth::ParseValues(text, &values)) return;
    for (const auto& [name, value] : values) {
        bool given = false;
        for (const ValueRange& r : options->ranges) given = given || r.name == name;
        if (!given) options->ranges.push_back({name, double(value), 0.0, 1});
    }
}

int FrameCount(const std::vector<ValueRange>& ranges, std::string* why) {
    int count = 1;
    const ValueRange* first = nullptr;
    for (const ValueRange& r : ranges) {
        if (r.count == 1) continue;
        if (first && r.count != count) {
            *why = "the ranges of " + first->name + " (" + std::to_string(count) + " values) and " +
                   r.name + " (" + std::to_string(r.count) +
                   " values) step together and must have as many values";
            return 0;
        }
        first = &r;
        count = r.count;
    }
    return count;
}

bool IsFramePattern(const std::string& output) {
    size_t start, end;
    return FindConversion(output, &start, &end);
}

std::string FramePath(const std::string& pattern, int frame) {
    size_t start = 0, end = 0;
    if (!FindConversion(pattern, &start, &end)) return pattern;
    char number[32];
    std::snprintf(number, sizeof number, ("%" + pattern.substr(start + 1, end - start - 1)).c_str(),
                  frame);
    std::string path;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (i == start) {
            path += number;
            i = end - 1;
        } else {
            path += pattern[i];
            if (pattern[i] == '%') ++i;  // "%%" is one '%'
        }
    }
    return path;
}

int RenderFrames(const RenderOptions& options, const std::string& output,
                 const std::function<int(int frame, const std::string& path)>& frame) {
    std::string why;
    const int count = FrameCount(options.ranges, &why);
    const int first = options.firstFrame;
    const int last = options.lastFrame < 0 ? count - 1 : std::min(options.lastFrame, count - 1);
    const bool pattern = IsFramePattern(output);
    if (pattern) {
        std::error_code ec;
        std::filesystem::path directory = std::filesystem::path(FramePath(output, 0)).parent_path();
        if (!directory.empty()) std::filesystem::create_directories(directory, ec);
    }
    Progress().Start(last - first + 1);
    for (int k = first; k <= last; ++k) {
        Progress().SetFrame(k - first);
        int status = frame(k, output.empty() ? output : pattern ? FramePath(output, k) : output);
        if (Interrupted()) status = kInterruptedStatus;
        if (status == kInterruptedStatus) {
            Progress().Clear();
            std::fputs("luneth: cancelled\n", stderr);
        }
        if (status) return status;
    }
    Progress().Clear();
    return 0;
}

}  // namespace cli
