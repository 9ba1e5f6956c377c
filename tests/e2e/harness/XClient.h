// An X client of the tests: finding windows, looking at pixels, input
// through XTest.
#pragma once

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// X client: finding windows, looking at pixels, XTest input.

// X keycodes (evdev code + 8).
constexpr std::uint8_t kControlL = 37;
constexpr std::uint8_t kShiftL = 50;
constexpr std::uint8_t kKeyA = 38;
constexpr std::uint8_t kReturn = 36;
constexpr std::uint8_t kTab = 23;
constexpr std::uint8_t kUp = 111;
constexpr std::uint8_t kKey3 = 12;

struct Rect {
    int x, y, w, h;
    int cx() const { return x + w / 2; }
    int cy() const { return y + h / 2; }
};

class XClient {
public:
    explicit XClient(const std::string& display)
    {
        connection_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(connection_) == 0)
            root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~XClient() { xcb_disconnect(connection_); }
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    bool ok() const { return xcb_connection_has_error(connection_) == 0 && root_ != XCB_NONE; }

    bool HasXTest()
    {
        const xcb_query_extension_reply_t* ext = xcb_get_extension_data(connection_, &xcb_test_id);
        return ext != nullptr && ext->present;
    }

    // A round trip: every request sent before has been handled by the server.
    void Sync() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

    // The first mapped top-level window whose title is exactly `title`.
    std::optional<xcb_window_t> FindViewable(const std::string& title)
    {
        const std::vector<xcb_window_t> all = AllViewable(title);
        return all.empty() ? std::nullopt : std::optional<xcb_window_t>(all.front());
    }

    // Every mapped top-level window whose title is exactly `title`.
    std::vector<xcb_window_t> AllViewable(const std::string& title)
    {
        std::vector<xcb_window_t> found;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr);
        if (tree == nullptr)
            return found;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        const int count = xcb_query_tree_children_length(tree);
        for (int i = 0; i < count; ++i) {
            if (Title(children[i]) == title && Viewable(children[i]))
                found.push_back(children[i]);
        }
        std::free(tree);
        return found;
    }

    // The window a dialog belongs to (WM_TRANSIENT_FOR), or XCB_NONE.
    xcb_window_t TransientFor(xcb_window_t window)
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1), nullptr);
        xcb_window_t owner = XCB_NONE;
        if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
            std::memcpy(&owner, xcb_get_property_value(reply), sizeof owner);
        std::free(reply);
        return owner;
    }

    bool Viewable(xcb_window_t window)
    {
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr);
        const bool viewable = attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        return viewable;
    }

    std::string Title(xcb_window_t window)
    {
        std::string title = Property(window, Atom("_NET_WM_NAME"));
        return title.empty() ? Property(window, XCB_ATOM_WM_NAME) : title;
    }

    // The window's client area on the screen.
    std::optional<Rect> Geometry(xcb_window_t window)
    {
        xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        xcb_translate_coordinates_reply_t* place = xcb_translate_coordinates_reply(
            connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr);
        std::optional<Rect> result;
        if (geometry != nullptr && place != nullptr)
            result = Rect{place->dst_x, place->dst_y, geometry->width, geometry->height};
        std::free(geometry);
        std::free(place);
        return result;
    }

    // The pixels of a screen rectangle (Z format, 32 bits each: B G R x).
    std::vector<std::uint8_t> Pixels(const Rect& r)
    {
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            connection_,
            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<std::int16_t>(r.x),
                          static_cast<std::int16_t>(r.y), static_cast<std::uint16_t>(r.w),
                          static_cast<std::uint16_t>(r.h), ~0u),
            nullptr);
        std::vector<std::uint8_t> pixels;
        if (image != nullptr) {
            const std::uint8_t* data = xcb_get_image_data(image);
            pixels.assign(data, data + xcb_get_image_data_length(image));
        }
        std::free(image);
        return pixels;
    }

    void SetFocus(xcb_window_t window)
    {
        xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        Sync();
    }

    xcb_window_t Focus()
    {
        xcb_get_input_focus_reply_t* reply =
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr);
        const xcb_window_t focus = reply != nullptr ? reply->focus : xcb_window_t{XCB_NONE};
        std::free(reply);
        return focus;
    }

    // Button 1 is the left button, 3 the right one.
    void Click(int x, int y, std::uint8_t button = 1)
    {
        xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, static_cast<std::int16_t>(x),
                            static_cast<std::int16_t>(y), 0);
        Sync();
        xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        Sync();
        xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        Sync();
    }

    // Types `text` on the server's US layout: letters, digits, "/", ".",
    // "-" and "_"; false (nothing typed) for any other character.
    bool Type(const std::string& text)
    {
        static constexpr char kRows[][11] = {"1234567890", "qwertyuiop", "asdfghjkl", "zxcvbnm"};
        static constexpr std::uint8_t kRowStart[] = {10, 24, 38, 52};
        std::vector<std::pair<std::uint8_t, bool>> strokes;   // keycode, shifted
        for (char c : text) {
            const bool upper = c >= 'A' && c <= 'Z';
            const char lower = upper ? static_cast<char>(c - 'A' + 'a') : c;
            std::optional<std::pair<std::uint8_t, bool>> stroke;
            for (std::size_t row = 0; row < 4 && !stroke; ++row)
                if (const char* at = std::strchr(kRows[row], lower); at != nullptr && lower != '\0')
                    stroke = {static_cast<std::uint8_t>(kRowStart[row] + (at - kRows[row])), upper};
            if (c == '/')
                stroke = {61, false};
            else if (c == '.')
                stroke = {60, false};
            else if (c == '-')
                stroke = {20, false};
            else if (c == '_')
                stroke = {20, true};
            if (!stroke)
                return false;
            strokes.push_back(*stroke);
        }
        for (const auto& [keycode, shifted] : strokes) {
            if (shifted)
                Key(kShiftL, true);
            Key(keycode, true);
            Key(keycode, false);
            if (shifted)
                Key(kShiftL, false);
        }
        return true;
    }

    // What a window manager sends when the user clicks the close button.
    void Close(xcb_window_t window)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = Atom("WM_PROTOCOLS");
        event.data.data32[0] = Atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        Sync();
    }

    void Key(std::uint8_t keycode, bool press)
    {
        xcb_test_fake_input(connection_, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME,
                            XCB_NONE, 0, 0, 0);
        Sync();
    }

private:
    xcb_atom_t Atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 1, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }

    std::string Property(xcb_window_t window, xcb_atom_t property)
    {
        if (property == XCB_ATOM_NONE)
            return {};
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr);
        std::string value;
        if (reply != nullptr && reply->format == 8) {
            const char* data = static_cast<const char*>(xcb_get_property_value(reply));
            value.assign(data, static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        }
        std::free(reply);
        return value;
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
};

}  // namespace e2e
