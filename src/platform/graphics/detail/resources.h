// Resources compiled into the program (from res/<id>_<name>.<ext>), found by id and type.
// The type is the file extension in capitals: "PNG" for .png, "DIALOG" for .dlg.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

struct ResourceEntry {
  uint32_t id;
  const char* type;
  const unsigned char* data;
  std::size_t size;
};

struct ResourceBytes {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  explicit operator bool() const { return data != nullptr; }
};

// The embedded bytes of resource `id` of `type` (compared without regard to case), or empty.
ResourceBytes FindResource(uint32_t id, const char* type);

}  // namespace platform

// Generated from res/ at build time.
namespace platform::embedded {
extern const ResourceEntry kResources[];
extern const std::size_t kResourceCount;
}  // namespace platform::embedded
