#pragma once
// A menu item that measures and paints through the style of its theme
// engine, and opens its children in themed popup windows.

#include "theme/core/themeitems.h"

namespace hv {

class TTeTheme;
class TTeThemeEngine;

class TTeThemeItem : public TTeCustomItem {
  HV_CLASS(TTeThemeItem, TTeCustomItem)

 public:
  explicit TTeThemeItem(TComponent* owner) : TTeCustomItem(owner) {}
  ~TTeThemeItem() override;

  TTeThemeEngine* ThemeEngine() const { return themeEngine_; }
  // Links this item and every item below it.
  void SetThemeEngine(TTeThemeEngine* value);
  // The engine's style when it paints, else none.
  TTeTheme* Theme() const;

  const TClassInfo* CreatePopupWindow() const override;
  void Measure(TCanvas& canvas, TTeItemView& view, int& height, int& width) override;
  void PaintItem(TCanvas& canvas, TTeItemView& view, bool active, bool hot, const TRect& rect) override;
  void PaintArrow(TCanvas& canvas, TTeItemView& view, bool hot, int kind, const TRect& rect) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TTeThemeEngine* themeEngine_ = nullptr;
};

}  // namespace hv
