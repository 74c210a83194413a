// The real X clipboard, with xclip as the other program. Runs on a private
// Xvfb (scripts/with-xvfb.sh).

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <memory>
#include <vector>

#include "conversion/convert.h"
#include "mainwindow/commands/pane_commands.h"
#include "windowlayer/text/cp932_clipboard.h"

using vesk::BytePane;

namespace {

const QString kRaw = QString::fromLatin1(vesk::kCp932MimeType);
const QString kUtf8 = QStringLiteral("UTF8_STRING");

}  // namespace

class X11ClipboardTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanup();
  void pastesConvertsAndCopiesUnicodeText_data();
  void pastesConvertsAndCopiesUnicodeText();
  void pastesRawBytesExactly_data();
  void pastesRawBytesExactly();
  void keyboardPasteTakesRawBytes();
  void imageOnlyClipboardKeepsThePane();
  void ownerThatGoesAwayKeepsThePane_data();
  void ownerThatGoesAwayKeepsThePane();

 private:
  // Starts xclip serving `bytes` as `target` until it is killed, or for
  // `requests` requests when that is given, and waits until it owns the
  // clipboard and Qt has heard of the change.
  QProcess* serve(const QString& target, const QByteArray& bytes, int requests = 0);
  QByteArray readWithXclip(const QString& target);
  // Copies the whole pane as a click on Copy would. Qt claims the clipboard
  // with the time of the last X event it has seen; a user's click is such an
  // event, here a property change on a window of ours stands in for it.
  bool copyAsTheUserWould(BytePane& pane);

  QWidget clock_;
  int ticks_ = 0;

  std::vector<std::unique_ptr<QProcess>> servers_;
};

void X11ClipboardTest::initTestCase() {
  clock_.show();
  QVERIFY(QTest::qWaitForWindowExposed(&clock_));
}

