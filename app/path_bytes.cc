#include "app/path_bytes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <cstring>

namespace velkaro {

Text toPathBytes(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  // Up to the first zero byte, if there is one.
  return Text(bytes.constData(), std::strlen(bytes.constData()));
}

QString fromPathBytes(const Text& path) {
  return QFile::decodeName(
      QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace velkaro
