#pragma once

// Code page 932 bytes <-> QString, through the program's one codec, in the
// two forms the program needs.
//
// Pane text, as a pane's document holds it: every byte string has a text of
// its own that gives back exactly those bytes. CR LF is a paragraph break, a
// lone LF a line separator (U+2028) and a lone CR the character kLoneCr;
// every code reads as a character of its own, even where code page 932 holds
// a character twice (see cp932_codec.h).
//
// Exchange text, as other programs read and write it on the clipboard: the
// platform's line breaks ("\n") and the characters everybody knows.

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

namespace vesk {

// A CR byte with no LF after it; drawn like the bytes that form no character.
inline constexpr QChar kLoneCr(0xF70D);

// Pane text with "\n" for each paragraph break, ready to insert.
QString paneTextFromBytes(QByteArrayView bytes);

// The bytes of a document's raw text (paragraph breaks as U+2029).
QByteArray bytesFromPaneText(QStringView text);

// What text typed or inserted by other means than bytes holds once in a pane:
// each character as the code page 932 character it writes as ('?' where it
// has none, a stand-in's replacement for a stand-in); breaks kept.
QString paneFormOfTyping(QStringView typed);

// Unicode text for other programs: breaks as "\n", each duplicate code as
// its character.
QString exchangeTextFromBytes(QByteArrayView bytes);

// The bytes of other programs' text: every kind of line break becomes CR LF;
// a character code page 932 cannot hold becomes '?'.
QByteArray bytesFromExchangeText(QStringView text);

}  // namespace vesk
