// libFuzzer target for a whole session: one input holds a project file, a users file and a
// few taps. Both files are loaded, everything is placed on a small generated map, frames are
// drawn on the headless backend, the taps are applied, both files are saved to a scratch
// folder and loaded again. The second load must give back exactly the records the first
// save wrote. Built and run by fuzz/build_session_fuzzer.sh.
//
// Input layout: project text, then optionally "\n@@users\n" and the users text, then
// optionally "\n@@taps\n" and tap bytes, three per tap (kind, a, b).
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "data/content_item.h"
#include "data/system_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/file_resolve.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "platform/graphics/gapi.h"
#include "platform/windowing/win_api.h"

namespace {

namespace fs = std::filesystem;

constexpr int kScreenW = 240;  // the handheld screen keeps frames cheap
constexpr int kScreenH = 320;
constexpr int kMapW = 400;  // larger than the screen, so the view scrolls both ways
constexpr int kMapH = 400;
constexpr int kMaxTaps = 48;
constexpr std::string_view kUsersMark = "\n@@users\n";
constexpr std::string_view kTapsMark = "\n@@taps\n";

// Every way this harness gives up says why on a line holding "ERROR:": in fork mode with
// -ignore_crashes=1 those lines are all the parent passes on from a job's log.
[[noreturn]] void GiveUp(const char* what) {
  std::fprintf(stderr, "==%d== ERROR: session fuzzer: %s\n", static_cast<int>(getpid()), what);
  std::abort();
}

// Saves are synced to disk; in memory that costs nothing, so the scratch area lives there
// when it can (FUZZ_SCRATCH chooses another parent folder).
fs::path ScratchParent() {
  if (const char* chosen = std::getenv("FUZZ_SCRATCH")) return chosen;
  std::error_code ec;
  if (fs::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return fs::temp_directory_path();
}

constexpr std::string_view kScratchPrefix = "corvane-session-fuzz-";

// A run owns its scratch folder while it holds a lock on it; the kernel drops the lock
// however the run ends. Folders are made and cleared under a lock on the parent folder, so
// no run ever sees another's folder before it is locked.
int LockParent(const fs::path& parent) {
  const std::string name = (parent / "corvane-session-fuzz.lock").string();
  const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0 || flock(fd, LOCK_EX) != 0) GiveUp("cannot lock the scratch parent folder");
  return fd;
}

bool Locked(const fs::path& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
  close(fd);
  return held;
}

// In fork mode a child that crashes never runs its exit handlers, so its scratch folder
// stays behind; each run clears the folders of runs that have ended. A process id alone
// cannot tell: a run in another pid namespace (a container, a sandboxed test run) sees no
// process of this one, and took a live run's folder for a dead one's, which failed that
// run's round trip for no fault of the program. A folder goes when nobody holds its lock
// and, for folders of builds that did not lock them, no process has its id.
void RemoveScratchOfEndedRuns(const fs::path& parent) {
  std::error_code ec;
  for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(kScratchPrefix, 0) != 0) continue;
    const long pid = std::strtol(name.c_str() + kScratchPrefix.size(), nullptr, 10);
    const bool processGone = pid <= 0 || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
    std::error_code ignored;
    if (processGone && !Locked(it->path())) fs::remove_all(it->path(), ignored);
  }
}

// Never destroyed: the exit handler that removes the folder runs after static destructors.
const fs::path& Scratch() {
  static const fs::path* const root = [] {
    const fs::path parent = ScratchParent();
    const int parentLock = LockParent(parent);
    RemoveScratchOfEndedRuns(parent);
    std::string pattern =
        (parent / (std::string(kScratchPrefix) + std::to_string(getpid()) + "-XXXXXX")).string();
    const char* made = mkdtemp(pattern.data());
    if (made == nullptr) GiveUp("no scratch folder");
    // Held until the process ends: the descriptor is never closed.
    const int own = open(made, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (own < 0 || flock(own, LOCK_EX | LOCK_NB) != 0) GiveUp("cannot lock the scratch folder");
    close(parentLock);
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(Scratch(), ec);
    });
    return new fs::path(made);
  }();
  return *root;
}

// An empty folder of the scratch area, made afresh for each input.
std::string FreshFolder(const char* name) {
  const fs::path dir = Scratch() / name;
  std::error_code ec;
  fs::remove_all(dir, ec);
  fs::create_directories(dir);
  return dir.string();
}

void WriteFile(const std::string& path, std::string_view text) {
  std::ofstream(path, std::ios::binary)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

[[noreturn]] void Fail(const char* what, const std::string& first, const std::string& second) {
  std::fprintf(stderr, "--- first save ---\n%s\n--- second ---\n%s\n", first.c_str(),
               second.c_str());
  GiveUp((std::string("session round trip broken: ") + what).c_str());
}

// One headless window with its display, for one input.
struct Screen {
  Screen() {
    headless::Reset();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CorvaneSessionFuzz";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, wc.lpszClassName, "fuzz", WS_CAPTION, 0, 0, 0, 0, nullptr, nullptr,
                             wc.hInstance, nullptr);
    if (window == nullptr ||
        display.OpenDisplay(0, window, kScreenW, kScreenH, 0, 0, 0, 0) != GD_OK ||
        display.GetBackBuffer(&back) != GD_OK)
      GiveUp("no headless display");
    font = display.GetSystemFontBorder();
  }
  HWND window = nullptr;
  CGapiDisplay display;
  CGapiSurface back;
  CGapiBitmapFont* font = nullptr;
};

