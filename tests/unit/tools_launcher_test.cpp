#include <gtest/gtest.h>

#include "tests/support/program_harness.h"

namespace xiuhe {
namespace {

TEST(ToolsLauncher, EachButtonMakesExactlyItsShellRequest) {
  const Text system32 = "C:\\Windows\\system32";
  const std::pair<Ctl, ShellRequest> expected[] = {
      {Ctl::按钮1, {std::nullopt, "calc", std::nullopt, system32, std::nullopt}},
      {Ctl::按钮5, {std::nullopt, "notepad", std::nullopt, system32, std::nullopt}},
      {Ctl::按钮4, {std::nullopt, "LaunchTM", std::nullopt, system32, std::nullopt}},
      {Ctl::按钮3, {std::nullopt, "control", std::nullopt, system32, std::nullopt}},
      {Ctl::按钮9, {std::nullopt, "write", std::nullopt, system32, std::nullopt}},
      {Ctl::按钮8, {4, "devmgmt.msc", std::nullopt, std::nullopt, std::nullopt}},
      {Ctl::按钮6, {std::nullopt, "SndVol", std::nullopt, system32, std::nullopt}},
      {Ctl::按钮2, {std::nullopt, "cleanmgr", std::nullopt, system32, std::nullopt}},
  };
  for (const auto& [button, request] : expected) {
    testing::ProgramHarness h;
    h.Start();
    auto file = h.sys.SettingsFile();
    h.window.UserClick(button);
    h.window.UserClick(button);  // a second click is a second request
    ASSERT_EQ(h.sys.shellRequests.size(), 2u) << Def(button).name;
    EXPECT_EQ(h.sys.shellRequests[0], request) << Def(button).name;
    EXPECT_EQ(h.sys.SettingsFile(), file);
  }
}

}  // namespace
}  // namespace xiuhe
