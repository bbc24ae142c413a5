// Loading, creating and writing the users file, and adding users.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/system_item.h"
#include "data/user_context.h"
#include "project_test_fixture.h"

using datatest::Fixture;
using datatest::ReadAll;
using datatest::WriteAll;

namespace {

// A project in dir whose system record names userFilename.
std::string WriteProject(const datatest::ScratchDir& dir, const std::string& userFilename,
                         const std::string& name = "Harbour.xml") {
  const std::string path = dir.Path(name);
  std::string text = "<system>\n<radius>5</radius>\n";
  text += userFilename.empty() ? "<user_filename/>\n"
                               : "<user_filename>" + userFilename + "</user_filename>\n";
  text += "</system>\n";
  WriteAll(path, text);
  return path;
}

CUserContext* User(CPortrait& m, int slot) {
  return static_cast<CUserContext*>(m.m_userList->At(slot));
}

}  // namespace

TEST_F(ProjectFileTest, UsersFileWithTwoUsers) {
  for (const char* name : {"users_two.xml", "users_two_crlf.xml"}) {
    SCOPED_TRACE(name);
    auto m = MakeModel();
    const std::string users = dir.Copy(name);
    ASSERT_TRUE(m->LoadProjectFile(WriteProject(dir, users).c_str()));
    EXPECT_EQ(m->LoadUsersFile(), 2);
    EXPECT_EQ(m->m_status, 1);
    const CUserContext* ann = User(*m, 0);
    EXPECT_STREQ(ann->m_username, "Ann");
    ASSERT_EQ(ann->m_viewedCount, 3);
    EXPECT_EQ(ann->ViewedId(1), 11);
    EXPECT_EQ(ann->ViewedTime(1), 3.07);
    EXPECT_EQ(ann->ViewedTime(2), 0.0);  // no "--"
    EXPECT_EQ(ann->m_duration, 12.35);   // the third decimal rounds, as it is written back
    EXPECT_EQ(User(*m, 1)->m_id, 3);

    ASSERT_TRUE(m->SaveUsersFile());
    EXPECT_EQ(ReadAll(users), ReadAll(Fixture("golden_users.xml")));
  }
}

TEST_F(ProjectFileTest, UsersFilesWithoutUsers) {
  for (const char* name : {"users_empty.xml", "users_list_only.xml", "users_truncated.xml"}) {
    SCOPED_TRACE(name);
    auto m = MakeModel();
    const std::string users = dir.Copy(name);
    ASSERT_TRUE(m->LoadProjectFile(WriteProject(dir, users).c_str()));
    // A file ending inside its second user keeps the first.
    const bool truncated = std::string(name) == "users_truncated.xml";
    EXPECT_EQ(m->LoadUsersFile(), truncated ? 1 : 0);
    EXPECT_EQ(m->m_status, truncated ? 1 : -12);
    ASSERT_NE(m->m_userList, nullptr);
    // An empty list is written as an empty file.
    if (m->m_userList->Count() == 0) {
      ASSERT_TRUE(m->SaveUsersFile());
      EXPECT_EQ(ReadAll(users), "");
    }
  }
}

TEST_F(ProjectFileTest, AMissingUsersFileIsCreatedUnderItsName) {
  const std::string users = dir.Path("people.xml");
  ASSERT_TRUE(model->LoadProjectFile(WriteProject(dir, users).c_str()));
  EXPECT_EQ(model->LoadUsersFile(), 0);
  EXPECT_EQ(model->m_status, -12);
  EXPECT_TRUE(std::filesystem::exists(users));
  EXPECT_STREQ(model->GetUserFilename(), users.c_str());
}

TEST_F(ProjectFileTest, AnUncreatableUsersFileFallsBackToTheDefaultName) {
  for (const std::string& named : {dir.Path("no/such/folder/u.xml"), std::string()}) {
    SCOPED_TRACE(named);
    auto m = MakeModel();
    const std::string project = WriteProject(dir, named);
    ASSERT_TRUE(m->LoadProjectFile(project.c_str()));
    EXPECT_EQ(m->LoadUsersFile(), 0);
    EXPECT_EQ(m->m_status, -12);
    // The name is kept relative to the project, so a copy of the folder keeps to its own.
    const std::string expected = dir.Path("HarbourUsers.xml");
    EXPECT_STREQ(m->GetUserFilename(), "HarbourUsers.xml");
    EXPECT_TRUE(std::filesystem::exists(expected));
    // The next save of the project names the default file.
    ASSERT_TRUE(m->SaveProjectFile(project.c_str()));
    EXPECT_NE(ReadAll(project).find("\t<user_filename>HarbourUsers.xml</user_filename>\n"),
              std::string::npos);
    std::filesystem::remove(expected);
  }
}

