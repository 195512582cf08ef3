// The ternary window's print and save buttons: a picture of the fixed size
// whatever the window's, as other programs read it, a one-page PDF without
// a printer, and failures told to the user.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>

#include "app/window_kit.h"
#include "app/picture_output.h"
#include "app/ternary_form.h"
#include "app/ternary_sample.h"
#include "message_collector.h"

namespace ts = ternarysample;

namespace {

// The window on a machine without a printer whose user answers the PDF
// question with Yes and every file dialog with FileName.
struct OutputForm {
  MessageCollector messages;
  TTernaryForm form;
  QStringList filters;
  explicit OutputForm(const QString& FileName) {
    ToolSeams().PrinterPresent = [] { return false; };
    ToolSeams().Confirm = [](const QString&) { return true; };
    ToolSeams().ChooseSaveFile = [this, FileName](QWidget*, const QString&, const QString& f) {
      filters << f;
      return FileName;
    };
    ToolSeams().ChoosePicture = [this, FileName](QWidget*, const QString&, const QString& f, QSize size) {
      filters << f;
      return TPictureChoice{FileName, size, 1};
    };
    form.resize(1100, 800);
    form.show();
    form.Ternagram1()->Repaint();
  }
  ~OutputForm() { ResetToolSeams(); }
  void Press(const char* Button) { form.findChild<QToolButton*>(Button)->click(); }
};

QColor Colour(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

}  // namespace

TEST(TernaryOutput, ASavedBitmapShowsTheWholeDiagramAtTheFixedSize) {
  QTemporaryDir dir;
  for (const QString& name : {QStringLiteral("diagram.BMP"), QStringLiteral("diagram")}) {
    OutputForm f(dir.filePath(name));
    TTernagram& g = *f.form.Ternagram1();
    const TTernaLayout screen = g.Layout();
    f.Press("SaveSpeedButton");
    ASSERT_EQ(f.filters, QStringList{SavePictureFilter});
    EXPECT_TRUE(f.messages.texts.isEmpty()) << f.messages.texts.join("\n").toStdString();
    // The control is back at its screen layout.
    EXPECT_EQ(g.TriSide(), screen.TriSide);
    EXPECT_EQ(g.TriTop(), screen.TriTop);

    const QString file = dir.filePath(name.endsWith(".BMP") ? name : name + ".bmp");
    QImageReader reader(file);
    EXPECT_EQ(reader.format(), QByteArray("bmp"));
    const QImage picture = reader.read();
    ASSERT_FALSE(picture.isNull()) << file.toStdString() << ": " << reader.errorString().toStdString();
    ASSERT_EQ(picture.size(), QSize(TTernagram::FixedPictureWidth, TTernagram::FixedPictureHeight));

    // On white paper, the three fields in their colours, the legend's
    // swatches right of the triangle, the title above it.
    TTernagram copy;
    LoadTernarySample(copy);
    copy.RunLayout(picture.width(), picture.height());
    EXPECT_EQ(picture.pixelColor(3, 3), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(picture.width() - 3, picture.height() - 3), QColor(Qt::white));
    const int legendLeft = copy.TriLeft() + copy.TriSide();
    for (int area = 0; area < 3; ++area) {
      const QColor colour = Colour(NearestColor(AreaColors[area]));
      int inTriangle = 0, inLegend = 0;
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
          if (picture.pixelColor(x, y) == colour) ++(x < legendLeft ? inTriangle : inLegend);
      // Each field covers a good part of the triangle (of 108000 pixels).
      EXPECT_GT(inTriangle, 10000) << "field " << area;
      EXPECT_GT(inLegend, 20) << "legend swatch " << area;
    }
    int black = 0;
    for (int y = 0; y < copy.TriTop(); ++y)
      for (int x = copy.TriLeft(); x < copy.TriLeft() + copy.TriSide(); ++x)
        if (picture.pixelColor(x, y) == QColor(Qt::black)) ++black;
    EXPECT_GT(black, 50) << "no title or corner name above the triangle";
  }
}

TEST(TernaryOutput, ASaveThatFailsIsToldAndLeavesNoFile) {
  QTemporaryDir dir;
  OutputForm f(dir.filePath("missing/diagram.png"));
  f.Press("SaveSpeedButton");
  ASSERT_EQ(f.messages.texts.size(), 1);
  EXPECT_TRUE(f.messages.texts[0].startsWith("Cannot save the diagram to " + dir.filePath("missing/diagram.png")));
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(TernaryOutput, WithoutAPrinterPrintsOnePdfPageWithThePicture) {
  QTemporaryDir dir;
  OutputForm f(dir.filePath("ternary"));
  f.Press("PrintSpeedButton");
  EXPECT_EQ(f.filters, QStringList{PdfFilter});
  QFile pdf(dir.filePath("ternary.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QString bytes = QString::fromLatin1(pdf.readAll());
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_EQ(bytes.count(QRegularExpression("/Type\\s*/Page(?![s\\w])")), 1);
  // Vectors and texts (the picture's fixed size wider than tall: landscape),
  // no picture of pixels.
  EXPECT_FALSE(bytes.contains("/Subtype /Image"));
  EXPECT_TRUE(bytes.contains("/Font"));
  const QRegularExpressionMatch box =
      QRegularExpression("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]").match(bytes);
  ASSERT_TRUE(box.hasMatch());
  EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble());
  EXPECT_TRUE(f.messages.texts.isEmpty());
}
