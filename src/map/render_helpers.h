// Rectangle helpers of the main view and the fixed set of drawing calls it makes.
#pragma once

#include "platform/graphics/gapi.h"
#include "platform/windowing/win_types.h"

// Clips rectangle `mapRect` (map pixels) against the view `view`. `dest` receives the visible
// part in screen pixels, `src` the same part relative to mapRect's own top-left corner.
// A rectangle that only touches the view's edge is "visible" with an empty part. On false,
// dest and src may be partly written.
bool ClipToView(RECT view, RECT mapRect, RECT* dest, RECT* src);

// A map distance or position as whole pixels, held to +-2^24 so that sums of a few of them
// stay in an int: a project may give a radius of 1e31, and nothing that far is ever seen.
// Not a number gives 0.
int ToPixel(double value);

// The 25x25 cell of menu button (column, row) on the 30-pixel pitch; false outside 8 x 2.
bool GetMenuCellRect(int column, int row, RECT* out);

// The drawing calls of the main view, each with its fixed flags and effect record.
namespace render {

constexpr DWORD kGreyBackground = 0x606060;
constexpr DWORD kGrey = 0x808080;
constexpr DWORD kDarkGrey = 0x202020;
constexpr DWORD kBlack = 0x000000;
constexpr DWORD kRed = 0xFF0000;
constexpr DWORD kBlue = 0x0000FF;

void Copy(CGapiSurface* back, int x, int y, CGapiSurface* src);
void KeyedCopy(CGapiSurface* back, int x, int y, CGapiSurface* src);
void KeyedCopyAt(CGapiSurface* back, int x, int y, CGapiSurface* src, DWORD opacity);
void KeyedBlit(CGapiSurface* back, const RECT& dest, CGapiSurface* src, const RECT& srcRect);
void KeyedBlitAt(CGapiSurface* back, const RECT& dest, CGapiSurface* src, const RECT& srcRect,
                 DWORD opacity);
// rect null fills the whole surface
void Fill(CGapiSurface* back, const RECT* rect, DWORD color);
void TranslucentFill(CGapiSurface* back, const RECT& rect, DWORD color);
void Frame(CGapiSurface* back, const RECT& rect, DWORD color);
void Line(CGapiSurface* back, int x1, int y1, int x2, int y2, DWORD color);
void ShadowLine(CGapiSurface* back, int x1, int y1, int x2, int y2, DWORD opacity);
void FaintLine(CGapiSurface* back, int x1, int y1, int x2, int y2, DWORD color, DWORD opacity);
void CentredText(CGapiSurface* back, int x, int y, const char* text, CGapiBitmapFont* font);

}  // namespace render
