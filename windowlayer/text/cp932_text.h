#pragma once

// Code page 932 bytes <-> QString, through the program's one codec.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace vesk {

QString textFromBytes(QByteArrayView bytes);
QByteArray bytesFromText(QStringView text);

}  // namespace vesk
