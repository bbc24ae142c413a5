// Small projects built in memory for the drawing and triggering tests: a model on an
// 800x600 headless display, records added straight into its lists, plain coloured icons.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/graphics/gapi.h"
#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

namespace testmodel {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CorvaneModelTest";
    RegisterClassA(&wc);  // 0 when an earlier test registered it
    window = CreateWindowExA(0, wc.lpszClassName, "model test", WS_CAPTION, 0, 0, 0, 0, nullptr,
                             nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(display.OpenDisplay(0, window, kWidth, kHeight, 0, 0, 0, 0), GD_OK);
    ASSERT_EQ(display.GetBackBuffer(&back), GD_OK);
    font = display.GetSystemFontBorder();
    model = std::make_unique<CPortrait>(window, GetModuleHandleA(nullptr), kWidth, kHeight);
    model->m_systemList = new CXmlItemList;
    model->m_regionList = new CXmlItemList;
    model->m_contentList = new CXmlItemList;
    model->m_userList = new CXmlItemList;
  }

  void TearDown() override {
    model.reset();
    display.CloseDisplay();
    if (window != nullptr) DestroyWindow(window);
  }

  // The map: 800x600, a flat colour, centred view and user as map loading leaves them.
  void AddMap(DWORD colour = 0x3C8C50) {
    auto* map = new CGapiSurface;
    ASSERT_EQ(map->CreateSurface(GDSURFACE_SYSTEMMEMORY, kWidth, kHeight), GD_OK);
    map->FillRect(nullptr, colour, 0, nullptr);
    model->m_mapSurface = map;
    model->m_mapSize.Set(kWidth, kHeight);
    model->m_viewCentre.Set(kWidth / 2, kHeight / 2);
    SetRect(&model->m_viewRect, 0, 0, kWidth, kHeight);
    model->m_userPos.Set(kWidth / 2, kHeight / 2);
  }

  CSystemItem* AddSystem(double radius, int relMask = 0) {
    CSystemItem s;
    s.m_radius = radius;
    s.m_right = 1.0;
    s.m_bottom = 1.0;
    s.m_themeRels = (relMask & REL_THEMES) != 0;
    s.m_characterRels = (relMask & REL_CHARACTERS) != 0;
    s.m_locationRels = (relMask & REL_LOCATIONS) != 0;
    s.m_timeRels = (relMask & REL_TIMES) != 0;
    return static_cast<CSystemItem*>(model->m_systemList->At(model->m_systemList->Add(s)));
  }

  CRegionItem* AddRegion(int id, double x, double y, int contentCount = 1) {
    CRegionItem r;
    r.m_id = id;
    auto* stored =
        static_cast<CRegionItem*>(model->m_regionList->At(model->m_regionList->Add(r)));
    stored->m_screenX = x;
    stored->m_screenY = y;
    stored->m_contentCount = contentCount;
    return stored;
  }

  // Icons: one surface per index, each filled with its own colour.
  void MakeIcons(const std::vector<std::pair<int, int>>& sizes) {
    delete[] model->m_iconSurfaces;
    model->m_iconSurfaces = new CGapiSurface[sizes.size()];
    model->m_iconSurfaceCount = static_cast<int>(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
      CGapiSurface& s = model->m_iconSurfaces[i];
      ASSERT_EQ(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, sizes[i].first, sizes[i].second), GD_OK);
      s.FillRect(nullptr, IconColour(static_cast<int>(i)), 0, nullptr);
      s.SetColorKey(0xFF00FF);
    }
  }
  static DWORD IconColour(int index) { return 0x102030 + 0x0A0B0C * static_cast<DWORD>(index); }

  CContentItem* AddContent(int id, int regionId, double x, double y, int iconIndex,
                           const char* file = "clip.mp4") {
    CContentItem c;
    c.m_id = id;
    c.m_regionId = regionId;
    std::strncpy(c.m_filename, file, sizeof c.m_filename - 1);
    auto* stored =
        static_cast<CContentItem*>(model->m_contentList->At(model->m_contentList->Add(c)));
    stored->m_screenX = x;
    stored->m_screenY = y;
    stored->m_iconIndex = iconIndex;
    return stored;
  }

  CUserContext* AddUser(int id, const char* name, double duration = 0.0) {
    CUserContext u;
    u.m_id = id;
    std::strncpy(u.m_username, name, sizeof u.m_username - 1);
    u.m_duration = duration;
    return static_cast<CUserContext*>(model->m_userList->At(model->m_userList->Add(u)));
  }

  // Renders one frame and returns the calls it made.
  const std::vector<headless::DrawCall>& RenderFrame() {
    headless::SetDrawRecording(true);
    headless::ClearDrawCalls();
    model->Render(&back, font);
    return headless::DrawCalls();
  }

  HWND window = nullptr;
  CGapiDisplay display;
  CGapiSurface back;
  CGapiBitmapFont* font = nullptr;
  std::unique_ptr<CPortrait> model;
};

// Calls of one kind, in order.
inline std::vector<headless::DrawCall> CallsOf(const std::vector<headless::DrawCall>& calls,
                                               const std::string& name) {
  std::vector<headless::DrawCall> out;
  for (const auto& c : calls) {
    if (c.call == name) out.push_back(c);
  }
  return out;
}

// Calls drawing from one source surface, in order.
inline std::vector<headless::DrawCall> CallsFrom(const std::vector<headless::DrawCall>& calls,
                                                 const CGapiSurface* source) {
  std::vector<headless::DrawCall> out;
  for (const auto& c : calls) {
    if (c.source == source) out.push_back(c);
  }
  return out;
}

inline std::vector<std::string> Texts(const std::vector<headless::DrawCall>& calls) {
  std::vector<std::string> out;
  for (const auto& c : calls) {
    if (c.call == "DrawTextA") out.push_back(c.text);
  }
  return out;
}

// "left,top,right,bottom", for comparisons that print well.
inline std::string Str(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

}  // namespace testmodel
