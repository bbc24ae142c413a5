// The new-user screen: a name typed on a 10 x 3 on-screen keyboard of three pages (letters,
// then capitals and small letters with accents, each with the digits), confirm and cancel.
#include <cctype>
#include <cstring>
#include <string>

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

POINT NameEntryOrigin(const CPortraitApp& app, const CGapiSurface* backBuffer) {
  POINT size = ImageSize(app.m_nameEntryImage, kNameEntryWidth, kNameEntryHeight);
  return Origin(backBuffer, size.x, size.y);
}

// Characters, not bytes: a UTF-8 continuation byte does not start one.
size_t CharacterCount(const char* text) {
  size_t count = 0;
  for (const char* p = text; *p != '\0'; ++p)
    if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80) ++count;
  return count;
}

// What a key does on a page: its UTF-8 text, or a one-byte text holding kDeleteKey or
// kPageKey.
std::string KeyOn(int page, int row, int column) {
  if (page > 0) {
    if (const char* text = kAccentKeys[page - 1][row][column]) return text;
  }
  return std::string(1, kKeys[row][column]);
}

void PressKey(CPortraitApp& app, const std::string& key) {
  char* name = app.m_newUserName;
  size_t length = std::strlen(name);
  if (key[0] == kPageKey) {
    app.m_keyboardPage = (app.m_keyboardPage + 1) % kKeyPages;
    return;
  }
  if (key[0] == kDeleteKey) {
    // The whole last character, however many bytes it has.
    while (length > 0 && (static_cast<unsigned char>(name[length - 1]) & 0xC0) == 0x80) --length;
    if (length > 0) --length;
    name[length] = '\0';
    return;
  }
  if (CharacterCount(name) >= static_cast<size_t>(NEW_USER_NAME_MAX)) return;
  if (length + key.size() >= sizeof app.m_newUserName) return;
  std::memcpy(name + length, key.c_str(), key.size() + 1);
}

// The keys of the pages after the letters' one, over the letters the picture shows, and the
// page key's label on every page.
void DrawKeyPage(const CPortraitApp& app, CGapiSurface* backBuffer, POINT o) {
  constexpr DWORD kKeyFace = 0xD6DEE6;
  constexpr DWORD kKeyInk = 0x121820;
  constexpr DWORD kPageFace = 0x5C7084;
  const int page = app.m_keyboardPage;
  for (int row = 0; row < kKeyRows; ++row) {
    for (int column = 0; column < kKeyColumns; ++column) {
      // The key's face, inside its bevel.
      const RECT key{o.x + kKeyboard.left + column * kKeyWidth + 1,
                     o.y + kKeyboard.top + row * kKeyHeight + 3,
                     o.x + kKeyboard.left + (column + 1) * kKeyWidth - 1,
                     o.y + kKeyboard.top + (row + 1) * kKeyHeight - 3};
      if (kKeys[row][column] == kPageKey) {
        render::DrawCentredLabel(backBuffer, key, kPageKeyLabels[page], 0xFFFFFF, kPageFace, 8);
        continue;
      }
      if (page == 0 || kAccentKeys[page - 1][row][column] == nullptr) continue;
      const RECT face{key.left + 2, key.top, key.right - 2, key.bottom};
      backBuffer->FillRect(&face, kKeyFace, 0, nullptr);
      render::DrawCentredLabel(backBuffer, key, kAccentKeys[page - 1][row][column], kKeyInk,
                               kKeyFace, 14);
    }
  }
}

// The picture's words; the rest of it has none.
constexpr DWORD kPanelTop = 0x36485C;
constexpr DWORD kPanelHint = 0x35465A;
constexpr DWORD kPanelName = 0x334356;
const render::ArtworkWord kNewUserWords[] = {
    {N_("NEW USER"), {8, 4, 232, 23}, kPanelTop, 0xF4AC28, 0x121820, 16},
    {N_("TYPE A NAME, THEN ADD USER"), {4, 24, 236, 34}, kPanelHint, 0xC8D2DA, kPanelHint, 9},
    {N_("NAME"), {4, 38, 63, 51}, kPanelName, 0xF6F8FA, 0x121820, 9},
    {N_("DEL"), {210, 107, 229, 118}, 0xCE3E32, 0xF6F8FA, 0xCE3E32, 7},
    {N_("DEL"), {210, 136, 229, 147}, 0xCE3E32, 0xF6F8FA, 0xCE3E32, 7},
    {N_("SPC"), {166, 135, 185, 146}, 0x5C7084, 0xF6F8FA, 0x5C7084, 7},
    {N_("ADD USER"), {14, 162, 95, 172}, 0x30A854, 0xF6F8FA, 0x16602C, 9},
    {N_("CANCEL"), {146, 162, 227, 172}, 0x5C7084, 0xF6F8FA, 0x121820, 9},
};

