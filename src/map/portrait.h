// The model object of a running project: records, images, view state, modes.
// Its operations are spread over several files, one group each, named in the sections below.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/project_folder.h"
#include "guide/guide_state.h"
#include "guide/tour_texts.h"
#include "map/geo_point.h"
#include "map/map_layer.h"
#include "map/view_transform.h"
#include "platform/graphics/gapi.h"
#include "platform/position/position_source.h"
#include "platform/windowing/win_types.h"

class CXmlItemList;
class CUserContext;
class CContentItem;
class CRegionItem;
class CSystemItem;
class MapPyramid;

// Pending actions for the application object
constexpr int ACTION_NONE = 0;
constexpr int ACTION_SAVE_AND_QUIT = 1;
constexpr int ACTION_PLAY_VIDEO = 3;
constexpr int ACTION_USER_LIST = 4;
constexpr int ACTION_STOP_VIDEO = 5;
constexpr int ACTION_RELATIONSHIPS = 6;

// The size of the titles under the page view's icons, which are laid out for a small screen.
constexpr int kPageTitlePixels = 11;

// A fix older than this (platform clock, milliseconds) is lost.
constexpr uint32_t kGpsFixTimeout = 5000;
// A pan or zoom by hand stops the view following the walker for this long after the last
// touch (platform clock, milliseconds).
constexpr uint32_t kViewFollowRest = 20000;
// The horizontal error assumed when a source reports none, in metres.
constexpr double kDefaultGpsError = 10.0;

// Relationship mask
constexpr int REL_THEMES = 1;
constexpr int REL_CHARACTERS = 2;
constexpr int REL_LOCATIONS = 4;
constexpr int REL_TIMES = 8;

// Why a users file named by the project is not used: the users are then kept under the
// default name beside the project.
enum class UsersRefusal {
  None,
  Outside,   // it lies outside the project's folder
  TourFile,  // it is a file of the tour itself: the project, its lock, map, a video or picture
  NotUsers,  // it holds something, but no users
};

// What a load could not hold. A file whose load left something out is never written back,
// so that what was left out stays in it.
enum class LoadLoss {
  None,
  DroppedRecords,  // more records of a kind than a list takes
  CrowdedLine,     // a line holding more than one element: the reader takes only the first
};

class CPortrait {
 public:
  CPortrait(HWND hwnd, HINSTANCE instance, int width, int height);
  ~CPortrait();
  CPortrait(const CPortrait&) = delete;
  CPortrait& operator=(const CPortrait&) = delete;

  // --- model basics (portrait.cpp) ---
  // Opens the position source of m_positionOptions: -17 without one, else 1 or -18 / -19.
  int OpenGpsPort();
  bool HasGpsFix() const { return m_gpsFix; }
  int TakePendingAction();
  void SetRegionContentAvailable(int regionId, bool available);

  // --- coordinates (portrait_coords.cpp) ---
  CGeoPoint MapToGps(CGeoPoint p) const;
  CGeoPoint GpsToMap(CGeoPoint g) const;  // clamped to the map
  CGeoPoint GpsToMapUnclamped(CGeoPoint g) const;
  RECT ComputeViewRect() const;

  // --- project and users files (data/project_file.cpp, data/users_file.cpp) ---
  bool LoadProjectFile(const char* path);
  bool SaveProjectFile(const char* path);
  const char* GetUserFilename() const;
  int LoadUsersFile();
  // The users file LoadUsersFile would read, found without creating or showing anything;
  // empty when there is none to read yet. *refused tells why the name the project gives is
  // not used, as LoadUsersFile would say.
  std::string UsersFileToRead(UsersRefusal* refused = nullptr) const;
  bool SaveUsersFile();  // writes m_userList under GetUserFilename()
  // Set by SaveProjectFile when a loaded user list could not be written.
  bool m_usersSaveFailed = false;
  // The project holds more records of a kind than a list takes; it is then never saved, so
  // that the records beyond the first 128 stay in the file.
  bool DroppedRecords() const;
  // What the project's and the users file's loads left out; either file is then not saved.
  LoadLoss ProjectLoss() const;
  LoadLoss UsersLoss() const;
  int m_projectCrowdedLine = 0;  // the first line holding more than one element, or 0
  int m_usersCrowdedLine = 0;
  // Something that only a save of the project keeps was changed: a placed icon or region,
  // the relationship switches.
  bool m_projectEdited = false;
  CUserContext* AddNewUser(const char* name);  // id from LowestFreeId; null when the list is full
  // An empty user list in place of the old one (which was archived); no user is current.
  void StartNewUserList();

