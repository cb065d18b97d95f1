#include "timeconv/timestamp_conversion.h"

#include <cstddef>
#include <memory>

#include "platform/script_host.h"
#include "timeconv/locale_date_time.h"
#include "values/date_time.h"

namespace velkaro {
namespace {

// A 10-digit stamp counts seconds from this moment: the Unix epoch at +8.
constexpr char kSecondsBase[] = "1970.01.01 08:00:00";
constexpr char kDatePicture[] = "yyyy-M-dd ";
constexpr char kTwelveHourPicture[] = "hh:mm:ss";
constexpr char kTwentyFourHourPicture[] = "HH:mm:ss";

constexpr char kProgId[] = "ScriptControl";
constexpr char kLanguageProperty[] = "Language";
constexpr char kLanguage[] = "JScript";
constexpr char kProcedure[] = "timea";
constexpr char kScriptHead[] =
    "function timea(){var d,s;d=new Date();d.setTime('";
constexpr char kScriptTail[] = "');return(d);}";

// English month abbreviations, compared in this order, and their numbers.
constexpr const char* kMonths[][2] = {
    {"Jan", "1"}, {"Feb", "2"},  {"Mar", "3"},  {"Apr", "4"},
    {"May", "5"}, {"Jun", "6"},  {"Jul", "7"},  {"Aug", "8"},
    {"Sep", "9"}, {"Oct", "10"}, {"Nov", "11"}, {"Dec", "12"}};

// Seconds since the epoch at +8 hours, whatever the machine's time zone.
// The clock setting still picks the picture, but the time is always
// written on a 24-hour clock: a name must not tell 02:23 from 14:23 by
// guesswork.
Text secondsDateText(const Text& timestamp) {
  const DateTime base = toDateTime(kSecondsBase);
  const DateTime moment = addSeconds(base, textToInt(timestamp));
  const int setting = isLocale24Hour();
  const Text timePicture =
      setting == 0 ? kTwelveHourPicture : kTwentyFourHourPicture;
  return formatLocalDateTime(moment, kDatePicture, timePicture, 1);
}

// The script host's text of the Date that timea returns, or the empty text.
Text scriptDateText(ScriptRuntime& runtime, const Text& timestamp) {
  if (!isSafeScriptLiteral(timestamp)) {
    return Text();
  }
  std::unique_ptr<ScriptHost> host = runtime.createHost(kProgId);
  if (host == nullptr) {
    return Text();
  }
  host->setProperty(kLanguageProperty, kLanguage);
  host->executeStatement(concatText(kScriptHead, timestamp, kScriptTail));
  Text dateText = host->runProcedure(kProcedure);
  host.reset();
  return dateText;
}

}  // namespace

Text timestampToDateText(const Text& timestamp) {
  ScriptRuntime& runtime = scriptRuntime();
  runtime.initialize();
  if (textLength(timestamp) == 10) {
    Text result = secondsDateText(timestamp);
    runtime.uninitialize();
    return result;
  }
  const Text dateText = scriptDateText(runtime, timestamp);
  runtime.uninitialize();
  return rearrangeScriptDate(dateText);
}

Text rearrangeScriptDate(const Text& dateText) {
  if (textLength(dateText) == 0) {
    return Text();
  }
  TextList fields = splitText(dateText, " ");
  if (itemCount(fields) < 6) {
    return Text();
  }
  for (const auto& month : kMonths) {
    if (compareText(itemAt(fields, 2), month[0]) == 0) {
      setItemAt(fields, 2, month[1]);
      break;
    }
  }
  return concatText(itemAt(fields, 6), "-", itemAt(fields, 2), "-",
                    itemAt(fields, 3), " ", itemAt(fields, 4));
}

bool isSafeScriptLiteral(const Text& timestamp) {
  if (timestamp.find_first_of("'\\\r\n") != Text::npos ||
      timestamp.find("\xE2\x80\xA8") != Text::npos ||
      timestamp.find("\xE2\x80\xA9") != Text::npos) {
    return false;
  }
  // A first byte of a two-byte character that stands last would take the
  // closing quote of the script as its second byte.
  std::size_t i = 0;
  while (i < timestamp.size()) {
    if (static_cast<unsigned char>(timestamp[i]) < 0x80) {
      i += 1;
    } else if (i + 1 == timestamp.size()) {
      return false;
    } else {
      i += 2;
    }
  }
  return true;
}

}  // namespace velkaro
