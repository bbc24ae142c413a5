// Whether a surface's drawing calls go into the headless drawing record (headless.h).
// The headless display turns it on for its back buffer; tests may for any surface.
#pragma once

class CGapiSurface;

namespace platform {

void SetSurfaceRecordsDraws(CGapiSurface& surface, bool on);

}  // namespace platform
