// The program as a user starts it: the built executable in a bare
// environment (no display, no platform chosen) for every job that needs no
// window, and the start with windows (StartWindows, what main() runs) with
// a document named on the command line.
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/document.h"
#include "app/main_form.h"
#include "app/program.h"
#include "app/splash_form.h"
#include "app/ternary_form.h"
#include "diagram/binagram.h"
#include "diagram/ternagram.h"
#include "message_collector.h"

namespace {

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QString Sample(const char* name) { return QStringLiteral(PD_SOURCE_DIR "/samples/") + name; }

// A shipped sample under another title, so that it is told from the
// built-in one.
QString Retitled(const QTemporaryDir& dir, const char* name, const QString& title) {
  QJsonObject o = QJsonDocument::fromJson(Contents(Sample(name))).object();
  o["title"] = title;
  const QString path = dir.filePath(QString("retitled-") + name);
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(QJsonDocument(o).toJson());
  return path;
}

struct TRun {
  int ExitCode = -1;
  bool Crashed = false;
  QByteArray Out, Err;
};

// The built program with only PATH and HOME set: no DISPLAY, no
// WAYLAND_DISPLAY, no QT_QPA_PLATFORM.
TRun RunProgram(const QStringList& arguments, const QString& folder) {
  QProcess p;
  QProcessEnvironment bare;
  for (const char* keep : {"PATH", "HOME"})
    if (qEnvironmentVariableIsSet(keep)) bare.insert(keep, qEnvironmentVariable(keep));
  p.setProcessEnvironment(bare);
  p.setWorkingDirectory(folder);
  p.start(QStringLiteral(PD_PROGRAM), arguments);
  TRun run;
  if (!p.waitForFinished(120000)) {
    p.kill();
    p.waitForFinished();
    run.Crashed = true;
    return run;
  }
  run.Crashed = p.exitStatus() != QProcess::NormalExit;
  run.ExitCode = p.exitCode();
  run.Out = p.readAllStandardOutput();
  run.Err = p.readAllStandardError();
  return run;
}

}  // namespace

// Every job without windows runs with no display at all; a wrong command
// line says so with status 2 before Qt is asked for anything; the windows
// without a display end with a reason instead of an abort.
TEST(Program, RunsWithoutADisplayAndChecksItsCommandLineFirst) {
  QTemporaryDir dir;
  const QString binary = Sample("al2o3-sio2.pdiag"), ternary = Sample("bi-pb-sn.pdiag");
  const QString picture = dir.filePath("t.png"), bitmap = dir.filePath("b.bmp");
  QDir().mkpath(dir.filePath("samples"));
  const struct {
    QStringList Arguments;
    int ExitCode;
    QByteArray Out;  // the start of standard output
    QByteArray Err;  // the start of standard error
  } runs[] = {
      {{"-z"}, 2, "", "phasediagrams: unknown option -z\nTry 'phasediagrams --help'.\n"},
      {{"--bogus", "x.pdiag"}, 2, "", "phasediagrams: unknown option --bogus\n"},
      {{"x.pdiag", "-z"}, 2, "", "phasediagrams: unknown option -z\n"},
      {{"-platform"}, 2, "", "phasediagrams: -platform needs a value\n"},
      {{"a.pdiag", "b.pdiag"}, 2, "", "phasediagrams: the windows open one FILE at a time\n"},
      {{"--render", binary}, 2, "", "phasediagrams: --render needs pairs of FILE and PICTURE\n"},
      {{"--help"}, 0, "Usage: phasediagrams [FILE]\n", ""},
      {{"-h"}, 0, "Usage: phasediagrams [FILE]\n", ""},
      {{"--version"}, 0, "phasediagrams 1.5.1.1\n", ""},
      {{"-style", "fusion", "--version"}, 0, "phasediagrams 1.5.1.1\n", ""},
      {{"--render", ternary, picture, binary, bitmap, "--size", "640x480"}, 0, "", ""},
      {{"--write-samples", dir.filePath("samples")}, 0, "", ""},
      {{"--render", dir.filePath("missing.pdiag"), picture}, 1, "", "phasediagrams: Cannot open "},
      {{}, 1, "", "phasediagrams: there is no display to show the windows on"},
      {{binary}, 1, "", "phasediagrams: there is no display to show the windows on"},
  };
  for (const auto& r : runs) {
    SCOPED_TRACE(r.Arguments.join(' ').toStdString());
    const TRun run = RunProgram(r.Arguments, dir.path());
    ASSERT_FALSE(run.Crashed) << run.Err.toStdString();
    EXPECT_EQ(run.ExitCode, r.ExitCode) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.startsWith(r.Out)) << run.Out.toStdString();
    if (r.Out.isEmpty()) EXPECT_TRUE(run.Out.isEmpty()) << run.Out.toStdString();
    EXPECT_TRUE(run.Err.startsWith(r.Err)) << run.Err.toStdString();
    // One line per failure, nothing from Qt.
    EXPECT_LE(run.Err.count('\n'), 2) << run.Err.toStdString();
  }

  // What was rendered and written is what the controls show and hold.
  TDiagramDocument b, t;
  ASSERT_TRUE(ReadDocument(binary, b, nullptr));
  ASSERT_TRUE(ReadDocument(ternary, t, nullptr));
  EXPECT_EQ(QImage(picture).convertToFormat(QImage::Format_RGB32),
            DocumentPicture(t, QSize(640, 480)).convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(QImage(bitmap).convertToFormat(QImage::Format_RGB32),
            DocumentPicture(b, QSize(640, 480)).convertToFormat(QImage::Format_RGB32));
  for (const char* name : {"al2o3-sio2.pdiag", "bi-pb-sn.pdiag"})
    EXPECT_EQ(Contents(dir.filePath(QString("samples/") + name)), Contents(Sample(name))) << name;
}

