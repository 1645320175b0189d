#pragma once

#include "history/jobrecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

namespace velmora {

// A field as CSV writes it: in double quotes, each inner double quote
// doubled, when it holds a comma, a double quote, a CR or an LF.
QString csvField(const QString &text);

// The header row "started,ended,roll,name,holes,first,last,sent,seconds,outcome",
// then one row per job in the order given; rows end with CR LF; UTF-8.
QByteArray historyCsv(const QList<JobRecord> &rows);

// The job history of the settings folder as CSV on out, oldest job first,
// without changing the file. No history yet gives the header row alone.
// Returns the program's exit status: 0, or 1 with the reason on err when
// the history cannot be read.
int printHistory(const QString &settingsDir, QIODevice &out, QIODevice &err);

} // namespace velmora
