// Starting at logon on Linux: the autostart folder, the quoting of the Exec line, and the entry itself.
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "startup/xdg/DesktopEntry.h"
#include "startup/xdg/XdgAutostart.h"

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    // The folder, the quoting of the Exec line, and the entry itself.
    void writesTheAutostartEntry() {
        // The first absolute config folder; empty and relative entries do not count.
        QCOMPARE(AutostartFolderFor(":xdg:/srv/xdg/:/etc/xdg"), QString("/srv/xdg/autostart"));
        QCOMPARE(AutostartFolderFor("xdg::"), QString("/etc/xdg/autostart"));
        const std::pair<const char*, const char*> rows[] = {
            {"/opt/100%/kestrin", "/opt/100%%/kestrin"},
            {"/opt/My Apps/kestrin", "\"/opt/My Apps/kestrin\""},
            {"/opt/$HOME \"x\" `k` 5%", R"("/opt/\\$HOME \\"x\\" \\`k\\` 5%%")"},
            {R"(/opt/a\b)", R"("/opt/a\\\\b")"},
            {"/opt/Größe", "/opt/Größe"}};
        for (const auto& [path, exec] : rows)
            QCOMPARE(DesktopExecValue(path), std::string(exec));
        QTemporaryDir dir;
        const QString folder = dir.filePath("xdg/autostart");
        TXdgAutostart startup(folder);
        startup.Unregister();  // nothing there: nothing happens, and no folder is made for it
        QVERIFY(!QFileInfo::exists(dir.filePath("xdg")));
        const mode_t umaskBefore = umask(077);
        startup.Register("/opt/old/kestrin");
        startup.Register("/opt/Kestrin Chat/kestrin");
        umask(umaskBefore);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Kestrin.desktop"});
        QCOMPARE(Contents(startup.EntryPath()),
                 "[Desktop Entry]\nType=Application\nName=Kestrin\nExec=\"/opt/Kestrin Chat/kestrin\"\n");
        // A disk that takes no more than 10 bytes a file leaves the old entry whole.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        const rlimit tiny{10, before.rlim_max};
        setrlimit(RLIMIT_FSIZE, &tiny);
        startup.Register("/opt/new/kestrin");
        setrlimit(RLIMIT_FSIZE, &before);
        QCOMPARE(Contents(startup.EntryPath()),
                 "[Desktop Entry]\nType=Application\nName=Kestrin\nExec=\"/opt/Kestrin Chat/kestrin\"\n");
        // rw-r--r--: every session may read it.
        QCOMPARE(int(QFile::permissions(startup.EntryPath())), 0x6644);
        startup.Unregister();
        QVERIFY(!startup.IsRegistered() && !QFileInfo::exists(startup.EntryPath()));
    }
};

QTEST_GUILESS_MAIN(StartupTest)

#include "StartupTest.moc"
