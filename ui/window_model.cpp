#include "ui/window_model.h"

#include <algorithm>

namespace xiuhe {

WindowModel::WindowModel() {
  for (const ControlDef& def : kControls) {
    State& state = state_[Index(def.id)];
    state.visible = def.shown;
    state.text = def.text ? def.text : "";
    state.checked = def.checked;
    state.selectedIndex = def.items == ListItems::None ? -1 : def.selected;
    state.textColour = def.textColour;
  }
}

bool WindowModel::ShownInParent(Ctl id) const {
  const ControlDef& def = Def(id);
  if (def.kind == Kind::Timer || !state_[Index(id)].visible) return false;
  return def.page < 0 || def.page == selectedPage_;
}

bool WindowModel::Visible(Ctl id) const {
  if (!windowVisible_) return false;
  for (Ctl at = id; at != Ctl::Window; at = Def(at).parent)
    if (!ShownInParent(at)) return false;
  return true;
}

void WindowModel::SetVisible(Ctl id, bool visible) {
  state_[Index(id)].visible = visible;
  Notify(id, Property::Visible);
}

void WindowModel::SetWindowVisible(bool visible) {
  windowVisible_ = visible;
  if (view_) view_->WindowVisibilityChanged();
}

const Text& WindowModel::Caption(Ctl id) const { return state_[Index(id)].text; }

void WindowModel::SetCaption(Ctl id, const Text& caption) {
  state_[Index(id)].text = caption;
  Notify(id, Property::Caption);
}

const Text& WindowModel::Content(Ctl id) const { return state_[Index(id)].text; }

void WindowModel::SetContent(Ctl id, const Text& content) {
  state_[Index(id)].text = content;
  Notify(id, Property::Content);
  Raise(id, Event::TextChanged);
}

bool WindowModel::Checked(Ctl id) const { return state_[Index(id)].checked; }

void WindowModel::SetChecked(Ctl id, bool checked) {
  state_[Index(id)].checked = checked;
  Notify(id, Property::Checked);
}

int WindowModel::SelectedIndex(Ctl id) const { return state_[Index(id)].selectedIndex; }

void WindowModel::SetSelectedIndex(Ctl id, int index) {
  state_[Index(id)].selectedIndex = std::clamp(index, -1, ItemCount(id) - 1);
  Notify(id, Property::SelectedIndex);
}

int WindowModel::ItemCount(Ctl id) const {
  switch (Def(id).items) {
    case ListItems::Hours: return 24;
    case ListItems::Minutes: return 60;
    case ListItems::None: break;
  }
  return 0;
}

Text WindowModel::ItemText(Ctl id, int index) {
  if (Def(id).items == ListItems::Minutes) return TwoDigitText(index);
  return ToText(index);
}

int WindowModel::Interval(Ctl id) const { return state_[Index(id)].interval; }

void WindowModel::SetInterval(Ctl id, int milliseconds) {
  milliseconds = std::max(milliseconds, 0);
  State& state = state_[Index(id)];
  if (milliseconds == state.interval) return;
  state.interval = milliseconds;
  if (timers_) {
    timers_->StopTimer(id);
    if (milliseconds > 0) timers_->StartTimer(id, milliseconds);
  }
  Notify(id, Property::Interval);
}

std::uint32_t WindowModel::TextColour(Ctl id) const { return state_[Index(id)].textColour; }

void WindowModel::SetTextColour(Ctl id, std::uint32_t colour) {
  state_[Index(id)].textColour = colour;
  Notify(id, Property::TextColour);
}

void WindowModel::Bind(Ctl id, Event event, Handler handler) {
  bindings_.push_back({id, event, std::move(handler)});
}

void WindowModel::BindWindow(Event event, Handler handler) { Bind(Ctl::Window, event, std::move(handler)); }

void WindowModel::Raise(Ctl id, Event event) {
  // Copied, so that a handler may bind further handlers while it runs.
  std::vector<Handler> handlers;
  for (const Binding& binding : bindings_)
    if (binding.id == id && binding.event == event) handlers.push_back(binding.handler);
  for (const Handler& handler : handlers) handler();
}

void WindowModel::RaiseWindow(Event event) { Raise(Ctl::Window, event); }

void WindowModel::UserClick(Ctl id) {
  if (Def(id).kind == Kind::CheckBox) state_[Index(id)].checked = !state_[Index(id)].checked;
  Raise(id, Event::Clicked);
}

void WindowModel::UserPick(Ctl id, int index) {
  state_[Index(id)].selectedIndex = std::clamp(index, -1, ItemCount(id) - 1);
  Raise(id, Event::ListItemSelected);
}

void WindowModel::UserEdit(Ctl id, const Text& text) {
  state_[Index(id)].text = text;
  Raise(id, Event::TextChanged);
}

void WindowModel::UserSelectPage(int page) {
  if (page < 0 || page >= kTabPageCount) return;
  selectedPage_ = page;
  if (view_) view_->PageChanged();
}

void WindowModel::Tick(Ctl timer) {
  if (state_[Index(timer)].interval > 0) Raise(timer, Event::Periodic);
}

void WindowModel::Notify(Ctl id, Property property) {
  if (view_) view_->PropertyChanged(id, property);
}

}  // namespace xiuhe
