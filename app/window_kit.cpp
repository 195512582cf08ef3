// What both windows build on: radio groups, the desktop's seams, the save
// dialog, the printer question and the tool strips' buttons.
#include "app/window_kit.h"

#include <QAction>
#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>

#include "app/program_files.h"
#include "app/settings.h"
#include "app/shortcuts.h"

// --- Radio groups ----------------------------------------------------------

QButtonGroup* RadioGroupItems(const QGroupBox* RadioGroup) {
  return RadioGroup ? RadioGroup->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly)
                    : nullptr;
}

void MakeRadioGroup(QGroupBox* RadioGroup) {
  auto* items = new QButtonGroup(RadioGroup);
  int id = 0;
  for (QRadioButton* b : RadioGroup->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
    items->addButton(b, id++);
}

int RadioGroupItemIndex(const QGroupBox* RadioGroup) {
  const QButtonGroup* items = RadioGroupItems(RadioGroup);
  return items ? items->checkedId() : -1;
}

void SetRadioGroupItemIndex(QGroupBox* RadioGroup, int Index) {
  QButtonGroup* items = RadioGroupItems(RadioGroup);
  if (!items) return;
  if (QAbstractButton* b = items->button(Index)) {
    b->setChecked(true);
  } else if (QAbstractButton* checked = items->checkedButton()) {
    items->setExclusive(false);
    checked->setChecked(false);
    items->setExclusive(true);
  }
}

// --- The desktop -----------------------------------------------------------

const QString BitmapFilter = QStringLiteral("Windows Bitmap Files [*.bmp] (*.bmp)");
const QString PdfFilter = QStringLiteral("PDF Files (*.pdf)");
const QString CsvFilter = QStringLiteral("CSV Files (*.csv)");
const QString NoPrinterQuestion =
    QStringLiteral("No printer is installed. Print the diagram into a PDF file instead?");

namespace {

// Runs a file dialog in the folder it was last left in (the installed
// samples for the first Open) and remembers the folder of the file chosen.
QString RunFileDialog(QFileDialog& Dialog, const QString& Caption) {
  QString start = LastFolder(Caption);
  if (start.isEmpty() && Dialog.acceptMode() == QFileDialog::AcceptOpen) start = SamplesFolder();
  if (!start.isEmpty()) Dialog.setDirectory(start);
  if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return QString();
  const QString chosen = Dialog.selectedFiles().front();
  NoteLastFolder(Caption, QFileInfo(chosen).absolutePath());
  return chosen;
}

// The extensions named by a filter list, "(*.ext)" each.
const QRegularExpression FilterExtension(QStringLiteral("\\*\\.(\\w+)\\)"));

// A save dialog's chosen name: among several formats, a name typed without
// one of their extensions takes that of the filter chosen.
QString RunSaveDialog(QFileDialog& Dialog, const QString& Caption, const QString& Filter) {
  QString name = RunFileDialog(Dialog, Caption);
  if (name.isEmpty() || !Filter.contains(QStringLiteral(";;"))) return name;
  QStringList known;
  for (auto it = FilterExtension.globalMatch(Filter); it.hasNext();) known << it.next().captured(1).toLower();
  const QRegularExpressionMatch chosen = FilterExtension.match(Dialog.selectedNameFilter());
  if (chosen.hasMatch() && !known.contains(QFileInfo(name).suffix().toLower()))
    name += QLatin1Char('.') + chosen.captured(1);
  return name;
}

void PrepareSaveDialog(QFileDialog& Dialog, const QString& Filter) {
  Dialog.setObjectName(QStringLiteral("SaveDialog1"));
  Dialog.setAcceptMode(QFileDialog::AcceptSave);
  Dialog.setNameFilters(Filter.split(QStringLiteral(";;")));  // no default suffix: the caller decides
}

// The picture's size and scale below the save dialog's own rows: width and
// height in the diagram's pixels (the window's to start with, again by
// "Window Size") and the scale. A bitmap keeps its fixed size, so the row
// is greyed while the bitmap filter is chosen.
struct TPictureSizeRow {
  QSpinBox* Width;
  QSpinBox* Height;
  QComboBox* Scale;

  TPictureSizeRow(QFileDialog& Dialog, QSize Window) {
    auto* row = new QWidget(&Dialog);
    row->setObjectName(QStringLiteral("PictureSizeRow"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto side = [row](const char* Name, int Value) {
      auto* box = new QSpinBox(row);
      box->setObjectName(QString::fromLatin1(Name));
      box->setRange(1, MaxPictureSide);
      box->setValue(std::clamp(Value, 1, MaxPictureSide));
      box->setSuffix(QStringLiteral(" px"));
      return box;
    };
    Width = side("PictureWidth", Window.width());
    Height = side("PictureHeight", Window.height());
    Scale = new QComboBox(row);
    Scale->setObjectName(QStringLiteral("PictureScale"));
    for (int s : {1, 2, 3, 4}) Scale->addItem(QStringLiteral("%1 \u00d7").arg(s), s);
    auto* fit = new QPushButton(QStringLiteral("Window Size"), row);
    QObject::connect(fit, &QPushButton::clicked, row, [this, Window] {
      Width->setValue(Window.width());
      Height->setValue(Window.height());
    });
    layout->addWidget(new QLabel(QStringLiteral("Picture size:"), row));
    layout->addWidget(Width);
    layout->addWidget(new QLabel(QStringLiteral("\u00d7"), row));
    layout->addWidget(Height);
    layout->addWidget(new QLabel(QStringLiteral("Scale:"), row));
    layout->addWidget(Scale);
    layout->addWidget(fit);
    layout->addStretch();
    if (auto* grid = qobject_cast<QGridLayout*>(Dialog.layout()))
      grid->addWidget(row, grid->rowCount(), 0, 1, grid->columnCount());
    auto follow = [row](const QString& filter) { row->setEnabled(!filter.contains(QStringLiteral("*.bmp"))); };
    QObject::connect(&Dialog, &QFileDialog::filterSelected, row, follow);
    follow(Dialog.selectedNameFilter());
  }
};

TToolSeams RealSeams() {
  TToolSeams s;
  s.PrinterPresent = [] { return !QPrinterInfo::defaultPrinter().isNull(); };
  s.Confirm = [](const QString& question) {
    return QMessageBox::question(nullptr, QString(), question) == QMessageBox::Yes;
  };
  s.ChooseSaveFile = [](QWidget* parent, const QString& caption, const QString& filter) {
    QFileDialog dialog(parent, caption);
    PrepareSaveDialog(dialog, filter);
    return RunSaveDialog(dialog, caption, filter);
  };
  s.ChoosePicture = [](QWidget* parent, const QString& caption, const QString& filter, QSize window) {
    QFileDialog dialog(parent, caption);
    PrepareSaveDialog(dialog, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // the size row lives in Qt's own dialog
    const TPictureSizeRow size(dialog, window);
    TPictureChoice choice;
    choice.FileName = RunSaveDialog(dialog, caption, filter);
    choice.Size = QSize(size.Width->value(), size.Height->value());
    choice.Scale = size.Scale->currentData().toDouble();
    return choice;
  };
  s.ChooseOpenFile = [](QWidget* parent, const QString& caption, const QString& filter) {
    QFileDialog dialog(parent, caption);
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    return RunFileDialog(dialog, caption);
  };
  s.ShowModal = [](QDialog* dialog) { dialog->exec(); };
  s.ChooseColor = [](QWidget* parent, const QColor& initial, const QString& caption) {
    return QColorDialog::getColor(initial, parent, caption);
  };
  return s;
}

}  // namespace

TToolSeams& ToolSeams() {
  static TToolSeams seams = RealSeams();
  return seams;
}

void ResetToolSeams() { ToolSeams() = RealSeams(); }

QString ChooseSaveName(QWidget* Parent, const QString& Caption, const QString& Filter,
                       const QString& Extension) {
  const QString name = ToolSeams().ChooseSaveFile(Parent, Caption, Filter);
  return !name.isEmpty() && QFileInfo(name).suffix().isEmpty() ? name + QLatin1Char('.') + Extension : name;
}

void PrintOrOfferPdf(QWidget* Window, const std::function<void(QPrinter* Printer)>& Print) {
  if (ToolSeams().PrinterPresent()) {
    Print(nullptr);
    return;
  }
  // Without a printer the button still does something useful: a PDF file.
  if (!ToolSeams().Confirm(NoPrinterQuestion)) return;
  QString name = ToolSeams().ChooseSaveFile(Window, QStringLiteral("Print Diagram"), PdfFilter);
  if (name.isEmpty()) return;
  if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) name += QStringLiteral(".pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(name);
  Print(&printer);
}

// --- Tool strips -----------------------------------------------------------

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
