// The project checker on a project of 128 records of every kind, each content item with its
// own video and thumbnail, all media checks included; and on the demo project.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_support.h"
#include "check/project_check.h"

namespace fs = std::filesystem;

namespace {

const fs::path kDemo = fs::path(CORVANE_SOURCE_DIR) / "demo";

// The full project, written once: 128 regions, content items, characters, locations, themes,
// times and users; every content item names a video and a thumbnail file of its own.
const fs::path& FullProject() {
  static const bench::ScratchFolder folder;
  static const fs::path project = [] {
    const fs::path& dir = folder.path;
    fs::create_directories(dir / "video");
    fs::create_directories(dir / "thumbs");
    fs::copy_file(kDemo / "map.png", dir / "map.png");
    std::string p =
        "<?xml version='1.0' encoding='UTF-8' ?>\n\n<media_portrait>\n<system>\n"
        "\t<project_name>Full</project_name>\n\t<map_filename>map.png</map_filename>\n"
        "\t<left>-1.000000</left>\n\t<top>51.000000</top>\n\t<right>0.000000</right>\n"
        "\t<bottom>50.000000</bottom>\n\t<theme_rels>1</theme_rels>\n"
        "\t<character_rels>1</character_rels>\n\t<time_rels>1</time_rels>\n"
        "\t<location_rels>1</location_rels>\n\t<radius>48.000000</radius>\n"
        "\t<user_filename>FullUsers.xml</user_filename>\n</system>\n";
    for (const char* kind : {"character", "location", "theme", "time"}) {
      const std::string text =
          std::string(kind) == "character" ? "character_name" : std::string(kind) + "_desc";
      for (int i = 0; i < 128; ++i)
        p += std::string("\t<") + kind + ">\n\t\t<" + kind + "_id>" + std::to_string(i) + "</" +
             kind + "_id>\n\t\t<" + text + ">Tag " + std::to_string(i) + "</" + text + ">\n\t</" +
             kind + ">\n";
    }
    for (int i = 0; i < 128; ++i) {
      char gps[96];
      std::snprintf(gps, sizeof gps, "\t\t<gps_x>%f</gps_x>\n\t\t<gps_y>%f</gps_y>\n",
                    -0.9 + 0.8 * (i % 16) / 15.0, 50.1 + 0.8 * (i / 16) / 7.0);
      const std::string id = std::to_string(i + 1);
      p += "\t<region>\n\t\t<region_id>" + id + "</region_id>\n\t\t<region_description>Place " +
           id + "</region_description>\n" + gps + "\t</region>\n";
      const std::string video = "video/item" + id + ".mp4";
      const std::string thumb = "thumbs/item" + id + ".png";
      fs::copy_file(kDemo / "video/item01.mp4", dir / video);
      fs::copy_file(kDemo / "thumbs/item01.png", dir / thumb);
      p += "\t<content>\n\t\t<content_id>" + id +
           "</content_id>\n\t\t<theme_list>\n\t\t\t<theme_id>" + std::to_string(i % 64) +
           "</theme_id>\n\t\t</theme_list>\n\t\t<region_id>" + id + "</region_id>\n\t\t<filename>" +
           video + "</filename>\n\t\t<thumbnail>" + thumb + "</thumbnail>\n" + gps +
           "\t</content>\n";
    }
    p += "\n\n</media_portrait>";
    std::ofstream(dir / "Full.xml") << p;
    std::string u = "<?xml version='1.0' encoding='UTF-8' ?>\n<user_list>\n";
    for (int i = 0; i < 128; ++i)
      u += "<user_context>\n\t<user_id>" + std::to_string(i) + "</user_id>\n\t<username>U" +
           std::to_string(i) + "</username>\n\t<viewed_id>" + std::to_string(i + 1) +
           "--1.230000</viewed_id>\n\t<duration>2.15</duration>\n</user_context>\n";
    u += "</user_list>\n";
    std::ofstream(dir / "FullUsers.xml") << u;
    return dir / "Full.xml";
  }();
  return project;
}

void RunCheck(benchmark::State& state, const fs::path& project) {
  FILE* sink = std::fopen("/dev/null", "w");
  for (auto _ : state) {
    const int status = RunProjectCheck(project.c_str(), false, sink, sink);
    if (status != CHECK_CLEAN) state.SkipWithError("the project did not check clean");
  }
  std::fclose(sink);
}

void BM_CheckFullProject(benchmark::State& state) { RunCheck(state, FullProject()); }
BENCHMARK(BM_CheckFullProject)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CheckDemo(benchmark::State& state) { RunCheck(state, kDemo / "Harbour.xml"); }
BENCHMARK(BM_CheckDemo)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
