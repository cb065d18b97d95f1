// The slots that hold the installed platform services.

#include <utility>

#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/locale_services.h"
#include "platform/script_host.h"

namespace velkaro {
namespace {

ScriptRuntime* g_scriptRuntime = nullptr;
LocaleServices* g_localeServices = nullptr;
FileSystem* g_fileSystem = nullptr;

EventPump& installedPump() {
  static EventPump pump;
  return pump;
}

template <typename T>
T* swapSlot(T*& slot, T* next) {
  T* previous = slot;
  slot = next;
  return previous;
}

}  // namespace

ScriptRuntime& scriptRuntime() {
  return g_scriptRuntime != nullptr ? *g_scriptRuntime : hostScriptRuntime();
}
ScriptRuntime* installScriptRuntime(ScriptRuntime* runtime) {
  return swapSlot(g_scriptRuntime, runtime);
}

LocaleServices& localeServices() {
  return g_localeServices != nullptr ? *g_localeServices : hostLocaleServices();
}
LocaleServices* installLocaleServices(LocaleServices* services) {
  return swapSlot(g_localeServices, services);
}

FileSystem& fileSystem() {
  return g_fileSystem != nullptr ? *g_fileSystem : hostFileSystem();
}
FileSystem* installFileSystem(FileSystem* fs) {
  return swapSlot(g_fileSystem, fs);
}

EventPump installEventPump(EventPump pump) {
  return std::exchange(installedPump(), std::move(pump));
}

void runEventPump() {
  // A copy, so that a pump may install another one while it runs (a nested
  // restore run does) without destroying the function being called.
  const EventPump pump = installedPump();
  if (pump) {
    pump();
  }
}

}  // namespace velkaro
