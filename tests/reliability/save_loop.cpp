// Saves a large project and its users file over and over, alternating between two versions,
// until it is killed. tests/reliability/save_interrupt_test.sh kills it at random moments and
// checks that each file is always one whole version or the other.
//   save_loop DIR   on the first run writes DIR/big.xml and DIR/bigUsers.xml (every list
//                   full, long histories), saves version A and B once and keeps copies of
//                   them as DIR/{a,b}.xml and DIR/{a,b}Users.xml; then, and on every later
//                   run, loads DIR/big.xml, prints "saving" and saves B, A, B, ... forever.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/backend_select.h"
#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

namespace {

constexpr int kRecords = 128;  // what one list holds
constexpr int kTags = 64;
constexpr int kViews = 512;

std::string BigProject(const std::string& users) {
  std::ostringstream p;
  p << "<?xml version='1.0' encoding='UTF-8' ?>\n\n<media_portrait>\n<system>\n"
       "\t<project_name>Reliability</project_name>\n\t<map_filename>map.png</map_filename>\n"
       "\t<left>-1.000000</left>\n\t<top>52.000000</top>\n\t<right>-0.900000</right>\n"
       "\t<bottom>51.900000</bottom>\n\t<theme_rels>1</theme_rels>\n"
       "\t<character_rels>1</character_rels>\n\t<time_rels>0</time_rels>\n"
       "\t<location_rels>0</location_rels>\n\t<radius>30.000000</radius>\n"
       "\t<user_filename>"
    << users << "</user_filename>\n</system>\n\n";
  const char* kinds[][2] = {{"character", "character_name"},
                            {"location", "location_desc"},
                            {"theme", "theme_desc"},
                            {"time", "time_desc"}};
  for (const auto& k : kinds) {
    p << "<" << k[0] << "_list>\n";
    for (int i = 0; i < kRecords; ++i)
      p << "\t<" << k[0] << ">\n\t\t<" << k[0] << "_id>" << i << "</" << k[0] << "_id>\n\t\t<"
        << k[1] << ">" << k[0] << " number " << i << std::string(150, 'x') << "</" << k[1]
        << ">\n\t</" << k[0] << ">\n";
    p << "</" << k[0] << "_list>\n\n";
  }
  p << "<region_list>\n";
  for (int i = 1; i <= kRecords; ++i)
    p << "\t<region>\n\t\t<region_id>" << i << "</region_id>\n\t\t<region_description>Region " << i
      << std::string(150, 'r') << "</region_description>\n\t\t<gps_x>-0.950000</gps_x>\n"
      << "\t\t<gps_y>51.950000</gps_y>\n\t</region>\n";
  p << "</region_list>\n\n<content_list>\n";
  for (int i = 1; i <= kRecords; ++i) {
    p << "\t<content>\n\t\t<content_id>" << i << "</content_id>\n";
    for (const char* tag : {"theme", "character", "time", "location"}) {
      p << "\t\t<" << tag << "_list>\n";
      for (int t = 0; t < kTags; ++t)
        p << "\t\t\t<" << tag << "_id>" << t << "</" << tag << "_id>\n";
      p << "\t\t</" << tag << "_list>\n";
    }
    p << "\t\t<region_id>" << i << "</region_id>\n\t\t<filename>video/item" << i
      << ".mp4</filename>\n\t\t<thumbnail>thumbs/item" << i << ".png</thumbnail>\n"
      << "\t\t<gps_x>-0.950000</gps_x>\n\t\t<gps_y>51.950000</gps_y>\n\t</content>\n";
  }
  p << "</content_list>\n\n\n\n</media_portrait>";
  return p.str();
}

std::string BigUsers() {
  std::ostringstream u;
  u << "<?xml version='1.0' encoding='UTF-8' ?>\n<user_list>\n";
  for (int i = 0; i < kRecords; ++i) {
    u << "<user_context>\n\t<user_id>" << i << "</user_id>\n\t<username>USER " << i
      << "</username>\n";
    for (int v = 0; v < kViews; ++v)
      u << "\t<viewed_id>" << (v % kRecords + 1) << "--" << v / 60 << "."
        << (v % 60 < 10 ? "0" : "") << v % 60 << "0000</viewed_id>\n";
    u << "\t<duration>9.30</duration>\n</user_context>\n";
  }
  u << "</user_list>\n\n";
  return u.str();
}

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

bool Copy(const std::string& from, const std::string& to) {
  std::ifstream in(from, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return in && WriteText(to, text.str());
}

// Version A has Times off and the first user at 9.30; version B Times on and 10.45.
void MakeVersion(CPortrait& model, bool b) {
  model.SetRelationshipFlags(b ? 1 | 2 | 8 : 1 | 2);
  model.m_userList->First();
  static_cast<CUserContext*>(model.m_userList->Current())->SetDuration(b ? 10.45 : 9.30);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  platform::UseBackend(platform::BackendKind::Headless);
  headless::Reset();
  const std::string dir = argv[1];
  const std::string project = dir + "/big.xml";
  const std::string users = dir + "/bigUsers.xml";

  std::ifstream probe(dir + "/b.xml");
  const bool first = !probe;
  if (first && !(WriteText(project, BigProject(users)) && WriteText(users, BigUsers()))) {
    std::fprintf(stderr, "cannot write the project in %s\n", dir.c_str());
    return 1;
  }

  CPortrait model(nullptr, GetModuleHandleA(nullptr), 800, 600);
  if (!model.LoadProjectFile(project.c_str()) || model.LoadUsersFile() != kRecords) {
    std::fprintf(stderr, "cannot load %s with its users\n", project.c_str());
    return 1;
  }
  if (first) {
    for (bool b : {false, true}) {
      MakeVersion(model, b);
      const std::string name = b ? "b" : "a";
      if (!model.SaveProjectFile(project.c_str()) || !Copy(project, dir + "/" + name + ".xml") ||
          !Copy(users, dir + "/" + name + "Users.xml")) {
        std::fprintf(stderr, "cannot save version %s\n", name.c_str());
        return 1;
      }
    }
  }
  std::cout << "saving" << std::endl;
  for (bool b = false;; b = !b) {
    MakeVersion(model, b);
    model.SaveProjectFile(project.c_str());
  }
}
