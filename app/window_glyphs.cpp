// The tool bars' 16 x 16 glyphs, drawn in the manner of the classic tool
// bars: a few flat shapes with a black outline.
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include "app/window_kit.h"

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
      case glOpen:  // an opening folder
        p.setBrush(QColor(224, 192, 64));
        p.drawRect(1, 4, 11, 9);
        p.setBrush(QColor(255, 224, 128));
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 13), QPoint(1, 13)}));
        p.setPen(QColor(0, 0, 128));
        p.drawLine(9, 1, 13, 1);
        p.drawLine(13, 1, 13, 5);
        break;
      case glSaveAs:  // a diskette with a pencil
        p.setBrush(QColor(0, 0, 128));
        p.drawRect(1, 1, 11, 13);
        p.setBrush(Qt::white);
        p.drawRect(3, 1, 7, 5);
        p.setPen(QColor(192, 0, 0));
        p.drawLine(15, 5, 8, 12);
        p.drawLine(14, 5, 7, 12);
        break;
      case glCopy:  // two sheets, one over the other
        p.setBrush(Qt::white);
        p.drawRect(1, 1, 8, 10);
        p.drawRect(6, 4, 8, 10);
        p.drawLine(8, 7, 12, 7);
        p.drawLine(8, 9, 12, 9);
        p.drawLine(8, 11, 11, 11);
        break;
      case glTable:  // a table of numbers
        p.setBrush(Qt::white);
        p.drawRect(1, 2, 13, 11);
        p.drawLine(1, 5, 14, 5);
        p.drawLine(5, 2, 5, 13);
        p.drawLine(10, 2, 10, 13);
        p.drawLine(1, 9, 14, 9);
        break;
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
