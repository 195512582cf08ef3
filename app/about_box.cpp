#include "app/about_box.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLocale>
#include <QMouseEvent>
#include <QOperatingSystemVersion>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSysInfo>
#include <cmath>

#include "app/help_window.h"
#include "app/splash_form.h"
#include "app/version_resource.h"
#include "ui_about_box.h"
#include "widgets/animated_image.h"
#include "widgets/scrolling_panel.h"
#include "widgets/version_info.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

TAboutBox* AboutBox = nullptr;

namespace {
TAboutBox::TFiguresSource figuresSource = ReadSystemFigures;
TAboutBox::TUrlOpener urlOpener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

QFont PixelFont(const QString& family, int pixels, bool bold, bool italic = false) {
  QFont f(family);
  f.setPixelSize(pixels);
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}
}  // namespace

TSystemFigures ReadSystemFigures() {
  TSystemFigures f;
#ifdef Q_OS_WIN
  const QOperatingSystemVersion os = QOperatingSystemVersion::current();
  f.PlatformName = QStringLiteral("Windows");
  f.MajorVersion = os.majorVersion();
  f.MinorVersion = os.minorVersion();
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (GlobalMemoryStatusEx(&status)) f.PhysicalMemory = double(status.ullTotalPhys);
#else
  // The kernel's name and the first two numbers of its release ("6.1.0-18" -> 6.1).
  f.PlatformName = QSysInfo::kernelType();
  if (!f.PlatformName.isEmpty()) f.PlatformName[0] = f.PlatformName[0].toUpper();
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("^(\\d+)\\.(\\d+)")).match(QSysInfo::kernelVersion());
  if (m.hasMatch()) {
    f.MajorVersion = m.captured(1).toInt();
    f.MinorVersion = m.captured(2).toInt();
  }
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages > 0 && pageSize > 0) f.PhysicalMemory = double(pages) * double(pageSize);
#endif
  return f;
}

QString FormatThousands(double Value) {
  if (!std::isfinite(Value)) return QStringLiteral("0");
  const QLocale locale;
  // Hundredths, rounded halves to even, then grouped by hand: the C locale
  // leaves group separators out of its own number texts.
  const double cents = std::nearbyint(std::fabs(Value) * 100.0);
  const QString digits = QString::number(std::floor(cents / 100.0), 'f', 0);
  const int fraction = int(std::fmod(cents, 100.0));
  QString text;
  for (int i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += locale.groupSeparator();
    text += digits[i];
  }
  if (fraction != 0) {
    QString decimals = QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
    if (decimals.endsWith(QLatin1Char('0'))) decimals.chop(1);
    text += locale.decimalPoint() + decimals;
  }
  if (Value < 0 && cents != 0) text.prepend(locale.negativeSign());
  return text;
}

const QStringList& SecretLines() {
  static const QStringList lines = {
      QString(),
      QString(),
      QStringLiteral("The given program is created"),
      QStringLiteral("extremely under the initiative"),
      QStringLiteral("of the developers being in a"),
      QStringLiteral("difficult financial position."),
      QStringLiteral("The money on computers "),
      QStringLiteral("acquisition are just"),
      QStringLiteral("necessary for a successful"),
      QStringLiteral("prolongation of work."),
      QStringLiteral("If you are interested in use"),
      QStringLiteral("of a potential software products"),
      QStringLiteral("and have a possibility to advance"),
      QStringLiteral("money to development, your "),
      QStringLiteral("research or commercial interests"),
      QStringLiteral("will be satisfied first of all.   "),
      QString(),
      QStringLiteral("  "),
  };
  return lines;
}

QList<QImage> AboutAnimationFrames() {
  // A marked point walking down the liquidus of a small eutectic diagram.
  static const QPointF marks[5] = {{6, 10}, {10, 14}, {15, 21}, {21, 14}, {26, 9}};
  QList<QImage> frames;
  for (const QPointF& mark : marks) {
    QImage frame = ProgramIconImage(32);
    QPainter p(&frame);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(mark + QPointF(-3, -3), mark + QPointF(3, 3));
    p.drawLine(mark + QPointF(3, -3), mark + QPointF(-3, 3));
    frames.append(frame);
  }
  return frames;
}

TAboutBox::TAboutBox(QWidget* AOwner) : QDialog(AOwner), ui_(new Ui::AboutBox) {
  ui_->setupUi(this);
  winVerDesign_ = ui_->WinVer->text();
  AboutBox = this;
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(365, 254);
  const QString sans = QStringLiteral("MS Sans Serif");
  setFont(PixelFont(QStringLiteral("Arial"), 14, false));
  for (QLabel* l : {ui_->Copyright, ui_->Label1, ui_->WinVer, ui_->FreeMem})
    l->setFont(PixelFont(sans, 12, false));
  for (QLabel* l : {ui_->ProductName, ui_->ProductVersion, ui_->ProjectVersion})
    l->setFont(PixelFont(sans, 12, true));
  ui_->ProjectName->setFont(PixelFont(sans, 20, true));
  ui_->OKButton->setFont(PixelFont(sans, 13, true));

  QFont link = PixelFont(sans, 12, false);
  link.setUnderline(true);
  ui_->URLPanel->setFont(link);
  QPalette pal = ui_->URLPanel->palette();
  pal.setColor(QPalette::WindowText, Qt::blue);
  ui_->URLPanel->setPalette(pal);
  ui_->URLPanel->installEventFilter(this);

  TScrollingPanel* secret = ui_->SecretPanel1;
  secret->setFont(PixelFont(QStringLiteral("Arial"), 18, true, true));
  secret->SetTextColor(Qt::blue);
  secret->SetTextRaised(true);
  secret->setFrameShape(QFrame::Panel);
  secret->setFrameShadow(QFrame::Raised);
  secret->setAutoFillBackground(true);
  secret->SetLines(SecretLines());
  secret->SetOnStartPlay([this](QObject* s) { SecretPanel1StartPlay(s); });
  secret->SetOnStopPlay([this](QObject* s) { SecretPanel1StopPlay(s); });
  secret->SetOnClick([this](QObject* s) { SecretPanel1Click(s); });

  ui_->AnimatedImage1->SetFrames(AboutAnimationFrames());
  ui_->AnimatedImage1->SetInterval(300);
  ui_->AnimatedImage1->SetActive(true);
  ui_->AnimatedImage1->SetOnMouseMove([this](QObject* s) { AnimatedImage1MouseMove(s); });

  connect(ui_->OKButton, &QPushButton::clicked, this, [this] {
    OKButtonClick();
    accept();
  });

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  FormCreate();
}

