// The tool-bar actions of the main window: print, save, help, info, about.
#include "app/main_form_tools.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/about_box.h"
#include "app/help_window.h"
#include "app/info_form.h"
#include "app/main_form.h"
#include "app/picture_output.h"
#include "app/program_files.h"
#include "app/settings.h"
#include "app/ternary_form.h"
#include "app/window_menus.h"

const QString BitmapFilter = QStringLiteral("Windows Bitmap Files [*.bmp] (*.bmp)");
const QString PdfFilter = QStringLiteral("PDF Files (*.pdf)");
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
    dialog.setNameFilters(filter.split(QStringLiteral(";;")));  // no default suffix: the caller decides
    QString name = RunFileDialog(dialog, caption);
    // Among several formats, a name typed without one of their extensions
    // takes that of the filter chosen.
    if (!name.isEmpty() && filter.contains(QStringLiteral(";;"))) {
      const QRegularExpression extension(QStringLiteral("\\*\\.(\\w+)\\)"));
      QStringList known;
      for (auto it = extension.globalMatch(filter); it.hasNext();) known << it.next().captured(1).toLower();
      const QRegularExpressionMatch chosen = extension.match(dialog.selectedNameFilter());
      if (chosen.hasMatch() && !known.contains(QFileInfo(name).suffix().toLower()))
        name += QLatin1Char('.') + chosen.captured(1);
    }
    return name;
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

QIcon Glyph(TGlyph Kind) {
  return GlyphIcon([Kind](QPainter& p) {
    switch (Kind) {
      case glPrint:  // a printer with a sheet coming out
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(1, 6, 13, 6);
        p.setBrush(Qt::white);
        p.drawRect(4, 10, 7, 5);
        p.setPen(QColor(0, 128, 0));
        p.drawPoint(12, 8);
        break;
      case glSave:  // a diskette
        p.setBrush(QColor(0, 0, 128));
        p.drawRect(1, 1, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(4, 9, 7, 5);
        p.fillRect(9, 2, 1, 3, QColor(0, 0, 128));
        break;
      case glHelp:
      case glInfo: {  // a blue disc with "?" or "i"
        p.setBrush(QColor(0, 0, 192));
        p.drawEllipse(0, 0, 15, 15);
        QFont f("Arial");
        f.setPixelSize(13);
        f.setBold(true);
        f.setStyleStrategy(QFont::NoAntialias);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, Kind == glHelp ? "?" : "i");
        break;
      }
      case glTernary: {  // a composition triangle with three coloured fields
        const QPointF a(1, 14), b(7.5, 2), c(14, 14), e(7.5, 9.5);
        // the colours of the sample's three fields, a little stronger
        const QColor fields[] = {QColor(128, 255, 255), QColor(160, 160, 255), QColor(255, 160, 160)};
        const QPointF corners[][4] = {{a, (a + b) / 2, e, (a + c) / 2},
                                      {b, (b + c) / 2, e, (a + b) / 2},
                                      {c, (a + c) / 2, e, (b + c) / 2}};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
          p.setBrush(fields[i]);
          p.drawPolygon(corners[i], 4);
        }
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        for (const QPointF& m : {(a + b) / 2, (b + c) / 2, (a + c) / 2}) p.drawLine(m, e);
        const QPointF outline[] = {a, b, c};
        p.drawPolygon(outline, 3);
        break;
      }
      case glAbout:  // a small phase diagram: axes and two boundary curves
        p.setBrush(QColor(255, 255, 224));
        p.drawRect(1, 1, 13, 13);
        p.setPen(QColor(255, 0, 0));
        p.drawLine(2, 5, 8, 9);
        p.drawLine(8, 9, 13, 3);
        p.setPen(QColor(0, 0, 255));
        p.drawLine(2, 11, 13, 11);
        break;
    }
  });
}

QIcon GlyphIcon(const std::function<void(QPainter&)>& Draw) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(Qt::black);
  Draw(p);
  p.end();
  QIcon icon(pm);
  // The disabled state: the same drawing in grey.
  QImage grey = pm.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y)
    for (int x = 0; x < grey.width(); ++x) {
      const QRgb c = grey.pixel(x, y);
      const int g = 128 + qGray(c) / 2;
      grey.setPixel(x, y, qRgba(g, g, g, qAlpha(c)));
    }
  icon.addPixmap(QPixmap::fromImage(grey), QIcon::Disabled);
  return icon;
}


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
      ToolSeams().ChooseSaveFile(this, QStringLiteral("Save Diagram"), SavePictureFilter);
  if (name.isEmpty()) return;
  // The extension chooses the format (".bmp" is appended to a name without
  // one); a bitmap is the print picture, the others the screen's. A failed
  // write is reported to the user.
  SaveChosenPicture(*Binagram1(), name, [this](const QString& file) { Binagram1()->SaveToBitmap(file, false); });
}

void TMainForm::HelpSpeedButtonClick() { ShowManual(this); }

void TMainForm::BitBtn1Click() { ShowInfo(this); }

void TMainForm::BitBtn3Click() { ShowAbout(this); }

void TMainForm::SpeedButton5Click() { ShowTernaryWindow(this); }
