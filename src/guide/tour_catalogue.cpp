// Reading a tour's PO catalogue through libgettextpo. Its reader reports every fault to a
// handler and, after the last, a fatal one that must not return: the jump out of it ends the
// read, and the catalogue then counts as broken.
#include "guide/tour_catalogue.h"

#include <gettext-po.h>
#include <iconv.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace {

constexpr off_t kCatalogueMaxBytes = 8L << 20;

struct ReadFault {
  std::jmp_buf out;
  int line = 0;
  std::string error;
  bool any = false;
};
thread_local ReadFault* g_fault = nullptr;

void Note(int severity, const char* filename, size_t lineno, const char* text) {
  ReadFault& f = *g_fault;
  if (severity == PO_SEVERITY_WARNING) return;
  if (!f.any || (f.line == 0 && filename != nullptr && lineno != static_cast<size_t>(-1))) {
    if (filename != nullptr && lineno != static_cast<size_t>(-1))
      f.line = static_cast<int>(lineno);
    if (f.error.empty() || severity != PO_SEVERITY_FATAL_ERROR) f.error = text != nullptr ? text : "";
  }
  f.any = true;
  if (severity == PO_SEVERITY_FATAL_ERROR) std::longjmp(f.out, 1);
}

void XError(int severity, po_message_t, const char* filename, size_t lineno, size_t, int,
            const char* text) {
  Note(severity, filename, lineno, text);
}

void XError2(int severity, po_message_t, const char* filename1, size_t lineno1, size_t, int,
             const char* text1, po_message_t, const char*, size_t, size_t, int, const char*) {
  Note(severity, filename1, lineno1, text1);
}

const po_xerror_handler kHandler = {XError, XError2};

// The header's charset, upper case; empty when it names none.
std::string HeaderCharset(po_file_t file) {
  // Both come back freshly allocated, though the header is declared const.
  const char* header = po_file_domain_header(file, nullptr);
  if (header == nullptr) return {};
  char* type = po_header_field(header, "Content-Type");
  free(const_cast<char*>(header));
  if (type == nullptr) return {};
  std::string value(type);
  free(type);
  const size_t at = value.find("charset=");
  if (at == std::string::npos) return {};
  std::string charset = value.substr(at + 8);
  charset = charset.substr(0, charset.find_first_of(" ;\t"));
  for (char& c : charset) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return charset;
}

// The read, returning null when the reader's last fault jumped out of it.
po_file_t ReadGuarded(const char* path, ReadFault* fault) {
  if (setjmp(fault->out) != 0) return nullptr;
  return po_file_read(path, &kHandler);
}

bool Convert(iconv_t cd, const std::string& in, std::string* out) {
  out->clear();
  char buffer[1024];
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (left > 0) {
    char* dst = buffer;
    size_t room = sizeof buffer;
    const size_t done = iconv(cd, &src, &left, &dst, &room);
    out->append(buffer, static_cast<size_t>(dst - buffer));
    if (done == static_cast<size_t>(-1) && errno != E2BIG) return false;
  }
  return true;
}

}  // namespace

// For builds with LeakSanitizer: the PO reader keeps the name of each file it reads and drops
// it when the next read starts, and a fault handler that ends a read by jumping out (as it must
// for a fatal fault) leaves what the parser held; neither can be freed from here. The library
// has no frame pointers, so a leak's recorded stack ends in its allocator: the suppression
// names that, and what the library hands us to free is freed above.
extern "C" const char* __lsan_default_suppressions() { return "leak:libgettextpo_xmalloc\n"; }

TourCatalogue ReadTourCatalogue(const std::string& path) {
  TourCatalogue result;
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    result.error = "it is not a file that can be read";
    return result;
  }
  if (st.st_size > kCatalogueMaxBytes) {
    result.error = "it is larger than 8 MB";
    return result;
  }
  ReadFault fault;
  g_fault = &fault;
  po_file_t file = ReadGuarded(path.c_str(), &fault);
  g_fault = nullptr;
  if (file == nullptr || fault.any) {
    // A read that ended in the jump leaves what it had read so far; nothing can free it.
    if (file != nullptr) po_file_free(file);
    result.errorLine = fault.line;
    result.error = fault.error.empty() ? "it cannot be read" : fault.error;
    return result;
  }

  const std::string charset = HeaderCharset(file);
  iconv_t cd = reinterpret_cast<iconv_t>(-1);
  if (!charset.empty() && charset != "UTF-8" && charset != "ASCII" && charset != "CHARSET") {
    cd = iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
      po_file_free(file);
      result.error = "its character set " + charset + " is not known";
      return result;
    }
  }
  po_message_iterator_t it = po_message_iterator(file, nullptr);
  bool converted = true;
  while (po_message_t message = po_next_message(it)) {
    const char* id = po_message_msgid(message);
    const char* str = po_message_msgstr(message);
    if (id == nullptr || id[0] == '\0' || str == nullptr || str[0] == '\0') continue;  // header
    if (po_message_is_obsolete(message) || po_message_is_fuzzy(message)) continue;
    if (po_message_msgctxt(message) != nullptr || po_message_msgid_plural(message) != nullptr)
      continue;
    std::string key(id);
    std::string value(str);
    if (cd != reinterpret_cast<iconv_t>(-1)) {
      std::string k, v;
      if (!Convert(cd, key, &k) || !Convert(cd, value, &v)) {
        converted = false;
        break;
      }
      key = std::move(k);
      value = std::move(v);
    }
    if (value.size() > kTranslationMax) {
      size_t cut = kTranslationMax;
      while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
      value.resize(cut);
    }
    result.texts.emplace(std::move(key), std::move(value));
  }
  po_message_iterator_free(it);
  po_file_free(file);
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  if (!converted) {
    result.texts.clear();
    result.error = "a text is not in its character set " + charset;
    return result;
  }
  result.ok = true;
  return result;
}
