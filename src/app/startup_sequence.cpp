// The startup sequence: loads the project step by step on the first processed frame while
// the progress screen grows line by line, then lists every failed step.
#include <cstdio>
#include <cstring>

#include "app/portrait_app.h"
#include "map/portrait.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

namespace {

constexpr int kStepCount = 8;
constexpr LONG kLabelX = 5;
constexpr LONG kResultX = 200;
constexpr LONG kFirstStepY = 15;
constexpr LONG kFirstErrorY = 100;
constexpr LONG kLinePitch = 10;
// One progress line; "Error: " with the longest status message just fits.
constexpr int kLineSize = 50;

// The file name after the last path separator, or the whole path.
const char* FileNamePart(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  return name;
}

platform::PositionOptions PositionOptionsOf(const RunOptions& run) {
  platform::PositionOptions options;
  switch (run.position) {
    case RunOptions::Position::None:
      options.source = platform::PositionOptions::Source::None;
      break;
    case RunOptions::Position::Gpsd:
      options.source = platform::PositionOptions::Source::Gpsd;
      break;
    case RunOptions::Position::Track:
      options.source = platform::PositionOptions::Source::Track;
      break;
  }
  options.host = run.gpsHost;
  options.port = run.gpsPort;
  options.trackFile = run.trackFile;
  options.speed = run.speed;
  return options;
}

}  // namespace

void CPortraitApp::RunStartupSequence(CGapiSurface* backBuffer) {
  CGapiBitmapFont* font = m_display.GetSystemFontBorder();
  int32_t results[kStepCount];
  for (int32_t& r : results) r = 1;

  // Each progress text is shown at once, so the screen grows while the steps run.
  auto show = [&](LONG x, int step, const char* text) {
    backBuffer->DrawTextA(x, kFirstStepY + kLinePitch * step, text, font, GDDRAWTEXT_LEFT, nullptr,
                          0, nullptr);
    m_display.Flip();
  };
  auto label = [&](int step, const char* text) { show(kLabelX, step, text); };
  auto done = [&](int step) { show(kResultX, step, _("Done")); };
  auto failed = [&](int step, int32_t result) {
    results[step] = result;
    show(kResultX, step, _("Error!"));
  };

  bool noSource = false;
  label(0, _("Initialising..."));
  m_model = NewModel(m_hWnd, m_instance, static_cast<int>(backBuffer->GetWidth()),
                     static_cast<int>(backBuffer->GetHeight()));
  if (m_model != nullptr) m_model->m_kiosk = Kiosk();
  if (m_model == nullptr) {
    // Every later step works on the model: stop here and say why at close.
    failed(0, E_FAIL);
    SetError(_("Not enough memory to load the project."), 0);
    Quit();
  } else {
    m_model->m_positionOptions = PositionOptionsOf(m_runOptions);
    // With a source asked for, its state is worth seeing from the start.
    if (m_runOptions.position != RunOptions::Position::None) m_model->m_showGpsStatus = true;
    const int gps = m_model->OpenGpsPort();
    // Without a position source taps move the visitor: a normal way to run, said plainly.
    noSource = gps == -17;
    if (gps < 0 && !noSource)
      failed(0, gps);
    else
      done(0);

    char line[kLineSize];
    // Cut a long name so the whole line fits.
    constexpr int kNameRoom = kLineSize - 1 - static_cast<int>(sizeof "Loading XML - ..." - 1);
    std::snprintf(line, sizeof line, _("Loading XML - %.*s..."), kNameRoom,
                  FileNamePart(m_projectFile));
    label(1, line);
    if (m_model->LoadProjectFile(m_projectFile)) {
      done(1);
      if (!LockProject(m_projectFile)) {
        // Open in another window: nothing more is read, and nothing is written.
        delete m_model;
        m_model = nullptr;
        m_startupPending = false;
        QuitWithoutProject();
        return;
      }
    } else {
      failed(1, m_model->m_status);
    }

    label(2, _("Loading Map..."));
    m_model->LoadMap();  // reports its own failures
    done(2);

    label(3, _("Calculating screen coords..."));
    m_model->ComputeMapPositions();
    done(3);
    Sleep(500);

    label(4, _("Validating video resources..."));
    if (m_model->ValidateVideos() != 0)
      failed(4, -10);
    else
      done(4);

    label(5, _("Loading Icons..."));
    if (m_model->LoadIcons() != 0)
      failed(5, -11);
    else
      done(5);
    // Titles the media files carry, read once here and never while drawing.
    m_model->ReadMediaTitles(0);
    // The tour's languages; the visit starts in the system's language when the tour has it.
    m_model->LoadTourLanguages();
    m_model->m_systemLanguage = tr::SystemLanguage();
    m_model->SetLanguage(m_model->m_systemLanguage);

    label(6, _("Loading user data..."));
    if (m_model->LoadUsersFile() != 0) {
      m_mode = MODE_USER_LIST;
      done(6);
    } else {
      const int32_t code = m_model->m_status;
      if (code == -14 || code == -12 || code == -15) m_mode = MODE_NEW_USER;
      failed(6, code);
    }

    // A kiosk's visitors start on the list, where "Start" needs no typing.
    if (Kiosk() && m_model->m_userList != nullptr) m_mode = MODE_USER_LIST;

    label(7, _("Initialising video playback..."));
    InitVideo(m_instance, m_hWnd);
    done(7);
  }

  int errors = 0;
  int lines = 0;
  if (noSource) {
    char message[STATUS_MESSAGE_SIZE];
    backBuffer->DrawTextA(kLabelX, kFirstErrorY, StatusMessage(-17, message), font,
                          GDDRAWTEXT_LEFT, nullptr, 0, nullptr);
    ++lines;
  }
  for (int step = 0; step < kStepCount; ++step) {
    if (results[step] > 0) continue;
    char message[STATUS_MESSAGE_SIZE];
    char line[kLineSize + STATUS_MESSAGE_SIZE];
    std::snprintf(line, sizeof line, _("Error: %s"), StatusMessage(results[step], message));
    backBuffer->DrawTextA(kLabelX, kFirstErrorY + kLinePitch * lines, line, font, GDDRAWTEXT_LEFT,
                          nullptr, 0, nullptr);
    ++errors;
    ++lines;
  }
  m_display.Flip();
  Sleep(500);
  if (errors > 0) Sleep(1500);

  backBuffer->FillRect(nullptr, 0, 0, nullptr);
  m_startupPending = false;
  KioskTouch();  // the first visit's idle time starts now, not with the loading
  if (results[1] == -7 || results[1] == -8 || results[1] == -9 || results[1] == -20)
    OfferAnotherProject(results[1]);
}

