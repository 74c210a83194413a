#pragma once

// The six commands of the main window, as functions on its two panes:
//   BeforePasteBClick / AfterpasteBClick -> pasteReplacing(pane)
//   BeforeCopyBClick  / AfterCopyBClick  -> copyWhole(pane)
//   ConvertHtoZBClick -> convertInto(Beforememo, Aftermemo, vesk::ConvertHtoZ)
//   ConvertZtoHBClick -> convertInto(Aftermemo, Beforememo, vesk::ConvertZtoH)

#include <functional>
#include <string>
#include <string_view>

#include "windowlayer/text/byte_pane.h"

namespace vesk {

// The signature of vesk::ConvertHtoZ and vesk::ConvertZtoH.
using Converter = std::function<std::string(std::string_view)>;

// Gives a freshly built pane its initial content, one empty line: CR LF.
void startWithEmptyLine(BytePane& pane);

// The pane's whole content becomes the clipboard's text, caret at its end.
// When the clipboard holds no text at all the pane is left as it was.
void pasteReplacing(BytePane& pane);

// Selects the whole pane and copies it; the whole text stays selected.
void copyWhole(BytePane& pane);

// Clears `target`, reads `source`, converts its text and appends the result as
// one line, so `target` holds the result followed by CR LF. `source` is not
// touched. If `convert` throws, `target` stays empty and the error goes on.
void convertInto(const BytePane& source, BytePane& target, const Converter& convert);

}  // namespace vesk
