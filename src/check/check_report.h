// The findings of a project check: problems with their file, line and sentence, the videos'
// durations, and the two ways of printing them (for people, and JSON for scripts).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

enum class CheckSeverity { Error, Warning };

struct CheckProblem {
  CheckSeverity severity;
  std::string code;  // stable short name of the kind of problem ("region-unknown")
  std::string file;  // as the reader of the report knows it
  int line;          // 1-based; 0 when the problem belongs to the file as a whole
  std::string message;
};

struct CheckVideo {
  std::string file;  // the project file naming it
  int line;
  std::string name;  // as written in the project
  double seconds;
  bool picture;  // false for a sound file
};

class CCheckReport {
 public:
  void Error(const std::string& code, const std::string& file, int line, std::string message);
  void Warning(const std::string& code, const std::string& file, int line, std::string message);
  void AddVideo(CheckVideo video) { m_videos.push_back(std::move(video)); }

  // Errors, then warnings, each in file order (the order files were first named) and then
  // by line; problems on one line keep the order in which they were found.
  const std::vector<CheckProblem>& Problems();
  int Errors() const;
  int Warnings() const;

  // "file:line: error: sentence" lines and a closing count.
  void WriteText(FILE* out);
  // One JSON object; its shape is described in docs/project_check.md.
  void WriteJson(FILE* out);

 private:
  void Add(CheckSeverity severity, const std::string& code, const std::string& file, int line,
           std::string message);

  std::vector<CheckProblem> m_problems;
  std::vector<std::string> m_files;
  std::vector<CheckVideo> m_videos;
  bool m_sorted = true;
};

// Text fit to quote in a sentence: control characters and bytes that are not UTF-8 shown as
// \xNN, long texts cut with "...".
std::string Quote(const std::string& text, size_t limit = 60);
