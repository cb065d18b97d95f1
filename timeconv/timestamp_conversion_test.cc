#include "timeconv/timestamp_conversion.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/fixed_clock_locale.h"
#include "platform/locale_services.h"
#include "platform/scoped_install.h"
#include "platform/scoped_time_zone.h"
#include "platform/script_host.h"

namespace velkaro {
namespace {

constexpr char kScriptHead[] =
    "function timea(){var d,s;d=new Date();d.setTime('";
constexpr char kScriptTail[] = "');return(d);}";

// A script runtime that writes down every call, and whose host answers as
// it is told.
class RecordingRuntime : public ScriptRuntime {
 public:
  bool hostAvailable = true;
  bool statementSucceeds = true;
  Text procedureResult = "Sun Dec 2 14:23:28 UTC+0800 2018";
  std::vector<std::string> calls;

  void initialize() override { calls.push_back("initialize"); }
  void uninitialize() override { calls.push_back("uninitialize"); }

  std::unique_ptr<ScriptHost> createHost(const Text& progId) override {
    calls.push_back("createHost " + progId);
    if (!hostAvailable) {
      return nullptr;
    }
    return std::make_unique<Host>(this);
  }

 private:
  class Host : public ScriptHost {
   public:
    explicit Host(RecordingRuntime* runtime) : runtime_(runtime) {}
    ~Host() override { runtime_->calls.push_back("release"); }

    bool setProperty(const Text& name, const Text& value) override {
      runtime_->calls.push_back("setProperty " + name + "=" + value);
      return true;
    }
    bool executeStatement(const Text& statement) override {
      runtime_->calls.push_back("executeStatement " + statement);
      defined_ = runtime_->statementSucceeds;
      return defined_;
    }
    Text runProcedure(const Text& procedure) override {
      runtime_->calls.push_back("runProcedure " + procedure);
      return defined_ ? runtime_->procedureResult : Text();
    }

   private:
    RecordingRuntime* runtime_;
    bool defined_ = false;
  };
};

using ScopedRuntime = ScopedInstall<ScriptRuntime, installScriptRuntime>;
using ScopedLocale = ScopedInstall<LocaleServices, installLocaleServices>;

std::vector<std::string> scriptRouteCalls(const Text& timestamp) {
  return {
      "initialize",
      "createHost ScriptControl",
      "setProperty Language=JScript",
      std::string("executeStatement ") + kScriptHead + timestamp + kScriptTail,
      "runProcedure timea",
      "release",
      "uninitialize"};
}

TEST(TimestampToDateText, DrivesTheScriptHostInOrder) {
  RecordingRuntime runtime;
  ScopedRuntime use(&runtime);
  EXPECT_EQ("2018-12-2 14:23:28", timestampToDateText("1543731808000"));
  EXPECT_EQ(scriptRouteCalls("1543731808000"), runtime.calls);
}

// Length alone picks the route: 10 bytes count seconds and never reach the
// script host; every other length, the empty one included, does.
TEST(TimestampToDateText, RoutesByLengthAlone) {
  FixedClockLocale locale(true);
  ScopedLocale useLocale(&locale);
  for (const char* stamp :
       {"", "1", "154373180", "15437318080", "154373180800", "1543731808000",
        "15437318080000", "abcdefghijk",
        "\xA3\xB1\xA3\xB5\xA3\xB4\xA3\xB3\xA3\xB7\xA3\xB1"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(stamp)));
    RecordingRuntime runtime;
    ScopedRuntime use(&runtime);
    timestampToDateText(stamp);
    EXPECT_EQ(scriptRouteCalls(stamp), runtime.calls);
  }
  for (const char* stamp :
       {"1543731808", "abcdefghij", "15437318 8", "15437318'8",
        "\xA3\xB1\xA3\xB5\xA3\xB4\xA3\xB3\xA3\xB7"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(stamp)));
    RecordingRuntime runtime;
    ScopedRuntime use(&runtime);
    timestampToDateText(stamp);
    EXPECT_EQ((std::vector<std::string>{"initialize", "uninitialize"}),
              runtime.calls);
  }
}

TEST(TimestampToDateText, GivesNothingWithoutAScriptHost) {
  FixedClockLocale locale(true);
  ScopedLocale useLocale(&locale);
  RecordingRuntime runtime;
  runtime.hostAvailable = false;
  ScopedRuntime use(&runtime);
  for (const char* stamp : {"1543731808000", "", "154373180", "15437318080"}) {
    SCOPED_TRACE(stamp);
    runtime.calls.clear();
    EXPECT_EQ("", timestampToDateText(stamp));
    EXPECT_EQ((std::vector<std::string>{
                  "initialize", "createHost ScriptControl", "uninitialize"}),
              runtime.calls);
  }
  // A 10-byte stamp needs no host.
  EXPECT_EQ("2018-12-02 14:23:28", timestampToDateText("1543731808"));
}

