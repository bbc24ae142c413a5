// The `check` subcommand: its options and the run that prints the report.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "app/command_line.h"
#include "check/project_check.h"
#include "platform/text/tr.h"

namespace {

// Text a FILE writer produced, handed on to a stream.
class CCapture {
 public:
  CCapture() : m_file(open_memstream(&m_data, &m_size)) {}
  ~CCapture() {
    if (m_file != nullptr) fclose(m_file);
    free(m_data);
  }
  CCapture(const CCapture&) = delete;
  CCapture& operator=(const CCapture&) = delete;
  FILE* File() const { return m_file; }
  void SendTo(std::ostream& out) {
    fflush(m_file);
    out.write(m_data, static_cast<std::streamsize>(m_size));
  }

 private:
  char* m_data = nullptr;
  size_t m_size = 0;
  FILE* m_file;
};

}  // namespace

SubcommandRun DefineCheck(CLI::App& command) {
  struct Options {
    std::string project;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  command.add_option("PROJECT_FILE", options->project, _("the project file to check"))->required();
  command.add_flag("--json", options->json,
                   _("print the report as JSON for scripts (see docs/project_check.md)"));
  command.footer(
      _("Lists every problem with its file, line and a sentence, errors apart from warnings.\n"
        "Exit status: 0 clean, 1 problems found, 2 the file cannot be read. Writes nothing."));
  return [options](std::ostream& out, std::ostream& err) {
    CCapture report;
    CCapture trouble;
    if (report.File() == nullptr || trouble.File() == nullptr) return CHECK_UNREADABLE;
    const int status =
        RunProjectCheck(options->project.c_str(), options->json, report.File(), trouble.File());
    report.SendTo(out);
    trouble.SendTo(err);
    return status;
  };
}
