#include "app/splash_form.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "app/version_resource.h"
#include "platform/messages.h"
#include "ui_splash_form.h"
#include "widgets/version_info.h"

TSplashForm* SplashForm = nullptr;

TSplashTexts SplashTexts(const TVersionInfo& Info, const QString& CopyrightDesign) {
  TSplashTexts t;
  t.ProductName = Info.ProductName();
  t.ProductVersion = QStringLiteral("version ") + Info.ProductVersion();
  t.ProjectName = Info.FileDescription();
  t.ProjectVersion = QStringLiteral("version ") + Info.FileVersion();
  t.Copyright = CopyrightDesign + QLatin1Char(' ') + Info.LegalCopyright();
  return t;
}

QImage ProgramIconImage(int Size) {
  QImage image(Size, Size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(Size / 32.0, Size / 32.0);
  // A binary eutectic: liquid above, two two-phase fields below the
  // liquidus, the eutectic line across.
  const QRectF plot(3, 3, 26, 26);
  p.fillRect(plot, QColor(0xE0, 0xFF, 0xFF));
  QPainterPath left, right;
  left.moveTo(3, 8);
  left.quadTo(10, 14, 15, 21);
  left.lineTo(3, 21);
  left.closeSubpath();
  right.moveTo(29, 6);
  right.quadTo(21, 13, 15, 21);
  right.lineTo(29, 21);
  right.closeSubpath();
  p.fillPath(left, QColor(0xE0, 0xE0, 0xFF));
  p.fillPath(right, QColor(0xFF, 0xE0, 0xE0));
  p.fillRect(QRectF(3, 21, 26, 8), QColor(0xD8, 0xFF, 0xD8));
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(Qt::NoBrush);
  QPainterPath liquidus;
  liquidus.moveTo(3, 8);
  liquidus.quadTo(10, 14, 15, 21);
  liquidus.quadTo(21, 13, 29, 6);
  p.drawPath(liquidus);
  p.drawLine(QPointF(3, 21), QPointF(29, 21));
  p.setPen(QPen(Qt::black, 2));
  p.drawRect(plot);
  return image;
}

namespace {
QFont PixelFont(const QString& family, int pixels, bool bold) {
  QFont f(family);
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}
}  // namespace

TSplashForm::TSplashForm(QWidget* AOwner) : QWidget(AOwner), ui_(new Ui::SplashForm) {
  Build();
  InitVersionResource();
  FormCreate(TVersionInfo());
}

TSplashForm::TSplashForm(const TVersionInfo& Info, QWidget* AOwner)
    : QWidget(AOwner), ui_(new Ui::SplashForm) {
  Build();
  FormCreate(Info);
}

TSplashForm::~TSplashForm() {
  SetMessageHandler(previousHandler_);
  if (SplashForm == this) SplashForm = nullptr;
}

void TSplashForm::PassMessage(const QString& Text) {
  // The splash window stays on top: a notice shown while it is up (for
  // example a missing info file) would sit hidden under it, and start-up
  // would seem to hang. It steps aside while the notice is shown.
  const bool shown = isVisible();
  hide();
  if (previousHandler_) {
    previousHandler_(Text);
  } else {
    const TMessageHandler own = SetMessageHandler(nullptr);  // the message box
    ShowMessage(Text);
    SetMessageHandler(own);
  }
  if (shown) show();
}

void TSplashForm::Build() {
  ui_->setupUi(this);
  copyrightDesign_ = ui_->Copyright->text();
  SplashForm = this;
  previousHandler_ = SetMessageHandler([this](const QString& Text) { PassMessage(Text); });
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setFixedSize(296, 185);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));  // clSilver
  pal.setColor(QPalette::WindowText, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);
  const QString sans = QStringLiteral("MS Sans Serif");
  setFont(PixelFont(sans, 11, false));
  for (QLabel* l : {ui_->ProductName, ui_->ProductVersion, ui_->ProjectVersion, ui_->Label1})
    l->setFont(PixelFont(sans, 9, true));
  ui_->Copyright->setFont(PixelFont(sans, 9, false));
  ui_->ProjectName->setFont(PixelFont(sans, 19, true));
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TSplashForm::FormCreate(const TVersionInfo& Info) {
  const TSplashTexts t = SplashTexts(Info, copyrightDesign_);
  ui_->ProductName->setText(t.ProductName);
  ui_->ProductVersion->setText(t.ProductVersion);
  ui_->ProjectName->setText(t.ProjectName);
  ui_->ProjectVersion->setText(t.ProjectVersion);
  ui_->Copyright->setText(t.Copyright);
  const QIcon icon = QApplication::windowIcon();
  ui_->ProgramIcon->setPixmap(icon.isNull() ? QPixmap::fromImage(ProgramIconImage(26))
                                            : icon.pixmap(26, 26));
}

QLabel* TSplashForm::ProgramIcon() const { return ui_->ProgramIcon; }
QLabel* TSplashForm::ProductName() const { return ui_->ProductName; }
QLabel* TSplashForm::ProductVersion() const { return ui_->ProductVersion; }
QLabel* TSplashForm::ProjectName() const { return ui_->ProjectName; }
QLabel* TSplashForm::ProjectVersion() const { return ui_->ProjectVersion; }
QLabel* TSplashForm::Copyright() const { return ui_->Copyright; }
QLabel* TSplashForm::Label1() const { return ui_->Label1; }

QString TSplashForm::Caption() const {
  return ui_->ProjectName->text() + QLatin1Char(' ') + ui_->ProjectVersion->text();
}
