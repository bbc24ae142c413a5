// Visitor statistics over 100 users files of 128 users with 512 viewings each (a year of a
// busy kiosk and its archives), against a project of 128 places and 128 items; the peak
// resident size of the whole process is reported as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/stats_output.h"
#include "app/stats_reading.h"
#include "bench_support.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 100;
constexpr int kUsers = 128;
constexpr int kViewings = 512;
constexpr int kItems = 128;

struct Scene {
  bench::ScratchFolder folder;
  std::string project;
  std::vector<std::string> usersFiles;
};

const Scene& Files() {
  static Scene scene;
  static const bool made = [] {
    std::string p =
        "<?xml version='1.0' encoding='UTF-8' ?>\n\n<media_portrait>\n<system>\n"
        "\t<project_name>Stats</project_name>\n\t<map_filename>map.png</map_filename>\n"
        "\t<left>-1.000000</left>\n\t<top>51.000000</top>\n\t<right>0.000000</right>\n"
        "\t<bottom>50.000000</bottom>\n\t<radius>48.000000</radius>\n"
        "\t<user_filename>StatsUsers.xml</user_filename>\n</system>\n";
    for (int i = 1; i <= kItems; ++i) {
      const std::string id = std::to_string(i);
      p += "\t<region>\n\t\t<region_id>" + id + "</region_id>\n\t\t<region_description>Place " +
           id +
           "</region_description>\n\t\t<gps_x>-0.5</gps_x>\n\t\t<gps_y>50.5</gps_y>\n\t</region>\n";
      p += "\t<content>\n\t\t<content_id>" + id + "</content_id>\n\t\t<region_id>" + id +
           "</region_id>\n\t\t<filename>video/item" + id + ".mp4</filename>\n\t</content>\n";
    }
    p += "</media_portrait>\n";
    scene.project = (scene.folder.path / "Stats.xml").string();
    std::ofstream(scene.project) << p;
    unsigned seed = 12345;  // the same files every run
    for (int f = 0; f < kFiles; ++f) {
      std::string u = "<?xml version='1.0' encoding='UTF-8' ?>\n<user_list>\n";
      char line[64];
      for (int user = 0; user < kUsers; ++user) {
        u += "<user_context>\n\t<user_id>" + std::to_string(user) +
             "</user_id>\n\t<username>GUEST " + std::to_string(user + 1) + "</username>\n";
        for (int v = 0; v < kViewings; ++v) {
          seed = seed * 1103515245u + 12345u;
          std::snprintf(line, sizeof line, "\t<viewed_id>%u--%f</viewed_id>\n",
                        1 + (seed >> 16) % kItems, v * 0.05);
          u += line;
        }
        std::snprintf(line, sizeof line, "\t<duration>%d.%02d</duration>\n", 20 + user % 40,
                      user % 60);
        u += line;
        u += "</user_context>\n";
      }
      u += "</user_list>\n\n";
      const fs::path name = scene.folder.path / ("Users-" + std::to_string(f) + ".xml");
      std::ofstream(name) << u;
      scene.usersFiles.push_back(name.string());
    }
    return true;
  }();
  (void)made;
  return scene;
}

void BM_Stats100Files(benchmark::State& state) {
  const Scene& scene = Files();
  for (auto _ : state) {
    StatsReport report;
    std::string problem;
    if (!CollectStats(scene.project, scene.usersFiles, &report, &problem) ||
        report.visitors != int64_t{kFiles} * kUsers) {
      state.SkipWithError("the files were not all counted");
      break;
    }
    std::ostringstream text;
    WriteStatsText(report, text);
    benchmark::DoNotOptimize(text);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_Stats100Files)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
