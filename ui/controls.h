#pragma once
#include <array>
#include <cstdint>

namespace xiuhe {

// The 56 controls of the main window, in stacking order (earlier lies above later within a parent).
enum class Ctl : std::uint8_t {
  时钟_闹钟2, 时钟_闹钟1,
  按钮3, 按钮2, 按钮6, 按钮4, 按钮5, 按钮8, 按钮9, 按钮1,
  透明标签2, 组合框_闹钟2小时, 组合框_闹钟2分钟, 组合框_闹钟1分钟, 透明标签1, 组合框_闹钟1小时,
  选择框_闹钟2开, 选择框_闹钟1开, 编辑框_闹钟2提醒,
  选择框_闹钟2周一, 选择框_闹钟2周二, 选择框_闹钟2周三, 选择框_闹钟2周四, 选择框_闹钟2周五, 选择框_闹钟2周六, 选择框_闹钟2周日,
  分组框2, 编辑框_闹钟1提醒,
  选择框_闹钟1周一, 选择框_闹钟1周二, 选择框_闹钟1周三, 选择框_闹钟1周四, 选择框_闹钟1周五, 选择框_闹钟1周六, 选择框_闹钟1周日,
  分组框1, 时钟_定时关机长, 时钟_定时关机短,
  图形按钮_立即启用, 图形按钮_取消关机, 透明标签_秒, 透明标签_倒计时, 透明标签_提示, 选择框1,
  图形按钮_小时加, 标签_分钟, 标签_小时, 图形按钮_分钟减, 图形按钮_分钟加, 图形按钮_小时减,
  图形按钮_关闭, 图形按钮_最小化, 图形按钮_菜单,
  选择夹1, 图片框1, 图片框2,
  Count,
  Window = Count,  // the main window itself, as a parent
};
inline constexpr int kControlCount = static_cast<int>(Ctl::Count);
constexpr int Index(Ctl id) { return static_cast<int>(id); }

enum class Kind : std::uint8_t {
  Timer, Button, PictureButton, Label, TransparentLabel, CheckBox, ComboBox, EditBox, GroupBox, TabControl, PictureBox,
};

enum class Event : std::uint8_t {
  None, Created, TrayEvent, Periodic, Clicked, ListItemSelected, TextChanged, LeftMousePressed,
};

enum class ListItems : std::uint8_t { None, Hours, Minutes };  // "0".."23" / "00".."59"

enum class Align : std::uint8_t {
  LeftMiddle,    // left, vertically centred, one line
  CentreMiddle,  // centred both ways, one line
  CentreBottom,  // centred, bottom-aligned, one line
};

// Colours as 0x00BBGGRR: red in the lowest byte.
constexpr std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}
inline constexpr std::uint32_t kButtonFace = 0xFF000000;  // the system's button-face colour
inline constexpr std::uint32_t kWhiteBackground = Rgb(255, 255, 255);

struct Font {
  int height = 0;  // character height in pixels; 0 for the default GUI font
  bool bold = false;
};

struct Pictures {  // asset file names; nullptr where the button has none
  const char* normal = nullptr;
  const char* hover = nullptr;
  const char* disabled = nullptr;
};

struct ControlDef {
  Ctl id;
  const char* name;  // the control's name, as text
  Kind kind;
  Ctl parent;
  int page;  // tab page of a direct child of 选择夹1, else -1
  int x, y, width, height;
  bool shown;
  bool tabStop;
  const char* text;  // caption, content or group caption; nullptr for none
  bool checked;
  ListItems items;
  int selected;
  Font font;
  std::uint32_t textColour;
  std::uint32_t background;
  Align align;
  Pictures pictures;
  const char* accessibleName;  // window text of a picture button, for screen readers
  Event event;                 // the event the program handles, or Event::None
};

extern const std::array<ControlDef, kControlCount> kControls;
inline const ControlDef& Def(Ctl id) { return kControls[Index(id)]; }

inline constexpr int kWindowWidth = 430;
inline constexpr int kWindowHeight = 330;
inline constexpr const char* kWindowCaption = "岫禾小助理";
inline constexpr const char* kWindowBackground = "background.png";
inline constexpr const char* kTabPages[] = {"定时关机", "闹钟", "常用工具"};
inline constexpr int kTabPageCount = 3;

// Hours and minutes of the label gradients (top, middle, bottom).
inline constexpr std::uint32_t kLabelGradient[3] = {Rgb(128, 128, 128), Rgb(255, 255, 255), Rgb(128, 128, 128)};

}  // namespace xiuhe
