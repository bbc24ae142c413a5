// Laying out, drawing and hitting the language buttons.
#include "interact/language_bar.h"

#include <algorithm>

#include "guide/tour_texts.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

namespace {
constexpr int kLabelPixels = 12;
constexpr LONG kMinButtonWidth = 64;
constexpr LONG kGap = 4;
constexpr DWORD kButtonColour = 0x303030;
constexpr DWORD kActiveColour = 0x2060C0;
constexpr DWORD kEdgeColour = 0xFFFFFF;
}  // namespace

std::string LanguageLabel(const std::string& code) {
  // TRANSLATORS: the button of a tour's own language, the one its author wrote it in.
  return code.empty() ? std::string(_("Original")) : tr::LanguageName(code);
}

LanguageBar LayoutLanguageBar(const CTourTexts& texts, LONG centreX, LONG top) {
  LanguageBar bar;
  if (texts.Languages().empty()) return bar;
  bar.codes.push_back("");
  bar.codes.insert(bar.codes.end(), texts.Languages().begin(), texts.Languages().end());
  std::vector<LONG> widths;
  LONG total = 0;
  for (const std::string& code : bar.codes) {
    const LONG w = std::max<LONG>(kMinButtonWidth,
                                  LegibleTextWidth(LanguageLabel(code).c_str(), kLabelPixels) + 8);
    widths.push_back(w);
    total += w + kGap;
  }
  LONG x = centreX - (total - kGap) / 2;
  for (const LONG w : widths) {
    bar.boxes.push_back(RECT{x, top, x + w, top + kLanguageBarHeight});
    x += w + kGap;
  }
  return bar;
}

void DrawLanguageBar(CGapiSurface* back, const LanguageBar& bar, const std::string& active) {
  for (size_t i = 0; i < bar.boxes.size(); ++i) {
    RECT box = bar.boxes[i];
    back->FillRect(&box, bar.codes[i] == active ? kActiveColour : kButtonColour, 0, nullptr);
    back->DrawRect(&box, kEdgeColour, 0, nullptr);
    GDTEXTSTYLE style;
    style.pixels = kLabelPixels;
    style.align = GDDRAWTEXT_CENTER;
    const std::string label =
        FitLegibleText(LanguageLabel(bar.codes[i]).c_str(), kLabelPixels, box.right - box.left - 4);
    back->DrawLegibleText((box.left + box.right) / 2,
                          box.top + (kLanguageBarHeight - LegibleLineHeight(kLabelPixels)) / 2,
                          label.c_str(), style);
  }
}

int LanguageBarHit(const LanguageBar& bar, LONG x, LONG y) {
  for (size_t i = 0; i < bar.boxes.size(); ++i)
    if (PtInRect(&bar.boxes[i], POINT{x, y})) return static_cast<int>(i);
  return -1;
}
