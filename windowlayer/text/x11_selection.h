#pragma once

// Reads an X selection's text through an X connection of its own, so that
// the program decides what it waits for and how long: Qt's clipboard waits
// up to five seconds for each request it makes, and takes any answer for
// text, whatever its type.

#include <QByteArray>
#include <chrono>
#include <optional>

#include "windowlayer/text/clipboard_targets.h"

namespace vesk {

struct SelectionText {
  QByteArray bytes;
  TextEncoding encoding;
};

struct SelectionRead {
  bool reached = false;  // false when no X server could be reached
  std::optional<SelectionText> text;
};

// Asks the owner of `selection` ("CLIPBOARD" or "PRIMARY") for its targets,
// then for the best text target (chooseTextTarget), taking large text in
// increments. Gives no text when nobody owns the selection, when it holds no
// text, when the owner answers with anything but 8-bit text, when it goes
// away, or when it leaves `patience` without an answer.
SelectionRead readX11SelectionText(const char* selection, std::chrono::milliseconds patience);

}  // namespace vesk
