#include "theme/frame/formoptions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/classes.h"
#include "framework/filer.h"
#include "framework/sysutils.h"

namespace hv {
namespace {

// Publishes every option object the way the form frame does.
class TOptionsHost : public TComponent {
  HV_CLASS(TOptionsHost, TComponent)

 public:
  explicit TOptionsHost(TComponent* owner) : TComponent(owner) {}

  TTeBlending* Blending() const { return blending_.get(); }
  TTeShadow* Shadow() const { return shadow_.get(); }
  TTeGravitation* Gravitation() const { return gravitation_.get(); }
  TTeDragging* Dragging() const { return dragging_.get(); }
  TTeAnimation* Animation() const { return animation_.get(); }
  TTePopupMenuOptions* MenuOptions() const { return menuOptions_.get(); }
  TTeFormOptions* FormOptions() const { return formOptions_.get(); }

 private:
  std::unique_ptr<TTeBlending> blending_ = std::make_unique<TTeBlending>();
  std::unique_ptr<TTeShadow> shadow_ = std::make_unique<TTeShadow>();
  std::unique_ptr<TTeGravitation> gravitation_ = std::make_unique<TTeGravitation>();
  std::unique_ptr<TTeDragging> dragging_ = std::make_unique<TTeDragging>();
  std::unique_ptr<TTeAnimation> animation_ = std::make_unique<TTeAnimation>();
  std::unique_ptr<TTePopupMenuOptions> menuOptions_ = std::make_unique<TTePopupMenuOptions>();
  std::unique_ptr<TTeFormOptions> formOptions_ = std::make_unique<TTeFormOptions>();
};

void TOptionsHost::PublishProperties(TPropertyList& p) {
  p.Object("Blending", &TOptionsHost::Blending);
  p.Object("Shadow", &TOptionsHost::Shadow);
  p.Object("Gravitation", &TOptionsHost::Gravitation);
  p.Object("Dragging", &TOptionsHost::Dragging);
  p.Object("Animation", &TOptionsHost::Animation);
  p.Object("MenuOptions", &TOptionsHost::MenuOptions);
  p.Object("FormOptions", &TOptionsHost::FormOptions);
}

TEST(FormOptions, DefaultsAreWhatAPlainWindowUses) {
  TOptionsHost host(nullptr);
  EXPECT_FALSE(host.Blending()->Enabled());
  EXPECT_EQ(host.Blending()->Value(), 150);
  EXPECT_FALSE(host.Shadow()->Enabled());
  EXPECT_EQ(host.Shadow()->Size(), 4);
  EXPECT_TRUE(host.Gravitation()->Enabled());
  EXPECT_EQ(host.Gravitation()->Size(), 20);
  EXPECT_TRUE(host.Dragging()->Sizeable());
  EXPECT_TRUE(host.Dragging()->Moveable());
  EXPECT_EQ(host.Dragging()->DragMode(), kfdmFullDrag);
  EXPECT_FALSE(host.Animation()->Enabled());
  EXPECT_EQ(host.Animation()->Time(), 400);
  EXPECT_EQ(host.Animation()->Resolution(), 1);
  EXPECT_EQ(host.Animation()->TileCount(), 1);
  EXPECT_EQ(host.Animation()->Effect(), keFade);
  EXPECT_EQ(host.Animation()->Direction(), kdNone);
  EXPECT_EQ(host.MenuOptions()->Blending()->Value(), 150);
  EXPECT_EQ(host.FormOptions()->Animation()->Time(), 400);
  // Defaults are not written.
  host.SetName("Host");
  EXPECT_EQ(WriteLayout(host), "object Host: TOptionsHost\nend\n");
}

TEST(FormOptions, OutOfRangeValuesAreClamped) {
  TTeBlending blending;
  for (auto [in, out] : {std::pair{-1, 0}, {0, 0}, {255, 255}, {256, 255}, {-100000, 0}}) {
    blending.SetValue(in);
    EXPECT_EQ(blending.Value(), out) << in;
  }

  TTeShadow shadow;
  shadow.SetSize(25);
  EXPECT_EQ(shadow.Size(), 20);
  shadow.SetEnabled(true);
  EXPECT_TRUE(shadow.Enabled());
  shadow.SetSize(0);  // kept, but the shadow goes off
  EXPECT_EQ(shadow.Size(), 0);
  EXPECT_FALSE(shadow.Enabled());
  shadow.SetEnabled(true);  // and stays off while it has no width
  EXPECT_FALSE(shadow.Enabled());
  shadow.SetSize(-3);
  EXPECT_EQ(shadow.Size(), -3);
  shadow.SetSize(7);
  EXPECT_FALSE(shadow.Enabled());
  shadow.SetEnabled(true);
  EXPECT_TRUE(shadow.Enabled());

  TTeGravitation gravitation;
  for (auto [in, out] : {std::pair{0, 1}, {1, 1}, {50, 50}, {51, 50}, {-7, 1}}) {
    gravitation.SetSize(in);
    EXPECT_EQ(gravitation.Size(), out) << in;
  }

  TTeAnimation animation;
  animation.SetTime(49);
  EXPECT_EQ(animation.Time(), 50);
  animation.SetTime(9001);
  EXPECT_EQ(animation.Time(), 9000);
  animation.SetResolution(0);
  EXPECT_EQ(animation.Resolution(), 1);
  animation.SetResolution(11);
  EXPECT_EQ(animation.Resolution(), 10);
  animation.SetTileCount(0);
  EXPECT_EQ(animation.TileCount(), 1);
  animation.SetTileCount(21);
  EXPECT_EQ(animation.TileCount(), 20);
}

TEST(FormOptions, ChangesOfBlendingAndShadowAreAnnounced) {
  int blendingChanges = 0, shadowChanges = 0;
  TTeBlending blending;
  blending.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &blending);
    ++blendingChanges;
  };
  blending.SetEnabled(false);
  blending.SetValue(150);
  blending.SetValue(300);
  blending.SetValue(255);  // the same after clamping
  EXPECT_EQ(blendingChanges, 1);
  blending.SetEnabled(true);
  EXPECT_EQ(blendingChanges, 2);