  // --- resource loading (resource_loading.cpp) ---
  bool LoadMap();
  int ComputeMapPositions();
  int ValidateVideos();
  int LoadIcons();

  // --- rendering (render_*.cpp) ---
  void Render(CGapiSurface* backBuffer, CGapiBitmapFont* font);
  void DrawIconDecorations(RECT mapRect, RECT destRect, CContentItem* item,
                           CGapiSurface* backBuffer, CGapiBitmapFont* font, int state);
  // Steps of Render, in drawing order.
  void DrawPageView(CGapiSurface* backBuffer, CGapiBitmapFont* font);
  void DrawMapBackground(CGapiSurface* backBuffer);
  void DrawRegions(CGapiSurface* backBuffer, CGapiBitmapFont* font);
  // The region tests, then the map picture and the regions, from the kept layer when it can be.
  void DrawMapAndRegions(CGapiSurface* backBuffer, CGapiBitmapFont* font);
  // The kept layer, drawn anew when what it shows changed; null where it cannot be used.
  CGapiSurface* MapLayerFor(CGapiSurface* backBuffer, CGapiBitmapFont* font);
  RECT UserIconRect() const;  // zoomed pixels, kept inside the map
  RECT UserIconRectAt(double zoom) const;
  void DrawContentIcons(CGapiSurface* backBuffer, CGapiBitmapFont* font);
  void DrawOverview(CGapiSurface* backBuffer, const RECT& userRect);
  void DrawButtons(CGapiSurface* backBuffer);
  void DrawMenuPanel(CGapiSurface* backBuffer, CGapiBitmapFont* font);
  void DrawGpsStatus(CGapiSurface* backBuffer, CGapiBitmapFont* font);
  // The icon image of a content item, or null when it has none (index -1 or out of range).
  CGapiSurface* IconOf(const CContentItem* item) const;

  // --- position, triggering, relations (interact/user_position.cpp, region_trigger.cpp,
  //     content_choice.cpp, related_content.cpp, current_user.cpp) ---
  void SetUserPosition(int x, int y);
  void SetUserPosition(CGeoPoint mapPoint);
  CGeoPoint MapPointToGps(int x, int y) const;
  int HitTestIcon(int x, int y);  // id of the first tappable icon at map (x, y), or -1
  // The record HitTestIcon finds: ids may repeat in a project file, so the caller chooses
  // through this pointer rather than looking the id up again.
  CContentItem* HitTestIconItem(int x, int y);
  // The same for a tap at screen (x, y): the icon drawn there at the present zoom.
  CContentItem* HitTestIconAtScreen(int x, int y);
  // Selects the item for playback, records the viewing and marks related content.
  void ChooseContent(CContentItem* item);
  void TestRegion(CRegionItem* region, double radius);  // one region, run while drawing
  // Every region, at the user's position (run when a fix moves the user, or the map moves
  // under the visitor).
  void TestRegions();
  // The events of the region test: the user has just come into, or gone out of, a place.
  // They mark its content available or withdraw it.
  void RegionEntered(CRegionItem* region);
  void RegionLeft(CRegionItem* region);
  void MarkRelatedContent();
  // kind is REL_THEMES, REL_CHARACTERS, REL_TIMES or REL_LOCATIONS; table is the current
  // item's 64 flags of that kind. Returns the new number of placed items.
  int MarkRelatedByKind(CContentItem* current, int count, const bool* table, int kind, int placed);
  void ClearRelatedMarks();
  int GetRelationshipFlags() const;
  void SetRelationshipFlags(int mask);
  void SetCurrentUser(CUserContext* user);

