#include "app/frmmain.h"

#include <windows.h>

#include <algorithm>

#include "app/topic_index.h"
#include "framework/memo.h"
#include "framework/starttrace.h"
#include "framework/sysutils.h"
#include "framework/treeview.h"
#include "framework/winstring.h"
#include "pageview/htmllink.h"
#include "pageview/htmlview.h"
#include "pageview/webbrowser.h"
#include "theme/controls/statusbar.h"
#include "theme/controls/themetreeview.h"

namespace hv {

namespace {
constexpr char kIndexFileName[] = "TrvNode.DLL";

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

TFrmMain::TFrmMain(TComponent* owner) : TForm(owner) {
  PublishField("TrvMenu", TrvMenu);
  PublishField("Memo1", Memo1);
  PublishField("WebBrowser1", WebBrowser1);
  PublishMethod<void(TObject*)>("FormShow", [this](TObject* sender) { FormShow(sender); });
  PublishMethod<void(TObject*, TTreeNode*)>("TrvMenuChange",
                                            [this](TObject* sender, TTreeNode* node) { TrvMenuChange(sender, node); });
  PublishMethod<void(TObject*)>("TeThemeSpeedButton1Click", [this](TObject* s) { TeThemeSpeedButton1Click(s); });
  PublishMethod<void(TObject*)>("TeThemeSpeedButton2Click", [this](TObject* s) { TeThemeSpeedButton2Click(s); });
  PublishMethod<void(TObject*)>("TeThemeSpeedButton3Click", [this](TObject* s) { TeThemeSpeedButton3Click(s); });
  PublishMethod<void(TObject*)>("TeThemeSpeedButton4Click", [this](TObject* s) { TeThemeSpeedButton4Click(s); });
}

std::string TFrmMain::BaseFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  size_t cut = path.find_last_of(L"\\:");
  return Narrow(cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1));
}

void TFrmMain::Loaded() {
  StartupMark("layout read");
  TForm::Loaded();
  if (WebBrowser1) WebBrowser1->OnFollow = [this](const std::wstring& path) { PageFollowed(path); };
}

void TFrmMain::ShowStartupMessage(const std::string& text) {
  startupMessage_ = text;
  auto* bar = dynamic_cast<TTeCustomStatusBar*>(FindComponent("TeThemeStatusBar1"));
  if (!bar || bar->Panels()->Count() == 0) return;
  // The stored panels are 50 pixels wide, too narrow for a sentence: the
  // first one takes the spare width while it carries the message.
  TTeStatusPanel* first = bar->Panels()->Items(0);
  first->SetText(text);
  first->SetStretchPriority(100);
}

void TFrmMain::FormShow(TObject*) {
  // An error here ends the show event: the window is neither aligned nor
  // expanded, and the error goes to the application's report. The tree
  // takes in the loaded and expanded nodes in one go at the end.
  StartupMark("show event");
  TTreeNodes* nodes = TrvMenu->Items();
  nodes->BeginUpdate();
  try {
    LoadTopicIndex();
    SetAlign(TAlign::alClient);
    if (nodes->Count() > 0) TrvMenu->FullExpand();
  } catch (...) {
    nodes->EndUpdate();
    throw;
  }
  nodes->EndUpdate();
  StartupMark("show event done");
}

std::optional<std::string> TFrmMain::SplitTopicLine(int part, std::string_view text) {
  auto piece = hv::SplitTopicLine(part, text);
  if (!piece) return std::nullopt;
  return std::string(*piece);
}

void TFrmMain::LoadTopicIndex() {
  std::string name = BaseFolder() + kIndexFileName;
  if (!FileExists(name)) return;
  LoadTopicIndex(name, *TrvMenu, *Memo1->Lines());
}

