// The about window: platform and memory lines, the texts copied from the
// splash window, the animation with its scrolling message, the link.
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include "app/about_box.h"
#include "app/command_line.h"
#include "app/help_window.h"
#include "app/splash_form.h"
#include "app/version_resource.h"
#include "diagram/plotkit.h"
#include "widgets/animated_image.h"
#include "widgets/scrolling_panel.h"
#include "widgets/version_info.h"

namespace {

// Injects the machine's figures for one test.
struct Figures {
  TAboutBox::TFiguresSource previous;
  explicit Figures(TSystemFigures f) {
    previous = TAboutBox::SetFiguresSource([f] { return f; });
  }
  ~Figures() { TAboutBox::SetFiguresSource(previous); }
};

void MoveOver(QWidget* w) {
  QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

}  // namespace

TEST(AboutBox, PlatformLineHasTwoBlanksAndMemoryIsInKilobytes) {
  {
    Figures f({"Windows", 4, 10, 65536.0 * 1024});
    TAboutBox about;
    EXPECT_TRUE(about.WinVer()->text().startsWith("Windows  4.10"));
    EXPECT_EQ(about.FreeMem()->text(), "Memory Available to Windows:  65,536K");
  }
  {
    Figures f({"Linux", 6, 1, 1573376});
    TAboutBox about;
    EXPECT_EQ(about.WinVer()->text().trimmed(), "Linux  6.1");
    EXPECT_EQ(about.FreeMem()->text(), "Memory Available to Linux:  1,536.5K");
  }
}

TEST(AboutBox, ThousandsFormatKeepsAtMostTwoDecimalsWithTheUsersSeparators) {
  EXPECT_EQ(FormatThousands(0), "0");
  EXPECT_EQ(FormatThousands(999), "999");
  EXPECT_EQ(FormatThousands(1000), "1,000");
  EXPECT_EQ(FormatThousands(1234567.891), "1,234,567.89");
  EXPECT_EQ(FormatThousands(1536.5), "1,536.5");
  EXPECT_EQ(FormatThousands(0.125), "0.12");  // half a hundredth goes to the even side
  EXPECT_EQ(FormatThousands(0.375), "0.38");
  EXPECT_EQ(FormatThousands(std::nan("")), "0");
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const QString german = FormatThousands(1536.5);
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(german, "1.536,5");
}

TEST(AboutBox, TheRealMachineHasANameAndMemory) {
  const TSystemFigures f = ReadSystemFigures();
  EXPECT_FALSE(f.PlatformName.isEmpty());
  EXPECT_TRUE(f.PlatformName[0].isUpper());
  EXPECT_GT(f.PhysicalMemory, 64.0 * 1024 * 1024);
}

TEST(AboutBox, CopiesTheFiveTextsOfTheSplashWindow) {
  QTemporaryDir dir;
  QFile ini(dir.filePath("v.ini"));
  ini.open(QIODevice::WriteOnly);
  ini.write("[StringFileInfo]\nProductName=P\nProductVersion=2\nFileDescription=D\n"
            "FileVersion=3\nLegalCopyright=C\n");
  ini.close();
  TSplashForm splash{TVersionInfo(dir.filePath("v.ini"))};
  TAboutBox about;
  EXPECT_EQ(about.ProductName()->text(), "P");
  EXPECT_EQ(about.ProductVersion()->text(), "version 2");
  EXPECT_EQ(about.ProjectName()->text(), "D");
  EXPECT_EQ(about.ProjectVersion()->text(), "version 3");
  EXPECT_EQ(about.Copyright()->text(), "Copyright C");
}

// One version everywhere, the project's; one year, the printouts'.
TEST(AboutBox, WithoutASplashWindowReadsTheSameTextsItself) {
  ASSERT_EQ(SplashForm, nullptr);
  InitVersionResource();
  TAboutBox about;
  const TSplashTexts t = SplashTexts(TVersionInfo());
  EXPECT_EQ(about.ProjectVersion()->text(), "version " PD_VERSION);
  EXPECT_EQ(about.ProductVersion()->text(), "version " PD_VERSION);
  EXPECT_EQ(VersionText(), "phasediagrams " PD_VERSION "\n");
  EXPECT_EQ(about.ProjectName()->text(), t.ProjectName);
  EXPECT_EQ(about.Copyright()->text(), t.Copyright);
  const QString year = QString::number(CopyrightYear);
  const QStringList years = [&] {
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression("\\b(19|20)\\d\\d\\b").globalMatch(t.Copyright);
    while (it.hasNext()) found << it.next().captured(0);
    return found;
  }();
  EXPECT_EQ(years, QStringList{year}) << t.Copyright.toStdString();
  for (const char* component : {"Binagram", "Ternagram"})
    EXPECT_TRUE(PrintFooter(component).endsWith("project, " + year)) << PrintFooter(component).toStdString();
}

TEST(AboutBox, TheMessageIsVisibleOnlyWhileItPlays) {
  TAboutBox about;
  TScrollingPanel* secret = about.SecretPanel1();
  const QStringList& lines = secret->Lines();
  ASSERT_EQ(lines.size(), 18);
  EXPECT_EQ(lines[6], "The money on computers ");
  EXPECT_EQ(lines[15], "will be satisfied first of all.   ");
  EXPECT_EQ(lines[17], "  ");
  EXPECT_FALSE(secret->isVisibleTo(&about));

  MoveOver(about.AnimatedImage1());
  EXPECT_TRUE(secret->Active());
  EXPECT_TRUE(secret->isVisibleTo(&about));
  QTest::mouseClick(secret, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  EXPECT_FALSE(secret->Active());
  EXPECT_FALSE(secret->isVisibleTo(&about));

  // It also ends by itself.
  MoveOver(about.AnimatedImage1());
  for (int i = 0; i < 5000 && secret->Active(); ++i) secret->Step();
  EXPECT_FALSE(secret->Active());
  EXPECT_FALSE(secret->isVisibleTo(&about));
}

TEST(AboutBox, OkStopsTheMessageAndClosesWithOk) {
  TAboutBox about;
  about.show();
  MoveOver(about.AnimatedImage1());
  ASSERT_TRUE(about.SecretPanel1()->Active());
  about.findChild<QPushButton*>("OKButton")->click();
  EXPECT_FALSE(about.SecretPanel1()->Active());
  EXPECT_FALSE(about.SecretPanel1()->isVisibleTo(&about));
  EXPECT_EQ(about.result(), QDialog::Accepted);
  EXPECT_FALSE(about.isVisible());
}

// The link leads to the program's own manual, shown over the about
// window, not to an address somewhere else.
TEST(AboutBox, ClickingTheLinkShowsTheProgramsManual) {
  QList<QUrl> opened;
  const TAboutBox::TUrlOpener previous =
      TAboutBox::SetUrlOpener([&](const QUrl& url) { opened << url; return true; });
  TAboutBox about;
  about.show();
  EXPECT_EQ(about.URLPanel()->text(), "Phase Diagrams Help");
  QTest::mouseClick(about.URLPanel(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  TAboutBox::SetUrlOpener(previous);
  EXPECT_TRUE(opened.isEmpty());
  auto* help = about.findChild<THelpWindow*>("HelpWindow");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->HelpBrowser()->source(), TAboutBox::Link());
  EXPECT_TRUE(help->HelpBrowser()->toPlainText().contains("Contents")) << help->HelpBrowser()->toPlainText().toStdString();
  // Clicked again, the same window comes to the front.
  QTest::mouseClick(about.URLPanel(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(about.findChildren<THelpWindow*>().size(), 1);
}
