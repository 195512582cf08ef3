#pragma once
// Pictures and data of a diagram control for files and the clipboard, used
// by both windows and the command line.
//
// PNG, SVG and PDF show the picture the screen shows at a size; SVG and PDF
// are vectors (lines, curves and texts as such, the areas as filled
// outlines traced from the fill), and a PNG at a scale other than 1 is drawn
// from the same vectors at that many pixels per pixel. BMP stays the
// controls' own bitmap export.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

class TPhasePlot;
class TVectorPicture;

// "png", "svg", "pdf" or "bmp" by the file name's extension (any case), else
// empty.
QString PictureFormatOf(const QString& FileName);

// The filter of "Save Diagram" in both windows: BMP (the default), PNG, SVG
// and PDF.
extern const QString SavePictureFilter;
// The name the user chose with the format it asks for: a typed extension of
// the filter wins, else ".bmp" is appended.
QString WithPictureExtension(const QString& FileName);

// The control's picture at Size as vectors, traced finely enough to be drawn
// at Scale pixels per pixel (at least to a quarter point at 96 dpi).
void RecordDiagram(TPhasePlot& Plot, TVectorPicture& Picture, QSize Size, double Scale);
// The file contents of the control's picture at Size and Scale as "png",
// "svg" or "pdf"; empty with Why when it cannot be made. A PNG at scale 1
// holds the screen's pixels exactly.
QByteArray DiagramPictureBytes(TPhasePlot& Plot, const QString& Format, QSize Size, double Scale,
                               QString* Why);
// The same written through a temporary file; false with Why.
bool SaveDiagramPicture(TPhasePlot& Plot, const QString& FileName, QSize Size, double Scale,
                        QString* Why);
// Puts the control's picture at its size on the clipboard as PNG (also as
// an image) and as SVG ("image/svg+xml").
void CopyDiagram(TPhasePlot& Plot);
// Writes the control's DataCsv into FileName; false with Why.
bool ExportDiagramData(const TPhasePlot& Plot, const QString& FileName, QString* Why);

class QWidget;
// Adds "Copy Diagram" (Ctrl+C: CopyDiagram) and "Export Data..." (asks for a
// CSV file, ".csv" added to a name without an extension; a failure is told
// to the user) to a window's tool strip (see AddStripButtons):
// "CopySpeedButton" and "ExportSpeedButton".
void AddOutputButtons(QWidget* Strip, int RowWidth, QWidget* Window, TPhasePlot* Plot);
// "Save Diagram" of both windows: asks for the file, its size and scale
// (ToolSeams().ChoosePicture, at the control's size to start with). A
// bitmap goes through SaveBitmap (the controls' own export); PNG, SVG and
// PDF show the diagram as the screen does, at the size and scale chosen. A
// failure is told to the user.
void ChooseAndSavePicture(QWidget* Window, TPhasePlot& Plot,
                          const std::function<void(const QString& FileName)>& SaveBitmap);
