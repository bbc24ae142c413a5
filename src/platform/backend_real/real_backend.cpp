// The real backend's pieces and their shutdown.
#include "platform/backend_real/real_pieces.h"

namespace platform {
namespace {

SdlPresentPiece& SdlPresent() {
  static SdlPresentPiece piece;
  return piece;
}

void ShutdownReal() {
  SdlPresent().Close();
  SdlWindows().Shutdown();
}

}  // namespace

SdlWindowPiece& SdlWindows() {
  static SdlWindowPiece piece;
  return piece;
}

Pieces RealPieces() {
  static MonotonicClockPiece clock;
  static GtkDialogPiece dialogs;
  Pieces p;
  p.window = &SdlWindows();
  p.present = &SdlPresent();
  p.clock = &clock;
  p.dialogs = &dialogs;
  p.shutdown = ShutdownReal;
  return p;
}

}  // namespace platform
