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
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

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
  bool isViewable(const QWindow* window) const { return isViewableOn(connection_, idOf(window)); }
  static bool isViewableOn(xcb_connection_t* connection, xcb_window_t window)
  {
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> reply(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr), &free);
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
  }

  // The pointer moved to the point of the screen.
  void movePointerTo(int16_t x, int16_t y) const
  {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, x, y, 0);
    xcb_flush(connection_);
  }

  // A click of the mouse's first button at the point of the screen: it goes to the
  // window under the pointer (or to the window manager, over a frame or the desktop).
  // The button is held for a moment, as a hand holds it (events run meanwhile).
  void clickAt(const QPoint& point) const
  {
    movePointerTo(static_cast<int16_t>(point.x()), static_cast<int16_t>(point.y()));
    xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
    QTest::qWait(30);
    xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
  }

  // The key typed with Control held (Ctrl+W).
  void typeWithControl(xcb_keycode_t code) const
  {
    const xcb_keycode_t control = keycodeOf(0xffe3);
    xcb_test_fake_input(connection_, XCB_KEY_PRESS, control, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    type(code);
    xcb_test_fake_input(connection_, XCB_KEY_RELEASE, control, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
  }

  // Whether the tests run beside a window manager (CTest starts openbox for them).
  static bool hasWindowManager() { return qEnvironmentVariableIsSet("KIVO_TESTS_WAIT_FOR_WINDOW_MANAGER"); }

  // The window minimized as the window manager's minimize button does (asked of the
  // window manager, as a window's own request to be iconified is).
  void minimizeByWindowManager(const QWindow* window) const
  {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = idOf(window);
    message.type = atomNamed("WM_CHANGE_STATE");
    message.data.data32[0] = 3;  // IconicState
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    xcb_send_event(connection_, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
  }

  // The top-level windows of the program's on the screen, from the bottom of the stack to
  // the top, as the X server stacks them (a window manager's frames stand for the
  // windows they hold).
  std::vector<xcb_window_t> stacking() const
  {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root), nullptr), &free);
    std::vector<xcb_window_t> order;
    if (!tree) return order;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) order.push_back(children[i]);
    return order;
  }

  // Whether the window is stacked above the other (both top-level windows without a
  // window manager).
  bool isAbove(const QWindow* window, const QWindow* other) const
  {
    const std::vector<xcb_window_t> order = stacking();
    const auto a = std::find(order.begin(), order.end(), idOf(window));
    const auto b = std::find(order.begin(), order.end(), idOf(other));
    return a != order.end() && b != order.end() && a > b;
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
  xcb_atom_t atomNamed(const char* name) const
  {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(strlen(name)), name),
                              nullptr),
        &free);
    return atom ? atom->atom : XCB_NONE;
  }

  xcb_connection_t* connection_ = nullptr;
};

// Another application's window on the screen (a calculator beside the books), on a
// connection of its own. Clicked, it has the window system's focus: its window manager
// gives it, or, where none runs, it takes it itself, as such applications do.
class OtherApplication {
public:
  explicit OtherApplication(const QRect& frame) : connection_(xcb_connect(nullptr, nullptr))
  {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const uint32_t values[] = {screen->white_pixel};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, static_cast<int16_t>(frame.x()),
                      static_cast<int16_t>(frame.y()), static_cast<uint16_t>(frame.width()),
                      static_cast<uint16_t>(frame.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL, values);
    xcb_map_window(connection_, window_);
    xcb_flush(connection_);
  }
  ~OtherApplication() { xcb_disconnect(connection_); }
  OtherApplication(const OtherApplication&) = delete;
  OtherApplication& operator=(const OtherApplication&) = delete;

  xcb_window_t id() const { return window_; }

  // On the screen (a window manager maps it once it has framed it).
  bool isViewable() const { return XDisplay::isViewableOn(connection_, window_); }

  // Its middle, on the screen.
  QPoint middle() const
  {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> geometry(
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window_), nullptr), &free);
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&free)> origin(
        xcb_translate_coordinates_reply(connection_, xcb_translate_coordinates(connection_, window_, root, 0, 0),
                                        nullptr),
        &free);
    if (!geometry || !origin) return {};
    return {origin->dst_x + geometry->width / 2, origin->dst_y + geometry->height / 2};
  }

  // Clicked in its middle: it has the focus.
  void click(const XDisplay& display) const
  {
    display.clickAt(middle());
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window_, XCB_CURRENT_TIME);
    free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

private:
  xcb_connection_t* connection_;
  xcb_window_t window_ = XCB_NONE;
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
