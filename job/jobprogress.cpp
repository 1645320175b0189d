#include "job/jobprogress.h"

#include "job/punchjob.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"

#include <algorithm>

namespace velmora {

Progress progressOf(int punched, int holeCount, int nextNote)
{
    const int ahead = int(std::clamp<qint64>(qint64(holeCount) - nextNote + 1, 0, holeCount));
    return {punched, punched + ahead};
}

JobProgress::JobProgress(const PunchJob &job, const HoleList &holes, const NextNoteState &nextNote,
                         QObject *parent)
    : QObject(parent), m_holes(holes), m_nextNote(nextNote), m_job(job)
{
    connect(&job, &PunchJob::started, this, [this] { update(0); });
    connect(&job, &PunchJob::holeSent, this, [this] {
        // A single punch after the job has ended is no part of it.
        if (m_job.jobRunning())
            update(m_progress.punched + 1);
    });
}

void JobProgress::update(int punched)
{
    m_progress = progressOf(punched, m_holes.holeCount(), m_nextNote.value());
    emit changed(m_progress);
}

} // namespace velmora
