#include "platform/graphics/detail/resources.h"

#include <strings.h>

namespace platform {

ResourceBytes FindResource(uint32_t id, const char* type) {
  if (type == nullptr) return {};
  for (std::size_t i = 0; i < embedded::kResourceCount; ++i) {
    const ResourceEntry& e = embedded::kResources[i];
    if (e.id == id && strcasecmp(e.type, type) == 0) return {e.data, e.size};
  }
  return {};
}

}  // namespace platform
