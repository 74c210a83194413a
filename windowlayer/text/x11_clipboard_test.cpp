// The real X clipboard, with other programs as its owner: xclip, and an owner
// of the test's own that answers a text request with a number or not at all. Runs on a
// private Xvfb (scripts/with-xvfb.sh).

#include <xcb/xcb.h>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <csignal>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "windowlayer/text/byte_pane.h"
#include "windowlayer/text/cp932_clipboard.h"

using vesk::BytePane;
using Bytes = std::optional<QByteArray>;

namespace {

const QString kRaw = QString::fromLatin1(vesk::kCp932MimeType);

enum class Peer { Killed, StopsAnswering, GoneAfterTargets, Number8, Number32 };

// Owns the clipboard and lists UTF8_STRING among its targets; asked for it,
// it answers with an INTEGER of 8 or 32 bits, or goes away.
class OddOwner {
 public:
  explicit OddOwner(Peer peer) : connection_(xcb_connect(nullptr, nullptr)), peer_(peer) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(connection_, window_, atom("CLIPBOARD"), XCB_CURRENT_TIME);
    free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    server_ = std::thread([this] {
      while (!stop_) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
          if ((event->response_type & 0x7F) == XCB_SELECTION_REQUEST)
            answer(*reinterpret_cast<xcb_selection_request_event_t*>(event));
          free(event);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
  }
  OddOwner(const OddOwner&) = delete;
  OddOwner& operator=(const OddOwner&) = delete;
  ~OddOwner() {
    stop_ = true;
    server_.join();
    xcb_disconnect(connection_);
  }

 private:
  xcb_atom_t atom(const char* name) {
    const auto cookie = xcb_intern_atom(connection_, 0, static_cast<uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    const xcb_atom_t atom = reply->atom;
    free(reply);
    return atom;
  }

  void answer(const xcb_selection_request_event_t& request) {
    if (request.target == atom("TARGETS")) {
      const xcb_atom_t targets[] = {atom("TARGETS"), atom("UTF8_STRING")};
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                          XCB_ATOM_ATOM, 32, 2, targets);
    } else if (peer_ == Peer::GoneAfterTargets) {
      xcb_destroy_window(connection_, window_);
      xcb_flush(connection_);
      return;
    } else {
      const uint32_t number[] = {0x58, 0x59};
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                          XCB_ATOM_INTEGER, peer_ == Peer::Number8 ? 8 : 32, 2, number);
    }
    xcb_selection_notify_event_t reply{};
    reply.response_type = XCB_SELECTION_NOTIFY;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.property = request.property;
    xcb_send_event(connection_, 0, request.requestor, 0, reinterpret_cast<const char*>(&reply));
    xcb_flush(connection_);
  }

  xcb_connection_t* connection_;
  Peer peer_;
  xcb_window_t window_;
  std::atomic<bool> stop_ = false;
  std::thread server_;
};

}  // namespace

Q_DECLARE_METATYPE(Peer)

class X11ClipboardTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanup();
  void pastesTheBestTextTarget_data();
  void pastesTheBestTextTarget();
  void ownerThatGoesAwayOrAnswersNoTextGivesNone_data();
  void ownerThatGoesAwayOrAnswersNoTextGivesNone();
  void copyOffersRawBytesAndUnicodeText();

 private:
  // Starts xclip serving `bytes` as `target` until it is killed, and waits
  // until it owns the clipboard and Qt has heard of the change.
  QProcess* serve(const QString& target, const QByteArray& bytes);
  QByteArray readWithXclip(const QString& target);
  // What a paste from the keyboard leaves in a pane holding "ab".
  QByteArray keyboardPaste();

  QWidget clock_;
  int ticks_ = 0;
  std::vector<std::unique_ptr<QProcess>> servers_;
};

void X11ClipboardTest::initTestCase() {
  // Silent owners cost this much per paste; the program waits five seconds.
  vesk::setClipboardPatience(std::chrono::milliseconds(300));
  clock_.show();
  QVERIFY(QTest::qWaitForWindowExposed(&clock_));
}

void X11ClipboardTest::cleanup() {
  for (const auto& server : servers_) {
    ::kill(static_cast<pid_t>(server->processId()), SIGCONT);
    server->kill();
    server->waitForFinished();
  }
  servers_.clear();
  // Leaves an empty clipboard, and Qt aware of it, for the next test.
  QGuiApplication::clipboard()->clear();
  QTRY_VERIFY(!QGuiApplication::clipboard()->mimeData() ||
              QGuiApplication::clipboard()->mimeData()->formats().isEmpty());
}

QProcess* X11ClipboardTest::serve(const QString& target, const QByteArray& bytes) {
  const QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::dataChanged);
  auto& xclip = servers_.emplace_back(std::make_unique<QProcess>());
  QStringList arguments{"-quiet", "-selection", "clipboard", "-t", target, "-i"};
  xclip->start(QStringLiteral("xclip"), arguments);
  if (!xclip->waitForStarted()) return nullptr;
  xclip->write(bytes);
  xclip->closeWriteChannel();
  QByteArray said;
  const bool owns = QTest::qWaitFor(
      [&] {
        said += xclip->readAllStandardError();
        return said.contains("Waiting for selection requests") && !changed.isEmpty();
      },
      10000);
  return owns ? xclip.get() : nullptr;
}

