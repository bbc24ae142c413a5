// The user selection screen: 25 rows of names with a highlight, a scroll bar, and the
// confirm and new-user buttons.
#include "app/portrait_app.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "interact/user_screen_layout.h"
#include "interact/user_screens.h"
#include "map/portrait.h"
#include "map/render/artwork_words.h"
#include "platform/text/tr.h"

using namespace user_screen;

namespace {

POINT ListOrigin(const CPortraitApp& app, const CGapiSurface* backBuffer) {
  POINT size = ImageSize(app.m_userListImage, kUserListWidth, kUserListHeight);
  return Origin(backBuffer, size.x, size.y);
}

// One past the last row shown: at most a page of names from the top row.
int EndRow(const CPortraitApp& app) {
  if (app.m_userCount - app.m_userListTop > kListRows) return app.m_userListTop + kListRows;
  return app.m_userCount;
}

CUserContext* UserAt(CXmlItem* item) {
  return item && item->Kind() == KIND_USER ? static_cast<CUserContext*>(item) : nullptr;
}

void DrawScrollBar(const CPortraitApp& app, CGapiSurface* backBuffer, POINT o, int end) {
  GDFILLRECTFX translucent{kHighlightOpacity, 0};
  RECT track = Shifted(kScrollTrack, o);
  if (app.m_userCount <= kListRows) {
    // Everything fits: the bar is greyed out.
    backBuffer->FillRect(&track, 0, GDFILLRECT_OPACITY, &translucent);
    return;
  }
  double step = static_cast<double>(kScrollTrack.bottom - kScrollTrack.top) / app.m_userCount;
  RECT thumb{track.left + 1, track.top + static_cast<LONG>(app.m_userListTop * step),
             track.right - 1, track.bottom - static_cast<LONG>((app.m_userCount - end) * step)};
  backBuffer->FillRect(&thumb, kThumbColour, 0, nullptr);
  backBuffer->DrawRect(&thumb, 0, 0, nullptr);
}

// The picture's words; the rest of it has none.
const render::ArtworkWord kUserListWords[] = {
    {N_("CHOOSE USER"), {8, 6, 232, 25}, 0x37495C, 0xF4AC28, 0x121820, 16},
    {N_("TAP A NAME, THEN SELECT"), {4, 283, 236, 294}, 0x243140, 0xC8D2DA, 0x243140, 9},
    {N_("SELECT"), {14, 297, 95, 307}, 0x30A854, 0xF6F8FA, 0x16602C, 9},
    {N_("NEW USER"), {145, 297, 228, 307}, 0xF4AC28, 0x121820, 0xF4AC28, 8},
};

}  // namespace

void DrawUserListScreen(CPortraitApp& app, CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  CXmlItemList* users = app.m_model->m_userList;
  app.m_userCount = users->Count();
  POINT o = ListOrigin(app, backBuffer);
  backBuffer->BltFast(o.x, o.y, &app.m_userListImage, nullptr, 0, nullptr);
  render::DrawArtworkWords(backBuffer, o, kUserListWords);

  RECT list = Shifted(kListBox, o);
  int end = EndRow(app);
  int i = 0;
  for (int slot = users->First(); slot != -1 && i < end; slot = users->Next(), ++i) {
    if (i < app.m_userListTop) continue;
    CUserContext* user = UserAt(users->Current());
    if (!user) continue;
    backBuffer->DrawTextA(list.left + 5, list.top + (i - app.m_userListTop) * kRowHeight + 2,
                          user->m_username, font, GDDRAWTEXT_LEFT, nullptr, 0, nullptr);
  }

  if (app.m_selectedUser >= app.m_userListTop && app.m_selectedUser < end) {
    LONG top = list.top + (app.m_selectedUser - app.m_userListTop) * kRowHeight;
    RECT row{list.left, top, list.right, top + kRowHeight};
    GDFILLRECTFX translucent{kHighlightOpacity, 0};
    backBuffer->FillRect(&row, 0, GDFILLRECT_OPACITY, &translucent);
  }
  DrawScrollBar(app, backBuffer, o, end);
}

namespace {

// The record of the selected row, or null when the list is shorter.
CUserContext* SelectedUser(const CPortraitApp& app) {
  CXmlItemList* users = app.m_model->m_userList;
  int i = 0;
  for (int slot = users->First(); slot != -1; slot = users->Next(), ++i)
    if (i == app.m_selectedUser) return UserAt(users->Current());
  return nullptr;
}

// Until a language is tapped, the screen speaks the selected visitor's: the one they chose
// before, else the system's.
void ShowLanguageOf(CPortraitApp& app) {
  if (app.m_languageChosen) return;
  const CUserContext* user = SelectedUser(app);
  app.m_model->SetLanguage(user != nullptr && user->m_hasLanguage
                               ? app.m_model->StoredLanguage(user)
                               : app.m_model->m_systemLanguage);
}

void ConfirmUser(CPortraitApp& app) {
  CPortrait* model = app.m_model;
  app.m_mode = MODE_MAP;
  CUserContext* chosen = SelectedUser(app);
  // A language tapped on these screens goes with the visitor; one who chose before gets
  // theirs back (the tour's own when the tour no longer has it).
  const bool tapped = app.m_languageChosen;
  app.m_languageChosen = false;
  if (chosen != nullptr) {
    if (tapped) chosen->SetLanguage(model->Language().c_str());
    model->SetLanguage(chosen->m_hasLanguage ? model->StoredLanguage(chosen)
                       : tapped              ? model->Language()
                                             : model->m_systemLanguage);
  }
  // Written before the chosen user becomes current, so the file holds the previous user's
  // clock without the visit that is still running. A file that will not open is skipped.
  model->SaveUsersFile();
  if (chosen == nullptr) return;  // fewer users than the selection: nobody changes
  model->SetCurrentUser(chosen);
  model->ClearRelatedMarks();
}

}  // namespace

void UserListScreenTap(CPortraitApp& app, LONG x, LONG y) {
  POINT o = ListOrigin(app, &app.m_backBuffer);
  if (Hit(kListConfirm, o, x, y)) {
    ConfirmUser(app);
  } else if (Hit(kNewUser, o, x, y)) {
    app.m_mode = MODE_NEW_USER;
    app.m_newUserName[0] = '\0';
    app.m_keyboardPage = 0;
    app.m_newUserNotice = nullptr;
  } else if (Hit(kScrollUp, o, x, y)) {
    if (app.m_userListTop >= 1) --app.m_userListTop;
  } else if (Hit(kScrollDown, o, x, y)) {
    if (app.m_userListTop < app.m_userCount - kListRows) ++app.m_userListTop;
  } else if (Hit(kListBox, o, x, y)) {
    int row = (y - (o.y + kListBox.top)) / kRowHeight;
    if (row >= 0 && row < kListRows && app.m_userListTop + row < app.m_userCount) {
      app.m_selectedUser = app.m_userListTop + row;
      ShowLanguageOf(app);
    }
  }
}
