// A small host program: a main window holding a TTernagram fed from code
// with a simple ternary eutectic, and a read-out label that follows the
// mouse through the control's OnMouseMove event.
//
//   ternary_host            the window
//   ternary_host --check    no window shown: moves the mouse over the
//                           diagram, prints the read-out and exits 0 when
//                           it names a composition and a temperature
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>

#include "diagram/ternagram.h"

namespace {

// A-B-C with a ternary eutectic at 40 A, 30 B, 30 C and 900 degrees.
void FeedSystem(TTernagram& Diagram) {
  Diagram.SetCUnits(ternary::cuMolPercents);
  Diagram.SubstanceA()->SetName("A");
  Diagram.SubstanceB()->SetName("B");
  Diagram.SubstanceC()->SetName("C");
  Diagram.SetTitle("A-B-C");
  const struct {
    const char* Name;
    float FillA, FillB;
    std::vector<TTernaryTPoint> Points;
  } fields[] = {{"(A)", 75, 8, {{100, 0, 1500}, {60, 40, 1100}, {40, 30, 900}, {55, 0, 1050}}},
                {"(B)", 12, 75, {{0, 100, 1700}, {0, 45, 1200}, {40, 30, 900}, {60, 40, 1100}}},
                {"(C)", 12, 12, {{0, 0, 1400}, {55, 0, 1050}, {40, 30, 900}, {0, 45, 1200}}}};
  int i = 0;
  for (const auto& f : fields) {
    TTernaryArea& area = Diagram.AreaList()[i++];
    area.Identifier = f.Name;
    area.FillA = f.FillA;
    area.FillB = f.FillB;
    area.TPointCount = std::uint8_t(f.Points.size());
    for (std::size_t k = 0; k < f.Points.size(); ++k) area.TPoints[k] = f.Points[k];
  }
  Diagram.SetAreas(3);
  // Three valleys from the binary eutectics to the ternary one; runs are
  // separated by A = -1.
  Diagram.CurveA() = {-1, 60, 50, 40, -1, 0, 20, 40, -1, 55, 46, 40};
  Diagram.CurveB() = {-1, 40, 36, 30, -1, 45, 40, 30, -1, 0, 14, 30};
  Diagram.SetCurveLastIndex(11);
  Diagram.SetDrawSplines(true);
  Diagram.SetDrawAreas(true);
  Diagram.SetDrawTPoints(true);
}

QString ReadOut(const TTernagram& Diagram) {
  if (!Diagram.CursorOnArea()) return QStringLiteral("Point at the diagram");
  const TFullDataPoint& p = Diagram.CursorPoint();
  return QStringLiteral("A %1  B %2  C %3  T %4  %5")
      .arg(p.A, 0, 'f', 1)
      .arg(p.B, 0, 'f', 1)
      .arg(p.C, 0, 'f', 1)
      .arg(std::isfinite(p.T) ? QString::number(p.T, 'f', 0) : QStringLiteral("-"))
      .arg(p.PhaseName);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const bool check = application.arguments().contains("--check");

  QMainWindow window;
  window.setWindowTitle("Ternary host");
  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  auto* diagram = new TTernagram;
  auto* readOut = new QLabel("Point at the diagram");
  readOut->setObjectName("ReadOut");
  layout->addWidget(diagram, 1);
  layout->addWidget(readOut);
  window.setCentralWidget(central);
  window.resize(800, 640);
  FeedSystem(*diagram);
  // OnMouseMove is raised before the control works out the point under the
  // cursor: the read-out is taken once the move has been handled.
  diagram->SetOnMouseMove([diagram, readOut](QObject*, TShiftState, int, int) {
    QTimer::singleShot(0, readOut, [diagram, readOut] { readOut->setText(ReadOut(*diagram)); });
  });

  if (!check) {
    window.show();
    return application.exec();
  }
  // Headless: lay the window out, paint the diagram and move the mouse to
  // the middle of its triangle.
  window.setAttribute(Qt::WA_DontShowOnScreen);
  window.show();
  diagram->Repaint();
  const QPointF middle(diagram->width() / 2.0, diagram->height() * 0.6);
  QMouseEvent move(QEvent::MouseMove, middle, diagram->mapToGlobal(middle), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(diagram, &move);
  QApplication::processEvents();
  std::printf("%s\n", qPrintable(readOut->text()));
  return readOut->text().startsWith("A ") ? 0 : 1;
}
