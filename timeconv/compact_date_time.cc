#include "timeconv/compact_date_time.h"

#include <cstddef>

namespace velkaro {

namespace {

// Appends a component of 0 to 99 as two digits.
void appendTwoDigits(Text& out, int n) {
  out.push_back(static_cast<char>('0' + n / 10));
  out.push_back(static_cast<char>('0' + n % 10));
}

void appendDate(Text& out, const DateTimeParts& p, const Text& separator) {
  out.append(intToText(p.year));
  out.append(separator);
  appendTwoDigits(out, p.month);
  out.append(separator);
  appendTwoDigits(out, p.day);
}

void appendTime(Text& out, const DateTimeParts& p, const Text& separator) {
  appendTwoDigits(out, p.hour);
  out.append(separator);
  appendTwoDigits(out, p.minute);
  out.append(separator);
  appendTwoDigits(out, p.second);
}

}  // namespace

Text dateTimeToText(DateTime value, const Text& dateSeparator,
                    const Text& timeSeparator, int style) {
  if (style < 1 || style > 4) return Text();
  const DateTimeParts parts = partsOf(value);
  Text out;
  out.reserve(15 + 2 * (dateSeparator.size() + timeSeparator.size()));
  if (style != 1) appendDate(out, parts, dateSeparator);
  if (style == 3) out.push_back(' ');
  if (style != 2) appendTime(out, parts, timeSeparator);
  return out;
}

Text dateTimeToText(DateTime value, int style) {
  return dateTimeToText(value, "-", ":", style);
}

Text dateTimeToText(DateTime value, const DateTimeTextOptions& options) {
  return dateTimeToText(value, options.dateSeparator, options.timeSeparator,
                        options.style);
}

}  // namespace velkaro