TEST_F(ProjectFileTest, AnExistingDefaultFileKeepsItsUsers) {
  const std::string project = WriteProject(dir, dir.Path("gone/u.xml"));
  std::filesystem::copy_file(Fixture("users_two.xml"), dir.Path("HarbourUsers.xml"));
  ASSERT_TRUE(model->LoadProjectFile(project.c_str()));
  EXPECT_EQ(model->LoadUsersFile(), 2);
  EXPECT_EQ(ReadAll(dir.Path("HarbourUsers.xml")), ReadAll(Fixture("users_two.xml")));
}

TEST_F(ProjectFileTest, AUsersFileThatCannotBeReadIsNeverReplaced) {
  // A link that points at itself is there, but cannot be opened.
  const std::string users = dir.Path("looping.xml");
  std::filesystem::create_symlink("looping.xml", users);
  ASSERT_TRUE(model->LoadProjectFile(WriteProject(dir, users).c_str()));
  EXPECT_EQ(model->LoadUsersFile(), 0);
  EXPECT_EQ(model->m_status, -15);
  EXPECT_EQ(model->m_userList, nullptr);
  EXPECT_STREQ(model->GetUserFilename(), users.c_str());
  EXPECT_FALSE(std::filesystem::exists(dir.Path("HarbourUsers.xml")));
  EXPECT_FALSE(model->SaveUsersFile());
  EXPECT_TRUE(std::filesystem::is_symlink(users));

  // A folder of that name reads as holding no users and is not replaced by a save.
  auto m = MakeModel();
  const std::string folder = dir.Path("users_folder");
  std::filesystem::create_directory(folder);
  ASSERT_TRUE(m->LoadProjectFile(WriteProject(dir, folder).c_str()));
  EXPECT_EQ(m->LoadUsersFile(), 0);
  EXPECT_FALSE(m->SaveUsersFile());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

// The superuser reads files of any mode, so the load runs in a child process that has given
// up its privileges (the test runs as root in CI) and reports the status it got.
TEST_F(ProjectFileTest, AUsersFileMadeButNotReopenableGivesMinus13) {
  const std::string project = WriteProject(dir, "u.xml");
  std::filesystem::permissions(dir.Root(), std::filesystem::perms::all);
  ASSERT_TRUE(model->LoadProjectFile(project.c_str()));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(100);
    umask(0777);  // the new file gets no permissions at all
    const int users = model->LoadUsersFile();
    _exit(users == 0 ? -model->m_status : 101);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 13) << "100: privileges not given up; 101: users were read";
  EXPECT_TRUE(std::filesystem::exists(dir.Path("u.xml")));
}

// A users file that cannot be made, and a folder where the default one would go.
TEST_F(ProjectFileTest, ADefaultNameTakenByAFolderGivesMinus13) {
  std::filesystem::create_directory(dir.Path("HarbourUsers.xml"));
  ASSERT_TRUE(model->LoadProjectFile(WriteProject(dir, "gone/u.xml").c_str()));
  EXPECT_EQ(model->LoadUsersFile(), 0);
  EXPECT_EQ(model->m_status, -13);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path("HarbourUsers.xml")));
}

TEST_F(ProjectFileTest, NoDefaultNameWithoutRoomOrAProjectPath) {
  // A project file name of 250 characters fits, but its default users file name of
  // 246 + 9 characters would not.
  const std::string project = dir.Path(std::string(250, 'p'));
  std::filesystem::copy_file(WriteProject(dir, "x/u.xml"), project);
  ASSERT_TRUE(model->LoadProjectFile(project.c_str()));
  EXPECT_EQ(model->LoadUsersFile(), 0);
  EXPECT_EQ(model->m_status, -13);
  EXPECT_STREQ(model->GetUserFilename(), "x/u.xml");
}

