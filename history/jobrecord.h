#pragma once

#include <QDateTime>
#include <QString>

namespace velmora {

// One job of the history: a row of history.sqlite.
struct JobRecord
{
    quint64 job = 0;    // the job's number in this run of the program; not kept
    QString started;    // ISO 8601 with the offset from UTC: 2025-03-01T14:05:09+01:00
    QString ended;      // while the job runs: when its last hole was sent
    QString roll;       // the roll's path
    QString name;       // the roll's name as its summary shows it
    int holes = 0;      // holes in the roll
    int first = 0;      // the first hole sent
    int last = 0;       // the last hole sent
    int sent = 0;       // holes sent
    qint64 seconds = 0; // punching time up to the last hole sent, pauses left out
    QString outcome;    // completed, stopped, controller-stop, interrupted; empty while running

    bool operator==(const JobRecord &) const = default;
};

// A moment as ISO 8601 to the second with its offset from UTC, "+00:00" for UTC.
QString isoTime(const QDateTime &time);

} // namespace velmora
