// The autostart entry in temporary folders: which folder, the Exec line, and entries that are not ours.
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "DesktopEntry.h"
#include "XdgAutostart.h"

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class XdgAutostartTest : public QObject {
    Q_OBJECT

private slots:
    void picksTheFirstAbsoluteConfigFolder() {
        QCOMPARE(AutostartFolderFor(""), QString("/etc/xdg/autostart"));
        QCOMPARE(AutostartFolderFor("/opt/xdg/:/etc/xdg"), QString("/opt/xdg/autostart"));
        // Empty and relative entries are invalid.
        QCOMPARE(AutostartFolderFor(":xdg:/srv/xdg"), QString("/srv/xdg/autostart"));
        QCOMPARE(AutostartFolderFor("xdg::"), QString("/etc/xdg/autostart"));

        // Only looked at, never written: the variable must lead the program to a folder of the test's.
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("machine/autostart"));
        QVERIFY(qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath("machine")) + ":/etc/xdg"));
        const auto startup = MakeStartupRegistration();
        QVERIFY(!startup->IsRegistered());
        QVERIFY(Write(dir.filePath("machine/autostart/Kestrin.desktop"), "[Desktop Entry]\n"));
        QVERIFY(startup->IsRegistered());
        qunsetenv("XDG_CONFIG_DIRS");
        QCOMPARE(QString::fromStdString(RunningProgramPath()),
                 QFileInfo(QCoreApplication::arguments()[0]).canonicalFilePath());
    }

    void quotesWhatTheExecLineWouldSplitOrExpand_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("exec");
        QTest::newRow("plain") << QByteArray("/usr/bin/kestrin") << QByteArray("/usr/bin/kestrin");
        QTest::newRow("blanks") << QByteArray("/opt/My Apps/kestrin")
                                << QByteArray("\"/opt/My Apps/kestrin\"");
        QTest::newRow("percent") << QByteArray("/opt/100%/kestrin") << QByteArray("/opt/100%%/kestrin");
        QTest::newRow("dollar, quote, backtick")
            << QByteArray("/opt/$HOME \"x\" `k` 5%") << QByteArray(R"("/opt/\\$HOME \\"x\\" \\`k\\` 5%%")");
        QTest::newRow("backslash") << QByteArray(R"(/opt/a\b)") << QByteArray(R"("/opt/a\\\\b")");
        QTest::newRow("tab and newline") << QByteArray("/opt/a\tb\nc") << QByteArray(R"("/opt/a\tb\nc")");
        QTest::newRow("single quote") << QByteArray("/opt/it's") << QByteArray("\"/opt/it's\"");
        QTest::newRow("UTF-8") << QByteArray("/opt/Größe") << QByteArray("/opt/Größe");
    }

    void quotesWhatTheExecLineWouldSplitOrExpand() {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, exec);
        QCOMPARE(QByteArray::fromStdString(DesktopExecValue(path.toStdString())), exec);
    }

    void registersOnceWithTheLatestPathAndUnregisters() {
        QTemporaryDir dir;
        TXdgAutostart startup(dir.filePath("xdg/autostart"));
        startup.Unregister();  // nothing there: nothing happens, and no folder is made for it
        QVERIFY(!QFileInfo::exists(dir.filePath("xdg")));

        const mode_t umaskBefore = umask(077);
        startup.Register("/opt/old/kestrin");
        startup.Register("/opt/Kestrin Chat/kestrin");
        umask(umaskBefore);
        QCOMPARE(QDir(dir.filePath("xdg/autostart"))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Kestrin.desktop"});
        QCOMPARE(
            Contents(startup.EntryPath()),
            QByteArray(
                "[Desktop Entry]\nType=Application\nName=Kestrin\nExec=\"/opt/Kestrin Chat/kestrin\"\n"));
        struct stat status {};
        QCOMPARE(stat(QFile::encodeName(startup.EntryPath()).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, mode_t{0644});  // every user's session must be able to read it

        startup.Unregister();
        QVERIFY(!startup.IsRegistered());
        QVERIFY(!QFileInfo::exists(startup.EntryPath()));
    }

    void anyReadableFileOfThatNameCounts_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::newRow("from before a move") << QByteArray("[Desktop Entry]\nExec=/old/place/kestrin\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not an entry at all") << QByteArray("\x00\xff\x01", 3);
        QTest::newRow("a megabyte") << QByteArray(1 << 20, 'k');
    }

    void anyReadableFileOfThatNameCounts() {
        QFETCH(QByteArray, entry);
        QTemporaryDir dir;
        TXdgAutostart startup(dir.path());
        QVERIFY(Write(startup.EntryPath(), entry));
        QVERIFY(startup.IsRegistered());
        startup.Register("/usr/bin/kestrin");
        QCOMPARE(Contents(startup.EntryPath()),
                 QByteArray::fromStdString(DesktopEntryText("/usr/bin/kestrin")));
    }

    void aFolderOrPipeOfThatNameIsNoEntry() {
        QTemporaryDir dir;
        TXdgAutostart folderInTheWay(dir.path());
        QVERIFY(QDir(dir.path()).mkdir("Kestrin.desktop"));
        QVERIFY(!folderInTheWay.IsRegistered());
        folderInTheWay.Register("/usr/bin/kestrin");
        folderInTheWay.Unregister();
        QVERIFY(QFileInfo(folderInTheWay.EntryPath()).isDir());  // left alone

        // A pipe would hold an opening until someone wrote to it; writing the entry replaces it.
        QTemporaryDir pipeDir;
        TXdgAutostart pipe(pipeDir.path());
        QCOMPARE(mkfifo(QFile::encodeName(pipe.EntryPath()).constData(), 0644), 0);
        QVERIFY(!pipe.IsRegistered());
        pipe.Register("/usr/bin/kestrin");
        QVERIFY(pipe.IsRegistered());
    }
};

QTEST_GUILESS_MAIN(XdgAutostartTest)

#include "XdgAutostartTest.moc"
