// Temporary definitions of application operations not yet written. Whoever implements an
// operation deletes its stub here; the file goes away when it is empty.
#include "app/portrait_app.h"

void CPortraitApp::PerformPendingAction() {}
void CPortraitApp::DrawUserScreen(CGapiSurface*) {}
void CPortraitApp::UserScreenTap(LONG, LONG) {}
void CPortraitApp::RunRelationshipsDialog() {}
void CPortraitApp::ToggleVideo() {}
void CPortraitApp::InitVideo(HINSTANCE, HWND) {}
void CPortraitApp::PollVideo() {}
