// Key lists: which virtual keys are down now, as the message layer has seen them.
#include <cstring>

#include "platform/graphics/gapi.h"
#include "platform/windowing/detail/input_translate.h"

HRESULT CGapiInput::OpenInput() {
  m_open = true;
  return GD_OK;
}

HRESULT CGapiInput::CloseInput() {
  m_open = false;
  return GD_OK;
}

HRESULT CGapiInput::GetKeyList(GDKEYLIST* keys) {
  if (keys == nullptr) return GDERR_INVALID;
  if (m_open) {
    std::memcpy(keys->down, platform::KeyStates(), sizeof keys->down);
  } else {
    std::memset(keys->down, 0, sizeof keys->down);
  }
  return GD_OK;
}
