// libFuzzer target for the XML scanner and every record's Parse: each input is read as a
// whole file by all nine record kinds, the records go through a list and are written back.
// Built by fuzz/build_data_fuzzer.sh with clang, ASan and UBSan.
#include <cstdint>
#include <cstdio>

#include "data/character_item.h"
#include "data/content_item.h"
#include "data/location_item.h"
#include "data/region_item.h"
#include "data/relationship_item.h"
#include "data/system_item.h"
#include "data/theme_item.h"
#include "data/time_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "data/xml_scan.h"
#include "platform/windowing/win_api.h"

// The records need only these two calls of the platform layer.
BOOL MessageBeep(UINT) { return TRUE; }
DWORD timeGetTime() { return 0; }

namespace {

template <typename Record>
void ParseAll(FILE* in, FILE* out) {
  rewind(in);
  Record record;
  CXmlItemList list;
  while (record.Parse(in) != -1) list.Add(record);
  list.Write(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (in == nullptr) return 0;
  FILE* out = fopen("/dev/null", "w");
  ParseAll<CSystemItem>(in, out);
  ParseAll<CRegionItem>(in, out);
  ParseAll<CContentItem>(in, out);
  ParseAll<CRelationshipItem>(in, out);
  ParseAll<CCharacterItem>(in, out);
  ParseAll<CLocationItem>(in, out);
  ParseAll<CThemeItem>(in, out);
  ParseAll<CTimeItem>(in, out);
  ParseAll<CUserContext>(in, out);
  fclose(out);
  fclose(in);
  return 0;
}
