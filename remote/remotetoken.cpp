#include "remote/remotetoken.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <array>

namespace velmora {

QString makeRemoteToken()
{
    std::array<quint32, 4> bits;
    QRandomGenerator::system()->fillRange(bits.data(), qsizetype(bits.size()));
    const QByteArray bytes(reinterpret_cast<const char *>(bits.data()), sizeof bits);
    return QString::fromLatin1(bytes.toHex());
}

bool isRemoteTokenForm(const QString &text)
{
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9A-Fa-f]{32}")));
    return form.match(text).hasMatch();
}

bool tokenMatches(QByteArrayView given, QByteArrayView key)
{
    if (key.isEmpty())
        return false;
    unsigned difference = given.size() == key.size() ? 0u : 1u;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char offered = i < given.size() ? given[i] : '\0';
        difference |= unsigned(uchar(offered) ^ uchar(key[i]));
    }
    return difference == 0;
}

} // namespace velmora