  // --- live position (interact/gps_follow.cpp, interact/gps_margin.cpp) ---
  // Window message 1234: takes the fixes that arrived and applies each in turn.
  void OnGpsMessage();
  // One fix: stored, and while following with no tap mode armed the user moves there as a
  // tap on that place would. horizontalError in metres, < 0 unknown; time on the platform clock.
  // interval: ms until the source's next fix is due, 0 unknown (lengthens the timeout).
  void ApplyGpsFix(double latitude, double longitude, double horizontalError, uint32_t time,
                   uint32_t interval = 0);
  // Run every frame with the platform clock: a fix older than kGpsFixTimeout (plus the
  // interval its source announced) is lost.
  void AgeGpsFix(uint32_t now);
  // A tap mode (move user, show coordinates, an edit) waits for the next map tap.
  bool TapModeArmed() const;
  // Metres per map pixel along the map's GPS edges; 0 when they do not give a scale.
  double MetresPerPixel() const;
  // The horizontal error of the held fix in map pixels (the default when none is reported);
  // 0 when the map gives no scale.
  double GpsErrorPixels() const;
  // How far past the radius a GPS-fed user must go to leave a region, in map pixels.
  double RegionLeaveMargin(double radius) const;
  // The faint ring of the error estimate around the user marker, while following a fix.
  void DrawGpsErrorRing(CGapiSurface* backBuffer);

  // --- stylus input and edit modes (interact/stylus_commands.cpp, interact/map_tap.cpp,
  //     interact/drag_view.cpp, interact/menu_gesture.cpp) ---
  bool HandleCommandTap(int x, int y);
  void HandleMapTap(int x, int y);
  void DragView(int x, int y);
  void StylusRelease(int x, int y);
  void TrackMenuGesture(int phase, int x, int y);
  int HitTestRegion(double x, double y);

  // --- menu panel and page view (interact/menu_panel.cpp, interact/menu_buttons.cpp,
  //     interact/page_view.cpp) ---
  void ToggleMenu();
  bool MenuKey(UINT virtualKey);
  bool HitTestMenu(int x, int y, int* column, int* row);
  void ExecuteMenuButton(int column, int row);
  // The buttons a kiosk hides from visitors.
  static bool MenuButtonLocked(int column, int row);
  void OpenPageView();
  bool HitTestPageCell(int x, int y, int offsetX, int offsetY);
  // Top-left corner of the page view panel on the screen (centred when smaller).
  void PageViewOrigin(int* offsetX, int* offsetY) const;
  // A tap while the page view is open: close, previous, next or a cell.
  void PageViewTap(int x, int y);

  // --- two-point calibration of the map (interact/calibration.cpp) ---
  // Menu button (3, 0): waits for the tap of the first point.
  void StartCalibration();
  // Escape, another tap mode, or a cancelled dialog: nothing is changed.
  void CancelCalibration();
  bool IsCalibrating() const { return m_calibrationStep > 0; }
  // A map tap while calibrating (map pixels).
  void CalibrationTap(int mapX, int mapY);
  // The GPS position of a tapped point, asked until it is two numbers or cancelled.
  bool AskCalibrationGps(CGeoPoint mapPoint, CGeoPoint* gps);
  // New GPS edges: regions and content keep their GPS positions and move on the map.
  void SetMapEdges(double left, double top, double right, double bottom);
  void DrawCalibrationHint(CGapiSurface* backBuffer, CGapiBitmapFont* font);

