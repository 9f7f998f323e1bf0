// A reading of rule sets that errs on the side of naming a rule: the user reads the line it quotes.
#include "cli/FirewallRules.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace {

bool Drops(const QString& rule) {
    static const QRegularExpression verdict(
        QStringLiteral(R"((^|\s)(drop|reject)(\s|;|$)|-j\s+(DROP|REJECT))"));
    return verdict.match(rule).hasMatch();
}

bool IsInputPolicyDrop(const QString& rule) {
    static const QRegularExpression policy(QStringLiteral(R"(hook input\b.*policy drop|^:INPUT DROP)"));
    return policy.match(rule).hasMatch();
}

// The ports a rule names after dport (nft: 138, 137-139, { 137, 138 }; iptables: 138, 137:139, 137,138);
// nothing when it names none, so it applies to every port.
std::optional<QList<std::pair<int, int>>> NamedPorts(const QString& rule) {
    static const QRegularExpression dport(QStringLiteral(R"((?:\bdport|--dports?)\s+(\{[^}]*\}|\S+))"));
    const auto found = dport.match(rule);
    if (!found.hasMatch()) {
        return std::nullopt;
    }
    QList<std::pair<int, int>> ranges;
    static const QRegularExpression separator(QStringLiteral(R"([\s,{}]+)"));
    for (const QString& part : found.captured(1).split(separator, Qt::SkipEmptyParts)) {
        const QStringList ends = part.split(QRegularExpression(QStringLiteral("[-:]")));
        ranges.append({ends.front().toInt(), ends.back().toInt()});
    }
    return ranges;
}

}  // namespace

QStringList RulesDroppingUdp(const QString& ruleset, const QList<int>& ports) {
    QStringList found;
    for (const QString& line : ruleset.split(u'\n')) {
        const QString rule = line.trimmed();
        if (IsInputPolicyDrop(rule)) {
            found.append(rule);
            continue;
        }
        // A rule on source ports alone is about answers to this computer's own requests, not about ours.
        const bool sourceOnly =
            rule.contains(QStringLiteral("sport")) && !rule.contains(QStringLiteral("dport"));
        if (!rule.contains(QStringLiteral("udp")) || !Drops(rule) || sourceOnly) {
            continue;
        }
        const auto named = NamedPorts(rule);
        const bool hits = !named || std::any_of(ports.begin(), ports.end(), [&named](int port) {
            return std::any_of(named->begin(), named->end(), [port](const auto& range) {
                return range.first <= port && port <= range.second;
            });
        });
        if (hits) {
            found.append(rule);
        }
    }
    return found;
}
