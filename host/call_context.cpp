#include "host/call_context.h"

CallContext& currentCallContext() {
  thread_local CallContext context;
  return context;
}

CallScope::CallScope(StudyInstance& instance, Canvas* canvas) : saved_(currentCallContext()) {
  currentCallContext() = CallContext{&instance, canvas};
}

CallScope::~CallScope() { currentCallContext() = saved_; }
