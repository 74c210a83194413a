#include "windowlayer/controls/glyph_placement.h"

namespace vesk {

namespace {

// Where a length starts so that it is centred in [start, start + room).
int centred(int start, int room, int length) { return start + (room - length) / 2; }

}  // namespace

GlyphPlacement placeGlyphAndCaption(const QRect& area, QSize glyph, QSize caption,
                                    GlyphPosition position, int spacing) {
  const bool hasGlyph = !glyph.isEmpty();
  const bool hasCaption = !caption.isEmpty();
  const int gap = hasGlyph && hasCaption ? spacing : 0;
  const QSize glyphSize = hasGlyph ? glyph : QSize(0, 0);
  const QSize captionSize = hasCaption ? caption : QSize(0, 0);

  if (position == GlyphPosition::LeftOfCaption) {
    const int left =
        centred(area.left(), area.width(), glyphSize.width() + gap + captionSize.width());
    return {QRect(QPoint(left, centred(area.top(), area.height(), glyphSize.height())), glyphSize),
            QRect(QPoint(left + glyphSize.width() + gap,
                         centred(area.top(), area.height(), captionSize.height())),
                  captionSize)};
  }
  const int top =
      centred(area.top(), area.height(), glyphSize.height() + gap + captionSize.height());
  return {QRect(QPoint(centred(area.left(), area.width(), glyphSize.width()), top), glyphSize),
          QRect(QPoint(centred(area.left(), area.width(), captionSize.width()),
                       top + glyphSize.height() + gap),
                captionSize)};
}

}  // namespace vesk
