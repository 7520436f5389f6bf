#include <gtest/gtest.h>

#include <string>

#include "ui/controls.h"
#include "ui/picture_button.h"

namespace xiuhe {
namespace {

// One letter per input: E entered, e entered with the left button held, L left, D left button down, U released over the button,
// u released elsewhere, R reset (hidden or capture lost), - disabled, + enabled.
struct Case {
  const char* inputs;
  ButtonLook look;
  int clicks;
  bool holding;
};

int Feed(PictureButton& button, const std::string& inputs) {
  int clicks = 0;
  for (char input : inputs) {
    switch (input) {
      case 'E': button.PointerEntered(); break;
      case 'e': button.PointerEntered(true); break;
      case 'L': button.PointerLeft(); break;
      case 'D': button.LeftButtonDown(); break;
      case 'U': clicks += button.LeftButtonUp(true); break;
      case 'u': clicks += button.LeftButtonUp(false); break;
      case 'R': button.Reset(); break;
      case '-': button.SetEnabled(false); break;
      case '+': button.SetEnabled(true); break;
      default: ADD_FAILURE() << "unknown input " << input;
    }
  }
  return clicks;
}

TEST(PictureButton, FollowsThePointerAndTheLeftButton) {
  const Case cases[] = {
      {"", ButtonLook::Normal, 0, false},
      {"E", ButtonLook::Hover, 0, false},
      {"EL", ButtonLook::Normal, 0, false},
      {"EED", ButtonLook::Pressed, 0, true},
      // Captured while held: leaving shows normal, coming back pressed again.
      {"EDL", ButtonLook::Normal, 0, true},
      {"EDLE", ButtonLook::Pressed, 0, true},
      // Released over it: one click, back to normal until the pointer moves again.
      {"EDU", ButtonLook::Normal, 1, false},
      {"EDUE", ButtonLook::Hover, 1, false},
      {"EDLEU", ButtonLook::Normal, 1, false},
      // Released elsewhere: nothing.
      {"EDLu", ButtonLook::Normal, 0, false},
      {"EDLuEU", ButtonLook::Hover, 0, false},
      // Pressed elsewhere: no light while dragged over it, no click when released over it.
      {"e", ButtonLook::Normal, 0, false},
      {"EUe", ButtonLook::Normal, 0, false},
      {"eU", ButtonLook::Hover, 0, false},
      {"EU", ButtonLook::Hover, 0, false},
      {"EDLe", ButtonLook::Pressed, 0, true},
      {"EDLeU", ButtonLook::Normal, 1, false},
      {"EDUDU", ButtonLook::Normal, 2, false},
      // Hidden or capture lost mid-press: the release that follows clicks nothing.
      {"EDRU", ButtonLook::Hover, 0, false},
      // Disabled: no hover, no press, no click; enabling again starts afresh.
      {"-", ButtonLook::Disabled, 0, false},
      {"-EDU", ButtonLook::Disabled, 0, false},
      {"-EDU+", ButtonLook::Normal, 0, false},
      {"ED-U", ButtonLook::Disabled, 0, false},
      {"ED-+U", ButtonLook::Hover, 0, false},
      {"E-+", ButtonLook::Normal, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inputs);
    PictureButton button;
    EXPECT_EQ(Feed(button, c.inputs), c.clicks);
    EXPECT_EQ(button.look(), c.look);
    EXPECT_EQ(button.holding(), c.holding);
  }
}

TEST(PictureButton, ShowsTheNormalPictureWhereTheWantedOneIsMissing) {
  const Pictures& close = Def(Ctl::图形按钮_关闭).pictures;
  const Pictures& menu = Def(Ctl::图形按钮_菜单).pictures;
  const Pictures& hourUp = Def(Ctl::图形按钮_小时加).pictures;
  struct Expect {
    const Pictures& pictures;
    ButtonLook look;
    std::string file;
  };
  const Expect expectations[] = {
      {close, ButtonLook::Normal, "close.png"},      {close, ButtonLook::Hover, "close_lit.png"},
      {close, ButtonLook::Pressed, "close.png"},     {close, ButtonLook::Disabled, "close.png"},
      {menu, ButtonLook::Disabled, "menu.png"},      {menu, ButtonLook::Hover, "menu_lit.png"},
      {hourUp, ButtonLook::Pressed, "up_arrow.png"}, {hourUp, ButtonLook::Hover, "up_arrow_lit.png"},
  };
  for (const Expect& e : expectations) EXPECT_EQ(PictureFor(e.pictures, e.look), e.file);
  EXPECT_EQ(PictureFor(Pictures{"only.png"}, ButtonLook::Hover), std::string("only.png"));

  PictureButton button;
  Feed(button, "ED");
  EXPECT_EQ(button.Picture(close), std::string("close.png"));  // held down: no pressed picture
}

}  // namespace
}  // namespace xiuhe
