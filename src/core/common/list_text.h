// A list of items in one status line that stays short: the first few items and how many
// more there are, so that a long list never runs off the status list.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tallimar::common {

// "a, b, c" for up to `shown` items; "a, b, c and 57 more" for a longer list; "" for none.
inline std::string firstFewOf(const std::vector<std::string>& items, std::size_t shown) {
  std::string text;
  const std::size_t named = items.size() <= shown ? items.size() : shown;
  for (std::size_t i = 0; i < named; ++i) {
    if (i > 0) text += ", ";
    text += items[i];
  }
  if (named < items.size()) text += " and " + std::to_string(items.size() - named) + " more";
  return text;
}

}  // namespace tallimar::common
