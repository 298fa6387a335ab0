// How long the help viewer takes to load its topic index: generated indexes
// of 1,000, 10,000 and 100,000 topics, loaded by the viewer's own window into
// the tree and the path list, as at start.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/frmmain.h"
#include "framework/application.h"
#include "framework/classes.h"
#include "framework/memo.h"
#include "framework/standardclasses.h"
#include "framework/treeview.h"
#include "framework/webbrowser.h"
#include "theme/controls/themetreeview.h"
#include "theme/core/themeengine.h"
#include "theme/frame/themeform.h"
#include "framework/winstring.h"

namespace {

// Three levels: chapters of sections of pages, as a real help set nests.
std::string MakeIndex(int topics) {
  std::string text;
  text.reserve(static_cast<size_t>(topics) * 32);
  for (int i = 0; i < topics; ++i) {
    int level = i % 10 == 0 ? 0 : (i % 10 < 4 ? 1 : 2);
    text.append(static_cast<size_t>(level), '\t');
    text += "Topic" + std::to_string(i) + " pages\\topic" + std::to_string(i) + ".htm\r\n";
  }
  return text;
}

void Write(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(hv::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int main() {
  using namespace hv;
  Application()->Initialize();
  RegisterStandardClasses();
  RegisterClasses<TFrmMain, TWebBrowser, TTeThemeEngine, TTeThemeForm>();
  std::string index = TFrmMain::BaseFolder() + "TrvNode.DLL";
  std::printf("%10s %12s %12s %14s %16s\n", "topics", "show ms", "per topic us", "path lines", "no windows ms");
  for (int topics : {1000, 10000, 100000}) {
    Write(index, MakeIndex(topics));
    TFrmMain form(nullptr);
    form.LoadFromLayout();
    form.HandleNeeded();
    // What the window does when it is shown: load, align, expand.
    auto start = std::chrono::steady_clock::now();
    form.FormShow(&form);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // The same without any window: the parsing, the model and the path list
    // alone, which is what is ours of the time above.
    TFrmMain bare(nullptr);
    bare.LoadFromLayout();
    auto bareStart = std::chrono::steady_clock::now();
    bare.LoadTopicIndex();
    bare.TrvMenu->FullExpand();
    double bareMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - bareStart).count();
    std::printf("%10d %12.1f %12.2f %14d %16.1f\n", topics, ms, ms * 1000 / topics, form.Memo1->Lines()->Count(),
                bareMs);
    if (form.TrvMenu->Items()->Count() != topics) {
      std::printf("wrong node count %d\n", form.TrvMenu->Items()->Count());
      return 1;
    }
  }
  DeleteFileW(Widen(index).c_str());
  FinalizeApplication();
  return 0;
}
