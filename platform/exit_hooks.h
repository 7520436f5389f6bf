#pragma once
#include <vector>

namespace xiuhe {

// Routines run once, in the order added, when the program ends, whichever way it ends.
class ExitHooks {
 public:
  using Routine = void (*)(void* context);

  void Add(Routine routine, void* context);  // a routine already in the list is not added again
  void RunOnce();
  bool HasRun() const { return ran_; }

 private:
  struct Hook {
    Routine routine;
    void* context;
  };
  std::vector<Hook> hooks_;
  bool ran_ = false;
};

}  // namespace xiuhe