void CPortraitApp::OfferAnotherProject(int32_t status) {
  if (Kiosk()) {
    // Nobody at a kiosk may be shown the file dialog.
    std::fprintf(stderr, _("corvane: %s cannot be opened as a project (status %d)\n"),
                 m_projectFile, static_cast<int>(status));
    QuitWithoutProject();
    return;
  }
  const char* what =
      status == -7    ? _("It cannot be opened: it is missing, a folder, or not readable.")
      : status == -20 ? _("It is larger than 8 MB, far more than any project holds, so it is "
                          "not read.")
      : status == -8  ? _("It holds no system record, so it is not a project file (it may be "
                           "a users file or another XML file).")
                      : _("It holds more than one system record, so it is not clear which "
                           "map and area it describes.");
  char text[600];
  std::snprintf(text, sizeof text,
                _("The file\n%.260s\ncannot be opened as a project. %s\n\nChoose another "
                  "project?"),
                m_projectFile, what);
  char chosen[sizeof m_projectFile];
  // No, or a cancelled choice: there is no project to show, so the program ends (an empty
  // map would answer only its exit button). Nothing is saved, as nothing was opened.
  if (MessageBoxA(m_hWnd, text, _("Not a project"), MB_YESNO | MB_ICONWARNING) != IDYES ||
      !AskForProjectFile(chosen, sizeof chosen)) {
    QuitWithoutProject();
    return;
  }
  std::memcpy(m_projectFile, chosen, sizeof m_projectFile);
  // The next frame starts again on the new project with a fresh model.
  delete m_model;
  m_model = nullptr;
  m_mode = MODE_MAP;
  m_userListTop = 0;
  m_selectedUser = 0;
  m_newUserName[0] = '\0';
  m_startupPending = true;
}
