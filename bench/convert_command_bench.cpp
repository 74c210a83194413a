// The Convert command end to end (read the source pane, convert, append to the
// emptied target pane), each size next to a bare Qt insert of the same result
// text: setPlainText of the already decoded text on the same emptied target.
// Both run on the same two shown panes with the source filled, so the ratio of
// the two is what the command costs beyond showing its result.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "conversion/convert.h"
#include "mainwindow/commands/pane_commands.h"
#include "windowlayer/controls/window_font.h"
#include "windowlayer/text/byte_pane.h"
#include "windowlayer/text/cp932_text.h"

namespace {

constexpr QSize kPaneSize(353, 145);

// Local text of about `size` bytes: half-width kana with marks, local
// hiragana, ASCII; lines of about 70 bytes, or one line when lineBreaks is false.
std::string localText(std::size_t size, bool lineBreaks) {
  const std::string piece = "\xB6\xDE\xB2\xC4\xDE \xF5\x41\xF6\x40 Vesk 1.20 \xCA\xDF\xB0\xC3\xA8";
  std::string text;
  text.reserve(size + piece.size() + 2);
  std::size_t lineLength = 0;
  while (text.size() < size) {
    text += piece;
    lineLength += piece.size();
    if (lineBreaks && lineLength >= 70) {
      text += "\r\n";
      lineLength = 0;
    }
  }
  return text;
}

QByteArrayView view(const std::string& bytes) {
  return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void shownAtPaneSize(QWidget& widget) {
  widget.setFont(vesk::windowFont());
  widget.resize(kPaneSize);
  widget.show();
}

// The main window's two panes, the source holding the text.
struct Panes {
  Panes(std::size_t size, bool lineBreaks) : text(localText(size, lineBreaks)) {
    shownAtPaneSize(source);
    shownAtPaneSize(target);
    source.setText(view(text));
    QCoreApplication::processEvents();
  }

  const std::string text;
  vesk::BytePane source;
  vesk::BytePane target;
};

void reportBytes(benchmark::State& state, const Panes& panes) {
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(panes.text.size()));
  benchmark::DoNotOptimize(panes.target.blockCount());
}

void BM_ConvertCommand(benchmark::State& state, std::size_t size, bool lineBreaks) {
  Panes panes(size, lineBreaks);
  for (auto _ : state) {
    vesk::convertInto(panes.source, panes.target, vesk::ConvertHtoZ);
    QCoreApplication::processEvents();
  }
  reportBytes(state, panes);
}

void BM_BareInsert(benchmark::State& state, std::size_t size, bool lineBreaks) {
  Panes panes(size, lineBreaks);
  const QString result = vesk::paneTextFromBytes(view(vesk::ConvertHtoZ(panes.text) + "\r\n"));
  for (auto _ : state) {
    panes.target.clear();
    panes.target.setPlainText(result);
    QCoreApplication::processEvents();
  }
  reportBytes(state, panes);
}

constexpr std::size_t kMegabyte = 1 << 20;

BENCHMARK_CAPTURE(BM_ConvertCommand, lines_1MB, kMegabyte, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareInsert, lines_1MB, kMegabyte, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ConvertCommand, lines_10MB, 10 * kMegabyte, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareInsert, lines_10MB, 10 * kMegabyte, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ConvertCommand, one_line_1MB, kMegabyte, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareInsert, one_line_1MB, kMegabyte, false)->Unit(benchmark::kMillisecond);

}  // namespace
