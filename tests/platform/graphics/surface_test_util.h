// Helpers for the surface tests: surfaces of known content and pixel comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "platform/graphics/gapi.h"

namespace surface_test {

constexpr DWORD kKey = 0xFF00FF;

inline void MakeSurface(CGapiSurface& s, DWORD w, DWORD h, DWORD color) {
  ASSERT_EQ(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, w, h), GD_OK);
  ASSERT_EQ(s.FillRect(nullptr, color, 0, nullptr), GD_OK);
}

inline void SetPixel(CGapiSurface& s, LONG x, LONG y, DWORD color) {
  RECT r{x, y, x + 1, y + 1};
  s.FillRect(&r, color, 0, nullptr);
}

// Every pixel of `s` must equal `expected(x, y)`; stops at the first difference.
inline ::testing::AssertionResult PixelsAre(const CGapiSurface& s,
                                            const std::function<DWORD(LONG, LONG)>& expected) {
  for (LONG y = 0; y < static_cast<LONG>(s.GetHeight()); ++y) {
    for (LONG x = 0; x < static_cast<LONG>(s.GetWidth()); ++x) {
      DWORD want = expected(x, y), got = s.GetPixel(x, y);
      if (want != got) {
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                             << got << ", expected " << want;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

inline bool Inside(LONG x, LONG y, RECT r) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Each channel within `tolerance` of the expected value.
inline ::testing::AssertionResult ColourNear(DWORD got, DWORD want, int tolerance = 1) {
  for (int shift : {16, 8, 0}) {
    int g = static_cast<int>((got >> shift) & 0xFF), w = static_cast<int>((want >> shift) & 0xFF);
    if (std::abs(g - w) > tolerance) {
      return ::testing::AssertionFailure() << std::hex << got << " is not near " << want;
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace surface_test
