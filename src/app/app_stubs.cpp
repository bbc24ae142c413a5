// Temporary definitions of application operations not yet written. Whoever implements an
// operation deletes its stub here; the file goes away when it is empty.
#include "app/portrait_app.h"

void CPortraitApp::DrawUserScreen(CGapiSurface*) {}
void CPortraitApp::UserScreenTap(LONG, LONG) {}
void CPortraitApp::RunRelationshipsDialog() {}
