#pragma once

#include <QObject>
#include <QString>

namespace velmora {

// nextNote: the 1-based number of the next hole to punch, with the text the
// entry txtNextNote shows for it. File opening sets it, the next-note controls
// choose it, and the punch job advances it and sets it back to 1.
class NextNoteState : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    qint32 value() const { return m_value; }
    QString text() const { return m_text; }

    // Sets the value and shows it with one blank before a non-negative value.
    void set(qint32 value);
    // Sets the value and shows it as plain digits (as a file open does).
    void setPlain(qint32 value);
    // Adopts a value and text chosen in the next-note controls.
    void setShown(qint32 value, const QString &text);

signals:
    void changed(qint32 value, const QString &text);

private:
    qint32 m_value = 0;
    QString m_text;
};

} // namespace velmora
