#include "ui/picture_button.h"

namespace xiuhe {

const char* PictureFor(const Pictures& pictures, ButtonLook look) {
  const char* wanted = nullptr;
  switch (look) {
    case ButtonLook::Hover: wanted = pictures.hover; break;
    case ButtonLook::Disabled: wanted = pictures.disabled; break;
    case ButtonLook::Pressed:  // no pressed pictures exist
    case ButtonLook::Normal: break;
  }
  return wanted ? wanted : pictures.normal;
}

void PictureButton::PointerEntered(bool leftButtonHeld) {
  if (enabled_) over_ = holding_ || !leftButtonHeld;
}

void PictureButton::PointerLeft() { over_ = false; }

void PictureButton::LeftButtonDown() {
  if (!enabled_) return;
  over_ = true;
  holding_ = true;
}

bool PictureButton::LeftButtonUp(bool overButton) {
  bool clicked = holding_ && overButton && enabled_;
  holding_ = false;
  // A click leaves the button in its normal look until the pointer moves over it again.
  over_ = enabled_ && overButton && !clicked;
  return clicked;
}

void PictureButton::Reset() {
  over_ = false;
  holding_ = false;
}

void PictureButton::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) Reset();
}

ButtonLook PictureButton::look() const {
  if (!enabled_) return ButtonLook::Disabled;
  if (holding_) return over_ ? ButtonLook::Pressed : ButtonLook::Normal;
  return over_ ? ButtonLook::Hover : ButtonLook::Normal;
}

}  // namespace xiuhe