  TTeShadow shadow;
  shadow.OnChange = [&](TObject*) { ++shadowChanges; };
  shadow.SetSize(4);
  shadow.SetEnabled(true);
  shadow.SetSize(30);
  shadow.SetSize(20);
  EXPECT_EQ(shadowChanges, 2);

  // Copying always announces, and never takes the source's listener along.
  TTeBlending source;
  int sourceChanges = 0;
  source.OnChange = [&](TObject*) { ++sourceChanges; };
  source.SetValue(10);
  source.SetReserved(5);
  sourceChanges = 0;
  blending.Assign(&source);
  EXPECT_EQ(blendingChanges, 3);
  EXPECT_EQ(sourceChanges, 0);
  EXPECT_EQ(blending.Value(), 10);
  EXPECT_FALSE(blending.Enabled());
  EXPECT_EQ(blending.Reserved(), 5);
  blending.SetValue(11);
  EXPECT_EQ(sourceChanges, 0);
}

TEST(FormOptions, AssignCopiesEveryFieldFromItsOwnClassOnly) {
  TTeShadow shadow;
  shadow.SetEnabled(true);
  shadow.SetSize(9);
  TTeShadow shadowCopy;
  shadowCopy.Assign(&shadow);
  EXPECT_TRUE(shadowCopy.Enabled());
  EXPECT_EQ(shadowCopy.Size(), 9);

  TTeGravitation gravitation;
  gravitation.SetEnabled(false);
  gravitation.SetSize(9);
  gravitation.SetReserved(3);
  TTeGravitation gravitationCopy;
  gravitationCopy.Assign(&gravitation);
  EXPECT_FALSE(gravitationCopy.Enabled());
  EXPECT_EQ(gravitationCopy.Size(), 9);
  EXPECT_EQ(gravitationCopy.Reserved(), 3);

  TTeDragging dragging;
  dragging.SetSizeable(false);
  dragging.SetMoveable(false);
  dragging.SetDragMode(kfdmBorder);
  TTeDragging draggingCopy;
  draggingCopy.Assign(&dragging);
  EXPECT_FALSE(draggingCopy.Sizeable());
  EXPECT_FALSE(draggingCopy.Moveable());
  EXPECT_EQ(draggingCopy.DragMode(), kfdmBorder);

  TTeAnimation animation;
  animation.SetEnabled(true);
  animation.SetTime(1000);
  animation.SetResolution(3);
  animation.SetTileCount(4);
  animation.SetEffect(keSmoothRectOut);
  animation.SetDirection(kdRotate270);
  TTeAnimation animationCopy;
  animationCopy.Assign(&animation);
  EXPECT_TRUE(animationCopy.Enabled());
  EXPECT_EQ(animationCopy.Time(), 1000);
  EXPECT_EQ(animationCopy.Resolution(), 3);
  EXPECT_EQ(animationCopy.TileCount(), 4);
  EXPECT_EQ(animationCopy.Effect(), keSmoothRectOut);
  EXPECT_EQ(animationCopy.Direction(), kdRotate270);

  EXPECT_THROW(animationCopy.Assign(&shadow), EConvertError);
  EXPECT_THROW(shadowCopy.Assign(nullptr), EConvertError);
  EXPECT_EQ(animationCopy.Time(), 1000);

  // The groups: values are copied into the objects they own, and a change
  // is announced for each write and for each copy.
  TTePopupMenuOptions menu;
  int changes = 0;
  menu.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &menu);
    ++changes;
  };
  TTeBlending* owned = menu.Blending();
  TTeBlending blending;
  blending.SetEnabled(true);
  blending.SetValue(77);
  menu.SetBlending(&blending);
  menu.SetShadow(&shadow);
  menu.SetAnimation(&animation);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(menu.Blending(), owned);
  EXPECT_EQ(menu.Blending()->Value(), 77);
  EXPECT_EQ(menu.Shadow()->Size(), 9);
  EXPECT_EQ(menu.Animation()->Effect(), keSmoothRectOut);

  TTePopupMenuOptions other;
  other.Assign(&menu);
  EXPECT_TRUE(other.Blending()->Enabled());
  EXPECT_EQ(other.Shadow()->Size(), 9);
  EXPECT_EQ(other.Animation()->TileCount(), 4);
  menu.Assign(&other);
  EXPECT_EQ(changes, 4);
  TTeFormOptions form;
  EXPECT_THROW(form.Assign(&menu), EConvertError);
  EXPECT_FALSE(form.Blending()->Enabled());
}

