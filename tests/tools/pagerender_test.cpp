// PageRender, the built-in view's half of the page comparison sheets: the
// program itself run on a corpus page, its command line, and its PNGs read
// back through the imaging component.

#include "tools/pagecompare/pagerender.h"

#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/sysutils.h"
#include "framework/winstring.h"
#include "pageview/htmlview.h"

namespace hv::pagecompare {
namespace {

// Paths of the build and source trees, as the Windows side sees them.
std::wstring Unix(const char* path) { return L"Z:" + Widen(path); }

std::wstring CorpusPage(const char* name) {
  return Unix(HV_SOURCE_DIR) + L"/tools/pagecompare/corpus/" + Widen(name);
}

std::wstring TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + L"pagerender_test_" + name;
  DeleteFileW(path.c_str());
  return path;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Contents(const std::wstring& path) {
  std::ifstream in(Narrow(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs PageRender.exe with the arguments and gives its exit code (-1 when it
// did not start or finish).
long RunRender(const std::wstring& arguments) {
  const std::wstring exe = Unix(PAGE_RENDER_EXE);
  std::wstring line = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return -1;
  CloseHandle(info.hThread);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
  else TerminateProcess(info.hProcess, 99);
  CloseHandle(info.hProcess);
  return static_cast<long>(code);
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Reads a PNG with the platform's decoder, independent of the writer's code.
Picture ReadPng(const std::wstring& path) {
  Picture picture;
  IWICImagingFactory* factory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory))))
    return picture;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICBitmapSource* converted = nullptr;
  GUID container{};
  UINT w = 0, h = 0;
  if (SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetContainerFormat(&container)) && container == GUID_ContainerFormatPng &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&w, &h)) &&
      SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &converted))) {
    picture.pixels.resize(static_cast<size_t>(w) * h);
    if (SUCCEEDED(converted->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(picture.pixels.data())))) {
      picture.width = static_cast<int>(w);
      picture.height = static_cast<int>(h);
      for (uint32_t& p : picture.pixels) p &= 0xFFFFFF;
    } else {
      picture.pixels.clear();
    }
  }
  if (converted) converted->Release();
  if (frame) frame->Release();
  if (decoder) decoder->Release();
  factory->Release();
  return picture;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The page as a view of the given width lays it out in this process, in a
// view tall enough never to need a scroll bar.
html::PageLayout LayoutAt(const std::wstring& page, int width) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PageRenderTestHost";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                              nullptr);
  html::PageLayout layout;
  {
    THtmlView view;
    view.SetErrorHandler([](const std::string& message) { ADD_FAILURE() << message; });
    view.Create(host, RECT{0, 0, width, 20000});
    EXPECT_TRUE(view.Navigate(page));
    // A long page is whole once the view's worker has laid it out.
    while (view.Loading()) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    layout = view.Layout();
  }
  DestroyWindow(host);
  return layout;
}

