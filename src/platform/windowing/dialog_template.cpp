// Parsing of the text form of dialog templates, and dialog-unit arithmetic.
#include "platform/windowing/detail/dialog_template.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/graphics/detail/resources.h"

namespace platform {

namespace {

// Templates are a handful of lines; anything far larger is not a template.
constexpr size_t kMaxTemplateBytes = 64 * 1024;
constexpr size_t kMaxControls = 255;
constexpr int kMaxUnits = 32767;

// Reads the words of one line: bare words and double-quoted texts ("" is a quote inside).
class LineReader {
 public:
  explicit LineReader(std::string_view line) : m_line(line) {}

  bool AtEnd() {
    SkipSpace();
    return m_pos >= m_line.size();
  }

  bool Word(std::string* out) {
    SkipSpace();
    size_t start = m_pos;
    while (m_pos < m_line.size() && !std::isspace(static_cast<unsigned char>(m_line[m_pos])) &&
           m_line[m_pos] != '"')
      ++m_pos;
    if (m_pos == start) return false;
    out->assign(m_line.substr(start, m_pos - start));
    return true;
  }

  bool Quoted(std::string* out) {
    SkipSpace();
    if (m_pos >= m_line.size() || m_line[m_pos] != '"') return false;
    ++m_pos;
    out->clear();
    while (m_pos < m_line.size()) {
      char c = m_line[m_pos++];
      if (c != '"') {
        out->push_back(c);
        continue;
      }
      if (m_pos < m_line.size() && m_line[m_pos] == '"') {
        out->push_back('"');
        ++m_pos;
        continue;
      }
      return true;
    }
    return false;  // unterminated
  }

  // Decimal or 0x hexadecimal, within [lo, hi].
  bool Number(long long lo, long long hi, long long* out) {
    std::string word;
    if (!Word(&word)) return false;
    const char* begin = word.c_str();
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(begin, &end, 0);
    if (errno != 0 || end == begin || *end != '\0' || v < lo || v > hi) return false;
    *out = v;
    return true;
  }

  bool Int(int lo, int hi, int* out) {
    long long v = 0;
    if (!Number(lo, hi, &v)) return false;
    *out = static_cast<int>(v);
    return true;
  }

  bool Dword(DWORD* out) {
    long long v = 0;
    if (!Number(0, 0xFFFFFFFFLL, &v)) return false;
    *out = static_cast<DWORD>(v);
    return true;
  }

 private:
  void SkipSpace() {
    while (m_pos < m_line.size() && std::isspace(static_cast<unsigned char>(m_line[m_pos]))) ++m_pos;
  }

