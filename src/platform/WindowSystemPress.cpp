#include "WindowSystemPress.h"

#include <xcb/xcb.h>
#include <xcb/xproto.h>

#include <QGuiApplication>
#include <cstdlib>

namespace kvlink {

namespace {

// Mouse buttons come as XInput 2 device events where the server has that
// extension; their common head.
struct XInputDeviceEventHead {
  uint8_t responseType;
  uint8_t extension;
  uint16_t sequence;
  uint32_t length;
  uint16_t eventType;
  uint16_t device;
  uint32_t time;
  uint32_t detail;
  uint32_t root;
  uint32_t event;
};
constexpr uint16_t kXInputButtonPress = 4;

// The XInput extension's major opcode on the program's display; 0 without it.
uint8_t xinputOpcode() {
  static const uint8_t opcode = []() -> uint8_t {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return 0;
    static const char kName[] = "XInputExtension";
    xcb_query_extension_reply_t* reply = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, sizeof kName - 1, kName), nullptr);
    const uint8_t found = reply && reply->present ? reply->major_opcode : 0;
    std::free(reply);
    return found;
  }();
  return opcode;
}

}  // namespace

std::optional<WId> pressedWindow(const QByteArray& kind, const void* message) {
  if (kind != "xcb_generic_event_t") return std::nullopt;
  switch (static_cast<const xcb_generic_event_t*>(message)->response_type & ~0x80) {
    case XCB_KEY_PRESS:
      return static_cast<const xcb_key_press_event_t*>(message)->event;
    case XCB_BUTTON_PRESS:
      return static_cast<const xcb_button_press_event_t*>(message)->event;
    case XCB_GE_GENERIC: {
      const auto* device = static_cast<const XInputDeviceEventHead*>(message);
      if (device->eventType == kXInputButtonPress && device->extension != 0 &&
          device->extension == xinputOpcode())
        return device->event;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace kvlink
