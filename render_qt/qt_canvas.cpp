#include "render_qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPolygon>
#include <QString>

#include "render_qt/qt_conversions.h"

namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Right and Bottom are outside the rectangle.
QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

QRect DefaultClip(const QPainter& painter) {
  const QRect device(0, 0, painter.device()->width(), painter.device()->height());
  if (!painter.hasClipping()) return device;
  return painter.clipBoundingRect().toAlignedRect() & device;
}

}  // namespace

TQtCanvas::TQtCanvas(QPainter& painter) : TQtCanvas(painter, DefaultClip(painter)) {}

TQtCanvas::TQtCanvas(QPainter& painter, const QRect& clip)
    : painter_(painter),
      clip_(clip),
      font_(ToQFont(fontSpec_)),
      metrics_(font_, painter.device()),
      fontColor_(ToQColor(fontSpec_.Color)) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

void TQtCanvas::SetBrushColor(TColor color) { brushColor_ = ToQColor(color); }
void TQtCanvas::SetBrushStyle(TBrushStyle style) { brushStyle_ = style; }
void TQtCanvas::SetPenColor(TColor color) { penColor_ = ToQColor(color); }
void TQtCanvas::SetPenWidth(int32_t width) { penWidth_ = width; }

void TQtCanvas::SetFont(const TFontSpec& font) {
  // Every label sets the same font again; building the QFont once keeps
  // repaints of large networks cheap.
  if (font == fontSpec_) return;
  fontSpec_ = font;
  font_ = ToQFont(font);
  metrics_ = QFontMetrics(font_, painter_.device());
  textWidths_.clear();
  fontColor_ = ToQColor(font.Color);
}

TRect TQtCanvas::ClipRect() const { return {clip_.left(), clip_.top(), clip_.right() + 1, clip_.bottom() + 1}; }

void TQtCanvas::FillRect(const TRect& rect) {
  if (brushStyle_ == TBrushStyle::bsSolid) painter_.fillRect(ToQRect(rect), brushColor_);
}

TSize TQtCanvas::TextExtent(std::string_view text) {
  // A station is labelled once per edge; measuring its name once per font
  // saves shaping the same text again and again.
  auto known = textWidths_.find(std::string(text));
  if (known == textWidths_.end())
    known = textWidths_.emplace(std::string(text), metrics_.horizontalAdvance(ToQString(text))).first;
  return {known->second, metrics_.height()};
}

void TQtCanvas::Rectangle(const TRect& rect) {
  if (rect.Right - rect.Left < 1 || rect.Bottom - rect.Top < 1) return;
  if (!MayShow(ToQRect(rect))) return;
  UsePenAndBrush();
  // A one-pixel outline of a QRect covers its width plus one, so the outline
  // runs on the last pixels inside Right and Bottom.
  painter_.drawRect(QRect(rect.Left, rect.Top, rect.Right - rect.Left - 1, rect.Bottom - rect.Top - 1));
}

void TQtCanvas::TextRect(const TRect& clip, int32_t x, int32_t y, std::string_view text) {
  const QRect box = ToQRect(clip);
  // Text is clipped to its box, so a box outside the repainted part shows
  // nothing; skipping it saves laying out text that cannot be seen.
  if (!box.intersects(clip_)) return;
  if (brushStyle_ == TBrushStyle::bsSolid) painter_.fillRect(box, brushColor_);
  painter_.save();
  painter_.setClipRect(box, painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  painter_.setFont(font_);
  painter_.setPen(fontColor_);
  painter_.drawText(QPoint(x, y + metrics_.ascent()), ToQString(text));
  painter_.restore();
}

void TQtCanvas::MoveTo(TPoint point) { position_ = QPoint(point.X, point.Y); }

void TQtCanvas::LineTo(TPoint point) {
  const QPoint to(point.X, point.Y);
  if (MayShow(QRect(position_, to).normalized())) {
    UsePenAndBrush();
    painter_.drawLine(position_, to);
  }
  position_ = to;
}

void TQtCanvas::Polygon(std::span<const TPoint> points) {
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const TPoint& p : points) polygon.append(QPoint(p.X, p.Y));
  if (!MayShow(polygon.boundingRect())) return;
  UsePenAndBrush();
  painter_.drawPolygon(polygon);
}

// Large networks are mostly outside the repainted part; the painter would
// clip such shapes away anyway, after setting up pen and brush for each.
bool TQtCanvas::MayShow(const QRect& bounds) const {
  const int reach = penWidth_ + 1;
  return bounds.adjusted(-reach, -reach, reach, reach).intersects(clip_);
}

void TQtCanvas::UsePenAndBrush() {
  QPen pen(penColor_, penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  // Zoomed out, lines keep their width in pixels, so that a whole cave stays visible.
  if (painter_.worldTransform().m11() < 1) pen.setCosmetic(true);
  painter_.setPen(pen);
  if (brushStyle_ == TBrushStyle::bsSolid) {
    painter_.setBrush(brushColor_);
  } else {
    painter_.setBrush(Qt::NoBrush);
  }
}
