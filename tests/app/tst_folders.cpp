#include "app/folders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

class TestFolders : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void documents_data()
    {
        QTest::addColumn<QString>("files");   // made under a prefix holding bin/, by blanks
        QTest::addColumn<QString>("help");    // the folder of the help document
        QTest::addColumn<QString>("samples"); // where File, Open starts
        const QString shared = u" share/velmora/velmorahelpUK.html share/velmora/samples/a.prt"_s;
        QTest::newRow("build: beside the program first")
            << u"bin/velmorahelpUK.html bin/a.PRT"_s + shared << u"bin/"_s << u"bin/"_s;
        QTest::newRow("installed") << shared << u"share/velmora/"_s << u"share/velmora/samples/"_s;
        QTest::newRow("neither") << u"bin/velmorahelpNL.html share/velmora/x.prt"_s << u"bin/"_s
                                 << u"bin/"_s;
    }

    void documents()
    {
        QFETCH(QString, files);
        QFETCH(QString, help);
        QFETCH(QString, samples);
        QTemporaryDir prefix;
        const QDir root(prefix.path());
        QVERIFY(root.mkpath(u"bin"_s));
        for (const QString &file : files.split(u' ', Qt::SkipEmptyParts)) {
            QVERIFY(root.mkpath(QFileInfo(file).path()));
            QVERIFY(QFile(root.filePath(file)).open(QIODevice::WriteOnly));
        }
        const QString top = prefix.path() + u'/';
        QCOMPARE(helpFile(top + u"bin/"_s, u"velmorahelpUK.html"_s),
                 top + help + u"velmorahelpUK.html"_s);
        QCOMPARE(samplesFolder(top + u"bin/"_s), top + samples);
    }

    void settings_data()
    {
        QTest::addColumn<QString>("folder"); // of the program, in a fresh folder
        for (const char *folder : {"writable", "installed", "read-only", "missing"})
            QTest::newRow(folder) << QString::fromLatin1(folder);
    }

    // An installed program, or one in a folder it may not write, keeps ports.map
    // and its settings in the user's configuration folder.
    void settings()
    {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        const QString appDir = dir.filePath(folder) + u'/';
        QVERIFY(folder == u"missing" || QDir().mkpath(appDir));
        QVERIFY(folder != u"installed" || QDir(dir.path()).mkpath(u"share/velmora"_s));
        if (folder == u"read-only") {
            // Empty, it goes with the temporary folder it lies in.
            QVERIFY(QFile::setPermissions(appDir, QFile::ReadOwner | QFile::ExeOwner));
            if (QFileInfo(appDir).isWritable())
                QSKIP("this user may write in any folder");
        }
        const QString settings = settingsFolder(appDir);
        const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QCOMPARE(settings, folder == u"writable" ? appDir : config + u'/');
        QVERIFY(QFileInfo(settings).isDir());
    }
};

QTEST_GUILESS_MAIN(TestFolders)
#include "tst_folders.moc"
