#include "history/jobrecorder.h"

#include <utility>

namespace velmora {

namespace {

QString now()
{
    return isoTime(QDateTime::currentDateTime());
}

} // namespace

JobRecorder::JobRecorder(QObject *parent) : QObject(parent) {}

void JobRecorder::jobStarted(const RollFacts &roll)
{
    JobRecord record;
    record.job = m_record.job + 1;
    record.started = now();
    record.roll = roll.path;
    record.name = roll.name;
    record.holes = roll.holes;
    m_record = record;
    m_running = true;
}

void JobRecorder::holeSent(int hole, qint64 seconds)
{
    if (!m_running)
        return;
    if (m_record.sent++ == 0)
        m_record.first = hole;
    m_record.last = hole;
    m_record.seconds = seconds;
    m_record.ended = now();
    emit recordChanged(m_record);
}

void JobRecorder::jobEnded(JobEvent how)
{
    if (!std::exchange(m_running, false))
        return;
    raise(how);
    if (m_record.sent == 0)
        return;
    m_record.ended = now();
    m_record.outcome = jobEventName(how);
    emit recordChanged(m_record);
}

void JobRecorder::portLost()
{
    if (m_running)
        raise(JobEvent::PortLost);
}

void JobRecorder::raise(JobEvent event)
{
    emit eventRaised(
        {event, m_record.roll, m_record.name, m_record.last, m_record.holes, m_record.sent});
}

} // namespace velmora