TEST_F(ProjectFileTest, AShortProjectPathGetsTheSuffixAppended) {
  const std::string project = WriteProject(dir, dir.Path("x/u.xml"), "p");
  testsupport::CurrentFolder inside(dir.Root());
  ASSERT_TRUE(model->LoadProjectFile("p"));
  EXPECT_EQ(model->LoadUsersFile(), 0);
  EXPECT_STREQ(model->GetUserFilename(), "pUsers.xml");
  EXPECT_TRUE(std::filesystem::exists(dir.Path("pUsers.xml")));
}

TEST_F(ProjectFileTest, NoSystemRecordNoUsersFile) {
  EXPECT_EQ(model->LoadUsersFile(), 0);
  EXPECT_EQ(model->m_status, -16);
  EXPECT_EQ(model->GetUserFilename(), nullptr);
  EXPECT_FALSE(model->SaveUsersFile());
  EXPECT_EQ(model->AddNewUser("Ann"), nullptr);
}

TEST_F(ProjectFileTest, NewUsersTakeTheLowestFreeId) {
  const std::string users = dir.Path("u.xml");
  WriteAll(users,
           "<user_context>\n<user_id>0</user_id>\n</user_context>\n"
           "<user_context>\n<user_id>1</user_id>\n</user_context>\n"
           "<user_context>\n<user_id>3</user_id>\n</user_context>\n");
  ASSERT_TRUE(model->LoadProjectFile(WriteProject(dir, users).c_str()));
  ASSERT_EQ(model->LoadUsersFile(), 3);
  CUserContext* added = model->AddNewUser("Dee");
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->m_id, 2);
  EXPECT_STREQ(added->m_username, "Dee");
  EXPECT_EQ(added, User(*model, 3));
  EXPECT_EQ(model->AddNewUser("Eve")->m_id, 4);
  // Adding writes nothing; the save does.
  EXPECT_EQ(ReadAll(users).find("Dee"), std::string::npos);
  ASSERT_TRUE(model->SaveProjectFile(dir.Path("Harbour.xml").c_str()));
  EXPECT_NE(ReadAll(users).find("\t<username>Dee</username>\n"), std::string::npos);

  while (model->m_userList->Count() < LIST_CAPACITY) model->AddNewUser("x");
  EXPECT_EQ(model->AddNewUser("one too many"), nullptr);
}

TEST_F(ProjectFileTest, ReloadingTheUsersDropsTheCurrentUser) {
  const std::string users = dir.Copy("users_two.xml");
  ASSERT_TRUE(model->LoadProjectFile(WriteProject(dir, users).c_str()));
  ASSERT_EQ(model->LoadUsersFile(), 2);
  model->m_currentUser = User(*model, 0);
  ASSERT_EQ(model->LoadUsersFile(), 2);
  EXPECT_EQ(model->m_currentUser, nullptr);
}

TEST_F(ProjectFileTest, HistoryOf512EntriesSurvivesASave) {
  const std::string users = dir.Path("u.xml");
  ASSERT_TRUE(model->LoadProjectFile(WriteProject(dir, users).c_str()));
  model->LoadUsersFile();
  CUserContext* user = model->AddNewUser("Long");
  ASSERT_NE(user, nullptr);
  headless::SetClock(0);
  user->BeginVisit();
  for (int i = 0; i < 600; ++i) {
    headless::AdvanceClock(1000);
    user->AddViewed(i % 70);
  }
  ASSERT_TRUE(model->SaveUsersFile());
  auto again = MakeModel();
  ASSERT_TRUE(again->LoadProjectFile(dir.Path("Harbour.xml").c_str()));
  ASSERT_EQ(again->LoadUsersFile(), 1);
  const CUserContext* read = User(*again, 0);
  ASSERT_EQ(read->m_viewedCount, USER_MAX_VIEWED);
  for (int i = 0; i < USER_MAX_VIEWED; ++i) {
    EXPECT_EQ(read->ViewedId(i), i % 70);
    EXPECT_EQ(read->ViewedTime(i), user->ViewedTime(i));
  }
}

