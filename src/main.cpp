// Entry point: command line, start-up configuration, backend choice, and the one run.
#include <cstring>
#include <iostream>

#include "app/command_line.h"
#include "app/portrait_app.h"
#include "platform/backend_select.h"
#include "platform/text/tr.h"
#include "platform/windowing/termination.h"
#include "platform/windowing/win_api.h"

namespace {
// Display flag bit that selects full-screen presentation.
constexpr unsigned kFullScreenFlag = 2;
}  // namespace

int main(int argc, char** argv) {
  // Before anything is written, so that --help and the messages are in the reader's language.
  tr::InitTexts();
  RunOptions options;
  // The subcommands end here and keep the default actions of the signals.
  if (auto status = ParseCommandLine(argc, argv, &options, std::cout, std::cerr)) return *status;
  // From here a request to end, at any moment, saves and ends.
  platform::HandleTerminationSignals();

  platform::UseBackend(platform::BackendFromEnvironment());
  // A project named here counts as chosen in the file dialog, which is then not shown.
  if (!options.projectFile.empty()) platform::PresetFileChoice(options.projectFile.c_str());

  AppConfig config;
  std::memset(&config, 0, sizeof config);
  config.m_instance = GetModuleHandleA(nullptr);
  config.m_title = kProgramTitle;
  config.m_frameRate = 30;
  config.m_displayFlags = 4;
  if (options.fullscreen) config.m_displayFlags |= kFullScreenFlag;
  config.m_displayMode = 1;
  config.m_width = 800;
  config.m_height = 600;
  config.m_displayOption4 = 75;
  config.m_iconId = 101;

  int result;
  {
    CPortraitApp app(config);
    app.SetRunOptions(options);
    result = app.Run();
    if (result == 0) result = app.ExitStatus();
  }
  platform::ShutdownBackend();
  return result;
}