bool X11ClipboardTest::copyAsTheUserWould(BytePane& pane) {
  return QTest::qWaitFor(
      [&] {
        clock_.setWindowTitle(QString::number(++ticks_));
        vesk::copyWhole(pane);
        return QGuiApplication::clipboard()->ownsClipboard();
      },
      10000);
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

QProcess* X11ClipboardTest::serve(const QString& target, const QByteArray& bytes, int requests) {
  const QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::dataChanged);
  auto& xclip = servers_.emplace_back(std::make_unique<QProcess>());
  QStringList arguments{"-quiet", "-selection", "clipboard", "-t", target, "-i"};
  if (requests > 0) arguments << "-loops" << QString::number(requests);
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

void X11ClipboardTest::pastesConvertsAndCopiesUnicodeText_data() {
  QTest::addColumn<QByteArray>("utf8");
  QTest::addColumn<bool>("toStandard");
  QTest::addColumn<QByteArray>("pasted");
  QTest::addColumn<QByteArray>("convertedRaw");
  QTest::addColumn<QByteArray>("convertedUtf8");
  QTest::newRow("local kana to standard")
      << QByteArray("ｶﾞｲﾄﾞ\n") << true << QByteArray::fromHex("b6deb2c4de0d0a")
      << QByteArray::fromHex("834b834383680d0a0d0a") << QByteArray("ガイド\n\n");
  QTest::newRow("standard to local")
      << QByteArray("ガ√") << false << QByteArray::fromHex("834b8795")
      << QByteArray::fromHex("b6def0560d0a")
      << QByteArray("ｶﾞ") + QString(QChar(0xE000 + 0x56 - 0x40)).toUtf8() + "\n";
  QTest::newRow("CR LF breaks and a character code page 932 lacks")
      << QByteArray("a\r\né") << true << QByteArray("a\r\n?") << QByteArray("a\r\n?\r\n")
      << QByteArray("a\n?\n");
  QTest::newRow("empty text") << QByteArray() << true << QByteArray() << QByteArray("\r\n")
                              << QByteArray("\n");
}

void X11ClipboardTest::pastesConvertsAndCopiesUnicodeText() {
  QFETCH(QByteArray, utf8);
  QFETCH(bool, toStandard);
  QFETCH(QByteArray, pasted);
  QFETCH(QByteArray, convertedRaw);
  QFETCH(QByteArray, convertedUtf8);
  BytePane source;
  BytePane target;
  source.setText("old");
  QProcess* xclip = serve(kUtf8, utf8);
  QVERIFY(xclip);

  vesk::pasteReplacing(source);
  QCOMPARE(source.text(), pasted);
  vesk::convertInto(source, target, toStandard ? vesk::ConvertHtoZ : vesk::ConvertZtoH);
  QVERIFY(copyAsTheUserWould(target));
  QCOMPARE(readWithXclip(kRaw), convertedRaw);
  QCOMPARE(readWithXclip(kUtf8), convertedUtf8);
}

void X11ClipboardTest::pastesRawBytesExactly_data() {
  QTest::addColumn<QByteArray>("raw");
  QTest::addColumn<QByteArray>("converted");
  QTest::newRow("local codes, kana and a lone byte")
      << QByteArray::fromHex("f541b6de0d0a4180") << QByteArray::fromHex("829f834b0d0a41800d0a");
  QTest::newRow("lead byte last") << QByteArray::fromHex("41f0")
                                  << QByteArray::fromHex(
                                         "418795"
                                         "0d0a");
  QTest::newRow("square root kept as 8795")
      << QByteArray::fromHex("8795") << QByteArray::fromHex("87950d0a");
  QTest::newRow("large text") << QByteArray::fromHex("b6de0d0a").repeated(250000)
                              << QByteArray::fromHex("834b0d0a").repeated(250000) + "\r\n";
}

void X11ClipboardTest::pastesRawBytesExactly() {
  QFETCH(QByteArray, raw);
  QFETCH(QByteArray, converted);
  BytePane source;
  BytePane target;
  QProcess* xclip = serve(kRaw, raw);
  QVERIFY(xclip);

  vesk::pasteReplacing(source);
  QCOMPARE(source.text(), raw);
  vesk::convertInto(source, target, vesk::ConvertHtoZ);
  QVERIFY(copyAsTheUserWould(target));
  QCOMPARE(readWithXclip(kRaw), converted);
}

void X11ClipboardTest::keyboardPasteTakesRawBytes() {
  BytePane pane;
  pane.setText("ab");
  QProcess* xclip = serve(kRaw, QByteArray::fromHex("f0560d0a"));
  QVERIFY(xclip);
  QTest::keySequence(&pane, QKeySequence::Paste);
  QCOMPARE(pane.text(), QByteArray::fromHex("6162f0560d0a"));
}

void X11ClipboardTest::imageOnlyClipboardKeepsThePane() {
  BytePane pane;
  pane.setText("keep");
  const QString png = QStringLiteral("image/png");
  QProcess* xclip = serve(png, QByteArray::fromHex("89504e470d0a1a0a"));
  QVERIFY(xclip);
  vesk::pasteReplacing(pane);
  QCOMPARE(pane.text(), QByteArray("keep"));
  QTest::keySequence(&pane, QKeySequence::Paste);
  QCOMPARE(pane.text(), QByteArray("keep"));
}

enum class Departure { Killed, StopsAnswering };
Q_DECLARE_METATYPE(Departure)

void X11ClipboardTest::ownerThatGoesAwayKeepsThePane_data() {
  QTest::addColumn<Departure>("departure");
  QTest::addColumn<bool>("targetsListed");
  QTest::newRow("killed") << Departure::Killed << false;
  QTest::newRow("killed after listing its targets") << Departure::Killed << true;
  QTest::newRow("stops answering") << Departure::StopsAnswering << false;
  QTest::newRow("stops answering after listing its targets") << Departure::StopsAnswering << true;
}

// The paste returns (Qt gives up on a silent owner after a few seconds) and
// the pane keeps its text rather than losing it to a transfer that failed.
void X11ClipboardTest::ownerThatGoesAwayKeepsThePane() {
  QFETCH(Departure, departure);
  QFETCH(bool, targetsListed);
  const QByteArray old = "old text";
  BytePane pane;
  pane.setText(old);
  QProcess* xclip = serve(kRaw, QByteArray::fromHex("b1").repeated(100000));
  QVERIFY(xclip);
  if (targetsListed) QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(kRaw));
  if (departure == Departure::Killed) {
    xclip->kill();
    QVERIFY(xclip->waitForFinished());
  } else {
    QCOMPARE(::kill(static_cast<pid_t>(xclip->processId()), SIGSTOP), 0);
  }
  vesk::pasteReplacing(pane);
  QCOMPARE(pane.text(), old);
  QTest::keySequence(&pane, QKeySequence::Paste);
  QCOMPARE(pane.text(), old);
}

QTEST_MAIN(X11ClipboardTest)
#include "x11_clipboard_test.moc"