TAboutBox::~TAboutBox() {
  if (AboutBox == this) AboutBox = nullptr;
}

TAboutBox::TFiguresSource TAboutBox::SetFiguresSource(TFiguresSource Source) {
  TFiguresSource old = figuresSource;
  figuresSource = Source ? std::move(Source) : TFiguresSource(ReadSystemFigures);
  return old;
}

TAboutBox::TUrlOpener TAboutBox::SetUrlOpener(TUrlOpener Opener) {
  TUrlOpener old = urlOpener;
  urlOpener = Opener ? std::move(Opener)
                     : TUrlOpener([](const QUrl& url) { return QDesktopServices::openUrl(url); });
  return old;
}

void TAboutBox::FormCreate() {
  const TSystemFigures f = figuresSource();
  ui_->WinVer->setText(
      winVerDesign_.arg(f.PlatformName).arg(f.MajorVersion).arg(f.MinorVersion));
  ui_->FreeMem->setText(QStringLiteral("Memory Available to %1:  %2K")
                            .arg(f.PlatformName, FormatThousands(f.PhysicalMemory / 1024.0)));

  // The texts come from the splash window, which exists while the windows
  // are created at start-up; without one they are read the same way.
  TSplashTexts t;
  if (SplashForm) {
    t = {SplashForm->ProductName()->text(), SplashForm->ProductVersion()->text(),
         SplashForm->ProjectName()->text(), SplashForm->ProjectVersion()->text(),
         SplashForm->Copyright()->text()};
  } else {
    InitVersionResource();
    t = SplashTexts(TVersionInfo());
  }
  ui_->ProductName->setText(t.ProductName);
  ui_->ProductVersion->setText(t.ProductVersion);
  ui_->ProjectName->setText(t.ProjectName);
  ui_->ProjectVersion->setText(t.ProjectVersion);
  ui_->Copyright->setText(t.Copyright);
}

void TAboutBox::AnimatedImage1MouseMove(QObject*) { ui_->SecretPanel1->Play(); }
void TAboutBox::SecretPanel1StartPlay(QObject*) { ui_->SecretPanel1->show(); }
void TAboutBox::SecretPanel1StopPlay(QObject*) { ui_->SecretPanel1->hide(); }
void TAboutBox::SecretPanel1Click(QObject*) { ui_->SecretPanel1->Stop(); }
void TAboutBox::OKButtonClick() { ui_->SecretPanel1->Stop(); }

QUrl TAboutBox::Link() { return THelpWindow::ContentsPage; }

void TAboutBox::URLPanelClick() {
  const QUrl link = Link();
  if (link.scheme() != QLatin1String("qrc")) {
    urlOpener(link);
    return;
  }
  // The manual is part of the program: its window is this window's child,
  // so that it answers while this one is shown modally.
  auto* help = findChild<THelpWindow*>(QStringLiteral("HelpWindow"), Qt::FindDirectChildrenOnly);
  if (!help) help = new THelpWindow(this);
  help->ShowContents();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->URLPanel && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
    URLPanelClick();
  return QDialog::eventFilter(watched, event);
}

void TAboutBox::hideEvent(QHideEvent* event) {
  // However the window is closed, the message does not play on unseen.
  ui_->SecretPanel1->Stop();
  QDialog::hideEvent(event);
}

TAnimatedImage* TAboutBox::AnimatedImage1() const { return ui_->AnimatedImage1; }
QLabel* TAboutBox::ProductName() const { return ui_->ProductName; }
QLabel* TAboutBox::ProductVersion() const { return ui_->ProductVersion; }
QLabel* TAboutBox::ProjectName() const { return ui_->ProjectName; }
QLabel* TAboutBox::ProjectVersion() const { return ui_->ProjectVersion; }
QLabel* TAboutBox::Copyright() const { return ui_->Copyright; }
QLabel* TAboutBox::Label1() const { return ui_->Label1; }
QLabel* TAboutBox::WinVer() const { return ui_->WinVer; }
QLabel* TAboutBox::FreeMem() const { return ui_->FreeMem; }
TScrollingPanel* TAboutBox::SecretPanel1() const { return ui_->SecretPanel1; }
QLabel* TAboutBox::URLPanel() const { return ui_->URLPanel; }
