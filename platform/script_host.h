// The script host: a component, found by a program identifier, that runs
// script text in a named language and hands back a procedure's result as
// text. On Windows this is the COM script control; elsewhere a stand-in of
// our own that knows the one kind of script the conversion writes.

#ifndef VELKARO_PLATFORM_SCRIPT_HOST_H_
#define VELKARO_PLATFORM_SCRIPT_HOST_H_

#include <memory>

#include "values/text.h"

namespace velkaro {

// One script host instance. Destroying it releases it.
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;

  // Writes a property ("Language" = "JScript"). Returns false when the host
  // refused it; callers need not look.
  virtual bool setProperty(const Text& name, const Text& value) = 0;

  // Loads script text ("ExecuteStatement"). Returns false when the
  // statement failed; a later runProcedure then finds nothing to call.
  virtual bool executeStatement(const Text& statement) = 0;

  // Calls a procedure without arguments ("Run") and returns its result
  // changed to a string, in the ANSI code page. The empty text when the
  // call failed, the procedure does not exist or the result has no string
  // form. The result value is cleared before this returns.
  virtual Text runProcedure(const Text& procedure) = 0;
};

// The component runtime the hosts live in.
class ScriptRuntime {
 public:
  virtual ~ScriptRuntime() = default;

  // Starts and ends the runtime for the calling thread; calls nest.
  virtual void initialize() = 0;
  virtual void uninitialize() = 0;

  // A new host of the class registered under progId ("ScriptControl"), or
  // null when no such class is registered or it cannot be started.
  virtual std::unique_ptr<ScriptHost> createHost(const Text& progId) = 0;
};

// The runtime in use: the one installed, else the host platform's own.
ScriptRuntime& scriptRuntime();
// Installs a runtime (null puts back the platform's own); returns the one
// installed before, null when that was the platform's own.
ScriptRuntime* installScriptRuntime(ScriptRuntime* runtime);
// The platform's own runtime.
ScriptRuntime& hostScriptRuntime();

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_SCRIPT_HOST_H_
