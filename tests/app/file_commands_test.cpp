#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

#include "render_qt/paint_box.h"
#include "tests/app/app_test_support.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

class FileCommands : public TWindowTest {
 protected:
  // Answers the next file dialogs with `name`, remembering what was asked.
  void Answer(const QString& name) {
    form->ChooseFile = [this, name](const TFileDialogRequest& request) {
      requests.push_back(request);
      return name;
    };
  }

  std::vector<TFileDialogRequest> requests;
};

void ExpectSameNetwork(const TSurveyGraph& a, const TSurveyGraph& b) {
  ASSERT_EQ(a.StationCount(), b.StationCount());
  for (int32_t i = 0; i < a.StationCount(); ++i) {
    EXPECT_EQ(a.GetStation(i).Name, b.GetStation(i).Name);
    EXPECT_EQ(a.GetStation(i).Position, b.GetStation(i).Position);
  }
  ASSERT_EQ(a.Edges.Count(), b.Edges.Count());
  for (int32_t i = 0; i < a.Edges.Count(); ++i) EXPECT_EQ(a.Edges.GetEdge(i), b.Edges.GetEdge(i));
}

TEST_F(FileCommands, SaveAndLoadGoThroughTheirDialogsAndBringTheNetworkBack) {
  const QString path = TempPath(QStringLiteral("grid.grf"));
  form->ColumnSpin->SetValue(12);
  form->RowSpin->SetValue(9);
  form->RandomSpin->SetValue(40);
  Click(form->GridBtn);
  TSurveyGraph saved;
  CopyStations(*form->WorkGraph, saved);
  for (int32_t i = 0; i < form->WorkGraph->Edges.Count(); ++i) saved.AddEdge(form->WorkGraph->Edges.GetEdge(i));

  // The work graph is saved even while the tree is shown.
  Click(form->DepthFirstBtn);
  Answer(path);
  form->SaveFile1->trigger();
  ASSERT_THAT(requests, SizeIs(1));
  EXPECT_EQ(requests[0].Kind, TFileDialogRequest::fkSave);
  EXPECT_EQ(requests[0].Title, QStringLiteral("Save Graph"));
  EXPECT_EQ(requests[0].FileName, QStringLiteral("*.grf"));
  EXPECT_EQ(requests[0].Filter, QStringLiteral("Graph Files (*.grf);;All Files (*)"));
  EXPECT_TRUE(requests[0].DefaultSuffix.isEmpty());
  ASSERT_TRUE(QFile::exists(path));
  EXPECT_EQ(form->ShownGraph, form->ResultGraph.get());

  Click(form->Problem3Btn);
  Click(form->Button1);
  form->ShownGraph = form->ResultGraph.get();
  form->LoadFile1->trigger();
  ASSERT_THAT(requests, SizeIs(2));
  EXPECT_EQ(requests[1].Kind, TFileDialogRequest::fkOpen);
  EXPECT_EQ(requests[1].FileName, QStringLiteral("*.grf"));
  EXPECT_EQ(requests[1].Filter, QStringLiteral("Graph Files (*.grf);;All Files (*)"));
  ExpectSameNetwork(*form->WorkGraph, saved);
  EXPECT_EQ(form->ShownGraph, form->WorkGraph.get());
  EXPECT_FALSE(form->ShowLoops);
  // The loops of the network before are gone with it.
  EXPECT_EQ(form->Loops->Count(), 0);
  EXPECT_TRUE(form->LoopCntDis->text().isEmpty());
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(FileCommands, LoadingFitsTheDrawingAreaToTheNetwork) {
  QFile file(TempPath(QStringLiteral("wide.grf")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("2\r\nFAR\r\n3000 200 0\r\nNEAR\r\n10 1500.5 0\r\n1\r\n0 1\r\n");
  file.close();
  Answer(file.fileName());
  form->LoadFile1->trigger();
  EXPECT_THAT(messages, IsEmpty());
  EXPECT_EQ(form->PaintBox1->size(), QSize(3025, 1525));
}

TEST_F(FileCommands, ABadFileShowsItsMessageAndKeepsThePreviousNetworkAndView) {
  Click(form->Problem1);
  Click(form->Button1);
  const int32_t loops = form->Loops->Count();
  const QString counter = form->LoopCntDis->text();
  const QSize area = form->PaintBox1->size();

  Answer(DataPath(QStringLiteral("bad_number.grf")));
  form->LoadFile1->trigger();
  EXPECT_THAT(messages, ElementsAre(QStringLiteral("Invalid numeric input (line 7)")));
  EXPECT_EQ(form->WorkGraph->StationCount(), 20);
  EXPECT_EQ(form->WorkGraph->Edges.Count(), 16);
  EXPECT_EQ(form->WorkGraph->GetStation(0).Name, "A");
  EXPECT_TRUE(form->ShowLoops);
  EXPECT_EQ(form->Loops->Count(), loops);
  EXPECT_EQ(form->LoopCntDis->text(), counter);
  EXPECT_EQ(form->PaintBox1->size(), area);

  messages.clear();
  Answer(TempPath(QStringLiteral("missing.grf")));
  form->LoadFile1->trigger();
  EXPECT_THAT(messages, ElementsAre(QStringLiteral("File not found")));
  EXPECT_EQ(form->WorkGraph->StationCount(), 20);

  // The good file next to it loads.
  messages.clear();
  Answer(DataPath(QStringLiteral("square.grf")));
  form->LoadFile1->trigger();
  EXPECT_THAT(messages, IsEmpty());
  EXPECT_EQ(form->WorkGraph->StationCount(), 4);
  EXPECT_EQ(form->WorkGraph->Edges.Count(), 4);
}

TEST_F(FileCommands, CancellingADialogChangesNothing) {
  Click(form->Problem2Btn);
  Click(form->Button1);
  Answer(QString());
  form->LoadFile1->trigger();
  form->SaveFile1->trigger();
  EXPECT_THAT(requests, SizeIs(2));
  EXPECT_EQ(form->WorkGraph->StationCount(), 20);
  EXPECT_TRUE(form->ShowLoops);
  EXPECT_EQ(form->Loops->Count(), 10);
  EXPECT_THAT(QDir(tempDir).entryList(QDir::Files), IsEmpty());
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(FileCommands, ASaveThatCannotBeWrittenIsReportedAndTheProgramCarriesOn) {
  Click(form->Problem2Btn);
  Answer(TempPath(QStringLiteral("no/such/folder/graph.grf")));
  form->SaveFile1->trigger();
  EXPECT_THAT(messages, SizeIs(1));
  EXPECT_EQ(form->WorkGraph->StationCount(), 20);
  messages.clear();
  Click(form->Button1);
  EXPECT_EQ(form->Loops->Count(), 10);
  EXPECT_THAT(messages, IsEmpty());
}

TEST_F(FileCommands, SaveMetafileWritesTheGraphViewInTheFormatOfItsName) {
  Click(form->Problem2Btn);
  Click(form->Button1);  // the loop view is shown, the graph view is exported
  const QString emf = TempPath(QStringLiteral("grid.emf"));
  Answer(emf);
  form->SaveMetafile1->trigger();
  ASSERT_THAT(requests, SizeIs(1));
  EXPECT_EQ(requests[0].Kind, TFileDialogRequest::fkSave);
  EXPECT_EQ(requests[0].Title, QStringLiteral("Save Metafile"));
  EXPECT_EQ(requests[0].FileName, QStringLiteral("*.emf"));
  EXPECT_EQ(requests[0].Filter, QStringLiteral("Metafiles (*.emf);;All Files (*)"));
  EXPECT_EQ(requests[0].DefaultSuffix, QStringLiteral("emf"));
  QFile file(emf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray header = file.read(44);
  EXPECT_EQ(header.mid(40, 4), QByteArray(" EMF"));  // the enhanced metafile signature
  file.close();

  const QString wmf = TempPath(QStringLiteral("grid.WMF"));
  Answer(wmf);
  form->SaveMetafile1->trigger();
  QFile placeable(wmf);
  ASSERT_TRUE(placeable.open(QIODevice::ReadOnly));
  EXPECT_EQ(placeable.read(4), QByteArray("\xD7\xCD\xC6\x9A", 4));  // the placeable key
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(form->ShowLoops);
  EXPECT_THAT(messages, IsEmpty());

  // A file that cannot be written is reported and the cursor is back.
  Answer(TempPath(QStringLiteral("no/such/folder/grid.emf")));
  form->SaveMetafile1->trigger();
  EXPECT_THAT(messages, SizeIs(1));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
