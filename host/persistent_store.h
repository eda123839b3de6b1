// The values one study instance keeps between calls: integers, 64-bit
// integers, pointers and texts, each store addressed by an integer key. A key
// never set reads as 0, null or empty. References handed out stay valid for
// the life of the store (node-based maps), as the study holds them across
// host calls within one study call.
#pragma once

#include <cstdint>
#include <map>

#include "study/host_interface.h"

namespace chart_host {

class PersistentStore {
 public:
  PersistentStore() = default;
  PersistentStore(const PersistentStore&) = delete;
  PersistentStore& operator=(const PersistentStore&) = delete;
  // Releases the texts. Pointers belong to the study, which frees them on its
  // last call; the store never frees them.
  ~PersistentStore();

  int32_t& intValue(int32_t key) { return ints_[key]; }
  int64_t& int64Value(int32_t key) { return int64s_[key]; }
  void*& pointerValue(int32_t key) { return pointers_[key]; }
  HostString& stringValue(int32_t key) { return strings_[key]; }

  // Pointers still set: what the study did not release.
  int countLivePointers() const;

 private:
  std::map<int32_t, int32_t> ints_;
  std::map<int32_t, int64_t> int64s_;
  std::map<int32_t, void*> pointers_;
  std::map<int32_t, HostString> strings_;
};

}  // namespace chart_host
