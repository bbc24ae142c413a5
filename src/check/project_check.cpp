// Running a check: the project is read where the program reads it from (its own folder), by
// the program's loader; the users file by its record reader, never through the loader that
// would create one.
#include "check/project_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "check/media_inspector.h"
#include "data/project_folder.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/backend_select.h"
#include "platform/text/tr.h"

namespace fs = std::filesystem;

namespace {

// Names relative to the project resolve against its folder, as after the program's file
// choice; the caller's folder comes back when this goes.
class CFolderScope {
 public:
  explicit CFolderScope(const fs::path& folder) : m_previous(open(".", O_RDONLY | O_CLOEXEC)) {
    m_entered = chdir(folder.c_str()) == 0;
  }
  ~CFolderScope() {
    if (m_previous >= 0) {
      if (fchdir(m_previous) != 0) {
        // Nothing more can be done; the check itself is complete.
      }
      close(m_previous);
    }
  }
  bool Entered() const { return m_entered; }
  CFolderScope(const CFolderScope&) = delete;
  CFolderScope& operator=(const CFolderScope&) = delete;

 private:
  int m_previous;
  bool m_entered = false;
};

// A name as the report shows it: relative to the project's folder when inside it.
std::string Shown(const std::string& name, const fs::path& folder) {
  const fs::path p(name);
  if (p.is_relative()) return name;
  const fs::path relative = p.lexically_relative(folder);
  if (!relative.empty() && *relative.begin() != "..") return relative.string();
  return name;
}

// Read once, within the size the program reads.
TextRead ReadUsers(const std::string& name, CLineScan* scan, CXmlItemList* users) {
  std::string text;
  const TextRead read = ReadFileText(name.c_str(), &text);
  FILE* file = read == TextRead::Read ? OpenTextStream(text) : nullptr;
  if (file == nullptr) return read == TextRead::TooLarge ? read : TextRead::Failed;
  const bool scanned = scan->Read(file);
  rewind(file);
  CUserContext scratch;
  while (scratch.Parse(file) != -1) users->Add(scratch);
  fclose(file);
  return scanned ? TextRead::Read : TextRead::Failed;
}

}  // namespace

