// Equations whose picture rests on numbers drawn from the image object's random stream.
//
// Draw runs once, in the first computation (Prepare, before any pixel), with the stream of the
// image object that computes; pixels then only read what it drew, so they stay independent and
// rows may run on any thread. The drawing is kept like the picture of an accumulating equation:
// computing again, or changing a parameter that only shapes how the drawing is shown, gives
// the same random picture.
#pragma once

#include "equations/PixelEquation.h"

namespace luneth {

class CDrawnEquation : public CPixelEquation {
public:
    using CPixelEquation::CPixelEquation;

    void Prepare(EquationContext& context) final {
        if (drawn_) return;
        Draw(context.random);
        drawn_ = true;
    }

protected:
    virtual void Draw(RandomStream& random) = 0;

private:
    bool drawn_ = false;
};

}  // namespace luneth
