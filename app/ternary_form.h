#pragma once
// TTernaryForm: the ternary window. The sample Bi-Pb-Sn system in
// Ternagram1 beside a column of option pages ("Diagram", "Presentation",
// "Isotherms") that set the diagram's properties, a tool bar (print, save,
// and the diagram documents' Open and Save As) and a status strip with the progress of the isotherm computation.
//
// The window is made once at start-up, like the other windows, and is not
// modal: the main window's "Ternary Diagram" button shows it (or brings it
// to the front) and both diagrams stay usable side by side. Closing it only
// hides it, and it never keeps the program running once the main window is
// closed.
#include <QWidget>
#include <memory>

#include "diagram/ternagram.h"

class QGroupBox;
class QTimer;
struct TTernaryDocument;
namespace Ui {
class TernaryForm;
}

class TTernaryForm : public QWidget {
  Q_OBJECT
 public:
  explicit TTernaryForm(QWidget* AOwner = nullptr);
  ~TTernaryForm() override;

  TTernagram* Ternagram1() const;
  int DesignWidth() const { return designWidth_; }
  int DesignHeight() const { return designHeight_; }

  // Shows the window at its design size the first time, then as the user
  // left it, and brings it to the front.
  void ShowWindow();

  // Window handlers.
  void FormCreate();
  void FormResize();

  // Option pages: each sets the property its control stands for.
  void OrientationGroupClick();
  void CUnitsGroupClick();
  void TUnitsGroupClick();
  void GridTypeGroupClick();
  void TCalcMethodGroupClick();
  void LineTypeGroupClick();
  void ControlsChange();
  void IsothermSettingsChange();
  void HotIsothermColorButtonClick();
  // Brings every option control in line with Ternagram1's properties.
  void ShowProperties();

  // Tool bar.
  void PrintSpeedButtonClick();  // "Print Diagram"
  void SaveSpeedButtonClick();   // "Save Diagram"
  void OpenSpeedButtonClick();    // "Open Diagram", Ctrl+O
  void SaveAsSpeedButtonClick();  // "Save Diagram As", Ctrl+Shift+S

  // Shows an opened document: Ternagram1 loads it, and the option pages
  // (the orientations' captions too) follow the new diagram.
  void ShowDocument(const TTernaryDocument& Document);

  // Ternagram1's events.
  void Ternagram1ZoomIn(QObject* Sender);
  void Ternagram1ZoomOut(QObject* Sender);
  void Ternagram1IsothermCalcStep(QObject* Sender);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ConnectControls();
  // The menu bar; the tool buttons show its actions.
  void CreateMenus();
  void EndProgress();
  // The orientations name the substances in the order of the corners.
  void ShowSubstanceNames();

  std::unique_ptr<Ui::TernaryForm> ui_;
  int designWidth_ = 0;
  int designHeight_ = 0;
  bool shownBefore_ = false;
  // Option controls are being set from the diagram: their changes are not
  // the user's.
  bool syncing_ = false;
  // The isotherm progress: rows of the composition grid begun, of all rows
  // (0 while no computation runs), and the poll for the computation's end.
  int progressRow_ = 0;
  int progressRows_ = 0;
  QTimer* progressTimer_ = nullptr;
  // A picture for print or file is being made (it may compute isotherms
  // outside a paint of the diagram).
  bool outputRunning_ = false;
};

// The ternary window, created at start-up after the info window; else null.
extern TTernaryForm* TernaryForm;
