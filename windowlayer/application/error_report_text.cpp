#include "windowlayer/application/error_report_text.h"

namespace vesk {

QString errorReportText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

}  // namespace vesk
