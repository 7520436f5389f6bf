#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/text.h"
#include "ui/controls.h"

namespace xiuhe {

enum class Property : std::uint8_t { Visible, Caption, Content, Checked, SelectedIndex, Interval, TextColour };

// Starts and stops the real (or fake) timers; the model owns their periods.
class TimerHost {
 public:
  virtual ~TimerHost() = default;
  virtual void StartTimer(Ctl timer, int milliseconds) = 0;  // first tick one period from now
  virtual void StopTimer(Ctl timer) = 0;
};

// Mirrors the model onto real controls.
class WindowView {
 public:
  virtual ~WindowView() = default;
  virtual void PropertyChanged(Ctl id, Property property) = 0;
  virtual void WindowVisibilityChanged() = 0;
  virtual void PageChanged() = 0;
};

using Handler = std::function<void()>;

// The main window and its 56 controls as the program sees them: the seven properties,
// the events bound by control name, and the page switching of the tab control.
class WindowModel {
 public:
  WindowModel();

  void SetTimerHost(TimerHost* host) { timers_ = host; }
  void SetView(WindowView* view) { view_ = view; }

  // Properties. Writes follow the rules of each property; only a Content write raises an event.
  bool Visible(Ctl id) const;  // on screen now
  void SetVisible(Ctl id, bool visible);
  bool WindowVisible() const { return windowVisible_; }
  void SetWindowVisible(bool visible);
  const Text& Caption(Ctl id) const;
  void SetCaption(Ctl id, const Text& caption);
  const Text& Content(Ctl id) const;
  void SetContent(Ctl id, const Text& content);  // raises TextChanged once, inside the write
  bool Checked(Ctl id) const;
  void SetChecked(Ctl id, bool checked);
  int SelectedIndex(Ctl id) const;
  void SetSelectedIndex(Ctl id, int index);  // clamped to -1 ... last item
  int Interval(Ctl id) const;
  void SetInterval(Ctl id, int milliseconds);  // negative counts as 0; an equal value keeps the phase
  std::uint32_t TextColour(Ctl id) const;
  void SetTextColour(Ctl id, std::uint32_t colour);

  // The remembered Visible flag, and whether the control is shown within its parent
  // (a direct child of the tab control only while its page is selected).
  bool VisibleFlag(Ctl id) const { return state_[Index(id)].visible; }
  bool ShownInParent(Ctl id) const;
  int SelectedPage() const { return selectedPage_; }
  int ItemCount(Ctl id) const;
  static Text ItemText(Ctl id, int index);

  // Events.
  void Bind(Ctl id, Event event, Handler handler);
  void BindWindow(Event event, Handler handler);
  void Raise(Ctl id, Event event);
  void RaiseWindow(Event event);

  // What a person does, fed in by the Win32 layer (or a test) before the bound handler runs.
  void UserClick(Ctl id);                  // a check box toggles its tick first
  void UserPick(Ctl id, int index);        // a combo box item picked from the list
  void UserEdit(Ctl id, const Text& text); // an edit box's text changed by typing
  void UserSelectPage(int page);
  void Tick(Ctl timer);  // a timer tick delivered by the loop; ignored when the timer is stopped

 private:
  struct State {
    bool visible = false;
    Text text;
    bool checked = false;
    int selectedIndex = -1;
    int interval = 0;
    std::uint32_t textColour = 0;
  };
  struct Binding {
    Ctl id;
    Event event;
    Handler handler;
  };

  void Notify(Ctl id, Property property);

  std::array<State, kControlCount> state_;
  std::vector<Binding> bindings_;
  bool windowVisible_ = false;
  int selectedPage_ = 0;
  TimerHost* timers_ = nullptr;
  WindowView* view_ = nullptr;
};

}  // namespace xiuhe