TEST(FormOptions, EveryOptionTravelsThroughAStoredLayout) {
  TOptionsHost host(nullptr);
  host.SetName("Host");
  host.Blending()->SetEnabled(true);
  host.Blending()->SetValue(200);
  host.Shadow()->SetEnabled(true);
  host.Shadow()->SetSize(12);
  host.Gravitation()->SetEnabled(false);
  host.Gravitation()->SetSize(9);
  host.Dragging()->SetSizeable(false);
  host.Dragging()->SetDragMode(kfdmBorder);
  host.Animation()->SetEnabled(true);
  host.Animation()->SetTime(1500);
  host.Animation()->SetResolution(2);
  host.Animation()->SetTileCount(3);
  host.Animation()->SetEffect(keDiamondIn);
  host.Animation()->SetDirection(kdRotate90);
  host.MenuOptions()->Blending()->SetValue(90);
  host.MenuOptions()->Animation()->SetEffect(keRandomSelect);
  host.FormOptions()->Shadow()->SetSize(6);

  std::string text = WriteLayout(host);
  EXPECT_NE(text.find("  Blending.Value = 200\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  Animation.Effect = keDiamondIn\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  Dragging.DragMode = kfdmBorder\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  MenuOptions.Blending.Value = 90\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("Moveable"), std::string::npos) << "defaults stay out: " << text;

  TOptionsHost read(nullptr);
  ReadLayout(text, read);
  EXPECT_TRUE(read.Blending()->Enabled());
  EXPECT_EQ(read.Blending()->Value(), 200);
  EXPECT_TRUE(read.Shadow()->Enabled());
  EXPECT_EQ(read.Shadow()->Size(), 12);
  EXPECT_FALSE(read.Gravitation()->Enabled());
  EXPECT_EQ(read.Gravitation()->Size(), 9);
  EXPECT_FALSE(read.Dragging()->Sizeable());
  EXPECT_TRUE(read.Dragging()->Moveable());
  EXPECT_EQ(read.Dragging()->DragMode(), kfdmBorder);
  EXPECT_TRUE(read.Animation()->Enabled());
  EXPECT_EQ(read.Animation()->Time(), 1500);
  EXPECT_EQ(read.Animation()->Resolution(), 2);
  EXPECT_EQ(read.Animation()->TileCount(), 3);
  EXPECT_EQ(read.Animation()->Effect(), keDiamondIn);
  EXPECT_EQ(read.Animation()->Direction(), kdRotate90);
  EXPECT_EQ(read.MenuOptions()->Blending()->Value(), 90);
  EXPECT_EQ(read.MenuOptions()->Animation()->Effect(), keRandomSelect);
  EXPECT_EQ(read.FormOptions()->Shadow()->Size(), 6);
  EXPECT_EQ(WriteLayout(read), text);

  // Hand-written values out of range are clamped as they are read; unknown
  // effect names are refused.
  TOptionsHost clamped(nullptr);
  ReadLayout("object Host: TOptionsHost\n  Blending.Value = 999\n  Shadow.Size = 25\n  Animation.Time = 1\nend\n",
             clamped);
  EXPECT_EQ(clamped.Blending()->Value(), 255);
  EXPECT_EQ(clamped.Shadow()->Size(), 20);
  EXPECT_EQ(clamped.Animation()->Time(), 50);
  EXPECT_THROW(ReadLayout("object Host: TOptionsHost\n  Animation.Effect = keSpin\nend\n", clamped), EReadError);
}

TEST(FormOptions, OptionGroupsAreRegisteredForStreaming) {
  RegisterFormOptionClasses();
  EXPECT_EQ(GetClass("TTeFormOptions"), &TTeFormOptions::StaticClassInfo());
  EXPECT_EQ(GetClass("TTePopupMenuOptions"), &TTePopupMenuOptions::StaticClassInfo());
}

TEST(Gravitation, SnapsToTheNearerEdgesOfTheWorkAreaCloserThanSize) {
  TTeGravitation gravitation;  // Size 20
  const TRect work = Rect(0, 0, 1280, 994);
  auto at = [](int left, int top) { return Bounds(left, top, 300, 200); };

  EXPECT_EQ(gravitation.SnapRect(at(19, 400), work, 0), at(0, 400));
  EXPECT_EQ(gravitation.SnapRect(at(20, 400), work, 0), at(20, 400)) << "exactly Size away: no snap";
  EXPECT_EQ(gravitation.SnapRect(at(-19, 400), work, 0), at(0, 400)) << "a little beyond the edge snaps back";
  EXPECT_EQ(gravitation.SnapRect(at(1280 - 300 - 19, 400), work, 0), at(980, 400));
  EXPECT_EQ(gravitation.SnapRect(at(1280 - 300 + 5, 400), work, 0), at(980, 400));
  EXPECT_EQ(gravitation.SnapRect(at(500, 12), work, 0), at(500, 0));
  EXPECT_EQ(gravitation.SnapRect(at(500, 994 - 200 - 19), work, 0), at(500, 794));
  EXPECT_EQ(gravitation.SnapRect(at(10, 10), work, 0), at(0, 0)) << "both directions at once";
  EXPECT_EQ(gravitation.SnapRect(at(500, 400), work, 0), at(500, 400));

  // The left edge wins over the right one in an area narrower than twice the
  // distance; the top over the bottom.
  const TRect narrow = Rect(100, 100, 420, 310);
  EXPECT_EQ(gravitation.SnapRect(at(110, 105), narrow, 0), at(100, 100));

  // The shadow is no part of the window's edge.
  EXPECT_EQ(gravitation.SnapRect(at(1280 - 300 + 4, 994 - 200 + 4), work, 4), at(984, 798));
  EXPECT_EQ(gravitation.SnapRect(at(1280 - 300 - 10, 400), work, 4), at(984, 400));

  // A work area that does not start at the origin (a second monitor, a
  // parent's client area).
  const TRect offset = Rect(-1024, 50, 0, 818);
  EXPECT_EQ(gravitation.SnapRect(at(-1010, 60), offset, 0), at(-1024, 50));

  gravitation.SetSize(1);
  EXPECT_EQ(gravitation.SnapRect(at(1, 1), work, 0), at(1, 1));
  EXPECT_EQ(gravitation.SnapRect(at(0, 0), work, 0), at(0, 0));
  gravitation.SetSize(20);
  gravitation.SetEnabled(false);
  EXPECT_EQ(gravitation.SnapRect(at(5, 5), work, 0), at(5, 5));
}

}  // namespace
}  // namespace hv
