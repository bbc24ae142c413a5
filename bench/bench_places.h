// Places and icons on grids for the frame benchmarks: regions 48 pixels apart in rows of 16,
// and as many keyed 35 x 26 icons, each item in an entered place.
#pragma once

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"

namespace bench {

// Replaces the model's regions, items and icons.
inline void GridPlaces(CPortrait* model, int regions, int icons) {
  delete model->m_regionList;
  delete model->m_contentList;
  delete[] model->m_iconSurfaces;
  model->m_regionList = new CXmlItemList;
  model->m_contentList = new CXmlItemList;
  for (int i = 0; i < regions; ++i) {
    CRegionItem region;
    region.m_id = i + 1;
    auto* r = static_cast<CRegionItem*>(model->m_regionList->At(model->m_regionList->Add(region)));
    r->m_screenX = 40 + (i % 16) * 48;
    r->m_screenY = 40 + (i / 16) * 68;
    r->m_contentCount = 1 + i % 6;
  }
  model->m_iconSurfaces = new CGapiSurface[icons > 0 ? icons : 1];
  model->m_iconSurfaceCount = icons;
  for (int i = 0; i < icons; ++i) {
    CGapiSurface& s = model->m_iconSurfaces[i];
    s.CreateSurface(GDSURFACE_SYSTEMMEMORY, 35, 26);
    s.FillRect(nullptr, 0x208040 + static_cast<DWORD>(i), 0, nullptr);
    const RECT key{32, 0, 35, 2};
    s.FillRect(&key, 0xFF00FF, 0, nullptr);
    s.SetColorKey(0xFF00FF);
    CContentItem item;
    item.m_id = i + 1;
    auto* c = static_cast<CContentItem*>(model->m_contentList->At(model->m_contentList->Add(item)));
    c->m_screenX = 30 + (i % 16) * 48;
    c->m_screenY = 30 + (i / 16) * 70;
    c->m_iconIndex = i;
    c->m_inActiveRegion = true;
  }
}

}  // namespace bench
