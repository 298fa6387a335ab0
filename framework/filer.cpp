#include "framework/filer.h"

#include <memory>

#include "framework/classes.h"
#include "framework/collection.h"
#include "framework/sysutils.h"

namespace hv {

namespace {

// An error that already names its line; wrapping passes it through as it is.
class ELayoutError : public EReadError {
 public:
  using EReadError::EReadError;
  std::string_view ClassName() const override { return "EReadError"; }
};

// Runs f and gives whatever it raises the line it happened on.
template <class F>
void AtLine(int line, F&& f) {
  try {
    f();
  } catch (const ELayoutError&) {
    throw;
  } catch (const Exception& e) {
    throw ELayoutError(Format("Line %d: %s", line, e.Message().c_str()));
  } catch (const std::exception& e) {
    throw ELayoutError(Format("Line %d: %s", line, e.what()));
  }
}

[[noreturn]] void NoProperty(const std::string& name) {
  throw EReadError(Format("Property %s does not exist", name.c_str()));
}

// Sub-objects reached through properties; deeper paths are refused, so that an
// object that hands out itself cannot send the writer round in circles.
constexpr int kMaxSubObjectDepth = 8;

}  // namespace

// ---------------------------------------------------------------- reading

TReader::TReader(TStream& stream) {
  std::vector<uint8_t> bytes = stream.ReadRest(kMaxLayoutSize);
  text_.assign(bytes.begin(), bytes.end());
}

void TReader::ReadRootComponent(TComponent& root) {
  TLayoutNode node = ParseLayout(text_);
  root_ = &root;
  created_.clear();
  loaded_.clear();
  fixups_.clear();
  try {
    AtLine(node.line, [&] {
      bool matches = false;
      for (const TClassInfo* info = &root.ClassInfo(); info && !matches; info = info->Parent())
        matches = SameText(info->Name(), node.className);
      if (!matches)
        throw EReadError(Format("Cannot read a %s into a %s", node.className.c_str(), std::string(root.ClassName()).c_str()));
      root.BeginLoading();
      loaded_.push_back({&root, node.line});
      if (!node.name.empty()) root.SetName(node.name);
    });
    ReadComponent(root, node, 1);
    Resolve();
    for (size_t i = 0; i < loaded_.size(); ++i) {
      TComponent* component = loaded_[i].component;
      // A setter or an earlier Loaded may have freed a component of this read.
      bool alive = component == root_;
      for (int j = 0; !alive && j < root_->ComponentCount(); ++j) alive = root_->Components(j) == component;
      if (alive) AtLine(loaded_[i].line, [&] { component->Loaded(); });
    }
  } catch (...) {
    Rollback();
    throw;
  }
  created_.clear();
  loaded_.clear();
}

void TReader::ReadComponent(TComponent& component, const TLayoutNode& node, int depth) {
  if (depth > kMaxLayoutDepth) throw ELayoutError(Format("Line %d: Components nested too deeply", node.line));
  for (const auto& property : node.properties) AtLine(property.line, [&] { ReadProperty(component, property); });
  for (const auto& childNode : node.children) {
    TComponent* child = nullptr;
    AtLine(childNode.line, [&] { child = &CreateChild(childNode, component); });
    ReadComponent(*child, childNode, depth + 1);
  }
  component.EndReading();
}

TComponent& TReader::CreateChild(const TLayoutNode& node, TComponent& parent) {
  const TClassInfo& info = FindClass(node.className);
  std::unique_ptr<TComponent> made = info.GetFactory() ? info.GetFactory()(root_) : nullptr;
  if (!made) throw EReadError(Format("Cannot create a %s", node.className.c_str()));
  if (made->Owner() != root_) root_->InsertComponent(made.get());
  TComponent* child = made.release();
  created_.push_back(child);
  child->BeginLoading();
  loaded_.push_back({child, node.line});
  if (!node.name.empty()) {
    child->SetName(node.name);
    if (const TComponent::TField* field = root_->FindField(node.name); field && !field->bind(child))
      throw EReadError(Format("Invalid class %s for field %s", node.className.c_str(), node.name.c_str()));
  }
  child->SetParentComponent(&parent);
  // A control whose block stands inside a component that cannot hold it (a
  // menu, say) would come loose, be written elsewhere and read back in
  // another place: such a layout is refused.
  if (child->HasParent() && !child->GetParentComponent())
    throw EReadError(Format("A %s cannot stand inside a %s", node.className.c_str(),
                            std::string(parent.ClassName()).c_str()));
  return *child;
}

void TReader::ReadProperty(TComponent& component, const TLayoutProperty& property) {
  TPersistent* instance = &component;
  std::string_view path = property.name;
  for (size_t dot; (dot = path.find('.')) != std::string_view::npos; path.remove_prefix(dot + 1)) {
    const TPropInfo* info = instance->ClassInfo().FindProperty(path.substr(0, dot));
    if (!info || (info->kind != TPropKind::Object && info->kind != TPropKind::Strings) || !info->getObject)
      NoProperty(property.name);
    instance = info->getObject(*instance);
    if (!instance) NoProperty(property.name);
  }
  if (const TPropInfo* info = instance->ClassInfo().FindProperty(path)) {
    SetValue(*instance, *info, property);
    return;
  }
  std::string_view savedName = pendingName_;
  const TValue* savedValue = pendingValue_;
  bool savedDone = pendingDone_;
  pendingName_ = path;
  pendingValue_ = &property.value;
  pendingDone_ = false;
  struct Restore {
    TReader& reader;
    std::string_view name;
    const TValue* value;
    bool done;
    ~Restore() {
      reader.pendingName_ = name;
      reader.pendingValue_ = value;
      reader.pendingDone_ = done;
    }
  } restore{*this, savedName, savedValue, savedDone};
  instance->DefineProperties(*this);
  if (!pendingDone_) NoProperty(property.name);
}

void TReader::SetValue(TPersistent& instance, const TPropInfo& info, const TLayoutProperty& property) {
  switch (info.kind) {
    case TPropKind::Component:
    case TPropKind::Event: {
      auto ident = std::get_if<TIdent>(&property.value);
      if (!ident) InvalidPropertyValue(info.name);
      if (info.kind == TPropKind::Component && SameText(ident->name, "nil")) {
        info.setComponent(instance, nullptr);
        return;
      }
      // Targets may stand further down the layout: bound once all is read.
      fixups_.push_back(TFixup{&instance, &info, ident->name, property.name, property.line});
      return;
    }
    case TPropKind::Collection:
      ReadCollection(instance, info, property);
      return;
    case TPropKind::Object:
    case TPropKind::Strings:
      InvalidPropertyValue(info.name);
    default:
      if (!info.set) InvalidPropertyValue(info.name);
      info.set(instance, property.value);
  }
}

void TReader::ReadCollection(TPersistent& instance, const TPropInfo& info, const TLayoutProperty& property) {
  auto value = std::get_if<TCollectionValue>(&property.value);
  auto collection = dynamic_cast<TCollection*>(info.getObject ? info.getObject(instance) : nullptr);
  if (!value || !collection) InvalidPropertyValue(info.name);
  collection->BeginUpdate();
  struct EndUpdate {
    TCollection& collection;
    ~EndUpdate() { collection.EndUpdate(); }
  } endUpdate{*collection};
  // Links still waiting for items about to go would point at freed objects.
  std::erase_if(fixups_, [&](const TFixup& fixup) {
    for (int i = 0; i < collection->Count(); ++i)
      if (fixup.instance == collection->Item(i)) return true;
    return false;
  });
  collection->Clear();
  for (const auto& item : value->items) {
    TPersistent* made = collection->AddItem();
    for (const auto& itemProperty : item.properties) {
      AtLine(itemProperty.line, [&] {
        const TPropInfo* itemInfo = made->ClassInfo().FindProperty(itemProperty.name);
        if (!itemInfo) NoProperty(property.name + "." + itemProperty.name);
        SetValue(*made, *itemInfo, itemProperty);
      });
    }
  }
}

void TReader::Resolve() {
  // Every name is looked up before anything is bound, so that a missing one
  // leaves no link into components the rollback is about to destroy.
  std::vector<TComponent*> targets;
  std::vector<const TMethod*> methods;
  for (const auto& fixup : fixups_) {
    TComponent* target = nullptr;
    const TMethod* method = nullptr;
    if (fixup.property->kind == TPropKind::Component) {
      if (!root_->Name().empty() && SameText(fixup.target, root_->Name())) target = root_;
      else target = root_->FindComponent(fixup.target);
      if (!target)
        throw ELayoutError(
            Format("Line %d: Component %s not found for %s", fixup.line, fixup.target.c_str(), fixup.path.c_str()));
    } else {
      method = root_->FindMethod(fixup.target);
      if (!method)
        throw ELayoutError(
            Format("Line %d: Method %s not found for %s", fixup.line, fixup.target.c_str(), fixup.path.c_str()));
    }
    targets.push_back(target);
    methods.push_back(method);
  }
  for (size_t i = 0; i < fixups_.size(); ++i) {
    const TFixup& fixup = fixups_[i];
    AtLine(fixup.line, [&] {
      if (targets[i]) {
        fixup.property->setComponent(*fixup.instance, targets[i]);
      } else {
        // The handler keeps the name it was found under, as the layout wrote it.
        TMethod named{fixup.target, methods[i]->handler};
        fixup.property->setEvent(*fixup.instance, named);
      }
    });
  }
  fixups_.clear();
}

void TReader::Rollback() {
  for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
    // Only what is still ours: a setter may have freed or moved a component.
    for (int i = root_->ComponentCount(); i-- > 0;) {
      if (root_->Components(i) == *it) {
        (*it)->Free();
        break;
      }
    }
  }
  root_->ClearLoadingState();
  created_.clear();
  loaded_.clear();
  fixups_.clear();
}

