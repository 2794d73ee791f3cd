// The drawing area repaints only the part that needs it, through the drawing
// index; whatever the commands did before, that part must look exactly as
// the same part of the whole picture.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "controls/integer_spin.h"
#include "render/drawing_index.h"
#include "render_qt/paint_box.h"
#include "render_qt/qt_canvas.h"
#include "tests/app/app_test_support.h"

namespace {

class PartialRepaint : public TWindowTest {
 protected:
  // `part` of the whole picture, drawn without the index into an image of
  // that part shifted as a widget's repaint shifts it (the painter draws a
  // clipped line's pixels from where the device starts).
  QImage Whole(const QRect& part) const {
    QImage image(part.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-part.topLeft());
    painter.setClipRect(part);
    TQtCanvas canvas(painter, part);
    form->PaintBox1Paint(canvas);
    return image;
  }

  // Repaints `part` of the drawing area as the screen does and compares it
  // with the same part of the whole picture.
  void ExpectPartAsInWhole(const QRect& part) const {
    const QImage grabbed = form->PaintBox1->grab(part).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected = Whole(part);
    ASSERT_EQ(grabbed.size(), expected.size());
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y)
      for (int x = 0; x < expected.width(); ++x) differing += grabbed.pixel(x, y) != expected.pixel(x, y);
    EXPECT_EQ(differing, 0) << "in " << part.x() << "," << part.y() << " " << part.width() << "x" << part.height();
  }

  void BuildJitteredGrid() {
    form->ColumnSpin->SetValue(50);
    form->RowSpin->SetValue(40);
    form->RandomSpin->SetValue(40);
    form->DensitySpin->SetValue(80);
    Click(form->GridBtn);
  }
};

TEST_F(PartialRepaint, ShowsTheWholePicturesPartAfterEveryCommandThatChangesIt) {
  BuildJitteredGrid();
  ASSERT_GT(form->PaintBox1->width(), 3000);
  const QRect part(1210, 905, 613, 411);
  ExpectPartAsInWhole(part);
  // The same network again with other random offsets: as many stations and
  // shots as before, each somewhere else.
  BuildJitteredGrid();
  ExpectPartAsInWhole(part);

  Click(form->Button1);
  ASSERT_TRUE(form->ShowLoops);
  ASSERT_GT(form->Loops->Count(), 100);
  ExpectPartAsInWhole(part);
  form->LoopSpin->SetValue(form->Loops->Count() / 2);
  ExpectPartAsInWhole(part);
  ExpectPartAsInWhole(QRect(0, 0, 300, 200));

  form->PageControl1->setCurrentIndex(1);
  Click(form->PrimBtn);
  ExpectPartAsInWhole(part);
  Click(form->OriginalBtn);
  Click(form->OptimizeBtn);
  ExpectPartAsInWhole(part);

  form->DisplaySettings.LineWidth = 5;
  form->DisplaySettings.LabelMode = lmIndex;
  form->DisplaySettings.LabelFont.Height = -19;
  ExpectPartAsInWhole(part);

  form->ColumnSpin->SetValue(3);
  form->RowSpin->SetValue(2);
  Click(form->GridBtn);
  ExpectPartAsInWhole(QRect(0, 0, 400, 300));
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PartialRepaint, ScrollingRepaintsOnlyTheUncoveredStripsAndKeepsTheIndex) {
  BuildJitteredGrid();
  form->resize(900, 700);
  QTest::qWait(0);
  (void)form->grab();  // first paint: the index is built
  const int64_t built = form->DrawingIndex->Builds();
  ASSERT_GE(built, 1);
  QScrollBar* bar = form->ScrollBox1->horizontalScrollBar();
  for (int step = 0; step < 5; ++step) {
    bar->setValue(bar->value() + 137);
    (void)form->grab();
  }
  form->ScrollBox1->verticalScrollBar()->setValue(1500);
  const QPoint origin = form->PaintBox1->mapFrom(form->ScrollBox1->viewport(), QPoint(0, 0));
  ExpectPartAsInWhole(QRect(origin, form->ScrollBox1->viewport()->size()));
  EXPECT_EQ(form->DrawingIndex->Builds(), built);
}

}  // namespace
