#include "framework/treeview.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "framework/indented_tree.h"
#include "framework/filestream.h"
#include "framework/graphics.h"
#include "framework/imagelist.h"
#include "framework/properties.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {

namespace {

// The tree as indented lines: how a stored layout keeps the nodes.
class TTreeLines : public TStrings {
 public:
  explicit TTreeLines(TTreeNodes* nodes) : nodes_(nodes) {}
  int Count() const override { return nodes_->Count(); }
  std::string Get(int index) const override {
    TTreeNode* node = nodes_->Item(index);
    if (!node) Error(index);
    std::string line(static_cast<size_t>(node->Level()), '\t');
    line += node->Text();
    return line;
  }
  void Insert(int index, const std::string& text) override {
    if (index != Count()) Error(index);
    std::vector<std::string> lines = nodes_->ToLines();
    lines.push_back(text);
    nodes_->LoadFromLines(lines);
  }
  void Delete(int index) override {
    TTreeNode* node = nodes_->Item(index);
    if (!node) Error(index);
    nodes_->Delete(node);
  }
  void Clear() override { nodes_->Clear(); }
  void SetText(std::string_view text) override {
    TStringList lines;
    lines.SetText(text);
    nodes_->LoadFromLines(lines.ToVector());
  }

 protected:
  void SetUpdateState(bool updating) override {
    if (updating) nodes_->BeginUpdate();
    else nodes_->EndUpdate();
  }

 private:
  TTreeNodes* nodes_;
};

HWND TreeHandle(TTreeView* view) { return view ? view->HandleIfAllocated() : nullptr; }

}  // namespace

// ---- TTreeNode -------------------------------------------------------------

// A large index makes hundreds of thousands of nodes: eight pointers and six
// numbers each, nothing more.
static_assert(sizeof(TTreeNode) <= 8 * sizeof(void*) + 6 * sizeof(int));

namespace {
// Where sizes are 32-bit there is nothing to check.
template <class Size>
bool BeyondUint32(Size size) {
  if constexpr (sizeof(Size) > sizeof(uint32_t)) return size > UINT32_MAX;
  else return false;
}

uint32_t TextLength(std::string_view text) {
  if (BeyondUint32(text.size())) throw ETreeViewError("A tree item's text is too long");
  return static_cast<uint32_t>(text.size());
}
}  // namespace

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent, std::string_view text)
    : owner_(owner),
      parent_(parent),
      textLength_(TextLength(text)),
      level_(parent ? parent->level_ + 1 : 0),
      expanded_(false) {
  text_ = owner->texts_.Store(text).data();
}

void TTreeNode::StoreText(std::string_view value) {
  // Stored before the old text is let go: value may be a view of it.
  const uint32_t length = TextLength(value);
  const char* stored = owner_->texts_.Store(value).data();
  const size_t dropped = textLength_;
  text_ = stored;
  textLength_ = length;
  owner_->TextDropped(dropped);
}

