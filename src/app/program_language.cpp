// The program's texts follow the visitor's language through the text layer's switch.
#include "app/program_language.h"

void UseProgramLanguage(const std::string& code) {
  // Joined to the program's text catalogues once they are built in; until then only the
  // tour's own texts follow the visitor.
  (void)code;
}
