#pragma once

// Code page 932 text on the clipboard. Bytes go out twice: as Unicode text for
// every other program, and raw under kCp932MimeType so that another Vesktext
// window, or a script (xclip -t 'text/plain;charset=windows-31j'), gets the
// bytes exactly. Reading prefers the raw bytes, then UTF-8 text, then Latin-1
// text (clipboard_targets.h), and takes nothing else for text.
//
// On X11 another program's clipboard is read through a connection of the
// program's own (x11_selection.h): one wait at most for an owner that does
// not answer, with a busy cursor while it lasts.

#include <QByteArray>
#include <QByteArrayView>
#include <QClipboard>
#include <QMimeData>
#include <chrono>
#include <memory>
#include <optional>

namespace vesk {

inline constexpr char kCp932MimeType[] = "text/plain;charset=windows-31j";

// Unicode text (exchange text of cp932_text.h: line breaks as '\n', which
// Qt turns into the platform's own) and the raw bytes.
std::unique_ptr<QMimeData> mimeDataForBytes(QByteArrayView bytes);

// The bytes that `data` offers, or nothing when it offers no text at all or
// its transfer failed (the owner too slow, or gone mid-way), never part of
// the text. Unicode text is read as exchange text: its line breaks become
// CR LF. The clipboard's own data (a paste from the keyboard) is read as
// bytesFromClipboard() reads it.
std::optional<QByteArray> bytesFromMimeData(const QMimeData& data);

// Replaces the clipboard's content with `bytes`.
void putBytesOnClipboard(QByteArrayView bytes, QClipboard::Mode mode = QClipboard::Clipboard);

// The clipboard's text as bytes, as bytesFromMimeData() reads it.
std::optional<QByteArray> bytesFromClipboard(QClipboard::Mode mode = QClipboard::Clipboard);

// How long a paste waits for a clipboard owner that does not answer; each
// piece of a large answer restarts the wait. Five seconds unless set.
void setClipboardPatience(std::chrono::milliseconds patience);

}  // namespace vesk