void TReader::DefineProperty(std::string_view name, const TValueReader& read, const TValueWriter&, bool) {
  if (pendingDone_ || !pendingValue_ || !SameText(name, pendingName_)) return;
  pendingDone_ = true;
  if (read) read(*pendingValue_);
}

void TReader::DefineBinaryProperty(std::string_view name, const TBinaryProc& read, const TBinaryProc&, bool) {
  if (pendingDone_ || !pendingValue_ || !SameText(name, pendingName_)) return;
  pendingDone_ = true;
  auto binary = std::get_if<TBinary>(pendingValue_);
  if (!binary) InvalidPropertyValue(name);
  TMemoryStream stream(binary->bytes);
  if (read) read(stream);
}

// ---------------------------------------------------------------- writing

void TWriter::WriteRootComponent(TComponent& root) {
  std::string text = FormatLayout(ToLayout(root));
  stream_->WriteBuffer(text.data(), text.size());
}

TLayoutNode TWriter::ToLayout(TComponent& root) {
  TWriter writer;
  writer.root_ = &root;
  return writer.WriteComponent(root, 1);
}

TLayoutNode TWriter::WriteComponent(TComponent& component, int depth) {
  if (depth > kMaxLayoutDepth) throw EWriteError("Components nested too deeply");
  TLayoutNode node;
  node.className = std::string(component.ClassName());
  node.name = component.Name();
  out_ = &node.properties;
  WriteProperties(component, std::string(), 0);
  out_ = nullptr;
  component.GetChildren(
      [&](TComponent* child) {
        if (child) node.children.push_back(WriteComponent(*child, depth + 1));
      },
      root_);
  return node;
}

