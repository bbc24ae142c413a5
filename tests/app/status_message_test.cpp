// Status codes and their messages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/portrait_app.h"

namespace {

std::string Message(int32_t code) {
  char buffer[STATUS_MESSAGE_SIZE];
  std::memset(buffer, 'x', sizeof buffer);
  const char* result = CPortraitApp::StatusMessage(code, buffer);
  EXPECT_EQ(result, buffer);
  return result;
}

TEST(StatusMessage, EachCodeHasItsMessage) {
  EXPECT_EQ(Message(-1), "Window handle invalid");
  EXPECT_EQ(Message(-2), "Cannot open serial port");
  EXPECT_EQ(Message(-3), "Cannot config serial port");
  EXPECT_EQ(Message(-4), "Cannot set serial port timeouts");
  EXPECT_EQ(Message(-5), "Cannot create serial port thread");
  EXPECT_EQ(Message(-6), "Serial port not initialised");
  EXPECT_EQ(Message(-7), "Cannot find XML file");
  EXPECT_EQ(Message(-8), "No system info in XML file");
  EXPECT_EQ(Message(-9), "Multiple system info in XML file");
  EXPECT_EQ(Message(-10), "Cannot find all videos");
  EXPECT_EQ(Message(-11), "Cannot find all icons");
  EXPECT_EQ(Message(-12), "No user data in user file");
  EXPECT_EQ(Message(-13), "No user file - cannot create default file");
  EXPECT_EQ(Message(-14), "No user file - default file created");
  EXPECT_EQ(Message(-16), "No system details loaded - SERIOUS ERROR!!");
  EXPECT_EQ(Message(-17), "No position source: taps move the visitor.");
  EXPECT_EQ(Message(-18), "GPS service not reachable");
  EXPECT_EQ(Message(-19), "Track file unreadable");
  EXPECT_EQ(Message(-20), "XML file too large - not read");
  EXPECT_EQ(Message(-21), "User file too large - not read");
}

TEST(StatusMessage, CodesWithoutMessageAreUnknown) {
  for (int32_t code : {-15, 0, 1, 7, -22, -1000, INT32_MIN, INT32_MAX})
    EXPECT_EQ(Message(code), "Unknown error") << code;
}

}  // namespace
