#pragma once
// TInfoForm: the info window. At creation it loads the program's
// information text "phasediagrams.inf" from the current directory, or
// where it is not there from the program's installed data folder
// (app/program_files.h), as rich text when the file holds rich text, else
// as plain text. A missing or
// unreadable file is reported ("Cannot open file phasediagrams.inf") and
// leaves the window empty; start-up goes on.
#include <QDialog>
#include <memory>

class QTextBrowser;
namespace Ui {
class InfoForm;
}

class TInfoForm : public QDialog {
  Q_OBJECT
 public:
  static const QString FileName;  // "phasediagrams.inf"

  explicit TInfoForm(QWidget* AOwner = nullptr);
  ~TInfoForm() override;

  void FormCreate();
  // Loads a file into RichEdit1; false, after telling the user, when it
  // cannot be read.
  bool LoadFile(const QString& Name);

  QTextBrowser* RichEdit1() const;

 private:
  std::unique_ptr<Ui::InfoForm> ui_;
};

// The info window, created at start-up after the about window; else null.
extern TInfoForm* InfoForm;
