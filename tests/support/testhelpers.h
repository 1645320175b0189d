#pragma once

#include "platform/filechooser.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStringList>

namespace velmora {

// Answers the file dialog at once with what the test put in answer, or,
// while hold is set, leaves it open until the test calls pending.
class ScriptedChooser : public FileChooser
{
public:
    FileChoice answer{FileChoice::Chosen, {}, {}};
    QString askedDir;
    bool hold = false;
    std::function<void(FileChoice)> pending;
    void choosePrtFile(const QString &startDir, std::function<void(FileChoice)> done) override
    {
        askedDir = startDir;
        if (hold)
            pending = std::move(done);
        else
            done(answer);
    }
};

inline QString samplePath(const char *name)
{
    return QStringLiteral(VELMORA_SOURCE_DIR "/samples/") + QLatin1String(name);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The punch-controller simulator as a child process; it prints the device
// of its pseudo-terminal when it is ready.
class PunchSimProcess
{
public:
    ~PunchSimProcess() { stop(); }

    // Starts the program bound through the port map in dir, recording the
    // lines it receives in dir/record.txt, with more arguments after these;
    // the device it prints, or an empty text if it did not start.
    QString start(const QString &program, const QString &dir, const QStringList &more,
                  int timeoutMs = 10000)
    {
        using namespace Qt::StringLiterals;
        const QStringList bound{
            u"--map"_s,   dir + u"/ports.map"_s,  u"--record"_s, dir + u"/record.txt"_s,
            u"--quiet"_s, u"--exit-after-idle"_s, u"120"_s};
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, bound + more);
        QSignalSpy ready(&process, &QProcess::readyReadStandardOutput);
        while (!process.canReadLine())
            if (!ready.wait(timeoutMs))
                return QString();
        return QString::fromLocal8Bit(process.readLine().trimmed());
    }
    void stop(int timeoutMs = 10000)
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(timeoutMs))
            process.kill();
        process.waitForFinished(timeoutMs);
    }

    QProcess process;
};

} // namespace velmora
