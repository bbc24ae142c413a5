// An application object with its window and 800 x 600 display open on the headless backend,
// a model with a user list, and the two screen backdrops at their shipped sizes, so that the
// user list is centred at (280, 140) and the name entry at (280, 208).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/portrait_app.h"
#include "data/content_item.h"
#include "data/system_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"
#include "support/files.h"
#include "support/scratch_folder.h"

namespace usertest {

constexpr LONG kListX = 280;
constexpr LONG kListY = 140;
constexpr LONG kEntryX = 280;
constexpr LONG kEntryY = 208;

class UserScreenFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::ResetAll();
    app = std::make_unique<CPortraitApp>(apptest::ProgramConfig());
    ASSERT_EQ(app->CreateMainWindow(), 0);
    ASSERT_EQ(app->OpenDisplay(), 0);
    app->m_instance = GetModuleHandleA(nullptr);
    ASSERT_EQ(app->m_userListImage.CreateSurface(GDSURFACE_SYSTEMMEMORY, 240, 320), 0);
    ASSERT_EQ(app->m_nameEntryImage.CreateSurface(GDSURFACE_SYSTEMMEMORY, 240, 185), 0);
    app->m_model = new CPortrait(app->m_hWnd, app->m_instance, 800, 600);
    model = app->m_model;
    model->m_userList = new CXmlItemList;
    // The users file lies beside the project, as only such a file is written.
    usersPath = scratch.Path("users.xml");
    const std::string project = scratch.Path("project.xml");
    std::snprintf(model->m_projectPath, sizeof model->m_projectPath, "%s", project.c_str());
    model->m_systemList = new CXmlItemList;
    CSystemItem system;
    system.SetUserFilename(usersPath.c_str());
    model->m_systemList->Add(system);
    headless::ClearDrawCalls();
  }

  void TearDown() override {
    app->CloseDisplay();
    app->CloseWindow();
    apptest::DrainMessages();
    app.reset();
    std::remove(usersPath.c_str());
  }

  CUserContext* AddUser(int id, const std::string& name) {
    CUserContext user;
    user.Reset();
    user.SetId(id);
    user.SetUsername(name.c_str());
    int slot = model->m_userList->Add(user);
    return slot < 0 ? nullptr : static_cast<CUserContext*>(model->m_userList->At(slot));
  }
  void AddUsers(int count) {
    for (int i = 0; i < count; ++i) AddUser(i, "U" + std::to_string(i));
  }
  CUserContext* UserAt(int index) {
    int i = 0;
    for (int slot = model->m_userList->First(); slot != -1; slot = model->m_userList->Next(), ++i)
      if (i == index) return static_cast<CUserContext*>(model->m_userList->Current());
    return nullptr;
  }

  void Draw() {
    headless::ClearDrawCalls();
    app->DrawUserScreen(&app->m_backBuffer);
  }
  // A tap at a point given relative to the screen's backdrop.
  void TapList(LONG x, LONG y) { app->UserScreenTap(kListX + x, kListY + y); }
  void TapEntry(LONG x, LONG y) { app->UserScreenTap(kEntryX + x, kEntryY + y); }

  std::vector<headless::DrawCall> Calls(const std::string& name) const {
    std::vector<headless::DrawCall> out;
    for (const headless::DrawCall& c : headless::DrawCalls())
      if (c.call == name) out.push_back(c);
    return out;
  }

  std::string UsersFile() const { return testsupport::ReadAll(usersPath); }
  bool UsersFileExists() const { return std::ifstream(usersPath).good(); }

  testsupport::ScratchFolder scratch{"corvane-users"};
  std::unique_ptr<CPortraitApp> app;
  CPortrait* model = nullptr;
  std::string usersPath;
};

inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace usertest
