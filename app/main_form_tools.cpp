// The tool-bar actions of the main window: print, save, help, info, about.
#include "app/main_form_tools.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/about_box.h"
#include "app/help_window.h"
#include "app/info_form.h"
#include "app/main_form.h"

const QString BitmapFilter = QStringLiteral("Windows Bitmap Files [*.bmp] (*.bmp)");
const QString PdfFilter = QStringLiteral("PDF Files (*.pdf)");
const QString NoPrinterQuestion =
    QStringLiteral("No printer is installed. Print the diagram into a PDF file instead?");

namespace {
TToolSeams RealSeams() {
  TToolSeams s;
  s.PrinterPresent = [] { return !QPrinterInfo::defaultPrinter().isNull(); };
  s.Confirm = [](const QString& question) {
    return QMessageBox::question(nullptr, QString(), question) == QMessageBox::Yes;
  };
  s.ChooseSaveFile = [](QWidget* parent, const QString& caption, const QString& filter) {
    QFileDialog dialog(parent, caption);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);  // no default suffix: the caller decides
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().front();
  };
  s.ChooseOpenFile = [](QWidget* parent, const QString& caption, const QString& filter) {
    QFileDialog dialog(parent, caption);
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().front();
  };
  s.ShowModal = [](QDialog* dialog) { dialog->exec(); };
  return s;
}
}  // namespace

TToolSeams& ToolSeams() {
  static TToolSeams seams = RealSeams();
  return seams;
}

void ResetToolSeams() { ToolSeams() = RealSeams(); }

void TMainForm::BitBtn2Click() {
  if (ToolSeams().PrinterPresent()) {
    Binagram1()->Print();
    return;
  }
  // Without a printer the button still does something useful: a PDF file.
  if (!ToolSeams().Confirm(NoPrinterQuestion)) return;
  QString name = ToolSeams().ChooseSaveFile(this, QStringLiteral("Print Diagram"), PdfFilter);
  if (name.isEmpty()) return;
  if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) name += QStringLiteral(".pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(name);
  Binagram1()->Print(printer);
}

void TMainForm::BitBtn4Click() {
  const QString name =
      ToolSeams().ChooseSaveFile(this, QStringLiteral("Save Diagram"), BitmapFilter);
  if (name.isEmpty()) return;
  // ".bmp" is appended always, whatever the name ends with; a failed write
  // is reported by SaveToBitmap.
  Binagram1()->SaveToBitmap(name + QStringLiteral(".bmp"), false);
}

void TMainForm::HelpSpeedButtonClick() {
  auto* help = findChild<THelpWindow*>(QStringLiteral("HelpWindow"), Qt::FindDirectChildrenOnly);
  if (!help) help = new THelpWindow(this);
  help->ShowContents();
}

void TMainForm::BitBtn1Click() {
  if (!InfoForm) new TInfoForm(this);  // normally made at start-up
  ToolSeams().ShowModal(InfoForm);
}

void TMainForm::BitBtn3Click() {
  if (!AboutBox) new TAboutBox(this);  // normally made at start-up
  ToolSeams().ShowModal(AboutBox);
}
