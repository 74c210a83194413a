#pragma once

#include <QPushButton>
#include <QString>

#include "windowlayer/controls/glyph_placement.h"
#include "windowlayer/controls/glyph_strip.h"

namespace vesk {

// A push button that draws a glyph beside or above its caption, both centred
// as one group, over the style's own button bevel. The glyph comes from a
// strip of a normal and a disabled picture whose olive ground is transparent.
//
// It is never a default button, and Enter or Return clicks it while it has the
// focus, as Space does: outside a dialog a plain QPushButton ignores Enter.
class GlyphButton : public QPushButton {
  Q_OBJECT
  Q_PROPERTY(QString glyph READ glyph WRITE setGlyph)
  Q_PROPERTY(bool glyphAboveCaption READ glyphAboveCaption WRITE setGlyphAboveCaption)

 public:
  static constexpr int kGlyphSpacing = 4;

  explicit GlyphButton(QWidget* parent = nullptr);

  // The path of the glyph strip, usually a resource path such as ":/glyphs/copy.bmp".
  QString glyph() const { return glyphPath_; }
  void setGlyph(const QString& path);

  bool glyphAboveCaption() const { return position_ == GlyphPosition::AboveCaption; }
  void setGlyphAboveCaption(bool above);

  const GlyphPictures& glyphPictures() const { return pictures_; }
  // The picture painted in the button's present state.
  const QPixmap& shownGlyph() const;
  // Where the glyph and the caption are painted, in the button's coordinates.
  GlyphPlacement placement() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString glyphPath_;
  GlyphPictures pictures_;
  GlyphPosition position_ = GlyphPosition::LeftOfCaption;
};

}  // namespace vesk
