#pragma once

#include <QString>

namespace velmora {

// Where the program finds its files, given its own folder (ending in "/").
// A build keeps the help documents and the sample rolls beside the program;
// an installed program keeps them in share/velmora/ beside its bin/ folder.
// Every folder returned ends in "/".

// The help document of that file name: beside the program when it is there,
// otherwise in share/velmora/ when it is there, otherwise beside the program.
QString helpFile(const QString &appDir, const QString &fileName);

// A compiled translation (velmora_nl.qm), by the same rule as the help.
QString translationFile(const QString &appDir, const QString &fileName);

// Where File, Open starts: the program's folder when it holds a PRT file,
// otherwise share/velmora/samples/ when that exists, otherwise the program's
// folder.
QString samplesFolder(const QString &appDir);

// The folder of the parameter file and ports.map: the program's folder when
// it may write there and is not installed (its documents in share/velmora/),
// otherwise the user's configuration folder, made when missing.
QString settingsFolder(const QString &appDir);

} // namespace velmora
