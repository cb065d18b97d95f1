// The POSIX script runtime: a stand-in of our own for the platform's script
// control. It hosts one kind of script, the one the timestamp conversion
// writes:
//
//   function NAME(){var d,s;d=new Date();d.setTime('LITERAL');return(d);}
//
// Running NAME reads LITERAL as ECMAScript reads a string as a number of
// milliseconds, and gives the returned Date's text as the JScript engine
// writes it, in the machine's local time. Any other script defines nothing.

#include <map>
#include <memory>
#include <string_view>

#include "platform/posix/ecma_date.h"
#include "platform/script_host.h"

namespace velkaro {
namespace {

constexpr std::string_view kProgId = "ScriptControl";
constexpr std::string_view kLanguageProperty = "Language";
constexpr std::string_view kLanguage = "JScript";

constexpr std::string_view kFunctionHead = "function ";
constexpr std::string_view kBodyHead = "(){var d,s;d=new Date();d.setTime('";
constexpr std::string_view kBodyTail = "');return(d);}";

bool isIdentifierStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         c == '$';
}

bool isIdentifierPart(char c) {
  return isIdentifierStart(c) || (c >= '0' && c <= '9');
}

// The words JScript reserves, which cannot name a function.
bool isReservedWord(std::string_view word) {
  static constexpr std::string_view kReserved[] = {
      "break",    "case",    "catch",  "class",      "const", "continue",
      "debugger", "default", "delete", "do",         "else",  "enum",
      "export",   "extends", "false",  "finally",    "for",   "function",
      "if",       "import",  "in",     "instanceof", "new",   "null",
      "return",   "super",   "switch", "this",       "throw", "true",
      "try",      "typeof",  "var",    "void",       "while", "with"};
  for (std::string_view reserved : kReserved) {
    if (word == reserved) {
      return true;
    }
  }
  return false;
}

// Whether literal, placed between single quotes, is a JScript string
// literal whose value is its own bytes: no quote, no backslash (an escape
// would change the value) and no line terminator (CR, LF, U+2028, U+2029).
bool isPlainStringBody(std::string_view literal) {
  return literal.find_first_of("'\\\r\n") == std::string_view::npos &&
         literal.find("\xE2\x80\xA8") == std::string_view::npos &&
         literal.find("\xE2\x80\xA9") == std::string_view::npos;
}

// One function the host knows: its name and the literal it sets the time
// from.
struct DateFunction {
  Text name;
  Text literal;
};

// Recognises statement as the one script shape; false for anything else.
bool parseDateFunction(std::string_view statement, DateFunction* out) {
  if (!statement.starts_with(kFunctionHead)) {
    return false;
  }
  statement.remove_prefix(kFunctionHead.size());
  size_t nameLength = 0;
  if (statement.empty() || !isIdentifierStart(statement[0])) {
    return false;
  }
  while (nameLength < statement.size() &&
         isIdentifierPart(statement[nameLength])) {
    ++nameLength;
  }
  const std::string_view name = statement.substr(0, nameLength);
  if (isReservedWord(name)) {
    return false;
  }
  statement.remove_prefix(nameLength);
  if (!statement.starts_with(kBodyHead)) {
    return false;
  }
  statement.remove_prefix(kBodyHead.size());
  // The literal ends at the first quote, which must open the fixed tail
  // that ends the statement.
  const size_t quote = statement.find('\'');
  if (quote == std::string_view::npos || statement.substr(quote) != kBodyTail) {
    return false;
  }
  const std::string_view literal = statement.substr(0, quote);
  if (!isPlainStringBody(literal)) {
    return false;
  }
  out->name = Text(name);
  out->literal = Text(literal);
  return true;
}

class PosixScriptHost : public ScriptHost {
 public:
  bool setProperty(const Text& name, const Text& value) override {
    if (name != kLanguageProperty || value != kLanguage) {
      return false;
    }
    // Choosing the language starts a fresh engine.
    languageSet_ = true;
    functions_.clear();
    return true;
  }

  bool executeStatement(const Text& statement) override {
    DateFunction function;
    if (!languageSet_ || !parseDateFunction(statement, &function)) {
      return false;
    }
    functions_[function.name] = function.literal;
    return true;
  }

  Text runProcedure(const Text& procedure) override {
    const auto found = functions_.find(procedure);
    if (found == functions_.end()) {
      return Text();
    }
    // d.setTime(literal): ToNumber, then TimeClip; the Date's string form.
    return jscriptDateString(ecmaTimeClip(ecmaStringToNumber(found->second)));
  }

 private:
  bool languageSet_ = false;
  std::map<Text, Text> functions_;
};

class PosixScriptRuntime : public ScriptRuntime {
 public:
  void initialize() override { ++depth_; }

  void uninitialize() override {
    if (depth_ > 0) {
      --depth_;
    }
  }

  // As with the platform's component runtime, nothing is created on a
  // thread that has not initialised it.
  std::unique_ptr<ScriptHost> createHost(const Text& progId) override {
    if (depth_ == 0 || progId != kProgId) {
      return nullptr;
    }
    return std::make_unique<PosixScriptHost>();
  }

 private:
  static thread_local int depth_;
};

thread_local int PosixScriptRuntime::depth_ = 0;

}  // namespace

ScriptRuntime& hostScriptRuntime() {
  static PosixScriptRuntime runtime;
  return runtime;
}

}  // namespace velkaro