  // --- the visitor's guide (interact/guide_*.cpp, map/render/*.cpp) ---
  // The one map-to-screen transform of the view.
  MapView View() const { return MapView{m_viewRect, m_zoom}; }
  // Something the guide shows changed (position, history, visitor, an entry): it is worked
  // out again once, before it is next shown.
  void MarkGuideStale() { m_guideStale = true; }
  void EnsureGuide();
  // Places, progress and the next place for the current visitor.
  void UpdateGuide();
  // Region tests report entries and exits here; EndRegionTests closes a pass of them.
  void OnRegionEntered(CRegionItem* region);
  void OnRegionLeft(CRegionItem* region);
  void EndRegionTests();
  // Run once a frame with the platform clock while the map can be seen: an arrival that
  // waited starts its banner; true when its chime is to sound now.
  bool StepGuide(uint32_t now);
  // The key and menu layer of place names.
  void ToggleLabels() { m_guide.showLabels = !m_guide.showLabels; }
  // The item's title as shown (its title element, else its media file's title), or "".
  std::string TitleOf(const CContentItem* item) const;
  // Reads the media titles of the items of region `regionId` (0: every item) not read yet.
  void ReadMediaTitles(int regionId);
  void DrawPlaceMarks(CGapiSurface* backBuffer);
  void DrawGuideLabels(CGapiSurface* backBuffer);
  void DrawNextPlaceArrow(CGapiSurface* backBuffer);
  void DrawStatusArea(CGapiSurface* backBuffer);
  void DrawArrivalBanner(CGapiSurface* backBuffer);
  // The screen boxes the guide's texts keep clear of: buttons or menu, overview, status.
  void GuideObstacles(std::vector<RECT>* out) const;
  // Top of the status area at the bottom of the screen.
  int StatusAreaTop() const;
  // The tour's languages (visitor_language.cpp). The language in force is "" for the
  // tour's own texts and media, or a code the tour has.
  void LoadTourLanguages();
  const std::string& Language() const { return m_language; }
  // From the next frame on, names, titles, media and the program's texts follow code; a
  // code the tour does not have gives the tour's own.
  void SetLanguage(const std::string& code);
  // The language a visitor's record asks for, when the tour still has it; "" otherwise.
  std::string StoredLanguage(const CUserContext* user) const;
  // The language buttons under the open menu: drawn, and a tap on one switches the visit
  // (and the current visitor's choice) to it. False when the tap hit none.
  void DrawMenuLanguages(CGapiSurface* backBuffer);
  bool MenuLanguageTap(int x, int y);
  void MenuLanguageObstacles(std::vector<RECT>* out) const;  // labels keep clear of it
  // A name or title stored in the project, as shown in the language in force.
  std::string ShownText(const char* stored) const;
  CTourTexts m_tourTexts;
  std::string m_language;
  std::string m_systemLanguage;  // the environment's, as it was at start-up
  guide::GuideState m_guide;
  bool m_guideStale = true;

  // --- zoom and pan (map/map_zoom.cpp), the zoom buttons (interact/zoom_controls.cpp,
  //     map/render_zoom_buttons.cpp), the view that follows the walker
  //     (interact/view_follow.cpp) ---
  // The map's own resolution times two (screen pixels per map pixel); 1, no zoom, without a
  // full-resolution map.
  double MaxZoom() const;
  bool CanZoom() const { return MaxZoom() > 1.0; }
  // Zoom times `factor`, held between 1 and MaxZoom, keeping the map point under screen
  // (x, y) where it is.
  void ZoomAbout(int x, int y, double factor);
  // Moves the view by (dx, dy) screen pixels; the view never leaves the map.
  void PanView(double dx, double dy);
  void CentreViewOn(CGeoPoint map);
  // m_viewRect for m_viewCentre and m_zoom, the centre first kept where the view stays on
  // the map.
  void UpdateViewRect();
  enum ZoomButton { ZOOM_IN = 0, ZOOM_OUT = 1, CENTRE_ON_ME = 2 };
  bool ZoomButtonsShown() const;
  RECT ZoomButtonRect(int button) const;
  // A tap on a zoom button, the + and - keys, a turn of the wheel (notches, + is in); each
  // true when it was used. now: the platform clock.
  bool ZoomButtonTap(int x, int y, uint32_t now);
  bool ZoomKey(UINT virtualKey, uint32_t now);
  void WheelZoom(int x, int y, int notches, uint32_t now);
  void DrawZoomButtons(CGapiSurface* backBuffer);
  // Run every frame with the platform clock: while following a fix the view keeps the
  // user marker in the middle of the screen, gliding there.
  void StepView(uint32_t now);
  // A pan or zoom by hand: following of the view waits until CentreOnMe or kViewFollowRest
  // of no touch.
  void HandMovedView(uint32_t now);
  void NoteTouch(uint32_t now) { m_lastTouch = now; }
  void CentreOnMe();
  bool ViewFollowing(uint32_t now) const;
  double m_zoom = 1.0;
  std::unique_ptr<MapPyramid> m_mapPyramid;  // null: only the fitted map surface
  bool m_viewFollowPaused = false;
  uint32_t m_lastTouch = 0;
  // A press on the zoomed map moves the user only when it is let go without dragging.
  bool m_userMoveArmed = false;
  CGeoPoint m_userMoveTarget;
  POINT m_pressPoint{};

