#pragma once
// The program's command line:
//
//   phasediagrams                      the windows with the sample systems
//   phasediagrams FILE                 the windows with FILE open
//   phasediagrams --render FILE PICTURE [FILE PICTURE ...] [--size WxH] [--scale S]
//                                      pictures of documents, no window
//   phasediagrams --export FILE DATA.csv [FILE DATA.csv ...] [--size WxH]
//                                      the documents' data as CSV
//   phasediagrams --write-samples FOLDER
//                                      the built-in samples as documents
//   phasediagrams --info               the information text, as the Info
//                                      window shows it
//   phasediagrams --help | --version
//
// --no-settings, anywhere on the line, keeps the windows from reading or
// writing the remembered state (recent documents, last folders).
//
// Qt's own options for the windows (-platform NAME, -style NAME, -reverse,
// ...) may stand anywhere; any other option is refused. The command line is
// read before any application object exists, so a wrong one ends the
// program with status 2 whether or not there is a display. Everything but
// the windows runs without a display: main() chooses the offscreen
// platform for it, display or not, and hands it none of Qt's options.
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <utility>
#include <vector>

#include "app/document.h"

struct TCommandLine {
  enum TAction { caWindows, caHelp, caVersion, caRender, caWriteSamples, caError, caExport, caInfo };
  TAction Action = caWindows;
  QString OpenFile;  // caWindows: the document to open, if any
  std::vector<std::pair<QString, QString>> Renders;  // caRender: document and picture
  QSize Size{800, 600};                              // of every picture rendered
  double Scale = 1;                                  // pixels per picture pixel (PNG, BMP)
  QString SamplesFolder;                             // caWriteSamples
  QString Error;                                     // caError: what is wrong, one line
  bool NoSettings = false;                           // --no-settings
  QStringList QtArguments;  // Qt's own options with their values, for the windows
};

// The arguments after the program's name.
TCommandLine ParseCommandLine(const QStringList& Arguments);
// Whether the action needs no display (all but the windows).
inline bool RunsWithoutDisplay(const TCommandLine& Line) {
  return Line.Action != TCommandLine::caWindows;
}
// Why the windows cannot be shown, on a system where Qt would otherwise
// abort: no platform chosen (QT_QPA_PLATFORM, -platform) and no X11 or
// Wayland display named. Empty when the windows can be tried.
QString WhyNoDisplay(const TCommandLine& Line);
QString UsageText();
QString VersionText();

// The picture of a document as its control paints it on screen at Size
// (a fresh control, nothing marked, the cursor away).
QImage DocumentPicture(const TDiagramDocument& Document, QSize Size);
// Renders a document file into a picture file, PNG, BMP (24 bits) or PDF
// (one page the picture's size at 96 dots per inch) by the extension,
// through a temporary file. False with a one-line reason.
// SVG and PDF are vectors; a PNG or BMP at a Scale other than 1 is drawn
// from the vectors at Scale times the size.
bool RenderDocument(const QString& DocumentFile, const QString& PictureFile, QSize Size,
                    QString* Error, double Scale = 1);
// Writes a document's data (its control's DataCsv, the isotherms traced on
// a diagram of Size) into a CSV file. False with a one-line reason.
bool ExportDocumentData(const QString& DocumentFile, const QString& DataFile, QSize Size,
                        QString* Error);
// Writes the built-in samples as al2o3-sio2.pdiag and bi-pb-sn.pdiag.
bool WriteSamples(const QString& Folder, QString* Error);

// Runs an action that needs no window (an application object must exist
// for caRender and caWriteSamples). Returns the exit code: 0, or 1 after
// one line per failure on Err (2 for a command line that makes no sense).
int RunCommandLine(const TCommandLine& Line, std::FILE* Out, std::FILE* Err);
