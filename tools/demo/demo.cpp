// A small form of the framework's own controls, made from its stored layout:
// aligned panels, windowless buttons with hover and capture, a splitter and
// a timer. A place to see the framework work without the theme engine.

#include <windows.h>

#include "framework/application.h"
#include "framework/classes.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/standardclasses.h"
#include "framework/timer.h"

namespace hv {

class TFrmDemo : public TForm {
  HV_CLASS_NO_PROPERTIES(TFrmDemo, TForm)

 public:
  explicit TFrmDemo(TComponent* owner) : TForm(owner) {
    PublishField("Status", Status);
    PublishField("Counter", Counter);
    PublishMethod<void(TObject*)>("TickerTimer", [this](TObject*) {
      ++ticks_;
      Status->SetPanel(0, 120, "ticks: " + std::to_string(ticks_));
    });
    PublishMethod<void(TObject*)>("CountClick", [this](TObject*) {
      ++clicks_;
      Counter->SetCaption("clicked " + std::to_string(clicks_) + " times");
    });
  }
  TStatusBar* Status = nullptr;
  TPanel* Counter = nullptr;

 private:
  int ticks_ = 0;
  int clicks_ = 0;
};

}  // namespace hv

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace hv;
  try {
    Application()->Initialize();
    RegisterStandardClasses();
    RegisterClasses<TFrmDemo>();
    Application()->CreateForm<TFrmDemo>();
    Application()->Run();
  } catch (...) {
    Application()->HandleException(nullptr);
  }
  FinalizeApplication();
  return 0;
}
