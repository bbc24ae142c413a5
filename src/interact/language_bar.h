// The row of language buttons on the user screens and under the open menu: the tour's own
// texts first, then each language the tour has.
#pragma once

#include <string>
#include <vector>

#include "platform/graphics/gapi.h"
#include "platform/windowing/win_types.h"

class CTourTexts;

struct LanguageBar {
  std::vector<std::string> codes;  // "" (the tour's own) first
  std::vector<RECT> boxes;         // one per code; none when the tour has only its own
};

// The bar centred on centreX with its top at top.
LanguageBar LayoutLanguageBar(const CTourTexts& texts, LONG centreX, LONG top);
// Each button with its language's own name; the one of active stands out.
void DrawLanguageBar(CGapiSurface* back, const LanguageBar& bar, const std::string& active);
// The index of the button under (x, y), or -1.
int LanguageBarHit(const LanguageBar& bar, LONG x, LONG y);
// What a button says: the language's own name, "Original" (in the program's language) for
// the tour's own.
std::string LanguageLabel(const std::string& code);

constexpr LONG kLanguageBarHeight = 20;
