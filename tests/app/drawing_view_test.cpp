// Zoom and pan in the drawing: the wheel zooms about the pointer, dragging
// pans, a click reports its point, "Fit to Window" shows the whole network,
// and a chosen loop is brought into view.

#include "render_qt/drawing_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "analysis/survey_simulator.h"
#include "render_qt/paint_box.h"
#include "render_qt/qt_canvas.h"
#include "tests/app/app_test_support.h"

namespace {

class DrawingView : public TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    form->resize(700, 500);
    QTest::qWait(0);
  }
  TDrawingView& View() const { return *form->ScrollBox1; }
  QPoint Scroll() const { return {View().horizontalScrollBar()->value(), View().verticalScrollBar()->value()}; }
  void Wheel(QPoint at, int delta) const {
    QWheelEvent event(QPointF(at), View().viewport()->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(View().viewport(), &event);
  }
  // The drawing point under viewport pixel `at`.
  QPointF Under(QPoint at) const { return form->PaintBox1->ToDrawing(QPointF(Scroll() + at)); }
  // Red pixels of the visible part of the drawing as the screen shows it.
  int RedPixelsInView() const {
    const QImage view = View().viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int red = 0;
    for (int y = 0; y < view.height(); ++y)
      for (int x = 0; x < view.width(); ++x) red += view.pixel(x, y) == qRgb(255, 0, 0);
    return red;
  }
};

TEST_F(DrawingView, TheWheelZoomsAboutThePointerAndActualSizeGoesBackToOneUnitAPixel) {
  form->ColumnSpin->SetValue(20);
  form->RowSpin->SetValue(20);
  Click(form->GridBtn);
  const QSize area = form->PaintBox1->AreaSize();
  View().horizontalScrollBar()->setValue(300);
  View().verticalScrollBar()->setValue(200);
  const QPoint pointer(150, 120);
  const QPointF before = Under(pointer);
  Wheel(pointer, 120);
  EXPECT_DOUBLE_EQ(View().Zoom(), TDrawingView::kZoomStep);
  EXPECT_EQ(form->PaintBox1->size(),
            QSize(static_cast<int>(std::ceil(area.width() * 1.25)), static_cast<int>(std::ceil(area.height() * 1.25))));
  EXPECT_NEAR(Under(pointer).x(), before.x(), 1);
  EXPECT_NEAR(Under(pointer).y(), before.y(), 1);
  Wheel(pointer, -240);  // two notches out
  EXPECT_NEAR(View().Zoom(), 1 / TDrawingView::kZoomStep, 1e-12);
  EXPECT_NEAR(Under(pointer).x(), before.x(), 1);
  // The limits hold however far the wheel turns; the area in units stays.
  for (int i = 0; i < 100; ++i) Wheel(pointer, -120);
  EXPECT_DOUBLE_EQ(View().Zoom(), TDrawingView::kMinZoom);
  EXPECT_EQ(form->PaintBox1->AreaSize(), area);
  form->ActualSize1->trigger();
  EXPECT_DOUBLE_EQ(View().Zoom(), 1);
  EXPECT_EQ(form->PaintBox1->size(), area);
  form->ZoomIn1->trigger();
  form->ZoomOut1->trigger();
  EXPECT_NEAR(View().Zoom(), 1, 1e-12);
}

TEST_F(DrawingView, DraggingPansAndAClickWithoutDraggingReportsItsPointInDrawingUnits) {
  form->ColumnSpin->SetValue(30);
  form->RowSpin->SetValue(30);
  Click(form->GridBtn);
  View().SetZoom(2, QPoint(0, 0));
  View().horizontalScrollBar()->setValue(400);
  View().verticalScrollBar()->setValue(300);
  QSignalSpy clicks(&View(), &TDrawingView::Clicked);
  QWidget* target = form->PaintBox1;
  const QPoint start = target->mapFrom(View().viewport(), QPoint(200, 200));
  QTest::mousePress(target, Qt::LeftButton, {}, start);
  QTest::mouseMove(target, start - QPoint(50, 80));
  QTest::mouseRelease(target, Qt::LeftButton, {}, start - QPoint(50, 80));
  EXPECT_EQ(Scroll(), QPoint(450, 380));
  EXPECT_EQ(clicks.count(), 0);

  const QPoint at = target->mapFrom(View().viewport(), QPoint(10, 20));
  QTest::mouseClick(target, Qt::LeftButton, {}, at);
  ASSERT_EQ(clicks.count(), 1);
  const QPointF point = clicks.at(0).at(0).toPointF();
  EXPECT_DOUBLE_EQ(point.x(), (450 + 10) / 2.0);
  EXPECT_DOUBLE_EQ(point.y(), (380 + 20) / 2.0);
}

