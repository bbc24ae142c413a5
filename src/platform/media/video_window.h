// The media window: a child window of the main window that plays one file.
#pragma once

#include "platform/windowing/win_types.h"

constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_PLAY = 0x0806;
constexpr UINT MCIWNDM_GETPOSITIONA = 0x0466;
constexpr UINT MCIWNDM_GETEND = 0x0469;
constexpr DWORD MCIWNDF_NOPLAYBAR = 0x0002;

// Creates a media window over `parent` and opens `file` in it. MCI_PLAY starts it,
// MCI_CLOSE closes the media (the window stays, showing nothing); GETEND and GETPOSITIONA
// answer in milliseconds. A file that cannot be played answers 0 to both.
HWND MCIWndCreateA(HWND parent, HINSTANCE instance, DWORD style, const char* file);
