// The environment that a test run of the Windows layer chose. Under Wine a
// program takes its user locale from LC_MESSAGES, its ANSI code page from
// LC_CTYPE (LC_ALL wins over both, LANG stands in for either) and its time
// zone from TZ when it starts, and keeps them: a test cannot change them,
// so the test runs set them and a test looks up what to expect.

#ifndef VELKARO_PLATFORM_WIN32_TEST_ENVIRONMENT_H_
#define VELKARO_PLATFORM_WIN32_TEST_ENVIRONMENT_H_

#include <cstdlib>

#include "values/text.h"

namespace velkaro {

// The value of an environment variable; empty when it is not set.
inline Text environmentText(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? Text(value) : Text();
}

// The name of the user locale the run chose.
inline Text userLocaleOfRun() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const Text value = environmentText(name);
    if (!value.empty()) return value;
  }
  return Text();
}

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_WIN32_TEST_ENVIRONMENT_H_
