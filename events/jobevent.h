#pragma once

#include <QString>

#include <array>

namespace velmora {

// The moments of a job that an operator's command can follow.
enum class JobEvent
{
    Completed,      // the last hole was sent
    Stopped,        // the operator confirmed Stop
    ControllerStop, // the controller said "stop"
    PortLost,       // the port vanished and the job paused
};

inline constexpr std::array<JobEvent, 4> AllJobEvents{JobEvent::Completed, JobEvent::Stopped,
                                                      JobEvent::ControllerStop, JobEvent::PortLost};

// The event's name in velmora.ini, in %event and in the job history:
// "completed", "stopped", "controller-stop", "port-lost".
QString jobEventName(JobEvent event);

// What a command is told about the job.
struct EventFacts
{
    JobEvent event = JobEvent::Completed;
    QString roll;  // the roll's path
    QString name;  // the roll's name as its summary shows it
    int hole = 0;  // the last hole sent, 0 if none
    int holes = 0; // holes in the roll
    int sent = 0;  // holes sent in this job
};

} // namespace velmora
