#include "platform/windowing/detail/locale_setup.h"

#include <clocale>

namespace platform {

void SetProcessLocale() {
  std::setlocale(LC_ALL, "");
  KeepNumericLocale();
}

void KeepNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace platform
