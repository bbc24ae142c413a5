// The two user screens' drawing and taps, called by CPortraitApp's DrawUserScreen and
// UserScreenTap once the model and its user list are known to exist.
#pragma once

#include "platform/graphics/gapi.h"
#include "platform/windowing/win_types.h"

class CPortraitApp;

void DrawUserListScreen(CPortraitApp& app, CGapiSurface* backBuffer, CGapiBitmapFont* font);
void UserListScreenTap(CPortraitApp& app, LONG x, LONG y);

void DrawNewUserScreen(CPortraitApp& app, CGapiSurface* backBuffer, CGapiBitmapFont* font);
void NewUserScreenTap(CPortraitApp& app, LONG x, LONG y);