void TWriter::WriteProperties(TPersistent& instance, const std::string& prefix, int depth) {
  if (depth > kMaxSubObjectDepth) throw EWriteError("Sub-objects nested too deeply at " + prefix);
  bool component = depth == 0 && dynamic_cast<TComponent*>(&instance) != nullptr;
  for (const TPropInfo* info : instance.ClassInfo().AllProperties()) {
    // A component's name heads its block.
    if (component && SameText(info->name, "Name")) continue;
    std::string name = prefix + info->name;
    switch (info->kind) {
      case TPropKind::Object:
      case TPropKind::Strings:
        if (info->stored && !info->stored(instance)) break;
        if (TPersistent* sub = info->getObject ? info->getObject(instance) : nullptr)
          WriteProperties(*sub, name + ".", depth + 1);
        break;
      case TPropKind::Collection: {
        if (info->IsDefault(instance)) break;
        auto collection = dynamic_cast<TCollection*>(info->getObject(instance));
        TCollectionValue value;
        std::vector<TLayoutProperty>* saved = out_;
        for (int i = 0; i < collection->Count(); ++i) {
          TCollectionItemValue item;
          out_ = &item.properties;
          WriteProperties(*collection->Item(i), std::string(), depth + 1);
          value.items.push_back(std::move(item));
        }
        out_ = saved;
        out_->push_back(TLayoutProperty{name, std::move(value)});
        break;
      }
      case TPropKind::Component: {
        std::string target = ReferenceName(info->getComponent(instance));
        if (!target.empty()) out_->push_back(TLayoutProperty{name, TIdent{target}});
        break;
      }
      case TPropKind::Event: {
        std::string handler = info->getEventName(instance);
        if (!handler.empty()) out_->push_back(TLayoutProperty{name, TIdent{handler}});
        break;
      }
      default: {
        if (!info->get || info->IsDefault(instance)) break;
        TValue value = info->get(instance);
        if (auto color = std::get_if<int64_t>(&value); color && info->kind == TPropKind::Color)
          if (auto ident = ColorToIdent(static_cast<TColor>(*color))) value = TIdent{std::string(*ident)};
        if (auto ident = std::get_if<TIdent>(&value); ident && ident->name.empty())
          throw EWriteError(Format("Invalid property value for %s", name.c_str()));
        out_->push_back(TLayoutProperty{name, std::move(value)});
      }
    }
  }
  std::string savedPrefix = std::move(prefix_);
  prefix_ = prefix;
  instance.DefineProperties(*this);
  prefix_ = std::move(savedPrefix);
}

// Links leave the layout only to components that a reader can find again.
std::string TWriter::ReferenceName(const TComponent* target) const {
  if (!target) return {};
  if (target == root_ || target->Owner() == root_) return target->Name();
  return {};
}

void TWriter::DefineProperty(std::string_view name, const TValueReader&, const TValueWriter& write, bool hasData) {
  if (out_ && hasData && write) out_->push_back(TLayoutProperty{prefix_ + std::string(name), write()});
}

void TWriter::DefineBinaryProperty(std::string_view name, const TBinaryProc&, const TBinaryProc& write, bool hasData) {
  if (!out_ || !hasData || !write) return;
  TMemoryStream stream;
  write(stream);
  out_->push_back(TLayoutProperty{prefix_ + std::string(name), TBinary{stream.Bytes()}});
}

void ReadLayout(std::string_view text, TComponent& root) { TReader(text).ReadRootComponent(root); }

std::string WriteLayout(TComponent& root) { return FormatLayout(TWriter::ToLayout(root)); }

}  // namespace hv
