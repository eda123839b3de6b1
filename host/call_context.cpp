#include "host/call_context.h"

CallScope::CallScope(StudyInstance& instance, Canvas* canvas) : saved_(currentCallContext()) {
  currentCallContext() = CallContext{&instance, canvas};
}

CallScope::~CallScope() { currentCallContext() = saved_; }
