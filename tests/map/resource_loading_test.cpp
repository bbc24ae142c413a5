// Map, positions, video check and icons, loaded from files in the project's folder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "loading_fixture.h"
#include "scratch_folder.h"
#include "support/png_writer.h"

namespace {

constexpr DWORD KEY = 0xFF00FF;
constexpr DWORD THUMB_32x24 = 0x2060A0;

class ResourceLoadingTest : public LoadingTest {
 protected:
  void SetMapFile(const char* name) { AddSystem(name); }
  CContentItem* AddClip(int id, const char* video, const char* thumbnail) {
    return AddContent(id, 1, video, thumbnail);
  }
  ScratchFolder folder;
};

TEST_F(ResourceLoadingTest, MapOfAnySizeIsStretchedTo800x600AndCentred) {
  ScratchFolder::CopyFixture("map_400x300.png", "map.png");
  SetMapFile("map.png");
  model->m_gpsTopLeft.Set(10, 20);
  model->m_gpsBottomRight.Set(11, 19);
  ASSERT_TRUE(model->LoadMap());
  ASSERT_NE(model->m_mapSurface, nullptr);
  EXPECT_EQ(model->m_mapSurface->GetWidth(), 800u);
  EXPECT_EQ(model->m_mapSurface->GetHeight(), 600u);
  EXPECT_TRUE(model->m_mapSize == CGeoPoint(800, 600));
  // The four quadrants of the file cover the four quadrants of the map.
  EXPECT_EQ(model->m_mapSurface->GetPixel(0, 0), 0xC03020u);
  EXPECT_EQ(model->m_mapSurface->GetPixel(399, 299), 0xC03020u);
  EXPECT_EQ(model->m_mapSurface->GetPixel(400, 0), 0x20A040u);
  EXPECT_EQ(model->m_mapSurface->GetPixel(0, 300), 0x2040C0u);
  EXPECT_EQ(model->m_mapSurface->GetPixel(799, 599), 0xE0E0D0u);
  EXPECT_TRUE(model->m_viewCentre == CGeoPoint(400, 300));
  EXPECT_EQ(RectText(model->m_viewRect), "0,0,800,600");
  EXPECT_TRUE(model->m_userPos == CGeoPoint(400, 300));
  EXPECT_TRUE(model->m_userGps == CGeoPoint(10.5, 19.5));
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(ResourceLoadingTest, MissingMapShowsTheBoxAndLeavesNoMap) {
  ScratchFolder::CopyFixture("map_400x300.png", "map.png");
  SetMapFile("map.png");
  ASSERT_TRUE(model->LoadMap());
  std::strcpy(model->System()->m_mapFilename, "maps\\gone.png");
  model->m_viewCentre.Set(123, 45);

  EXPECT_FALSE(model->LoadMap());
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text, "Cannot open :maps\\gone.png");
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "Error");
  EXPECT_EQ(headless::MessageBoxes()[0].type, MB_OK);
  EXPECT_EQ(model->m_mapSurface, nullptr);  // the earlier map is gone too
  EXPECT_TRUE(model->m_mapSize == CGeoPoint(0, 0));
  EXPECT_TRUE(model->m_viewCentre == CGeoPoint(0, 0));
  EXPECT_EQ(RectText(model->m_viewRect), "0,0,800,600");
}

TEST_F(ResourceLoadingTest, BrokenMapFileOrAFolderIsNotAMap) {
  ScratchFolder::Write("broken.png", "not an image");
  ScratchFolder::MakeFolder("folder.png");
  SetMapFile("broken.png");
  EXPECT_FALSE(model->LoadMap());
  std::strcpy(model->System()->m_mapFilename, "folder.png");
  EXPECT_FALSE(model->LoadMap());
  ASSERT_EQ(headless::MessageBoxes().size(), 2u);
  EXPECT_EQ(headless::MessageBoxes()[1].text, "Cannot open :folder.png");
  EXPECT_EQ(model->m_mapSurface, nullptr);
}

