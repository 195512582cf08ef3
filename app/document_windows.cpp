// Documents from the windows: the Open and Save As buttons and where an
// opened document goes.
#include "app/document_windows.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QToolButton>
#include <algorithm>

#include "app/main_form.h"
#include "app/main_form_tools.h"
#include "app/settings.h"
#include "app/shortcuts.h"
#include "app/ternary_form.h"
#include "platform/messages.h"

namespace {

// 16 x 16 glyphs in the manner of the other tool-bar buttons: an opening
// folder, and a diskette with a pencil.
QIcon DocumentGlyph(bool Open) {
  return GlyphIcon([Open](QPainter& p) {
    if (Open) {
      p.setBrush(QColor(224, 192, 64));
      p.drawRect(1, 4, 11, 9);
      p.setBrush(QColor(255, 224, 128));
      p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 13), QPoint(1, 13)}));
      p.setPen(QColor(0, 0, 128));
      p.drawLine(9, 1, 13, 1);
      p.drawLine(13, 1, 13, 5);
    } else {
      p.setBrush(QColor(0, 0, 128));
      p.drawRect(1, 1, 11, 13);
      p.setBrush(Qt::white);
      p.drawRect(3, 1, 7, 5);
      p.setPen(QColor(192, 0, 0));
      p.drawLine(15, 5, 8, 12);
      p.drawLine(14, 5, 7, 12);
    }
  });
}

}  // namespace

TMainForm* MainWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* form = qobject_cast<TMainForm*>(w)) return form;
  return nullptr;
}

void AddDocumentButtons(QWidget* Strip, int RowWidth, QWidget* Window, std::function<void()> Open,
                        std::function<void()> SaveAs) {
  AddStripButtons(Strip, RowWidth, Window,
                  {{QStringLiteral("OpenSpeedButton"), QStringLiteral("Open Diagram"), DocumentGlyph(true),
                    CommandKeys(QKeySequence::Open), std::move(Open)},
                   {QStringLiteral("SaveAsSpeedButton"), QStringLiteral("Save Diagram As"),
                    DocumentGlyph(false), CommandKeys(QKeySequence::SaveAs), std::move(SaveAs)}});
}

void AddStripButtons(QWidget* Strip, int RowWidth, QWidget* Window, std::vector<TStripButton> Buttons) {
  // After the rightmost button there, in its row and of its size.
  QRect last(-32, 0, 35, 22);
  for (QToolButton* b : Strip->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly))
    if (b->geometry().right() > last.right() || b->geometry().top() > last.top()) last = b->geometry();
  for (auto& b : Buttons) {
    QRect place = last.translated(last.width() + 1, 0);
    if (place.right() >= RowWidth - 2) {
      // A new row: the strip grows by one button's height.
      place = QRect(4, last.bottom() + 3, last.width(), last.height());
      const int h = place.bottom() + 3;
      Strip->setMinimumHeight(std::max(Strip->minimumHeight(), h));
      Strip->setMaximumHeight(std::max(Strip->minimumHeight(), h));
    }
    auto* action = new QAction(b.Icon, b.Hint, Window);
    action->setObjectName(QString(b.Name).replace("SpeedButton", "Action"));
    action->setShortcuts(b.Keys);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, Window, [run = std::move(b.Run)] { run(); });
    Window->addAction(action);
    auto* button = new QToolButton(Strip);
    button->setObjectName(b.Name);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setGeometry(place);
    button->setToolTip(HintWithKey(b.Hint, *action));
    button->show();
    last = place;
  }
}

QString DocumentFileName(const QString& Chosen) {
  return QFileInfo(Chosen).suffix().isEmpty() ? Chosen + '.' + DocumentExtension : Chosen;
}

void ChooseAndOpenDocument(QWidget* Parent) {
  const QString name = ToolSeams().ChooseOpenFile(
      Parent, QStringLiteral("Open Diagram"), DocumentFilter + QStringLiteral(";;All Files (*)"));
  if (!name.isEmpty()) OpenDocumentFile(name);
}

bool OpenDocumentFile(const QString& FileName) {
  TDiagramDocument document;
  QString error;
  if (!ReadDocument(FileName, document, &error)) {
    ShowMessage(error);
    return false;
  }
  NoteRecentDocument(FileName);
  if (document.Kind == TDiagramKind::Binary) {
    TMainForm* form = MainWindow();
    if (!form) {
      ShowMessage(QStringLiteral("Cannot open %1: there is no main window to show it in").arg(FileName));
      return false;
    }
    form->ShowDocument(document.Binary);
    if (form->isVisible()) {
      if (form->isMinimized()) form->showNormal();
      form->raise();
      form->activateWindow();
    }
    return true;
  }
  // The ternary window is made at start-up; should it be missing, it is
  // made as the main window's "Ternary Diagram" button makes it.
  if (!TernaryForm) {
    TMainForm* main = MainWindow();
    if (!main) {
      ShowMessage(QStringLiteral("Cannot open %1: there is no ternary window to show it in").arg(FileName));
      return false;
    }
    new TTernaryForm(main);
  }
  TernaryForm->ShowDocument(document.Ternary);
  TernaryForm->ShowWindow();
  return true;
}

void ChooseAndSaveDocument(QWidget* Parent, const TDiagramDocument& Document) {
  const QString chosen = ToolSeams().ChooseSaveFile(Parent, QStringLiteral("Save Diagram As"),
                                                    DocumentFilter);
  if (chosen.isEmpty()) return;
  QString error;
  const QString name = DocumentFileName(chosen);
  if (WriteDocument(name, Document, &error))
    NoteRecentDocument(name);
  else
    ShowMessage(error);
}
