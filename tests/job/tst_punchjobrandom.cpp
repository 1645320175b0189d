#include "format/holecommandcomposer.h"
#include "format/outputformat.h"
#include "job/punchjob.h"
#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/linksender.h"
#include "link/logbook.h"
#include "platform/clock.h"
#include "prt/holelist.h"
#include "roll/nextnotestate.h"
#include "tests/support/fakeserialport.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QString Completed = u"Punching is completed, all notes punched"_s;

// The job on the link over a fake port, as in the program: readiness from CTS,
// Xon and Xoff, the controller's "stop" in the received text. The trail holds
// every log entry and every next note the operator chose, in order.
struct Rig
{
    explicit Rig(int holeCount)
    {
        for (int n = 1; n <= holeCount; ++n)
            holes.append(Hole{100 * n, 30 + n, 100 * n + 10, 10 * n, 5, 0, 1});
        composer.setFormat(
            OutputFormat::fromTexts(u"00050701****************", u"01040404****************"));
        nextNote.set(1);
        QObject::connect(&log, &Logbook::appended,
                         [this](const QString &entry) { trail << entry.chopped(2); });
        QObject::connect(&events, &CommEvents::stopRequested, &job, &PunchJob::stopRequested);
        port.open(u"/dev/fake"_s, u"9600,N,8,1");
    }

    bool settle()
    {
        for (int i = 0; i < 10000 && (job.punching() || job.singlePunchBusy()); ++i)
            clock.runNext();
        return !job.punching() && !job.singlePunchBusy();
    }

    VirtualClock clock{1000000};
    HoleList holes;
    HoleCommandComposer composer{holes};
    NextNoteState nextNote;
    Logbook log;
    LinkLamps lamps;
    FakeSerialPort port;
    CommEvents events{port, log, lamps, [this] { return nextNote.value(); }};
    LinkSender link{port, log, events};
    PunchJob job{clock, holes, composer, nextNote, link};
    QStringList trail;
};

// What an operator and a controller may do, with their weights.
const std::pair<const char *, int> Actions[] = {
    {"start", 4}, {"resume", 8}, {"pause", 6},     {"1punch", 3}, {"stop", 3},
    {"no", 3},    {"yes", 1},    {"next", 2},      {"cts+", 3},   {"cts-", 3},
    {"xon", 3},   {"xoff", 3},   {"controller", 1}};

void act(Rig &rig, const QString &action, int next)
{
    const QHash<QString, std::function<void()>> actions = {
        {u"start"_s, [&] { rig.job.start(); }},
        {u"resume"_s, [&] { rig.job.resume(); }},
        {u"pause"_s, [&] { rig.job.pause(); }},
        {u"1punch"_s, [&] { rig.job.punchOne(); }},
        {u"stop"_s, [&] { rig.job.requestStop(); }},
        {u"no"_s, [&] { rig.job.cancelStop(); }},
        {u"yes"_s, [&] { rig.job.confirmStop(); }},
        {u"next"_s,
         [&] {
             rig.trail << u"next=%1"_s.arg(next);
             rig.nextNote.set(next);
         }},
        {u"cts+"_s, [&] { rig.port.setCts(true); }},
        {u"cts-"_s, [&] { rig.port.setCts(false); }},
        {u"xon"_s, [&] { rig.port.receive(QByteArray(1, CommEvents::Xon)); }},
        {u"xoff"_s, [&] { rig.port.receive(QByteArray(1, CommEvents::Xoff)); }},
        {u"controller"_s, [&] { rig.port.receive("stop\r"); }},
    };
    actions.value(action)();
}

// The job's flags and enabled controls after it settled: one of the states
// of the job's state table.
QString state(const PunchJob &job)
{
    const JobControls c = job.controls();
    QString text = u"%1/%2/"_s.arg(job.jobRunning()).arg(job.jobState());
    const std::pair<bool, const char *> flags[] = {
        {c.start, "start"},        {c.pause, "pause"},         {c.resume, "resume"},
        {c.singlePunch, "1punch"}, {c.stop, "stop"},           {c.exit, "exit"},
        {c.openPort, "openport"},  {c.fileMenu, "file"},       {c.settingsMenu, "settings"},
        {c.testMenu, "tools"},     {c.stopQuestion, "picStop"}};
    QStringList on;
    for (const auto &[flag, name] : flags) {
        if (flag)
            on << QLatin1String(name);
    }
    return text + on.join(u' ');
}

