#pragma once
// What both windows build on and neither owns, below both, so that the
// window files use each other in one direction only (the main window owns
// the ternary one; documents, menus and pictures lie below both): the radio
// groups of their option pages, the seams to the desktop, the tool-bar
// glyphs and strip buttons, the file filters, the save dialog and the
// printer question.
#include <QColor>
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QButtonGroup;
class QDialog;
class QGroupBox;
class QPainter;
class QPrinter;
class QWidget;

// --- Radio groups ----------------------------------------------------------

// A radio group is a QGroupBox whose radio buttons form one QButtonGroup
// with the item indexes as ids. -1: no item chosen (or no radio group).
int RadioGroupItemIndex(const QGroupBox* RadioGroup);
void SetRadioGroupItemIndex(QGroupBox* RadioGroup, int Index);
// Turns the radio buttons of a group box, in the order they were created,
// into its items 0, 1, ...; and the items of a group made so.
void MakeRadioGroup(QGroupBox* RadioGroup);
QButtonGroup* RadioGroupItems(const QGroupBox* RadioGroup);

// --- The desktop -----------------------------------------------------------

// A picture file to save and the size it is drawn at: Size in the
// diagram's pixels (up to MaxPictureSide a side), Scale device pixels per
// pixel.
constexpr int MaxPictureSide = 10000;
struct TPictureChoice {
  QString FileName;  // empty when the user cancels
  QSize Size;
  double Scale = 1;
};

// The windows' actions reach the desktop (printer, file dialogs, questions,
// modal windows) through these seams, so that tests can drive every action
// without a dialog blocking them. The defaults are the real thing.
struct TToolSeams {
  // Whether the system has a default printer.
  std::function<bool()> PrinterPresent;
  // A Yes/No question; true for Yes.
  std::function<bool(const QString& Question)> Confirm;
  // The file-save dialog with its filters ("A (*.a);;B (*.b)"); the chosen
  // name, or empty when the user cancels. Among several filters, a name
  // typed without one of their extensions gets that of the filter chosen.
  std::function<QString(QWidget* Parent, const QString& Caption, const QString& Filter)>
      ChooseSaveFile;
  // The file-save dialog of a picture: ChooseSaveFile's, with the picture's
  // size (the window's, WindowSize, to start with) and scale below.
  std::function<TPictureChoice(QWidget* Parent, const QString& Caption, const QString& Filter,
                               QSize WindowSize)>
      ChoosePicture;
  // The file-open dialog with its filters; the chosen name, or empty when
  // the user cancels.
  std::function<QString(QWidget* Parent, const QString& Caption, const QString& Filter)>
      ChooseOpenFile;
  // Shows a window modally until it is closed.
  std::function<void(QDialog* Dialog)> ShowModal;
  // The colour dialog starting at Initial; an invalid colour when the user
  // cancels.
  std::function<QColor(QWidget* Parent, const QColor& Initial, const QString& Caption)> ChooseColor;
};

TToolSeams& ToolSeams();
// Back to the real printer, dialogs and windows.
void ResetToolSeams();

// The file filters of the windows' dialogs, and the question asked when
// there is no printer.
extern const QString BitmapFilter;  // "Windows Bitmap Files [*.bmp] (*.bmp)"
extern const QString PdfFilter;     // "PDF Files (*.pdf)"
extern const QString CsvFilter;     // "CSV Files (*.csv)"
extern const QString NoPrinterQuestion;

// A name to save under, asked for through ToolSeams().ChooseSaveFile;
// Extension is added to a name typed without one. Empty when cancelled.
QString ChooseSaveName(QWidget* Parent, const QString& Caption, const QString& Filter,
                       const QString& Extension);

// "Print Diagram" of both windows: Print(nullptr) prints on the default
// printer. Without one the user is asked whether to print into a PDF file
// instead and names it (".pdf" added when missing); Print then gets a
// printer writing that file.
void PrintOrOfferPdf(QWidget* Window, const std::function<void(QPrinter* Printer)>& Print);

// --- Tool strips -----------------------------------------------------------

// The tool bars' glyphs, 16 x 16, each with its greyed disabled state.
enum TGlyph { glPrint, glSave, glHelp, glInfo, glAbout, glTernary, glOpen, glSaveAs, glCopy, glTable };
QIcon Glyph(TGlyph Kind);
// An icon of a 16 x 16 tool-bar drawing (Draw paints it with a black pen),
// shown in grey when its button is disabled.
QIcon GlyphIcon(const std::function<void(QPainter&)>& Draw);

// One button of a window's tool strip with its window-wide action: object
// name "XxxSpeedButton" (its action "XxxAction"), hint, icon, keys (none
// when empty; see CommandKeys) and what it runs.
struct TStripButton {
  QString Name;
  QString Hint;
  QIcon Icon;
  QList<QKeySequence> Keys;
  std::function<void()> Run;
};
// Adds buttons to a tool bar strip, after the tool buttons already there
// (in a new row of the strip when they would reach past RowWidth). Each
// button shows its action, added to Window with the button's keys; its tool
// tip names the first key.
void AddStripButtons(QWidget* Strip, int RowWidth, QWidget* Window, std::vector<TStripButton> Buttons);
