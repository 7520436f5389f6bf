#include "ui/controls.h"

namespace xiuhe {
namespace {

constexpr int kNoPage = -1;
constexpr Font kDefaultFont{};

constexpr ControlDef Make(Ctl id, const char* name, Kind kind, Ctl parent, int page, int x, int y, int w, int h,
                          bool shown, bool tabStop, const char* text, Event event) {
  return ControlDef{id, name, kind, parent, page, x, y, w, h, shown, tabStop, text, false, ListItems::None, -1,
                    kDefaultFont, Rgb(0, 0, 0), kButtonFace, Align::LeftMiddle, {}, nullptr, event};
}

constexpr ControlDef Timer(Ctl id, const char* name, int x, int y) {
  return Make(id, name, Kind::Timer, Ctl::Window, kNoPage, x, y, 26, 26, false, false, nullptr, Event::Periodic);
}

constexpr ControlDef ToolButton(Ctl id, const char* name, int x, int y, const char* caption) {
  return Make(id, name, Kind::Button, Ctl::选择夹1, 2, x, y, 80, 32, true, true, caption, Event::Clicked);
}

constexpr ControlDef Combo(Ctl id, const char* name, Ctl group, int x, ListItems items, int selected) {
  ControlDef def = Make(id, name, Kind::ComboBox, group, kNoPage, x, 18, 40, 20, true, true, nullptr,
                        Event::ListItemSelected);
  def.items = items;
  def.selected = selected;
  def.background = kWhiteBackground;
  return def;
}

constexpr ControlDef Check(Ctl id, const char* name, Ctl parent, int x, int y, int w, const char* caption,
                           bool checked) {
  ControlDef def = Make(id, name, Kind::CheckBox, parent, kNoPage, x, y, w, 24, true, true, caption, Event::Clicked);
  def.checked = checked;
  return def;
}

constexpr ControlDef Edit(Ctl id, const char* name, Ctl group, const char* content) {
  ControlDef def = Make(id, name, Kind::EditBox, group, kNoPage, 111, 18, 268, 20, true, true, content,
                        Event::TextChanged);
  def.background = kWhiteBackground;
  return def;
}

constexpr ControlDef Group(Ctl id, const char* name, int y, const char* caption) {
  return Make(id, name, Kind::GroupBox, Ctl::选择夹1, 1, 1, y, 428, 70, true, false, caption, Event::None);
}

constexpr ControlDef Colon(Ctl id, const char* name, Ctl group) {
  ControlDef def = Make(id, name, Kind::TransparentLabel, group, kNoPage, 48, 13, 20, 20, true, false, "：",
                        Event::None);
  def.font = {24, false};
  return def;
}

constexpr ControlDef TransparentLabel(Ctl id, const char* name, int x, int y, int w, int h, bool shown,
                                      const char* caption, std::uint32_t colour, Font font, Align align,
                                      Event event) {
  ControlDef def = Make(id, name, Kind::TransparentLabel, Ctl::图片框2, kNoPage, x, y, w, h, shown, false, caption,
                        event);
  def.textColour = colour;
  def.font = font;
  def.align = align;
  return def;
}

constexpr ControlDef TimeLabel(Ctl id, const char* name, int x) {
  ControlDef def = Make(id, name, Kind::Label, Ctl::选择夹1, 0, x, 42, 80, 67, true, false, "00", Event::None);
  def.font = {56, false};
  def.align = Align::CentreMiddle;
  return def;
}

constexpr ControlDef PictureButton(Ctl id, const char* name, Ctl parent, int page, int x, int y, int w, int h,
                                   Pictures pictures, const char* accessibleName) {
  ControlDef def = Make(id, name, Kind::PictureButton, parent, page, x, y, w, h, true, false, nullptr,
                        Event::Clicked);
  def.pictures = pictures;
  def.accessibleName = accessibleName;
  return def;
}

constexpr ControlDef PictureBox(Ctl id, const char* name, int x, int y, int w, int h, const char* picture) {
  ControlDef def = Make(id, name, Kind::PictureBox, Ctl::选择夹1, 0, x, y, w, h, true, false, nullptr, Event::None);
  def.pictures = {picture, nullptr, nullptr};
  return def;
}

constexpr Pictures kUpArrow{"up_arrow.png", "up_arrow_lit.png"};
constexpr Pictures kDownArrow{"down_arrow.png", "down_arrow_lit.png"};
constexpr Ctl G1 = Ctl::分组框1, G2 = Ctl::分组框2, Tab = Ctl::选择夹1, Panel = Ctl::图片框2;

constexpr std::array<ControlDef, kControlCount> kTable = {{
    Timer(Ctl::时钟_闹钟2, "时钟_闹钟2", 16, 128),
    Timer(Ctl::时钟_闹钟1, "时钟_闹钟1", 16, 96),
    ToolButton(Ctl::按钮3, "按钮3", 339, 48, "控制面板"),
    ToolButton(Ctl::按钮2, "按钮2", 339, 109, "磁盘清理"),
    ToolButton(Ctl::按钮6, "按钮6", 229, 109, "扬声器"),
    ToolButton(Ctl::按钮4, "按钮4", 229, 48, "任务管理器"),
    ToolButton(Ctl::按钮5, "按钮5", 120, 48, "记事本"),
    ToolButton(Ctl::按钮8, "按钮8", 120, 109, "设备管理器"),
    ToolButton(Ctl::按钮9, "按钮9", 11, 109, "写字板"),
    ToolButton(Ctl::按钮1, "按钮1", 11, 48, "计算器"),
    Colon(Ctl::透明标签2, "透明标签2", G2),
    Combo(Ctl::组合框_闹钟2小时, "组合框_闹钟2小时", G2, 8, ListItems::Hours, 0),
    Combo(Ctl::组合框_闹钟2分钟, "组合框_闹钟2分钟", G2, 58, ListItems::Minutes, 0),
    Combo(Ctl::组合框_闹钟1分钟, "组合框_闹钟1分钟", G1, 58, ListItems::Minutes, 0),
    Colon(Ctl::透明标签1, "透明标签1", G1),
    Combo(Ctl::组合框_闹钟1小时, "组合框_闹钟1小时", G1, 8, ListItems::Hours, 7),
    Check(Ctl::选择框_闹钟2开, "选择框_闹钟2开", G2, 386, 16, 30, "开", false),
    Check(Ctl::选择框_闹钟1开, "选择框_闹钟1开", G1, 386, 16, 30, "开", false),
    Edit(Ctl::编辑框_闹钟2提醒, "编辑框_闹钟2提醒", G2, "闹钟"),
    Check(Ctl::选择框_闹钟2周一, "选择框_闹钟2周一", G2, 8, 41, 44, "周一", false),
    Check(Ctl::选择框_闹钟2周二, "选择框_闹钟2周二", G2, 69, 41, 44, "周二", false),
    Check(Ctl::选择框_闹钟2周三, "选择框_闹钟2周三", G2, 130, 41, 44, "周三", false),
    Check(Ctl::选择框_闹钟2周四, "选择框_闹钟2周四", G2, 191, 41, 44, "周四", false),
    Check(Ctl::选择框_闹钟2周五, "选择框_闹钟2周五", G2, 252, 41, 44, "周五", false),
    Check(Ctl::选择框_闹钟2周六, "选择框_闹钟2周六", G2, 313, 41, 44, "周六", false),
    Check(Ctl::选择框_闹钟2周日, "选择框_闹钟2周日", G2, 376, 41, 44, "周日", false),
    Group(Ctl::分组框2, "分组框2", 101, "闹钟2"),
    Edit(Ctl::编辑框_闹钟1提醒, "编辑框_闹钟1提醒", G1, "早上好"),
    Check(Ctl::选择框_闹钟1周一, "选择框_闹钟1周一", G1, 8, 41, 44, "周一", true),
    Check(Ctl::选择框_闹钟1周二, "选择框_闹钟1周二", G1, 69, 41, 44, "周二", true),
    Check(Ctl::选择框_闹钟1周三, "选择框_闹钟1周三", G1, 130, 41, 44, "周三", true),
    Check(Ctl::选择框_闹钟1周四, "选择框_闹钟1周四", G1, 191, 41, 44, "周四", true),
    Check(Ctl::选择框_闹钟1周五, "选择框_闹钟1周五", G1, 252, 41, 44, "周五", true),
    Check(Ctl::选择框_闹钟1周六, "选择框_闹钟1周六", G1, 313, 41, 44, "周六", false),
    Check(Ctl::选择框_闹钟1周日, "选择框_闹钟1周日", G1, 376, 41, 44, "周日", false),
    Group(Ctl::分组框1, "分组框1", 26, "闹钟1"),
    Timer(Ctl::时钟_定时关机长, "时钟_定时关机长", 16, 56),
    Timer(Ctl::时钟_定时关机短, "时钟_定时关机短", 8, 16),
    PictureButton(Ctl::图形按钮_立即启用, "图形按钮_立即启用", Panel, kNoPage, 176, 116, 78, 26,
                  {"arm.png", "arm_lit.png"}, "立即启用"),
    PictureButton(Ctl::图形按钮_取消关机, "图形按钮_取消关机", Panel, kNoPage, 180, 117, 70, 24,
                  {"cancel.png", "cancel_lit.png"}, "取消关机"),
    TransparentLabel(Ctl::透明标签_秒, "透明标签_秒", 143, 119, 20, 24, false, "秒", Rgb(255, 255, 255), kDefaultFont,
                     Align::LeftMiddle, Event::None),
    TransparentLabel(Ctl::透明标签_倒计时, "透明标签_倒计时", 83, 116, 55, 23, false, "30", Rgb(0, 255, 0), {19, true},
                     Align::CentreBottom, Event::None),
    TransparentLabel(Ctl::透明标签_提示, "透明标签_提示", 7, 119, 120, 24, true, "设置到点关机时间", Rgb(0, 0, 0),
                     kDefaultFont, Align::LeftMiddle, Event::LeftMousePressed),
    [] {
      ControlDef def = Check(Ctl::选择框1, "选择框1", Panel, 283, 119, 140, "每天都执行此关机设置", false);
      def.background = Rgb(52, 52, 52);
      return def;
    }(),
    PictureButton(Ctl::图形按钮_小时加, "图形按钮_小时加", Tab, 0, 122, 24, 82, 18, kUpArrow, "小时加"),
    TimeLabel(Ctl::标签_分钟, "标签_分钟", 230),
    TimeLabel(Ctl::标签_小时, "标签_小时", 122),
    PictureButton(Ctl::图形按钮_分钟减, "图形按钮_分钟减", Tab, 0, 229, 109, 82, 18, kDownArrow, "分钟减"),
    PictureButton(Ctl::图形按钮_分钟加, "图形按钮_分钟加", Tab, 0, 229, 24, 82, 18, kUpArrow, "分钟加"),
    PictureButton(Ctl::图形按钮_小时减, "图形按钮_小时减", Tab, 0, 121, 109, 82, 18, kDownArrow, "小时减"),
    PictureButton(Ctl::图形按钮_关闭, "图形按钮_关闭", Ctl::Window, kNoPage, 401, 0, 29, 29,
                  {"close.png", "close_lit.png"}, "关闭"),
    PictureButton(Ctl::图形按钮_最小化, "图形按钮_最小化", Ctl::Window, kNoPage, 371, 0, 30, 29,
                  {"minimise.png", "minimise_lit.png"}, "最小化"),
    PictureButton(Ctl::图形按钮_菜单, "图形按钮_菜单", Ctl::Window, kNoPage, 341, 0, 30, 29,
                  {"menu.png", "menu_lit.png", "menu.png"}, "菜单"),
    Make(Ctl::选择夹1, "选择夹1", Kind::TabControl, Ctl::Window, kNoPage, 0, 159, 432, 172, true, false, nullptr,
         Event::None),
    PictureBox(Ctl::图片框1, "图片框1", 202, 24, 28, 103, "colon.png"),
    PictureBox(Ctl::图片框2, "图片框2", 0, 21, 430, 150, "panel.png"),
}};

constexpr bool TableInOrder() {
  for (int i = 0; i < kControlCount; ++i)
    if (Index(kTable[i].id) != i) return false;
  return true;
}
static_assert(TableInOrder(), "the control table must follow the order of Ctl");

}  // namespace

const std::array<ControlDef, kControlCount> kControls = kTable;

}  // namespace xiuhe