QByteArray X11ClipboardTest::readWithXclip(const QString& target) {
  QProcess xclip;
  xclip.start(QStringLiteral("xclip"), {"-selection", "clipboard", "-o", "-t", target});
  // Our own event loop has to answer xclip's request meanwhile.
  if (!QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 10000)) return {};
  return xclip.readAllStandardOutput();
}

QByteArray X11ClipboardTest::keyboardPaste() {
  BytePane pane;
  pane.setText("ab");
  QTest::keySequence(&pane, QKeySequence::Paste);
  return pane.text();
}

void X11ClipboardTest::pastesTheBestTextTarget_data() {
  QTest::addColumn<QString>("target");
  QTest::addColumn<QByteArray>("offered");
  QTest::addColumn<Bytes>("pasted");
  const QByteArray local = QByteArray::fromHex("f541b6de0d0a4180");
  // More than xclip sends at once: it goes in increments.
  const QByteArray large = QByteArray::fromHex("b6de0d0a").repeated(300000);
  QTest::newRow("raw bytes") << kRaw << local << Bytes(local);
  QTest::newRow("raw bytes, lead byte last")
      << kRaw << QByteArray::fromHex("41f0") << Bytes(QByteArray::fromHex("41f0"));
  QTest::newRow("raw bytes in increments") << kRaw << large << Bytes(large);
  QTest::newRow("UTF8_STRING") << "UTF8_STRING" << QByteArray("ｶﾞｲﾄﾞ\nア")
                               << Bytes(QByteArray::fromHex("b6deb2c4de0d0a8341"));
  QTest::newRow("empty UTF8_STRING") << "UTF8_STRING" << QByteArray() << Bytes(QByteArray());
  QTest::newRow("UTF-8 as a MIME type")
      << "text/plain;charset=utf-8" << QByteArray("XあY") << Bytes(QByteArray::fromHex("5882a059"));
  QTest::newRow("Latin-1 STRING") << "STRING" << QByteArray("a\xb1\xd7")
                                  << Bytes(QByteArray::fromHex("61817d817e"));
  QTest::newRow("a number is no text") << "INTEGER" << QByteArray("\x58\0\0\0", 4) << Bytes();
  QTest::newRow("an image is no text") << "image/png" << QByteArray::fromHex("89504e47") << Bytes();
}

// Read by a Paste button and by the keyboard's paste.
void X11ClipboardTest::pastesTheBestTextTarget() {
  QFETCH(QString, target);
  QFETCH(QByteArray, offered);
  QFETCH(Bytes, pasted);
  QVERIFY(serve(target, offered));
  QCOMPARE(vesk::bytesFromClipboard(), pasted);
  QCOMPARE(keyboardPaste(), "ab" + pasted.value_or(QByteArray()));
}

void X11ClipboardTest::ownerThatGoesAwayOrAnswersNoTextGivesNone_data() {
  QTest::addColumn<Peer>("peer");
  QTest::newRow("killed") << Peer::Killed;
  QTest::newRow("stops answering") << Peer::StopsAnswering;
  QTest::newRow("gone after listing its targets") << Peer::GoneAfterTargets;
  QTest::newRow("answers with an 8-bit number") << Peer::Number8;
  QTest::newRow("answers with a 32-bit number") << Peer::Number32;
}

// The paste returns, and gives no text rather than what a failed transfer
// left or bytes that are no text.
void X11ClipboardTest::ownerThatGoesAwayOrAnswersNoTextGivesNone() {
  QFETCH(Peer, peer);
  std::optional<OddOwner> odd;
  if (peer == Peer::Killed || peer == Peer::StopsAnswering) {
    QProcess* xclip = serve(kRaw, QByteArray::fromHex("b1").repeated(100000));
    QVERIFY(xclip);
    if (peer == Peer::Killed) {
      xclip->kill();
      QVERIFY(xclip->waitForFinished());
    } else {
      QCOMPARE(::kill(static_cast<pid_t>(xclip->processId()), SIGSTOP), 0);
    }
  } else {
    odd.emplace(peer);
  }
  QCOMPARE(vesk::bytesFromClipboard(), Bytes());
  QCOMPARE(keyboardPaste(), QByteArray("ab"));
}

void X11ClipboardTest::copyOffersRawBytesAndUnicodeText() {
  const QByteArray bytes = QByteArray::fromHex("b6de0d0a8341");
  BytePane pane;
  pane.setText(bytes);
  // Qt claims the clipboard with the time of the last X event it has seen; a
  // user's click is such an event, here a property change on a window of ours
  // stands in for it. Until then Qt may believe it owns the clipboard.
  QVERIFY(QTest::qWaitFor(
      [&] {
        clock_.setWindowTitle(QString::number(++ticks_));
        pane.selectAll();
        pane.copy();
        return readWithXclip(QStringLiteral("TARGETS")).contains(vesk::kCp932MimeType);
      },
      10000));
  QCOMPARE(readWithXclip(kRaw), bytes);
  QCOMPARE(readWithXclip(QStringLiteral("UTF8_STRING")), QByteArray("ｶﾞ\nア"));
  // The program's own clipboard needs no X transfer.
  QCOMPARE(vesk::bytesFromClipboard(), Bytes(bytes));
}

QTEST_MAIN(X11ClipboardTest)
#include "x11_clipboard_test.moc"
