// The program's own help: the Help button, the built-in manual, its links
// and what it covers.
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "app/help_window.h"
#include "app/main_form.h"

namespace {

QString Page(const QString& name) {
  QFile f(":/help/" + name);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList LinksOf(const QString& html) {
  QStringList links;
  auto it = QRegularExpression("href=\"([^\"#:]+)[^\"]*\"").globalMatch(html);
  while (it.hasNext()) links << it.next().captured(1);
  return links;
}

}  // namespace

TEST(HelpButton, ShowsTheContentsInOneHelpWindow) {
  TMainForm form;
  form.HelpSpeedButtonClick();
  auto* help = form.findChild<THelpWindow*>("HelpWindow");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->HelpBrowser()->source(), THelpWindow::ContentsPage);
  EXPECT_TRUE(help->HelpBrowser()->toPlainText().contains("Contents"));

  help->HelpBrowser()->setSource(QUrl("qrc:/help/options.html"));
  form.HelpSpeedButtonClick();  // again: the same window, back at the contents
  EXPECT_EQ(form.findChildren<THelpWindow*>().size(), 1);
  EXPECT_EQ(help->HelpBrowser()->source(), THelpWindow::ContentsPage);
  help->findChild<QPushButton*>("BackButton")->click();
  EXPECT_EQ(help->HelpBrowser()->source(), QUrl("qrc:/help/options.html"));
}

TEST(HelpManual, EveryLinkLeadsToAPageOfTheManual) {
  THelpWindow help;  // registers the manual
  QStringList pending = {"index.html"}, seen;
  while (!pending.isEmpty()) {
    const QString name = pending.takeFirst();
    if (seen.contains(name)) continue;
    seen << name;
    const QString html = Page(name);
    ASSERT_FALSE(html.isEmpty()) << name.toStdString();
    pending << LinksOf(html);
  }
  EXPECT_GE(seen.size(), 6);
}

TEST(HelpManual, ExplainsEveryWindowOptionButtonAndGesture) {
  THelpWindow help;
  QString all;
  for (const char* name : {"index.html", "main_window.html", "reading.html", "options.html",
                           "stacking.html", "output.html", "windows.html"}) {
    QTextDocument doc;
    doc.setHtml(Page(name));
    all += doc.toPlainText() + "\n";
  }
  for (const char* needle :
       {"Data Orientation", "Direct (AB)", "Inversed (BA)", "Concentration Units", "Mole %",
        "Mass %", "Temperature Units", "Legend", "Values Table", "Co-existing Phases",
        "Mouse Grid", "Overall Scale Grid", "Mark Points", "Temperature Grid Step",
        "Concentration Grid Step", "Stacking", "Raw Matherials", "Stacking Purpose (Product)",
        "Results (Raw Matherials)", "Print Diagram", "Save Diagram", "Help", "Info", "About",
        "Press the right button", "Release the right button", "Drag with the left button",
        "Click with the left button", "Division Point", "lever rule", ".bmp", "PDF",
        "phasediagrams.inf", "798"})
    EXPECT_TRUE(all.contains(needle)) << needle;
}
