// Entry point: command line, start-up configuration, backend choice, and the one run.
#include <cstdio>
#include <cstring>

#include "app/portrait_app.h"
#include "platform/backend_select.h"
#include "platform/windowing/win_api.h"

namespace {

constexpr const char* kTitle = "Corvane V0.01";

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "Usage: corvane [PROJECT_FILE]\n"
               "Location-based media guide: opens a project (map, regions, video content) in\n"
               "an 800x600 window. Without PROJECT_FILE a file dialog asks for the project.\n"
               "\n"
               "Options:\n"
               "  --help     show this text and exit\n"
               "  --version  show the version and exit\n"
               "\n"
               "Environment:\n"
               "  CORVANE_HEADLESS=1  run without a display (for tests)\n");
}

}  // namespace

int main(int argc, char** argv) {
  const char* projectFile = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      PrintUsage(stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("%s\n", kTitle);
      return 0;
    }
    if (argv[i][0] == '-' && argv[i][1] != '\0') {
      std::fprintf(stderr, "corvane: unknown option '%s'\n", argv[i]);
      PrintUsage(stderr);
      return 2;
    }
    if (projectFile != nullptr) {
      std::fprintf(stderr, "corvane: only one project file may be given\n");
      PrintUsage(stderr);
      return 2;
    }
    projectFile = argv[i];
  }

  platform::UseBackend(platform::BackendFromEnvironment());
  // A project named here counts as chosen in the file dialog, which is then not shown.
  if (projectFile != nullptr) platform::PresetFileChoice(projectFile);

  AppConfig config;
  std::memset(&config, 0, sizeof config);
  config.m_instance = GetModuleHandleA(nullptr);
  config.m_title = kTitle;
  config.m_frameRate = 30;
  config.m_displayFlags = 4;
  config.m_displayMode = 1;
  config.m_width = 800;
  config.m_height = 600;
  config.m_displayOption4 = 75;
  config.m_iconId = 101;

  int result;
  {
    CPortraitApp app(config);
    result = app.Run();
  }
  platform::ShutdownBackend();
  return result;
}
