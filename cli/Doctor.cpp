// The doctor's checks. Each says what it found in words a user can act on; "problem" is what keeps
// computers from seeing each other, "note" what is worth knowing. What the network backend looks at itself
// (ports, capabilities, interfaces) comes from its Diagnose(); the checks here need the running copy or the
// system around it.
#include "cli/Doctor.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSysInfo>
#include <QTimer>
#include <algorithm>
#include <map>
#include <random>

#include "cli/FirewallRules.h"
#include "cli/Output.h"
#include "qtcore/VisibleText.h"

namespace {

using TStatus = TNetworkFinding::TStatus;
using TFindings = std::vector<TNetworkFinding>;

// What the user reads, in the translation context "TDoctor". A --json run installs no translation, so its
// checks, statuses and texts are the English ones everywhere.
struct TDoctor {
    Q_DECLARE_TR_FUNCTIONS(TDoctor)
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void CheckName(TCliSession& session, TFindings& found) {
    const QString check = TDoctor::tr("computer name");
    const QString name = Q(session.System().ComputerName());
    if (session.ComputerNameSet()) {
        found.push_back(
            {check, TStatus::Ok, TDoctor::tr("%1, set by ComputerName in the settings file").arg(name)});
    } else {
        const QString host = QSysInfo::machineHostName();
        const bool cut = host.section(u'.', 0, 0).toUtf8().size() > 15;
        found.push_back(
            {check, TStatus::Ok,
             (cut ? TDoctor::tr(
                        "%1, from the host name %2 (up to its first dot, upper-cased, cut to 15 bytes)")
                  : TDoctor::tr("%1, from the host name %2 (up to its first dot, upper-cased)"))
                 .arg(name, VisibleText(host))});
    }
    if (const std::string warning = session.NameConflict(); !warning.empty()) {
        found.push_back({check, TStatus::Problem, Q(warning)});
    }
}

// What a reader of the rule set prints, when it can be run here: most need root.
std::optional<QByteArray> ReadRules(const QStringList& command) {
    QProcess reader;
    reader.start(command.front(), command.mid(1));
    if (!reader.waitForFinished(3000) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0) {
        return std::nullopt;
    }
    return reader.readAllStandardOutput();
}

// nft's rule set first, walked as the datagrams walk it, quoted as `nft -a list ruleset` shows it; the older
// iptables' lines where nft is missing. The rules are the system's rather than the backend's, read by the
// system's own tools; the backend only names the ports it receives on, and a backend with none has no rule
// to look for.
void CheckFirewall(const std::vector<std::uint16_t>& udpPorts, TFindings& found) {
    if (udpPorts.empty()) {
        return;
    }
    const QList<int> ports(udpPorts.begin(), udpPorts.end());
    QString reader = QStringLiteral("nft");
    std::optional<QStringList> rules;
    if (const auto ruleset = ReadRules({"nft", "-j", "list", "ruleset"})) {
        if (const auto drops = NftRulesDroppingUdp(*ruleset, ports)) {
            const QString listing =
                drops->isEmpty()
                    ? QString()
                    : QString::fromUtf8(ReadRules({"nft", "-a", "list", "ruleset"}).value_or(""));
            rules.emplace();
            for (const TNftDrop& drop : *drops) {
                rules->append(NftRuleLine(listing, drop));
            }
        }
    }
    if (!rules) {
        reader = QStringLiteral("iptables-save");
        if (const auto ruleset = ReadRules({"iptables-save"})) {
            rules = IptablesRulesDroppingUdp(QString::fromUtf8(*ruleset), ports);
        }
    }
    const QString check = TDoctor::tr("firewall");
    if (!rules) {
        found.push_back({check, TStatus::Note,
                         TDoctor::tr("the rules cannot be read here (nft and iptables-save need root)")});
        return;
    }
    for (const QString& rule : *rules) {
        found.push_back({check, TStatus::Problem,
                         TDoctor::tr("may drop Kestrin's datagrams: %1").arg(VisibleText(rule))});
    }
    if (rules->isEmpty()) {
        found.push_back({check, TStatus::Ok, TDoctor::tr("no rule of %1 drops the ports").arg(reader)});
    }
}

void CheckSettings(const TCliSession& session, TFindings& found) {
    found.push_back({TDoctor::tr("code page"), TStatus::Ok, session.Text().Name()});
    for (const QString& problem : session.SettingsProblems()) {
        found.push_back({TDoctor::tr("settings"), TStatus::Problem, problem});
    }
}

// The kernel's count of UDP datagrams it could not take or send, since this system (or network namespace)
// started: the "Udp:" rows of /proc/net/snmp, names then values.
std::optional<std::map<QString, qlonglong>> UdpCounters() {
    QFile snmp("/proc/net/snmp");
    if (!snmp.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    std::map<QString, qlonglong> counters;
    QStringList names;
    for (const QString& line : QString::fromLatin1(snmp.readAll()).split('\n')) {
        if (!line.startsWith("Udp: ")) {
            continue;
        }
        const QStringList words = line.mid(5).split(' ', Qt::SkipEmptyParts);
        if (names.isEmpty()) {
            names = words;
        } else {
            for (qsizetype i = 0; i < std::min(names.size(), words.size()); ++i) {
                counters[names[i]] = words[i].toLongLong();
            }
        }
    }
    return counters;
}

// A small datagram costs the receive buffer about this much as the kernel counts it (its data, headers and
// bookkeeping): 832 bytes on loopback, more on some network drivers.
constexpr std::size_t BufferBytesPerDatagram = 1024;

// Whether the mailbox can hold what the office sends it at once: every computer's answer to an announcement,
// or a memo to all from each. The system's limit is what a program without privileges may ask for.
void CheckReceiveBuffer(TCliSession& session, std::size_t computers, TFindings& found) {
    const auto buffer = session.ReceiveBuffer();
    if (!buffer || buffer->Granted == 0) {
        return;
    }
    const std::size_t room = buffer->Granted / BufferBytesPerDatagram;
    const QString limit =
        buffer->SystemLimit == 0
            ? QString()
            : TDoctor::tr("; the system allows %1 KiB (net.core.rmem_max)").arg(buffer->SystemLimit / 1024);
    const QString said =
        TDoctor::tr("%1 KiB, room for about %2 datagrams").arg(buffer->Granted / 1024).arg(room) + limit;
    // Twice the office: its answers to an announcement and a round of memos to all may meet in it.
    const std::size_t needed = std::max<std::size_t>(2 * (computers + 1), 256);
    const QString check = TDoctor::tr("receive buffer");
    if (room >= needed) {
        found.push_back({check, TStatus::Ok, said});
    } else {
        found.push_back(
            {check, TStatus::Problem,
             said + TDoctor::tr("; too small for an office of %1 computers: raise the limit, e.g. "
                                "sysctl -w net.core.rmem_max=%2")
                        .arg(computers + 1)
                        .arg(needed * BufferBytesPerDatagram)});
    }
}

// What this run sent, and what the kernel dropped for every program of this system since it started, where
// the system keeps that count (Linux).
void CheckSends(TCliSession& session, TFindings& found) {
    const TSendTally& tally = session.Messenger().SendTally();
    const QString check = TDoctor::tr("sends");
    if (tally.NotSent == 0) {
        found.push_back({check, TStatus::Ok, TDoctor::tr("%1 datagrams sent, none lost").arg(tally.Sent)});
    } else {
        found.push_back({check, TStatus::Problem,
                         TDoctor::tr("%1 datagrams sent, %2 not sent; the last: %3")
                             .arg(tally.Sent)
                             .arg(tally.NotSent)
                             .arg(Q(tally.LastProblem))});
    }
    const auto counters = UdpCounters();
    if (!counters) {
        return;
    }
    const auto count = [&counters](const char* name) {
        const auto counter = counters->find(name);
        return counter == counters->end() ? 0 : counter->second;
    };
    const qlonglong full = count("RcvbufErrors"), noRoom = count("SndbufErrors"), bad = count("InErrors");
    const QString text = TDoctor::tr(
                             "since the system started, UDP datagrams dropped on a full receive buffer: "
                             "%1, sends that found no room: %2, datagrams received in error: %3 "
                             "(all programs; /proc/net/snmp)")
                             .arg(full)
                             .arg(noRoom)
                             .arg(bad);
    found.push_back({TDoctor::tr("kernel counters"), full + noRoom == 0 ? TStatus::Ok : TStatus::Note, text});
}

/// The status as --json writes it; the text line shows it translated.
const char* StatusWord(TStatus status) {
    switch (status) {
        case TStatus::Ok:
            return QT_TRANSLATE_NOOP("TDoctor", "ok");
        case TStatus::Note:
            return QT_TRANSLATE_NOOP("TDoctor", "note");
        case TStatus::Problem:
            return QT_TRANSLATE_NOOP("TDoctor", "problem");
        case TStatus::NotApplicable:
            break;
    }
    return QT_TRANSLATE_NOOP("TDoctor", "not applicable");
}

void Report(const TFindings& found, bool json) {
    for (const auto& finding : found) {
        if (json) {
            const QJsonObject object{
                {"check", finding.Check}, {"status", StatusWord(finding.Status)}, {"text", finding.Text}};
            Print(EscapeJsonControls(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)))
                      .toStdString() +
                  "\n");
        } else {
            Print(QStringLiteral("%1 %2: %3\n")
                      .arg(TDoctor::tr(StatusWord(finding.Status)).toUpper(), -8)
                      .arg(finding.Check, finding.Text)
                      .toStdString());
        }
    }
}

}  // namespace

