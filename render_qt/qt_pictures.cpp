#include "render_qt/qt_pictures.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "core/errors.h"
#include "render_qt/qt_canvas.h"
#include "render_qt/qt_conversions.h"

TSize TQtPictureMaker::MeasureText(const TFontSpec& font, std::string_view text) {
  if (!metrics_ || !(font == font_)) {
    metrics_ = std::make_unique<QFontMetrics>(ToQFont(font));
    font_ = font;
  }
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return {metrics_->horizontalAdvance(qtext), metrics_->height()};
}

std::string TQtPictureMaker::MakePicture(TPictureFormat format, TSize size, const std::function<void(TCanvas&)>& draw) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format == TPictureFormat::pfSvg) {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(size.Width, size.Height));
    generator.setViewBox(QRect(0, 0, size.Width, size.Height));
    generator.setTitle(QStringLiteral("Cyclorn"));
    QPainter painter(&generator);
    TQtCanvas canvas(painter);
    draw(canvas);
  } else if (format == TPictureFormat::pfPng) {
    QImage image(size.Width, size.Height, QImage::Format_RGB32);
    if (image.isNull())
      throw ECyclornError("A picture of " + std::to_string(size.Width) + " x " + std::to_string(size.Height) +
                          " pixels does not fit in memory");
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      TQtCanvas canvas(painter);
      draw(canvas);
    }
    if (!image.save(&buffer, "PNG")) throw ECyclornError("The PNG picture could not be made");
  } else {
    throw ECyclornError("Qt draws only SVG and PNG pictures here");
  }
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
