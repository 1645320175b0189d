#pragma once

#include <QString>
#include <QStringView>

namespace velmora {

// The simulator binds a port name to its pseudo-terminal in the program's
// port map, so that the program finds it without any set-up.

// The text of a map with the line of one port set to the device: the first
// line for the port is replaced (keeping a comment at its end), later lines
// for it are dropped, and without one the line is added at the end. Every
// other line stays as it is.
QString mapTextWithLine(QStringView text, int port, const QString &device);

// Sets the line of one port in the map file, creating the file when it is
// missing; the file is replaced as a whole. On failure returns false and,
// when error is given, says why.
bool writeMapLine(const QString &filePath, int port, const QString &device,
                  QString *error = nullptr);

} // namespace velmora