void TFrmMain::LoadTopicIndex(const std::string& fileName, TTreeView& tree, TStrings& paths) {
  TTreeNodes* nodes = tree.Items();
  // One batch for both lists: the controls see the result, not every step.
  nodes->BeginUpdate();
  paths.BeginUpdate();
  try {
    // Each line is cut into its title, which the node keeps, and its path,
    // which goes to the list: no node ever holds the whole line, and the
    // list takes all paths in one piece.
    std::string allPaths;
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (GetFileAttributesExW(Widen(fileName).c_str(), GetFileExInfoStandard, &file) && !file.nFileSizeHigh &&
        file.nFileSizeLow <= TTreeView::kMaxFileBytes)
      allPaths.reserve(file.nFileSizeLow);  // the paths and their breaks take about the file's size
    tree.LoadFromFile(fileName, [&allPaths](std::string_view text) {
      allPaths += *hv::SplitTopicLine(0, text);
      allPaths += "\r\n";
      return *hv::SplitTopicLine(1, text);
    });
    paths.AdoptText(std::move(allPaths));
    int count = nodes->Count();
    for (int i = 0; i < count; ++i) {
      TTreeNode* node = nodes->Item(i);
      node->SetImageIndex(0);
      node->SetSelectedIndex(1);
    }
  } catch (...) {
    paths.EndUpdate();
    nodes->EndUpdate();
    throw;
  }
  paths.EndUpdate();
  nodes->EndUpdate();
}

std::string TFrmMain::TopicPage(int index) const {
  return std::string(Trim(BaseFolder() + Memo1->Lines()->Get(index)));
}

void TFrmMain::ShowSelectedTopic() {
  TTreeNode* node = TrvMenu->Selected();
  if (!node || followingView_) return;
  std::string page = TopicPage(node->AbsoluteIndex());
  if (FileExists(page)) WebBrowser1->Navigate(Widen(page));
}

void TFrmMain::PageFollowed(const std::wstring& path) {
  if (!TrvMenu || !Memo1) return;
  auto isShown = [&](int index) {
    return SamePagePath(Widen(html::NormalizePath(TopicPage(index))), Widen(html::NormalizePath(Narrow(path))));
  };
  // The selected topic may be one of several with this page: it stays.
  if (TTreeNode* selected = TrvMenu->Selected(); selected && isShown(selected->AbsoluteIndex())) return;
  int count = TrvMenu->Items()->Count();
  for (int i = 0; i < count; ++i) {
    if (!isShown(i)) continue;
    followingView_ = true;
    try {
      SelectAbsolute(i);
    } catch (...) {
      followingView_ = false;
      throw;
    }
    followingView_ = false;
    return;
  }
}

void TFrmMain::TrvMenuChange(TObject*, TTreeNode*) { ShowSelectedTopic(); }

void TFrmMain::SelectAbsolute(int index) {
  TrvMenu->SetSelected(TrvMenu->Items()->Item(index));
}

void TFrmMain::TeThemeSpeedButton1Click(TObject*) {
  if (TrvMenu->Items()->Count() > 0) SelectAbsolute(0);
  TrvMenu->SetFocus();
}

void TFrmMain::TeThemeSpeedButton2Click(TObject*) {
  TTreeNode* selected = TrvMenu->Selected();
  if (selected && TrvMenu->Items()->Count() > 0) SelectAbsolute(std::max(selected->AbsoluteIndex() - 1, 0));
  TrvMenu->SetFocus();
}

void TFrmMain::TeThemeSpeedButton3Click(TObject*) {
  TTreeNode* selected = TrvMenu->Selected();
  if (selected) {
    int next = std::min(selected->AbsoluteIndex() + 1, TrvMenu->Items()->Count() - 1);
    if (TrvMenu->Items()->Count() > 0) SelectAbsolute(next);
  }
  TrvMenu->SetFocus();
}

void TFrmMain::TeThemeSpeedButton4Click(TObject*) {
  int count = TrvMenu->Items()->Count();
  if (count > 0) SelectAbsolute(count - 1);
  TrvMenu->SetFocus();
}

}  // namespace hv
