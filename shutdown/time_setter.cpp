#include "shutdown/time_setter.h"

#include <algorithm>
#include <iterator>

namespace xiuhe {
namespace {

struct ArrowButton {
  Ctl button;
  Ctl label;
  int step;          // +1 up, -1 down
  int wrapValue;     // the value that wraps instead of stepping
  const char* wrapText;
};

constexpr ArrowButton kArrowButtons[] = {
    {Ctl::图形按钮_小时加, Ctl::标签_小时, +1, 23, "00"},
    {Ctl::图形按钮_小时减, Ctl::标签_小时, -1, 0, "23"},
    {Ctl::图形按钮_分钟加, Ctl::标签_分钟, +1, 59, "00"},
    {Ctl::图形按钮_分钟减, Ctl::标签_分钟, -1, 0, "59"},
};

}  // namespace

void StepTimeLabel(Program& program, Ctl arrowButton) {
  const auto* row = std::find_if(std::begin(kArrowButtons), std::end(kArrowButtons),
                                 [arrowButton](const ArrowButton& r) { return r.button == arrowButton; });
  if (row == std::end(kArrowButtons)) return;

  const int n = TextToInt(program.window.Caption(row->label));
  // Stepped as a real so that a hand-edited extreme value cannot overflow.
  const Text next = n == row->wrapValue ? Text(row->wrapText) : TwoDigitText(static_cast<double>(n) + row->step);
  program.window.SetCaption(row->label, next);
}

}  // namespace xiuhe
