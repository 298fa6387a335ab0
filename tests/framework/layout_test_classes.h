#pragma once
// A small family of streamable components for the layout tests and the
// layout fuzz target: controls with a parent chain, a sub-object, a string
// list, links, events, and an engine-like component with a binary block.

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/classes.h"
#include "framework/collection.h"
#include "framework/component.h"
#include "framework/filer.h"
#include "framework/strings.h"

namespace hv::layouttest {

enum TTestAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TTestAnchor { akLeft, akTop, akRight, akBottom };
enum TTestFontStyle { fsBold, fsItalic, fsUnderline };

// Components note here when their Loaded runs, and count while they live.
inline std::vector<std::string> loadedLog;
inline int liveComponents = 0;

class TTestFont : public TPersistent {
  HV_CLASS(TTestFont, TPersistent)

 public:
  const std::string& Name() const { return name_; }
  void SetName(const std::string& value) { name_ = value; }
  int Size() const { return size_; }
  void SetSize(int value) { size_ = value; }
  TSet<TTestFontStyle> Style() const { return style_; }
  void SetStyle(TSet<TTestFontStyle> value) { style_ = value; }
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }

 private:
  std::string name_ = "Tahoma";
  int size_ = 8;
  TSet<TTestFontStyle> style_;
  TColor color_ = clWindowText;
};

inline void TTestFont::PublishProperties(TPropertyList& p) {
  p.String("Name", &TTestFont::Name, &TTestFont::SetName, std::string("Tahoma"));
  p.Integer("Size", &TTestFont::Size, &TTestFont::SetSize, 8);
  p.Set("Style", &TTestFont::Style, &TTestFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline"});
  p.Color("Color", &TTestFont::Color, &TTestFont::SetColor, clWindowText);
}

class TTestMenu : public TComponent {
  HV_CLASS(TTestMenu, TComponent)

 public:
  explicit TTestMenu(TComponent* owner) : TComponent(owner) { ++liveComponents; }
  ~TTestMenu() override { --liveComponents; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  void Loaded() override {
    TComponent::Loaded();
    loadedLog.push_back(Name());
  }

 private:
  bool autoPopup_ = true;
};

inline void TTestMenu::PublishProperties(TPropertyList& p) {
  p.Boolean("AutoPopup", &TTestMenu::AutoPopup, &TTestMenu::SetAutoPopup, true);
}

class TTestControl : public TComponent {
  HV_CLASS(TTestControl, TComponent)

 public:
  explicit TTestControl(TComponent* owner) : TComponent(owner) { ++liveComponents; }
  ~TTestControl() override {
    for (TTestControl* child : controls_) child->parent_ = nullptr;
    SetParentComponent(nullptr);
    --liveComponents;
  }

  int Left() const { return left_; }
  void SetLeft(int value) { left_ = value; }
  int Width() const { return width_; }
  void SetWidth(int value) { width_ = value; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) {
    caption_ = value;
    captionSetWhileLoading = IsLoading();
  }
  bool captionSetWhileLoading = false;
  TTestAlign Align() const { return align_; }
  void SetAlign(TTestAlign value) { align_ = value; }
  TSet<TTestAnchor> Anchors() const { return anchors_; }
  void SetAnchors(TSet<TTestAnchor> value) { anchors_ = value; }
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  double Ratio() const { return ratio_; }
  void SetRatio(double value) { ratio_ = value; }
  TTestFont* Font() const { return font_.get(); }
  TStringList* Items() const { return items_.get(); }
  TTestMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TTestMenu* value) {
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = value;
    if (value) value->FreeNotification(this);
  }
  TNotifyEvent OnClick;

  TTestControl* Parent() const { return parent_; }
  const std::vector<TTestControl*>& Controls() const { return controls_; }

  void SetParentComponent(TComponent* value) override {
    if (parent_) {
      auto& list = parent_->controls_;
      list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    parent_ = dynamic_cast<TTestControl*>(value);
    if (parent_) parent_->controls_.push_back(this);
  }
  TComponent* GetParentComponent() const override { return parent_; }
  bool HasParent() const override { return true; }
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override {
    TComponent::GetChildren(proc, root);
    for (TTestControl* child : controls_) proc(child);
  }
  void Loaded() override {
    TComponent::Loaded();
    loadedLog.push_back(Name());
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
  }

 private:
  int left_ = 0;
  int width_ = 0;
  std::string caption_;
  TTestAlign align_ = alNone;
  TSet<TTestAnchor> anchors_{akLeft, akTop};
  TColor color_ = clBtnFace;
  bool visible_ = true;
  double ratio_ = 0;
  std::unique_ptr<TTestFont> font_ = std::make_unique<TTestFont>();
  std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
  TTestMenu* popupMenu_ = nullptr;
  TTestControl* parent_ = nullptr;
  std::vector<TTestControl*> controls_;
};

inline void TTestControl::PublishProperties(TPropertyList& p) {
  p.Integer("Left", &TTestControl::Left, &TTestControl::SetLeft, 0);
  p.Integer("Width", &TTestControl::Width, &TTestControl::SetWidth);
  p.String("Caption", &TTestControl::Caption, &TTestControl::SetCaption);
  p.Enum("Align", &TTestControl::Align, &TTestControl::SetAlign,
         {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, std::optional<TTestAlign>(alNone));
  p.Set("Anchors", &TTestControl::Anchors, &TTestControl::SetAnchors, {"akLeft", "akTop", "akRight", "akBottom"},
        std::optional<TSet<TTestAnchor>>(TSet<TTestAnchor>{akLeft, akTop}));
  p.Color("Color", &TTestControl::Color, &TTestControl::SetColor, clBtnFace);
  p.Boolean("Visible", &TTestControl::Visible, &TTestControl::SetVisible, true);
  p.Float("Ratio", &TTestControl::Ratio, &TTestControl::SetRatio, 0.0);
  p.Object("Font", &TTestControl::Font);
  p.Strings("Items", &TTestControl::Items);
  p.Component("PopupMenu", &TTestControl::PopupMenu, &TTestControl::SetPopupMenu);
  p.Event("OnClick", &TTestControl::OnClick);
}

class TTestPanel : public TTestControl {
  HV_CLASS_NO_PROPERTIES(TTestPanel, TTestControl)

 public:
  using TTestControl::TTestControl;
};

class TTestButton : public TTestControl {
  HV_CLASS(TTestButton, TTestControl)

 public:
  using TTestControl::TTestControl;
  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }

 private:
  bool default_ = false;
};

inline void TTestButton::PublishProperties(TPropertyList& p) {
  p.Boolean("Default", &TTestButton::Default, &TTestButton::SetDefault, false);
}

// Stores the name of its style as a ThemeClass block: a 32-bit little-endian
// length and the name's bytes. A bad block is ignored, the name stays.
class TTestEngine : public TComponent {
  HV_CLASS(TTestEngine, TComponent)

 public:
  explicit TTestEngine(TComponent* owner) : TComponent(owner) { ++liveComponents; }
  ~TTestEngine() override { --liveComponents; }
  bool ColorAutoChanging() const { return colorAutoChanging_; }
  void SetColorAutoChanging(bool value) { colorAutoChanging_ = value; }
  int DeltaHue() const { return deltaHue_; }
  void SetDeltaHue(int value) { deltaHue_ = value; }
  std::string themeName = "No Theme";

  void DefineProperties(TFiler& filer) override {
    TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "ThemeClass", [this](TStream& stream) { ReadThemeClass(stream); },
        [this](TStream& stream) { WriteThemeClass(stream); }, true);
  }

 private:
  void ReadThemeClass(TStream& stream) {
    try {
      uint8_t length[4];
      stream.ReadBuffer(length, 4);
      int32_t n = static_cast<int32_t>(length[0] | length[1] << 8 | length[2] << 16 | uint32_t{length[3]} << 24);
      if (n < 0 || n > stream.Size()) throw EReadError("Stream read error");
      std::string name(static_cast<size_t>(n), '\0');
      stream.ReadBuffer(name.data(), name.size());
      themeName = name;
    } catch (const Exception&) {
    }
  }
  void WriteThemeClass(TStream& stream) {
    auto n = static_cast<uint32_t>(themeName.size());
    uint8_t length[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                         static_cast<uint8_t>(n >> 24)};
    stream.WriteBuffer(length, 4);
    stream.WriteBuffer(themeName.data(), themeName.size());
  }

  bool colorAutoChanging_ = true;
  int deltaHue_ = 0;
};

inline void TTestEngine::PublishProperties(TPropertyList& p) {
  p.Boolean("ColorAutoChanging", &TTestEngine::ColorAutoChanging, &TTestEngine::SetColorAutoChanging);
  p.Integer("DeltaHue", &TTestEngine::DeltaHue, &TTestEngine::SetDeltaHue);
}

// A bar whose sections are the items of a collection; a section may link to
// a menu of the same layout.
class TTestSection : public TPersistent {
  HV_CLASS(TTestSection, TPersistent)

 public:
  int Width() const { return width_; }
  void SetWidth(int value) { width_ = value; }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& value) { text_ = value; }
  TTestMenu* Menu() const { return menu_; }
  void SetMenu(TTestMenu* value) { menu_ = value; }

 private:
  int width_ = 50;
  std::string text_;
  TTestMenu* menu_ = nullptr;
};

inline void TTestSection::PublishProperties(TPropertyList& p) {
  p.Integer("Width", &TTestSection::Width, &TTestSection::SetWidth, 50);
  p.String("Text", &TTestSection::Text, &TTestSection::SetText);
  p.Component("Menu", &TTestSection::Menu, &TTestSection::SetMenu);
}

class TTestSections : public TCollection {
  HV_CLASS_NO_PROPERTIES(TTestSections, TCollection)

 public:
  int Count() const override { return static_cast<int>(items_.size()); }
  TPersistent* Item(int index) const override { return items_.at(static_cast<size_t>(index)).get(); }
  TPersistent* AddItem() override { return items_.emplace_back(std::make_unique<TTestSection>()).get(); }
  void Clear() override { items_.clear(); }
  void BeginUpdate() override { ++updates; }
  void EndUpdate() override { --updates; }
  TTestSection* Section(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  int updates = 0;

 private:
  std::vector<std::unique_ptr<TTestSection>> items_;
};

class TTestBar : public TTestControl {
  HV_CLASS(TTestBar, TTestControl)

 public:
  using TTestControl::TTestControl;
  TTestSections* Sections() const { return sections_.get(); }

 private:
  std::unique_ptr<TTestSections> sections_ = std::make_unique<TTestSections>();
};

inline void TTestBar::PublishProperties(TPropertyList& p) { p.Collection("Sections", &TTestBar::Sections); }

// The root: a form-like control with fields and handlers published by name.
class TTestForm : public TTestControl {
  HV_CLASS(TTestForm, TTestControl)

 public:
  explicit TTestForm(TComponent* owner) : TTestControl(owner) {
    PublishField("Panel1", Panel1);
    PublishField("Button1", Button1);
    PublishField("Menu1", Menu1);
    PublishMethod<void(TObject*)>("FormShow", [this](TObject* sender) { shown.push_back(sender); });
    PublishMethod<void(TObject*)>("ButtonClick", [this](TObject* sender) { clicked.push_back(sender); });
    PublishMethod<void(int)>("WrongSignature", [](int) {});
  }
  ~TTestForm() override {
    Destroying();
    DestroyComponents();
  }

  TNotifyEvent OnShow;
  TTestPanel* Panel1 = nullptr;
  TTestButton* Button1 = nullptr;
  TTestMenu* Menu1 = nullptr;
  std::vector<TObject*> shown;
  std::vector<TObject*> clicked;
};

inline void TTestForm::PublishProperties(TPropertyList& p) { p.Event("OnShow", &TTestForm::OnShow); }

inline void RegisterTestClasses() {
  RegisterClasses<TTestMenu, TTestControl, TTestPanel, TTestButton, TTestEngine, TTestForm, TTestBar>();
}

}  // namespace hv::layouttest
