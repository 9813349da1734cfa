#include "forms/app.h"

#include <cmath>

namespace forms {

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace forms
