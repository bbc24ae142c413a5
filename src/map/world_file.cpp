// Finding and reading the world file beside a map image.
#include "map/world_file.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/text/tr.h"

namespace fs = std::filesystem;

namespace {

// Six numbers take well under a hundred bytes each; anything larger is not a world file and
// is not read whole.
constexpr std::uintmax_t kLargestWorldFile = 4096;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool ParseNumber(std::string text, double* value) {
  if (!text.empty() && text[0] == '+') text.erase(0, 1);
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [ptr, ec] = std::from_chars(first, last, *value, std::chars_format::general);
  return ec == std::errc() && ptr == last && std::isfinite(*value);
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

}  // namespace

std::string FindWorldFile(const std::string& imagePath) {
  const fs::path image(imagePath);
  std::string extension = image.extension().string();
  if (!extension.empty()) extension.erase(0, 1);
  std::vector<std::string> suffixes;
  if (extension.size() >= 2)
    suffixes.push_back(std::string(1, extension.front()) + extension.back() + "w");
  if (!extension.empty()) suffixes.push_back(extension + "w");
  suffixes.push_back("wld");
  std::error_code ec;
  for (const std::string& suffix : suffixes) {
    for (const std::string& cased : {suffix, Upper(suffix)}) {
      fs::path candidate = image;
      candidate.replace_extension(cased);
      if (fs::is_regular_file(candidate, ec)) return candidate.string();
    }
  }
  return {};
}

WorldFileRead ReadWorldFile(const std::string& path) {
  WorldFileRead read;
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) {
    read.problem = _("cannot read the world file ") + path;
    return read;
  }
  if (size > kLargestWorldFile) {
    read.problem = _("the world file ") + path + _(" is ") + std::to_string(size) +
                   _(" bytes; a world file is six numbers");
    return read;
  }
  std::ifstream in(path, std::ios::binary);
  std::string text(size, '\0');
  if (!in || !in.read(text.data(), static_cast<std::streamsize>(size))) {
    read.problem = _("cannot read the world file ") + path;
    return read;
  }
  return ParseWorldFile(text, path);
}

WorldFileRead ParseWorldFile(const std::string& text, const std::string& path) {
  WorldFileRead read;
  std::istringstream in(text);
  double values[6];
  int count = 0;
  int lineNumber = 0;
  std::string line;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::istringstream words(line);
    std::string word, extra;
    if (!(words >> word)) continue;  // a blank line
    const std::string where = path + _(" line ") + std::to_string(lineNumber);
    if (words >> extra) {
      read.problem = where + _(" holds more than one value; a world file has one number a line");
      return read;
    }
    if (count == 6) {
      read.problem = where + _(": a world file holds six numbers, and this is a seventh");
      return read;
    }
    if (!ParseNumber(word, &values[count])) {
      read.problem = where + ": '" + word.substr(0, 40) + _("' is not a finite number");
      return read;
    }
    ++count;
  }
  if (count < 6) {
    read.problem = path + _(" holds ") + std::to_string(count) +
                   _(" numbers; a world file holds six, one a line");
    return read;
  }
  WorldFile& w = read.world;
  w = WorldFile{values[0], values[1], values[2], values[3], values[4], values[5]};
  if (!(w.pixelWidth > 0)) {
    read.problem = path + _(": the pixel width (the first number) is ") + Number(w.pixelWidth) +
                   _("; it must be more than 0");
    return read;
  }
  if (!(w.pixelHeight < 0)) {
    read.problem = path + _(": the pixel height (the fourth number) is ") +
                   Number(w.pixelHeight) +
                   _("; it must be less than 0, as for every map with north at the top");
    return read;
  }
  read.ok = true;
  return read;
}
