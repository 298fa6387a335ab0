#include <string>

#include "framework/filer.h"
#include "framework/graphics.h"
#include "framework/stream.h"
#include "framework/sysutils.h"

namespace hv {

namespace {
struct TGraphicClass {
  std::string name;
  TPicture::TGraphicFactory factory;
};

std::vector<TGraphicClass>& GraphicClasses() {
  static std::vector<TGraphicClass> classes{
      {"TBitmap", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TBitmap>(); }},
      {"TIcon", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TIcon>(); }},
  };
  return classes;
}

std::unique_ptr<TGraphic> CreateGraphic(std::string_view className) {
  for (const TGraphicClass& c : GraphicClasses())
    if (SameText(c.name, className)) return c.factory();
  throw EInvalidGraphic("Unknown picture format");
}
}  // namespace

void TPicture::RegisterGraphicClass(std::string_view className, TGraphicFactory factory) {
  for (TGraphicClass& c : GraphicClasses())
    if (SameText(c.name, className)) {
      c.factory = factory;
      return;
    }
  GraphicClasses().push_back({std::string(className), factory});
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
  if (graphic == graphic_.get()) return;
  if (!graphic) {
    Adopt(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy = CreateGraphic(graphic->ClassName());
  copy->Assign(graphic);
  Adopt(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_.get())) Adopt(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(graphic_.get())) Adopt(std::make_unique<TIcon>());
  return static_cast<TIcon*>(graphic_.get());
}

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }
int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::Assign(const TPersistent* source) {
  if (!source) return SetGraphic(nullptr);
  if (auto picture = dynamic_cast<const TPicture*>(source)) return SetGraphic(picture->Graphic());
  if (auto graphic = dynamic_cast<const TGraphic*>(source)) return SetGraphic(graphic);
  TPersistent::Assign(source);
}

void TPicture::AssignTo(TPersistent* dest) const {
  if (graphic_ && dynamic_cast<TGraphic*>(dest)) return dest->Assign(graphic_.get());
  TPersistent::AssignTo(dest);
}

std::vector<uint8_t> TPicture::SaveToData() const {
  if (!graphic_) return {};
  std::string_view name = graphic_->ClassName();
  TMemoryStream stream;
  uint8_t length = static_cast<uint8_t>(name.size());
  stream.WriteBuffer(&length, 1);
  stream.WriteBuffer(name.data(), length);
  graphic_->SaveToStream(stream);
  return stream.Bytes();
}

void TPicture::LoadFromData(std::span<const uint8_t> data) {
  if (data.empty()) return SetGraphic(nullptr);
  size_t length = data[0];
  if (data.size() < 1 + length) throw EInvalidGraphic("Unknown picture format");
  std::string_view name(reinterpret_cast<const char*>(data.data() + 1), length);
  std::unique_ptr<TGraphic> graphic = CreateGraphic(name);
  TCustomMemoryStream stream(data.data() + 1 + length, data.size() - 1 - length);
  graphic->LoadFromStream(stream);
  Adopt(std::move(graphic));
}

void TPicture::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](TStream& stream) { LoadFromData(stream.ReadRest(TMemoryStream::kMaxSize)); },
      [this](TStream& stream) {
        std::vector<uint8_t> data = SaveToData();
        stream.WriteBuffer(data.data(), data.size());
      },
      graphic_ && !graphic_->Empty());
}

}  // namespace hv
