#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/posix/ecma_date.h"
#include "platform/posix/ecma_date_cases.h"
#include "platform/scoped_time_zone.h"
#include "platform/script_host.h"

namespace velkaro {
namespace {

Text dateScript(const Text& name, const Text& literal) {
  return "function " + name + "(){var d,s;d=new Date();d.setTime('" + literal +
         "');return(d);}";
}

// The runtime initialised for the length of a test, with one host whose
// language is JScript.
class ScriptHostTest : public ::testing::Test {
 protected:
  ScriptHostTest() : runtime_(hostScriptRuntime()) {
    runtime_.initialize();
    host_ = runtime_.createHost("ScriptControl");
  }
  ~ScriptHostTest() override {
    host_.reset();
    runtime_.uninitialize();
  }

  void SetUp() override {
    ASSERT_NE(nullptr, host_);
    ASSERT_TRUE(host_->setProperty("Language", "JScript"));
  }

  // What "Run" of timea gives after "ExecuteStatement" of its script, on
  // a fresh host.
  Text run(const Text& literal) {
    std::unique_ptr<ScriptHost> host = runtime_.createHost("ScriptControl");
    host->setProperty("Language", "JScript");
    host->executeStatement(dateScript("timea", literal));
    return host->runProcedure("timea");
  }

