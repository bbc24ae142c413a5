// The start-up work a tour's languages add: a full tour (128 places, 128 items) opened with
// no languages, and with three, each a catalogue of every name and title and a media sibling
// for every item. Both load the project, find and read the languages and lay out the guide.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench_support.h"
#include "map/portrait.h"

namespace fs = std::filesystem;

namespace {

// The tour in a folder of its own, with `languages` languages beside it.
fs::path WriteTour(const fs::path& dir, int languages) {
  fs::create_directories(dir / "video");
  std::string p =
      "<?xml version='1.0' encoding='UTF-8' ?>\n<media_portrait>\n<system>\n"
      "\t<project_name>Full</project_name>\n\t<map_filename>map.png</map_filename>\n"
      "\t<left>-1.0</left>\n\t<top>51.0</top>\n\t<right>0.0</right>\n\t<bottom>50.0</bottom>\n"
      "\t<radius>48.0</radius>\n\t<user_filename/>\n</system>\n<region_list>\n";
  for (int i = 1; i <= 128; ++i)
    p += "<region>\n\t<region_id>" + std::to_string(i) + "</region_id>\n\t<region_description>Place " +
         std::to_string(i) + " by the harbour</region_description>\n\t<gps_x>-0.5</gps_x>\n"
         "\t<gps_y>50.5</gps_y>\n</region>\n";
  p += "</region_list>\n<content_list>\n";
  for (int i = 1; i <= 128; ++i) {
    const std::string n = std::to_string(i);
    p += "<content>\n\t<content_id>" + n + "</content_id>\n\t<region_id>" + n +
         "</region_id>\n\t<filename>video/item" + n + ".mp4</filename>\n\t<thumbnail>t" + n +
         ".png</thumbnail>\n\t<title>The story of item " + n +
         "</title>\n\t<gps_x>-0.5</gps_x>\n\t<gps_y>50.5</gps_y>\n</content>\n";
    std::ofstream(dir / ("video/item" + n + ".mp4")) << "x";
  }
  p += "</content_list>\n</media_portrait>\n";
  std::ofstream(dir / "Tour.xml") << p;
  const char* codes[] = {"de", "fr", "nl"};
  for (int l = 0; l < languages; ++l) {
    std::string po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
    for (int i = 1; i <= 128; ++i) {
      const std::string n = std::to_string(i);
      po += "\nmsgid \"Place " + n + " by the harbour\"\nmsgstr \"Ort " + n + " am Hafen\"\n";
      po += "\nmsgid \"The story of item " + n + "\"\nmsgstr \"Die Geschichte " + n + "\"\n";
      std::ofstream(dir / ("video/item" + n + "." + codes[l] + ".mp4")) << "x";
    }
    std::ofstream(dir / (std::string("Tour.") + codes[l] + ".po")) << po;
  }
  return dir / "Tour.xml";
}

void StartupLanguages(benchmark::State& state) {
  const int languages = static_cast<int>(state.range(0));
  static bench::ScratchFolder folder;
  const fs::path project = WriteTour(folder.path / std::to_string(languages), languages);
  platform::UseBackend(platform::BackendKind::Headless);
  for (auto _ : state) {
    CPortrait model(nullptr, nullptr, 800, 600);
    model.LoadProjectFile(project.c_str());
    model.LoadTourLanguages();
    model.SetLanguage(languages > 0 ? "de" : "");
    model.UpdateGuide();
    benchmark::DoNotOptimize(model.m_guide.placeNames.data());
  }
  state.counters["languages"] = static_cast<double>(languages);
}
BENCHMARK(StartupLanguages)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace
