#pragma once
// Actions: a command with its caption, state and handler, shared by the
// controls and items that carry it out. A client reaches its action through
// a link, which hears when the action changes and when it goes. Portable.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/event.h"

namespace hv {

class TBasicActionLink;

class TBasicAction : public TComponent {
  HV_CLASS_NO_PROPERTIES(TBasicAction, TComponent)

 public:
  explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
  ~TBasicAction() override;

  // Runs OnExecute; false when there is none to run.
  virtual bool Execute();
  // Runs OnUpdate, which may change the action's state; false without one.
  virtual bool Update();

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  // Tells every linked client that the action's state changed.
  void Change();

 private:
  friend class TBasicActionLink;
  std::vector<TBasicActionLink*> clients_;
};

// The state an action hands its clients.
class TAction : public TBasicAction {
  HV_CLASS_NO_PROPERTIES(TAction, TBasicAction)

 public:
  explicit TAction(TComponent* owner) : TBasicAction(owner) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  uint16_t ShortCut() const { return shortCut_; }
  void SetShortCut(uint16_t value);

 private:
  template <class T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Change();
  }

  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  std::string hint_;
  int helpContext_ = 0;
  int imageIndex_ = -1;
  uint16_t shortCut_ = 0;
};

// A client's link to an action; the client derives from it to hear of changes.
class TBasicActionLink {
 public:
  TBasicActionLink() = default;
  virtual ~TBasicActionLink();
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;

  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* value);
  virtual bool Execute() { return action_ && action_->Execute(); }
  virtual bool Update() { return action_ && action_->Update(); }

 protected:
  friend class TBasicAction;
  // The action's state changed (also right after it is linked).
  virtual void ActionChanged() {}
  // The action is being destroyed; the link is already cleared.
  virtual void ActionFreed() {}

 private:
  TBasicAction* action_ = nullptr;
};

}  // namespace hv
