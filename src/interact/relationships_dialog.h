// The Set Relationships dialog: four check boxes for the relationship kinds in force.
#pragma once

#include <cstdint>

#include "platform/windowing/win_types.h"

constexpr int IDD_RELATIONSHIPS = 113;
constexpr int IDC_LOCATION = 1000;
constexpr int IDC_THEMES = 1001;
constexpr int IDC_CHARACTERS = 1002;
constexpr int IDC_TIMES = 1003;

// The dialog procedure. WM_INITDIALOG takes the relationship mask as lParam; OK ends the
// dialog with the mask of the checked boxes plus one (1 to 16), Cancel with 0.
intptr_t RelationshipsDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