  // --- video state (interact/video_playback.cpp) ---
  void ToggleVideoPlaying() { m_videoPlaying = !m_videoPlaying; }
  bool IsVideoPlaying() const { return m_videoPlaying; }

  // Fields, in declaration order.
  HWND m_hWnd;
  double m_gpsLatitude = 0.0;
  double m_gpsLongitude = 0.0;
  CGeoPoint m_userPos;
  CGeoPoint m_userGps;
  bool m_gpsFix = false;
  CGeoPoint m_viewCentre;
  RECT m_viewRect{};
  CGeoPoint m_mapSize;
  CGeoPoint m_screenSize;
  CGeoPoint m_gpsTopLeft;
  CGeoPoint m_gpsBottomRight;
  bool m_dragging = false;
  int m_lastStylusX = 0;
  int m_lastStylusY = 0;
  CGapiSurface* m_mapSurface = nullptr;
  CGapiSurface m_userIcon;
  CGapiSurface m_buttonBackground;
  CGapiSurface m_exitGlyph;
  RECT m_exitButtonRect{};
  RECT m_usersButtonRect{};
  CGapiSurface m_menuBackground;
  CGapiSurface m_menuIcons;
  CGapiSurface* m_iconSurfaces = nullptr;
  int m_iconSurfaceCount = 0;  // number of slots in m_iconSurfaces
  CGapiSurface m_badgeStrip;
  CGapiSurface m_regionMarker;
  MapLayer m_mapLayer;  // the unzoomed map with its regions (DrawMapAndRegions)
  CGapiSurface m_pageBackground;
  char m_videoFile[256] = {};
  bool m_moveUserMode = false;
  bool m_showCoordsMode = false;
  int m_editSelection = -2;
  int m_pendingAction = 0;
  bool m_showMap = true;
  bool m_showOverview = false;
  bool m_showUser = true;
  bool m_showRegionAreas = false;
  bool m_showRegionMarkers = true;
  int m_iconMode = 1;
  bool m_showGpsStatus = false;
  bool m_followGps = true;
  bool m_menuOpen = false;
  int m_gestureState = 0;
  bool m_videoPlaying = false;
  int m_page = 0;
  int m_pageCount = 5;
  int m_status = 1;
  CXmlItemList* m_systemList = nullptr;
  CXmlItemList* m_regionList = nullptr;
  CXmlItemList* m_contentList = nullptr;
  CXmlItemList* m_characterList = nullptr;
  CXmlItemList* m_locationList = nullptr;
  CXmlItemList* m_themeList = nullptr;
  CXmlItemList* m_timeList = nullptr;
  CXmlItemList* m_userList = nullptr;
  CUserContext* m_currentUser = nullptr;
  CContentItem* m_selectedContent = nullptr;
  char m_projectPath[256] = {};
  // The folder of m_projectPath, held open from the load on (data/project_folder.h).
  mutable CProjectFolder m_projectFolder;
  int m_pageIconWidth = 0;
  int m_pageMarginX = 0;
  int m_pageGapX = 0;
  int m_pageColumns = 0;
  int m_pageIconHeight = 0;
  int m_pageMarginY = 0;
  int m_pageGapY = 0;
  int m_pageRows = 0;
  int m_menuCursor = 0;
  int m_calibrationStep = 0;   // 0 not calibrating; 1 or 2: waiting for that point's tap
  // A shared device: the exit button and the editing, relationship and quit buttons of the
  // menu are hidden and do nothing.
  bool m_kiosk = false;
  CGeoPoint m_calibrationMap;  // the first point, map pixels
  CGeoPoint m_calibrationGps;  // its GPS position

  // Live position.
  platform::PositionOptions m_positionOptions;  // the source OpenGpsPort opens
  double m_gpsError = -1.0;                     // metres, < 0 when the source reports none
  uint32_t m_gpsFixTime = 0;                    // platform clock of the held fix
  bool m_userFromGps = false;                   // m_userPos came from a fix, not a tap
  uint32_t m_gpsFixInterval = 0;                // ms until the next fix was due, 0 unknown
  CGeoPoint m_gpsMapPos;                        // the fix in map pixels, off the map too
  bool m_userOffMap = false;                    // the last fix followed lies off the map

  // The first system record, or null when none was loaded.
  CSystemItem* System() const;
};
