// The Windows script runtime against the platform's own script control, in
// the time zone that the run chose (see test_environment.h).

#include <gtest/gtest.h>

#include <memory>

#include "platform/script_host.h"
#include "platform/win32/test_environment.h"
#include "timeconv/timestamp_conversion.h"

namespace velkaro {
namespace {

Text dateScript(const Text& name, const Text& literal) {
  return "function " + name + "(){var d,s;d=new Date();d.setTime('" + literal +
         "');return(d);}";
}

// COM initialised for the length of a test, with one script control whose
// language is JScript.
class Win32ScriptHostTest : public ::testing::Test {
 protected:
  Win32ScriptHostTest() : runtime_(hostScriptRuntime()) {
    runtime_.initialize();
    host_ = runtime_.createHost("ScriptControl");
  }
  ~Win32ScriptHostTest() override {
    host_.reset();
    runtime_.uninitialize();
  }

  void SetUp() override {
    ASSERT_NE(host_, nullptr) << "the script control is not registered";
    ASSERT_TRUE(host_->setProperty("Language", "JScript"));
  }

  ScriptRuntime& runtime_;
  std::unique_ptr<ScriptHost> host_;
};

TEST(Win32ScriptRuntime, CreatesTheScriptControlOnAnInitialisedThreadOnly) {
  ScriptRuntime& runtime = hostScriptRuntime();
  EXPECT_EQ(runtime.createHost("ScriptControl"), nullptr);

  runtime.initialize();
  runtime.initialize();
  EXPECT_NE(runtime.createHost("ScriptControl"), nullptr);
  for (const char* progId : {"", "Velkaro.NoSuchClass", "ScriptControl."}) {
    SCOPED_TRACE(progId);
    EXPECT_EQ(runtime.createHost(progId), nullptr);
  }
  runtime.uninitialize();  // calls nest: still initialised once
  EXPECT_NE(runtime.createHost("ScriptControl"), nullptr);
  runtime.uninitialize();
  EXPECT_EQ(runtime.createHost("ScriptControl"), nullptr);
  runtime.uninitialize();  // one too many ends nothing
  EXPECT_EQ(runtime.createHost("ScriptControl"), nullptr);
}

// The date texts of the zones the test runs use.
struct Zone {
  const char* tz;
  const char* hostText;   // what "Run" gives for 1543731808000
  const char* dateText;   // timestampToDateText("1543731808000")
  const char* epochText;  // timestampToDateText("")
};
constexpr Zone kZones[] = {
    {"Asia/Shanghai", "Sun Dec 2 14:23:28 UTC+0800 2018", "2018-12-2 14:23:28",
     "1970-1-1 08:00:00"},
    {"UTC", "Sun Dec 2 06:23:28 UTC 2018", "2018-12-2 06:23:28",
     "1970-1-1 00:00:00"},
};

const Zone* zoneOfRun() {
  const Text tz = environmentText("TZ");
  for (const Zone& zone : kZones) {
    if (tz == zone.tz) return &zone;
  }
  return nullptr;
}

TEST_F(Win32ScriptHostTest, DateFunctionRunsInTheMachinesZone) {
  const Zone* zone = zoneOfRun();
  if (zone == nullptr) {
    GTEST_SKIP() << "no known texts for TZ '" << environmentText("TZ") << "'";
  }
  EXPECT_TRUE(host_->executeStatement(dateScript("timea", "1543731808000")));
  EXPECT_EQ(host_->runProcedure("timea"), zone->hostText);
  // The whole script route, each conversion with a script control of its
  // own.
  EXPECT_EQ(timestampToDateText("1543731808000"), zone->dateText);
  EXPECT_EQ(timestampToDateText("1543731808999"), zone->dateText);
  EXPECT_EQ(timestampToDateText(""), zone->epochText);
}

TEST_F(Win32ScriptHostTest, DateThatHoldsNoTimeGivesNoDateText) {
  EXPECT_TRUE(host_->executeStatement(dateScript("timea", "12abc")));
  EXPECT_EQ(host_->runProcedure("timea"), "NaN");
  EXPECT_EQ(timestampToDateText("12abc"), "");
  EXPECT_EQ(timestampToDateText("1');x=('"), "");
}

// Every kind of result is changed to its string form; text comes back in
// the ANSI code page, byte for byte.
TEST_F(Win32ScriptHostTest, ResultsBecomeText) {
  ASSERT_TRUE(
      host_->executeStatement("function n(){return 42;}"
                              "function f(){return 0.5;}"
                              "function b(){return true;}"
                              "function s(){return 'a b';}"
                              "function g(){return '\xD5\xD5\xC6\xAC';}"
                              "function e(){return '';}"
                              "function u(){}"
                              "function o(){return {};}"));
  struct Case {
    const char* procedure;
    const char* expected;
  };
  const Case cases[] = {
      {"n", "42"},
      {"f", "0.5"},
      {"b", "-1"},  // VARIANT_TRUE as a number
      {"s", "a b"},
      {"g", "\xD5\xD5\xC6\xAC"},
      {"e", ""},
      {"u", ""},  // undefined
      {"o", "[object Object]"},
      {"missing", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.procedure);
    EXPECT_EQ(host_->runProcedure(c.procedure), c.expected);
  }
}

TEST_F(Win32ScriptHostTest, RefusedCallsAreReported) {
  EXPECT_FALSE(host_->executeStatement("function ((("));
  EXPECT_FALSE(host_->setProperty("NoSuchProperty", "JScript"));
  EXPECT_FALSE(host_->setProperty("Language", "NoSuchLanguage"));
}

TEST(Win32ScriptHost, RunsNothingBeforeTheLanguageIsSet) {
  ScriptRuntime& runtime = hostScriptRuntime();
  runtime.initialize();
  {
    std::unique_ptr<ScriptHost> host = runtime.createHost("ScriptControl");
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(host->executeStatement(dateScript("timea", "0")));
    EXPECT_EQ(host->runProcedure("timea"), "");
  }
  runtime.uninitialize();
}

}  // namespace
}  // namespace velkaro
