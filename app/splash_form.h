#pragma once
// TSplashForm: the window shown while the program starts. It is the only
// window that reads the program's version resource; the main window takes
// its caption and the about window its texts from the splash window's
// labels while it still exists. While it exists, messages make it step
// aside so that they are not hidden under it.
#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>

#include "platform/messages.h"

class QLabel;
class TVersionInfo;
namespace Ui {
class SplashForm;
}

// The five texts the splash window fills from the version resource.
struct TSplashTexts {
  QString ProductName;
  QString ProductVersion;  // "version " + product version
  QString ProjectName;     // the program's description
  QString ProjectVersion;  // "version " + file version
  QString Copyright;       // design text, one blank, the copyright entry
};
TSplashTexts SplashTexts(const TVersionInfo& Info,
                         const QString& CopyrightDesign = QStringLiteral("Copyright"));

// The program's icon, drawn at any size (a small phase diagram).
QImage ProgramIconImage(int Size);

class TSplashForm : public QWidget {
  Q_OBJECT
 public:
  // Reads the program's own version resource.
  explicit TSplashForm(QWidget* AOwner = nullptr);
  TSplashForm(const TVersionInfo& Info, QWidget* AOwner = nullptr);
  ~TSplashForm() override;

  void FormCreate(const TVersionInfo& Info);

  QLabel* ProgramIcon() const;
  QLabel* ProductName() const;
  QLabel* ProductVersion() const;
  QLabel* ProjectName() const;
  QLabel* ProjectVersion() const;
  QLabel* Copyright() const;
  QLabel* Label1() const;

  // What the main window's caption is made of: ProjectName ProjectVersion.
  QString Caption() const;

 private:
  void Build();
  void PassMessage(const QString& Text);
  std::unique_ptr<Ui::SplashForm> ui_;
  QString copyrightDesign_;
  TMessageHandler previousHandler_;  // in force before this window was made
};

// The splash window while it exists (created first at start-up, destroyed
// once the other windows exist), else null.
extern TSplashForm* SplashForm;
