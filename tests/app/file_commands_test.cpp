#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include "app/application.h"
#include "render_qt/paint_box.h"
#include "render_qt/qt_pictures.h"
#include "tests/app/app_test_support.h"
#include "workbench/picture_export.h"

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
  // Surveys load through the same command.
  EXPECT_EQ(requests[1].Filter, QStringLiteral("Graph Files (*.grf);;Survey Files (*.3d *.svx);;All Files (*)"));
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
  // The message names the file.
  EXPECT_THAT(messages, ElementsAre(DataPath(QStringLiteral("bad_number.grf")) +
                                    QStringLiteral(": Invalid numeric input (line 7)")));
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
  EXPECT_THAT(messages, ElementsAre(TempPath(QStringLiteral("missing.grf")) + QStringLiteral(": File not found")));
  EXPECT_EQ(form->WorkGraph->StationCount(), 20);

  // The good file next to it loads.
  messages.clear();
  Answer(DataPath(QStringLiteral("square.grf")));
  form->LoadFile1->trigger();
  EXPECT_THAT(messages, IsEmpty());
  EXPECT_EQ(form->WorkGraph->StationCount(), 4);
  EXPECT_EQ(form->WorkGraph->Edges.Count(), 4);
}

TEST_F(FileCommands, LoadingADeviceAFifoOrAFolderIsRefusedAtOnceAndKeepsTheNetwork) {
  Click(form->Problem2Btn);
  const QString fifo = TempPath(QStringLiteral("no-writer.grf"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  for (const QString& name : {QStringLiteral("/dev/zero"), fifo, tempDir}) {
    Answer(name);
    form->LoadFile1->trigger();
  }
  EXPECT_THAT(messages, ElementsAre(QStringLiteral("/dev/zero: Not a regular file (a device)"),
                                    fifo + QStringLiteral(": Not a regular file (a pipe)"),
                                    tempDir + QStringLiteral(": Not a regular file (a folder)")));
  EXPECT_EQ(form->WorkGraph->StationCount(), 20);
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

QByteArray FileBytes(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(FileCommands, SaveMetafileWritesWhatTheWindowShowsInTheFormatOfItsName) {
  Click(form->Problem2Btn);
  const QString graphView = TempPath(QStringLiteral("graph.svg"));
  Answer(graphView);
  form->SaveMetafile1->trigger();
  Click(form->Button1);  // the loop view with loop 0 on top
  const QString emf = TempPath(QStringLiteral("grid.emf"));
  Answer(emf);
  form->SaveMetafile1->trigger();
  ASSERT_THAT(requests, SizeIs(2));
  EXPECT_EQ(requests[1].Kind, TFileDialogRequest::fkSave);
  EXPECT_EQ(requests[1].Title, QStringLiteral("Save Metafile"));
  EXPECT_EQ(requests[1].FileName, QStringLiteral("*.emf"));
  EXPECT_EQ(requests[1].Filter, QStringLiteral("Enhanced Metafiles (*.emf);;Windows Metafiles (*.wmf);;"
                                               "SVG Pictures (*.svg);;PNG Pictures (*.png);;All Files (*)"));
  EXPECT_EQ(requests[1].DefaultSuffix, QStringLiteral("emf"));
  EXPECT_EQ(FileBytes(emf).mid(40, 4), QByteArray(" EMF"));  // the enhanced metafile signature
  Answer(TempPath(QStringLiteral("grid.WMF")));
  form->SaveMetafile1->trigger();
  EXPECT_EQ(FileBytes(TempPath(QStringLiteral("grid.WMF"))).left(4), QByteArray("\xD7\xCD\xC6\x9A", 4));
  Answer(TempPath(QStringLiteral("grid.svg")));
  form->SaveMetafile1->trigger();
  // The loop colour, red, is drawn in the loop view only.
  EXPECT_TRUE(FileBytes(TempPath(QStringLiteral("grid.svg"))).contains("stroke=\"#ff0000\""));
  EXPECT_FALSE(FileBytes(graphView).contains("stroke=\"#ff0000\""));
  EXPECT_TRUE(FileBytes(graphView).contains("<svg"));
  Answer(TempPath(QStringLiteral("grid.png")));
  form->SaveMetafile1->trigger();
  EXPECT_EQ(FileBytes(TempPath(QStringLiteral("grid.png"))).left(8), QByteArray("\x89PNG\r\n\x1A\n"));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(form->ShowLoops);
  EXPECT_THAT(messages, IsEmpty());

  // A name of no picture format is refused, never written as a metafile.
  for (const char* name : {"grid.svg.txt", "grid"}) {
    Answer(TempPath(QString::fromLatin1(name)));
    form->SaveMetafile1->trigger();
    EXPECT_FALSE(QFile::exists(TempPath(QString::fromLatin1(name))));
  }
  EXPECT_THAT(
      messages,
      ElementsAre(QStringLiteral("Cannot tell the picture format of \"") + TempPath(QStringLiteral("grid.svg.txt")) +
                      QStringLiteral("\": name it .emf, .wmf, .svg or .png"),
                  QStringLiteral("Cannot tell the picture format of \"") + TempPath(QStringLiteral("grid")) +
                      QStringLiteral("\": name it .emf, .wmf, .svg or .png")));
  messages.clear();

  // A file that cannot be written is reported and the cursor is back.
  Answer(TempPath(QStringLiteral("no/such/folder/grid.emf")));
  form->SaveMetafile1->trigger();
  EXPECT_THAT(messages, SizeIs(1));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The window's export and cyclorn-cli's decide by the same rules, so a
// network one refuses for a format the other refuses too, with the same reason.
TEST_F(FileCommands, SaveMetafileRefusesTheNetworksTheCommandLineRefuses) {
  const struct { double X, Y; } corners[] = {{500, 400}, {30000, 30000}, {40000, 100}, {2e7, 10}, {1e300, 1e300}};
  for (const auto& corner : corners) {
    const QString graph = TempPath(QStringLiteral("far.grf"));
    QFile file(graph);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("2\nA\n10 10 0\nB\n%1 %2 0\n1\n0 1\n").arg(corner.X).arg(corner.Y).toUtf8());
    file.close();
    Answer(graph);
    form->LoadFile1->trigger();
    ASSERT_THAT(messages, IsEmpty());
    for (const char* extension : {"emf", "wmf", "svg", "png"}) {
      SCOPED_TRACE(testing::Message() << corner.X << ", " << corner.Y << " as " << extension);
      // A PNG 40025 pixels wide is made alike but takes long: it is left out.
      if (std::string(extension) == "png" && corner.X == 40000) continue;
      const QString picture = TempPath(QStringLiteral("far.") + QString::fromLatin1(extension));
      QFile::remove(picture);
      // What cyclorn-cli export does with the same network.
      std::string cli;
      try {
        TQtPictureMaker maker;
        ExportPicture(picture.toStdString(), WorkbenchPicture(form->Workbench, 0), &maker);
      } catch (const std::exception& error) {
        cli = ErrorMessageOf(error).toStdString();
      }
      QFile::remove(picture);
      messages.clear();
      Answer(picture);
      form->SaveMetafile1->trigger();
      const std::string window = messages.isEmpty() ? std::string() : messages.join(QString()).toStdString();
      EXPECT_EQ(window, cli);
      EXPECT_EQ(QFile::exists(picture), window.empty());
      messages.clear();
    }
  }
}

TEST_F(FileCommands, SaveMetafileKeepsProtectedPrivateAndLinkedPicturesAsTheUserMadeThem) {
  Click(form->Problem1);
  for (const char* extension : {"emf", "wmf", "svg", "png"}) {
    SCOPED_TRACE(extension);
    const QString kept = TempPath(QStringLiteral("kept.") + QString::fromLatin1(extension));
    const QString secret = TempPath(QStringLiteral("private.") + QString::fromLatin1(extension));
    const QString real = TempPath(QStringLiteral("real.") + QString::fromLatin1(extension));
    const QString link = TempPath(QStringLiteral("link.") + QString::fromLatin1(extension));
    for (const QString& name : {kept, secret, real}) {
      QFile file(name);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write("old");
    }
    QFile::setPermissions(kept, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    QFile::setPermissions(secret, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ASSERT_TRUE(QFile::link(real, link));
    messages.clear();
    Answer(kept);
    form->SaveMetafile1->trigger();
    EXPECT_THAT(messages, ElementsAre(kept + QStringLiteral(": File access denied (read-only)")));
    EXPECT_EQ(FileBytes(kept), QByteArray("old"));
    messages.clear();
    for (const QString& name : {secret, link}) {
      Answer(name);
      form->SaveMetafile1->trigger();
    }
    EXPECT_THAT(messages, IsEmpty());
    EXPECT_NE(FileBytes(secret), QByteArray("old"));
    EXPECT_EQ(QFile::permissions(secret),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_NE(FileBytes(real), QByteArray("old"));
  }
}

}  // namespace

namespace {

TEST_F(FileCommands, ASurveyOpensWithItsSummaryOnTheStatusLineAndItsLegsCanBeChosen) {
  const QString path = TempPath(QStringLiteral("square.svx"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "*title \"Square\"\n*begin cave\na b 10.00 000 0\nb c 10.00 090 0\nc d 10.00 180 0\n"
        "d a 10.00 270 0\n*flags splay\na . 2.00 045 0\n*flags not splay duplicate\na c 14.14 045 0\n"
        "*end cave\n");
  }
  Answer(path);
  form->OpenSurvey1->trigger();
  ASSERT_THAT(requests, SizeIs(1));
  EXPECT_EQ(requests[0].Filter, QStringLiteral("Survey Files (*.3d *.svx);;All Files (*)"));
  EXPECT_THAT(messages, IsEmpty());
  EXPECT_EQ(form->statusBar()->currentMessage(),
            QStringLiteral("Square: 4 stations, 5 shots, 1 piece, 2 loops; left out: 1 splay; scale 50 units a metre"));
  EXPECT_EQ(form->WorkGraph->Edges.Count(), 5);
  Click(form->Button1);
  EXPECT_EQ(form->Loops->Count(), 2);

  // Leaving the duplicate out makes the network anew and clears the loops.
  form->SurveyDuplicates1->trigger();
  EXPECT_FALSE(form->SurveyDuplicates1->isChecked());
  EXPECT_EQ(form->statusBar()->currentMessage(),
            QStringLiteral("Square: 4 stations, 4 shots, 1 piece, 1 loop; left out: 1 splay, 1 duplicate leg; "
                           "scale 50 units a metre"));
  EXPECT_EQ(form->Loops->Count(), 0);
  EXPECT_TRUE(form->LoopCntDis->text().isEmpty());

  // A bad survey shows its file and line and keeps the network.
  const QString bad = TempPath(QStringLiteral("bad.svx"));
  {
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1 2 3.0 000 0\n*nonsense\n");
  }
  Answer(bad);
  form->LoadFile1->trigger();
  ASSERT_THAT(messages, SizeIs(1));
  EXPECT_TRUE(messages[0].startsWith(bad + QStringLiteral(":2: "))) << messages[0].toStdString();
  EXPECT_EQ(form->WorkGraph->Edges.Count(), 4);
}

}  // namespace
