#pragma once
// The system tree view (comctl32) as a control. The nodes live in the
// control's own model, in absolute-index order (a depth-first walk, parents
// before children), so that finding a node by its absolute index is a lookup,
// and they survive the window being recreated.

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/event.h"
#include "framework/indented_tree.h"
#include "framework/strings.h"
#include "framework/slot_pool.h"
#include "framework/text_arena.h"
#include "framework/wincontrol.h"

struct _TREEITEM;

namespace hv {

class TCustomImageList;
class TTreeNodes;
class TTreeView;

// What a file's line becomes as a node's text (TTreeView::LoadFromFile).
// Only a function answering a view is taken: one answering a string would
// hand back a view of a string already gone.
class TTreeNodeTextFn {
 public:
  TTreeNodeTextFn() = default;
  template <class F>
    requires std::same_as<std::invoke_result_t<F&, std::string_view>, std::string_view>
  TTreeNodeTextFn(F function) : function_(std::move(function)) {}
  explicit operator bool() const { return static_cast<bool>(function_); }
  std::string_view operator()(std::string_view text) const { return function_(text); }

 private:
  std::function<std::string_view(std::string_view)> function_;
};

class TTreeNode {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  // Valid until the node's text changes or the node goes.
  std::string_view Text() const { return {text_, textLength_}; }
  void SetText(std::string_view value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  int SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(int value);
  void* Data() const { return data_; }
  void SetData(void* value) { data_ = value; }

  TTreeNode* Parent() const { return parent_; }
  int Level() const { return static_cast<int>(level_); }
  int Count() const { return childCount_; }
  bool HasChildren() const { return firstChild_ != nullptr; }
  // The child at `index`, found by a walk along the siblings before it;
  // throws std::out_of_range past the children.
  TTreeNode* Item(int index) const;
  TTreeNode* GetFirstChild() const { return firstChild_; }
  TTreeNode* GetLastChild() const { return lastChild_; }
  // The next child of the same parent; none for a root.
  TTreeNode* GetNextChild() const { return nextSibling_; }
  // Position in the depth-first walk of the whole tree, from 0.
  int AbsoluteIndex() const;
  int Index() const;  // among its siblings
  TTreeNode* GetNext() const;  // the next node in absolute order

  bool Expanded() const;
  void SetExpanded(bool value);
  void Expand(bool recurse);
  void Collapse(bool recurse);
  bool Selected() const;
  void SetSelected(bool value);

  TTreeNodes* Owner() const { return owner_; }
  _TREEITEM* ItemId() const { return item_; }

 private:
  friend class TTreeNodes;
  friend class TTreeView;
  TTreeNode(TTreeNodes* owner, TTreeNode* parent, std::string_view text);
  TTreeNode* LastDescendant();
  void StoreText(std::string_view value);

  // A large index makes hundreds of thousands of nodes: the children are a
  // chain of links rather than a list per node, and the text lives in the
  // owner's arena rather than in a string per node.
  TTreeNodes* owner_;
  TTreeNode* parent_;
  TTreeNode* firstChild_ = nullptr;
  TTreeNode* lastChild_ = nullptr;
  TTreeNode* nextSibling_ = nullptr;  // children only; roots are not chained
  const char* text_ = nullptr;        // in the owner's text arena
  void* data_ = nullptr;
  _TREEITEM* item_ = nullptr;
  uint32_t textLength_ = 0;
  int childCount_ = 0;
  int imageIndex_ = -1;
  int selectedIndex_ = -1;
  mutable int absoluteIndex_ = 0;
  uint32_t level_ : 31;
  uint32_t expanded_ : 1;
};

class TTreeNodes : public TPersistent {
  HV_CLASS_NO_PROPERTIES(TTreeNodes, TPersistent)

 public:
  explicit TTreeNodes(TTreeView* owner);
  ~TTreeNodes() override;

  int Count() const { return static_cast<int>(nodes_.size()); }
  // The node at an absolute index, or none.
  TTreeNode* Item(int absoluteIndex) const;
  TTreeNode* GetFirstNode() const { return nodes_.empty() ? nullptr : nodes_.front().get(); }
  TTreeView* Owner() const { return owner_; }

  // A new last root.
  TTreeNode* Add(std::string_view text);
  // A new last child of `parent` (a root when parent is none).
  TTreeNode* AddChild(TTreeNode* parent, std::string_view text);
  void Delete(TTreeNode* node);
  void Clear();

  void BeginUpdate();
  void EndUpdate();

