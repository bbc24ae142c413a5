// Messages of the status codes that the loading steps leave in the model.
#include <cstdio>

#include "app/portrait_app.h"

char* CPortraitApp::StatusMessage(int32_t code, char* buffer) {
  // Index i holds the message of code -(i + 1). -15 has none of its own.
  static const char* const kMessages[] = {
      "Window handle invalid",
      "Cannot open serial port",
      "Cannot config serial port",
      "Cannot set serial port timeouts",
      "Cannot create serial port thread",
      "Serial port not initialised",
      "Cannot find XML file",
      "No system info in XML file",
      "Multiple system info in XML file",
      "Cannot find all videos",
      "Cannot find all icons",
      "No user data in user file",
      "No user file - cannot create default file",
      "No user file - default file created",
      nullptr,
      "No system details loaded - SERIOUS ERROR!!",
      "No position source: taps move the visitor.",
      "GPS service not reachable",
      "Track file unreadable",
      "XML file too large - not read",
      "User file too large - not read",
  };
  constexpr int32_t kCount = static_cast<int32_t>(sizeof kMessages / sizeof kMessages[0]);
  const char* text = "Unknown error";
  if (code <= -1 && code >= -kCount && kMessages[-code - 1] != nullptr) text = kMessages[-code - 1];
  std::snprintf(buffer, STATUS_MESSAGE_SIZE, "%s", text);
  return buffer;
}
