// The graphics library: display, software surfaces, bordered text, frame timer, key lists.
// Statuses are 32-bit signed; negative means failure.
#pragma once

#include <cstdint>
#include <string>

#include "platform/windowing/win_types.h"

constexpr HRESULT GD_OK = 0;
constexpr HRESULT GDERR_MISSING_DRIVER = static_cast<HRESULT>(0xC8660120u);  // "gx.dll"
constexpr HRESULT GDERR_SURFACES_LOST = static_cast<HRESULT>(0xC8660150u);
constexpr HRESULT GDERR_INVALID = static_cast<HRESULT>(0xC8660001u);
constexpr HRESULT GDERR_OUT_OF_MEMORY = static_cast<HRESULT>(0xC8660002u);
constexpr HRESULT GDERR_LOAD_FAILED = static_cast<HRESULT>(0xC8660003u);
constexpr HRESULT GD_FRAME_LATE =
    static_cast<HRESULT>(0x486600F0u);  // WaitForNextFrame: already due
constexpr HRESULT GD_FRAME_FIX =
    static_cast<HRESULT>(0x486600F1u);  // WaitForNextFrameOrFix: a fix came first

constexpr DWORD GDSURFACE_SYSTEMMEMORY = 256;  // the creation flags every caller passes

// Blit flags
constexpr DWORD GDBLT_KEYSRC = 1;
constexpr DWORD GDBLT_OPACITY = 4;
// Corvane's own: a scaled blit samples the source bilinearly instead of taking the nearest
// pixel, for pictures enlarged many times (a thumbnail shown as a sound file's picture).
// Ignored with a colour key, whose transparent pixels must not be blended into the rest.
constexpr DWORD GDBLT_SMOOTH = 0x100;
constexpr DWORD GDBLTFAST_KEYSRC = 1;
constexpr DWORD GDBLTFAST_OPACITY = 4;
// FillRect / DrawLine / DrawRect flags
constexpr DWORD GDFILLRECT_OPACITY = 1;
constexpr DWORD GDLINE_OPACITY = 1;
constexpr DWORD GDDRAWRECT_OPACITY = 1;
// DrawTextA flags
constexpr DWORD GDDRAWTEXT_LEFT = 1;
constexpr DWORD GDDRAWTEXT_CENTER = 2;

// Effect records: the opacity (0..255) is the second field of the blit records and the
// first of the fill and line records.
struct GDBLTFX {
  DWORD dwRotationAngle;
  DWORD dwOpacity;
  DWORD dwReserved[2];
};
struct GDBLTFASTFX {
  DWORD dwReserved0;
  DWORD dwOpacity;
  DWORD dwReserved[2];
};
struct GDFILLRECTFX {
  DWORD dwOpacity;
  DWORD dwReserved;
};
struct GDLINEFX {
  DWORD dwOpacity;
  DWORD dwReserved;
};
struct GDDRAWTEXTFX {
  DWORD dwReserved0;
  DWORD dwOpacity;
};

// Legible text: UTF-8 at a size in pixels, ringed by a halo that keeps it readable over any
// picture. Every text a visitor reads on the map (labels, titles, status, banner) takes this
// one path; bytes that are not UTF-8 show as U+FFFD, never cut inside a character.
constexpr int GD_LEGIBLE_PIXELS = 14;  // the em size of labels and status lines
struct GDTEXTSTYLE {
  int pixels = GD_LEGIBLE_PIXELS;
  DWORD color = 0xFFFFFF;
  DWORD halo = 0x000000;
  DWORD align = GDDRAWTEXT_LEFT;  // or GDDRAWTEXT_CENTER: centred on x
};
// The size of the line's box as DrawLegibleText fills it, halo included; 0 wide when empty.
int LegibleTextWidth(const char* utf8, int pixels);
int LegibleLineHeight(int pixels);
// text when its box fits in maxWidth, else its longest head that fits with "…" after it,
// else empty.
std::string FitLegibleText(const char* utf8, int pixels, int maxWidth);

// Corvane's own: where a bilinear fill reads its source. Destination pixel (x, y) of the
// filled area takes the source at (x0 + (x - left) * dx, y0 + (y - top) * dy), in source
// pixels whose centres lie on whole numbers.
struct GDSAMPLING {
  double x0 = 0.0;
  double y0 = 0.0;
  double dx = 1.0;
  double dy = 1.0;
};

// Key list: which virtual keys are down right now.
struct GDKEYLIST {
  BYTE down[256];
};

class CGapiDisplay;
struct GapiSurfaceData;
struct GapiFontData;

// Bordered system font. Owned by the display.
class CGapiBitmapFont {
 public:
  CGapiBitmapFont();
  ~CGapiBitmapFont();
  CGapiBitmapFont(const CGapiBitmapFont&) = delete;
  CGapiBitmapFont& operator=(const CGapiBitmapFont&) = delete;
  GapiFontData* Data() const { return m_data; }
  int LineHeight() const;
  int TextWidth(const char* text) const;

 private:
  GapiFontData* m_data;
};