void TTreeNode::SetText(std::string_view value) {
  if (value == Text()) return;
  StoreText(value);
  if (owner_->Defer()) return;
  if (HWND wnd = TreeHandle(owner_->owner_); wnd && item_) {
    std::wstring wide = Widen(Text());
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = item_;
    item.pszText = wide.data();
    SendMessageW(wnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void TTreeNode::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  if (owner_->Defer()) return;
  if (HWND wnd = TreeHandle(owner_->owner_); wnd && item_) {
    TVITEMW item{};
    item.mask = TVIF_IMAGE;
    item.hItem = item_;
    item.iImage = value;
    SendMessageW(wnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void TTreeNode::SetSelectedIndex(int value) {
  if (value == selectedIndex_) return;
  selectedIndex_ = value;
  if (owner_->Defer()) return;
  if (HWND wnd = TreeHandle(owner_->owner_); wnd && item_) {
    TVITEMW item{};
    item.mask = TVIF_SELECTEDIMAGE;
    item.hItem = item_;
    item.iSelectedImage = value;
    SendMessageW(wnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

int TTreeNode::AbsoluteIndex() const {
  const auto& nodes = owner_->nodes_;
  size_t cached = static_cast<size_t>(absoluteIndex_);
  if (cached < owner_->numberedUpTo_ && cached < nodes.size() && nodes[cached].get() == this) return absoluteIndex_;
  owner_->RenumberFrom(owner_->numberedUpTo_);
  return absoluteIndex_;
}

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= childCount_) throw std::out_of_range("TTreeNode::Item");
  TTreeNode* child = firstChild_;
  while (index-- > 0) child = child->nextSibling_;
  return child;
}

int TTreeNode::Index() const {
  if (parent_) {
    int index = 0;
    for (const TTreeNode* sibling = parent_->firstChild_; sibling != this; sibling = sibling->nextSibling_) ++index;
    return index;
  }
  int index = 0;
  for (const auto& node : owner_->nodes_) {
    if (node.get() == this) return index;
    if (!node->parent_) ++index;
  }
  return -1;
}

TTreeNode* TTreeNode::GetNext() const { return owner_->Item(AbsoluteIndex() + 1); }

TTreeNode* TTreeNode::LastDescendant() {
  TTreeNode* node = this;
  while (node->lastChild_) node = node->lastChild_;
  return node;
}

bool TTreeNode::Expanded() const { return expanded_; }

void TTreeNode::SetExpanded(bool value) {
  if (value) Expand(false);
  else Collapse(false);
}

void TTreeNode::Expand(bool recurse) {
  expanded_ = firstChild_ != nullptr;
  if (owner_->Defer()) {
    if (recurse)
      for (TTreeNode* child = firstChild_; child; child = child->nextSibling_) child->Expand(true);
    return;
  }
  if (HWND wnd = TreeHandle(owner_->owner_); wnd && item_ && firstChild_)
    SendMessageW(wnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_));
  if (recurse)
    for (TTreeNode* child = firstChild_; child; child = child->nextSibling_) child->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  expanded_ = false;
  if (owner_->Defer()) {
    if (recurse)
      for (TTreeNode* child = firstChild_; child; child = child->nextSibling_) child->Collapse(true);
    return;
  }
  if (HWND wnd = TreeHandle(owner_->owner_); wnd && item_)
    SendMessageW(wnd, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
  if (recurse)
    for (TTreeNode* child = firstChild_; child; child = child->nextSibling_) child->Collapse(true);
}

bool TTreeNode::Selected() const { return owner_->owner_ && owner_->owner_->Selected() == this; }

void TTreeNode::SetSelected(bool value) {
  if (!owner_->owner_) return;
  if (value) owner_->owner_->SetSelected(this);
  else if (Selected()) owner_->owner_->SetSelected(nullptr);
}

// ---- TTreeNodes ------------------------------------------------------------

TTreeNodes::TTreeNodes(TTreeView* owner) : owner_(owner), slots_(sizeof(TTreeNode)) {}

TTreeNodes::~TTreeNodes() = default;

void TTreeNodes::TNodeDeleter::operator()(TTreeNode* node) const {
  TSlotPool& slots = node->owner_->slots_;
  node->~TTreeNode();
  slots.Free(node);
}

TTreeNodes::TNodePtr TTreeNodes::MakeNode(TTreeNode* parent, std::string_view text) {
  void* memory = slots_.Allocate();
  try {
    return TNodePtr(::new (memory) TTreeNode(this, parent, text));
  } catch (...) {
    slots_.Free(memory);
    throw;
  }
}

TTreeNode* TTreeNodes::Item(int absoluteIndex) const {
  if (absoluteIndex < 0 || absoluteIndex >= Count()) return nullptr;
  return nodes_[static_cast<size_t>(absoluteIndex)].get();
}

void TTreeNodes::RenumberFrom(size_t position) const {
  for (size_t i = position; i < nodes_.size(); ++i) nodes_[i]->absoluteIndex_ = static_cast<int>(i);
  numberedUpTo_ = nodes_.size();
}

void TTreeNodes::TextDropped(size_t length) {
  constexpr size_t kWorthCompacting = 64 * 1024;
  droppedText_ += length;
  if (droppedText_ >= kWorthCompacting && droppedText_ > texts_.Stored() / 2) CompactTexts();
}

void TTreeNodes::CompactTexts() {
  TTextArena fresh;
  for (const auto& node : nodes_) {
    const std::string_view stored = fresh.Store(node->Text());
    node->text_ = stored.data();
  }
  texts_ = std::move(fresh);
  droppedText_ = 0;
}

TTreeNode* TTreeNodes::Add(std::string_view text) { return AddChild(nullptr, text); }

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, std::string_view text) {
  size_t position = parent ? static_cast<size_t>(parent->LastDescendant()->AbsoluteIndex()) + 1 : nodes_.size();
  TNodePtr node = MakeNode(parent, text);
  TTreeNode* raw = node.get();
  bool appended = position == nodes_.size();
  nodes_.insert(nodes_.begin() + static_cast<ptrdiff_t>(position), std::move(node));
  raw->absoluteIndex_ = static_cast<int>(position);
  if (appended) {
    if (numberedUpTo_ == position) numberedUpTo_ = position + 1;
  } else {
    numberedUpTo_ = std::min(numberedUpTo_, position);
  }
  if (parent) {
    if (parent->lastChild_) parent->lastChild_->nextSibling_ = raw;
    else parent->firstChild_ = raw;
    parent->lastChild_ = raw;
    ++parent->childCount_;
  }
  if (!Defer()) InsertIntoWindow(raw);
  return raw;
}

// The topics come parents first and each one lands at the end of the list,
// so each parent is already at its own index past the nodes there were. The
// nodes are made as the walk reads the lines: no list of parsed lines stands
// beside them, and a line's text is copied once, into the text arena.
std::optional<TopicLevelError> TTreeNodes::AppendTopics(std::string_view source, int count, bool fromAnsi,
                                                       const TTreeView::TNodeTextFn& nodeText) {
  const size_t base = nodes_.size();
  nodes_.reserve(base + static_cast<size_t>(count));
  slots_.Reserve(static_cast<size_t>(count));
  std::string converted;
  return WalkTopicTree(source, [&](int32_t parent, int32_t, std::string_view raw) {
    TTreeNode* parentNode = parent >= 0 ? nodes_[base + static_cast<size_t>(parent)].get() : nullptr;
    std::string_view text = raw;
    if (fromAnsi && !std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
      converted = AnsiToUtf8(raw);
      text = converted;
    }
    AddChild(parentNode, nodeText ? nodeText(text) : text);
  });
}

void TTreeNodes::InsertIntoWindow(TTreeNode* node) {
  HWND wnd = TreeHandle(owner_);
  if (!wnd) return;
  std::wstring text = Widen(node->Text());
  TVINSERTSTRUCTW insert{};
  insert.hParent = node->parent_ ? node->parent_->item_ : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
  insert.item.pszText = text.data();
  insert.item.iImage = node->imageIndex_;
  insert.item.iSelectedImage = node->selectedIndex_;
  insert.item.lParam = reinterpret_cast<LPARAM>(node);
  insert.item.stateMask = TVIS_EXPANDED;
  insert.item.state = node->expanded_ && node->firstChild_ ? TVIS_EXPANDED : 0;
  node->item_ = reinterpret_cast<HTREEITEM>(SendMessageW(wnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!node->item_) throw EOutOfResources("Cannot insert a tree item");
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || node->owner_ != this) return;
  size_t first = static_cast<size_t>(node->AbsoluteIndex());
  size_t last = static_cast<size_t>(node->LastDescendant()->AbsoluteIndex()) + 1;
  if (owner_ && owner_->selected_) {
    size_t selected = static_cast<size_t>(owner_->selected_->AbsoluteIndex());
    if (selected >= first && selected < last) owner_->selected_ = nullptr;
  }
  if (HWND wnd = TreeHandle(owner_); wnd && node->item_)
    SendMessageW(wnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
  if (TTreeNode* parent = node->parent_) {
    TTreeNode* before = nullptr;
    for (TTreeNode* sibling = parent->firstChild_; sibling != node; sibling = sibling->nextSibling_) before = sibling;
    (before ? before->nextSibling_ : parent->firstChild_) = node->nextSibling_;
    if (parent->lastChild_ == node) parent->lastChild_ = before;
    --parent->childCount_;
  }
  size_t dropped = 0;
  for (size_t i = first; i < last; ++i) dropped += nodes_[i]->textLength_;
  nodes_.erase(nodes_.begin() + static_cast<ptrdiff_t>(first), nodes_.begin() + static_cast<ptrdiff_t>(last));
  numberedUpTo_ = std::min(numberedUpTo_, first);
  TextDropped(dropped);
}

void TTreeNodes::Clear() {
  if (nodes_.empty()) return;
  bool hadSelection = owner_ && owner_->Selected();
  if (owner_) owner_->selected_ = nullptr;
  if (HWND wnd = TreeHandle(owner_)) {
    owner_->destroyingWindow_ = true;  // the control reports the items going: not news
    SendMessageW(wnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    owner_->destroyingWindow_ = false;
  }
  nodes_.clear();
  // Nothing is left in the slots or the arena: give their memory back.
  slots_.Release();
  texts_.Clear();
  droppedText_ = 0;
  numberedUpTo_ = 0;
  if (hadSelection && owner_) owner_->Change(nullptr);
}

// While an update runs, changes stay in the model and the control is brought
// up to date once at the end: the control's own per-item updates cost far
// more than building its items afresh.
bool TTreeNodes::Defer() {
  if (updateCount_ == 0 || !TreeHandle(owner_)) return false;
  stale_ = true;
  return true;
}

void TTreeNodes::BeginUpdate() {
  if (updateCount_++ == 0)
    if (HWND wnd = TreeHandle(owner_)) SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  HWND wnd = TreeHandle(owner_);
  if (!wnd) {
    stale_ = false;
    return;
  }
  if (stale_) RebuildWindowItems();
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(wnd, nullptr, TRUE);
}

void TTreeNodes::RebuildWindowItems() {
  stale_ = false;
  HWND wnd = TreeHandle(owner_);
  TTreeNode* selected = owner_->Selected();
  ForgetWindowItems();
  // The items come and go as the model says: nothing the user did.
  owner_->destroyingWindow_ = true;
  try {
    SendMessageW(wnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    CreateWindowItems();
    if (selected && selected->item_)
      SendMessageW(wnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected->item_));
  } catch (...) {
    owner_->destroyingWindow_ = false;
    throw;
  }
  owner_->destroyingWindow_ = false;
}

std::vector<std::string> TTreeNodes::ToLines() const {
  std::vector<std::string> lines;
  lines.reserve(nodes_.size());
  for (const auto& node : nodes_) {
    std::string line(static_cast<size_t>(node->level_), '\t');
    line += node->Text();
    lines.push_back(std::move(line));
  }
  return lines;
}

void TTreeNodes::LoadFromLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += '\n';
  }
  std::optional<TopicLevelError> error;
  BeginUpdate();
  try {
    Clear();
    error = AppendTopics(TopicSource(text), static_cast<int>(lines.size()), false, {});
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (error) throw ETreeViewError(error->Message());
}

void TTreeNodes::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TTreeNodes*>(source)) {
    LoadFromLines(other->ToLines());
    return;
  }
  TPersistent::Assign(source);
}

// Level by level: some versions of the control look an item handle up by a
// walk from the first item made, so parents made early keep every later
// insertion cheap. Text, images and expansion go in with the item.
void TTreeNodes::CreateWindowItems() {
  HWND wnd = TreeHandle(owner_);
  if (!wnd) return;
  SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  std::vector<TTreeNode*> level;
  for (const auto& node : nodes_)
    if (!node->parent_) level.push_back(node.get());
  std::vector<TTreeNode*> next;
  while (!level.empty()) {
    next.clear();
    for (TTreeNode* node : level) {
      InsertIntoWindow(node);
      for (TTreeNode* child = node->firstChild_; child; child = child->nextSibling_) next.push_back(child);
    }
    level.swap(next);
  }
  if (updateCount_ == 0) SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
}

// The control's items are going; the model keeps everything they showed,
// expansion included (the notifications keep it current).
void TTreeNodes::ForgetWindowItems() {
  for (const auto& node : nodes_) node->item_ = nullptr;
}

// ---- TTreeView -------------------------------------------------------------

TTreeView::TTreeView(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)), itemLines_(std::make_unique<TTreeLines>(items_.get())) {
  SetBounds(Left(), Top(), 121, 97);
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetBorderStyle(TBorderStyle::bsSingle);
}

TTreeView::~TTreeView() {
  Destroying();
  DestroyComponents();
  DestroyHandle();
}

void TTreeView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClassName = WC_TREEVIEWW;
  params.style |= TVS_DISABLEDRAGDROP;
  if (showButtons_) params.style |= TVS_HASBUTTONS;
  if (showLines_) params.style |= TVS_HASLINES;
  if (showRoot_) params.style |= TVS_LINESATROOT;
  if (!hideSelection_) params.style |= TVS_SHOWSELALWAYS;
  if (!readOnly_) params.style |= TVS_EDITLABELS;
  params.classStyle &= ~static_cast<uint32_t>(CS_HREDRAW | CS_VREDRAW);
}

void TTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  HWND wnd = HandleIfAllocated();
  SendMessageW(wnd, TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
  SendMessageW(wnd, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
  ApplyImages();
  items_->CreateWindowItems();
  if (selected_ && selected_->item_) {
    TTreeNode* keep = selected_;
    SendMessageW(wnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(keep->item_));
  }
}

void TTreeView::DestroyWnd() {
  if (HandleAllocated()) {
    selected_ = Selected();
    items_->ForgetWindowItems();
  }
  destroyingWindow_ = true;
  TWinControl::DestroyWnd();
  destroyingWindow_ = false;
}

TTreeNode* TTreeView::NodeFromItem(_TREEITEM* item) const {
  if (!item || !HandleAllocated()) return nullptr;
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  if (!SendMessageW(HandleIfAllocated(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  return reinterpret_cast<TTreeNode*>(tv.lParam);
}

TTreeNode* TTreeView::Selected() const {
  if (!HandleAllocated()) return selected_;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(HandleIfAllocated(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  return NodeFromItem(item);
}

void TTreeView::SetSelected(TTreeNode* node) {
  if (node == Selected()) return;
  if (!HandleAllocated()) {
    selected_ = node;
    return;
  }
  // The control expands collapsed parents and reports the change itself.
  SendMessageW(HandleIfAllocated(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

void TTreeView::SetImages(TCustomImageList* value) {
  if (value == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = value;
  if (images_) images_->FreeNotification(this);
  ApplyImages();
}

void TTreeView::ApplyImages() {
  if (!HandleAllocated()) return;
  SendMessageW(HandleIfAllocated(), TVM_SETIMAGELIST, TVSIL_NORMAL,
               reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
}

void TTreeView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) {
    images_ = nullptr;
    ApplyImages();
  }
}

void TTreeView::SetIndent(int value) {
  if (value == indent_) return;
  indent_ = value;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), TVM_SETINDENT, static_cast<WPARAM>(value), 0);
}

void TTreeView::UpdateStyle(uint32_t bit, bool on) {
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(HandleIfAllocated(), GWL_STYLE);
  SetWindowLongPtrW(HandleIfAllocated(), GWL_STYLE, on ? (style | bit) : (style & ~static_cast<LONG_PTR>(bit)));
  InvalidateRect(HandleIfAllocated(), nullptr, TRUE);
}

void TTreeView::SetShowButtons(bool value) {
  if (value == showButtons_) return;
  showButtons_ = value;
  UpdateStyle(TVS_HASBUTTONS, value);
}
void TTreeView::SetShowLines(bool value) {
  if (value == showLines_) return;
  showLines_ = value;
  UpdateStyle(TVS_HASLINES, value);
}
void TTreeView::SetShowRoot(bool value) {
  if (value == showRoot_) return;
  showRoot_ = value;
  UpdateStyle(TVS_LINESATROOT, value);
}
void TTreeView::SetHideSelection(bool value) {
  if (value == hideSelection_) return;
  hideSelection_ = value;
  UpdateStyle(TVS_SHOWSELALWAYS, !value);
}
void TTreeView::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  UpdateStyle(TVS_EDITLABELS, !value);
}

void TTreeView::FullExpand() {
  items_->BeginUpdate();
  try {
    for (int i = 0; i < items_->Count(); ++i)
      if (TTreeNode* node = items_->Item(i); node->HasChildren()) node->Expand(false);
  } catch (...) {
    items_->EndUpdate();
    throw;
  }
  items_->EndUpdate();
}

void TTreeView::FullCollapse() {
  for (int i = 0; i < items_->Count(); ++i) items_->Item(i)->Collapse(false);
}

void TTreeView::LoadFromFile(const std::string& path, const TNodeTextFn& nodeText) {
  std::string copy;
  TMappedFile mapped;
  std::string_view bytes;
  {
    TFileStream file(path, TFileMode::fmOpenRead);
    int64_t size = file.Size();
    if (size > kMaxFileBytes)
      throw ETreeViewError(Format("The file \"%s\" is too large for a tree (%lld bytes; at most %lld)", path.c_str(),
                                  static_cast<long long>(size), static_cast<long long>(kMaxFileBytes)));
    // A large file is read in place; a small one is cheaper to copy than to
    // map. The mapped size is the one the checks see: it cannot change
    // while mapped.
    if (size >= kMapFromBytes && mapped.Open(path) && static_cast<int64_t>(mapped.Bytes().size()) <= kMaxFileBytes) {
      bytes = mapped.Bytes();
    } else {
      copy.resize(static_cast<size_t>(size));
      file.ReadBuffer(copy.data(), copy.size());
      bytes = copy;
    }
  }
  // A file that starts with the UTF-8 byte-order mark says how it is encoded;
  // any other file is text in the ANSI code page, as such files always were.
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  const bool utf8 = bytes.starts_with(kUtf8Mark);
  const std::string_view source = TopicSource(bytes.substr(utf8 ? kUtf8Mark.size() : 0));
  // A first walk makes nothing: the tree stays as it is when the file holds
  // too many items, and a bad level is known before any text is handed over.
  int count = 0;
  const std::optional<TopicLevelError> error =
      WalkTopicTree(source, [&count](int32_t, int32_t, std::string_view) { ++count; });
  if (count > kMaxNodes)
    throw ETreeViewError(
        Format("The file \"%s\" holds %d items; a tree takes at most %d", path.c_str(), count, kMaxNodes));
  items_->BeginUpdate();
  try {
    items_->Clear();
    items_->AppendTopics(source, count, !utf8, error ? TNodeTextFn() : nodeText);
  } catch (...) {
    items_->EndUpdate();
    throw;
  }
  items_->EndUpdate();
  if (error) {
    const std::string_view text = error->text;
    throw ETreeViewError(InvalidLevelMessage(error->level, utf8 ? std::string(text) : AnsiToUtf8(text)));
  }
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) {
  if (!HandleAllocated()) return nullptr;
  TVHITTESTINFO hit{};
  hit.pt = {x, y};
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(HandleIfAllocated(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!(hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT))) return nullptr;
  return NodeFromItem(item);
}

void TTreeView::Change(TTreeNode* node) {
  if (OnChange) OnChange(this, node);
}

void TTreeView::CNNotify(TMessage& message) {
  auto* header = reinterpret_cast<NMHDR*>(message.LParam);
  if (destroyingWindow_ || IsDestroying()) return;
  switch (header->code) {
    case TVN_SELCHANGINGW: {
      auto* tv = reinterpret_cast<NMTREEVIEWW*>(header);
      bool allow = true;
      if (OnChanging) OnChanging(this, reinterpret_cast<TTreeNode*>(tv->itemNew.lParam), allow);
      message.Result = allow ? FALSE : TRUE;
      break;
    }
    case TVN_SELCHANGEDW: {
      auto* tv = reinterpret_cast<NMTREEVIEWW*>(header);
      auto* node = reinterpret_cast<TTreeNode*>(tv->itemNew.lParam);
      // The control opens the branches above the item it selects, not
      // always saying so.
      for (TTreeNode* parent = node ? node->parent_ : nullptr; parent; parent = parent->parent_)
        parent->expanded_ = true;
      Change(node);
      break;
    }
    case TVN_ITEMEXPANDEDW: {
      auto* tv = reinterpret_cast<NMTREEVIEWW*>(header);
      auto* node = reinterpret_cast<TTreeNode*>(tv->itemNew.lParam);
      if (!node) break;
      node->expanded_ = tv->action == TVE_EXPAND;
      if (tv->action == TVE_EXPAND && OnExpanded) OnExpanded(this, node);
      if (tv->action == TVE_COLLAPSE && OnCollapsed) OnCollapsed(this, node);
      break;
    }
    case TVN_BEGINLABELEDITW:
      message.Result = readOnly_ ? TRUE : FALSE;
      break;
    case TVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
      if (info->item.pszText) {
        if (auto* node = reinterpret_cast<TTreeNode*>(info->item.lParam)) node->StoreText(Narrow(info->item.pszText));
        message.Result = TRUE;
      }
      break;
    }
    default:
      break;
  }
}

void TTreeView::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_NOTIFY:
      CNNotify(message);
      return;
    case CM_COLORCHANGED:
      if (HandleAllocated()) SendMessageW(HandleIfAllocated(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
      break;
    default:
      break;
  }
  TWinControl::WndProc(message);
}

void TTreeView::PublishProperties(TPropertyList& p) {
  // Starts with a colour of its own, not the parent's.
  p.Color("Color", &TTreeView::Color, &TTreeView::SetColor, clWindow).stored = [](const TObject& o) {
    return !static_cast<const TControl&>(o).ParentColor();
  };
  p.Boolean("ParentColor", &TTreeView::ParentColor, &TTreeView::SetParentColor, false);
  p.Boolean("TabStop", &TTreeView::TabStop, &TTreeView::SetTabStop, true);
  p.Boolean("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection, true);
  p.Component("Images", &TTreeView::Images, &TTreeView::SetImages);
  p.Integer("Indent", &TTreeView::Indent, &TTreeView::SetIndent, 19);
  p.Boolean("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly, false);
  p.Boolean("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons, true);
  p.Boolean("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines, true);
  p.Boolean("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot, true);
  p.Strings("Items", &TTreeView::ItemLines);
  p.Event("OnChange", &TTreeView::OnChange);
  p.Event("OnChanging", &TTreeView::OnChanging);
  p.Event("OnCollapsed", &TTreeView::OnCollapsed);
  p.Event("OnExpanded", &TTreeView::OnExpanded);
}

}  // namespace hv
