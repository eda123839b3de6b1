#include "host/persistent_store.h"

namespace chart_host {

PersistentStore::~PersistentStore() {
  for (auto& [key, text] : strings_) releaseHostString(text);
}

int PersistentStore::countLivePointers() const {
  int live = 0;
  for (const auto& [key, pointer] : pointers_) live += pointer != nullptr ? 1 : 0;
  return live;
}

}  // namespace chart_host
