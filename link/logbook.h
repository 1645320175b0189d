#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace velmora {

// The kind of a log entry, which sets its indent: sent commands by 5 blanks,
// received lines by 14, the program's own messages by none.
enum class LogKind
{
    Plain,
    Sent,
    Received,
};

// The running record of the link and the job: commands sent, lines received
// and messages, one entry per line ended by CR LF. The text stays bounded; a
// view follows it through the two signals and keeps its newest line in view.
class Logbook : public QObject
{
    Q_OBJECT
public:
    static constexpr qsizetype Bound = 10000;   // longer text is cut before the next entry
    static constexpr qsizetype KeptTail = 5001; // characters kept by the cut

    explicit Logbook(QObject *parent = nullptr);

    // Appends one entry, indented as its kind says.
    void writeLog(const QString &message, LogKind kind = LogKind::Plain);

    const QString &text() const { return m_text; }
    // The last `count` lines of the text (fewer if it has fewer), oldest
    // first, without their CR LF. Looks at the end of the text only.
    QStringList lastLines(int count) const;

signals:
    // The text was cut to its tail; a view shows the new text in full.
    void shortened(const QString &text);
    // One entry was added at the end of the text.
    void appended(const QString &entry);

private:
    QString m_text;
};

} // namespace velmora
