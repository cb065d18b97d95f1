// Wildcard matching over whole names.

#include "platform/wildcard.h"

#include <cstddef>
#include <vector>

namespace velkaro {
namespace {

// One character of a text: its first byte and its length in bytes.
struct Unit {
  size_t at;
  size_t length;
};

std::vector<Unit> unitsOf(const Text& t, bool twoByteCharacters) {
  std::vector<Unit> units;
  units.reserve(t.size());
  size_t i = 0;
  while (i < t.size()) {
    size_t length = 1;
    if (twoByteCharacters && static_cast<unsigned char>(t[i]) >= 0x80 &&
        i + 1 < t.size()) {
      length = 2;
    }
    units.push_back({i, length});
    i += length;
  }
  return units;
}

char foldAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isWildcard(const Text& t, const Unit& u, char wildcard) {
  return u.length == 1 && t[u.at] == wildcard;
}

bool sameCharacter(const Text& a, const Unit& ua, const Text& b,
                   const Unit& ub) {
  if (ua.length != ub.length) {
    return false;
  }
  if (ua.length == 1) {
    return foldAscii(a[ua.at]) == foldAscii(b[ub.at]);
  }
  return a.compare(ua.at, ua.length, b, ub.at, ub.length) == 0;
}

}  // namespace

bool wildcardMatches(const Text& pattern, const Text& name,
                     bool twoByteCharacters) {
  const std::vector<Unit> p = unitsOf(pattern, twoByteCharacters);
  const std::vector<Unit> n = unitsOf(name, twoByteCharacters);
  size_t pi = 0;
  size_t ni = 0;
  // The last "*" seen and the name position it was tried at: on a
  // mismatch the star takes one more character and matching resumes after
  // it. Only the last star needs retrying, so this is linear in practice
  // and quadratic at worst.
  bool haveStar = false;
  size_t starPi = 0;
  size_t starNi = 0;
  while (ni < n.size()) {
    if (pi < p.size() && isWildcard(pattern, p[pi], '*')) {
      haveStar = true;
      starPi = pi++;
      starNi = ni;
    } else if (pi < p.size() && (isWildcard(pattern, p[pi], '?') ||
                                 sameCharacter(pattern, p[pi], name, n[ni]))) {
      ++pi;
      ++ni;
    } else if (haveStar) {
      pi = starPi + 1;
      ni = ++starNi;
    } else {
      return false;
    }
  }
  while (pi < p.size() && isWildcard(pattern, p[pi], '*')) {
    ++pi;
  }
  return pi == p.size();
}

}  // namespace velkaro
