// A model on the 800x600 headless display with a small project built in memory, handed to
// an application object whose handlers receive the taps, drags and keys of the tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/app_test_support.h"
#include "app/portrait_app.h"
#include "support/model_builder.h"

namespace inputtest {

class InputTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    testmodel::ModelTest::SetUp();
    AddMap();
    system = AddSystem(30.0);
    // The map's GPS rectangle: 0.4 degrees wide, 0.3 high, north at the top.
    model->m_gpsTopLeft.Set(-1.2945, 51.5225);
    model->m_gpsBottomRight.Set(-0.8945, 51.2225);
    MakeIcons({{35, 26}, {35, 26}});
    app = std::make_unique<CPortraitApp>(apptest::ProgramConfig());
    app->m_model = model.get();
    app->m_mode = MODE_MAP;
    app->m_instance = GetModuleHandleA(nullptr);
  }

  void TearDown() override {
    app->m_model = nullptr;  // the fixture owns the model
    app.reset();
    testmodel::ModelTest::TearDown();
  }

  // A whole tap: press, then release at the same point.
  void Tap(int x, int y) {
    app->StylusDown(x, y);
    app->StylusUp(x, y);
  }
  void Key(UINT vk) { app->KeyDown(vk, nullptr); }

  // Screen point of a map point under the current view.
  int ScreenX(double mapX) const { return static_cast<int>(mapX) - model->m_viewRect.left; }
  int ScreenY(double mapY) const { return static_cast<int>(mapY) - model->m_viewRect.top; }

  CSystemItem* system = nullptr;
  std::unique_ptr<CPortraitApp> app;
};

}  // namespace inputtest
