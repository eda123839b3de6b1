#include "tools/chart/outputs/key_hiding.h"

namespace chart_tool::outputs {

std::string withoutKey(std::string_view text, const std::string& key) {
  std::string shown(text);
  if (key.size() < kShortestHiddenKey) return shown;
  const std::string_view hidden = kHiddenKey;
  // The search goes on after the replacement, which may itself hold the key.
  for (std::size_t at = shown.find(key); at != std::string::npos; at = shown.find(key, at + hidden.size()))
    shown.replace(at, key.size(), hidden);
  return shown;
}

bool keyTooShortToHide(const std::string& key) { return !key.empty() && key.size() < kShortestHiddenKey; }

}  // namespace chart_tool::outputs