  std::string_view m_line;
  size_t m_pos = 0;
};

bool Geometry(LineReader& r, int* x, int* y, int* cx, int* cy) {
  return r.Int(-kMaxUnits, kMaxUnits, x) && r.Int(-kMaxUnits, kMaxUnits, y) &&
         r.Int(0, kMaxUnits, cx) && r.Int(0, kMaxUnits, cy);
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

int MulDiv(int value, int numerator, int denominator) {
  long long p = static_cast<long long>(value) * numerator;
  long long half = denominator / 2;
  long long q = p >= 0 ? (p + half) / denominator : -((-p + half) / denominator);
  if (q > INT_MAX) return INT_MAX;
  if (q < INT_MIN) return INT_MIN;
  return static_cast<int>(q);
}

}  // namespace

DialogControlKind DialogControlTemplate::Kind() const {
  if (className != "BUTTON") return DialogControlKind::Unsupported;
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
      return DialogControlKind::PushButton;
    case BS_DEFPUSHBUTTON:
      return DialogControlKind::DefaultPushButton;
    case BS_CHECKBOX:
      return DialogControlKind::CheckBox;
    case BS_AUTOCHECKBOX:
      return DialogControlKind::AutoCheckBox;
    default:
      return DialogControlKind::Unsupported;
  }
}

const DialogControlTemplate* DialogTemplate::FindControl(int id) const {
  for (const DialogControlTemplate& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}

std::optional<DialogTemplate> ParseDialogTemplate(std::string_view text, std::string* error) {
  auto fail = [error](int line, const char* why) -> std::optional<DialogTemplate> {
    if (error) *error = "line " + std::to_string(line) + ": " + why;
    return std::nullopt;
  };
  if (text.size() > kMaxTemplateBytes) return fail(0, "template too large");

  DialogTemplate t;
  bool haveDialog = false;
  int lineNo = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    if (eol == std::string_view::npos) eol = text.size();
    std::string_view line = text.substr(pos, eol - pos);
    pos = eol + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    LineReader r(line);
    std::string keyword;
    if (r.AtEnd() || !r.Word(&keyword) || keyword[0] == '#') {
      if (!r.AtEnd() && keyword.empty()) return fail(lineNo, "expected a keyword");
      continue;
    }
    keyword = Upper(keyword);
    if (keyword == "DIALOG") {
      if (haveDialog) return fail(lineNo, "second DIALOG line");
      if (!Geometry(r, &t.x, &t.y, &t.cx, &t.cy)) return fail(lineNo, "bad dialog geometry");
      haveDialog = true;
    } else if (!haveDialog) {
      return fail(lineNo, "DIALOG must come first");
    } else if (keyword == "STYLE") {
      if (!r.Dword(&t.style)) return fail(lineNo, "bad style");
    } else if (keyword == "EXSTYLE") {
      if (!r.Dword(&t.exStyle)) return fail(lineNo, "bad extended style");
    } else if (keyword == "CAPTION") {
      if (!r.Quoted(&t.caption)) return fail(lineNo, "caption must be a quoted text");
    } else if (keyword == "FONT") {
      if (!r.Int(1, 72, &t.fontPoints) || !r.Quoted(&t.fontName))
        return fail(lineNo, "font needs a size and a quoted name");
    } else if (keyword == "CONTROL") {
      if (t.controls.size() >= kMaxControls) return fail(lineNo, "too many controls");
      DialogControlTemplate c;
      if (!r.Int(-1, 0xFFFF, &c.id)) return fail(lineNo, "bad control id");
      if (!r.Word(&c.className)) return fail(lineNo, "missing control class");
      c.className = Upper(c.className);
      if (!r.Dword(&c.style)) return fail(lineNo, "bad control style");
      if (!Geometry(r, &c.x, &c.y, &c.cx, &c.cy)) return fail(lineNo, "bad control geometry");
      if (!r.Quoted(&c.text)) return fail(lineNo, "control text must be a quoted text");
      t.controls.push_back(std::move(c));
    } else {
      return fail(lineNo, "unknown keyword");
    }
    if (!r.AtEnd()) return fail(lineNo, "unexpected text at the end of the line");
  }
  if (!haveDialog) return fail(lineNo, "no DIALOG line");
  return t;
}

RECT DialogUnitsToPixels(int x, int y, int cx, int cy, DialogBaseUnits base) {
  RECT rc;
  rc.left = MulDiv(x, base.x, 4);
  rc.top = MulDiv(y, base.y, 8);
  rc.right = rc.left + MulDiv(cx, base.x, 4);
  rc.bottom = rc.top + MulDiv(cy, base.y, 8);
  return rc;
}

int AverageCharWidth(int widthOfAlphabet) { return (widthOfAlphabet / 26 + 1) / 2; }

}  // namespace platform

namespace platform {

std::optional<DialogTemplate> LoadDialogTemplate(HINSTANCE, const char* name) {
  // Every resource is compiled into the one program, so the instance does not matter.
  uintptr_t value = reinterpret_cast<uintptr_t>(name);
  uint32_t id = 0;
  if (value < 0x10000) {
    id = static_cast<uint32_t>(value);
  } else {
    // A name such as "#113" or "113".
    const char* digits = name[0] == '#' ? name + 1 : name;
    char* end = nullptr;
    unsigned long v = std::strtoul(digits, &end, 10);
    if (end == digits || *end != '\0' || v > 0xFFFF) return std::nullopt;
    id = static_cast<uint32_t>(v);
  }
  ResourceBytes bytes = FindResource(id, "DIALOG");
  if (!bytes) return std::nullopt;
  return ParseDialogTemplate(
      std::string_view(reinterpret_cast<const char*>(bytes.data), bytes.size));
}

}  // namespace platform
