// The kiosk's rules: a visit ends only after the idle time and never while held open; guests
// are numbered after the highest guest; a full users file is archived whole under a new name.
#include "app/kiosk_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "support/files.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(KioskRules, IdleVisitEndsAfterTheLimitAndNeverWhileHeld) {
  const struct {
    uint32_t at;
    bool held;
    bool ends;
  } steps[] = {
      {0, false, false},      {299999, false, false},  // just under five minutes
      {300000, false, true},  {310000, true, false},   // playback holds the visit open...
      {609999, false, false}, {610000, false, true},   // ...and the idle time starts again
  };
  CKioskIdle idle(5);
  idle.Touch(0);
  for (const auto& step : steps)
    EXPECT_EQ(idle.VisitEnds(step.at, step.held), step.ends) << step.at;

  CKioskIdle wrapped(1);
  wrapped.Touch(0xFFFFFFFFu - 1000u);
  EXPECT_FALSE(wrapped.VisitEnds(58000, false));
  EXPECT_TRUE(wrapped.VisitEnds(59000, false));
}

TEST(KioskRules, GuestNumberFollowsTheHighest) {
  const struct {
    std::vector<const char*> names;
    const char* next;
  } cases[] = {
      {{}, "GUEST 1"},
      {{"ANN", "GUEST 1", "GUEST 2"}, "GUEST 3"},
      {{"GUEST 7", "GUEST 3"}, "GUEST 8"},             // a gap is not filled again
      {{"GUEST 2X", "GUEST", "GUESTS 9"}, "GUEST 1"},  // not guest numbers
  };
  for (const auto& c : cases) {
    CXmlItemList users;
    for (const char* name : c.names) {
      CUserContext user;
      user.SetId(users.LowestFreeId());
      user.SetUsername(name);
      users.Add(user);
    }
    EXPECT_EQ(NextGuestName(users), c.next) << c.names.size();
  }
}

TEST(KioskRules, FullUsersFileIsArchivedWholeAndNeverOverwritten) {
  const testsupport::ScratchFolder scratch("corvane-kiosk");
  const fs::path folder = scratch.Root();
  const std::string users = (folder / "HarbourUsers.xml").string();
  const std::time_t now = 1765368000;  // 2025-12-10 12:00 UTC
  std::tm local{};
  localtime_r(&now, &local);
  char date[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &local);

  std::vector<std::string> archives;
  for (const char* text : {"<user_list>first</user_list>\n", "<user_list>second</user_list>\n"}) {
    std::ofstream(users) << text;
    std::string archive, problem;
    ASSERT_TRUE(ArchiveUsersFile(users, now, &archive, &problem)) << problem;
    EXPECT_FALSE(fs::exists(users));
    EXPECT_EQ(testsupport::ReadAll(archive), text);
    archives.push_back(fs::path(archive).filename().string());
  }
  EXPECT_EQ(archives, (std::vector<std::string>{std::string("HarbourUsers-") + date + "-1.xml",
                                                std::string("HarbourUsers-") + date + "-2.xml"}));

  std::string archive, problem;
  EXPECT_FALSE(ArchiveUsersFile(users, now, &archive, &problem));  // nothing to archive
  EXPECT_FALSE(problem.empty());
  EXPECT_FALSE(fs::exists(archive));
}

}  // namespace