TEST_F(ResourceLoadingTest, MapNamedWithBackslashesAndOtherCaseIsFoundNameKept) {
  ScratchFolder::CopyFixture("map_400x300.png", "Maps/Harbour.png");
  SetMapFile("maps\\HARBOUR.PNG");
  EXPECT_TRUE(model->LoadMap());
  EXPECT_STREQ(model->System()->m_mapFilename, "maps\\HARBOUR.PNG");
}

TEST_F(ResourceLoadingTest, PositionsFromGpsClampedToTheMap) {
  model->m_mapSize.Set(800, 600);
  model->m_gpsTopLeft.Set(0.0, 1.0);
  model->m_gpsBottomRight.Set(2.0, 0.0);
  CRegionItem* inside = AddRegion(1, 0.5, 0.25);
  CRegionItem* outside = AddRegion(2, 3.0, 2.0);
  CContentItem* content = AddContent(1, 1);
  content->m_gpsX = 1.0;
  content->m_gpsY = 0.5;
  EXPECT_EQ(model->ComputeMapPositions(), 1);
  EXPECT_DOUBLE_EQ(inside->m_screenX, 200);
  EXPECT_DOUBLE_EQ(inside->m_screenY, 450);
  EXPECT_DOUBLE_EQ(outside->m_screenX, 800);
  EXPECT_DOUBLE_EQ(outside->m_screenY, 0);
  EXPECT_DOUBLE_EQ(content->m_screenX, 400);
  EXPECT_DOUBLE_EQ(content->m_screenY, 300);

  model->m_mapSize.Set(0, 0);  // no map: every position is (0, 0)
  model->ComputeMapPositions();
  EXPECT_DOUBLE_EQ(inside->m_screenX, 0);
  EXPECT_DOUBLE_EQ(content->m_screenY, 0);
}

TEST_F(ResourceLoadingTest, VideosCountedAsMissingUnlessARegularFileOpens) {
  EXPECT_EQ(model->ValidateVideos(), 0);
  ScratchFolder::Write("Video/Intro.mp4");
  ScratchFolder::MakeFolder("folder.mp4");
  AddClip(1, "video\\intro.MP4", "");
  AddClip(2, "missing.mp4", "");
  AddClip(3, "folder.mp4", "");
  AddClip(4, "", "");
  EXPECT_EQ(model->ValidateVideos(), 3);
  EXPECT_STREQ(static_cast<CContentItem*>(model->m_contentList->At(0))->m_filename,
               "video\\intro.MP4");
}

// The icon of a w x h thumbnail: the picture, a two-pixel black shadow offset by two, and a
// last column left transparent.
DWORD ExpectedIconPixel(int x, int y, int w, int h, DWORD picture) {
  if (x < w && y < h) return picture;
  if (x >= w + 2) return KEY;
  if (x >= w && y >= 2) return 0x000000;
  if (y >= h && x >= 2) return 0x000000;
  return KEY;
}

TEST_F(ResourceLoadingTest, IconsCarryTheDropShadowExactly) {
  ScratchFolder::CopyFixture("thumb_32x24.png", "thumbs/one.png");
  AddClip(1, "a.mp4", "thumbs\\one.png");
  EXPECT_EQ(model->LoadIcons(), 0);
  ASSERT_NE(model->m_iconSurfaces, nullptr);
  CGapiSurface& icon = model->m_iconSurfaces[0];
  ASSERT_EQ(icon.GetWidth(), 35u);
  ASSERT_EQ(icon.GetHeight(), 26u);
  for (int y = 0; y < 26; ++y) {
    for (int x = 0; x < 35; ++x) {
      ASSERT_EQ(icon.GetPixel(x, y), ExpectedIconPixel(x, y, 32, 24, THUMB_32x24))
          << "at " << x << "," << y;
    }
  }
  // The transparent parts are keyed.
  CGapiSurface dest;
  dest.CreateSurface(GDSURFACE_SYSTEMMEMORY, 35, 26);
  dest.FillRect(nullptr, 0x777777, 0, nullptr);
  dest.BltFast(0, 0, &icon, nullptr, GDBLTFAST_KEYSRC, nullptr);
  EXPECT_EQ(dest.GetPixel(34, 10), 0x777777u);
  EXPECT_EQ(dest.GetPixel(33, 10), 0x000000u);
}

