#include "roll/nextnotestate.h"

#include "common/numbers.h"

namespace velmora {

void NextNoteState::set(qint32 value)
{
    setShown(value, numberText(value));
}

void NextNoteState::setPlain(qint32 value)
{
    setShown(value, QString::number(value));
}

void NextNoteState::setShown(qint32 value, const QString &text)
{
    m_value = value;
    m_text = text;
    emit changed(value, text);
}

} // namespace velmora
