// The splash window: its texts from the version resource with the
// fallbacks, the main window's caption from it, and messages during
// start-up.
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "app/splash_form.h"
#include "app/version_resource.h"
#include "platform/messages.h"
#include "widgets/version_info.h"

namespace {

QString WriteIni(const QTemporaryDir& dir, const QByteArray& text) {
  const QString path = dir.filePath("version.ini");
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(text);
  return path;
}

}  // namespace

TEST(SplashForm, FillsItsLabelsFromTheVersionEntries) {
  QTemporaryDir dir;
  const TVersionInfo info(WriteIni(dir,
                                   "[StringFileInfo]\n"
                                   "ProductName=Test Product\nProductVersion=2.3\n"
                                   "FileDescription=Test Viewer\nFileVersion=4.5.6.7\n"
                                   "LegalCopyright=(C) 2026 Testers\n"));
  TSplashForm splash(info);
  EXPECT_EQ(splash.objectName(), "SplashForm");
  EXPECT_EQ(splash.ProductName()->text(), "Test Product");
  EXPECT_EQ(splash.ProductVersion()->text(), "version 2.3");
  EXPECT_EQ(splash.ProjectName()->text(), "Test Viewer");
  EXPECT_EQ(splash.ProjectVersion()->text(), "version 4.5.6.7");
  EXPECT_EQ(splash.Copyright()->text(), "Copyright (C) 2026 Testers");
  EXPECT_EQ(splash.Label1()->text(), "Loading...");
  EXPECT_EQ(splash.Caption(), "Test Viewer version 4.5.6.7");
  EXPECT_FALSE(splash.ProgramIcon()->pixmap().isNull());
}

TEST(SplashForm, MissingVersionTextsFallBackToTheFixedPartOrStayEmpty) {
  QTemporaryDir dir;
  {
    const TVersionInfo info(WriteIni(dir,
                                     "[StringFileInfo]\nFileDescription=Viewer\n"
                                     "[FixedFileInfo]\nFileVersion=1,5,1,1\nProductVersion=1,0,0,0\n"));
    TSplashForm splash(info);
    EXPECT_EQ(splash.ProductVersion()->text(), "version 1.0.0.0");
    EXPECT_EQ(splash.ProjectVersion()->text(), "version 1.5.1.1");
    EXPECT_EQ(splash.ProductName()->text(), "");
    EXPECT_EQ(splash.Copyright()->text(), "Copyright ");
  }
  const TVersionInfo none(dir.filePath("no-such.ini"));
  TSplashForm splash(none);
  EXPECT_EQ(splash.ProductVersion()->text(), "version ");
  EXPECT_EQ(splash.ProjectVersion()->text(), "version ");
  EXPECT_EQ(splash.ProjectName()->text(), "");
}

TEST(SplashForm, ShowsTheProgramsOwnVersions) {
  InitVersionResource();
  TSplashForm splash;
  EXPECT_EQ(splash.ProjectVersion()->text(), "version 1.5.1.1");
  EXPECT_EQ(splash.ProductVersion()->text(), "version 1.5.1.1");
  EXPECT_FALSE(splash.ProjectName()->text().isEmpty());
}

TEST(SplashForm, GivesTheMainWindowItsCaptionWhileItExists) {
  QTemporaryDir dir;
  const TVersionInfo info(
      WriteIni(dir, "[StringFileInfo]\nFileDescription=Splash Viewer\nFileVersion=9.8\n"));
  auto* splash = new TSplashForm(info);
  EXPECT_EQ(SplashForm, splash);
  {
    TMainForm form;
    EXPECT_EQ(form.windowTitle(), "Splash Viewer version 9.8");
  }
  delete splash;
  EXPECT_EQ(SplashForm, nullptr);
}

TEST(SplashForm, StepsAsideForAMessageAndComesBack) {
  // The splash stays on top; a message under it would never be seen.
  QStringList texts;
  bool hiddenDuringMessage = false;
  const TMessageHandler previous = SetMessageHandler([&](const QString& t) {
    texts << t;
    hiddenDuringMessage = SplashForm && !SplashForm->isVisible();
  });
  {
    TSplashForm splash(TVersionInfo(QStringLiteral("no-such.ini")));
    splash.show();
    ShowMessage("Cannot open file phasediagrams.inf");
    EXPECT_EQ(texts, QStringList{"Cannot open file phasediagrams.inf"});
    EXPECT_TRUE(hiddenDuringMessage);
    EXPECT_TRUE(splash.isVisible());
  }
  // Gone, it hands messages back to the handler it found.
  ShowMessage("later");
  EXPECT_EQ(texts.last(), "later");
  SetMessageHandler(previous);
}
