#include "host/call_context.h"

namespace chart_host {

CallScope::CallScope(StudyInstance& instance, Canvas* canvas) : saved_(currentCallContext()) {
  currentCallContext() = CallContext{&instance, canvas};
}

CallScope::~CallScope() { currentCallContext() = saved_; }

}  // namespace chart_host
