#include "link/logbook.h"

namespace velmora {

Logbook::Logbook(QObject *parent) : QObject(parent) {}

void Logbook::writeLog(const QString &message, const QString &kind)
{
    if (m_text.size() > Bound) {
        qsizetype from = m_text.size() - KeptTail;
        // Never keep half of a character written as a surrogate pair.
        if (m_text.at(from).isLowSurrogate())
            ++from;
        m_text.remove(0, from);
        emit shortened(m_text);
    }

    QString entry;
    if (kind.compare(QLatin1String("s"), Qt::CaseInsensitive) == 0)
        entry = QString(5, QLatin1Char(' '));
    else if (kind.compare(QLatin1String("r"), Qt::CaseInsensitive) == 0)
        entry = QString(14, QLatin1Char(' '));
    entry += message;
    entry += QLatin1String("\r\n");
    m_text += entry;
    emit appended(entry);
}

} // namespace velmora
