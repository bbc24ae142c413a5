// Temporary definitions of model operations not yet written. Whoever implements an
// operation deletes its stub here; the file goes away when it is empty.
#include "map/portrait.h"

int CPortrait::OpenGpsPort() { return 0; }
void CPortrait::OnGpsMessage() {}
int CPortrait::TakePendingAction() { return 0; }
void CPortrait::SetRegionContentAvailable(int, bool) {}
CGeoPoint CPortrait::MapToGps(CGeoPoint) const { return {}; }
CGeoPoint CPortrait::GpsToMap(CGeoPoint) const { return {}; }
RECT CPortrait::ComputeViewRect() const { return {}; }
bool CPortrait::LoadMap() { return false; }
int CPortrait::ComputeMapPositions() { return 0; }
int CPortrait::ValidateVideos() { return 0; }
int CPortrait::LoadIcons() { return 0; }
void CPortrait::Render(CGapiSurface*, CGapiBitmapFont*) {}
void CPortrait::DrawIconDecorations(RECT, RECT, CContentItem*, CGapiSurface*, CGapiBitmapFont*, int) {}
void CPortrait::SetUserPosition(int, int) {}
CGeoPoint CPortrait::MapPointToGps(int, int) const { return {}; }
int CPortrait::HitTestIcon(int, int) { return 0; }
void CPortrait::MarkRelatedContent() {}
void CPortrait::MarkRelatedByKind(int) {}
void CPortrait::ClearRelatedMarks() {}
int CPortrait::GetRelationshipFlags() const { return 0; }
void CPortrait::SetRelationshipFlags(int) {}
void CPortrait::SetCurrentUser(CUserContext*) {}
CPortrait::CPortrait(HWND hwnd, HINSTANCE, int, int) : m_hWnd(hwnd) {}
CPortrait::~CPortrait() {}
