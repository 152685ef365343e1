// Pictures beyond one render: what `luneth run` and `luneth equation` take besides the source.
//
//   --define NAME=V, NAME=FROM:TO:STEP      a script's letter or user variable before its first
//   --param I=V, I=FROM:TO:STEP             line; an equation's parameter I. A range makes an
//                                           animation: frame k takes FROM + k x STEP, up to TO;
//                                           several ranges step together, so they must have the
//                                           same number of values
//   -o DIR/%04d.png                         one file a frame (the number from 0); frames are
//                                           computed in order, each written on its own
//   --frames A:B, --frames K                only these frames (for spreading them over machines)
//   --frame-count                           print the number of frames and stop
//   --size WxH, --region X,Y,W,H            another pixel grid for a script; the rectangle of
//                                           the picture that is computed (scripts, equations)
//
// A picture file as the source (PICTURE.png) brings the texts it was made with; options given
// on the command line take the place of the picture's own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cli {

// A name with its values: one value (FROM only) or FROM, FROM + STEP, ... up to TO.
struct ValueRange {
    std::string name;
    double from = 0.0;
    double step = 0.0;
    int count = 1;

    float At(int frame) const {
        return float(from + step * double(frame < count ? frame : count - 1));
    }
};

// "NAME=V" or "NAME=FROM:TO:STEP"; false with the reason in *why.
bool ParseRange(const std::string& text, ValueRange* range, std::string* why);

struct RenderOptions {
    std::vector<ValueRange> ranges;  // defines or parameters
    int firstFrame = 0;
    int lastFrame = -1;  // -1: the last
    bool frameCount = false;
    uint32_t size[2] = {0, 0};          // 0 x 0: the script's own
    uint32_t region[4] = {0, 0, 0, 0};  // width 0: the whole picture
    bool hasRandom = false;
    uint32_t random = 1;

    bool HasRegion() const { return region[2] != 0; }
};

// "A:B" or "K" (frames from 0).
bool ParseFrameSpan(const std::string& text, RenderOptions* options);
// Checks --size and --region together: zero sides, sides beyond what a picture or a grid can
// have. False with the reason.
bool CheckPictureOptions(const RenderOptions& options, std::string* why);

// The names and values of the texts a picture carries ("a=1 Speed=2") as ranges of one value;
// names already in `options` keep the command line's values.
void AddPictureValues(const char* text, RenderOptions* options);

// The number of frames the ranges make: 1 without ranges, 0 (with the reason) when two ranges
// have different lengths.
int FrameCount(const std::vector<ValueRange>& ranges, std::string* why);

// Whether the output names frames: it holds one %d conversion (%d, %4d, %04d; %% is a '%').
bool IsFramePattern(const std::string& output);
std::string FramePath(const std::string& pattern, int frame);

// Renders the chosen frames in order: frame(k, path) computes frame k, writes it to path (empty
// without -o) and gives an exit status. Checks the pattern, makes its directory, counts frames
// on the progress bar; stops at the first failure, or at Ctrl+C with status 130.
int RenderFrames(const RenderOptions& options, const std::string& output,
                 const std::function<int(int frame, const std::string& path)>& frame);

}  // namespace cli
