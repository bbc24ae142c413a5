// The model object: construction with the fixed images, release, and the small operations.
#include "map/portrait.h"

#include <initializer_list>

#include "data/content_item.h"
#include "data/xml_item_list.h"
#include "map/map_pyramid.h"
#include "platform/windowing/win_api.h"

namespace {

constexpr DWORD COLOR_KEY = 0xFF00FF;

void LoadResourceImage(CGapiSurface* image, HINSTANCE instance, DWORD id, bool keyed) {
  // A failed image stays empty and draws nothing; the constructor reports nothing.
  if (image->CreateSurface(GDSURFACE_SYSTEMMEMORY, instance, id, "PNG") == GD_OK && keyed) {
    image->SetColorKey(COLOR_KEY);
  }
}

}  // namespace

CPortrait::CPortrait(HWND hwnd, HINSTANCE instance, int width, int height) : m_hWnd(hwnd) {
  m_screenSize = CGeoPoint(width, height);
  m_userPos.Set(0.0, 0.0);
  m_userGps.Set(0.0, 0.0);
  m_viewCentre.Set(0.0, 0.0);
  m_mapSize.Set(0.0, 0.0);
  SetRect(&m_viewRect, 0, 0, static_cast<int>(m_screenSize.x), static_cast<int>(m_screenSize.y));
  m_mapSurface = nullptr;
  m_dragging = false;

  LoadResourceImage(&m_userIcon, instance, 102, true);
  LoadResourceImage(&m_buttonBackground, instance, 104, true);
  LoadResourceImage(&m_exitGlyph, instance, 105, true);
  const int w = static_cast<int>(m_screenSize.x);
  SetRect(&m_exitButtonRect, w - 28, 3, w - 28 + static_cast<int>(m_buttonBackground.GetWidth()),
          3 + static_cast<int>(m_buttonBackground.GetHeight()));
  SetRect(&m_usersButtonRect, w - 55, 3, w - 30, 28);
  LoadResourceImage(&m_menuBackground, instance, 115, true);
  LoadResourceImage(&m_menuIcons, instance, 114, true);
  LoadResourceImage(&m_regionMarker, instance, 108, true);
  LoadResourceImage(&m_badgeStrip, instance, 109, true);
  LoadResourceImage(&m_pageBackground, instance, 110, false);
  // Every other field starts from its initialiser in the class.
}

CPortrait::~CPortrait() {
  delete m_mapSurface;
  delete[] m_iconSurfaces;
  for (CXmlItemList* list : {m_systemList, m_regionList, m_contentList, m_characterList,
                             m_locationList, m_themeList, m_timeList, m_userList}) {
    delete list;
  }
  // The eight fixed images release themselves as members.
}

int CPortrait::OpenGpsPort() {
  // Without a source taps move the visitor (-17, said plainly at start-up). A source that did
  // not open still starts the program: gpsd is found and retried in the background, and a
  // track that cannot be read (the command line refuses one first) leaves the user to taps.
  if (m_positionOptions.source == platform::PositionOptions::Source::None) return -17;
  switch (platform::OpenPositionSource(m_positionOptions, m_hWnd)) {
    case platform::PositionOpenResult::Ok:
      break;
    case platform::PositionOpenResult::ServiceUnreachable:
      return -18;
    case platform::PositionOpenResult::TrackUnreadable:
      return -19;
  }
  return 1;
}

int CPortrait::TakePendingAction() {
  const int action = m_pendingAction;
  m_pendingAction = ACTION_NONE;
  return action;
}

void CPortrait::SetRegionContentAvailable(int regionId, bool available) {
  if (m_contentList == nullptr || m_contentList->IsEmpty()) return;
  for (int i = m_contentList->First(); i != -1; i = m_contentList->Next()) {
    auto* content = static_cast<CContentItem*>(m_contentList->Current());
    if (content->m_regionId == regionId) content->m_inActiveRegion = available;
  }
}