class ComUser : public ::testing::Test {
 protected:
  void SetUp() override { started_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
  void TearDown() override {
    if (started_) CoUninitialize();
  }
  bool started_ = false;
};

using PageRenderProgram = ComUser;

TEST_F(PageRenderProgram, DrawsTheWholeCorpusPageAtTheWidthAskedFor) {
  const std::wstring page = CorpusPage("docbook-scheduling.html");
  const std::wstring out = TempFile(L"docbook.png");
  ASSERT_EQ(RunRender(Quoted(page) + L" " + Quoted(out) + L" --width 640"), 0);
  Picture picture = ReadPng(out);
  const html::PageLayout layout = LayoutAt(page, 640);
  ASSERT_GT(layout.height, 1500) << "the chapter is several screens long";
  EXPECT_EQ(picture.width, 640);
  ASSERT_EQ(picture.height, layout.height);

  // The figure far down the page, with its colours in the right channels:
  // its pale ground, its grey frame, the blue first stage.
  const html::LayoutBox* figure = nullptr;
  for (const html::LayoutBox& box : layout.boxes)
    if (box.kind == html::BoxKind::Image && box.text == "images/pipeline.png") figure = &box;
  ASSERT_NE(figure, nullptr);
  ASSERT_EQ(figure->rect.right - figure->rect.left, 420);
  ASSERT_EQ(figure->rect.bottom - figure->rect.top, 110);
  const int x = figure->rect.left, y = figure->rect.top;
  EXPECT_EQ(picture.At(x, y), 0xA0A096u);
  EXPECT_EQ(picture.At(x + 5, y + 5), 0xF8F8F0u);
  EXPECT_EQ(picture.At(x + 70, y + 55), 0xC8DCFAu);
  EXPECT_EQ(picture.At(x + 419, y + 109), 0xA0A096u);
  DeleteFileW(out.c_str());
}

TEST_F(PageRenderProgram, CutsATallPageAtTheMaximumHeight) {
  const std::wstring page = CorpusPage("texinfo-patterns.html");
  const std::wstring whole = TempFile(L"whole.png");
  const std::wstring top = TempFile(L"top.png");
  ASSERT_EQ(RunRender(Quoted(page) + L" " + Quoted(whole) + L" --width 500"), 0);
  ASSERT_EQ(RunRender(L"--max-height 400 " + Quoted(page) + L" " + Quoted(top) + L" --width 500"), 0);
  Picture all = ReadPng(whole);
  Picture cut = ReadPng(top);
  ASSERT_GT(all.height, 400);
  ASSERT_EQ(cut.width, 500);
  ASSERT_EQ(cut.height, 400);
  // The top of the page, not its end.
  EXPECT_TRUE(std::equal(cut.pixels.begin(), cut.pixels.end(), all.pixels.begin()));
  DeleteFileW(whole.c_str());
  DeleteFileW(top.c_str());
}

TEST_F(PageRenderProgram, ALongPageIsDrawnWholeNotJustItsFirstPart) {
  std::string text = "<html><body>";
  for (int i = 0; i < 4000; ++i) text += "<p>Paragraph " + std::to_string(i) + " of a page far longer than a screen.</p>";
  text += "<p>The last paragraph.</p></body></html>";
  ASSERT_GT(text.size(), 2 * THtmlView::kFirstPartBytes);
  const std::wstring page = TempFile(L"long.htm");
  std::ofstream(Narrow(page), std::ios::binary) << text;
  const PageShot shot = RenderPage(page, 500, 50);
  const html::PageLayout layout = LayoutAt(page, 500);
  EXPECT_EQ(shot.pageHeight, layout.height);
  EXPECT_GT(shot.pageHeight, 4000 * 13) << "every paragraph takes a line at least";
  EXPECT_EQ(shot.height, 50);
  DeleteFileW(page.c_str());
}

TEST_F(PageRenderProgram, AFailedPageKeepsThePictureThatWasThere) {
  const std::wstring out = TempFile(L"kept.png");
  std::ofstream(Narrow(out), std::ios::binary) << "the earlier picture";
  EXPECT_EQ(RunRender(Quoted(CorpusPage("no-such-page.html")) + L" " + Quoted(out)), 1);
  EXPECT_EQ(Contents(out), "the earlier picture");
  EXPECT_FALSE(Exists(out + L".part"));
  DeleteFileW(out.c_str());
}

TEST_F(PageRenderProgram, AWrongCommandLineWritesNothing) {
  const std::wstring page = Quoted(CorpusPage("html4-ledger.htm"));
  const std::wstring out = TempFile(L"refused.png");
  for (const std::wstring& args : {std::wstring(), page, page + L" " + Quoted(out) + L" --width 5",
                                   page + L" " + Quoted(out) + L" --width wide",
                                   page + L" " + Quoted(out) + L" --zoom 2", page + L" " + Quoted(out) + L" --width"}) {
    EXPECT_EQ(RunRender(args), 2) << Narrow(args);
    EXPECT_FALSE(Exists(out)) << Narrow(args);
  }
}

TEST(PageRenderArguments, OptionsGoAnywhereAndHaveDefaults) {
  RenderRequest plain = ParseArguments({L"a.htm", L"a.png"});
  EXPECT_EQ(plain.page, L"a.htm");
  EXPECT_EQ(plain.output, L"a.png");
  EXPECT_EQ(plain.width, 800);
  EXPECT_EQ(plain.maxHeight, 8000);
  RenderRequest mixed = ParseArguments({L"--max-height", L"123", L"b.htm", L"--width", L"4000", L"b.png"});
  EXPECT_EQ(mixed.page, L"b.htm");
  EXPECT_EQ(mixed.output, L"b.png");
  EXPECT_EQ(mixed.width, 4000);
  EXPECT_EQ(mixed.maxHeight, 123);
}

TEST(PageRenderArguments, EachMistakeIsNamed) {
  auto message = [](std::vector<std::wstring> args) {
    try {
      ParseArguments(args);
    } catch (const EConvertError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(message({L"a.htm", L"a.png", L"--width", L"99"}), "--width must be from 100 to 4000, not 99");
  EXPECT_EQ(message({L"a.htm", L"a.png", L"--max-height", L"30001"}), "--max-height must be from 1 to 30000, not 30001");
  EXPECT_EQ(message({L"a.htm", L"a.png", L"--width", L"8x"}), "--width needs a whole number, not '8x'");
  EXPECT_EQ(message({L"a.htm", L"a.png", L"--max-height"}), "--max-height needs a value");
  EXPECT_EQ(message({L"a.htm", L"a.png", L"--scale", L"2"}), "Unknown option --scale");
  EXPECT_NE(message({L"a.htm"}).find("Usage: PageRender"), std::string::npos);
  EXPECT_NE(message({L"a.htm", L"b.png", L"c.png"}).find("Usage: PageRender"), std::string::npos);
}

using PageRenderPng = ComUser;

TEST_F(PageRenderPng, EveryChannelOfEveryPixelComesBack) {
  PageShot shot;
  shot.width = 3;
  shot.height = 2;
  shot.pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFEDCBA, 0x000000};
  const std::wstring out = TempFile(L"roundtrip.png");
  SavePng(shot, out);
  Picture back = ReadPng(out);
  EXPECT_EQ(back.width, 3);
  EXPECT_EQ(back.height, 2);
  EXPECT_EQ(back.pixels, shot.pixels);
  EXPECT_FALSE(Exists(out + L".part"));
  DeleteFileW(out.c_str());
}

TEST_F(PageRenderPng, AnUnwritablePlaceOrAnEmptyShotIsAnError) {
  PageShot shot;
  shot.width = 1;
  shot.height = 1;
  shot.pixels = {0xFFFFFF};
  const std::wstring nowhere = TempFile(L"no-such-folder\\x.png");
  EXPECT_THROW(SavePng(shot, nowhere), EWriteError);
  EXPECT_FALSE(Exists(nowhere));
  PageShot empty;
  const std::wstring out = TempFile(L"empty.png");
  EXPECT_THROW(SavePng(empty, out), EWriteError);
  PageShot lying;
  lying.width = 4;
  lying.height = 4;
  lying.pixels = {0};
  EXPECT_THROW(SavePng(lying, out), EWriteError);
  EXPECT_FALSE(Exists(out));
}

}  // namespace
}  // namespace hv::pagecompare
