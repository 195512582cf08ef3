#pragma once
// THelpWindow: the program's own help viewer. The manual is a set of HTML
// pages built into the program (help.qrc, under ":/help/"), shown in a
// QTextBrowser with Contents, Back and Forward buttons.
#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

class THelpWindow : public QWidget {
  Q_OBJECT
 public:
  static const QUrl ContentsPage;  // qrc:/help/index.html

  explicit THelpWindow(QWidget* AOwner = nullptr);

  // Opens the contents page and brings the window to the front.
  void ShowContents();

  QTextBrowser* HelpBrowser() const { return browser_; }

 private:
  QTextBrowser* browser_;
  QPushButton* back_;
  QPushButton* forward_;
  bool placed_ = false;
};
