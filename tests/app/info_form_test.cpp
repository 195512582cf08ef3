// The info window: the info text from the current directory as rich or
// plain text, and a missing file.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include "app/info_form.h"
#include "app/main_form.h"
#include "app/window_kit.h"
#include "message_collector.h"
#include "platform/messages.h"

namespace {

// Runs one test in a fresh current directory.
struct InTemporaryDirectory {
  QTemporaryDir dir;
  QString previous = QDir::currentPath();
  InTemporaryDirectory() { QDir::setCurrent(dir.path()); }
  ~InTemporaryDirectory() { QDir::setCurrent(previous); }
  void Write(const QString& name, const QByteArray& text) const {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(text);
  }
};

}  // namespace

TEST(InfoForm, AMissingFileIsReportedAndLeavesTheWindowEmpty) {
  MessageCollector messages;
  InTemporaryDirectory here;
  TInfoForm info;
  EXPECT_EQ(messages.texts, QStringList{"Cannot open file phasediagrams.inf"});
  EXPECT_TRUE(info.RichEdit1()->toPlainText().isEmpty());
  EXPECT_EQ(InfoForm, &info);
}

TEST(InfoForm, AFolderOfThatNameCannotBeReadEither) {
  MessageCollector messages;
  InTemporaryDirectory here;
  ASSERT_TRUE(QDir(here.dir.path()).mkdir("phasediagrams.inf"));
  TInfoForm info;
  EXPECT_EQ(messages.texts, QStringList{"Cannot open file phasediagrams.inf"});
}

TEST(InfoForm, PlainTextStaysPlainAndRichTextIsRendered) {
  MessageCollector messages;
  InTemporaryDirectory here;
  here.Write("phasediagrams.inf", "Liquidus a < b\nsecond line");
  {
    TInfoForm info;
    EXPECT_EQ(info.RichEdit1()->toPlainText(), "Liquidus a < b\nsecond line");
  }
  here.Write("phasediagrams.inf", "<html><body><p><b>Lever</b> rule</p></body></html>");
  TInfoForm info;
  EXPECT_EQ(info.RichEdit1()->toPlainText(), "Lever rule");
  EXPECT_TRUE(info.RichEdit1()->toHtml().contains("font-weight"));
  EXPECT_TRUE(messages.texts.isEmpty());
}

TEST(InfoForm, TheShippedInfoTextExplainsTheProgramAndItsGestures) {
  MessageCollector messages;
  const QString source = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../../app";
  InTemporaryDirectory here;
  QDir::setCurrent(source);
  TInfoForm info;
  EXPECT_TRUE(messages.texts.isEmpty());
  const QString text = info.RichEdit1()->toPlainText();
  for (const char* needle : {"phase diagram", "lever rule", "two-phase area", "Right button",
                             "Left drag", "Left click", "Stacking"})
    EXPECT_TRUE(text.contains(needle, Qt::CaseInsensitive)) << needle;
  EXPECT_FALSE(text.contains("<b>"));  // read as rich text
}

TEST(InfoAndAboutButtons, ShowTheWindowsMadeAtStartUpModally) {
  MessageCollector messages;
  TMainForm form;
  TInfoForm info;
  QList<QDialog*> shown;
  ToolSeams().ShowModal = [&](QDialog* d) { shown << d; };
  form.BitBtn1Click();
  form.BitBtn3Click();  // no about window yet: one is made for the form
  form.BitBtn3Click();
  ResetToolSeams();
  ASSERT_EQ(shown.size(), 3);
  EXPECT_EQ(shown[0], &info);
  EXPECT_EQ(shown[1]->objectName(), "AboutBox");
  EXPECT_EQ(shown[1]->parent(), &form);
  EXPECT_EQ(shown[2], shown[1]);
}
