#include "punchsim/punchcontroller.h"

namespace velmora {

const QByteArray PunchController::SettingsCommand = QByteArrayLiteral("#,0020,0000,0000");

PunchController::PunchController(Clock &clock, const PunchControllerOptions &options, Send send)
    : m_clock(clock), m_options(options), m_send(std::move(send)), m_busyTimer(clock),
      m_punchTimer(clock), m_idleTimer(clock)
{}

void PunchController::start()
{
    if (m_options.busyMs > 0) {
        m_busy = true;
        m_busyTimer.start(m_options.busyMs, [this] {
            m_busy = false;
            m_send(QByteArray(1, Xon));
            armIdleXon();
            workNext();
        });
        return;
    }
    m_send(QByteArray(1, Xon));
    armIdleXon();
}

void PunchController::receive(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (c == '\r') {
            completeLine();
        } else if (c != '\n') {
            m_partial.append(c);
            if (m_partial.size() >= MaxLineLength)
                completeLine();
        }
    }
}

void PunchController::completeLine()
{
    const QByteArray line = m_partial;
    m_partial.clear();
    if (m_lineSeen)
        m_lineSeen(line);
    if (line.isEmpty())
        return;
    m_waiting.push_back(line);
    workNext();
}

void PunchController::workNext()
{
    if (m_busy || m_working || m_waiting.empty())
        return;
    const QByteArray line = m_waiting.front();
    m_waiting.pop_front();
    m_working = true;
    m_idleTimer.stop();
    m_send(QByteArray(1, Xoff));
    if (m_options.punchMs <= 0)
        finish(line);
    else
        m_punchTimer.start(m_options.punchMs, [this, line] { finish(line); });
}

void PunchController::finish(const QByteArray &line)
{
    if (line == SettingsCommand)
        m_send(settingsText());
    if (!line.startsWith('#')) {
        ++m_holeLines;
        if (!m_stopSent && m_options.stopAfter > 0 && m_holeLines == m_options.stopAfter) {
            m_stopSent = true;
            m_send(QByteArrayLiteral("stop\r\n"));
        }
    }
    m_send(QByteArray(1, Xon));
    m_working = false;
    armIdleXon();
    workNext();
}

void PunchController::armIdleXon()
{
    if (m_options.idleXonMs <= 0)
        return;
    m_idleTimer.start(m_options.idleXonMs, [this] {
        if (m_busy || m_working)
            return;
        m_send(QByteArray(1, Xon));
        armIdleXon();
    });
}

QByteArray PunchController::settingsText() const
{
    return QByteArrayLiteral("Zelvoor punch controller, firmware 2.4\r\n"
                             "x-steps/mm: 40.00\r\n"
                             "y-steps/mm: 25.00\r\n"
                             "arm start: 0, arm centre: 1850\r\n") +
           "punch time: " + QByteArray::number(m_options.punchMs) + " ms\r\n";
}

QByteArray recordEntry(qint64 ms, const QByteArray &line)
{
    return QByteArray::number(ms) + ' ' + line + '\n';
}

QList<RecordedLine> parseRecord(const QByteArray &record)
{
    QList<RecordedLine> lines;
    qsizetype start = 0;
    while (start < record.size()) {
        const qsizetype end = record.indexOf('\n', start);
        if (end < 0)
            break;
        const QByteArray entry = record.sliced(start, end - start);
        const qsizetype blank = entry.indexOf(' ');
        if (blank > 0)
            lines.append({entry.first(blank).toLongLong(), entry.sliced(blank + 1)});
        start = end + 1;
    }
    return lines;
}

} // namespace velmora
