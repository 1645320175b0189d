#include "history/jobrecord.h"

using namespace Qt::StringLiterals;

namespace velmora {

QString isoTime(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    return time.toOffsetFromUtc(offset).toString(u"yyyy-MM-ddTHH:mm:ss"_s) +
           (offset < 0 ? u'-' : u'+') +
           u"%1:%2"_s.arg(minutes / 60, 2, 10, QChar(u'0')).arg(minutes % 60, 2, 10, QChar(u'0'));
}

} // namespace velmora
