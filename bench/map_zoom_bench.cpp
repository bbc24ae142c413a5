// The zoomed map on an 8192 x 8192 image, each against one plain 800 x 600 copy of the same
// run: a frame while panning at a zoom between two pyramid levels, the heaviest frame (128
// places and items) panning at several zooms, and the load of the map to the first picture
// with the resident memory it leaves.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "bench_places.h"
#include "bench_support.h"
#include "data/content_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/map_pyramid.h"
#include "map/portrait.h"

namespace {

constexpr int kSide = 8192;

// A picture with detail everywhere: blocks of colour, none alike next to its neighbours.
std::unique_ptr<CGapiSurface> BigImage() {
  auto image = std::make_unique<CGapiSurface>();
  if (image->CreateSurface(GDSURFACE_SYSTEMMEMORY, kSide, kSide) != GD_OK) std::abort();
  for (LONG y = 0; y < kSide; y += 64)
    for (LONG x = 0; x < kSide; x += 48) {
      const RECT r{x, y, x + 48, y + 64};
      image->FillRect(&r, static_cast<DWORD>((x * 7919 + y * 104729) & 0xFFFFFF), 0, nullptr);
    }
  return image;
}

// Resident and peak resident memory of this process, in MiB.
double StatusMiB(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + std::strlen(field)) / 1024.0;
  return 0.0;
}

struct Scene : bench::HeadlessScreen {
  std::unique_ptr<CPortrait> model;
  CGapiSurface plain;

  Scene() : HeadlessScreen("CorvaneZoomBench") {
    plain.CreateSurface(GDSURFACE_SYSTEMMEMORY, 800, 600);
    model = std::make_unique<CPortrait>(nullptr, GetModuleHandleA(nullptr), 800, 600);
    auto* fitted = new CGapiSurface;
    fitted->CreateSurface(GDSURFACE_SYSTEMMEMORY, 800, 600);
    model->m_mapSurface = fitted;
    model->m_mapSize.Set(800, 600);
    model->m_viewCentre.Set(400, 300);
    model->m_userPos.Set(400, 300);
    model->m_systemList = new CXmlItemList;
    CSystemItem system;
    system.m_radius = 30.0;
    model->m_systemList->Add(system);
  }

  // Regions and icons on grids, as in the plain frame benchmarks, on the 8192 x 8192 map
  // (made at the first call, so that the load benchmark before it measures its own memory).
  void Places(int count) {
    if (model->m_mapPyramid == nullptr) {
      model->m_mapPyramid = std::make_unique<MapPyramid>();
      if (!model->m_mapPyramid->Build(BigImage(), 800, 600)) std::abort();
    }
    bench::GridPlaces(model.get(), count, count);
  }

  // The view swept to and fro across the map, a few pixels a frame, as a finger pans it.
  void PanStep(int* step) {
    const int phase = (*step)++ % 400;
    model->PanView(phase < 200 ? 6 : -6, phase < 200 ? 3 : -3);
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_PlainCopy(benchmark::State& state) {
  Scene& s = TheScene();
  for (auto _ : state) {
    s.back.BltFast(0, 0, &s.plain, nullptr, 0, nullptr);
    benchmark::ClobberMemory();
  }
}

// Zoom 3: the view needs 2400 image pixels across, between the 2048 and 4096 levels.
void BM_PanFrameBetweenLevels(benchmark::State& state) {
  Scene& s = TheScene();
  s.Places(20);
  s.model->m_zoom = 1.0;
  s.model->ZoomAbout(400, 300, 3.0);
  state.counters["level"] = s.model->m_mapPyramid->LevelFor(s.model->m_zoom);
  int step = 0;
  for (auto _ : state) {
    s.PanStep(&step);
    s.model->Render(&s.back, s.font);
    benchmark::ClobberMemory();
  }
}

// The heaviest frame of the plain benchmarks (areas, overview, menu, prompt, status) with
// 128 places and items, panning, at the zoom given in tenths.
void BM_PanHeaviestFrame(benchmark::State& state) {
  Scene& s = TheScene();
  s.Places(128);
  CPortrait& m = *s.model;
  m.m_showRegionAreas = true;
  m.m_showOverview = true;
  m.m_menuOpen = true;
  m.m_moveUserMode = true;
  m.m_showGpsStatus = true;
  m.m_zoom = 1.0;
  m.m_viewCentre.Set(400, 300);
  m.UpdateViewRect();
  m.ZoomAbout(400, 300, state.range(0) / 10.0);
  int step = 0;
  for (auto _ : state) {
    if (m.m_zoom > 1.0) s.PanStep(&step);
    m.Render(&s.back, s.font);
    benchmark::ClobberMemory();
  }
  m.m_showRegionAreas = m.m_showOverview = m.m_menuOpen = m.m_moveUserMode = false;
  m.m_showGpsStatus = false;
}

// A PNG of 8192 x 8192 (made once with ImageMagick) loaded as the program loads its map,
// then the first zoomed frame drawn. Reports the resident memory afterwards and at its peak,
// against the decoded image's 256 MiB.
void BM_LoadMapToFirstPicture(benchmark::State& state) {
  static bench::ScratchFolder folder;
  const std::string png = (folder.path / "map.png").string();
  static bool made = false;
  if (!made) {
    const std::string command =
        "convert -size 1024x1024 plasma:fractal -seed 7 -scale 800% '" + png + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("ImageMagick could not make the map");
      return;
    }
    made = true;
  }
  for (auto _ : state) {
    CPortrait model(nullptr, GetModuleHandleA(nullptr), 800, 600);
    model.m_systemList = new CXmlItemList;
    CSystemItem system;
    std::snprintf(system.m_mapFilename, sizeof system.m_mapFilename, "%s", png.c_str());
    model.m_systemList->Add(system);
    if (!model.LoadMap()) {
      state.SkipWithError("the map did not load");
      return;
    }
    model.ZoomAbout(400, 300, 4.0);
    model.Render(&TheScene().back, TheScene().font);
    state.PauseTiming();
    state.counters["rss_MiB"] = StatusMiB("VmRSS:");
    state.counters["peak_MiB"] = StatusMiB("VmHWM:");
    state.counters["levels"] = model.m_mapPyramid->LevelCount();
    state.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(BM_LoadMapToFirstPicture)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopy)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_PanFrameBetweenLevels)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_PanHeaviestFrame)
    ->Arg(10)
    ->Arg(30)
    ->Arg(100)
    ->Arg(200)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
