// The drawing record: each call on a recording surface, with its rectangles, flags,
// opacity, colour, text and source, while recording is on.
#include "platform/graphics/detail/surface_record.h"

#include <gtest/gtest.h>

#include "platform/graphics/gapi.h"
#include "platform/backend_headless/headless.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class SurfaceRecord : public testing::Test {
 protected:
  void SetUp() override {
    headless::ClearDrawCalls();
    headless::SetDrawRecording(true);
    ASSERT_EQ(back.CreateSurface(GDSURFACE_SYSTEMMEMORY, 100u, 80u), GD_OK);
    ASSERT_EQ(icon.CreateSurface(GDSURFACE_SYSTEMMEMORY, 10u, 8u), GD_OK);
    platform::SetSurfaceRecordsDraws(back, true);
  }
  void TearDown() override {
    headless::SetDrawRecording(false);
    headless::ClearDrawCalls();
  }
  CGapiSurface back, icon;
  CGapiBitmapFont font;
};

TEST_F(SurfaceRecord, EachCallWithItsArguments) {
  GDBLTFX bfx{};
  bfx.dwOpacity = 128;
  GDBLTFASTFX ffx{};
  ffx.dwOpacity = 196;
  GDFILLRECTFX fill{};
  fill.dwOpacity = 128;
  GDLINEFX line{};
  line.dwOpacity = 96;
  RECT dst{5, 6, 25, 22};
  RECT part{1, 1, 4, 5};
  back.Blt(&dst, &icon, nullptr, GDBLT_KEYSRC | GDBLT_OPACITY, &bfx);
  back.BltFast(-3, 7, &icon, &part, GDBLTFAST_KEYSRC | GDBLTFAST_OPACITY, &ffx);
  back.BltFast(1, 2, &icon, nullptr, GDBLTFAST_KEYSRC, &ffx);  // opacity not asked for
  back.FillRect(nullptr, 0x606060, 0, nullptr);
  back.FillRect(&dst, 0xFF0000, GDFILLRECT_OPACITY, &fill);
  back.DrawRect(&dst, 0x000000, 0, nullptr);
  back.DrawLine(1, 2, 3, 40, 0x000000, GDLINE_OPACITY, &line);
  back.DrawTextA(50, 60, "R7", &font, GDDRAWTEXT_CENTER, nullptr, 0, nullptr);

  const auto& calls = headless::DrawCalls();
  ASSERT_EQ(calls.size(), 8u);
  EXPECT_EQ(calls[0].call, "Blt");
  EXPECT_TRUE(SameRect(calls[0].dst, dst));
  EXPECT_TRUE(SameRect(calls[0].src, RECT{0, 0, 10, 8}));
  EXPECT_EQ(calls[0].flags, 5u);
  EXPECT_EQ(calls[0].opacity, 128u);
  EXPECT_EQ(calls[0].source, &icon);

  EXPECT_EQ(calls[1].call, "BltFast");
  EXPECT_TRUE(SameRect(calls[1].dst, RECT{-3, 7, 0, 11}));
  EXPECT_TRUE(SameRect(calls[1].src, part));
  EXPECT_EQ(calls[1].opacity, 196u);
  EXPECT_EQ(calls[2].opacity, 255u);
  EXPECT_TRUE(SameRect(calls[2].dst, RECT{1, 2, 11, 10}));

  EXPECT_EQ(calls[3].call, "FillRect");
  EXPECT_TRUE(SameRect(calls[3].dst, RECT{0, 0, 100, 80}));
  EXPECT_EQ(calls[3].color, 0x606060u);
  EXPECT_EQ(calls[4].opacity, 128u);
  EXPECT_EQ(calls[4].flags, 1u);

  EXPECT_EQ(calls[5].call, "DrawRect");
  EXPECT_EQ(calls[6].call, "DrawLine");
  EXPECT_TRUE(SameRect(calls[6].dst, RECT{1, 2, 3, 40}));
  EXPECT_EQ(calls[6].opacity, 96u);

  EXPECT_EQ(calls[7].call, "DrawTextA");
  EXPECT_EQ(calls[7].text, "R7");
  EXPECT_EQ(calls[7].dst.left, 50);
  EXPECT_EQ(calls[7].dst.top, 60);
  EXPECT_EQ(calls[7].dst.right - calls[7].dst.left, font.TextWidth("R7"));
  EXPECT_EQ(calls[7].flags, GDDRAWTEXT_CENTER);
}

TEST_F(SurfaceRecord, OnlyRecordingSurfacesWhileRecordingIsOn) {
  icon.FillRect(nullptr, 0, 0, nullptr);  // not a recording surface
  headless::SetDrawRecording(false);
  back.FillRect(nullptr, 0, 0, nullptr);
  EXPECT_TRUE(headless::DrawCalls().empty());
  headless::SetDrawRecording(true);
  back.FillRect(nullptr, 0, 0, nullptr);
  EXPECT_EQ(headless::DrawCalls().size(), 1u);
  headless::ClearDrawCalls();
  EXPECT_TRUE(headless::DrawCalls().empty());
}

TEST_F(SurfaceRecord, CallsThatDrawNothingAreStillRecorded) {
  CGapiSurface missing;
  back.BltFast(0, 0, &missing, nullptr, GDBLTFAST_KEYSRC, nullptr);
  RECT outside{200, 200, 210, 210};
  back.FillRect(&outside, 0, 0, nullptr);
  ASSERT_EQ(headless::DrawCalls().size(), 2u);
  EXPECT_EQ(headless::DrawCalls()[0].source, &missing);
}

}  // namespace
