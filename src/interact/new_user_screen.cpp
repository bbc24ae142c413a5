// The new-user screen: a name typed on a 10 x 3 on-screen keyboard, confirm and cancel.
#include <cctype>
#include <cstring>
#include <string>

#include "app/portrait_app.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "interact/user_screen_layout.h"
#include "interact/user_screens.h"
#include "map/portrait.h"

using namespace user_screen;

namespace {

POINT NameEntryOrigin(const CPortraitApp& app, const CGapiSurface* backBuffer) {
  POINT size = ImageSize(app.m_nameEntryImage, kNameEntryWidth, kNameEntryHeight);
  return Origin(backBuffer, size.x, size.y);
}

void PressKey(char* name, char key) {
  size_t length = std::strlen(name);
  if (key == kDeleteKey) {
    if (length > 0) name[length - 1] = '\0';
    return;
  }
  if (length >= static_cast<size_t>(NEW_USER_NAME_MAX)) return;
  name[length] = key;
  name[length + 1] = '\0';
}

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
  backBuffer->DrawTextA(o.x + kNameText.x, o.y + kNameText.y, app.m_newUserName, font,
                        GDDRAWTEXT_LEFT, nullptr, 0, nullptr);
  if (app.m_newUserNotice != nullptr) {
    backBuffer->DrawTextA(o.x + kNoticeText.x, o.y + kNoticeText.y, app.m_newUserNotice, font,
                          GDDRAWTEXT_CENTER, nullptr, 0, nullptr);
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
      PressKey(app.m_newUserName, kKeys[row][column]);
  }
}
