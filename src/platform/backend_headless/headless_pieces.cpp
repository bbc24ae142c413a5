// The headless pieces.
#include "platform/backend_headless/headless_pieces.h"

#include "platform/windowing/detail/fix_text.h"
#include "platform/windowing/detail/message_box_type.h"
#include "platform/windowing/detail/window_object.h"

namespace platform {
namespace {

// Where headless windows appear, and the frame drawn around them; both made up but not
// zero, so screen and client coordinates differ as they do on a desktop.
constexpr int kFirstLeft = 100;
constexpr int kFirstTop = 80;
constexpr RECT kFrame{4, 26, 4, 4};

}  // namespace

bool HeadlessWindowPiece::Create(HWND hwnd, const char*, int clientWidth, int clientHeight, bool) {
  int offset = 20 * (m_created++ % 8);
  Geometry g;
  g.client = RECT{kFirstLeft + offset, kFirstTop + offset, kFirstLeft + offset + clientWidth,
                  kFirstTop + offset + clientHeight};
  m_windows[hwnd] = g;
  return true;
}

void HeadlessWindowPiece::Destroy(HWND hwnd) {
  m_windows.erase(hwnd);
  m_icons.erase(hwnd);
  std::erase_if(m_pending, [hwnd](const InputEvent& e) { return e.hwnd == hwnd; });
}

void HeadlessWindowPiece::SetVisible(HWND hwnd, bool visible) {
  auto it = m_windows.find(hwnd);
  if (it == m_windows.end()) return;
  Geometry& g = it->second;
  // Mapping a window for the first time gives it the focus, as a desktop does.
  if (visible && !g.everShown) Queue(InputEvent{InputEvent::Kind::Activate, hwnd});
  g.everShown = g.everShown || visible;
  g.visible = visible;
}

void HeadlessWindowPiece::Minimize(HWND hwnd) {
  auto it = m_windows.find(hwnd);
  if (it == m_windows.end() || it->second.minimized) return;
  it->second.minimized = true;
  InputEvent e{InputEvent::Kind::Minimize, hwnd};
  Queue(e);
  e.kind = InputEvent::Kind::Deactivate;
  Queue(e);
}

void HeadlessWindowPiece::Restore(HWND hwnd) {
  auto it = m_windows.find(hwnd);
  if (it == m_windows.end() || !it->second.minimized) return;
  it->second.minimized = false;
  InputEvent e{InputEvent::Kind::Restore, hwnd};
  Queue(e);
  e.kind = InputEvent::Kind::Activate;
  Queue(e);
}

void HeadlessWindowPiece::SetIcon(HWND hwnd, int resourceId) { m_icons[hwnd] = resourceId; }

RECT HeadlessWindowPiece::ClientOnScreen(HWND hwnd) {
  auto it = m_windows.find(hwnd);
  return it == m_windows.end() ? RECT{0, 0, 0, 0} : it->second.client;
}

RECT HeadlessWindowPiece::FrameExtents(HWND) { return kFrame; }

void HeadlessWindowPiece::PlaceClient(HWND hwnd, int x, int y, int width, int height) {
  auto it = m_windows.find(hwnd);
  if (it == m_windows.end()) return;
  RECT& c = it->second.client;
  bool resized = c.right - c.left != width || c.bottom - c.top != height;
  c = RECT{x, y, x + width, y + height};
  if (resized) {
    InputEvent e{InputEvent::Kind::Resize, hwnd};
    e.x = width;
    e.y = height;
    Queue(e);
  }
}

void HeadlessWindowPiece::Pump(std::vector<InputEvent>& out) {
  out.insert(out.end(), m_pending.begin(), m_pending.end());
  m_pending.clear();
}

bool HeadlessWindowPiece::WaitForEvents(uint32_t ms) {
  if (!m_pending.empty()) return true;
  // Nothing can arrive while the test is not running: the wait just lets time pass.
  HeadlessClock().SleepUntilMicros(HeadlessClock().NowMicros() + uint64_t{ms} * 1000);
  return false;
}

void HeadlessWindowPiece::Inject(InputEvent event) { Queue(event); }

void HeadlessWindowPiece::Queue(InputEvent event) {
  event.time = static_cast<uint32_t>(HeadlessClock().NowMicros() / 1000);
  m_pending.push_back(event);
}

void HeadlessWindowPiece::MoveCursorTo(int clientX, int clientY) {
  HWND target = InputWindow();
  RECT c = target ? ClientOnScreen(target) : RECT{0, 0, 0, 0};
  m_cursor = POINT{c.left + clientX, c.top + clientY};
}

void HeadlessWindowPiece::Reset() {
  m_windows.clear();
  m_icons.clear();
  m_pending.clear();
  m_cursor = POINT{0, 0};
  m_capture = false;
  m_cursorShown = true;
  m_created = 0;
}

int HeadlessWindowPiece::IconOf(HWND hwnd) const {
  auto it = m_icons.find(hwnd);
  return it == m_icons.end() ? 0 : it->second;
}

bool HeadlessWindowPiece::Visible(HWND hwnd) const {
  auto it = m_windows.find(hwnd);
  return it != m_windows.end() && it->second.visible;
}

int HeadlessDialogPiece::MessageBox(HWND, const std::string& text, const std::string& caption,
                                    UINT type, const BoxLabels& labels) {
  int answer = DefaultAnswer(type);
  if (!boxAnswers.empty()) {
    answer = boxAnswers.front();
    boxAnswers.pop_front();
  }
  boxes.push_back(headless::MessageBoxRecord{
      text, caption, type, answer, {labels.yes, labels.no, labels.cancel}});
  return answer;
}

std::optional<std::string> HeadlessDialogPiece::ChooseFile(const FileDialogRequest& r) {
  fileDialogs.push_back(headless::FileDialogRecord{r.title, r.filters, r.initialDir, r.defaultExt,
                                                   r.flags, r.filterIndex});
  if (fileAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(fileAnswers.front());
  fileAnswers.pop_front();
  return answer;
}

std::optional<GpsEntryAnswer> HeadlessDialogPiece::AskGpsPosition(HWND, const GpsEntryRequest& r) {
  gpsEntries.push_back(r);
  if (gpsEntryAnswers.empty()) return std::nullopt;
  const headless::GpsEntryScript script = std::move(gpsEntryAnswers.front());
  gpsEntryAnswers.pop_front();
  using Action = headless::GpsEntryScript::Action;
  switch (script.action) {
    case Action::Cancel:
      return std::nullopt;
    case Action::UseFix:
      // Without a fix the button is greyed out: OK takes the fields as they were.
      if (!r.fixAvailable) return GpsEntryAnswer{r.latitude, r.longitude};
      return GpsEntryAnswer{FormatFixCoordinate(r.fixLatitude),
                            FormatFixCoordinate(r.fixLongitude)};
    case Action::Ok:
      break;
  }
  return GpsEntryAnswer{script.latitude, script.longitude};
}

HeadlessWindowPiece& HeadlessWindows() {
  static HeadlessWindowPiece piece;
  return piece;
}
HeadlessClockPiece& HeadlessClock() {
  static HeadlessClockPiece piece;
  return piece;
}
HeadlessPresentPiece& HeadlessPresent() {
  static HeadlessPresentPiece piece;
  return piece;
}
HeadlessDialogPiece& HeadlessDialogs() {
  static HeadlessDialogPiece piece;
  return piece;
}

Pieces HeadlessPieces() {
  Pieces p;
  p.window = &HeadlessWindows();
  p.present = &HeadlessPresent();
  p.clock = &HeadlessClock();
  p.dialogs = &HeadlessDialogs();
  return p;
}

}  // namespace platform
