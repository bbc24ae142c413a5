// Playing the chosen content's media in a media window over the main window, and the keys
// that control it. While it plays, the frame neither draws nor flips, so nothing paints
// over it; a sound file is shown over a picture drawn for it into the back buffer first.
#include <cstring>
#include <string>

#include "app/portrait_app.h"
#include "data/content_item.h"
#include "data/region_item.h"
#include "data/xml_item_list.h"
#include "interact/playback_picture.h"
#include "map/file_resolve.h"
#include "map/media_variant.h"
#include "map/portrait.h"
#include "platform/media/video_window.h"
#include "platform/windowing/win_api.h"

namespace {
// With its progress bar.
constexpr DWORD kVideoWindowStyle = WS_CHILD | WS_VISIBLE;
constexpr UINT kVideoPollMs = 500;
constexpr LRESULT kSeekStepMs = 5000;
constexpr int32_t kVolumeStep = 100;  // of 1000

// The item whose file is queued: the chosen one, or from the page view the first that
// names the file.
const CContentItem* QueuedItem(const CPortrait& model) {
  const CContentItem* chosen = model.m_selectedContent;
  if (chosen != nullptr && std::strcmp(chosen->m_filename, model.m_videoFile) == 0) return chosen;
  CXmlItemList* list = model.m_contentList;
  if (list == nullptr) return nullptr;
  for (int i = list->First(); i != -1; i = list->Next()) {
    const auto* item = static_cast<const CContentItem*>(list->Current());
    if (std::strcmp(item->m_filename, model.m_videoFile) == 0) return item;
  }
  return nullptr;
}
}  // namespace

void CPortraitApp::InitVideo(HINSTANCE, HWND) {}

void CPortraitApp::ToggleVideo() {
  if (!m_model) return;
  if (m_model->IsVideoPlaying()) {
    ReleaseCapture();
    SendMessageA(m_videoWindow, MCI_CLOSE, 0, 0);
    // However the playback ends (its end, a tap, Escape), nothing is left to poll.
    KillTimer(m_hWnd, VIDEO_TIMER_ID);
  } else {
    // The name is looked up like every file the project names ('\' separators, letter
    // case). A name that finds no file is never handed on as written (the player would take
    // "av://..." for a source of its own): the window opens nothing, and the first poll ends
    // the playback as for a missing file.
    // In the visitor's language its sibling plays, and the tour's own file when the sibling
    // will not; subtitles follow the same rule.
    const MediaChoice files = ChooseMedia(m_model->m_tourTexts.Folder(), m_model->m_videoFile,
                                          m_model->Language());
    // Drawn before the player knows what the file holds; only a sound file shows it.
    const CContentItem* item = QueuedItem(*m_model);
    const CRegionItem* region =
        item != nullptr && m_model->m_regionList != nullptr
            ? static_cast<const CRegionItem*>(m_model->m_regionList->FindById(item->m_regionId))
            : nullptr;
    const std::string place = region != nullptr ? m_model->ShownText(region->m_description) : "";
    RECT artBox = DrawPlaybackPicture(&m_backBuffer, m_display.GetSystemFontBorder(), item, region,
                                      m_model->TitleOf(item), place.c_str());
    MediaWindowFiles open;
    open.file = files.media.c_str();
    open.fallback = files.fallback.c_str();
    open.subtitlesChosen = files.subtitlesChosen;
    open.subtitles = files.subtitles.c_str();
    m_videoWindow = MCIWndCreateFiles(m_hWnd, m_instance, kVideoWindowStyle, open);
    SendMessageA(m_videoWindow, MCIWNDM_PUT_DEST, 0, reinterpret_cast<LPARAM>(&artBox));
    const std::string title = m_model->TitleOf(item);
    SendMessageA(m_videoWindow, MCIWNDM_SETITEMTITLE, 0, reinterpret_cast<LPARAM>(title.c_str()));
    SendMessageA(m_videoWindow, MCIWNDM_SETVOLUME, 0, m_muted ? 0 : m_volume);
    m_videoPaused = false;
    RECT outer{};
    GetWindowRect(m_hWnd, &outer);
    SetWindowPos(m_videoWindow, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 0);
    SendMessageA(m_videoWindow, MCI_PLAY, 0, 0);
    SetTimer(m_hWnd, VIDEO_TIMER_ID, kVideoPollMs, nullptr);
    // Every tap must reach the main window, even over the video.
    SetCapture(m_hWnd);
  }
  m_model->ToggleVideoPlaying();
  ToggleDrawing();
}

void CPortraitApp::PollVideo() {
  if (!m_model || !m_model->IsVideoPlaying()) return;
  LRESULT end = SendMessageA(m_videoWindow, MCIWNDM_GETEND, 0, 0);
  LRESULT position = SendMessageA(m_videoWindow, MCIWNDM_GETPOSITIONA, 0, 0);
  if (end == position) ToggleVideo();
}

void CPortraitApp::PlaybackKey(UINT virtualKey) {
  switch (virtualKey) {
    case VK_SPACE:
      m_videoPaused = !m_videoPaused;
      SendMessageA(m_videoWindow, m_videoPaused ? MCI_PAUSE : MCI_RESUME, 0, 0);
      break;
    case VK_LEFT:
    case VK_RIGHT: {
      const LRESULT end = SendMessageA(m_videoWindow, MCIWNDM_GETEND, 0, 0);
      if (end == MCI_LENGTH_UNKNOWN) {
        // No end to measure from (a live recording): move from where it is.
        SendMessageA(m_videoWindow, MCI_SEEK, MCI_SEEK_RELATIVE,
                     virtualKey == VK_RIGHT ? kSeekStepMs : -kSeekStepMs);
        break;
      }
      LRESULT to = SendMessageA(m_videoWindow, MCIWNDM_GETPOSITIONA, 0, 0) +
                   (virtualKey == VK_RIGHT ? kSeekStepMs : -kSeekStepMs);
      if (to > end) to = end;  // stops on the last picture; the poll then ends the playback
      if (to < 0) to = 0;
      SendMessageA(m_videoWindow, MCI_SEEK, 0, to);
      break;
    }
    case VK_UP:
    case VK_DOWN:
      m_volume += virtualKey == VK_UP ? kVolumeStep : -kVolumeStep;
      if (m_volume > 1000) m_volume = 1000;
      if (m_volume < 0) m_volume = 0;
      SendMessageA(m_videoWindow, MCIWNDM_SETVOLUME, 0, m_muted ? 0 : m_volume);
      SendMessageA(m_videoWindow, MCIWNDM_SHOWVOLUME, m_muted ? 1 : 0, m_volume);
      break;
    case 'M':
      m_muted = !m_muted;
      SendMessageA(m_videoWindow, MCIWNDM_SETVOLUME, 0, m_muted ? 0 : m_volume);
      SendMessageA(m_videoWindow, MCIWNDM_SHOWVOLUME, m_muted ? 1 : 0, m_volume);
      break;
    case VK_ESCAPE:
      ToggleVideo();  // as a tap ends it
      break;
    default:
      break;  // the menu cannot be seen, so its keys do nothing
  }
}
