// The host's operations as the study sees them: plain functions that act on
// the study call in progress on this thread (call_context.h). Outside a call
// they do nothing and answer 0, null or empty.
#pragma once

#include "study/host_interface.h"

namespace chart_host {

HostOperations makeHostOperations();

}  // namespace chart_host
