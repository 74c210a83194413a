#include "windowlayer/text/cp932_text.h"

#include <string>
#include <string_view>

#include "conversion/cp932/cp932_codec.h"

namespace vesk {

QString textFromBytes(QByteArrayView bytes) {
  const std::u16string text =
      cp932::decode(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

QByteArray bytesFromText(QStringView text) {
  const std::string bytes =
      cp932::encode(std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size())));
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace vesk
