#pragma once

#include "roll/rollgeometry.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora {

// The roll a snapshot names.
struct RemoteRoll
{
    QString path;
    QString name; // as the summary shows it
    int holes = 0;
};

// What the remote view tells of the program at one moment. The program fills
// this plain value when a client asks; the server never looks at the job.
struct RemoteStatus
{
    enum class State
    {
        Idle,
        Punching,
        Paused, // also a job started and waiting for Resume, or asking "Really stop?"
    };
    enum class Outcome
    {
        None, // no job has ended yet
        Completed,
        Stopped,        // Stop, then Yes
        ControllerStop, // the controller sent "stop"
    };

    State state = State::Idle;
    std::optional<RemoteRoll> roll; // none while no roll is loaded
    int nextNote = 0;
    int sent = 0;                    // holes sent in the current or the last job
    QString remaining;               // the time to go as lblRemain shows it
    Outcome outcome = Outcome::None; // how the last job that ended ended
    QStringList log;                 // the newest lines of the log, oldest first
    QDateTime time;
};

// The body of /status: {"state", "roll": {"path", "name", "holes"} or null,
// "nextNote", "sent", "remaining", "outcome" or null, "log": [...], "time"},
// compact, the time in ISO 8601 with its offset from UTC.
QByteArray statusJson(const RemoteStatus &status);

// The roll picture of the remote view: the preview's shapes for a picture of
// width x height pixels.
struct RollPicture
{
    int width = 0;
    int height = 0;
    std::vector<RollShape> shapes;
};

// The picture as an SVG document, drawn as the preview paints its shapes: on
// paper colour, one-pixel outlines, filled only where the shape is filled.
QByteArray rollSvg(const RollPicture &picture);

} // namespace velmora
