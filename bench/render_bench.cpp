// Cost of one frame of the map view, against one plain 800x600 copy measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "bench_places.h"
#include "bench_support.h"
#include "data/content_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "platform/backend_select.h"
#include "platform/graphics/gapi.h"
#include "platform/windowing/win_api.h"

namespace {

struct Scene : bench::HeadlessScreen {
  std::unique_ptr<CPortrait> model;

  Scene() : HeadlessScreen("CorvaneRenderBench") {}

  // A map with regions and icons on grids; every region of radius 30.
  void Build(int regions, int icons) {
    model = std::make_unique<CPortrait>(nullptr, GetModuleHandleA(nullptr), 800, 600);
    auto* map = new CGapiSurface;
    map->CreateSurface(GDSURFACE_SYSTEMMEMORY, 800, 600);
    for (int i = 0; i < 40; ++i) {
      const RECT r{i * 20, 0, i * 20 + 10, 600};
      map->FillRect(&r, 0x406080 + 0x030201 * static_cast<DWORD>(i), 0, nullptr);
    }
    model->m_mapSurface = map;
    model->m_mapSize.Set(800, 600);
    model->m_userPos.Set(400, 300);
    model->m_systemList = new CXmlItemList;
    CSystemItem system;
    system.m_radius = 30.0;
    model->m_systemList->Add(system);
    bench::GridPlaces(model.get(), regions, icons);
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_PlainCopy(benchmark::State& state) {
  Scene& s = TheScene();
  s.Build(0, 0);
  for (auto _ : state) {
    s.back.BltFast(0, 0, s.model->m_mapSurface, nullptr, 0, nullptr);
    benchmark::ClobberMemory();
  }
}

void BM_RenderTypical(benchmark::State& state) {
  Scene& s = TheScene();
  s.Build(10, 20);
  for (auto _ : state) {
    s.model->Render(&s.back, s.font);
    benchmark::ClobberMemory();
  }
}

void BM_RenderHeaviest(benchmark::State& state) {
  Scene& s = TheScene();
  s.Build(128, 128);
  CPortrait& m = *s.model;
  m.m_showRegionAreas = true;
  m.m_showOverview = true;
  m.m_menuOpen = true;
  m.m_moveUserMode = true;
  m.m_showGpsStatus = true;
  for (auto _ : state) {
    m.Render(&s.back, s.font);
    benchmark::ClobberMemory();
  }
}

// The same frame with the visitor's guide on: a name of 20 to 40 characters for every place,
// a title for every item, the progress, the arrow to the next place and the arrival banner.
void BM_RenderHeaviestWithLabels(benchmark::State& state) {
  Scene& s = TheScene();
  s.Build(128, 128);
  CPortrait& m = *s.model;
  m.m_gpsTopLeft.Set(-0.6262, 54.4905);
  m.m_gpsBottomRight.Set(-0.6062, 54.4835);
  for (int slot = 0; slot < 128; ++slot) {
    auto* r = static_cast<CRegionItem*>(m.m_regionList->At(slot));
    if (r == nullptr) continue;
    std::snprintf(r->m_description, sizeof r->m_description, "Place %d by the &amp; old %s", slot,
                  slot % 2 != 0 ? "harbour wall and steps" : "quay");
    const CGeoPoint g = m.MapToGps(CGeoPoint(r->m_screenX, r->m_screenY));
    r->m_gpsX = g.x;
    r->m_gpsY = g.y;
    auto* c = static_cast<CContentItem*>(m.m_contentList->At(slot));
    if (c == nullptr) continue;
    c->m_regionId = r->m_id;
    std::snprintf(c->m_title, sizeof c->m_title, "Item %d: caf&#233; tales", slot);
    c->m_hasTitle = true;
  }
  m.m_showRegionAreas = true;
  m.m_showOverview = true;
  m.m_menuOpen = true;
  m.m_moveUserMode = true;
  m.m_showGpsStatus = true;
  m.m_guide.banner = "Place 3 by the old quay";
  m.m_guide.bannerOn = true;
  m.MarkGuideStale();
  // With an argument the user moves a pixel every frame, so the labels are placed anew each
  // time instead of reusing the last placement.
  const bool moving = state.range(0) != 0;
  int step = 0;
  for (auto _ : state) {
    if (moving) m.m_userPos.Set(400 + (++step & 1), 300);
    m.Render(&s.back, s.font);
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(BM_PlainCopy)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderTypical)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderHeaviest)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderHeaviestWithLabels)->Arg(0)->Arg(1)->Repetitions(9)->ReportAggregatesOnly(true);
