#pragma once

#include <QByteArrayView>
#include <QString>

namespace velmora {

// A new token for the remote view: 128 bits from the system's random source,
// written as 32 lower-case hexadecimal digits.
QString makeRemoteToken();

// Whether text has the form of a token: 32 hexadecimal digits, either case.
bool isRemoteTokenForm(const QString &text);

// Whether a client gave the token `key`. The time taken depends on the
// length of `key` only, never on how much of it a guess got right. An empty
// key admits nobody.
bool tokenMatches(QByteArrayView given, QByteArrayView key);

} // namespace velmora
