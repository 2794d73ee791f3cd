#pragma once
// TQtPictureMaker: measures label texts with Qt's font metrics and draws PNG
// and SVG pictures through the Qt canvas. Needs a running QGuiApplication.

#include <QFontMetrics>
#include <memory>

#include "render/picture_maker.h"

class TQtPictureMaker final : public TPictureMaker {
 public:
  // Texts are measured as the screen draws them; the metrics of the font
  // last asked for are kept, since looking a font up is the slow part.
  TSize MeasureText(const TFontSpec& font, std::string_view text) override;
  std::string MakePicture(TPictureFormat format, TSize size, const std::function<void(TCanvas&)>& draw) override;

 private:
  TFontSpec font_;
  std::unique_ptr<QFontMetrics> metrics_;
};
