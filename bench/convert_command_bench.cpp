// The Convert command end to end (read the source pane, convert, append to the
// emptied target pane), each size next to a bare Qt insert of the same result
// text into a plain QPlainTextEdit of the same size: the command's overhead is
// the ratio of the two.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
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

void BM_ConvertCommand(benchmark::State& state, std::size_t size, bool lineBreaks) {
  vesk::BytePane source;
  vesk::BytePane target;
  shownAtPaneSize(source);
  shownAtPaneSize(target);
  const std::string text = localText(size, lineBreaks);
  source.setText(view(text));
  for (auto _ : state) {
    vesk::convertInto(source, target, vesk::ConvertHtoZ);
    QCoreApplication::processEvents();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
  benchmark::DoNotOptimize(target.blockCount());
}

void BM_BareInsert(benchmark::State& state, std::size_t size, bool lineBreaks) {
  QPlainTextEdit edit;
  shownAtPaneSize(edit);
  const std::string text = localText(size, lineBreaks);
  const QString result = vesk::textFromBytes(view(vesk::ConvertHtoZ(text))) + QStringLiteral("\n");
  for (auto _ : state) {
    edit.setPlainText(result);
    QCoreApplication::processEvents();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
  benchmark::DoNotOptimize(edit.blockCount());
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