  // Every node as a line: one TAB per level, then its text.
  std::vector<std::string> ToLines() const;
  // Rebuilds the tree from lines indented with TABs or spaces, one level per
  // character. A line that goes down two levels or more raises ETreeViewError
  // "Invalid level (%d) for item "%s"", keeping the nodes built before it.
  void LoadFromLines(const std::vector<std::string>& lines);

  void Assign(const TPersistent* source) override;

 private:
  friend class TTreeNode;
  friend class TTreeView;
  void RenumberFrom(size_t position) const;
  bool Defer();
  void RebuildWindowItems();
  void InsertIntoWindow(TTreeNode* node);
  void CreateWindowItems();
  void ForgetWindowItems();

  // Nodes come from slots of their own: a large index makes hundreds of
  // thousands of them, one heap block each otherwise.
  // Finds the slots through the node's owner: a pointer per node, not two.
  struct TNodeDeleter {
    void operator()(TTreeNode* node) const;
  };
  using TNodePtr = std::unique_ptr<TTreeNode, TNodeDeleter>;
  TNodePtr MakeNode(TTreeNode* parent, std::string_view text);
  // Texts replaced or deleted leave their bytes in the arena: once they are
  // most of it, the live texts move to a fresh one, so that changing texts
  // over and over costs memory in proportion to the texts there are.
  void TextDropped(size_t length);
  void CompactTexts();
  // Appends the topics of an index text (TopicSource) of `count` nodes as
  // new roots and their descendants, in their order, the texts read as ANSI
  // when fromAnsi is set. Answers the level error that ended the text.
  std::optional<TopicLevelError> AppendTopics(std::string_view source, int count, bool fromAnsi,
                                              const TTreeNodeTextFn& nodeText);

  TTreeView* owner_;
  TSlotPool slots_;               // outlives nodes_
  TTextArena texts_;              // the nodes' texts
  size_t droppedText_ = 0;        // bytes in texts_ no node shows
  std::vector<TNodePtr> nodes_;   // absolute order
  mutable size_t numberedUpTo_ = 0;  // nodes before this position know their index
  int updateCount_ = 0;
  bool stale_ = false;  // the control's items lag behind the model
};

using TTVChangedEvent = TEvent<void(TObject* sender, TTreeNode* node)>;
using TTVChangingEvent = TEvent<void(TObject* sender, TTreeNode* node, bool& allowChange)>;

class TTreeView : public TWinControl {
  HV_CLASS(TTreeView, TWinControl)

 public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;

  TTreeNodes* Items() const { return items_.get(); }
  // The tree as indented lines, for stored layouts.
  TStrings* ItemLines() const { return itemLines_.get(); }
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* node);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  int Indent() const { return indent_; }
  void SetIndent(int value);
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool value);
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool value);
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);

  void FullExpand();
  void FullCollapse();
  // Reads the file into the tree, replacing it: UTF-8 after a leading UTF-8
  // byte-order mark (the mark itself is no text), else the ANSI code page.
  // A file beyond the limits below raises ETreeViewError and leaves the tree
  // as it was: the platform's control slows down with every item it holds,
  // and a help index is nowhere near them.
  // Each line's text (in UTF-8) becomes its node's text, or what nodeText
  // makes of it when given: it sees every line once, in order, and only in
  // a file read whole (after a bad level the read lines keep their text).
  // Its answer is copied before the next line is read: it may be a view into
  // `text`.
  using TNodeTextFn = TTreeNodeTextFn;
  void LoadFromFile(const std::string& path, const TNodeTextFn& nodeText = {});
  static constexpr int64_t kMaxFileBytes = 32 << 20;
  static constexpr int64_t kMapFromBytes = 1 << 20;  // larger files are read in place
  static constexpr int kMaxNodes = 250000;
  TTreeNode* GetNodeAt(int x, int y);

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVChangedEvent OnExpanded;
  TTVChangedEvent OnCollapsed;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void Change(TTreeNode* node);

 private:
  friend class TTreeNodes;
  friend class TTreeNode;
  void CNNotify(TMessage& message);
  void UpdateStyle(uint32_t bit, bool on);
  void ApplyImages();
  TTreeNode* NodeFromItem(_TREEITEM* item) const;

  std::unique_ptr<TTreeNodes> items_;
  std::unique_ptr<TStrings> itemLines_;
  TCustomImageList* images_ = nullptr;
  TTreeNode* selected_ = nullptr;  // kept while there is no window
  int indent_ = 19;
  bool showButtons_ = true;
  bool showLines_ = true;
  bool showRoot_ = true;
  bool hideSelection_ = true;
  bool readOnly_ = false;
  bool destroyingWindow_ = false;
};

}  // namespace hv
