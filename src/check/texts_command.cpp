// The `texts` subcommand: a PO template of a tour's translatable texts, for translators.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>

#include "app/command_line.h"
#include "check/line_scan.h"
#include "check/project_check.h"
#include "check/tour_text_entries.h"
#include "data/project_folder.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "guide/guide_text.h"
#include "map/file_resolve.h"
#include "map/portrait.h"
#include "platform/backend_select.h"
#include "platform/text/tr.h"

namespace fs = std::filesystem;

// The template of the project at path, or a message on err and false.
bool WriteTourTemplate(const std::string& path, std::string* text, std::ostream& err) {
  std::error_code ec;
  fs::path project = fs::absolute(path, ec).lexically_normal();
  std::string content;
  if (ec || ReadFileText(project.c_str(), &content) != TextRead::Read) {
    err << _("corvane texts: cannot read ") << path << "\n";
    return false;
  }
  FILE* stream = OpenTextStream(content);
  CLineScan scan;
  const bool scanned = stream != nullptr && scan.Read(stream);
  if (stream != nullptr) fclose(stream);
  platform::UseBackend(platform::BackendKind::Headless);
  CPortrait model(nullptr, nullptr, 800, 600);
  if (!scanned || !model.LoadProjectFile(project.c_str())) {
    err << _("corvane texts: not a project file: ") << path << "\n";
    return false;
  }
  std::string folder = RealFolderOf(project.c_str());
  const std::vector<TourTextEntry> entries = TourTextEntries(
      model.m_regionList, model.m_contentList, scan, MediaTitleInFolder, &folder);
  const CSystemItem* system = model.System();
  *text = PoTemplate(entries, system != nullptr ? guide::ShownName(system->ProjectName()) : "",
                     project.filename().string());
  return true;
}

SubcommandRun DefineTexts(CLI::App& command) {
  struct Options {
    std::string project;
    std::string out;
  };
  auto options = std::make_shared<Options>();
  command.add_option("PROJECT_FILE", options->project, _("the project whose texts to list"))
      ->required();
  command.add_option("--out", options->out, _("write the template to FILE instead of the output"))
      ->type_name("FILE");
  command.footer(
      _("Writes a PO template (.pot) of the place names and titles, each with the record and\n"
        "line it comes from. A translation saved as <project stem>.LL.po beside the project\n"
        "(LL: the language's two-letter code) is offered to visitors in that language."));
  return [options](std::ostream& out, std::ostream& err) {
    std::string text;
    if (!WriteTourTemplate(options->project, &text, err)) return CHECK_UNREADABLE;
    if (options->out.empty()) {
      out << text;
      return 0;
    }
    std::ofstream file(options->out, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
      err << _("corvane texts: cannot write ") << options->out << "\n";
      return 1;
    }
    return 0;
  };
}
