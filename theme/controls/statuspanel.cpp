#include "framework/sysutils.h"
#include "theme/controls/statusbar.h"

namespace hv {

// ---- TTeStatusPanels -----------------------------------------------------

TTeStatusPanels::TTeStatusPanels(TTeCustomStatusBar* bar) : bar_(bar) {}

TTeStatusPanels::~TTeStatusPanels() {
  // The bar is going too: no layout for each panel on the way out.
  bar_ = nullptr;
  items_.clear();
}

TTeStatusPanel* TTeStatusPanels::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
  return items_[static_cast<size_t>(index)].get();
}

int TTeStatusPanels::IndexOf(const TTeStatusPanel* panel) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == panel) return static_cast<int>(i);
  return -1;
}

TTeStatusPanel* TTeStatusPanels::Add() {
  std::unique_ptr<TTeStatusPanel> panel = bar_ ? bar_->CreatePanel() : std::make_unique<TTeStatusPanel>();
  TTeStatusPanel* made = items_.emplace_back(std::move(panel)).get();
  Changed();
  return made;
}

void TTeStatusPanels::Delete(int index) {
  TTeStatusPanel* panel = Items(index);
  if (bar_) bar_->PanelGoing(panel);
  // Taken out of the list first, so that nothing reached from its
  // destructor finds it there.
  std::unique_ptr<TTeStatusPanel> going = std::move(items_[static_cast<size_t>(index)]);
  items_.erase(items_.begin() + index);
  going.reset();
  Changed();
}

void TTeStatusPanels::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) Delete(Count() - 1);
  EndUpdate();
}

void TTeStatusPanels::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TTeStatusPanels::Changed() {
  if (updateCount_ == 0 && bar_) bar_->UpdatePanels();
}

}  // namespace hv
