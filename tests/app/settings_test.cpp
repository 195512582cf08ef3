// What the program remembers between runs: the recent documents (ten,
// newest first, files that have gone dropped), the folder each file dialog
// was left in, and the switch that keeps the user's settings untouched.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/command_line.h"
#include "app/document_windows.h"
#include "app/main_form.h"
#include "app/window_kit.h"
#include "app/settings.h"
#include "app/window_menus.h"
#include "message_collector.h"

namespace {

// Settings in a scratch file for the test, memory-only again after it.
struct ScratchSettings {
  QTemporaryDir dir;
  QString file = dir.filePath("settings.conf");
  ScratchSettings() { UseSettingsFile(file); }
  ~ScratchSettings() { UseSettingsFile(QString()); }
  // A new run of the program: the settings read again from the file.
  void Restart() { UseSettingsFile(file); }
};

QString Touch(const QString& Name, const QByteArray& Text = "x") {
  QFile f(Name);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(Text);
  return QFileInfo(Name).absoluteFilePath();
}

QStringList EntryTexts(QMenu* Menu) {
  QStringList texts;
  for (QAction* a : Menu->actions()) texts << a->text();
  return texts;
}

}  // namespace

TEST(Settings, RecentDocumentsKeepTheNewestTenOfTheFilesThatExist) {
  ScratchSettings settings;
  QTemporaryDir docs;
  QStringList files;
  for (int i = 0; i < 12; ++i) files << Touch(docs.filePath(QStringLiteral("d%1.pdiag").arg(i)));
  for (const QString& f : files) NoteRecentDocument(f);
  NoteRecentDocument(files[5]);  // again: to the top, once
  // A relative name is kept as the absolute path it named.
  const QString here = QDir::currentPath();
  QDir::setCurrent(docs.path());
  NoteRecentDocument("d11.pdiag");
  QDir::setCurrent(here);
  const QStringList expected = {files[11], files[5], files[10], files[9], files[8],
                                files[7],  files[6], files[4],  files[3], files[2]};
  EXPECT_EQ(RecentDocuments(), expected);

  // The next run reads the same list; a file that has gone is dropped, for
  // good, and the list does not fill up again from older entries.
  settings.Restart();
  QFile::remove(files[10]);
  QStringList without = expected;
  without.removeAll(files[10]);
  EXPECT_EQ(RecentDocuments(), without);
  Touch(files[10]);
  settings.Restart();
  EXPECT_EQ(RecentDocuments(), without);

  // Without a settings file nothing of it is seen, and nothing written.
  UseSettingsFile(QString());
  EXPECT_TRUE(RecentDocuments().isEmpty());
  NoteRecentDocument(files[0]);
  EXPECT_EQ(RecentDocuments(), QStringList{files[0]});
  settings.Restart();
  EXPECT_EQ(RecentDocuments(), without);
}

TEST(Settings, OpenRecentListsAndOpensTheDocuments) {
  ScratchSettings settings;
  MessageCollector messages;
  TMainForm form;
  QTemporaryDir docs;
  const QString sample = QStringLiteral(PD_SOURCE_DIR "/samples/al2o3-sio2.pdiag");
  QByteArray text;
  {
    QFile f(sample);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    text = f.readAll().replace("Al2O3-SiO2 Sample", "Recent One");
  }
  const QString one = Touch(docs.filePath("one.pdiag"), text);
  const QString two = Touch(docs.filePath("two.pdiag"), text);

  auto* recent = form.findChild<QMenu*>("RecentMenu");
  ASSERT_NE(recent, nullptr);
  FillRecentMenu(recent);
  EXPECT_EQ(EntryTexts(recent), QStringList{"(none)"});
  EXPECT_FALSE(recent->actions().front()->isEnabled());

  // Documents opened (from the command line or a dialog) and saved go on
  // the list.
  ToolSeams().ChooseSaveFile = [&](QWidget*, const QString&, const QString&) { return docs.filePath("saved"); };
  form.findChild<QAction*>("SaveAsAction")->trigger();
  ResetToolSeams();
  const QString saved = docs.filePath("saved.pdiag");
  ASSERT_TRUE(QFileInfo::exists(saved));
  ASSERT_TRUE(OpenDocumentFile(one));
  ASSERT_TRUE(OpenDocumentFile(two));
  FillRecentMenu(recent);
  EXPECT_EQ(EntryTexts(recent), QStringList({"&1  two.pdiag", "&2  one.pdiag", "&3  saved.pdiag"}));
  EXPECT_EQ(recent->actions()[1]->toolTip(), QDir::toNativeSeparators(one));

  // An entry opens its document; one whose file has gone is not offered
  // when the menu opens again.
  form.Binagram1()->SetTitle("changed");
  recent->actions()[1]->trigger();
  EXPECT_EQ(form.Binagram1()->Title(), "Recent One");
  QFile::remove(two);
  emit recent->aboutToShow();
  EXPECT_EQ(EntryTexts(recent), QStringList({"&1  one.pdiag", "&2  saved.pdiag"}));
  EXPECT_TRUE(messages.texts.isEmpty()) << qPrintable(messages.texts.join('\n'));
}

TEST(Settings, FileDialogsStartInTheFolderTheyWereLeftIn) {
  ScratchSettings settings;
  QTemporaryDir first, second;
  const QString chosen = Touch(QDir(second.path()).filePath("picked.pdiag"));
  NoteLastFolder("Open Diagram", first.path());
  NoteLastFolder("Save Diagram", second.path());
  settings.Restart();
  EXPECT_EQ(LastFolder("Open Diagram"), QDir(first.path()).absolutePath());
  EXPECT_EQ(LastFolder("Save Diagram"), QDir(second.path()).absolutePath());
  EXPECT_EQ(LastFolder("Print Diagram"), QString());

  // The real open dialog starts in the remembered folder; the file chosen
  // elsewhere moves the remembered folder there.
  ResetToolSeams();
  QString startedIn;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    startedIn = dialog->directory().absolutePath();
    dialog->selectFile(chosen);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept checks the name first
  });
  EXPECT_EQ(ToolSeams().ChooseOpenFile(nullptr, "Open Diagram", "Documents (*.pdiag)"), chosen);
  EXPECT_EQ(startedIn, QDir(first.path()).absolutePath());
  EXPECT_EQ(LastFolder("Open Diagram"), QDir(second.path()).absolutePath());
  // A folder that has gone is no place to start in.
  NoteLastFolder("Print Diagram", first.path() + "/gone");
  EXPECT_EQ(LastFolder("Print Diagram"), QString());
}

TEST(Settings, CommandLineSwitchesForSettingsAndInfo) {
  const TCommandLine plain = ParseCommandLine({"doc.pdiag"});
  EXPECT_FALSE(plain.NoSettings);
  const TCommandLine quiet = ParseCommandLine({"--no-settings", "doc.pdiag"});
  EXPECT_TRUE(quiet.NoSettings);
  EXPECT_EQ(quiet.Action, TCommandLine::caWindows);
  EXPECT_EQ(quiet.OpenFile, "doc.pdiag");
  EXPECT_TRUE(ParseCommandLine({"doc.pdiag", "--no-settings"}).NoSettings);
  EXPECT_EQ(ParseCommandLine({"--info"}).Action, TCommandLine::caInfo);
  EXPECT_EQ(ParseCommandLine({"--info", "x"}).Error, "--info takes no arguments");
  EXPECT_EQ(ParseCommandLine({"--render", "a.pdiag", "a.png", "--no-settings"}).Renders.size(), 1u);
}