  ScriptRuntime& runtime_;
  std::unique_ptr<ScriptHost> host_;
};

TEST(PosixScriptRuntime, CreatesOnlyTheScriptControlOnAnInitialisedThread) {
  ScriptRuntime& runtime = hostScriptRuntime();
  EXPECT_EQ(nullptr, runtime.createHost("ScriptControl"));

  runtime.initialize();
  runtime.initialize();
  EXPECT_NE(nullptr, runtime.createHost("ScriptControl"));
  for (const char* progId :
       {"", "MSScriptControl.ScriptControl", "ScriptControl ", "Script",
        "Scripting.FileSystemObject", "WScript.Shell"}) {
    SCOPED_TRACE(progId);
    EXPECT_EQ(nullptr, runtime.createHost(progId));
  }
  runtime.uninitialize();  // calls nest: still initialised once
  EXPECT_NE(nullptr, runtime.createHost("ScriptControl"));
  runtime.uninitialize();
  EXPECT_EQ(nullptr, runtime.createHost("ScriptControl"));
  runtime.uninitialize();  // one too many does no harm
  EXPECT_EQ(nullptr, runtime.createHost("ScriptControl"));
}

TEST(PosixScriptRuntime, RunsNothingBeforeTheLanguageIsJScript) {
  ScriptRuntime& runtime = hostScriptRuntime();
  runtime.initialize();
  {
    std::unique_ptr<ScriptHost> host = runtime.createHost("ScriptControl");
    ASSERT_NE(nullptr, host);
    EXPECT_FALSE(host->executeStatement(dateScript("timea", "0")));
    EXPECT_FALSE(host->setProperty("Language", "VBScript"));
    EXPECT_FALSE(host->setProperty("Timeout", "JScript"));
    EXPECT_FALSE(host->executeStatement(dateScript("timea", "0")));
    EXPECT_EQ("", host->runProcedure("timea"));
    EXPECT_TRUE(host->setProperty("Language", "JScript"));
    EXPECT_TRUE(host->executeStatement(dateScript("timea", "0")));
    EXPECT_NE("", host->runProcedure("timea"));
  }
  runtime.uninitialize();
}

TEST_F(ScriptHostTest, RunsTheDateFunctionByItsName) {
  ScopedTimeZone zone("Asia/Shanghai");
  EXPECT_TRUE(host_->executeStatement(dateScript("timea", "1543731808000")));
  EXPECT_TRUE(host_->executeStatement(dateScript("_f$2", "0")));
  EXPECT_EQ("Sun Dec 2 14:23:28 UTC+0800 2018", host_->runProcedure("timea"));
  EXPECT_EQ("Thu Jan 1 08:00:00 UTC+0800 1970", host_->runProcedure("_f$2"));
  // Names are case-sensitive; an unknown one gives nothing.
  EXPECT_EQ("", host_->runProcedure("TimeA"));
  EXPECT_EQ("", host_->runProcedure("evil"));
  EXPECT_EQ("", host_->runProcedure(""));
  // A second definition replaces the first.
  EXPECT_TRUE(host_->executeStatement(dateScript("timea", "-1")));
  EXPECT_EQ("Thu Jan 1 07:59:59 UTC+0800 1970", host_->runProcedure("timea"));
}

TEST_F(ScriptHostTest, DefinesNothingForAnyOtherScript) {
  const Text refused[] = {
      "",
      "timea",
      "function timea(){var d,s;d=new Date();d.setTime('0');return(d);} ",
      " function timea(){var d,s;d=new Date();d.setTime('0');return(d);}",
      "function timea (){var d,s;d=new Date();d.setTime('0');return(d);}",
      "function timea(){var d, s;d=new Date();d.setTime('0');return(d);}",
      "function timea(){var d,s;d=new Date();d.setTime(\"0\");return(d);}",
      "function timea(){var d,s;d=new Date();d.setTime(0);return(d);}",
      "function timea(){var d,s;d=new Date();d.setTime('0');return(d)}",
      "function timea(){var d,s;d=new Date();d.setTime('0');return(s);}",
      "function timea(){var d,s;d=new Date();d.setTime('0');return(d);};",
      "function timea(){var d,s;d=new Date();d.setTime('0');return(d);}\n",
      // Two functions in one statement.
      // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
      "function timea(){var d,s;d=new Date();d.setTime('0');return(d);}"
      "function evil(){}",
      "function timea(){var d,s;d=new Date();d.setTime('0');evil();('');"
      "return(d);}",
      "function timea(){var d,s;d=new Date();d.setTime('0'",
      "function (){var d,s;d=new Date();d.setTime('0');return(d);}",
      "function 1a(){var d,s;d=new Date();d.setTime('0');return(d);}",
      "function if(){var d,s;d=new Date();d.setTime('0');return(d);}",
      "function t\xC3\xA9(){var d,s;d=new Date();d.setTime('0');return(d);}",
      // Literals that are not plain: an escape, a line terminator.
      dateScript("timea", "1\\x31"),
      dateScript("timea", "1\\"),
      dateScript("timea", "1\n2"),
      dateScript("timea", "1\r"),
      dateScript("timea", "1\xE2\x80\xA8"),
      dateScript("timea", "\xE2\x80\xA9"),
  };
  for (const Text& statement : refused) {
    SCOPED_TRACE(testing::PrintToString(statement));
    EXPECT_FALSE(host_->executeStatement(statement));
    EXPECT_EQ("", host_->runProcedure("timea"));
    EXPECT_EQ("", host_->runProcedure("evil"));
  }
}

TEST_F(ScriptHostTest, KeepsWhatWasDefinedWhenAStatementFails) {
  ScopedTimeZone zone("UTC");
  ASSERT_TRUE(host_->executeStatement(dateScript("timea", "0")));
  EXPECT_FALSE(host_->executeStatement(dateScript("timea", "'")));
  EXPECT_EQ("Thu Jan 1 00:00:00 UTC+0000 1970", host_->runProcedure("timea"));
}

TEST_F(ScriptHostTest, WritesNaNForALiteralThatIsNoTime) {
  ScopedTimeZone zone("UTC");
  for (const char* literal :
       {"abc", "12abc", "1);evil();(", "Infinity", "8640000000000001",
        "-8.64e15 1", "0x", "\"1\"", "1e400"}) {
    SCOPED_TRACE(literal);
    EXPECT_EQ("NaN", run(literal));
  }
}

// The engine's results (tools/ecma_date_cases.js), through the host. A
// literal holding a line terminator cannot stand in a script, so its
// script defines nothing.
TEST_F(ScriptHostTest, MatchesTheEngineTable) {
  for (const EcmaDateCase& c : kEcmaDateCases) {
    SCOPED_TRACE(describeCase(c));
    ScopedTimeZone zone(c.zone);
    const std::string literal = c.literal;
    const bool plain = literal.find_first_of("\r\n") == std::string::npos &&
                       literal.find("\xE2\x80\xA8") == std::string::npos &&
                       literal.find("\xE2\x80\xA9") == std::string::npos;
    const Text text = run(literal);
    if (!plain) {
      EXPECT_EQ("", text);
    } else if (c.nan) {
      EXPECT_EQ("NaN", text);
    } else if (c.zoneDataNote == nullptr) {
      EXPECT_EQ(expectedJscriptText(c), text);
    } else {
      EXPECT_NE("NaN", text);
    }
  }
}

}  // namespace
}  // namespace velkaro
