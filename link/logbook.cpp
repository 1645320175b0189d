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

} // namespace velmora
