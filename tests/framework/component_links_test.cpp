#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/component.h"

namespace hv {
namespace {

class TLinkA : public TComponent {
  HV_CLASS_NO_PROPERTIES(TLinkA, TComponent)
 public:
  using TComponent::TComponent;
};

class TLinkB : public TComponent {
  HV_CLASS_NO_PROPERTIES(TLinkB, TComponent)
 public:
  using TComponent::TComponent;
  TComponent* parent = nullptr;
  void SetParentComponent(TComponent* value) override { parent = value; }
  TComponent* GetParentComponent() const override { return parent; }
  bool HasParent() const override { return true; }
};

class TLinkRoot : public TComponent {
  HV_CLASS_NO_PROPERTIES(TLinkRoot, TComponent)
 public:
  explicit TLinkRoot(TComponent* owner) : TComponent(owner) {
    PublishField("First", first);
    PublishField("Second", second);
  }
  ~TLinkRoot() override {
    Destroying();
    DestroyComponents();
  }
  TLinkA* first = nullptr;
  TLinkB* second = nullptr;
};

TEST(ComponentLinksTest, FieldsBindByClassAndClearOnRemoval) {
  TLinkRoot root(nullptr);
  auto* a = TComponent::Create<TLinkA>(&root);
  auto* b = TComponent::Create<TLinkB>(&root);
  const TComponent::TField* field = root.FindField("first");
  ASSERT_NE(field, nullptr);
  EXPECT_FALSE(field->bind(b)) << "a TLinkB is no TLinkA";
  EXPECT_EQ(root.first, nullptr);
  EXPECT_TRUE(field->bind(a));
  EXPECT_EQ(root.first, a);
  EXPECT_TRUE(root.FindField("Second")->bind(b));
  EXPECT_EQ(root.FindField("Third"), nullptr);

  a->Free();
  EXPECT_EQ(root.first, nullptr);
  EXPECT_EQ(root.second, b) << "only the removed component's field is cleared";
  TLinkRoot other(nullptr);
  other.InsertComponent(b);
  EXPECT_EQ(root.second, nullptr) << "moving to another owner clears the field too";
}

TEST(ComponentLinksTest, MethodsAreFoundByNameIgnoringCase) {
  TLinkRoot root(nullptr);
  int calls = 0;
  root.PublishMethod<void(TObject*)>("FormShow", [&](TObject*) { ++calls; });
  const TMethod* method = root.FindMethod("formshow");
  ASSERT_NE(method, nullptr);
  EXPECT_EQ(method->name, "FormShow");
  auto handler = std::any_cast<std::function<void(TObject*)>>(&method->handler);
  ASSERT_NE(handler, nullptr);
  (*handler)(nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(root.FindMethod("FormHide"), nullptr);
}

TEST(ComponentLinksTest, DefaultChildrenAreTheRootsComponentsWithoutParent) {
  TLinkRoot root(nullptr);
  auto* a = TComponent::Create<TLinkA>(&root);
  auto* b = TComponent::Create<TLinkB>(&root);
  auto* c = TComponent::Create<TLinkB>(&root);
  c->SetParentComponent(b);
  std::vector<TComponent*> listed;
  root.GetChildren([&](TComponent* child) { listed.push_back(child); }, &root);
  EXPECT_EQ(listed, (std::vector<TComponent*>{a, b}));
  listed.clear();
  b->GetChildren([&](TComponent* child) { listed.push_back(child); }, &root);
  EXPECT_TRUE(listed.empty()) << "only the root lists children by default";
}

}  // namespace
}  // namespace hv
