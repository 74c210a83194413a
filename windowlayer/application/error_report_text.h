#pragma once

#include <QString>

namespace vesk {

// The text the standard error report shows for an error's message: the
// message with a full stop added when its last character sorts after '.'
// ("Out of memory" -> "Out of memory.", "Done." and "Why!" stay as they are).
QString errorReportText(const QString& message);

}  // namespace vesk