// The one just added is the one the visitor means to choose: it is selected and scrolled
// into view, so that confirming on the list takes it and not whoever was selected before.
void SelectUser(CPortraitApp& app, const CUserContext* user) {
  CXmlItemList* users = app.m_model->m_userList;
  int index = 0;
  for (int slot = users->First(); slot != -1; slot = users->Next(), ++index) {
    if (users->Current() != user) continue;
    app.m_userCount = users->Count();
    app.m_selectedUser = index;
    if (index < app.m_userListTop) app.m_userListTop = index;
    if (index >= app.m_userListTop + kListRows) app.m_userListTop = index - kListRows + 1;
    return;
  }
}

// The name as it reads on the list: without the spaces around it, letters in any case.
std::string Comparable(const char* name) {
  std::string text(name);
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  text = text.substr(begin, text.find_last_not_of(' ') - begin + 1);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Two rows reading the same name would let a visitor take on a stranger's history.
bool NameTaken(CXmlItemList* users, const std::string& name) {
  for (int slot = users->First(); slot != -1; slot = users->Next()) {
    if (Comparable(static_cast<const CUserContext*>(users->Current())->m_username) == name)
      return true;
  }
  return false;
}

}  // namespace

void DrawNewUserScreen(CPortraitApp& app, CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  POINT o = NameEntryOrigin(app, backBuffer);
  backBuffer->BltFast(o.x, o.y, &app.m_nameEntryImage, nullptr, 0, nullptr);
  render::DrawArtworkWords(backBuffer, o, kNewUserWords);
  DrawKeyPage(app, backBuffer, o);
  backBuffer->DrawTextA(o.x + kNameText.x, o.y + kNameText.y, app.m_newUserName, font,
                        GDDRAWTEXT_LEFT, nullptr, 0, nullptr);
  if (app.m_newUserNotice != nullptr) {
    backBuffer->DrawTextA(o.x + kNoticeText.x, o.y + kNoticeText.y, tr::Text(app.m_newUserNotice),
                          font, GDDRAWTEXT_CENTER, nullptr, 0, nullptr);
  }
}

void NewUserScreenTap(CPortraitApp& app, LONG x, LONG y) {
  POINT o = NameEntryOrigin(app, &app.m_backBuffer);
  if (Hit(kNameConfirm, o, x, y)) {
    const std::string name = Comparable(app.m_newUserName);
    CXmlItemList* users = app.m_model->m_userList;
    if (name.empty()) {
      app.m_newUserNotice = kNoticeEmptyName;
      return;
    }
    if (users != nullptr && NameTaken(users, name)) {
      app.m_newUserNotice = kNoticeNameTaken;
      return;
    }
    app.m_newUserNotice = nullptr;
    // A kiosk refuses nobody: a full users file is archived and a new one started.
    if (app.Kiosk() && users != nullptr && users->Count() >= LIST_CAPACITY) app.RotateUsersFile();
    // A full list refuses the user; the screen goes on as after an addition.
    if (CUserContext* added = app.m_model->AddNewUser(app.m_newUserName)) {
      if (app.m_languageChosen) added->SetLanguage(app.m_model->Language().c_str());
      SelectUser(app, added);
    }
    app.m_mode = MODE_USER_LIST;
  } else if (Hit(kNameCancel, o, x, y)) {
    app.m_mode = MODE_USER_LIST;
    app.m_newUserName[0] = '\0';
    app.m_newUserNotice = nullptr;
  } else if (Hit(kKeyboard, o, x, y)) {
    app.m_newUserNotice = nullptr;  // read and acted on
    int column = (x - (o.x + kKeyboard.left)) / kKeyWidth;
    int row = (y - (o.y + kKeyboard.top)) / kKeyHeight;
    if (column >= 0 && column < kKeyColumns && row >= 0 && row < kKeyRows)
      PressKey(app, KeyOn(app.m_keyboardPage, row, column));
  }
}