// The generated map is made once: the model only ever draws from it. A model hands it back
// before it is deleted, as it deletes the map it holds.
CGapiSurface& Map() {
  static CGapiSurface* map = [] {
    auto* made = new CGapiSurface;
    if (made->CreateSurface(GDSURFACE_SYSTEMMEMORY, kMapW, kMapH) != GD_OK)
      GiveUp("no map surface");
    made->FillRect(nullptr, 0x3C8C50, 0, nullptr);
    return made;
  }();
  return *map;
}

struct ReturnMap {
  void operator()(CPortrait* m) const {
    if (m->m_mapSurface == &Map()) m->m_mapSurface = nullptr;
    delete m;
  }
};
using Model = std::unique_ptr<CPortrait, ReturnMap>;

Model NewModel(const Screen& screen) {
  return Model(new CPortrait(screen.window, GetModuleHandleA(nullptr), kScreenW, kScreenH));
}

// What the startup sequence does after the project file, with a generated map instead of the
// project's image and plain icons instead of its thumbnails (no file the input names is read).
void PlaceEverything(CPortrait& m) {
  m.m_mapSurface = &Map();
  m.m_mapSize.Set(kMapW, kMapH);
  m.m_viewCentre = m.m_mapSize / 2;
  m.m_viewRect = m.ComputeViewRect();
  m.m_userPos = m.m_mapSize / 2;
  m.ComputeMapPositions();
  if (m.m_contentList == nullptr || m.m_contentList->IsEmpty()) return;
  const int n = m.m_contentList->Count();
  m.m_iconSurfaces = new CGapiSurface[n];
  m.m_iconSurfaceCount = n;
  int index = 0;
  for (int i = m.m_contentList->First(); i != -1; i = m.m_contentList->Next(), ++index) {
    CGapiSurface& icon = m.m_iconSurfaces[index];
    if (icon.CreateSurface(GDSURFACE_SYSTEMMEMORY, 12 + index % 5, 10 + index % 3) != GD_OK)
      continue;
    icon.FillRect(nullptr, 0x102030u * static_cast<DWORD>(index + 1), 0, nullptr);
    static_cast<CContentItem*>(m.m_contentList->Current())->m_iconIndex = index;
  }
}

void Frame(CPortrait& m, Screen& screen) { m.Render(&screen.back, screen.font); }

// A pending action as the application would take it, as far as the model is concerned.
void TakeAction(CPortrait& m) {
  const int action = m.TakePendingAction();
  if (action == ACTION_PLAY_VIDEO || (action == ACTION_STOP_VIDEO && m.IsVideoPlaying()))
    m.ToggleVideoPlaying();
}

void Tap(CPortrait& m, int x, int y) {
  if (m.HandleCommandTap(x, y))
    TakeAction(m);
  else
    m.HandleMapTap(x, y);
}

CContentItem* ContentAt(CPortrait& m, int pick) {
  if (m.m_contentList == nullptr || m.m_contentList->Count() == 0) return nullptr;
  return static_cast<CContentItem*>(m.m_contentList->At(pick % m.m_contentList->Count()));
}

void ApplyTap(CPortrait& m, Screen& screen, uint8_t kind, uint8_t a, uint8_t b) {
  const int x = a * kScreenW / 256;
  const int y = b * kScreenH / 256;
  switch (kind % 8) {
    case 0:  // a tap on the map, whatever lies there
      Tap(m, x, y);
      m.StylusRelease(x, y);
      break;
    case 1:  // a content icon: tapped where it is drawn, or chosen outright
      if (CContentItem* item = ContentAt(m, a)) {
        if (b & 1) {
          m.ChooseContent(item);
          TakeAction(m);
        } else {
          const int sx = static_cast<int>(item->m_screenX) - m.m_viewRect.left;
          const int sy = static_cast<int>(item->m_screenY) - m.m_viewRect.top;
          Tap(m, sx, sy);
          m.StylusRelease(sx, sy);
        }
      }
      break;
    case 2:  // a menu button
      m.ExecuteMenuButton(a % 8, b % 2);
      TakeAction(m);
      break;
    case 3:  // a drag across the map
      Tap(m, x, y);
      m.DragView(b * kScreenW / 256, a * kScreenH / 256);
      m.StylusRelease(b * kScreenW / 256, a * kScreenH / 256);
      break;
    case 4: {  // a key of the menu
      static constexpr UINT kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_LWIN, VK_ESCAPE};
      const UINT key = kKeys[a % 6];
      if (m.m_page == 0) {
        if (key == VK_ESCAPE) m.ToggleMenu();
        if (m.MenuKey(key)) TakeAction(m);
      }
      break;
    }
    case 5:  // time passes and a frame is drawn
      headless::AdvanceClock(static_cast<uint32_t>(a) * 1000u + b);
      Frame(m, screen);
      break;
    case 6:  // a new user, made current
      if (CUserContext* user = m.AddNewUser(b & 1 ? "" : "NEW USER")) m.SetCurrentUser(user);
      break;
    case 7:  // another user becomes current
      if (m.m_userList != nullptr && m.m_userList->Count() > 0)
        m.SetCurrentUser(static_cast<CUserContext*>(m.m_userList->At(a % m.m_userList->Count())));
      break;
  }
}

