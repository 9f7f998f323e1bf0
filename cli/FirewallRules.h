// Reading a firewall's rule set for what keeps Kestrin's datagrams out, for `kestrin-cli doctor`.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

/// A rule, or a chain's policy, of nft's rule set that drops or rejects Kestrin's datagrams.
struct TNftDrop {
    QString Table;  ///< its family and name: "inet filter"
    QString Chain;
    qint64 Handle = 0;  ///< the rule's, or for a policy the chain's
    bool Policy = false;
    bool operator==(const TNftDrop&) const = default;
};

/// What in `ruleset` (what `nft -j list ruleset` prints) may drop or reject a UDP datagram to one of `ports`
/// as it arrives or leaves: the rule set is walked as such a datagram walks it, through named sets, verdict
/// maps, jumps and negations, up to the policy of a chain it falls out of. The datagram's addresses,
/// source port and interface are not known: a rule that drops only those from some addresses is named (the
/// office may be among them), one that accepts only some does not stop the walk. Nothing when `ruleset` is
/// not such a rule set.
std::optional<QList<TNftDrop>> NftRulesDroppingUdp(const QByteArray& ruleset, const QList<int>& ports);

/// How the user finds `drop` in `listing` (what `nft -a list ruleset` prints): its line, with its table and
/// chain; the chain's "type ... policy drop;" line for a policy.
QString NftRuleLine(const QString& listing, const TNftDrop& drop);

/// The lines of `ruleset` (what `iptables-save` prints) that drop or reject UDP to one of `ports`: a rule
/// naming the port (alone, in a list or in a range) or all of UDP, and an INPUT policy of DROP.
QStringList IptablesRulesDroppingUdp(const QString& ruleset, const QList<int>& ports);
