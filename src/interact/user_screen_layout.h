// Layout of the two user screens, in pixels of their backdrop images (the handheld's
// 240-pixel-wide screen); the screens are centred in the back buffer and every rectangle
// is shifted by the same offset for drawing and for taps.
#pragma once

#include "platform/graphics/gapi.h"
#include "platform/windowing/win_types.h"

namespace user_screen {

// Backdrop sizes as shipped; used for centring when an image failed to load, so that the
// taps still land where the names are drawn.
constexpr int kNameEntryWidth = 240;
constexpr int kNameEntryHeight = 185;
constexpr int kUserListWidth = 240;
constexpr int kUserListHeight = 320;

// User selection screen
constexpr RECT kListBox{21, 30, 198, 280};
constexpr int kListRows = 25;
constexpr int kRowHeight = 10;
constexpr RECT kScrollTrack{199, 51, 219, 259};
constexpr RECT kScrollUp{199, 30, 219, 50};
constexpr RECT kScrollDown{199, 260, 219, 280};
constexpr RECT kListConfirm{11, 295, 98, 309};
constexpr RECT kNewUser{143, 295, 230, 309};
constexpr DWORD kHighlightOpacity = 128;
constexpr DWORD kThumbColour = 0x606060;

// New-user screen
constexpr POINT kNameText{70, 40};  // inside the name box (65, 38) to (244, 48)
// Centre of a refusal's line, in the gap between the keyboard and the buttons.
constexpr POINT kNoticeText{120, 150};
constexpr const char* kNoticeEmptyName = "TYPE A NAME FIRST";
constexpr const char* kNoticeNameTaken = "THAT NAME IS TAKEN";
constexpr RECT kNameConfirm{11, 160, 98, 174};
constexpr RECT kNameCancel{143, 160, 230, 174};
constexpr RECT kKeyboard{10, 61, 230, 148};
constexpr int kKeyColumns = 10;
constexpr int kKeyRows = 3;
constexpr int kKeyWidth = 22;
constexpr int kKeyHeight = 29;
constexpr char kDeleteKey = '\x7f';
// Row by row, columns 0 to 9.
constexpr char kKeys[kKeyRows][kKeyColumns + 1] = {
    "QWERTYUIOP",
    "ASDFGHJKL\x7f",
    "ZXCVBNM \x7f\x7f",
};

// Top-left corner of a backdrop of the given size centred in the back buffer (0 on an axis
// where the backdrop is as large or larger).
POINT Origin(const CGapiSurface* backBuffer, int imageWidth, int imageHeight);
// The size to centre: the image's, or the shipped size when the image is empty.
POINT ImageSize(const CGapiSurface& image, int shippedWidth, int shippedHeight);
RECT Shifted(RECT rc, POINT origin);
bool Hit(RECT rc, POINT origin, LONG x, LONG y);

}  // namespace user_screen