TEST_F(ResourceLoadingTest, IconsFillTheirSlotsWithoutGaps) {
  ScratchFolder::CopyFixture("thumb_32x24.png", "one.png");
  ScratchFolder::CopyFixture("thumb_20x10.png", "three.png");
  ScratchFolder::MakeFolder("two.png");
  CContentItem* first = AddClip(1, "a.mp4", "one.png");
  CContentItem* second = AddClip(2, "b.mp4", "two.png");
  CContentItem* third = AddClip(3, "c.mp4", "THREE.png");
  EXPECT_EQ(model->LoadIcons(), 1);
  EXPECT_EQ(first->m_iconIndex, 0);
  EXPECT_EQ(second->m_iconIndex, -1);
  EXPECT_EQ(third->m_iconIndex, 1);
  ASSERT_EQ(model->m_iconSurfaceCount, 3);
  EXPECT_EQ(model->m_iconSurfaces[1].GetWidth(), 23u);
  EXPECT_EQ(model->m_iconSurfaces[1].GetHeight(), 12u);
  EXPECT_TRUE(model->m_iconSurfaces[2].IsEmpty());
}

TEST_F(ResourceLoadingTest, LoadingIconsAgainReplacesThemAndDropsStaleIndices) {
  ScratchFolder::CopyFixture("thumb_32x24.png", "one.png");
  ScratchFolder::CopyFixture("thumb_20x10.png", "two.png");
  CContentItem* first = AddClip(1, "a.mp4", "one.png");
  CContentItem* second = AddClip(2, "b.mp4", "two.png");
  EXPECT_EQ(model->LoadIcons(), 0);
  std::filesystem::remove("one.png");
  EXPECT_EQ(model->LoadIcons(), 1);  // under the sanitizer, the first array must not leak
  EXPECT_EQ(first->m_iconIndex, -1);
  EXPECT_EQ(second->m_iconIndex, 0);
  EXPECT_EQ(model->m_iconSurfaces[0].GetWidth(), 23u);
}

// Bytes this process has read from files so far.
long BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long value = 0;
  while (io >> key >> value)
    if (key == "rchar:") return value;
  return -1;
}

// A thumbnail larger than an icon is scaled to fit 64 x 64 with its proportions kept when it
// is decoded; a file that many items name (under any spelling) is read once, and every one
// of them gets its icon.
TEST_F(ResourceLoadingTest, LargeThumbnailsAreScaledAndASharedFileIsReadOnce) {
  CGapiSurface big;
  ASSERT_EQ(big.CreateSurface(GDSURFACE_SYSTEMMEMORY, 256, 128), GD_OK);
  big.FillRect(nullptr, THUMB_32x24, 0, nullptr);
  std::vector<uint8_t> bytes = png::Encode(big);
  bytes.resize(bytes.size() + (4 << 20), 0);  // read with the file, never decoded
  ASSERT_TRUE(png::WriteFile("big.png", bytes));
  constexpr int kItems = 20;
  for (int id = 1; id <= kItems; ++id) AddClip(id, "a.mp4", id % 2 != 0 ? "big.png" : "BIG.PNG");
  const long before = BytesRead();
  EXPECT_EQ(model->LoadIcons(), 0);
  EXPECT_LT(BytesRead() - before, 2 * static_cast<long>(bytes.size()));
  for (int slot = 0; slot < kItems; ++slot) {
    const CGapiSurface& icon = model->m_iconSurfaces[slot];
    ASSERT_EQ(icon.GetWidth(), 64u + 3) << slot;
    ASSERT_EQ(icon.GetHeight(), 32u + 2) << slot;
    EXPECT_EQ(icon.GetPixel(32, 16), THUMB_32x24) << slot;
    EXPECT_EQ(icon.GetPixel(66, 10), KEY) << slot;
  }
}

TEST_F(ResourceLoadingTest, NoContentMeansNoIconArray) {
  EXPECT_EQ(model->LoadIcons(), 0);
  EXPECT_EQ(model->m_iconSurfaces, nullptr);
}

}  // namespace
