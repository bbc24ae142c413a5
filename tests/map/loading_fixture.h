// A model on its own, without a display: what the loading steps see before anything is
// drawn. Lists are created empty, as project loading leaves them for an empty project.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

class LoadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    model = std::make_unique<CPortrait>(nullptr, GetModuleHandleA(nullptr), 800, 600);
    model->m_systemList = new CXmlItemList;
    model->m_regionList = new CXmlItemList;
    model->m_contentList = new CXmlItemList;
  }

  CSystemItem* AddSystem(const char* mapFile = "") {
    CSystemItem s;
    std::strncpy(s.m_mapFilename, mapFile, sizeof s.m_mapFilename - 1);
    return static_cast<CSystemItem*>(model->m_systemList->At(model->m_systemList->Add(s)));
  }

  CRegionItem* AddRegion(int id, double gpsX, double gpsY) {
    CRegionItem r;
    r.m_id = id;
    r.m_gpsX = gpsX;
    r.m_gpsY = gpsY;
    return static_cast<CRegionItem*>(model->m_regionList->At(model->m_regionList->Add(r)));
  }

  CContentItem* AddContent(int id, int regionId, const char* video = "",
                           const char* thumbnail = "") {
    CContentItem c;
    c.m_id = id;
    c.m_regionId = regionId;
    std::strncpy(c.m_filename, video, sizeof c.m_filename - 1);
    std::strncpy(c.m_thumbnail, thumbnail, sizeof c.m_thumbnail - 1);
    return static_cast<CContentItem*>(model->m_contentList->At(model->m_contentList->Add(c)));
  }

  std::unique_ptr<CPortrait> model;
};

// "left,top,right,bottom", for comparisons that print well.
inline std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}
