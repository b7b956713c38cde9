#pragma once
// Pixels of the 96 DPI design and pixels of a display: the editor draws its dialogs larger on a
// display of more DPI, and so must everything Lathmore sizes or remembers.

#include <cmath>
#include <cstdint>

namespace lathmore {

inline constexpr std::int32_t kDesignDpi = 96;

// Design pixels on a display of `dpi`; unchanged where the DPI is unknown (0 or less).
inline std::int32_t ScaledToDpi(std::int32_t pixels, std::int32_t dpi) {
  if (dpi <= 0 || dpi == kDesignDpi) return pixels;
  return static_cast<std::int32_t>(std::lround(static_cast<double>(pixels) * dpi / kDesignDpi));
}

// A display's pixels in design pixels.
inline std::int32_t ScaledFromDpi(std::int32_t pixels, std::int32_t dpi) {
  if (dpi <= 0 || dpi == kDesignDpi) return pixels;
  return static_cast<std::int32_t>(std::lround(static_cast<double>(pixels) * kDesignDpi / dpi));
}

}  // namespace lathmore
