// The windowing, message, timer, dialog and clock calls the program uses, implemented
// by the platform layer over the active backend (real window or headless).
#pragma once

#include "platform/windowing/win_types.h"

// Rectangles
BOOL SetRect(RECT* rc, int left, int top, int right, int bottom);
BOOL PtInRect(const RECT* rc, POINT pt);  // right and bottom are exclusive

// Window classes and windows
WORD RegisterClassA(const WNDCLASSA* wc);  // 0 on failure
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                     int y, int width, int height, HWND parent, void* menu, HINSTANCE instance,
                     void* param);
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL DestroyWindow(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL UpdateWindow(HWND hwnd);
HWND SetFocus(HWND hwnd);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND hwnd, RECT* rc);
BOOL GetClientRect(HWND hwnd, RECT* rc);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
HICON LoadIconA(HINSTANCE instance, const char* name);
HCURSOR LoadCursorA(HINSTANCE instance, const char* name);
HCURSOR SetCursor(HCURSOR cursor);

// Messages
BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                DWORD milliseconds, DWORD wakeMask);

// Timers (WM_TIMER to the window)
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// Mouse
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
BOOL GetCursorPos(POINT* pt);
BOOL ScreenToClient(HWND hwnd, POINT* pt);

// Message boxes, beep, file dialog
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);
// A box whose Yes, No and Cancel buttons carry the given names ("Save", "Don't save"); null
// keeps a button's usual name. Answers as MessageBoxA: IDYES, IDNO or IDCANCEL.
int MessageBoxLabelledA(HWND owner, const char* text, const char* caption, UINT type,
                        const char* yes, const char* no, const char* cancel);
BOOL MessageBeep(UINT type);
BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);

// Modal dialog from a template resource; returns what the procedure passed to EndDialog,
// or -1 when the dialog cannot be shown.
intptr_t DialogBoxParamA(HINSTANCE instance, const char* templateName, HWND parent, DLGPROC proc,
                         LPARAM param);
BOOL EndDialog(HWND dialog, intptr_t result);
HWND GetDlgItem(HWND dialog, int id);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam);

// Clock, sleep, threads
DWORD timeGetTime();  // milliseconds, wraps at 2^32
void Sleep(DWORD milliseconds);
HANDLE GetCurrentThread();
BOOL SetThreadPriority(HANDLE thread, int priority);

// The module handle of the running program (stands in for the instance given to the entry point).
HINSTANCE GetModuleHandleA(const char* name);
