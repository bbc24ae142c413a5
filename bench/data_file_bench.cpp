// Load and save of a project holding 128 records of every kind, against reading and writing
// the same bytes with plain fread and fwrite.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "data/content_item.h"
#include "data/system_item.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "platform/backend_select.h"
#include "platform/windowing/win_api.h"

namespace {

std::string Folder() {
  static const bench::ScratchFolder folder;
  return folder.path.string();
}

// The project file, written once.
const std::string& ProjectPath() {
  static const std::string path = [] {
    std::string text = "<?xml version='1.0' encoding='UTF-8' ?>\n\n<media_portrait>\n<system>\n";
    text += "\t<project_name>Bench</project_name>\n\t<map_filename>map.png</map_filename>\n";
    text += "\t<left>-0.626200</left>\n\t<top>54.490500</top>\n\t<right>-0.606200</right>\n";
    text += "\t<bottom>54.483500</bottom>\n\t<theme_rels>1</theme_rels>\n";
    text += "\t<character_rels>1</character_rels>\n\t<time_rels>0</time_rels>\n";
    text += "\t<location_rels>0</location_rels>\n\t<radius>48.000000</radius>\n";
    text += "\t<user_filename/>\n</system>\n\n";
    for (const char* kind : {"character", "location", "theme", "time"}) {
      const std::string k = kind;
      const std::string textTag = k == "character" ? "character_name" : k + "_desc";
      text += "<" + k + "_list>\n";
      for (int i = 0; i < 128; ++i)
        text += "\t<" + k + ">\n\t\t<" + k + "_id>" + std::to_string(i) + "</" + k + "_id>\n\t\t<" +
                textTag + ">Name of " + k + " " + std::to_string(i) + "</" + textTag + ">\n\t</" +
                k + ">\n";
      text += "</" + k + "_list>\n\n";
    }
    text += "<region_list>\n";
    for (int i = 0; i < 128; ++i)
      text += "\t<region>\n\t\t<region_id>" + std::to_string(i + 1) +
              "</region_id>\n\t\t<region_description>Region</region_description>\n"
              "\t\t<gps_x>-0.616200</gps_x>\n\t\t<gps_y>54.487000</gps_y>\n\t</region>\n";
    text += "</region_list>\n\n<content_list>\n";
    for (int i = 0; i < 128; ++i) {
      const std::string id = std::to_string(i % 64);
      text += "\t<content>\n\t\t<content_id>" + std::to_string(i) + "</content_id>\n";
      text += "\t\t<theme_list>\n\t\t\t<theme_id>" + id + "</theme_id>\n\t\t</theme_list>\n";
      text += "\t\t<character_list>\n\t\t\t<character_id>" + id +
              "</character_id>\n\t\t</character_list>\n";
      text += "\t\t<time_list/>\n\t\t<location_list/>\n";
      text += "\t\t<region_id>" + std::to_string(i % 128 + 1) + "</region_id>\n";
      text +=
          "\t\t<filename>video/item.mp4</filename>\n\t\t<thumbnail>thumbs/item.png</thumbnail>\n";
      text += "\t\t<gps_x>-0.616200</gps_x>\n\t\t<gps_y>54.487000</gps_y>\n\t</content>\n";
    }
    text += "</content_list>\n\n\n\n</media_portrait>";
    const std::string p = Folder() + "/Bench.xml";
    FILE* f = fopen(p.c_str(), "w");
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    return p;
  }();
  return path;
}

std::unique_ptr<CPortrait> NewModel() {
  platform::UseBackend(platform::BackendKind::Headless);
  return std::make_unique<CPortrait>(nullptr, GetModuleHandleA(nullptr), 800, 600);
}

void BM_LoadProject(benchmark::State& state) {
  const std::string& path = ProjectPath();
  auto model = NewModel();  // each load replaces the lists of the one before
  for (auto _ : state) benchmark::DoNotOptimize(model->LoadProjectFile(path.c_str()));
}

void BM_SaveProject(benchmark::State& state) {
  auto model = NewModel();
  model->LoadProjectFile(ProjectPath().c_str());
  const std::string out = Folder() + "/Saved.xml";
  for (auto _ : state) benchmark::DoNotOptimize(model->SaveProjectFile(out.c_str()));
}

// The same bytes through plain stdio: one read of the whole file, and one write of it.
void BM_PlainFread(benchmark::State& state) {
  const std::string& path = ProjectPath();
  std::vector<char> buffer(1 << 20);
  for (auto _ : state) {
    FILE* in = fopen(path.c_str(), "r");
    const size_t n = fread(buffer.data(), 1, buffer.size(), in);
    fclose(in);
    benchmark::DoNotOptimize(n);
  }
}

void BM_PlainFwrite(benchmark::State& state) {
  std::vector<char> buffer(1 << 20);
  FILE* in = fopen(ProjectPath().c_str(), "r");
  const size_t n = fread(buffer.data(), 1, buffer.size(), in);
  fclose(in);
  const std::string out = Folder() + "/Plain.xml";
  for (auto _ : state) {
    FILE* o = fopen(out.c_str(), "w");
    fwrite(buffer.data(), 1, n, o);
    fclose(o);
  }
}

}  // namespace

BENCHMARK(BM_LoadProject)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveProject)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainFread)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainFwrite)->Repetitions(5)->ReportAggregatesOnly(true);
