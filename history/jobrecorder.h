#pragma once

#include "events/jobevent.h"
#include "history/jobrecord.h"

#include <QObject>

namespace velmora {

// The roll a job punches, as the job's start found it.
struct RollFacts
{
    QString path;
    QString name; // as the summary shows it
    int holes = 0;
};

// Follows a job from its start to its end and says what became of it: the
// job's record for the history, from its first hole sent to its end, and the
// facts of each event for the operator's commands. A job that sent no hole
// has no record, but its events are raised all the same.
class JobRecorder : public QObject
{
    Q_OBJECT
public:
    explicit JobRecorder(QObject *parent = nullptr);

    // Start made a new job on roll.
    void jobStarted(const velmora::RollFacts &roll);
    // A hole of the job went out; seconds is the punching time so far.
    void holeSent(int hole, qint64 seconds);
    // The job ended: completed, stopped by the operator or by the controller.
    void jobEnded(velmora::JobEvent how);
    // The job's port vanished and the job paused.
    void portLost();

    bool recording() const { return m_running; }

signals:
    void recordChanged(const velmora::JobRecord &record);
    void eventRaised(const velmora::EventFacts &facts);

private:
    void raise(JobEvent event);

    bool m_running = false;
    JobRecord m_record;
};

} // namespace velmora
