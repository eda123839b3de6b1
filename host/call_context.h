// The study call in progress on this thread. The host's operations are plain
// functions without an object argument, so they find the instance they act
// on here. A CallScope sets it for the length of one call into the module;
// scopes nest and restore what was there before. Per thread, so several
// charts may run on several threads.
#pragma once

namespace chart_host {

class StudyInstance;
class Canvas;

struct CallContext {
  StudyInstance* instance = nullptr;
  Canvas* canvas = nullptr;  // set only while the graphics callback paints
};

// Inline so that every host operation reaches it without a call.
inline CallContext& currentCallContext() {
  static thread_local CallContext context;
  return context;
}

class CallScope {
 public:
  CallScope(StudyInstance& instance, Canvas* canvas);
  ~CallScope();
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

 private:
  CallContext saved_;
};

}  // namespace chart_host
