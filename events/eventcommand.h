#pragma once

#include "events/jobevent.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace velmora {

// A command line ready to start: the program and its arguments.
struct PreparedCommand
{
    QString program;
    QStringList arguments;
};

// One argument with %event, %roll, %name, %hole, %holes and %sent replaced by
// the job's facts and %% by a single %. Replaced text is not looked at again,
// and any other % stays as it is.
QString substituteFacts(const QString &argument, const EventFacts &facts);

// The command line split into program and arguments as QProcess splits it
// (blanks separate, double quotes group, three double quotes make one), then
// the facts put into every argument. An empty or blank line gives no program.
PreparedCommand prepareCommand(const QString &commandLine, const EventFacts &facts);

// base with VELMORA_EVENT, VELMORA_ROLL, VELMORA_NAME, VELMORA_HOLE,
// VELMORA_HOLES and VELMORA_SENT set to the facts.
QProcessEnvironment eventEnvironment(const EventFacts &facts, QProcessEnvironment base);

} // namespace velmora
