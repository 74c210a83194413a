#include "windowlayer/controls/glyph_button.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace vesk {

GlyphButton::GlyphButton(QWidget* parent) : QPushButton(parent) {
  setAutoDefault(false);
  setDefault(false);
}

void GlyphButton::setGlyph(const QString& path) {
  glyphPath_ = path;
  pictures_ = loadGlyphStrip(path);
  update();
}

void GlyphButton::setGlyphAboveCaption(bool above) {
  position_ = above ? GlyphPosition::AboveCaption : GlyphPosition::LeftOfCaption;
  update();
}

const QPixmap& GlyphButton::shownGlyph() const {
  return isEnabled() ? pictures_.normal : pictures_.disabled;
}

GlyphPlacement GlyphButton::placement() const {
  GlyphPlacement where = placeGlyphAndCaption(rect(), shownGlyph().size(),
                                              fontMetrics().size(Qt::TextSingleLine, text()),
                                              position_, kGlyphSpacing);
  if (isDown() || isChecked()) {
    QStyleOptionButton option;
    initStyleOption(&option);
    const QPoint shift(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    where.glyph.translate(shift);
    where.caption.translate(shift);
  }
  return where;
}

void GlyphButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  // The style draws the bevel and focus only; glyph and caption are placed here.
  option.text.clear();
  option.icon = QIcon();
  painter.drawControl(QStyle::CE_PushButton, option);

  const GlyphPlacement where = placement();
  if (!shownGlyph().isNull()) painter.drawPixmap(where.glyph.topLeft(), shownGlyph());
  style()->drawItemText(&painter, where.caption, Qt::AlignCenter, palette(), isEnabled(), text(),
                        QPalette::ButtonText);
}

void GlyphButton::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (enter && plain) {
    click();
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

}  // namespace vesk
