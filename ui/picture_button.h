#pragma once
#include <cstdint>

#include "ui/controls.h"

namespace xiuhe {

// Which of a picture button's pictures is wanted.
enum class ButtonLook : std::uint8_t { Normal, Hover, Pressed, Disabled };

// The picture for a look: the wanted one, or the normal picture when the button has none for it.
// No button has a pressed picture, so a held-down button shows its normal one.
const char* PictureFor(const Pictures& pictures, ButtonLook look);

// The pointer state of one picture button, fed with the mouse input the button receives.
// While the left button is held after a press on it, the button keeps the pointer captured
// (holding() is true) and so still hears where the pointer goes and where the button is released.
class PictureButton {
 public:
  // The pointer is over the button; may be repeated on every move over it. With the left button
  // held from a press elsewhere, the button does not light up.
  void PointerEntered(bool leftButtonHeld = false);
  void PointerLeft();
  void LeftButtonDown();  // pressed over the button
  // Released, over the button or elsewhere; true when this completes a click.
  bool LeftButtonUp(bool overButton);
  // The button was hidden or lost the capture: forget the pointer and any press.
  void Reset();
  void SetEnabled(bool enabled);

  bool enabled() const { return enabled_; }
  bool holding() const { return holding_; }
  ButtonLook look() const;
  const char* Picture(const Pictures& pictures) const { return PictureFor(pictures, look()); }

 private:
  bool enabled_ = true;
  bool over_ = false;
  bool holding_ = false;
};

}  // namespace xiuhe
