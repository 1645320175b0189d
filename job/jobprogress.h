#pragma once

#include <QObject>

namespace velmora {

class HoleList;
class NextNoteState;
class PunchJob;

// Holes punched in this job out of the holes it has to punch: those punched
// so far and those from nextNote to the end of the roll. Choosing another
// next note during the job moves the total with it; after the last hole the
// two are equal.
struct Progress
{
    int punched = 0;
    int toPunch = 0;
};

Progress progressOf(int punched, int holeCount, int nextNote);

// The progress of the running job, for the bar beside the time to go. It
// starts afresh at Start, follows every hole sent and keeps its last value
// once the job has ended.
class JobProgress : public QObject
{
    Q_OBJECT
public:
    JobProgress(const PunchJob &job, const HoleList &holes, const NextNoteState &nextNote,
                QObject *parent = nullptr);

    Progress progress() const { return m_progress; }

signals:
    void changed(velmora::Progress progress);

private:
    void update(int punched);

    const HoleList &m_holes;
    const NextNoteState &m_nextNote;
    const PunchJob &m_job;
    Progress m_progress;
};

} // namespace velmora
