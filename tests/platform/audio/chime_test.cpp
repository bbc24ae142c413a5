// The shipped chime is a sound SDL reads; a broken one is refused without a word.
#include "platform/audio/chime.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/graphics/detail/resources.h"

namespace {

TEST(Chime, TheShippedSoundReadsAndABrokenOneIsRefused) {
  const platform::ResourceBytes chime = platform::FindResource(platform::kChimeResource, "WAV");
  ASSERT_TRUE(chime);
  EXPECT_TRUE(platform::ChimeSoundReadable(chime.data, chime.size));
  const std::string cut(reinterpret_cast<const char*>(chime.data), 40);
  for (const std::string& bad : {std::string(), std::string("RIFF\x10\0\0\0WAVEjunk", 16), cut}) {
    EXPECT_FALSE(platform::ChimeSoundReadable(reinterpret_cast<const unsigned char*>(bad.data()),
                                              bad.size()));
  }
}

}  // namespace
