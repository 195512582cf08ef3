#pragma once
// TMainForm: the demonstration's main window. The sample Al2O3-SiO2 system
// in Binagram1 beside a column of option pages ("Diagram", "Presentation")
// that set the diagram's properties, the batch calculator ("Stacking") and
// a tool bar (print, save, help, info, about, and the ternary window).
#include <QWidget>
#include <memory>

#include "diagram/binagram.h"

#include "app/window_kit.h"

struct TBinaryDocument;

namespace Ui {
class MainForm;
}

class TMainForm : public QWidget {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* AOwner = nullptr);
  ~TMainForm() override;

  TBinagram* Binagram1() const;
  const TSplinesData& SampleCurves() const { return sampleCurves_; }
  int DesignWidth() const { return designWidth_; }
  int DesignHeight() const { return designHeight_; }

  // Window handlers.
  void FormCreate();
  void FormActivate();
  void FormResize();

  // Option pages.
  void RadioGroup4Click();
  void RadioGroup1Click();
  void RadioGroup5Click();
  void CheckBox1Click();
  void CheckBox2Click();
  void CheckBox4Click();
  void CheckBox3Click();
  void CheckBox5Click();
  void CheckBox6Click();
  void RadioGroup2Click();
  void RadioGroup3Click();

  // Tool bar and menus (app/main_form_tools.cpp).
  void BitBtn2Click();          // "Print Diagram"
  void BitBtn4Click();          // "Save Diagram"
  void HelpSpeedButtonClick();  // "Help"
  void BitBtn1Click();          // "Info"
  void BitBtn3Click();          // "About"
  void SpeedButton5Click();     // "Ternary Diagram"

  // Documents (app/main_form_documents.cpp).
  void OpenSpeedButtonClick();    // "Open Diagram", Ctrl+O
  void SaveAsSpeedButtonClick();  // "Save Diagram As", Ctrl+Shift+S
  // Shows a binary document in Binagram1: the option pages follow its
  // settings and the batch calculator starts over without a marked point.
  void ShowDocument(const TBinaryDocument& Document);
  // Brings every option control in line with Binagram1's properties.
  void ShowProperties();

  // Binagram1's events.
  void Binagram1ZoomIn(QObject* Sender);
  void Binagram1ZoomOut(QObject* Sender);
  void Binagram1MarkPoint(QObject* Sender);
  void Binagram1MouseMove(QObject* Sender, TShiftState Shift, int X, int Y);

  // Batch calculator ("Stacking").
  void ComboBox1Change();
  void ComboBox2Change();
  void SpinEdit1Change();
  void StackingMain();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ConnectControls();
  // Opened documents of both kinds come through this window: binary ones
  // into Binagram1, ternary ones into the ternary window, made if missing.
  void ReceiveDocuments();
  // The menu bar; the tool buttons show its actions.
  void CreateMenus();
  // Without a marked point: both lists back to the pure substances, quietly,
  // disabled, and the results hidden.
  void LockCalculator();

  std::unique_ptr<Ui::MainForm> ui_;
  TSplinesData sampleCurves_;
  int designWidth_ = 0;
  int designHeight_ = 0;
};
