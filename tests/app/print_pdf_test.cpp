// "Print Diagram": the default printer when there is one, else a PDF file
// through the same print path.
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "app/window_kit.h"
#include "message_collector.h"
#include "platform/messages.h"

namespace {

struct SeamsGuard {
  ~SeamsGuard() { ResetToolSeams(); }
};

// A form on a machine without a printer whose user answers the PDF question
// with Answer and the file dialog with FileName.
struct NoPrinterForm {
  MessageCollector messages;
  SeamsGuard guard;
  TMainForm form;
  QStringList questions;
  QStringList filters;
  NoPrinterForm(bool Answer, const QString& FileName) {
    ToolSeams().PrinterPresent = [] { return false; };
    ToolSeams().Confirm = [this, Answer](const QString& q) {
      questions << q;
      return Answer;
    };
    ToolSeams().ChooseSaveFile = [this, FileName](QWidget*, const QString&, const QString& f) {
      filters << f;
      return FileName;
    };
  }
};

int PageCount(const QByteArray& pdf) {
  return int(QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page(?![s\\w])")));
}

}  // namespace

TEST(PrintDiagram, WithoutAPrinterPrintsIntoAOnePagePdf) {
  QTemporaryDir dir;
  NoPrinterForm f(true, dir.filePath("diagram"));
  f.form.BitBtn2Click();
  EXPECT_EQ(f.questions, QStringList{NoPrinterQuestion});
  EXPECT_EQ(f.filters, QStringList{"PDF Files (*.pdf)"});
  QFile pdf(dir.filePath("diagram.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_EQ(PageCount(bytes), 1);
  EXPECT_GT(bytes.size(), 10000);  // the picture is in it
  EXPECT_TRUE(f.messages.texts.isEmpty());

  // A name that already ends in .pdf keeps its one extension.
  NoPrinterForm again(true, dir.filePath("named.PDF"));
  again.form.BitBtn2Click();
  EXPECT_TRUE(QFile::exists(dir.filePath("named.PDF")));
  EXPECT_FALSE(QFile::exists(dir.filePath("named.PDF.pdf")));
}

TEST(PrintDiagram, DecliningOrCancellingThePdfPrintsNothing) {
  QTemporaryDir dir;
  {
    NoPrinterForm f(false, dir.filePath("diagram"));
    f.form.BitBtn2Click();
    EXPECT_EQ(f.questions.size(), 1);
    EXPECT_TRUE(f.filters.isEmpty());  // no file dialog after No
  }
  {
    NoPrinterForm f(true, QString());
    f.form.BitBtn2Click();
    EXPECT_EQ(f.filters.size(), 1);
    EXPECT_TRUE(f.messages.texts.isEmpty());
  }
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(PrintDiagram, APdfThatCannotBeWrittenIsReported) {
  QTemporaryDir dir;
  NoPrinterForm f(true, dir.filePath("missing/diagram"));
  f.form.BitBtn2Click();
  ASSERT_EQ(f.messages.texts.size(), 1);
  EXPECT_TRUE(f.messages.texts[0].contains(dir.filePath("missing/diagram.pdf")));
}

TEST(PrintDiagram, TheDefaultPrinterPathSaysSoWhenThereIsNone) {
  if (!QPrinterInfo::defaultPrinter().isNull())
    GTEST_SKIP() << "this machine has a printer: the test would print a real page";
  MessageCollector messages;
  TMainForm form;
  form.Binagram1()->Print();
  EXPECT_EQ(messages.texts, QStringList{"No printer is installed."});
}
