#include "events/eventcommand.h"

#include <QProcess>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

struct Fact
{
    QString placeholder; // without the %
    QString environment;
    QString value;
};

// "holes" stands before "hole", so that %holes is never read as %hole + "s".
QList<Fact> factsOf(const EventFacts &facts)
{
    return {{u"event"_s, u"VELMORA_EVENT"_s, jobEventName(facts.event)},
            {u"roll"_s, u"VELMORA_ROLL"_s, facts.roll},
            {u"name"_s, u"VELMORA_NAME"_s, facts.name},
            {u"holes"_s, u"VELMORA_HOLES"_s, QString::number(facts.holes)},
            {u"hole"_s, u"VELMORA_HOLE"_s, QString::number(facts.hole)},
            {u"sent"_s, u"VELMORA_SENT"_s, QString::number(facts.sent)}};
}

} // namespace

QString substituteFacts(const QString &argument, const EventFacts &facts)
{
    const QList<Fact> known = factsOf(facts);
    QString result;
    qsizetype i = 0;
    while (i < argument.size()) {
        const QChar c = argument.at(i++);
        if (c != u'%') {
            result += c;
            continue;
        }
        if (argument.mid(i, 1) == u"%"_s) {
            result += c;
            ++i;
            continue;
        }
        const auto fact = std::find_if(known.begin(), known.end(), [&](const Fact &f) {
            return QStringView(argument).mid(i).startsWith(f.placeholder);
        });
        if (fact == known.end()) {
            result += c;
            continue;
        }
        result += fact->value;
        i += fact->placeholder.size();
    }
    return result;
}

PreparedCommand prepareCommand(const QString &commandLine, const EventFacts &facts)
{
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty())
        return {};
    for (QString &word : words)
        word = substituteFacts(word, facts);
    const QString program = words.takeFirst();
    return {program, words};
}

QProcessEnvironment eventEnvironment(const EventFacts &facts, QProcessEnvironment base)
{
    for (const Fact &fact : factsOf(facts))
        base.insert(fact.environment, fact.value);
    return base;
}

} // namespace velmora