namespace {

// A project folder "tour" inside the scratch folder, with a users file of two users in
// tour/sub/People.xml and a note beside the folder that the project must never reach.
struct TourFolder {
  explicit TourFolder(const datatest::ScratchDir& dir)
      : folder(dir.Path("tour")), note(dir.Path("notes.txt")) {
    std::filesystem::create_directories(folder + "/sub");
    std::filesystem::copy_file(datatest::Fixture("users_two.xml"), folder + "/sub/People.xml");
    WriteAll(note, "IMPORTANT NOTES - do not lose\n");
  }
  std::string Project(const std::string& userFilename) const {
    const std::string path = folder + "/Harbour.xml";
    WriteAll(path, "<system>\n<user_filename>" + userFilename + "</user_filename>\n</system>\n");
    return path;
  }
  std::string folder;
  std::string note;
};

// Runs a test body with the current folder elsewhere: names are taken from the project's
// folder, not from wherever the program happens to stand.
struct ElsewhereCurrentFolder : testsupport::CurrentFolder {
  ElsewhereCurrentFolder() : CurrentFolder("/") {}
};

}  // namespace

TEST_F(ProjectFileTest, UsersFileNamesAreFoundLikeTheProjectsOtherFiles) {
  struct Case {
    const char* name;
    const char* file;  // what is read and written, relative to the project's folder
  };
  for (const Case& c :
       {Case{"sub\\People.xml", "sub/People.xml"}, Case{"SUB\\people.XML", "sub/People.xml"},
        Case{"./sub/People.xml", "sub/People.xml"}}) {
    SCOPED_TRACE(c.name);
    datatest::ScratchDir scratch;
    TourFolder tour(scratch);
    ElsewhereCurrentFolder elsewhere;
    auto m = MakeModel();
    ASSERT_TRUE(m->LoadProjectFile(tour.Project(c.name).c_str()));
    EXPECT_EQ(m->LoadUsersFile(), 2);
    EXPECT_EQ(m->AddNewUser("Cat")->m_id, 1);
    ASSERT_TRUE(m->SaveUsersFile());
    EXPECT_NE(ReadAll(tour.folder + "/" + c.file).find("Cat"), std::string::npos);
    // Nothing else appeared in the folder: no file named with a backslash.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(tour.folder))
      ++entries;
    EXPECT_EQ(entries, 2);  // Harbour.xml and sub
    EXPECT_TRUE(headless::MessageBoxes().empty());
  }
}

TEST_F(ProjectFileTest, ANewUsersFileIsMadeInTheResolvedFolder) {
  TourFolder tour(dir);
  ElsewhereCurrentFolder elsewhere;
  ASSERT_TRUE(model->LoadProjectFile(tour.Project("Sub\\New.xml").c_str()));
  EXPECT_EQ(model->LoadUsersFile(), 0);
  EXPECT_EQ(model->m_status, -12);
  EXPECT_TRUE(std::filesystem::is_regular_file(tour.folder + "/sub/New.xml"));
  EXPECT_STREQ(model->GetUserFilename(), "Sub\\New.xml");
}

