#pragma once
// Where the program finds its own files (the information text, the sample
// documents and their schema). Installed, they lie in the data folder
// beside the program's folder (bin/../share/phasediagrams), so the program
// finds them from its own location whatever folder it is started in.
#include <QString>

// The installed data folder, absolute; empty when the program does not run
// from an installation (a build folder, a test).
QString ProgramDataFolder();
// A file of the program's by name: in the current folder when it is there
// (a copy the user keeps beside their work), else in the data folder; the
// name as given when it is in neither (so a message names what was looked
// for).
QString FindProgramFile(const QString& Name);
// The folder of the installed samples; empty when there is none.
QString SamplesFolder();