// Walks the trail: every hole sent is the next one, its logged line is its
// composed line and went out as such on the wire; the roll is completed only
// once its last hole was sent; every end of a job names the last hole sent.
QString checkTrail(const Rig &rig)
{
    static const QRegularExpression sent(
        u"^ {5}Sent: (.*)\\^    nr: (\\d+) \\(armpos=(\\d+)\\)$"_s);
    static const QRegularExpression ended(u"^(Punching stopped by stop-button|Stop command "
                                          "received from punch), last note punched: (-?\\d+)$"_s);
    const QList<QByteArray> wire = rig.port.writes();
    qsizetype written = 0;
    int expected = 1;
    for (const QString &entry : rig.trail) {
        if (entry.startsWith(u"next="_s)) {
            expected = entry.mid(5).toInt();
        } else if (const auto m = sent.match(entry); m.hasMatch()) {
            const int hole = m.captured(2).toInt();
            if (hole != expected)
                return u"hole %1 sent while %2 was next"_s.arg(hole).arg(expected);
            const QString line = rig.composer.composeHoleCommand(hole).text;
            if (m.captured(1) != line || m.captured(3).toInt() != rig.holes.hole(hole).keynum)
                return u"hole %1 logged as %2"_s.arg(hole).arg(entry);
            if (written >= wire.size() || wire[written++] != line.toLatin1() + '\r')
                return u"hole %1 not written as logged"_s.arg(hole);
            expected = hole + 1;
        } else if (entry == Completed) {
            if (expected != rig.holes.holeCount() + 1)
                return u"completed while hole %1 was next"_s.arg(expected);
            expected = 1;
        } else if (const auto e = ended.match(entry); e.hasMatch()) {
            if (e.captured(2).toInt() != expected - 1)
                return u"%1 while hole %2 was next"_s.arg(entry).arg(expected);
            expected = 1;
        }
    }
    return written == wire.size() ? QString() : u"more written than logged"_s;
}

// One run: a roll of 1 to 30 holes, 40 actions at random moments, then the
// controller made ready and the job, if it still runs, resumed to its end.
// The actions played, for a failure's message.
QString run(quint32 seed, QString &played)
{
    QRandomGenerator random(seed);
    int total = 0;
    for (const auto &[name, weight] : Actions)
        total += weight;
    Rig rig(random.bounded(1, 31));
    for (int i = 0; i < 40; ++i) {
        int pick = random.bounded(total);
        QString action;
        for (const auto &[name, weight] : Actions) {
            if (action.isEmpty() && (pick -= weight) < 0)
                action = QLatin1String(name);
        }
        const int next = random.bounded(1, rig.holes.holeCount() + 1);
        const int delay = random.bounded(301);
        played +=
            (action == u"next"_s ? u"next=%1"_s.arg(next) : action) + u" wait=%1 "_s.arg(delay);
        act(rig, action, next);
        rig.clock.advance(delay);
    }

    rig.port.setCts(true);
    rig.port.receive(QByteArray(1, CommEvents::Xon));
    if (!rig.settle())
        return u"the job does not settle"_s;
    static const QStringList table = {u"0/0/start exit openport file settings tools"_s,
                                      u"0/2/start exit openport file settings tools"_s,
                                      u"0/2/start 1punch exit openport file settings tools"_s,
                                      u"1/0/resume 1punch stop tools"_s,
                                      u"1/1/resume 1punch stop tools"_s,
                                      u"1/1/stop tools picStop"_s,
                                      u"1/1/resume 1punch stop tools picStop"_s};
    if (!table.contains(state(rig.job)))
        return u"ends in %1, no state of the table"_s.arg(state(rig.job));
    if (rig.job.jobRunning()) {
        rig.job.cancelStop();
        rig.job.resume();
        if (!rig.settle() || rig.job.jobRunning() || !rig.trail.contains(Completed))
            return u"a resumed job does not complete"_s;
    }
    if (rig.job.holeState() == PunchJob::HoleState::OnItsWay || rig.clock.pendingCount() != 0)
        return u"a hole is left on its way"_s;
    return checkTrail(rig);
}

} // namespace

// Seeded random runs of the buttons, the next note, the controller's
// readiness and its "stop", each checked for holes lost, repeated or
// misnamed. Set PUNCHJOB_SEED to replay one run.
class TestPunchJobRandom : public QObject
{
    Q_OBJECT
private slots:
    void randomRuns();
};

void TestPunchJobRandom::randomRuns()
{
    const quint32 base = 20240901;
    const int runs = 3000;
    const bool replay = qEnvironmentVariableIsSet("PUNCHJOB_SEED");
    for (int i = 0; i < (replay ? 1 : runs); ++i) {
        const quint32 seed = replay ? qEnvironmentVariableIntValue("PUNCHJOB_SEED") : base + i;
        QString played;
        const QString fault = run(seed, played);
        if (!fault.isEmpty())
            QFAIL(qPrintable(u"seed %1: %2\n  played: %3"_s.arg(seed).arg(fault, played)));
    }
}

QTEST_APPLESS_MAIN(TestPunchJobRandom)
#include "tst_punchjobrandom.moc"
