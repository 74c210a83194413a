#pragma once

#include <QRect>
#include <QSize>

namespace vesk {

enum class GlyphPosition { LeftOfCaption, AboveCaption };

struct GlyphPlacement {
  QRect glyph;
  QRect caption;
};

// Places a glyph and a caption in area as one group centred both ways, the
// glyph left of or above the caption, spacing pixels apart. The spacing is only
// kept when both are present, so a lone glyph or caption is centred by itself.
GlyphPlacement placeGlyphAndCaption(const QRect& area, QSize glyph, QSize caption,
                                    GlyphPosition position, int spacing);

}  // namespace vesk
