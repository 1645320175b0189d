#include "history/historycsv.h"

#include "history/historydatabase.h"

#include <QFileInfo>
#include <QIODevice>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace velmora {

QString csvField(const QString &text)
{
    const auto special = [](QChar c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; };
    if (std::none_of(text.begin(), text.end(), special))
        return text;
    return u'"' + QString(text).replace(u'"', u"\"\""_s) + u'"';
}

QByteArray historyCsv(const QList<JobRecord> &rows)
{
    QString text = u"started,ended,roll,name,holes,first,last,sent,seconds,outcome\r\n"_s;
    for (const JobRecord &r : rows) {
        const QStringList fields = {r.started,
                                    r.ended,
                                    r.roll,
                                    r.name,
                                    QString::number(r.holes),
                                    QString::number(r.first),
                                    QString::number(r.last),
                                    QString::number(r.sent),
                                    QString::number(r.seconds),
                                    r.outcome};
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field);
        text += quoted.join(u',') + u"\r\n"_s;
    }
    return text.toUtf8();
}

int printHistory(const QString &settingsDir, QIODevice &out, QIODevice &err)
{
    HistoryDatabase db(settingsDir + HistoryDatabase::fileName());
    QString error;
    QList<JobRecord> rows;
    if (QFileInfo::exists(db.path())) {
        error = db.openForReading();
        if (error.isEmpty())
            rows = db.rows(&error);
    }
    if (!error.isEmpty()) {
        err.write(u"velmora: the job history cannot be read (%1): %2\n"_s.arg(error, db.path())
                      .toLocal8Bit());
        return 1;
    }
    out.write(historyCsv(rows));
    return 0;
}

} // namespace velmora
