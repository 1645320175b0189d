#pragma once

#include "job/punchjob.h"

#include <QString>

namespace velmora {

// What the desktop note says when a job halts without the operator's hand:
// what happened, and at which hole.
struct JobNotice
{
    QString title;
    QString text;
};

// hole: the last note punched, or for a lost port the next note.
JobNotice jobNotice(PunchJob::Halt why, int hole);

} // namespace velmora
