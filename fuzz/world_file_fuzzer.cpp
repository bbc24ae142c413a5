// libFuzzer target for world files: each input is read as a world file and placed as the map
// edges of an 800 x 600 image, in degrees and in two projected systems; edges that are
// accepted must be a usable map on the globe.
// Built by fuzz/build_world_file_fuzzer.sh with clang, ASan and UBSan.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/new_georeference.h"
#include "map/world_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const WorldFileRead read =
      ParseWorldFile(std::string(reinterpret_cast<const char*>(data), size), "map.pgw");
  if (read.ok == !read.problem.empty()) std::abort();
  if (!read.ok) return 0;
  for (const char* crs : {"", "EPSG:3857", "EPSG:32633"}) {
    const Georeference placed = PlaceWorldFile(read.world, "map.pgw", 800, 600, crs);
    if (placed.ok == !placed.problem.empty()) std::abort();
    if (!placed.ok) continue;
    const MapBounds& b = placed.bounds;
    if (!(b.west < b.east) || !(b.north > b.south) || !(b.west >= -180) || !(b.east <= 180) ||
        !(b.south >= -90) || !(b.north <= 90))
      std::abort();
  }
  return 0;
}
