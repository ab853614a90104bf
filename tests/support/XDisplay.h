// The program's own connection to an X display, for tests that type as a keyboard does
// (XTEST) and look at the window system's keyboard focus. On another platform (the
// tests' offscreen one) there is none, and such a test skips.
#pragma once

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <array>
#include <cstdlib>
#include <memory>

#include "platform/KeyboardReturn.h"

namespace kivo::test {

// The program's connection to the X display, and the key codes of its keyboard.
class XDisplay {
public:
  XDisplay()
  {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    connection_ = x11 ? x11->connection() : nullptr;
  }
  // On an X display (whose server types keys for a test through its XTEST extension, as
  // Xvfb's does).
  bool isThere() const { return connection_ != nullptr; }

  // The key codes of three key symbols (keycodeOf).
  std::array<xcb_keycode_t, 3> keycodesOf(const std::array<xcb_keysym_t, 3>& symbols) const
  {
    return {keycodeOf(symbols[0]), keycodeOf(symbols[1]), keycodeOf(symbols[2])};
  }

  // The key code that gives the key symbol unshifted, or 0.
  xcb_keycode_t keycodeOf(xcb_keysym_t symbol) const
  {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const uint8_t count = setup->max_keycode - setup->min_keycode + 1;
    auto cookie = xcb_get_keyboard_mapping(connection_, setup->min_keycode, count);
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&free)> reply(
        xcb_get_keyboard_mapping_reply(connection_, cookie, nullptr), &free);
    if (!reply) return 0;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(reply.get());
    for (int code = 0; code < count; ++code)
      if (symbols[code * reply->keysyms_per_keycode] == symbol)
        return static_cast<xcb_keycode_t>(setup->min_keycode + code);
    return 0;
  }

  // A key pressed and released on the keyboard, as the X server has it: it goes to the
  // window that has the keyboard then (or, when the root window has it, to the window
  // under the pointer).
  void type(xcb_keycode_t code) const
  {
    for (const uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE})
      xcb_test_fake_input(connection_, type, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
  }
  // Text typed on the keyboard, key by key at once: digits, lower-case letters, '/', '.',
  // Tab ('\t') and Return ('\r'). False when a character has no key.
  bool typeText(const char* text) const
  {
    for (const char* c = text; *c; ++c) {
      const xcb_keysym_t symbol = *c == '\t' ? 0xff09 : *c == '\r' ? 0xff0d : static_cast<unsigned char>(*c);
      const xcb_keycode_t code = keycodeOf(symbol);
      if (!code) return false;
      type(code);
    }
    return true;
  }

  // The window that has the window system's keyboard focus now.
  xcb_window_t focus() const
  {
    std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&free)> reply(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr), &free);
    return reply ? reply->focus : XCB_NONE;
  }
  static xcb_window_t idOf(const QWindow* window) { return static_cast<xcb_window_t>(window->winId()); }

  // Whether the window is on the screen as the X server has it.
  bool isViewable(const QWindow* window) const
  {
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> reply(
        xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, idOf(window)), nullptr),
        &free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
  }

  // The pointer moved to the point of the screen.
  void movePointerTo(int16_t x, int16_t y) const
  {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, x, y, 0);
    xcb_flush(connection_);
  }

  // A key pressed and released, addressed to the window as the X server addresses the
  // keys typed while it has the keyboard.
  void typeTo(QWindow* window, xcb_keycode_t code) const { typeTo(static_cast<xcb_window_t>(window->winId()), code); }
  void typeTo(xcb_window_t window, xcb_keycode_t code) const
  {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    for (const uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
      xcb_key_press_event_t event{};
      event.response_type = type;
      event.detail = code;
      event.time = XCB_CURRENT_TIME;
      event.root = root;
      event.event = window;
      event.same_screen = 1;
      const uint32_t mask = type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE;
      xcb_send_event(connection_, 0, event.event, mask, reinterpret_cast<const char*>(&event));
    }
    xcb_flush(connection_);
  }

private:
  xcb_connection_t* connection_ = nullptr;
};

// The times a window loses or gains the window system's keyboard focus, as a client of
// the X server of its own sees them (not counting a menu's or a drag's grab of the
// keyboard); or, watching the screen, the times the focus goes to no client's window.
class FocusWatch {
public:
  explicit FocusWatch(const QWindow* window) : FocusWatch(XDisplay::idOf(window)) {}
  // Watching the root window: the focus going to no client's window (the root window, by
  // the pointer, or none).
  static FocusWatch ofTheScreen() { return FocusWatch(xcb_window_t{XCB_NONE}); }
  ~FocusWatch() { xcb_disconnect(connection_); }
  FocusWatch(const FocusWatch&) = delete;
  FocusWatch& operator=(const FocusWatch&) = delete;

  int losses()
  {
    readEvents();
    return losses_;
  }

  int gains()
  {
    readEvents();
    return gains_;
  }

  // Watching the screen: how many times the focus went to no client's window.
  int timesOnNoWindow()
  {
    readEvents();
    return onNoWindow_;
  }

private:
  explicit FocusWatch(xcb_window_t window) : connection_(xcb_connect(nullptr, nullptr))
  {
    if (window == XCB_NONE) window = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_FOCUS_CHANGE;
    xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
    // Set before anything is typed.
    free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

  void readEvents()
  {
    free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      const uint8_t type = event->response_type & 0x7f;
      if (type == XCB_FOCUS_OUT) {
        const auto* out = reinterpret_cast<const xcb_focus_out_event_t*>(event);
        if (out->mode == XCB_NOTIFY_MODE_NORMAL && out->detail != XCB_NOTIFY_DETAIL_INFERIOR &&
            out->detail != XCB_NOTIFY_DETAIL_POINTER)
          ++losses_;
      } else if (type == XCB_FOCUS_IN) {
        const auto* in = reinterpret_cast<const xcb_focus_in_event_t*>(event);
        if (in->detail == XCB_NOTIFY_DETAIL_POINTER_ROOT || in->detail == XCB_NOTIFY_DETAIL_NONE)
          ++onNoWindow_;
        else if (in->mode == XCB_NOTIFY_MODE_NORMAL && in->detail != XCB_NOTIFY_DETAIL_INFERIOR &&
                 in->detail != XCB_NOTIFY_DETAIL_POINTER)
          ++gains_;
      }
      free(event);
    }
  }

  xcb_connection_t* connection_;
  int losses_ = 0;
  int gains_ = 0;
  int onNoWindow_ = 0;
};

// Gives the window the keyboard, as the window system and the program both have it, and
// waits until it keeps it (asked again while a window manager still settles the windows
// shown and closed before).
inline bool giveKeyboardAndSettle(const XDisplay& display, QWidget* window)
{
  const auto has = [&display, window] {
    return display.focus() == XDisplay::idOf(window->windowHandle()) &&
           QGuiApplication::focusWindow() == window->windowHandle();
  };
  return QTest::qWaitFor(
      [&] {
        if (!has()) {
          KeyboardReturn::giveKeyboardTo(window);
          return false;
        }
        QTest::qWait(50);
        return has();
      },
      5000);
}

}  // namespace kivo::test