// "phasediagrams FILE": the windows start as without it, and the document
// shows in the window of its kind; one that cannot be read is reported and
// both samples stay.
TEST(Program, StartsTheWindowsWithTheDocumentNamedOnTheCommandLine) {
  QTemporaryDir dir;
  const QString binary = Retitled(dir, "al2o3-sio2.pdiag", "Opened binary");
  const QString ternary = Retitled(dir, "bi-pb-sn.pdiag", "Opened ternary");
  const QString broken = dir.filePath("broken.pdiag");
  {
    QFile f(broken);
    f.open(QIODevice::WriteOnly);
    f.write("{ not json");
  }
  QString builtInBinary, builtInTernary;
  {
    MessageCollector messages;
    const auto w = StartWindows(QString());
    ASSERT_NE(w, nullptr);
    builtInBinary = w->MainForm->Binagram1()->Title();
    builtInTernary = w->Ternary->Ternagram1()->Title();
  }
  const struct {
    QString File;
    QString BinaryTitle, TernaryTitle;
    bool TernaryShown;
    QString Message;  // the start of the one message about the file
  } starts[] = {
      {binary, "Opened binary", builtInTernary, false, QString()},
      {ternary, builtInBinary, "Opened ternary", true, QString()},
      {broken, builtInBinary, builtInTernary, false, "Cannot open " + broken},
      {dir.filePath("missing.pdiag"), builtInBinary, builtInTernary, false,
       "Cannot open " + dir.filePath("missing.pdiag")},
  };
  for (const auto& s : starts) {
    SCOPED_TRACE(s.File.toStdString());
    MessageCollector messages;
    const auto w = StartWindows(s.File);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(SplashForm, nullptr);  // gone once the windows are made
    EXPECT_TRUE(w->MainForm->isVisible());
    EXPECT_EQ(w->MainForm->Binagram1()->Title(), s.BinaryTitle);
    EXPECT_EQ(w->Ternary->Ternagram1()->Title(), s.TernaryTitle);
    EXPECT_EQ(w->Ternary->isVisible(), s.TernaryShown);
    const QStringList aboutFile = messages.texts.filter(dir.path());
    if (s.Message.isEmpty()) {
      EXPECT_TRUE(aboutFile.isEmpty()) << aboutFile.join(" | ").toStdString();
    } else {
      ASSERT_EQ(aboutFile.size(), 1) << messages.texts.join(" | ").toStdString();
      EXPECT_TRUE(aboutFile[0].startsWith(s.Message)) << aboutFile[0].toStdString();
    }
  }
}
