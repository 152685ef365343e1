// Implementations that serve names in more than one family (one function, several names).
#pragma once

namespace luneth {

// min(a, b): also the distance operator opUnion. A NaN in a gives b.
float ScalarMin(float a, float b);

}  // namespace luneth
