#include "windowlayer/controls/label_fit.h"

namespace vesk {

void sizeToTextBefore(QLabel& label, int rightLimit) {
  const int room = rightLimit - label.x();
  const int letters = static_cast<int>(label.text().size());
  const int overflow = label.fontMetrics().horizontalAdvance(label.text()) - room;
  if (overflow > 0 && letters > 0) {
    QFont font = label.font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, -((overflow + letters - 1) / letters));
    label.setFont(font);
  }
  label.resize(label.fontMetrics().horizontalAdvance(label.text()), label.height());
}

}  // namespace vesk
