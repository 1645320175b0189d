#include "link/logbook.h"

namespace velmora {

Logbook::Logbook(QObject *parent) : QObject(parent) {}

void Logbook::writeLog(const QString &message, LogKind kind)
{
    if (m_text.size() > Bound) {
        qsizetype from = m_text.size() - KeptTail;
        // Never keep half of a character written as a surrogate pair.
        if (m_text.at(from).isLowSurrogate())
            ++from;
        m_text.remove(0, from);
        emit shortened(m_text);
    }

    const qsizetype indent = kind == LogKind::Sent ? 5 : kind == LogKind::Received ? 14 : 0;
    QString entry;
    entry.reserve(indent + message.size() + 2);
    entry.resize(indent, QLatin1Char(' '));
    entry += message;
    entry += QLatin1String("\r\n");
    m_text += entry;
    emit appended(entry);
}

QStringList Logbook::lastLines(int count) const
{
    static const QString crlf = QStringLiteral("\r\n");
    QStringList lines;
    // Every entry ends with CR LF, so the text ends at the end of a line.
    qsizetype end = m_text.size() - crlf.size();
    while (end >= 0 && lines.size() < count) {
        const qsizetype cut = end >= crlf.size() ? m_text.lastIndexOf(crlf, end - crlf.size()) : -1;
        const qsizetype begin = cut < 0 ? 0 : cut + crlf.size();
        lines.prepend(m_text.sliced(begin, end - begin));
        end = cut;
    }
    return lines;
}

} // namespace velmora