int RunProjectCheck(const char* path, bool json, FILE* out, FILE* err, CMediaInspector* media,
                    CCheckReport* findings) {
  std::error_code ec;
  fs::path project = path != nullptr ? fs::path(path) : fs::path();
  if (project.is_relative()) project = fs::current_path(ec) / project;
  project = project.lexically_normal();
  struct stat st {};
  FILE* file = nullptr;
  if (path == nullptr || stat(project.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
      (file = fopen(project.c_str(), "r")) == nullptr) {
    if (err != nullptr)
      fprintf(err, _("corvane check: cannot read %s: %s\n"), path != nullptr ? path : _("(none)"),
              path != nullptr && errno != 0 && !S_ISDIR(st.st_mode) ? strerror(errno)
                                                                    : _("not a file"));
    return CHECK_UNREADABLE;
  }
  // The program refuses a project file this large, and reading it would only fill memory.
  if (st.st_size > DATA_FILE_MAX_BYTES) {
    fclose(file);
    fprintf(err,
            _("corvane check: cannot read %s: it is larger than %ld MB, far more than any project "
              "holds; the program refuses it too\n"),
            path, DATA_FILE_MAX_BYTES >> 20);
    return CHECK_UNREADABLE;
  }
  CLineScan projectScan;
  const bool scanned = projectScan.Read(file);
  fclose(file);
  if (!scanned) {
    if (err != nullptr) fprintf(err, _("corvane check: cannot read %s\n"), path);
    return CHECK_UNREADABLE;
  }

  // Unknown elements sound a beep in the program; a check stays quiet and reports them.
  platform::UseBackend(platform::BackendKind::Headless);
  const fs::path folder = project.parent_path();
  CFolderScope inFolder(folder);
  CCheckReport ownReport;
  CCheckReport& report = findings != nullptr ? *findings : ownReport;
  CheckedProject checked;
  checked.name = project.filename().string();
  checked.scan = &projectScan;
  CPortrait model(nullptr, nullptr, 800, 600);
  const bool loaded = model.LoadProjectFile(project.c_str());
  CheckReading(checked.name, projectScan, false, report);
  CheckValueRanges(checked.name, projectScan, false, report);
  if (!loaded) {
    if (model.m_status == -8) {
      report.Error("no-system", checked.name, 0,
                   _("There is no complete <system> record; the program cannot open the project."));
    } else if (model.m_status == -9) {
      const ScanResult& systems = projectScan.Records("system");
      report.Error("two-systems", checked.name,
                   systems.records.size() > 1 ? systems.records[1].line : 0,
                   "A second <system> record; the program refuses a project with more than one.");
    } else {
      if (err != nullptr) fprintf(err, _("corvane check: cannot read %s\n"), path);
      return CHECK_UNREADABLE;
    }
  } else {
    checked.system = model.m_systemList;
    checked.regions = model.m_regionList;
    checked.contents = model.m_contentList;
    checked.characters = model.m_characterList;
    checked.locations = model.m_locationList;
    checked.themes = model.m_themeList;
    checked.times = model.m_timeList;
  }

  CheckedUsers users;
  CLineScan usersScan;
  CXmlItemList userList;
  UsersRefusal refused = UsersRefusal::None;
  const std::string usersName = loaded ? model.UsersFileToRead(&refused) : std::string();
  const fs::path realFolder = fs::weakly_canonical(folder, ec);
  const ScanResult& systems = projectScan.Records("system");
  const int usersLine = systems.records.empty() ? 0 : systems.records[0].LineOf("user_filename");
  if (refused == UsersRefusal::Outside) {
    report.Warning("users-outside", checked.name, usersLine,
                   _("The users file named here lies outside the project's folder; the program "
                     "neither reads nor writes it, and keeps the users beside the project "
                     "instead."));
  } else if (refused != UsersRefusal::None) {
    report.Error("users-not-users", checked.name, usersLine,
                 refused == UsersRefusal::TourFile
                     ? _("The users file named here is one of the tour's own files (the project, "
                         "its map, a picture or a video); the program never writes users over it, "
                         "and keeps them beside the project instead.")
                     : _("The users file named here holds something other than users; the program "
                         "never writes users over it, and keeps them beside the project instead."));
  }
  if (!usersName.empty()) {
    const std::string shown = Shown(usersName, realFolder);
    const TextRead read = ReadUsers(usersName, &usersScan, &userList);
    if (read == TextRead::Read) {
      users.name = shown;
      users.scan = &usersScan;
      users.users = &userList;
      CheckReading(users.name, usersScan, true, report);
      CheckValueRanges(users.name, usersScan, true, report);
    } else if (read == TextRead::TooLarge) {
      report.Error("users-too-large", shown, 0,
                   Format(_("The users file is larger than %ld MB, far more than 128 users ever "
                            "write; the program neither reads nor writes it."),
                          DATA_FILE_MAX_BYTES >> 20));
    } else {
      report.Error("users-unreadable", shown, 0, _("The users file cannot be read."));
    }
  }
  CheckLinks(checked, users, report);
  CheckGeography(checked, report);
  if (media != nullptr) CheckMedia(checked, *media, report);
  if (loaded) CheckLanguages(checked, project.string(), media, report);

  if (out != nullptr && json)
    report.WriteJson(out);
  else if (out != nullptr)
    report.WriteText(out);
  return report.Problems().empty() ? CHECK_CLEAN : CHECK_PROBLEMS;
}

int RunProjectCheck(const char* path, bool json, FILE* out, FILE* err) {
  CProgramMedia media;
  return RunProjectCheck(path, json, out, err, &media, nullptr);
}
