// The autostart entry in temporary folders: which folder, the Exec line, and entries that are not ours.
#include <sys/stat.h>

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
        // Empty and relative entries do not count.
        QCOMPARE(AutostartFolderFor(":xdg:/srv/xdg/:/etc/xdg"), QString("/srv/xdg/autostart"));
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
    }

    void quotesWhatTheExecLineWouldSplitOrExpand() {
        const std::pair<const char*, const char*> rows[] = {
            {"/usr/bin/kestrin", "/usr/bin/kestrin"},
            {"/opt/100%/kestrin", "/opt/100%%/kestrin"},
            {"/opt/My Apps/kestrin", "\"/opt/My Apps/kestrin\""},
            {"/opt/$HOME \"x\" `k` 5%", R"("/opt/\\$HOME \\"x\\" \\`k\\` 5%%")"},
            {R"(/opt/a\b)", R"("/opt/a\\\\b")"},
            {"/opt/Größe", "/opt/Größe"},
        };
        for (const auto& [path, exec] : rows) {
            QCOMPARE(DesktopExecValue(path), std::string(exec));
        }
    }

    void registersOnceWithTheLatestPathReadableByAllAndUnregisters() {
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
        QCOMPARE(Contents(startup.EntryPath()),
                 "[Desktop Entry]\nType=Application\nName=Kestrin\nExec=\"/opt/Kestrin Chat/kestrin\"\n");
        struct stat status {};
        QCOMPARE(stat(QFile::encodeName(startup.EntryPath()).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, mode_t{0644});  // every user's session must be able to read it
        startup.Unregister();
        QVERIFY(!startup.IsRegistered());
        QVERIFY(!QFileInfo::exists(startup.EntryPath()));
    }

    void anyReadableFileIsAnEntryToReplaceButNoFolderOrPipeIs() {
        for (const QByteArray& entry :
             {QByteArray("\x00\xff\x01", 3), QByteArray(1 << 20, 'k'), QByteArray("pipe")}) {
            QTemporaryDir dir;
            TXdgAutostart startup(dir.path());
            // A pipe would hold an opening until someone wrote to it; writing the entry replaces it.
            const bool pipe = entry == "pipe";
            QVERIFY(pipe ? mkfifo(QFile::encodeName(startup.EntryPath()).constData(), 0644) == 0
                         : Write(startup.EntryPath(), entry));
            QCOMPARE(startup.IsRegistered(), !pipe);
            startup.Register("/usr/bin/kestrin");
            QCOMPARE(Contents(startup.EntryPath()),
                     QByteArray::fromStdString(DesktopEntryText("/usr/bin/kestrin")));
        }
        QTemporaryDir dir;
        TXdgAutostart folderInTheWay(dir.path());
        QVERIFY(QDir(dir.path()).mkdir("Kestrin.desktop"));
        QVERIFY(!folderInTheWay.IsRegistered());
        folderInTheWay.Register("/usr/bin/kestrin");
        folderInTheWay.Unregister();
        QVERIFY(QFileInfo(folderInTheWay.EntryPath()).isDir());  // left alone
    }
};

QTEST_GUILESS_MAIN(XdgAutostartTest)

#include "XdgAutostartTest.moc"
