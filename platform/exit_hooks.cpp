#include "platform/exit_hooks.h"

namespace xiuhe {

void ExitHooks::Add(Routine routine, void* context) {
  for (const Hook& hook : hooks_)
    if (hook.routine == routine && hook.context == context) return;
  hooks_.push_back({routine, context});
}

void ExitHooks::RunOnce() {
  if (ran_) return;
  ran_ = true;
  for (const Hook& hook : hooks_) hook.routine(hook.context);
}

}  // namespace xiuhe
