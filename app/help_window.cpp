#include "app/help_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

// The manual lives in the static library pd_app, whose unreferenced
// resource objects the linker would drop; registering it here keeps it.
// Q_INIT_RESOURCE must be used outside any namespace.
static void InitHelpResource() { Q_INIT_RESOURCE(help); }

const QUrl THelpWindow::ContentsPage(QStringLiteral("qrc:/help/index.html"));

THelpWindow::THelpWindow(QWidget* AOwner) : QWidget(AOwner, Qt::Window) {
  InitHelpResource();
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Phase Diagrams Help"));
  resize(720, 600);

  auto* contents = new QPushButton(QStringLiteral("Contents"), this);
  contents->setObjectName(QStringLiteral("ContentsButton"));
  back_ = new QPushButton(QStringLiteral("Back"), this);
  back_->setObjectName(QStringLiteral("BackButton"));
  forward_ = new QPushButton(QStringLiteral("Forward"), this);
  forward_->setObjectName(QStringLiteral("ForwardButton"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(true);  // only links that leave the manual

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);

  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(contents, &QPushButton::clicked, browser_, [this] { browser_->setSource(ContentsPage); });
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  browser_->setSource(ContentsPage);
}

void THelpWindow::ShowContents() {
  if (browser_->source() != ContentsPage) browser_->setSource(ContentsPage);
  if (!placed_) {
    // The first time over the middle of the window that owns it.
    const QRect over = parentWidget() ? parentWidget()->window()->geometry()
                       : screen()    ? screen()->availableGeometry()
                                     : QRect();
    if (over.isValid()) move(over.center() - rect().center());
    placed_ = true;
  }
  show();
  raise();
  activateWindow();
}
