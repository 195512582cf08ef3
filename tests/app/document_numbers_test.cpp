// Numbers in saved documents are those the user gave: unit and orientation
// switches there and back, made on the windows, leave no rounding noise in
// the file; typed numbers are written as typed.
#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QFile>
#include <QGroupBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/document.h"
#include "app/main_form.h"
#include "app/window_kit.h"
#include "app/ternary_form.h"
#include "message_collector.h"

namespace {

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void Choose(QWidget& window, const char* group, int item) {
  auto* box = window.findChild<QGroupBox*>(group);
  ASSERT_NE(box, nullptr) << group;
  QAbstractButton* b = RadioGroupItems(box)->button(item);
  ASSERT_NE(b, nullptr) << group << " " << item;
  b->click();
  ASSERT_EQ(RadioGroupItemIndex(box), item) << group;
}

// Save As on the window, into path.
void SaveAs(QWidget& window, const QString& path) {
  ToolSeams().ChooseSaveFile = [&](QWidget*, const QString&, const QString&) { return path; };
  window.findChild<QAction*>("SaveAsAction")->trigger();
  ResetToolSeams();
}

}  // namespace

// Both windows start with the shipped samples; every unit and orientation
// there and back again, then Save As: the file is the sample, byte for byte.
TEST(DocumentNumbers, UnitRoundTripsOnTheWindowsSaveTheNumbersAsGiven) {
  MessageCollector messages;
  QTemporaryDir dir;
  TMainForm main;
  TTernaryForm ternary(&main);
  const struct {
    QWidget* Window;
    const char* Sample;
    std::vector<std::pair<const char*, int>> Trip;
  } windows[] = {
      {&main, "al2o3-sio2.pdiag",
       {{"RadioGroup1", 0}, {"RadioGroup1", 3}, {"RadioGroup1", 1}, {"RadioGroup1", 0}, {"RadioGroup1", 2},
        {"RadioGroup5", 1}, {"RadioGroup5", 2}, {"RadioGroup5", 1}, {"RadioGroup5", 0},
        {"RadioGroup4", 1}, {"RadioGroup1", 0}, {"RadioGroup4", 0}, {"RadioGroup1", 2}}},
      {&ternary, "bi-pb-sn.pdiag",
       {{"CUnitsGroup", 0}, {"CUnitsGroup", 3}, {"CUnitsGroup", 1}, {"CUnitsGroup", 2},
        {"TUnitsGroup", 1}, {"TUnitsGroup", 2}, {"TUnitsGroup", 0},
        {"OrientationGroup", 4}, {"CUnitsGroup", 0}, {"OrientationGroup", 3}, {"OrientationGroup", 5},
        {"CUnitsGroup", 2}, {"OrientationGroup", 0}}},
  };
  for (const auto& w : windows) {
    SCOPED_TRACE(w.Sample);
    // The shipped samples name their schema beside them; a document saved
    // elsewhere does not.
    QByteArray sample = Contents(QStringLiteral(PD_SOURCE_DIR "/samples/") + w.Sample);
    sample.replace("    \"$schema\": \"pdiag.schema.json\",\n", "");
    const QString path = dir.filePath(w.Sample);
    SaveAs(*w.Window, path);
    ASSERT_EQ(Contents(path).toStdString(), sample.toStdString());
    for (const auto& [group, item] : w.Trip) Choose(*w.Window, group, item);
    SaveAs(*w.Window, path);
    EXPECT_EQ(Contents(path).toStdString(), sample.toStdString());
  }
  EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(" | ").toStdString();
}

// A number a user could type is written as typed; one a rounding error
// away from such a number, as that number; and what is read back is
// written the same again.
TEST(DocumentNumbers, TypedNumbersStayAndRoundingNoiseGoes) {
  const struct {
    double Curve;      // a binary curve point's composition (double)
    float AreaT;       // an area's temperature (float)
    const char* CurveText;
    const char* AreaText;
  } numbers[] = {
      {97.49999999999999, 1899.9999f, "97.5", "1900"},
      {60.00000000000001, 1900.0001f, "60", "1900"},
      {0.30000000000000004, 0.3f, "0.3", "0.3"},
      {12.5, 101.9613f, "12.5", "101.9613"},
      {0.00001, 12.34567f, "1e-05", "12.34567"},
      {33.3, 2173.15f, "33.3", "2173.15"},
      {99.999999, 1234.567f, "99.999999", "1234.567"},
  };
  TDiagramDocument d;
  d.Kind = TDiagramKind::Binary;
  d.Binary.Substances[0].Name = "A";
  d.Binary.Substances[1].Name = "B";
  for (const auto& n : numbers) {
    SCOPED_TRACE(n.CurveText);
    TPhaseArea area;
    area.Identifier = "Area";
    area.C = 50;
    area.T = n.AreaT;
    d.Binary.Areas = {area};
    d.Binary.Curves = {{{n.Curve, 1000}, {100 - n.Curve, 1000}}};
    const QByteArray text = DocumentText(d);
    EXPECT_TRUE(text.contains(QByteArray("[") + n.CurveText + ", 1000]")) << text.toStdString();
    EXPECT_TRUE(text.contains(QByteArray("\"t\": ") + n.AreaText + "\n")) << text.toStdString();
    TDiagramDocument read;
    QString place, what;
    ASSERT_TRUE(ParseDocument(text, read, &place, &what)) << place.toStdString() << ": " << what.toStdString();
    EXPECT_EQ(DocumentText(read).toStdString(), text.toStdString());
  }
}
