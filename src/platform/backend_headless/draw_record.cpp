// The drawing record of the headless back buffer: what was drawn, beside the pixels.
#include <utility>
#include <vector>

#include "platform/backend_headless/headless.h"
#include "platform/graphics/detail/surface_ops.h"
#include "platform/graphics/detail/surface_record.h"

namespace {

bool g_recording = false;
std::vector<headless::DrawCall> g_calls;

}  // namespace

namespace platform {

void SetSurfaceRecordsDraws(CGapiSurface& surface, bool on) { surface.Data()->recordDraws = on; }

bool RecordsDraws(const GapiSurfaceData* target) {
  return g_recording && target != nullptr && target->recordDraws;
}

void RecordDraw(headless::DrawCall call) { g_calls.push_back(std::move(call)); }

}  // namespace platform

namespace headless {

void SetDrawRecording(bool on) { g_recording = on; }
const std::vector<DrawCall>& DrawCalls() { return g_calls; }
void ClearDrawCalls() { g_calls.clear(); }

}  // namespace headless
