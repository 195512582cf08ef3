#pragma once
// The main window's tool-bar actions reach the desktop (printer, file
// dialog, questions, modal windows) through these seams, so that tests can
// drive every action without a dialog blocking them. The defaults are the
// real thing.
#include <QColor>
#include <QIcon>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

struct TToolSeams {
  // Whether the system has a default printer.
  std::function<bool()> PrinterPresent;
  // A Yes/No question; true for Yes.
  std::function<bool(const QString& Question)> Confirm;
  // The file-save dialog with one filter ("Description (*.ext)"); the chosen
  // name, or empty when the user cancels.
  std::function<QString(QWidget* Parent, const QString& Caption, const QString& Filter)>
      ChooseSaveFile;
  // The file-open dialog with its filters ("A (*.a);;B (*)"); the chosen
  // name, or empty when the user cancels.
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

// The tool bars' glyphs, 16 x 16, each with its greyed disabled state.
enum TGlyph { glPrint, glSave, glHelp, glInfo, glAbout, glTernary };
QIcon Glyph(TGlyph Kind);
// An icon of a 16 x 16 tool-bar drawing (Draw paints it with a black pen),
// shown in grey when its button is disabled.
QIcon GlyphIcon(const std::function<void(QPainter&)>& Draw);

// The filter of "Save Diagram" and the message when there is no printer.
extern const QString BitmapFilter;  // "Windows Bitmap Files [*.bmp] (*.bmp)"
extern const QString PdfFilter;     // "PDF Files (*.pdf)"
extern const QString NoPrinterQuestion;
