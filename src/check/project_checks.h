// The checks of a project: what the reader drops or cuts, links and ids, geography, the users
// file and the media, each adding what it finds to a report.
#pragma once

#include <string>

#include "check/check_report.h"
#include "check/line_scan.h"

class CXmlItemList;

// The project as the program's loader left it. Lists are null when loading stopped early.
struct CheckedProject {
  std::string name;  // as the report shows it
  const CLineScan* scan = nullptr;
  CXmlItemList* system = nullptr;
  CXmlItemList* regions = nullptr;
  CXmlItemList* contents = nullptr;
  CXmlItemList* characters = nullptr;
  CXmlItemList* locations = nullptr;
  CXmlItemList* themes = nullptr;
  CXmlItemList* times = nullptr;
};

struct CheckedUsers {
  std::string name;  // as the report shows it; empty when there is no users file to read
  const CLineScan* scan = nullptr;
  CXmlItemList* users = nullptr;
};

// Images and videos named by the project, looked at the way the program opens them.
class CMediaInspector {
 public:
  struct Image {
    bool decoded = false;
    int width = 0;
    int height = 0;
  };
  struct Video {
    bool playable = false;
    bool picture = false;  // a moving picture, not only sound
    double seconds = 0;
    std::string reason;
  };
  virtual ~CMediaInspector() = default;
  // The file the program opens for a name stored in the project; empty when there is none.
  virtual std::string Resolve(const char* storedName) = 0;
  virtual Image InspectImage(const std::string& path) = 0;
  virtual Video ProbeVideo(const std::string& path) = 0;
};

// Every element, value, line and record count of one file against the reader's limits.
void CheckReading(const std::string& file, const CLineScan& scan, bool usersFile,
                  CCheckReport& report);
// Numbers outside what their fields take (positions, the radius, clocks).
void CheckValueRanges(const std::string& file, const CLineScan& scan, bool usersFile,
                      CCheckReport& report);
// Ids, region links and tag links of the project; the viewings of the users file.
void CheckLinks(const CheckedProject& project, const CheckedUsers& users, CCheckReport& report);
// The map's edges, positions outside it, icons far from their regions.
void CheckGeography(const CheckedProject& project, CCheckReport& report);
// The map, thumbnails and videos.
void CheckMedia(const CheckedProject& project, CMediaInspector& media, CCheckReport& report);

// The tour's languages: broken catalogues, media siblings that will not play, and per
// language the places and items without a translation or a media variant.
void CheckLanguages(const CheckedProject& project, const std::string& projectPath,
                    CMediaInspector* media, CCheckReport& report);

// printf into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
