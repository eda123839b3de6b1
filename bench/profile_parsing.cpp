#include "bench/profile_parsing.h"

namespace {

void dropLogLine(const HostString&, int32_t) {}

}  // namespace

HostStudyInterface quietHost() {
  HostStudyInterface sc{};
  sc.recordSize = sizeof(HostStudyInterface);
  sc.hostVersion = kHostInterfaceVersion;
  sc.ops.HostAddMessageToLog = dropLogLine;
  return sc;
}
