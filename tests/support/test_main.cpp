// Every test program runs on the headless backend: no display is touched.
#include <gtest/gtest.h>

#include "platform/backend_select.h"

int main(int argc, char** argv) {
  platform::UseBackend(platform::BackendKind::Headless);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
