#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/sysutils.h"

namespace hv {
namespace {

// Records what it is told, and says when it dies.
class TProbe : public TComponent {
  HV_CLASS_NO_PROPERTIES(TProbe, TComponent)

 public:
  TProbe(TComponent* owner, std::vector<std::string>* log = nullptr, std::string tag = {})
      : TComponent(owner), log_(log), tag_(std::move(tag)) {}
  ~TProbe() override {
    if (log_) log_->push_back("destroy " + tag_);
  }

  TComponent* link = nullptr;
  std::vector<std::pair<TComponent*, TOperation>> told;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    told.emplace_back(component, operation);
    if (operation == TOperation::opRemove && component == link) link = nullptr;
  }

 private:
  std::vector<std::string>* log_;
  std::string tag_;
};

TEST(ComponentTest, OwnedComponentsAreDestroyedLastFirst) {
  std::vector<std::string> log;
  {
    auto owner = std::make_unique<TProbe>(nullptr, &log, "owner");
    TComponent::Create<TProbe>(owner.get(), &log, "a");
    TComponent::Create<TProbe>(owner.get(), &log, "b");
    TComponent::Create<TProbe>(owner.get(), &log, "c");
    EXPECT_EQ(owner->ComponentCount(), 3);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"destroy owner", "destroy c", "destroy b", "destroy a"}));
}

TEST(ComponentTest, FreeRemovesFromOwnerAndNotifiesSiblings) {
  auto owner = std::make_unique<TProbe>(nullptr);
  auto* a = TComponent::Create<TProbe>(owner.get());
  auto* b = TComponent::Create<TProbe>(owner.get());
  a->link = b;
  b->Free();
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(a->link, nullptr) << "the owner passes the removal on to every owned component";
  ASSERT_FALSE(owner->told.empty());
  EXPECT_EQ(owner->told.back().second, TOperation::opRemove);
}

TEST(ComponentTest, FreeNotificationCrossesOwners) {
  auto first = std::make_unique<TProbe>(nullptr);
  auto second = std::make_unique<TProbe>(nullptr);
  first->link = second.get();
  first->FreeNotification(second.get());
  second.reset();
  EXPECT_EQ(first->link, nullptr);
  // The link is two-way: destroying the other side first tells this one too.
  auto third = std::make_unique<TProbe>(nullptr);
  third->FreeNotification(first.get());
  third->link = first.get();
  first.reset();
  EXPECT_EQ(third->link, nullptr);
}

TEST(ComponentTest, RemovedFreeNotificationIsNotDelivered) {
  auto first = std::make_unique<TProbe>(nullptr);
  auto second = std::make_unique<TProbe>(nullptr);
  first->FreeNotification(second.get());
  first->RemoveFreeNotification(second.get());
  first->told.clear();
  second.reset();
  EXPECT_TRUE(first->told.empty());
}

TEST(ComponentTest, InsertNotifiesOwnerAndMovesBetweenOwners) {
  auto one = std::make_unique<TProbe>(nullptr);
  auto two = std::make_unique<TProbe>(nullptr);
  auto* child = TComponent::Create<TProbe>(one.get());
  ASSERT_EQ(one->told.size(), 1u);
  EXPECT_EQ(one->told[0], std::make_pair(static_cast<TComponent*>(child), TOperation::opInsert));
  two->InsertComponent(child);
  EXPECT_EQ(one->ComponentCount(), 0);
  EXPECT_EQ(two->ComponentCount(), 1);
  EXPECT_EQ(child->Owner(), two.get());
  EXPECT_EQ(child->ComponentIndex(), 0);
}

TEST(ComponentTest, NamesAreUniqueAmongSiblingsAndValid) {
  auto owner = std::make_unique<TProbe>(nullptr);
  auto* a = TComponent::Create<TProbe>(owner.get());
  auto* b = TComponent::Create<TProbe>(owner.get());
  a->SetName("Button1");
  EXPECT_EQ(owner->FindComponent("button1"), a);
  EXPECT_THROW(b->SetName("BUTTON1"), EComponentError);
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  b->SetName("Button2");
  a->SetName("button1");  // a change of case of its own name is fine
  EXPECT_EQ(a->Name(), "button1");
  EXPECT_EQ(owner->FindComponent(""), nullptr);
}

TEST(ComponentTest, LoadedClearsLoadingState) {
  TProbe probe(nullptr);
  probe.BeginLoading();
  EXPECT_TRUE(probe.IsLoading());
  probe.Loaded();
  EXPECT_FALSE(probe.IsLoading());
}

TEST(PersistentTest, DefaultAssignRaisesConversionError) {
  TProbe a(nullptr), b(nullptr);
  try {
    a.Assign(&b);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TProbe to a TProbe");
  }
  try {
    a.Assign(nullptr);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TProbe");
  }
}

TEST(SysUtilsTest, TrimAndIntegers) {
  EXPECT_EQ(Trim(std::string_view("\t\x01 a b \x1f\x20")), "a b");
  EXPECT_EQ(Trim(std::string_view("\x80x\x80")), "\x80x\x80") << "bytes above 0x20 stay";
  EXPECT_EQ(StrToInt("-42"), -42);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  EXPECT_THROW(StrToInt("4294967296"), EConvertError);
  EXPECT_THROW(StrToInt("12a"), EConvertError);
  EXPECT_THROW(StrToInt(""), EConvertError);
}

TEST(SysUtilsTest, Utf8Utf16RoundTrip) {
  std::string text = "A\xC3\xA9\xE9\xA6\x96\xF0\x9F\x98\x80";  // A, é, 首, an emoji
  std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, (std::u16string{u'A', 0xE9, 0x9996, 0xD83D, 0xDE00}));
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  EXPECT_EQ(Utf8ToUtf16("\xE9\xA6"), std::u16string(1, 0xFFFD)) << "a cut sequence becomes one replacement";
  EXPECT_EQ(Utf8ToUtf16("\xFF" "a"), (std::u16string{0xFFFD, u'a'}));
}

}  // namespace
}  // namespace hv
