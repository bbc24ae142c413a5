// What a message box type means for its buttons: the answers it offers, in order, and the
// one its default button gives.
#pragma once

#include <vector>

#include "platform/windowing/win_types.h"

namespace platform {

inline std::vector<int> BoxAnswers(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    default:
      return {IDOK};
  }
}

// The answer of the default button; the first when the type names a button it does not have.
inline int DefaultAnswer(UINT type) {
  const std::vector<int> answers = BoxAnswers(type);
  const size_t index = (type & MB_DEFMASK) >> 8;
  return index < answers.size() ? answers[index] : answers[0];
}

}  // namespace platform
