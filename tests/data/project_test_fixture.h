// A model object on the headless backend for the project and users file tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/xml_item_list.h"
#include "data_test_util.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

class ProjectFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    model = MakeModel();
  }
  static std::unique_ptr<CPortrait> MakeModel() {
    return std::make_unique<CPortrait>(nullptr, GetModuleHandleA(nullptr), 800, 600);
  }
  // The project as SaveProjectFile writes it.
  static std::string Saved(CPortrait& m, const datatest::ScratchDir& dir) {
    const std::string out = dir.Path("saved.xml");
    EXPECT_TRUE(m.SaveProjectFile(out.c_str()));
    return datatest::ReadAll(out);
  }
  static int CountOf(CXmlItemList* list) { return list == nullptr ? 0 : list->Count(); }

  datatest::ScratchDir dir;
  std::unique_ptr<CPortrait> model;
};