struct Saved {
  bool project = false;
  bool users = false;
  std::string projectText;
  std::string usersText;
};

// Saves the model into folder as the exit button would, and reads back what was written.
Saved SaveInto(CPortrait& m, const std::string& folder) {
  const std::string project = folder + "/Tour.xml";
  std::snprintf(m.m_projectPath, sizeof m.m_projectPath, "%s", project.c_str());
  m.SetCurrentUser(nullptr);
  Saved s;
  s.project = m.SaveProjectFile(project.c_str());
  s.users = m.m_userList != nullptr && m.GetUserFilename() != nullptr && !m.m_usersSaveFailed;
  if (s.project) s.projectText = ReadFile(project);
  if (s.users) {
    const FolderFile users = ResolveInFolder(RealFolderOf(project.c_str()), m.GetUserFilename());
    s.usersText = ReadFile(users.path);
  }
  return s;
}

// An exception that nothing catches (a filesystem error, say) ends the run with its message.
void ReportUncaught() {
  try {
    if (std::exception_ptr current = std::current_exception()) std::rethrow_exception(current);
  } catch (const std::exception& e) {
    GiveUp((std::string("uncaught exception: ") + e.what()).c_str());
  } catch (...) {
  }
  GiveUp("terminated");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::set_terminate(ReportUncaught);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view project = input;
  std::string_view users;
  std::string_view taps;
  if (size_t at = project.find(kTapsMark); at != std::string_view::npos) {
    taps = project.substr(at + kTapsMark.size());
    project = project.substr(0, at);
  }
  if (size_t at = project.find(kUsersMark); at != std::string_view::npos) {
    users = project.substr(at + kUsersMark.size());
    project = project.substr(0, at);
  }

  const std::string first = FreshFolder("first");
  const std::string saved = FreshFolder("saved");
  const std::string again = FreshFolder("again");
  // One window and display for the whole run: opening a display loads the system font.
  static Screen screen;
  headless::ForgetShown();
  headless::SetClock(1000);

  // The first session.
  const std::string projectPath = first + "/Tour.xml";
  WriteFile(projectPath, project);
  auto model = NewModel(screen);
  if (!model->LoadProjectFile(projectPath.c_str())) return 0;
  if (const CSystemItem* system = model->System()) {
    // The users text goes where the project says its users file lies.
    const FolderFile place =
        ResolveInFolder(RealFolderOf(projectPath.c_str()), system->m_userFilename);
    if (!place.outside && !place.path.empty() && !users.empty()) WriteFile(place.path, users);
  }
  PlaceEverything(*model);
  model->LoadUsersFile();
  if (model->m_userList != nullptr && model->m_userList->Count() > 0)
    model->SetCurrentUser(static_cast<CUserContext*>(model->m_userList->At(0)));
  Frame(*model, screen);
  for (size_t i = 0; i + 2 < taps.size() && i / 3 < kMaxTaps; i += 3) {
    ApplyTap(*model, screen, static_cast<uint8_t>(taps[i]), static_cast<uint8_t>(taps[i + 1]),
             static_cast<uint8_t>(taps[i + 2]));
  }
  Frame(*model, screen);
  const Saved one = SaveInto(*model, saved);
  model.reset();
  if (!one.project) return 0;

  // The second session loads what the first saved and saves it unchanged: first the project
  // alone (its users file name must not be changed by what became of the users file), then
  // the users.
  auto second = NewModel(screen);
  const std::string savedPath = saved + "/Tour.xml";
  if (!second->LoadProjectFile(savedPath.c_str()))
    Fail("saved project does not load", one.projectText, "");
  PlaceEverything(*second);
  Frame(*second, screen);
  const Saved two = SaveInto(*second, again);
  if (!two.project) Fail("saved project cannot be saved again", one.projectText, "");
  if (two.projectText != one.projectText)
    Fail("project records differ", one.projectText, two.projectText);
  if (!one.users) return 0;
  std::snprintf(second->m_projectPath, sizeof second->m_projectPath, "%s", savedPath.c_str());
  second->LoadUsersFile();
  const std::string againPath = again + "/Tour.xml";
  std::snprintf(second->m_projectPath, sizeof second->m_projectPath, "%s", againPath.c_str());
  if (!second->SaveUsersFile()) Fail("saved users cannot be saved again", one.usersText, "");
  const std::string usersText =
      ReadFile(ResolveInFolder(RealFolderOf(againPath.c_str()), second->GetUserFilename()).path);
  if (usersText != one.usersText) Fail("user records differ", one.usersText, usersText);
  return 0;
}
