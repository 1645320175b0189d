#pragma once

#include "remote/remotestatus.h"

#include <QObject>

namespace velmora {

class AppCore;
class PunchJob;

// How the last job ended, as the remote view tells it; kept from the job's
// ended signal.
class JobOutcomeTracker : public QObject
{
    Q_OBJECT
public:
    explicit JobOutcomeTracker(const PunchJob &job, QObject *parent = nullptr);

    RemoteStatus::Outcome outcome() const { return m_outcome; }

private:
    RemoteStatus::Outcome m_outcome = RemoteStatus::Outcome::None;
};

// The remote view's snapshot of the program: the job's state, the roll, the
// next note, the holes sent in this or the last job, lblRemain's text, the
// last 20 log lines and the time.
RemoteStatus remoteStatusOf(const AppCore &core);

// The roll as the preview draws it, in a picture of the preview's usual size.
RollPicture rollPictureOf(const AppCore &core);

} // namespace velmora
