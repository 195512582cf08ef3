// Vector output of both controls: the screen's picture recorded as vectors,
// the printed page drawn from vectors, and the numbers of the data files.
#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "diagram/plotkit.h"
#include "platform/messages.h"
#include "platform/vectorpicture.h"

void TPhasePlot::RecordPicture(TVectorPicture& Picture, int Width, int Height, TBitmap* Pixels) {
  Width = std::max(Width, 1);
  Height = std::max(Height, 1);
  {
    TBitmap own;
    TBitmap& bitmap = Pixels ? *Pixels : own;
    bitmap.SetSize(Width, Height);
    TCanvas& c = *bitmap.Canvas();
    c.Recorder = &Picture;
    DrawScreenPicture(c, Width, Height);
    c.Recorder = nullptr;
  }
  Picture.SetSize(Width, Height);
  // The layout is the picture's now: at another size than the control's the
  // mouse needs the screen's back (at the same size it is the same).
  if (Width != this->Width() || Height != this->Height()) Repaint();
}

bool PrintVectorPage(QPrinter& Printer, const TVectorPicture& Picture, const QString& Footer) {
  bool ok = false;
  Printer.setPageOrientation(Picture.Width() > Picture.Height() ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
  Printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  QPainter painter;
  if (painter.begin(&Printer)) {
    // The painter's units are the printer's dots inside the margins.
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    painter.setFont(font);
    const QFontMetrics metrics(font, &Printer);
    const int footerHeight = metrics.lineSpacing() * (int(Footer.count(QLatin1Char('\n'))) + 1);
    const double pageW = Printer.width(), pageH = Printer.height() - footerHeight - metrics.lineSpacing();
    const double s = std::max(0.0, std::min(pageW / std::max(Picture.Width(), 1),
                                            pageH / std::max(Picture.Height(), 1)));
    const double w = Picture.Width() * s, h = Picture.Height() * s;
    const double left = (pageW - w) / 2;
    painter.save();
    painter.translate(left, 0);
    painter.scale(s, s);
    painter.setClipRect(QRectF(0, 0, Picture.Width(), Picture.Height()));
    Picture.Play(painter);
    painter.restore();
    painter.setPen(Qt::black);
    painter.drawText(QRectF(left, h + metrics.lineSpacing() / 2.0, std::max(w, 1.0), footerHeight),
                     Qt::AlignLeft | Qt::AlignTop, Footer);
    ok = painter.end();
  }
  if (!ok) {
    const QString where = Printer.outputFormat() == QPrinter::PdfFormat ? Printer.outputFileName()
                                                                        : Printer.printerName();
    ShowMessage(QStringLiteral("Cannot print the diagram on %1.").arg(where));
  }
  return ok;
}

QString CsvNumber(double Value) {
  if (std::isnan(Value)) return {};
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, Value);
  return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString CsvText(const QString& Value) {
  if (!Value.contains(QLatin1Char(',')) && !Value.contains(QLatin1Char('"')) &&
      !Value.contains(QLatin1Char('\n')) && !Value.contains(QLatin1Char('\r')))
    return Value;
  QString quoted = Value;
  quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}
