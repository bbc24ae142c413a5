// Messages of the status codes that the loading steps leave in the model.
#include <cstdio>

#include "app/portrait_app.h"
#include "platform/text/tr.h"

char* CPortraitApp::StatusMessage(int32_t code, char* buffer) {
  // Index i holds the message of code -(i + 1). -15 has none of its own.
  static const char* const kMessages[] = {
      N_("Window handle invalid"),
      N_("Cannot open serial port"),
      N_("Cannot config serial port"),
      N_("Cannot set serial port timeouts"),
      N_("Cannot create serial port thread"),
      N_("Serial port not initialised"),
      N_("Cannot find XML file"),
      N_("No system info in XML file"),
      N_("Multiple system info in XML file"),
      N_("Cannot find all videos"),
      N_("Cannot find all icons"),
      N_("No user data in user file"),
      N_("No user file - cannot create default file"),
      N_("No user file - default file created"),
      nullptr,
      N_("No system details loaded - SERIOUS ERROR!!"),
      N_("No position source: taps move the visitor."),
      N_("GPS service not reachable"),
      N_("Track file unreadable"),
      N_("XML file too large - not read"),
      N_("User file too large - not read"),
  };
  constexpr int32_t kCount = static_cast<int32_t>(sizeof kMessages / sizeof kMessages[0]);
  const char* text = _("Unknown error");
  if (code <= -1 && code >= -kCount && kMessages[-code - 1] != nullptr)
    text = tr::Text(kMessages[-code - 1]);
  std::snprintf(buffer, STATUS_MESSAGE_SIZE, "%s", text);
  return buffer;
}
