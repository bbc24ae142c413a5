// The media window: a child window of the main window that plays one file.
#pragma once

#include "platform/windowing/win_types.h"

constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_PLAY = 0x0806;
constexpr UINT MCI_SEEK = 0x0807;
constexpr UINT MCI_PAUSE = 0x0809;
constexpr UINT MCI_RESUME = 0x0855;
constexpr UINT MCIWNDM_GETPOSITIONA = 0x0466;
constexpr UINT MCIWNDM_GETEND = 0x0469;
constexpr UINT MCIWNDM_GETMODEA = 0x046A;
constexpr UINT MCIWNDM_SETVOLUME = 0x046E;
constexpr UINT MCIWNDM_GETVOLUME = 0x046F;
constexpr UINT MCIWNDM_PUT_DEST = 0x048F;
// The program's own: shows the loudness on the progress bar for a moment.
constexpr UINT MCIWNDM_SHOWVOLUME = 0x04F0;
// Corvane's own: lParam (const char*, UTF-8) is the item's title, shown at the top of a video.
constexpr UINT MCIWNDM_SETITEMTITLE = 0x04F1;
constexpr DWORD MCIWNDF_NOPLAYBAR = 0x0002;

// MCIWNDM_GETEND's answer while the length is not known: the file still opens, or it does
// not say its length (a live recording). Position answers are real all the same.
constexpr LRESULT MCI_LENGTH_UNKNOWN = -1;
// MCI_SEEK's wParam for a move by lParam milliseconds from where it is (negative: back).
constexpr WPARAM MCI_SEEK_RELATIVE = 1;

// Answers of MCIWNDM_GETMODEA.
constexpr LRESULT MCI_MODE_NOT_READY = 524;
constexpr LRESULT MCI_MODE_STOP = 525;
constexpr LRESULT MCI_MODE_PLAY = 526;
constexpr LRESULT MCI_MODE_PAUSE = 529;

// Creates a media window over `parent` and opens `file` in it, a local file only; an empty
// name opens nothing and answers like a file that cannot be played. MCI_PLAY
// starts it, MCI_PAUSE and MCI_RESUME hold and release it, MCI_SEEK (lParam: milliseconds)
// moves it, MCIWNDM_SETVOLUME (lParam: 0 silent to 1000 as recorded) sets its loudness and
// MCIWNDM_GETVOLUME answers it; MCIWNDM_SHOWVOLUME (wParam: muted, lParam: 0 to 1000)
// writes that state on the progress bar for two seconds, so a key that changed it is seen;
// MCI_CLOSE closes the media (the window stays, showing nothing). GETEND and GETPOSITIONA
// answer in milliseconds; a file that cannot be played answers 0 to both.
// Without MCIWNDF_NOPLAYBAR the window shows a progress bar along its bottom, with elapsed
// and total time and the pause, from its second picture on. A file without a video track is
// shown over the display's back buffer, where the program drew a picture for it; its cover
// art, if it has one, goes into the rectangle given by MCIWNDM_PUT_DEST (lParam: RECT*).
HWND MCIWndCreateA(HWND parent, HINSTANCE instance, DWORD style, const char* file);

// The files of one playback in the visitor's language: file plays, or fallback when file
// cannot be played; subtitles (when chosen) is the one subtitle file shown, none when empty.
struct MediaWindowFiles {
  const char* file = nullptr;
  const char* fallback = nullptr;
  bool subtitlesChosen = false;
  const char* subtitles = nullptr;
};
// MCIWndCreateA for those files.
HWND MCIWndCreateFiles(HWND parent, HINSTANCE instance, DWORD style, const MediaWindowFiles& files);