TEST_F(DrawingView, FarOutTheScreenLeavesTheLabelsOut) {
  form->DisplaySettings.ArrowColor = TColor::Rgb(0, 0, 255);  // white stays the label boxes' own
  Click(form->Problem2Btn);
  const auto whitePixels = [this] {
    const QImage view = form->PaintBox1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int white = 0;
    for (int y = 0; y < view.height(); ++y)
      for (int x = 0; x < view.width(); ++x) white += view.pixel(x, y) == qRgb(255, 255, 255);
    return white;
  };
  View().SetZoom(0.5, QPoint(0, 0));
  EXPECT_GT(whitePixels(), 50);  // label boxes
  View().SetZoom(0.3, QPoint(0, 0));
  EXPECT_EQ(whitePixels(), 0);
  EXPECT_EQ(form->DisplaySettings.LabelShow, lsAll);  // the setting itself stays
}

TEST_F(DrawingView, AZoomedRepaintOfAPartLooksAsThatPartOfTheWholeZoomedPicture) {
  Click(form->Problem2Btn);
  Click(form->Button1);
  form->LoopSpin->SetValue(3);
  View().SetZoom(2.5, QPoint(0, 0));
  const QSize size = form->PaintBox1->size();
  QImage whole(size, QImage::Format_RGB32);
  whole.fill(Qt::white);
  {
    QPainter painter(&whole);
    painter.scale(2.5, 2.5);
    TQtCanvas canvas(painter, QRect(QPoint(0, 0), form->PaintBox1->AreaSize()));
    form->PaintBox1Paint(canvas);
  }
  for (const QRect part : {QRect(0, 0, 300, 200), QRect(333, 171, 257, 311), QRect(901, 517, 123, 99)}) {
    const QImage grabbed = form->PaintBox1->grab(part).toImage().convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < part.height(); ++y)
      for (int x = 0; x < part.width(); ++x)
        differing += grabbed.pixel(x, y) != whole.pixel(part.x() + x, part.y() + y);
    EXPECT_EQ(differing, 0) << part.x() << "," << part.y();
  }
}

TEST_F(DrawingView, FitToWindowShowsTheWholeCaveAndAChosenLoopComesIntoView) {
  TSimulationOptions options;
  options.Shape = TSimulatedShape::Cave;
  options.Legs = 400;
  options.Seed = 5;
  const QString path = TempPath(QStringLiteral("cave.svx"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(SimulateSurvey(options).Svx));
  }
  form->ChooseFile = [path](const TFileDialogRequest&) { return path; };
  form->OpenSurvey1->trigger();
  ASSERT_THAT(messages, testing::IsEmpty());
  form->FitToWindow1->trigger();
  const TSurveyGraph& graph = *form->WorkGraph;
  const QRectF seen = View().VisibleDrawingRect();
  EXPECT_TRUE(seen.contains(
      QRectF(QPointF(graph.MinCorner.X, graph.MinCorner.Y), QPointF(graph.MaxCorner.X, graph.MaxCorner.Y))));
  EXPECT_LT(View().Zoom(), 1);

  // Zoomed in far from it, loop 5 is brought into view when chosen.
  form->SetOptimizeRadioIndex(2);
  Click(form->Button1);
  ASSERT_GT(form->Loops->Count(), 5);
  View().SetZoom(4, QPoint(0, 0));
  View().horizontalScrollBar()->setValue(0);
  View().verticalScrollBar()->setValue(0);
  form->LoopSpin->SetValue(5);
  QTest::qWait(0);
  const TEdgeArray& loop = form->Loops->LoopAt(5);
  for (int32_t k = 0; k < loop.Count(); ++k) {
    const Vec3 p = graph.Positions.Get(loop.GetEdge(k).From);
    EXPECT_TRUE(View().VisibleDrawingRect().contains(QPointF(p.X, p.Y))) << k;
  }
  EXPECT_GT(RedPixelsInView(), 0);
}

}  // namespace
