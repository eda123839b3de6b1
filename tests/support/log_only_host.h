// A host record outside any chart whose only wired operation is the message
// log, for calling a reader of service text on its own. Every other operation
// is null, so a reader reaching for one fails at once.
#pragma once

#include <cstdint>

#include "study/host_interface.h"

using LogLineSink = void (*)(const HostString& text, int32_t alert);

inline HostStudyInterface logOnlyHost(LogLineSink log) {
  HostStudyInterface sc{};
  sc.recordSize = sizeof(HostStudyInterface);
  sc.hostVersion = kHostInterfaceVersion;
  sc.ops.HostAddMessageToLog = log;
  return sc;
}

// A log that drops every line, for readers measured on paths that log nothing.
inline void dropLogLine(const HostString&, int32_t) {}