TEST(TimestampToDateText, GivesNothingWhenTheStatementFails) {
  RecordingRuntime runtime;
  runtime.statementSucceeds = false;
  ScopedRuntime use(&runtime);
  EXPECT_EQ("", timestampToDateText("1543731808000"));
  EXPECT_EQ(scriptRouteCalls("1543731808000"), runtime.calls);
}

TEST(TimestampToDateText, GivesNothingForAHostTextThatIsNoDate) {
  RecordingRuntime runtime;
  ScopedRuntime use(&runtime);
  for (const char* text : {"NaN", "", "Sun Dec 2 14:23:28 2018"}) {
    SCOPED_TRACE(text);
    runtime.procedureResult = text;
    EXPECT_EQ("", timestampToDateText("1543731808000"));
  }
}

// Stamps that would end the string literal, escape out of it or end the
// line are never put into a script: not even a host is created.
TEST(TimestampToDateText, NeverPutsAnUnsafeStampIntoAScript) {
  const char* attacks[] = {
      "1');evil();('",
      "'",
      "1543731808000'",
      "');}function timea(){return 'pwned';}//",
      "\\",
      "1\\x27);evil();//",
      "\\u0027",
      "15437318\n08000",
      "1543731808000\r",
      "\n",
      "1\xE2\x80\xA8\x65vil();",  // \x65 is the e of evil
      "1\xE2\x80\xA9\x65vil();",
      "\xD5\xD5\\",  // a backslash that a GBK lead byte precedes
  };
  for (const char* stamp : attacks) {
    SCOPED_TRACE(testing::PrintToString(std::string(stamp)));
    RecordingRuntime runtime;
    ScopedRuntime use(&runtime);
    EXPECT_EQ("", timestampToDateText(stamp));
    EXPECT_EQ((std::vector<std::string>{"initialize", "uninitialize"}),
              runtime.calls);
  }
}

// Other odd stamps stay inside the literal, byte for byte.
TEST(TimestampToDateText, PutsOtherStampsIntoTheLiteralUnchanged) {
  for (const char* stamp :
       {"1);evil();(", "\"+evil()+\"1", "</script>", "1543731808000 ",
        "\xD5\xD5\xC6\xAC", "\xE2\x80\xA7\x31", "${evil()}"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(stamp)));
    RecordingRuntime runtime;
    ScopedRuntime use(&runtime);
    timestampToDateText(stamp);
    EXPECT_EQ(scriptRouteCalls(stamp), runtime.calls);
  }
}

TEST(IsSafeScriptLiteral, RefusesWhatWouldChangeTheScript) {
  struct Case {
    const char* text;
    bool safe;
  };
  const Case cases[] = {
      {"", true},
      {"1543731808000", true},
      {"1);evil();(", true},
      {"\"", true},
      {"\xD5\xD5\xC6\xAC", true},  // GBK
      {"\xE2\x80\xA7\x31", true},  // U+2027, not a line terminator
      {"\xE2\x80\xA7", false},     // its last byte would pair with the quote
      {"\xE2\x80", true},
      {"\x80\x80", true},            // a whole two-byte character
      {"1543731808000\x80", false},  // would pair with the closing quote
      {"1\x80\x80\x80", false},
      {"'", false},
      {"1');evil();('", false},
      {"\\", false},
      {"a\rb", false},
      {"a\nb", false},
      {"\xE2\x80\xA8", false},
      {"1\xE2\x80\xA9", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
    EXPECT_EQ(c.safe, isSafeScriptLiteral(c.text));
  }
}

TEST(RearrangeScriptDate, MakesYearMonthDayAndTime) {
  struct Case {
    const char* dateText;
    const char* expected;
  };
  const Case cases[] = {
      {"Sun Dec 2 14:23:28 UTC+0800 2018", "2018-12-2 14:23:28"},
      {"Mon Jan 1 00:00:00 EST 2018", "2018-1-1 00:00:00"},
      {"Thu Feb 1 00:00:00 PST 2018", "2018-2-1 00:00:00"},
      {"Thu Mar 1 00:00:00 UTC 2018", "2018-3-1 00:00:00"},
      {"Sun Apr 1 00:00:00 UTC 2018", "2018-4-1 00:00:00"},
      {"Tue May 1 00:00:00 UTC 2018", "2018-5-1 00:00:00"},
      {"Fri Jun 1 00:00:00 UTC 2018", "2018-6-1 00:00:00"},
      {"Sun Jul 1 00:00:00 UTC 2018", "2018-7-1 00:00:00"},
      {"Wed Aug 1 00:00:00 UTC 2018", "2018-8-1 00:00:00"},
      {"Sat Sep 1 00:00:00 UTC 2018", "2018-9-1 00:00:00"},
      {"Mon Oct 1 00:00:00 UTC 2018", "2018-10-1 00:00:00"},
      {"Thu Nov 1 00:00:00 UTC 2018", "2018-11-1 00:00:00"},
      // A month outside the table stays as it is.
      {"Sun dec 2 14:23:28 UTC+0800 2018", "2018-dec-2 14:23:28"},
      {"Sun DEC 2 14:23:28 UTC+0800 2018", "2018-DEC-2 14:23:28"},
      {"Sun Dez 2 14:23:28 UTC+0800 2018", "2018-Dez-2 14:23:28"},
      {"Sun \xCA\xAE\xB6\xFE\xD4\xC2 2 14:23:28 UTC+0800 2018",
       "2018-\xCA\xAE\xB6\xFE\xD4\xC2-2 14:23:28"},
      {"Sun December 2 14:23:28 UTC+0800 2018", "2018-December-2 14:23:28"},
      // Six fields or more: fields after the sixth are ignored.
      {"Sun Dec 2 14:23:28 UTC+0800 2018 B.C.", "2018-12-2 14:23:28"},
      {"Sun Dec 2 14:23:28 UTC+0800 2018 a b c", "2018-12-2 14:23:28"},
      {"Tue Apr 20 00:00:00 UTC+0000 271822 B.C.", "271822-4-20 00:00:00"},
      {"Sun Dec 2 14:23:28 UTC+0800 2018 ", "2018-12-2 14:23:28"},
      {"a b c d e f", "f-b-c d"},
      // Fewer than six give nothing.
      {"Sun Dec 2 14:23:28 2018", ""},
      {"NaN", ""},
      {"", ""},
      {" ", ""},
      {"     ", ""},
      // Each space separates: a doubled one makes an empty field.
      {"Sun Dec  2 14:23:28 UTC+0800 2018", "UTC+0800-12- 2"},
      {"      ", "-- "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.dateText)));
    EXPECT_EQ(c.expected, rearrangeScriptDate(c.dateText));
  }
}

