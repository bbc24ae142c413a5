// The seam between the visitor's language and the program's own texts.
#pragma once

#include <string>

// From the next lookup on, the program's own texts are in code (two letters) where a
// catalogue exists; "" returns to the environment's language.
void UseProgramLanguage(const std::string& code);
