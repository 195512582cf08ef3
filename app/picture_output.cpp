// Pictures and data of a diagram control for files and the clipboard.
#include "app/picture_output.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "app/document.h"
#include "app/shortcuts.h"
#include "app/window_kit.h"
#include "platform/messages.h"
#include "diagram/plotkit.h"
#include "platform/vectorpicture.h"

const QString SavePictureFilter = QStringLiteral(
    "Windows Bitmap Files [*.bmp] (*.bmp);;PNG Images [*.png] (*.png);;"
    "SVG Drawings [*.svg] (*.svg);;PDF Files [*.pdf] (*.pdf)");

QString PictureFormatOf(const QString& FileName) {
  const QString suffix = QFileInfo(FileName).suffix().toLower();
  return suffix == "png" || suffix == "svg" || suffix == "pdf" || suffix == "bmp" ? suffix : QString();
}

QString WithPictureExtension(const QString& FileName) {
  return PictureFormatOf(FileName).isEmpty() ? FileName + QStringLiteral(".bmp") : FileName;
}

void RecordDiagram(TPhasePlot& Plot, TVectorPicture& Picture, QSize Size, double Scale) {
  // A bitmap pixel is 0.75 point at 96 dots per inch; a picture drawn at a
  // scale needs its fills at least as fine as its own pixels.
  Picture.SetTraceScale(std::max(TVectorPicture::TraceScaleFor(0.75), int(std::ceil(Scale - 1e-9))));
  Plot.RecordPicture(Picture, Size.width(), Size.height());
}

namespace {

QByteArray PngOf(const QImage& Image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!Image.save(&buffer, "PNG")) return {};
  return bytes;
}

}  // namespace

QByteArray DiagramPictureBytes(TPhasePlot& Plot, const QString& Format, QSize Size, double Scale,
                               QString* Why) {
  auto fail = [&](const QString& why) {
    if (Why) *Why = why;
    return QByteArray();
  };
  if (Size.isEmpty()) return fail(QStringLiteral("the picture has no size"));
  if (!(Scale > 0) || Size.width() * Scale > 30000 || Size.height() * Scale > 30000)
    return fail(QStringLiteral("the scale gives no picture of a size that can be made"));
  TVectorPicture picture;
  QByteArray bytes;
  if (Format == "png" && Scale == 1) {
    // The screen's own pixels, exactly.
    TBitmap pixels;
    picture.SetTraceScale(1);
    Plot.RecordPicture(picture, Size.width(), Size.height(), &pixels);
    bytes = PngOf(pixels.Image());
  } else {
    RecordDiagram(Plot, picture, Size, Scale);
    if (Format == "svg")
      bytes = picture.ToSvg(Plot.Title());
    else if (Format == "pdf")
      bytes = picture.ToPdf(Plot.Title());
    else if (Format == "png")
      bytes = PngOf(picture.ToImage(Scale));
    else
      return fail(QStringLiteral("the picture's name must end in .png, .svg, .pdf or .bmp"));
  }
  if (bytes.isEmpty()) return fail(QStringLiteral("the picture could not be encoded"));
  return bytes;
}

bool SaveDiagramPicture(TPhasePlot& Plot, const QString& FileName, QSize Size, double Scale,
                        QString* Why) {
  const QByteArray bytes = DiagramPictureBytes(Plot, PictureFormatOf(FileName), Size, Scale, Why);
  return !bytes.isEmpty() && WriteWholeFile(FileName, bytes, Why);
}

void CopyDiagram(TPhasePlot& Plot) {
  const QSize size(Plot.Width(), Plot.Height());
  TVectorPicture picture;
  TBitmap pixels;
  picture.SetTraceScale(TVectorPicture::TraceScaleFor(0.75));
  Plot.RecordPicture(picture, size.width(), size.height(), &pixels);
  auto* mime = new QMimeData;
  const QImage image = pixels.Image().copy();
  mime->setImageData(image);
  mime->setData(QStringLiteral("image/png"), PngOf(image));
  mime->setData(QStringLiteral("image/svg+xml"), picture.ToSvg(Plot.Title()));
  QApplication::clipboard()->setMimeData(mime);
}

bool ExportDiagramData(const TPhasePlot& Plot, const QString& FileName, QString* Why) {
  return WriteWholeFile(FileName, Plot.DataCsv(), Why);
}

void ChooseAndSavePicture(QWidget* Window, TPhasePlot& Plot,
                          const std::function<void(const QString& FileName)>& SaveBitmap) {
  const TPictureChoice choice = ToolSeams().ChoosePicture(Window, QStringLiteral("Save Diagram"), SavePictureFilter,
                                                          QSize(Plot.Width(), Plot.Height()));
  if (choice.FileName.isEmpty()) return;
  // The extension chooses the format (".bmp" is appended to a name without
  // one): the bitmap is the control's own export at its fixed size, the
  // others the screen's picture at the size and scale chosen.
  const QString name = WithPictureExtension(choice.FileName);
  if (PictureFormatOf(name) == "bmp") {
    SaveBitmap(name);
    return;
  }
  QString why;
  if (!SaveDiagramPicture(Plot, name, choice.Size, choice.Scale, &why)) ReportSaveFailure(name, why, nullptr);
}

void AddOutputButtons(QWidget* Strip, int RowWidth, QWidget* Window, TPhasePlot* Plot) {
  AddStripButtons(
      Strip, RowWidth, Window,
      {{QStringLiteral("CopySpeedButton"), QStringLiteral("Copy Diagram"), Glyph(glCopy),
        CommandKeys(QKeySequence::Copy), [Plot] { CopyDiagram(*Plot); }},
       {QStringLiteral("ExportSpeedButton"), QStringLiteral("Export Data..."), Glyph(glTable), {},
        [Plot, Window] {
          const QString name = ChooseSaveName(Window, QStringLiteral("Export Data"), CsvFilter, QStringLiteral("csv"));
          if (name.isEmpty()) return;
          QString why;
          if (!ExportDiagramData(*Plot, name, &why))
            ShowMessage(QStringLiteral("Cannot export the data to %1: %2").arg(name, why));
        }}});
}