// The whole script route through this platform's own script host.
TEST(TimestampToDateText, ConvertsMillisecondsInTheMachinesZone) {
  struct Case {
    const char* zone;
    const char* stamp;
    const char* expected;
  };
  const Case cases[] = {
      {"Asia/Shanghai", "1543731808000", "2018-12-2 14:23:28"},
      {"UTC", "1543731808000", "2018-12-2 06:23:28"},
      {"America/New_York", "1543731808000", "2018-12-2 01:23:28"},
      {"Asia/Kathmandu", "1543731808000", "2018-12-2 12:08:28"},
      {"Australia/Lord_Howe", "1543731808000", "2018-12-2 17:23:28"},
      {"Asia/Shanghai", "", "1970-1-1 08:00:00"},
      {"UTC", "", "1970-1-1 00:00:00"},
      {"Asia/Shanghai", "154373180", "1970-1-3 02:52:53"},
      {"Asia/Shanghai", "15437318080", "1970-6-29 00:08:38"},
      {"Asia/Shanghai", "1543731808999", "2018-12-2 14:23:28"},
      {"Asia/Shanghai", "-1", "1970-1-1 07:59:59"},
      {"Asia/Shanghai", "12abc", ""},
      {"Asia/Shanghai", "1);evil();(", ""},
      {"Asia/Shanghai", "1');evil();('", ""},
      {"UTC", "8640000000001", "2243-10-17 00:00:00"},
      {"UTC", "-8640000000000000", "271822-4-20 00:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " " + c.stamp);
    ScopedTimeZone zone(c.zone);
    EXPECT_EQ(c.expected, timestampToDateText(c.stamp));
  }
}

// A 10-digit stamp counts seconds at +8 hours in every zone, on a 24-hour
// clock whatever the locale's.
TEST(TimestampToDateText, ConvertsSecondsAtEightHoursOnEitherClock) {
  struct Case {
    const char* stamp;
    const char* expected;
  };
  const Case cases[] = {
      {"1543731808", "2018-12-02 14:23:28"},
      {"1543681800", "2018-12-02 00:30:00"},
      {"1543723200", "2018-12-02 12:00:00"},
      {"0000000000", "1970-1-01 08:00:00"},
      {"abcdefghij", "1970-1-01 08:00:00"},
      // The month has no leading zero, the day has one.
      {"2147483647", "2038-1-19 11:14:07"},
      {"9999999999", "2014-9-07 12:50:07"},  // read modulo 2^32
      {"-999999999", "1938-4-25 06:13:21"},
  };
  for (const char* zoneName : {"UTC", "Asia/Shanghai", "America/New_York"}) {
    ScopedTimeZone zone(zoneName);
    for (bool twentyFourHour : {false, true}) {
      FixedClockLocale locale(twentyFourHour);
      ScopedLocale useLocale(&locale);
      for (const Case& c : cases) {
        SCOPED_TRACE(std::string(zoneName) +
                     (twentyFourHour ? " 24-hour " : " 12-hour ") + c.stamp);
        EXPECT_EQ(c.expected, timestampToDateText(c.stamp));
      }
    }
  }
}

}  // namespace
}  // namespace velkaro
