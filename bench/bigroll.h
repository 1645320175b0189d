#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>

// The 64000-hole roll the benchmarks read: the file named by VELMORA_BIG_ROLL,
// or one written once by scripts/make-big-roll into a temporary folder.
inline QString bigRollPath()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString given = qEnvironmentVariable("VELMORA_BIG_ROLL");
        if (!given.isEmpty())
            return given;
        const QString made = folder.filePath(QStringLiteral("big.prt"));
        const int status =
            QProcess::execute(QStringLiteral("bash"),
                              {QStringLiteral(VELMORA_SOURCE_DIR "/scripts/make-big-roll"), made});
        if (status != 0)
            std::fprintf(stderr, "make-big-roll failed (%d)\n", status);
        return made;
    }();
    return path;
}