int RunDoctor(TCliSession& session, const TCliCommand& command, const TNetworkDiagnosis& diagnosis,
              QCoreApplication& app) {
    TFindings found = diagnosis.Findings;
    CheckFirewall(diagnosis.UdpPorts, found);
    CheckSettings(session, found);

    // The round trip: a memo to this very computer, and who answers the announcement in two seconds.
    TMessenger& messenger = session.Messenger();
    const std::string token = "kestrin-cli doctor " + std::to_string(std::random_device()());
    bool cameBack = false;
    TStringList answered;
    messenger.OnNewMemo = [&](TMainMessenger&, const std::string& origin, const std::string&,
                              const TStringList& lines) {
        cameBack = cameBack || (origin == messenger.Computer() && lines == TStringList{token});
    };
    messenger.OnUserListChange = [&answered](TMainMessenger&, const TStringList& users) { answered = users; };
    QString error;
    if (!session.Activate(error)) {
        const bool otherCopy = diagnosis.MailboxTakenByAnotherCopy;
        found.push_back({TDoctor::tr("round trip"), otherCopy ? TStatus::Note : TStatus::Problem,
                         otherCopy ? TDoctor::tr("not tried: the running copy has the mailbox")
                                   : TDoctor::tr("the mailbox cannot be opened: %1").arg(error)});
    } else {
        CheckName(session, found);
        messenger.SendMemoTo(messenger.Computer(), {token});
        QTimer::singleShot(2000, &app, &QCoreApplication::quit);
        app.exec();
        found.push_back({TDoctor::tr("round trip"), cameBack ? TStatus::Ok : TStatus::Problem,
                         cameBack ? TDoctor::tr("a memo to this computer arrived")
                                  : TDoctor::tr("a memo to this computer did not arrive within 2 s")});
        QStringList names;
        for (const auto& name : answered) {
            names << session.Peers().Name(name).Shown;
        }
        found.push_back({TDoctor::tr("presence"), names.isEmpty() ? TStatus::Problem : TStatus::Ok,
                         names.isEmpty()
                             ? TDoctor::tr("no other computer answered within 2 s")
                             : TDoctor::tr("%n answered: %1", nullptr, static_cast<int>(names.size()))
                                   .arg(names.join(", "))});
        CheckReceiveBuffer(session, answered.size(), found);
        CheckSends(session, found);
    }
    Report(found, command.Json);
    return std::ranges::any_of(found, [](const auto& f) { return f.Status == TStatus::Problem; }) ? 1 : 0;
}
