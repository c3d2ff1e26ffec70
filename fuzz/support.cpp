#include "fuzz/support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tavolen::fuzz {

void Fail(std::string_view what, std::string_view detail) {
  std::fprintf(stderr, "fuzz check failed: %.*s [%.*s]\n", static_cast<int>(what.size()),
               what.data(), static_cast<int>(detail.size()), detail.data());
  std::abort();
}

bool IsCleanEntry(std::string_view text) {
  const bool allDigits =
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  return allDigits && (text.size() <= 1 || text.front() != '0');
}

}  // namespace tavolen::fuzz
