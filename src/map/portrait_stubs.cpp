// Temporary definitions of model operations not yet written. Whoever implements an
// operation deletes its stub here; the file goes away when it is empty.
#include "map/portrait.h"

void CPortrait::Render(CGapiSurface*, CGapiBitmapFont*) {}
void CPortrait::DrawIconDecorations(RECT, RECT, CContentItem*, CGapiSurface*, CGapiBitmapFont*, int) {}
void CPortrait::SetUserPosition(int, int) {}
CGeoPoint CPortrait::MapPointToGps(int, int) const { return {}; }
int CPortrait::HitTestIcon(int, int) { return 0; }
void CPortrait::MarkRelatedContent() {}
void CPortrait::ClearRelatedMarks() {}
int CPortrait::GetRelationshipFlags() const { return 0; }
void CPortrait::SetRelationshipFlags(int) {}
void CPortrait::SetCurrentUser(CUserContext*) {}