TEST_F(ProjectFileTest, AUsersFileOutsideTheProjectIsRefused) {
  struct Case {
    const char* what;
    std::string name;  // '@' stands for the scratch folder
  };
  const std::vector<Case> cases = {
      {"parent folder", "../notes.txt"},
      {"deeper climb", "sub\\..\\..\\notes.txt"},
      {"absolute name elsewhere", "@/notes.txt"},
      {"link to a file outside", "link.xml"},
      {"new file in a linked folder outside", "outlink/new.xml"},
      {"new file above the folder", "../new.xml"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    datatest::ScratchDir scratch;
    TourFolder tour(scratch);
    std::filesystem::create_symlink(tour.note, tour.folder + "/link.xml");
    std::filesystem::create_directory(scratch.Path("elsewhere"));
    std::filesystem::create_directory_symlink(scratch.Path("elsewhere"), tour.folder + "/outlink");
    std::string name = c.name;
    if (name[0] == '@') name = scratch.Root() + name.substr(1);
    headless::Reset();
    auto m = MakeModel();
    const std::string project = tour.Project(name);
    ASSERT_TRUE(m->LoadProjectFile(project.c_str()));
    EXPECT_EQ(m->LoadUsersFile(), 0);
    EXPECT_EQ(m->m_status, -12);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_NE(headless::MessageBoxes()[0].text.find("outside the project"), std::string::npos);
    // The default file beside the project is used, and the project records it.
    EXPECT_STREQ(m->GetUserFilename(), "HarbourUsers.xml");
    ASSERT_NE(m->AddNewUser("Cat"), nullptr);
    m->SaveProjectFile(project.c_str());
    EXPECT_FALSE(m->m_usersSaveFailed);
    EXPECT_NE(ReadAll(tour.folder + "/HarbourUsers.xml").find("Cat"), std::string::npos);
    EXPECT_NE(ReadAll(project).find("<user_filename>HarbourUsers.xml<"), std::string::npos);
    // Nothing outside the folder was written or made.
    EXPECT_EQ(ReadAll(tour.note), "IMPORTANT NOTES - do not lose\n");
    EXPECT_FALSE(std::filesystem::exists(scratch.Path("new.xml")));
    EXPECT_TRUE(std::filesystem::is_empty(scratch.Path("elsewhere")));
  }
}

TEST_F(ProjectFileTest, AbsoluteNamesInsideTheProjectStillWork) {
  TourFolder tour(dir);
  ASSERT_TRUE(model->LoadProjectFile(tour.Project(tour.folder + "/sub/People.xml").c_str()));
  EXPECT_EQ(model->LoadUsersFile(), 2);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(ProjectFileTest, ACopiedProjectKeepsToItsOwnUsersFile) {
  TourFolder tour(dir);
  const std::string project = tour.Project("");
  ASSERT_TRUE(model->LoadProjectFile(project.c_str()));
  model->LoadUsersFile();
  ASSERT_TRUE(model->SaveProjectFile(project.c_str()));
  std::filesystem::copy(tour.folder, dir.Path("copy"), std::filesystem::copy_options::recursive);

  auto copy = MakeModel();
  ASSERT_TRUE(copy->LoadProjectFile(dir.Path("copy/Harbour.xml").c_str()));
  copy->LoadUsersFile();
  ASSERT_NE(copy->AddNewUser("Cat"), nullptr);
  ASSERT_TRUE(copy->SaveProjectFile(dir.Path("copy/Harbour.xml").c_str()));
  EXPECT_NE(ReadAll(dir.Path("copy/HarbourUsers.xml")).find("Cat"), std::string::npos);
  EXPECT_EQ(ReadAll(tour.folder + "/HarbourUsers.xml"), "");
}

// A visitor's language is an element of their own record only: kept as read (even a code the
// tour no longer has), written where it was, and never added to a record that had none.
TEST_F(ProjectFileTest, VisitorLanguageRoundTripsAndAbsentStaysAbsent) {
  const std::string users =
      dir.Path("HarbourUsers.xml");
  const std::string text = std::string(ReadAll(Fixture("golden_users.xml")));
  std::string withLanguage = text;
  withLanguage.insert(withLanguage.find("</user_context>"), "\t<language>xx</language>\n");
  WriteAll(users, withLanguage);
  auto m = MakeModel();
  ASSERT_TRUE(m->LoadProjectFile(WriteProject(dir, "HarbourUsers.xml").c_str()));
  ASSERT_EQ(m->LoadUsersFile(), 2);
  EXPECT_STREQ(User(*m, 0)->m_language, "xx");
  EXPECT_FALSE(User(*m, 1)->m_hasLanguage);
  EXPECT_EQ(m->StoredLanguage(User(*m, 0)), "");  // the tour has no such language
  ASSERT_TRUE(m->SaveUsersFile());
  EXPECT_EQ(ReadAll(users), withLanguage);

  // Chosen for the second visitor: one line more, in that record; the tour's own removes it.
  User(*m, 1)->SetLanguage("de");
  ASSERT_TRUE(m->SaveUsersFile());
  std::string expected = withLanguage;
  expected.insert(expected.rfind("</user_context>"), "\t<language>de</language>\n");
  EXPECT_EQ(ReadAll(users), expected);
  User(*m, 0)->SetLanguage("");
  User(*m, 1)->SetLanguage("");
  ASSERT_TRUE(m->SaveUsersFile());
  EXPECT_EQ(ReadAll(users), text);
}
