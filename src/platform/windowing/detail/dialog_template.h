// Dialog templates: the text form kept in res/ (<id>_<name>.dlg, resource type "DIALOG"),
// its parsed shape, and the conversion from dialog units to pixels shared by both backends.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windowing/win_types.h"

// Button styles (low four bits of a button control's style) and notification.
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_CHECKBOX = 0x2;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_TYPEMASK = 0xF;
constexpr WORD BN_CLICKED = 0;

constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_SETFONT = 0x40;

namespace platform {

enum class DialogControlKind { PushButton, DefaultPushButton, CheckBox, AutoCheckBox, Unsupported };

struct DialogControlTemplate {
  int id = 0;
  std::string className;  // upper case, e.g. "BUTTON"
  DWORD style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::string text;

  DialogControlKind Kind() const;
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::string caption;
  int fontPoints = 8;
  std::string fontName;
  std::vector<DialogControlTemplate> controls;

  const DialogControlTemplate* FindControl(int id) const;
};

// Parses the text form. On failure returns nullopt and, when asked, says which line and why.
std::optional<DialogTemplate> ParseDialogTemplate(std::string_view text,
                                                  std::string* error = nullptr);

// The template of a resource id (MAKEINTRESOURCEA) or name, from the embedded resources.
std::optional<DialogTemplate> LoadDialogTemplate(HINSTANCE instance, const char* name);

// Dialog base units: the average character width and the height of the dialog's font.
struct DialogBaseUnits {
  int x = 0;
  int y = 0;
};
// Horizontal units are quarters of the base width, vertical ones eighths of the base height,
// each rounded to the nearest pixel.
RECT DialogUnitsToPixels(int x, int y, int cx, int cy, DialogBaseUnits base);
// The average width the way the windowing system derives it: the width of the 52 letters
// A-Z a-z, halved and divided by 26 with rounding.
int AverageCharWidth(int widthOfAlphabet);

}  // namespace platform
