#pragma once

#include <QImage>
#include <QPixmap>

namespace vesk {

// The two pictures a glyph button draws: one while enabled, one while disabled.
struct GlyphPictures {
  QPixmap normal;
  QPixmap disabled;
};

// Cuts a glyph strip (two equal pictures side by side: normal, disabled) into
// its pictures. The colour of the strip's lower left pixel is the ground and
// becomes transparent in both. An empty strip gives two null pixmaps.
GlyphPictures splitGlyphStrip(const QImage& strip);

// Loads a strip from a file or resource path; a missing file gives null pixmaps.
GlyphPictures loadGlyphStrip(const QString& path);

}  // namespace vesk
