// Collecting, ordering and printing the findings of a project check.
#include "check/check_report.h"

#include <algorithm>

#include "platform/text/tr.h"

namespace {

const char* SeverityName(CheckSeverity s) {
  return s == CheckSeverity::Error ? N_("error") : N_("warning");
}

// Length of the UTF-8 sequence starting at s[i], or 0 when it is not one: overlong forms
// (leads C0 and C1, E0 and F0 with too small a value), surrogates (ED A0 to ED BF) and
// values past U+10FFFF (F4 90 and up, leads F5 to FF) are not UTF-8.
size_t Utf8Length(const std::string& s, size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return 1;
  size_t n = 0;
  unsigned char low = 0x80;  // the range of the second byte
  unsigned char high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  const auto second = static_cast<unsigned char>(s[i + 1]);
  if (second < low || second > high) return 0;
  for (size_t k = 2; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return 0;
  return n;
}

// Valid UTF-8 with every control character and stray byte written as \xNN.
std::string Printable(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const size_t n = Utf8Length(s, i);
    if (n == 0 || c < 0x20 || c == 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
      ++i;
    } else {
      out.append(s, i, n);
      i += n;
    }
  }
  return out;
}

void JsonString(FILE* out, const std::string& s) {
  std::fputc('"', out);
  for (char ch : Printable(s)) {
    if (ch == '"' || ch == '\\')
      std::fprintf(out, "\\%c", ch);
    else
      std::fputc(ch, out);
  }
  std::fputc('"', out);
}

}  // namespace

std::string Quote(const std::string& text, size_t limit) {
  std::string cut = text.size() > limit ? text.substr(0, limit) : text;
  // Never end inside a multi-byte character.
  while (!cut.empty() && cut.size() < text.size() &&
         (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80)
    cut.pop_back();
  if (!cut.empty() && cut.size() < text.size() && static_cast<unsigned char>(cut.back()) >= 0xC0)
    cut.pop_back();
  return "\"" + Printable(cut) + (cut.size() < text.size() ? "...\"" : "\"");
}

void CCheckReport::Add(CheckSeverity severity, const std::string& code, const std::string& file,
                       int line, std::string message) {
  if (std::find(m_files.begin(), m_files.end(), file) == m_files.end()) m_files.push_back(file);
  m_problems.push_back({severity, code, file, line, std::move(message)});
  m_sorted = false;
}

void CCheckReport::Error(const std::string& code, const std::string& file, int line,
                         std::string message) {
  Add(CheckSeverity::Error, code, file, line, std::move(message));
}

void CCheckReport::Warning(const std::string& code, const std::string& file, int line,
                           std::string message) {
  Add(CheckSeverity::Warning, code, file, line, std::move(message));
}

const std::vector<CheckProblem>& CCheckReport::Problems() {
  if (!m_sorted) {
    auto rank = [this](const std::string& f) {
      return std::find(m_files.begin(), m_files.end(), f) - m_files.begin();
    };
    std::stable_sort(m_problems.begin(), m_problems.end(),
                     [&](const CheckProblem& a, const CheckProblem& b) {
                       if (a.severity != b.severity) return a.severity == CheckSeverity::Error;
                       const auto ra = rank(a.file), rb = rank(b.file);
                       return ra != rb ? ra < rb : a.line < b.line;
                     });
    m_sorted = true;
  }
  return m_problems;
}

int CCheckReport::Errors() const {
  return static_cast<int>(std::count_if(m_problems.begin(), m_problems.end(), [](const auto& p) {
    return p.severity == CheckSeverity::Error;
  }));
}

int CCheckReport::Warnings() const { return static_cast<int>(m_problems.size()) - Errors(); }

void CCheckReport::WriteText(FILE* out) {
  for (const CheckProblem& p : Problems()) {
    const std::string file = Printable(p.file);
    const std::string message = Printable(p.message);
    if (p.line > 0)
      std::fprintf(out, "%s:%d: %s: %s\n", file.c_str(), p.line, tr::Text(SeverityName(p.severity)),
                   message.c_str());
    else
      std::fprintf(out, "%s: %s: %s\n", file.c_str(), tr::Text(SeverityName(p.severity)),
                   message.c_str());
  }
  const int errors = Errors();
  const int warnings = Warnings();
  if (errors == 0 && warnings == 0) {
    std::fprintf(out, "%s", _("No problems found.\n"));
    return;
  }
  char errorCount[64];
  char warningCount[64];
  std::snprintf(errorCount, sizeof errorCount, P_("%d error", "%d errors", errors), errors);
  std::snprintf(warningCount, sizeof warningCount, P_("%d warning", "%d warnings", warnings),
                warnings);
  // TRANSLATORS: the closing count of a check, e.g. "2 errors, 1 warning."
  std::fprintf(out, _("%s, %s.\n"), errorCount, warningCount);
}

void CCheckReport::WriteJson(FILE* out) {
  std::fprintf(out, "{\n  \"errors\": %d,\n  \"warnings\": %d,\n  \"problems\": [", Errors(),
               Warnings());
  const char* sep = "\n";
  for (const CheckProblem& p : Problems()) {
    std::fprintf(out, "%s    {\"severity\": \"%s\", \"code\": ", sep, SeverityName(p.severity));
    JsonString(out, p.code);
    std::fprintf(out, ", \"file\": ");
    JsonString(out, p.file);
    std::fprintf(out, ", \"line\": %d, \"message\": ", p.line);
    JsonString(out, p.message);
    std::fputc('}', out);
    sep = ",\n";
  }
  std::fprintf(out, "%s],\n  \"videos\": [", m_problems.empty() ? "" : "\n  ");
  sep = "\n";
  for (const CheckVideo& v : m_videos) {
    std::fprintf(out, "%s    {\"file\": ", sep);
    JsonString(out, v.file);
    std::fprintf(out, ", \"line\": %d, \"name\": ", v.line);
    JsonString(out, v.name);
    std::fprintf(out, ", \"seconds\": %.3f, \"picture\": %s}", v.seconds,
                 v.picture ? "true" : "false");
    sep = ",\n";
  }
  std::fprintf(out, "%s]\n}\n", m_videos.empty() ? "" : "\n  ");
}
