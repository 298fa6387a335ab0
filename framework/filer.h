#pragma once
// Reading stored layouts into components and writing components back.
// Published properties travel by their TPropInfo; everything else a class
// streams itself through DefineProperties. Portable.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/component.h"
#include "framework/layout.h"
#include "framework/properties.h"
#include "framework/stream.h"

namespace hv {

// What DefineProperties talks to: the reader hands a stored value to the read
// function of the property that it names; the writer stores what the write
// function yields when hasData is true.
class TFiler {
 public:
  using TValueReader = std::function<void(const TValue&)>;
  using TValueWriter = std::function<TValue()>;
  using TBinaryProc = std::function<void(TStream&)>;

  TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;
  virtual ~TFiler() = default;

  virtual void DefineProperty(std::string_view name, const TValueReader& read, const TValueWriter& write,
                              bool hasData) = 0;
  // The value is a byte block, written as hex; read gets a stream over it.
  virtual void DefineBinaryProperty(std::string_view name, const TBinaryProc& read, const TBinaryProc& write,
                                    bool hasData) = 0;

  TComponent* Root() const { return root_; }

 protected:
  TComponent* root_ = nullptr;
};

// Reads one root layout into an existing root component: the root's class
// must be the stored class or inherit from it; every component read is in the
// loading state while its properties are set in the order written; children
// are created through the class registry, owned by the root, parented to
// their enclosing block and bound to the root's published fields; links and
// handlers are bound by name at the end; then Loaded runs on every component
// read, root first. A failure raises EReadError "Line N: ..." after
// destroying every component this read created and clearing the loading
// states it set; values already set on the root itself stay.
class TReader : public TFiler {
 public:
  explicit TReader(std::string_view text) : text_(text) {}
  // The text is the rest of the stream.
  explicit TReader(TStream& stream);

  void ReadRootComponent(TComponent& root);

  void DefineProperty(std::string_view name, const TValueReader& read, const TValueWriter& write,
                      bool hasData) override;
  void DefineBinaryProperty(std::string_view name, const TBinaryProc& read, const TBinaryProc& write,
                            bool hasData) override;

 private:
  struct TFixup {
    TObject* instance;
    const TPropInfo* property;
    std::string target;
    std::string path;  // for messages: "Panel1.PopupMenu"
    int line;
  };

  void ReadComponent(TComponent& component, const TLayoutNode& node, int depth);
  TComponent& CreateChild(const TLayoutNode& node, TComponent& parent);
  void ReadProperty(TComponent& component, const TLayoutProperty& property);
  void SetValue(TPersistent& instance, const TPropInfo& info, const TLayoutProperty& property);
  void ReadCollection(TPersistent& instance, const TPropInfo& info, const TLayoutProperty& property);
  void Resolve();
  void Rollback();

  std::string text_;
  std::vector<TComponent*> created_;
  struct TLoaded {
    TComponent* component;
    int line;
  };
  std::vector<TLoaded> loaded_;  // root first, then in reading order
  std::vector<TFixup> fixups_;
  // The defined property being looked for while DefineProperties runs.
  std::string_view pendingName_;
  const TValue* pendingValue_ = nullptr;
  bool pendingDone_ = false;
};

// Writes a root component and everything its GetChildren lists, recursively:
// published properties of each class (bases first) that differ from their
// defaults, then the defined properties, then the nested blocks.
class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream) : stream_(&stream) {}

  void WriteRootComponent(TComponent& root);
  // The tree that WriteRootComponent puts into text.
  static TLayoutNode ToLayout(TComponent& root);

  void DefineProperty(std::string_view name, const TValueReader& read, const TValueWriter& write,
                      bool hasData) override;
  void DefineBinaryProperty(std::string_view name, const TBinaryProc& read, const TBinaryProc& write,
                            bool hasData) override;

 private:
  TWriter() = default;
  TLayoutNode WriteComponent(TComponent& component, int depth);
  void WriteProperties(TPersistent& instance, const std::string& prefix, int depth);
  std::string ReferenceName(const TComponent* target) const;

  TStream* stream_ = nullptr;
  std::vector<TLayoutProperty>* out_ = nullptr;  // where the current object's properties go
  std::string prefix_;                           // the current sub-object's path ("Font.")
};

// Text in, text out: the usual way to use the two.
void ReadLayout(std::string_view text, TComponent& root);
std::string WriteLayout(TComponent& root);

}  // namespace hv
