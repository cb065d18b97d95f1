#include "app/path_bytes.h"

#include <gtest/gtest.h>

#include <QFile>

namespace velkaro {
namespace {

TEST(PathBytesTest, PathsTakeTheFileSystemEncoding) {
  const QString paths[] = {
      QStringLiteral("/home/u/pics"),
      QString::fromUtf16(u"/home/u/\u76F8\u518C 2018"),  // a folder 相册 2018
      QString(),
  };
  for (const QString& path : paths) {
    SCOPED_TRACE(path.toStdString());
    const Text bytes = toPathBytes(path);
    EXPECT_EQ(bytes, QFile::encodeName(path).toStdString());
    EXPECT_EQ(fromPathBytes(bytes), path);
  }
}

TEST(PathBytesTest, ZeroCharacterEndsThePath) {
  const QString path =
      QStringLiteral("/a") + QChar(u'\0') + QStringLiteral("b/mmexport1.jpg");
  EXPECT_EQ(toPathBytes(path), "/a");
}

}  // namespace
}  // namespace velkaro
