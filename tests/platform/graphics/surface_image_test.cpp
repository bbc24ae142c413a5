// Surfaces from image files of each format, and files that are missing, broken or absurd.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/graphics/gapi.h"
#include "support/scratch_folder.h"
#include "surface_test_util.h"

namespace {

using namespace surface_test;

std::string Fixture(const char* name) {
  return std::string(CORVANE_FIXTURES) + "/platform/" + name;
}

TEST(SurfaceImage, LosslessFormatsLoadExactPixels) {
  const DWORD want[2][4] = {{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                            {0x000000, 0xFF00FF, 0x808080, 0xFFFF00}};
  // PNGs of every kind give their colours, whatever transparency they hold.
  for (const char* name : {"colours.png", "colours.bmp", "colours.gif", "colours_rgba16.png",
                           "colours_interlaced.png", "colours_palette.png"}) {
    SCOPED_TRACE(name);
    CGapiSurface s;
    ASSERT_EQ(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, Fixture(name).c_str()), GD_OK);
    ASSERT_EQ(s.GetWidth(), 4u);
    ASSERT_EQ(s.GetHeight(), 2u);
    EXPECT_TRUE(PixelsAre(s, [&](LONG x, LONG y) { return want[y][x]; }));
  }
  CGapiSurface greys;
  ASSERT_EQ(greys.CreateSurface(GDSURFACE_SYSTEMMEMORY, Fixture("greys.png").c_str()), GD_OK);
  const DWORD grey[4] = {0x000000, 0xFFFFFF, 0x808080, 0x404040};
  EXPECT_TRUE(PixelsAre(greys, [&](LONG x, LONG) { return grey[x]; }));
}

TEST(SurfaceImage, JpegLoadsCloseToItsColour) {
  CGapiSurface s;
  ASSERT_EQ(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, Fixture("solid.jpg").c_str()), GD_OK);
  EXPECT_EQ(s.GetWidth(), 16u);
  EXPECT_EQ(s.GetHeight(), 16u);
  EXPECT_TRUE(ColourNear(s.GetPixel(8, 8), 0xC86432, 4));
}

TEST(SurfaceImage, LoadedImagesBlitWithTheirColourKey) {
  CGapiSurface img, dst;
  ASSERT_EQ(img.CreateSurface(GDSURFACE_SYSTEMMEMORY, Fixture("colours.png").c_str()), GD_OK);
  img.SetColorKey(kKey);
  MakeSurface(dst, 4, 2, 0x123456);
  dst.BltFast(0, 0, &img, nullptr, GDBLTFAST_KEYSRC, nullptr);
  EXPECT_EQ(dst.GetPixel(1, 1), 0x123456u);
  EXPECT_EQ(dst.GetPixel(2, 1), 0x808080u);
}

TEST(SurfaceImage, MissingBrokenAndAbsurdFilesFailAndLeaveTheSurfaceEmpty) {
  // A pipe named as an image would block its reader for ever.
  testsupport::ScratchFolder folder("corvane-image");
  const std::string pipe = folder.Path("thumb.png");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const std::string cases[] = {pipe,
                               Fixture("no_such_file.png"),
                               Fixture("truncated.png"),
                               Fixture("garbage.png"),
                               Fixture("empty.png"),
                               Fixture("huge.png"),
                               Fixture("huge.bmp"),
                               // Not to be handed on to any other format's reader.
                               Fixture("jpeg_then_svg.jpg"),
                               Fixture(""),
                               ""};
  for (const std::string& path : cases) {
    SCOPED_TRACE(path);
    CGapiSurface s;
    MakeSurface(s, 3, 3, 0xFFFFFF);  // a failed create also drops what was there
    EXPECT_NE(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, path.c_str()), GD_OK);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.GetWidth(), 0u);
    EXPECT_EQ(s.GetHeight(), 0u);
  }
  CGapiSurface s;
  EXPECT_NE(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, static_cast<const char*>(nullptr)), GD_OK);
}

TEST(SurfaceImage, CutShortJpegNeverCrashes) {
  // The decoder may fill in the missing part; either way the surface is whole or empty.
  CGapiSurface s;
  if (s.CreateSurface(GDSURFACE_SYSTEMMEMORY, Fixture("truncated.jpg").c_str()) == GD_OK) {
    EXPECT_EQ(s.GetWidth(), 16u);
    EXPECT_EQ(s.GetHeight(), 16u);
  } else {
    EXPECT_TRUE(s.IsEmpty());
  }
}

TEST(SurfaceImage, EmptySurfacesOfSaneSizesOnly) {
  CGapiSurface s;
  ASSERT_EQ(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, 35u, 26u), GD_OK);
  EXPECT_EQ(s.GetWidth(), 35u);
  EXPECT_EQ(s.GetHeight(), 26u);
  EXPECT_TRUE(PixelsAre(s, [](LONG, LONG) { return 0u; }));
  EXPECT_NE(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, 30000u, 30000u), GD_OK);
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_NE(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, 0u, 10u), GD_OK);
  EXPECT_NE(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, 10u, 0xFFFFFFFFu), GD_OK);
  EXPECT_TRUE(s.IsEmpty());
}

TEST(SurfaceImage, EmptySurfaceAnswersQuietly) {
  CGapiSurface s;
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(s.GetPixel(0, 0), 0u);
  EXPECT_NE(s.SetColorKey(kKey), GD_OK);
  EXPECT_NE(s.FillRect(nullptr, 0, 0, nullptr), GD_OK);
  EXPECT_NE(s.DrawLine(0, 0, 1, 1, 0, 0, nullptr), GD_OK);
  RECT r{0, 0, 1, 1};
  EXPECT_NE(s.DrawRect(&r, 0, 0, nullptr), GD_OK);
  s.Destroy();
  EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
