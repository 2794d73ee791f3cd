#pragma once
// TQtPictureMaker: measures label texts with Qt's font metrics and draws PNG
// and SVG pictures through the Qt canvas. Needs a running QGuiApplication.

#include "render/picture_maker.h"

class TQtPictureMaker final : public TPictureMaker {
 public:
  TSize MeasureText(const TFontSpec& font, std::string_view text) override;
  std::string MakePicture(TPictureFormat format, TSize size, const std::function<void(TCanvas&)>& draw) override;
};
