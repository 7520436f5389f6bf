#include "tools/tools_launcher.h"

#include <algorithm>
#include <iterator>

namespace xiuhe {
namespace {

constexpr const char* kSystemFolder = "C:\\Windows\\system32";
constexpr int kOpenVerb = 4;

struct ToolButton {
  Ctl button;
  ShellRequest request;
};

const ToolButton kTools[] = {
    {Ctl::按钮1, {std::nullopt, "calc", std::nullopt, kSystemFolder, std::nullopt}},
    {Ctl::按钮5, {std::nullopt, "notepad", std::nullopt, kSystemFolder, std::nullopt}},
    {Ctl::按钮4, {std::nullopt, "LaunchTM", std::nullopt, kSystemFolder, std::nullopt}},
    {Ctl::按钮3, {std::nullopt, "control", std::nullopt, kSystemFolder, std::nullopt}},
    {Ctl::按钮9, {std::nullopt, "write", std::nullopt, kSystemFolder, std::nullopt}},
    {Ctl::按钮8, {kOpenVerb, "devmgmt.msc", std::nullopt, std::nullopt, std::nullopt}},
    {Ctl::按钮6, {std::nullopt, "SndVol", std::nullopt, kSystemFolder, std::nullopt}},
    {Ctl::按钮2, {std::nullopt, "cleanmgr", std::nullopt, kSystemFolder, std::nullopt}},
};

}  // namespace

void OpenTool(Program& program, Ctl button) {
  auto tool = std::find_if(std::begin(kTools), std::end(kTools),
                           [button](const ToolButton& row) { return row.button == button; });
  if (tool != std::end(kTools)) program.sys.ShellOpen(tool->request);
}

}  // namespace xiuhe
