#include "app/info_form.h"

#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>

#include "app/program_files.h"
#include "platform/messages.h"
#include "ui_info_form.h"

TInfoForm* InfoForm = nullptr;
const QString TInfoForm::FileName = QStringLiteral("phasediagrams.inf");

namespace {
// More than any information text needs; a larger file is not read whole.
constexpr qint64 kMaxInfoBytes = 16 * 1024 * 1024;
}  // namespace

TInfoForm::TInfoForm(QWidget* AOwner) : QDialog(AOwner), ui_(new Ui::InfoForm) {
  ui_->setupUi(this);
  InfoForm = this;
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(752, 536);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(13);
  setFont(font);
  QFont bold = font;
  bold.setBold(true);
  ui_->OKButton->setFont(bold);
  QPalette pal = ui_->RichEdit1->palette();
  pal.setColor(QPalette::Base, QColor(0xF0, 0xF0, 0xF0));  // clBtnFace
  ui_->RichEdit1->setPalette(pal);
  connect(ui_->OKButton, &QPushButton::clicked, this, &QDialog::accept);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  FormCreate();
}

TInfoForm::~TInfoForm() {
  if (InfoForm == this) InfoForm = nullptr;
}

void TInfoForm::FormCreate() { LoadFile(FindProgramFile(FileName)); }

bool TInfoForm::LoadFile(const QString& Name) {
  QFile file(Name);
  QByteArray data;
  bool ok = file.open(QIODevice::ReadOnly);
  if (ok) {
    data = file.read(kMaxInfoBytes);
    ok = file.error() == QFileDevice::NoError;
  }
  if (!ok) {
    ui_->RichEdit1->clear();
    ShowMessage(QStringLiteral("Cannot open file %1").arg(Name));
    return false;
  }
  const QString text = QString::fromUtf8(data);
  if (Qt::mightBeRichText(text))
    ui_->RichEdit1->setHtml(text);
  else
    ui_->RichEdit1->setPlainText(text);
  return true;
}

QTextBrowser* TInfoForm::RichEdit1() const { return ui_->RichEdit1; }
