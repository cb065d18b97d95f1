#include "app/gbk_text.h"

#include <QStringDecoder>
#include <cstddef>
#include <cstdint>

namespace velkaro {
namespace {

struct GbkCharacter {
  uint16_t gbk;      // lead byte * 256 + trail byte
  char16_t unicode;  // the character it stands for
};

// Every two-byte character of the window's literals.
constexpr GbkCharacter kLiteralCharacters[] = {
    {0xBBB9, u'\u8FD8'},  // the first character of the restore button
    {0xD4AD, u'\u539F'},  // the second character of the restore button
    {0xD1A1, u'\u9009'},  // the folder chooser's title, 1 of 4
    {0xD4F1, u'\u62E9'},  // 2 of 4
    {0xC4BF, u'\u76EE'},  // 3 of 4
    {0xC2BC, u'\u5F55'},  // 4 of 4
};

char16_t unicodeOf(uint16_t gbk) {
  for (const GbkCharacter& c : kLiteralCharacters) {
    if (c.gbk == gbk) {
      return c.unicode;
    }
  }
  return u'\uFFFD';
}

}  // namespace

QString gbkToQStringByTable(const Text& gbk) {
  QString result;
  size_t i = 0;
  while (i < gbk.size()) {
    const unsigned char lead = static_cast<unsigned char>(gbk[i]);
    if (lead < 0x80) {
      result.append(QChar(lead));
      ++i;
      continue;
    }
    if (i + 1 >= gbk.size()) {
      result.append(QChar(u'\uFFFD'));  // a lead byte with nothing after it
      break;
    }
    const unsigned char trail = static_cast<unsigned char>(gbk[i + 1]);
    result.append(QChar(unicodeOf(static_cast<uint16_t>(lead << 8 | trail))));
    i += 2;
  }
  return result;
}

QString gbkToQString(const Text& gbk) {
  QStringDecoder decoder("GBK");
  if (!decoder.isValid()) {
    return gbkToQStringByTable(gbk);
  }
  return decoder.decode(
      QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

}  // namespace velkaro
