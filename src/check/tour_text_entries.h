// The translatable texts of a tour: place names, item titles, and the titles of media files
// for items without one, each with the record and line it comes from.
#pragma once

#include <string>
#include <vector>

#include "check/line_scan.h"

class CXmlItemList;

struct TourTextEntry {
  std::string text;    // as shown (entities decoded, spaces trimmed): the catalogue's msgid
  std::string origin;  // the record it belongs to: "region 3", "content 7"
  std::string what;    // "place name", "title", "title of video/item07.mp4"
  int line = 0;        // in the project file
  int regionId = -1;   // for a place name
  int contentId = -1;  // for a title
};

// The entries in file order: each region's name, then each item's title (its own, else its
// media file's, read with mediaTitle). Empty texts are left out.
std::vector<TourTextEntry> TourTextEntries(CXmlItemList* regions, CXmlItemList* contents,
                                           const CLineScan& scan,
                                           std::string (*mediaTitle)(const char* storedName,
                                                                     void* context),
                                           void* context);

// The title tag of the media file storedName names, found in the folder context points to
// (a std::string, the project's real folder); empty when it lies outside or has none.
std::string MediaTitleInFolder(const char* storedName, void* context);

// A PO template of the entries: one entry per text, with a "#." line for each record that
// shows it and a "#:" line with its places (file:line).
std::string PoTemplate(const std::vector<TourTextEntry>& entries, const std::string& projectName,
                       const std::string& fileName);
