#include <gtest/gtest.h>

#include "tests/support/program_harness.h"

namespace xiuhe {
namespace {

struct StepCase {
  Ctl button;
  const char* before;
  const char* after;
};

Ctl LabelOf(Ctl button) {
  return button == Ctl::图形按钮_小时加 || button == Ctl::图形按钮_小时减 ? Ctl::标签_小时 : Ctl::标签_分钟;
}
Ctl OtherLabel(Ctl label) { return label == Ctl::标签_小时 ? Ctl::标签_分钟 : Ctl::标签_小时; }

TEST(TimeSetter, EachArrowStepsItsOwnLabelWithWrapAround) {
  constexpr Ctl HourUp = Ctl::图形按钮_小时加, HourDown = Ctl::图形按钮_小时减;
  constexpr Ctl MinuteUp = Ctl::图形按钮_分钟加, MinuteDown = Ctl::图形按钮_分钟减;
  const StepCase cases[] = {
      // The wraps, and their neighbours that do not wrap.
      {HourUp, "23", "00"}, {HourDown, "00", "23"}, {MinuteUp, "59", "00"}, {MinuteDown, "00", "59"},
      {HourUp, "22", "23"}, {HourDown, "01", "00"}, {MinuteUp, "58", "59"}, {MinuteDown, "01", "00"},
      {HourUp, "09", "10"}, {HourDown, "10", "09"},
      // One character, as a hand-edited settings file can leave it.
      {MinuteUp, "5", "06"}, {MinuteDown, "5", "04"}, {HourUp, "0", "01"}, {HourDown, "0", "23"},
      // Out of range: no clamping, and only the exact wrap values wrap.
      {HourUp, "24", "25"}, {HourDown, "24", "23"}, {MinuteUp, "60", "61"}, {MinuteDown, "60", "59"},
      {HourUp, "-3", "-2"}, {HourDown, "-3", "-4"}, {MinuteDown, "-1", "-2"},
      {HourUp, "2147483647", "2147483648"},
      // Unreadable captions count as 0.
      {HourUp, "", "01"}, {HourDown, "", "23"}, {MinuteUp, "", "01"}, {MinuteDown, "", "59"},
      {HourUp, "ab", "01"}, {MinuteDown, "xyz", "59"},
      // Read as the conversion rules read numbers: leading zeros, spaces, trailing text, full-width digits.
      {HourUp, "007", "08"}, {MinuteUp, " 7", "08"}, {HourDown, "12点", "11"}, {MinuteUp, "０８", "09"},
  };
  for (const StepCase& c : cases) {
    testing::ProgramHarness h;
    const Ctl label = LabelOf(c.button);
    h.window.SetCaption(label, c.before);
    h.window.SetCaption(OtherLabel(label), "42");

    h.window.UserClick(c.button);

    EXPECT_EQ(h.window.Caption(label), c.after) << Def(c.button).name << " on \"" << c.before << "\"";
    EXPECT_EQ(h.window.Caption(OtherLabel(label)), "42") << Def(c.button).name;
  }
}

TEST(TimeSetter, SteppingWritesNothingToTheSettingsFile) {
  testing::ProgramHarness h;
  h.Start();
  const std::optional<std::string> before = h.sys.SettingsFile();
  const int writes = h.sys.Count("WriteIniValue");
  h.window.SetChecked(Ctl::选择框1, true);  // even with the daily shutdown on

  for (Ctl button : {Ctl::图形按钮_小时加, Ctl::图形按钮_小时减, Ctl::图形按钮_分钟加, Ctl::图形按钮_分钟减})
    for (int i = 0; i < 3; ++i) h.window.UserClick(button);

  EXPECT_EQ(h.sys.Count("WriteIniValue"), writes);
  EXPECT_EQ(h.sys.SettingsFile(), before);
}

}  // namespace
}  // namespace xiuhe
