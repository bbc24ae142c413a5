// The program's resources, compiled in and loaded by id.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/graphics/gapi.h"
#include "platform/graphics/detail/resources.h"

namespace {

struct ImageResource {
  DWORD id;
  DWORD width, height;
};

TEST(Resources, EveryImageLoadsByIdAtItsSize) {
  const ImageResource images[] = {{101, 32, 32},   {102, 41, 41},  {104, 25, 25},   {105, 15, 13},
                                  {108, 33, 165},  {109, 16, 42},  {110, 240, 320}, {111, 240, 185},
                                  {112, 240, 320}, {114, 240, 61}, {115, 240, 61}};
  for (const ImageResource& r : images) {
    SCOPED_TRACE(r.id);
    CGapiSurface s;
    ASSERT_EQ(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, nullptr, r.id, "PNG"), GD_OK);
    EXPECT_EQ(s.GetWidth(), r.width);
    EXPECT_EQ(s.GetHeight(), r.height);
  }
}

// Surfaces made from one image share its pixels until one of them is drawn on.
TEST(Resources, DrawingOnOneSurfaceOfAnImageLeavesTheOthersAlone) {
  struct Draw {
    const char* name;
    std::function<void(CGapiSurface&)> draw;
  };
  CGapiSurface white;
  ASSERT_EQ(white.CreateSurface(GDSURFACE_SYSTEMMEMORY, 240u, 320u), GD_OK);
  white.FillRect(nullptr, 0xFFFFFF, 0, nullptr);
  const RECT middle{100, 150, 140, 170};
  const Draw draws[] = {
      {"FillRect", [](CGapiSurface& s) { s.FillRect(nullptr, 0xFFFFFF, 0, nullptr); }},
      {"DrawRect", [&](CGapiSurface& s) { s.DrawRect(&middle, 0xFFFFFF, 0, nullptr); }},
      {"DrawLine", [](CGapiSurface& s) { s.DrawLine(100, 150, 140, 150, 0xFFFFFF, 0, nullptr); }},
      {"BltFast", [&](CGapiSurface& s) { s.BltFast(0, 0, &white, nullptr, 0, nullptr); }},
      {"Blt", [&](CGapiSurface& s) { s.Blt(nullptr, &white, nullptr, 0, nullptr); }},
  };
  for (const Draw& d : draws) {
    SCOPED_TRACE(d.name);
    CGapiSurface drawn, kept;
    ASSERT_EQ(drawn.CreateSurface(GDSURFACE_SYSTEMMEMORY, nullptr, 110, "PNG"), GD_OK);
    ASSERT_EQ(kept.CreateSurface(GDSURFACE_SYSTEMMEMORY, nullptr, 110, "PNG"), GD_OK);
    const DWORD before = kept.GetPixel(100, 150);
    ASSERT_NE(before, 0xFFFFFFu);
    d.draw(drawn);
    EXPECT_NE(drawn.GetPixel(100, 150), before);
    EXPECT_EQ(kept.GetPixel(100, 150), before);
    CGapiSurface later;
    ASSERT_EQ(later.CreateSurface(GDSURFACE_SYSTEMMEMORY, nullptr, 110, "PNG"), GD_OK);
    EXPECT_EQ(later.GetPixel(100, 150), before);
  }
}

TEST(Resources, UnknownIdsAndWrongTypesFail) {
  CGapiSurface s;
  ASSERT_EQ(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, 4u, 4u), GD_OK);
  EXPECT_NE(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, nullptr, 103, "PNG"), GD_OK);
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_NE(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, nullptr, 102, "DIALOG"), GD_OK);
  EXPECT_NE(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, nullptr, 113, "PNG"), GD_OK);
  EXPECT_FALSE(platform::FindResource(102, "BITMAP"));
}

TEST(Resources, TypesMatchWithoutRegardToCase) {
  platform::ResourceBytes upper = platform::FindResource(102, "PNG");
  platform::ResourceBytes lower = platform::FindResource(102, "png");
  ASSERT_TRUE(upper);
  EXPECT_EQ(upper.data, lower.data);
  EXPECT_EQ(std::memcmp(upper.data, "\x89PNG", 4), 0);
}

TEST(Resources, DialogTemplateIsTextEndedByAZero) {
  platform::ResourceBytes dlg = platform::FindResource(113, "DIALOG");
  ASSERT_TRUE(dlg);
  ASSERT_GT(dlg.size, 0u);
  EXPECT_EQ(dlg.data[dlg.size], 0);
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(dlg.data)), dlg.size);
}

}  // namespace
