#include "mainwindow/commands/pane_commands.h"

#include <optional>

#include "windowlayer/text/cp932_clipboard.h"

namespace vesk {

void startWithEmptyLine(BytePane& pane) { pane.appendLine({}); }

void pasteReplacing(BytePane& pane) {
  // Read before clearing, so that a clipboard without text keeps the pane.
  const std::optional<QByteArray> bytes = bytesFromClipboard();
  if (!bytes) return;
  pane.clear();
  pane.replaceSelectionWithoutUndo(*bytes);
}

void copyWhole(BytePane& pane) {
  pane.selectAll();
  pane.copy();
}

void convertInto(const BytePane& source, BytePane& target, const Converter& convert) {
  target.clear();
  // The source's bytes go before the result is shown, so that large text
  // needs one buffer less at the peak.
  const std::string result = [&] {
    const QByteArray text = source.text();
    return convert(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
  }();
  target.appendLine(QByteArrayView(result.data(), static_cast<qsizetype>(result.size())));
}

}  // namespace vesk
