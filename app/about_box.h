#pragma once
// TAboutBox: the about window. It copies the splash window's texts and adds
// the platform's name and version, the machine's installed memory, a
// scrolling message that plays when the mouse moves over the animation,
// and a link to the program's own manual (the help pages built into it).
#include <QDialog>
#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class QLabel;
class TAnimatedImage;
class TScrollingPanel;
namespace Ui {
class AboutBox;
}

// What the about window tells of the machine.
struct TSystemFigures {
  QString PlatformName;  // "Windows", "Linux", ...
  int MajorVersion = 0;
  int MinorVersion = 0;
  double PhysicalMemory = 0;  // installed total, bytes
};
// The figures of this machine.
TSystemFigures ReadSystemFigures();

// A number with thousands separators and at most two decimals (",0.##"),
// with the user's separators: 65536 -> "65,536", 1536.5 -> "1,536.5".
QString FormatThousands(double Value);

// The 18 lines of the scrolling message.
const QStringList& SecretLines();
// The five frames of the animation, 32 x 32 each.
QList<QImage> AboutAnimationFrames();

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* AOwner = nullptr);
  ~TAboutBox() override;

  // Where the link leads: the manual's contents page (qrc:/help/...),
  // shown in the program's help window over this one.
  static QUrl Link();

  // Seams: where the machine's figures come from and how an address
  // outside the program is opened (the desktop's default handler). Both are
  // read at creation and on a click; tests replace them.
  using TFiguresSource = std::function<TSystemFigures()>;
  using TUrlOpener = std::function<bool(const QUrl&)>;
  static TFiguresSource SetFiguresSource(TFiguresSource Source);
  static TUrlOpener SetUrlOpener(TUrlOpener Opener);

  void FormCreate();
  void AnimatedImage1MouseMove(QObject* Sender);
  void SecretPanel1StartPlay(QObject* Sender);
  void SecretPanel1StopPlay(QObject* Sender);
  void SecretPanel1Click(QObject* Sender);
  void OKButtonClick();
  void URLPanelClick();

  TAnimatedImage* AnimatedImage1() const;
  QLabel* ProductName() const;
  QLabel* ProductVersion() const;
  QLabel* ProjectName() const;
  QLabel* ProjectVersion() const;
  QLabel* Copyright() const;
  QLabel* Label1() const;
  QLabel* WinVer() const;
  QLabel* FreeMem() const;
  TScrollingPanel* SecretPanel1() const;
  QLabel* URLPanel() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  std::unique_ptr<Ui::AboutBox> ui_;
  QString winVerDesign_;  // "%1  %2.%3   ": platform name, major, minor
};

// The about window, created at start-up after the main window; else null.
extern TAboutBox* AboutBox;
