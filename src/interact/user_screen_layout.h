// Layout of the two user screens, in pixels of their backdrop images (the handheld's
// 240-pixel-wide screen); the screens are centred in the back buffer and every rectangle
// is shifted by the same offset for drawing and for taps.
#pragma once

#include "platform/graphics/gapi.h"
#include "platform/text/tr.h"
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
constexpr const char* kNoticeEmptyName = N_("TYPE A NAME FIRST");
constexpr const char* kNoticeNameTaken = N_("THAT NAME IS TAKEN");
constexpr RECT kNameConfirm{11, 160, 98, 174};
constexpr RECT kNameCancel{143, 160, 230, 174};
constexpr RECT kKeyboard{10, 61, 230, 148};
constexpr int kKeyColumns = 10;
constexpr int kKeyRows = 3;
constexpr int kKeyWidth = 22;
constexpr int kKeyHeight = 29;
constexpr char kDeleteKey = '\x7f';
constexpr char kPageKey = '\x0e';
// The letters' page as the picture shows it, row by row, columns 0 to 9.
constexpr char kKeys[kKeyRows][kKeyColumns + 1] = {
    "QWERTYUIOP",
    "ASDFGHJKL\x7f",
    "ZXCVBNM \x0e\x7f",
};
// The pages after it (the page key goes round): each key's UTF-8 text, or nullptr where the
// key is the letters' page's (delete, space, the page key).
constexpr int kKeyPages = 3;
constexpr const char* kAccentKeys[kKeyPages - 1][kKeyRows][kKeyColumns] = {
    {{"\xC3\x84", "\xC3\x96", "\xC3\x9C", "\xC3\x9F", "\xC3\x89", "\xC3\x88", "\xC3\x8A",
      "\xC3\x80", "\xC3\x82", "\xC3\x87"},  // Ä Ö Ü ß É È Ê À Â Ç
     {"\xC3\x94", "\xC3\x8E", "\xC3\x9B", "\xC3\x8B", "\xC3\x8F", "\xC5\x92", "1", "2", "3",
      nullptr},  // Ô Î Û Ë Ï Œ
     {"4", "5", "6", "7", "8", "9", "0", nullptr, nullptr, nullptr}},
    {{"\xC3\xA4", "\xC3\xB6", "\xC3\xBC", "\xC3\x9F", "\xC3\xA9", "\xC3\xA8", "\xC3\xAA",
      "\xC3\xA0", "\xC3\xA2", "\xC3\xA7"},  // ä ö ü ß é è ê à â ç
     {"\xC3\xB4", "\xC3\xAE", "\xC3\xBB", "\xC3\xAB", "\xC3\xAF", "\xC5\x93", "1", "2", "3",
      nullptr},  // ô î û ë ï œ
     {"4", "5", "6", "7", "8", "9", "0", nullptr, nullptr, nullptr}},
};
// The page key's label on each page: what it turns to.
constexpr const char* kPageKeyLabels[kKeyPages] = {"\u00C4\u00C91", "\u00E4\u00E91", "ABC"};

// Top-left corner of a backdrop of the given size centred in the back buffer (0 on an axis
// where the backdrop is as large or larger).
POINT Origin(const CGapiSurface* backBuffer, int imageWidth, int imageHeight);
// The size to centre: the image's, or the shipped size when the image is empty.
POINT ImageSize(const CGapiSurface& image, int shippedWidth, int shippedHeight);
RECT Shifted(RECT rc, POINT origin);
bool Hit(RECT rc, POINT origin, LONG x, LONG y);

}  // namespace user_screen
