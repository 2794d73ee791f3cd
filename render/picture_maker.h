#pragma once
// TPictureMaker: what only a drawing toolkit can do for an export, lent to
// the Qt-free exporters by a front end: measuring label texts as the screen
// draws them, and drawing PNG and SVG pictures.

#include <functional>
#include <string>
#include <string_view>

#include "render/canvas.h"

enum class TPictureFormat { pfEmf, pfWmf, pfSvg, pfPng };

class TPictureMaker {
 public:
  virtual ~TPictureMaker() = default;
  // Width and height of text in font, as the screen draws it.
  virtual TSize MeasureText(const TFontSpec& font, std::string_view text) = 0;
  // The bytes of a PNG or SVG picture of `size` pixels drawn by `draw`.
  // Raises ECyclornError when the picture cannot be made.
  virtual std::string MakePicture(TPictureFormat format, TSize size, const std::function<void(TCanvas&)>& draw) = 0;
};
