#pragma once
// The help viewer's one window: the topic tree on the left, the page on the
// right, four buttons that walk the topics in order.

#include <optional>
#include <string>
#include <string_view>

#include "framework/forms.h"

namespace hv {

class TTeThemeSTreeView;
class TTreeView;
class TTreeNode;
class TMemo;
class TStrings;
class TWebBrowser;

class TFrmMain : public TForm {
  HV_CLASS_NO_PROPERTIES(TFrmMain, TForm)

 public:
  explicit TFrmMain(TComponent* owner);

  // What the window's logic reads; the layout binds them by name.
  TTeThemeSTreeView* TrvMenu = nullptr;
  TMemo* Memo1 = nullptr;
  TWebBrowser* WebBrowser1 = nullptr;

  void FormShow(TObject* sender);
  void TrvMenuChange(TObject* sender, TTreeNode* node);
  void TeThemeSpeedButton1Click(TObject* sender);  // first
  void TeThemeSpeedButton2Click(TObject* sender);  // previous
  void TeThemeSpeedButton3Click(TObject* sender);  // next
  void TeThemeSpeedButton4Click(TObject* sender);  // last

  // Reads TrvNode.DLL beside the executable into the tree and the path list.
  void LoadTopicIndex();
  // The same from any index file into any tree and list, windows or none.
  static void LoadTopicIndex(const std::string& fileName, TTreeView& tree, TStrings& paths);
  // Part 1 of "title path" is the title, part 0 the path; other parts give
  // nothing.
  static std::optional<std::string> SplitTopicLine(int part, std::string_view text);
  // Shows the page of the selected topic when its file exists.
  void ShowSelectedTopic();
  // The reader reached a page inside the page view (a link, Back or
  // Forward): the tree selects the topic of that page, if one has it,
  // without showing the page a second time.
  void PageFollowed(const std::wstring& path);

  // The executable's folder with its trailing separator.
  static std::string BaseFolder();

  // A message from the start of the program for the user (an unknown style
  // name on the command line). The status bar shows it in its first panel
  // once the window has one; until then it is only kept.
  void ShowStartupMessage(const std::string& text);
  const std::string& StartupMessage() const { return startupMessage_; }

 protected:
  void Loaded() override;

 private:
  void SelectAbsolute(int index);
  // The full path of the page of the topic at an absolute index.
  std::string TopicPage(int index) const;

  std::string startupMessage_;
  // Set while the tree follows the page view, whose page is already shown.
  bool followingView_ = false;
};

}  // namespace hv
