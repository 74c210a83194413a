#include "windowlayer/text/x11_selection.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <QCursor>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace vesk {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often a wait makes sure the owner is still there, and how long it
// waits before it shows the busy cursor (at the next such check).
constexpr milliseconds kOwnerCheck(50);
constexpr milliseconds kBusyAfter(100);
// A property is read in pieces of this many 32-bit words.
constexpr uint32_t kWordsPerRead = 1U << 20;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

struct Property {
  xcb_atom_t type = XCB_NONE;
  uint8_t format = 0;
  QByteArray bytes;
};

// The wait cursor over the program's windows from its first call to show()
// until it is destroyed.
class BusyCursor {
 public:
  BusyCursor() = default;
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
  ~BusyCursor() {
    if (shown_) QGuiApplication::restoreOverrideCursor();
  }

  void show() {
    if (shown_) return;
    shown_ = true;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    // Qt sends it with its next requests, but its thread is the one waiting.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
      xcb_flush(x11->connection());
  }

 private:
  bool shown_ = false;
};

class SelectionReader {
 public:
  SelectionReader(const char* selection, milliseconds patience)
      : connection_(xcb_connect(nullptr, nullptr)), patience_(patience) {
    if (!reached()) return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    selection_ = atom(selection);
    property_ = atom("VESKTEXT_SELECTION");
    owner_ = currentOwner();
  }
  SelectionReader(const SelectionReader&) = delete;
  SelectionReader& operator=(const SelectionReader&) = delete;
  ~SelectionReader() { xcb_disconnect(connection_); }

  bool reached() const { return xcb_connection_has_error(connection_) == 0; }

  std::optional<SelectionText> read() {
    if (owner_ == XCB_NONE) return std::nullopt;
    const std::optional<Property> targets = ask(atom("TARGETS"));
    if (!targets || targets->type != XCB_ATOM_ATOM || targets->format != 32) return std::nullopt;
    std::vector<xcb_atom_t> offered(static_cast<std::size_t>(targets->bytes.size()) /
                                    sizeof(xcb_atom_t));
    std::memcpy(offered.data(), targets->bytes.constData(), offered.size() * sizeof(xcb_atom_t));
    const QStringList names = atomNames(offered);
    const std::optional<TextTarget> target = chooseTextTarget(names);
    if (!target) return std::nullopt;
    const xcb_atom_t targetAtom = offered[static_cast<std::size_t>(names.indexOf(target->name))];

    std::optional<Property> text = ask(targetAtom);
    if (!text || text->format != 8) return std::nullopt;
    // The answer's type says what it is; an owner may answer a text target
    // with a number.
    if (text->type == atom("UTF8_STRING")) return SelectionText{text->bytes, TextEncoding::Utf8};
    if (text->type == XCB_ATOM_STRING) return SelectionText{text->bytes, TextEncoding::Latin1};
    if (text->type == targetAtom) return SelectionText{text->bytes, target->encoding};
    return std::nullopt;
  }

 private:
  xcb_atom_t atom(const char* name) const {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : XCB_NONE;
  }

  QStringList atomNames(const std::vector<xcb_atom_t>& atoms) const {
    std::vector<xcb_get_atom_name_cookie_t> cookies;
    for (const xcb_atom_t a : atoms) cookies.push_back(xcb_get_atom_name(connection_, a));
    QStringList names;
    for (const auto cookie : cookies) {
      const Reply<xcb_get_atom_name_reply_t> reply(
          xcb_get_atom_name_reply(connection_, cookie, nullptr));
      names << (reply ? QString::fromLatin1(xcb_get_atom_name_name(reply.get()),
                                            xcb_get_atom_name_name_length(reply.get()))
                      : QString());
    }
    return names;
  }

  xcb_window_t currentOwner() const {
    const Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, selection_), nullptr));
    return reply ? reply->owner : XCB_NONE;
  }

  // The owner's answer to a request for `target`, large answers put together
  // from their increments.
  std::optional<Property> ask(xcb_atom_t target) {
    xcb_convert_selection(connection_, window_, selection_, target, property_, XCB_CURRENT_TIME);
    xcb_flush(connection_);
    const auto notified = waitFor([this](const xcb_generic_event_t& event) {
      if ((event.response_type & 0x7F) != XCB_SELECTION_NOTIFY) return false;
      return reinterpret_cast<const xcb_selection_notify_event_t&>(event).requestor == window_;
    });
    if (!notified ||
        reinterpret_cast<const xcb_selection_notify_event_t&>(*notified).property == XCB_NONE)
      return std::nullopt;
    std::optional<Property> answer = take();
    if (!answer || answer->type != atom("INCR")) return answer;

    // Each increment comes once the last one was taken; an empty one ends them.
    Property whole;
    for (;;) {
      const auto written = waitFor([this](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return false;
        const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        return change.window == window_ && change.atom == property_ &&
               change.state == XCB_PROPERTY_NEW_VALUE;
      });
      if (!written) return std::nullopt;
      std::optional<Property> piece = take();
      if (!piece) return std::nullopt;
      whole.type = piece->type;
      whole.format = piece->format;
      if (piece->bytes.isEmpty()) return whole;
      whole.bytes += piece->bytes;
    }
  }

  // Reads the property and deletes it, which tells an owner sending
  // increments to send the next.
  std::optional<Property> take() {
    Property property;
    for (uint32_t offset = 0;;) {
      const Reply<xcb_get_property_reply_t> reply(
          xcb_get_property_reply(connection_,
                                 xcb_get_property(connection_, 0, window_, property_,
                                                  XCB_GET_PROPERTY_TYPE_ANY, offset, kWordsPerRead),
                                 nullptr));
      if (!reply) return std::nullopt;
      property.type = reply->type;
      property.format = reply->format;
      const int length = xcb_get_property_value_length(reply.get());
      property.bytes.append(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
      if (reply->bytes_after == 0) break;
      offset += static_cast<uint32_t>(length) / 4;
    }
    xcb_delete_property(connection_, window_, property_);
    xcb_flush(connection_);
    return property;
  }

  // The first event that `matches`, or nothing when the owner goes away or
  // stays silent for the whole of the patience.
  template <typename Match>
  Reply<xcb_generic_event_t> waitFor(Match matches) {
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + patience_;
    Clock::time_point ownerCheck = start + kOwnerCheck;
    for (;;) {
      while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(connection_)}) {
        if (matches(*event)) return event;
      }
      if (!reached()) return nullptr;
      Clock::time_point now = Clock::now();
      if (now >= deadline) return nullptr;
      if (now >= start + kBusyAfter) busy_.show();
      if (now >= ownerCheck) {
        if (currentOwner() != owner_) return nullptr;
        ownerCheck = now + kOwnerCheck;
        continue;  // the round trip may have queued events
      }
      pollfd socket{xcb_get_file_descriptor(connection_), POLLIN, 0};
      const Clock::time_point wake = std::min(deadline, ownerCheck);
      ::poll(&socket, 1, static_cast<int>(std::chrono::ceil<milliseconds>(wake - now).count()));
    }
  }

  xcb_connection_t* connection_;
  milliseconds patience_;
  xcb_window_t window_ = XCB_NONE;
  xcb_atom_t selection_ = XCB_NONE;
  xcb_atom_t property_ = XCB_NONE;
  xcb_window_t owner_ = XCB_NONE;
  BusyCursor busy_;
};

}  // namespace

SelectionRead readX11SelectionText(const char* selection, milliseconds patience) {
  SelectionReader reader(selection, patience);
  if (!reader.reached()) return {};
  return {true, reader.read()};
}

}  // namespace vesk
