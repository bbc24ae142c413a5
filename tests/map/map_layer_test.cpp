// The kept map layer: after each change, the next frame shows what a frame drawn straight
// onto the screen shows.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "map/map_pyramid.h"
#include "support/model_builder.h"

namespace {

class MapLayerTest : public testmodel::ModelTest {
 protected:
  std::vector<DWORD> Pixels() {
    std::vector<DWORD> out;
    out.reserve(testmodel::kWidth * testmodel::kHeight);
    for (int y = 0; y < testmodel::kHeight; ++y)
      for (int x = 0; x < testmodel::kWidth; ++x) out.push_back(back.GetPixel(x, y));
    return out;
  }
  // A second frame from the layer (nothing recorded; a zoomed view is kept from its second
  // still frame), then one drawn straight (recorded).
  void ExpectLayerShowsTheChange(const char* name) {
    SCOPED_TRACE(name);
    headless::SetDrawRecording(false);
    ASSERT_FALSE(back.RecordsDraws());
    model->Render(&back, font);
    model->Render(&back, font);
    const std::vector<DWORD> kept = Pixels();
    RenderFrame();
    const std::vector<DWORD> straight = Pixels();
    std::size_t differ = 0;
    for (std::size_t i = 0; i < kept.size(); ++i) differ += kept[i] != straight[i] ? 1 : 0;
    EXPECT_EQ(differ, 0u);
  }
  CRegionItem* Region(int slot) {
    return static_cast<CRegionItem*>(model->m_regionList->At(slot));
  }
};

TEST_F(MapLayerTest, EveryChangeShowsInTheNextFrame) {
  AddMap();
  CSystemItem* system = AddSystem(30.0);
  AddRegion(1, 200, 150, 2);
  AddRegion(2, 600, 400, 3);
  model->m_showRegionAreas = true;
  const std::vector<std::pair<const char*, std::function<void()>>> changes{
      {"first frame", [] {}},
      {"user enters a place", [&] { model->m_userPos.Set(600, 400); }},
      {"user leaves it", [&] { model->m_userPos.Set(400, 300); }},
      {"place moved", [&] { Region(0)->m_screenX = 260; }},
      {"place added", [&] { AddRegion(3, 120, 500); }},
      {"radius changed", [&] { system->m_radius = 45.0; }},
      {"markers instead of areas", [&] { model->m_showRegionAreas = false; }},
      {"items of a place", [&] { Region(1)->m_contentCount = 5; }},
      {"marker picture drawn on",
       [&] { model->m_regionMarker.FillRect(nullptr, 0x123456, 0, nullptr); }},
      {"map drawn on",
       [&] {
         const RECT r{150, 100, 300, 200};
         model->m_mapSurface->FillRect(&r, 0xC0FFEE, 0, nullptr);
       }},
      {"map replaced",
       [&] {
         delete model->m_mapSurface;
         model->m_mapSurface = nullptr;
         AddMap(0x405060);
       }},
      {"markers off", [&] { model->m_showRegionMarkers = false; }},
      {"map off", [&] { model->m_showMap = false; }},
      {"map on, areas on",
       [&] {
         model->m_showMap = true;
         model->m_showRegionAreas = true;
       }},
      {"zoomed in",
       [&] {
         auto image = std::make_unique<CGapiSurface>();
         ASSERT_EQ(image->CreateSurface(GDSURFACE_SYSTEMMEMORY, 1600, 1200), GD_OK);
         const RECT r{700, 500, 900, 640};
         image->FillRect(&r, 0xABCDEF, 0, nullptr);
         model->m_mapPyramid = std::make_unique<MapPyramid>();
         ASSERT_TRUE(model->m_mapPyramid->Build(std::move(image), 800, 600));
         model->ZoomAbout(400, 300, 2.0);
       }},
      {"panned while zoomed", [&] { model->ZoomAbout(300, 200, 1.5); }},
      {"place moved while zoomed", [&] { Region(0)->m_screenX = 330; }},
      {"whole map again", [&] { model->ZoomAbout(400, 300, 1.0 / model->m_zoom); }},
  };
  for (const auto& [name, change] : changes) {
    headless::SetDrawRecording(false);
    model->Render(&back, font);  // the layer as it was
    change();
    ExpectLayerShowsTheChange(name);
  }
}

}  // namespace