class CGapiSurface {
 public:
  CGapiSurface();
  ~CGapiSurface();
  CGapiSurface(const CGapiSurface&) = delete;
  CGapiSurface& operator=(const CGapiSurface&) = delete;

  // 0 on success, anything else is failure; a failed create leaves the surface empty.
  HRESULT CreateSurface(DWORD flags, HINSTANCE instance, DWORD resourceId,
                        const char* resourceType);
  HRESULT CreateSurface(DWORD flags, const char* fileName);
  HRESULT CreateSurface(DWORD flags, DWORD width, DWORD height);
  void Destroy();
  bool IsEmpty() const;

  HRESULT SetColorKey(DWORD color);
  DWORD GetWidth() const;
  DWORD GetHeight() const;

  HRESULT Blt(const RECT* destRect, CGapiSurface* src, const RECT* srcRect, DWORD flags,
              const GDBLTFX* fx);
  HRESULT BltFast(LONG x, LONG y, CGapiSurface* src, const RECT* srcRect, DWORD flags,
                  const GDBLTFASTFX* fx);
  HRESULT DrawTextA(LONG x, LONG y, const char* text, CGapiBitmapFont* font, DWORD flags,
                    const GDDRAWTEXTFX* fx, DWORD bltFlags, const GDBLTFASTFX* bltFx);
  // One line of legible text whose box has its top at y (see GDTEXTSTYLE).
  HRESULT DrawLegibleText(LONG x, LONG y, const char* utf8, const GDTEXTSTYLE& style);
  HRESULT DrawLine(LONG x1, LONG y1, LONG x2, LONG y2, DWORD color, DWORD flags,
                   const GDLINEFX* fx);
  HRESULT DrawRect(const RECT* rect, DWORD color, DWORD flags, const GDLINEFX* fx);
  HRESULT FillRect(const RECT* rect, DWORD color, DWORD flags, const GDFILLRECTFX* fx);
  // Corvane's own: fills `area` (clipped to this surface) with bilinear samples of src,
  // placed as `at` says; beyond src's edges its edge pixels repeat. Used for pictures drawn
  // at any scale from a larger one (the zoomed map), where a whole-pixel source rectangle
  // would shift each piece by up to a pixel.
  HRESULT SampleBilinear(const RECT& area, CGapiSurface* src, const GDSAMPLING& at);

  // Pixel access for tests and presentation: 0x00RRGGBB.
  DWORD GetPixel(LONG x, LONG y) const;
  // Changes whenever this class's calls may change the pixels or the colour key, and is never
  // the same for two surfaces, so a picture drawn from this one can be kept while it stays.
  std::uint64_t Version() const;
  // Whether the headless drawing record lists what is drawn here.
  bool RecordsDraws() const;
  GapiSurfaceData* Data() const { return m_data; }

 private:
  GapiSurfaceData* m_data;
};

class CGapiDisplay {
 public:
  CGapiDisplay();
  ~CGapiDisplay();
  CGapiDisplay(const CGapiDisplay&) = delete;
  CGapiDisplay& operator=(const CGapiDisplay&) = delete;

  HRESULT OpenDisplay(DWORD flags, HWND hwnd, DWORD width, DWORD height, DWORD opt1, DWORD opt2,
                      DWORD opt3, DWORD opt4);
  HRESULT SetDisplayMode(DWORD mode);
  HRESULT GetHWStatus(DWORD* status);
  HRESULT GetBackBuffer(CGapiSurface* surface);
  HRESULT Flip();
  HRESULT SuspendDisplay();
  HRESULT ResumeDisplay();
  HRESULT CloseDisplay();
  HRESULT SurfacesAreLost();
  HRESULT RestoreAllVideoSurfaces();
  HRESULT DeviceToLogical(POINT* pt);
  CGapiBitmapFont* GetSystemFontBorder();

 private:
  HWND m_hwnd = nullptr;
  DWORD m_width = 0;
  DWORD m_height = 0;
  CGapiSurface* m_backBuffer = nullptr;
  CGapiBitmapFont* m_font = nullptr;
  bool m_open = false;
  bool m_suspended = false;
};

class CGapiInput {
 public:
  HRESULT OpenInput();
  HRESULT CloseInput();
  HRESULT GetKeyList(GDKEYLIST* keys);

 private:
  bool m_open = true;
};

class CGapiTimer {
 public:
  HRESULT StartTimer(DWORD framesPerSecond);
  // Blocks until the next frame is due; GD_FRAME_LATE when it already was.
  HRESULT WaitForNextFrame();
  // The same, but a position fix that arrives meanwhile ends the wait at once with
  // GD_FRAME_FIX (its WM_GPS_NOTIFY is queued); the next frame then stays due as before.
  HRESULT WaitForNextFrameOrFix();

 private:
  // Frame n is due at m_start + n * 1000000 / m_fps microseconds on the platform clock,
  // computed from the start each time so the rounding never adds up.
  DWORD m_fps = 0;
  uint64_t m_start = 0;
  uint64_t m_frame = 0;  // number of the next frame
  bool m_started = false;
};
