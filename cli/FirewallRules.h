// Reading a firewall's rule set for what keeps Kestrin's datagrams out, for `kestrin-cli doctor`.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The lines of `ruleset` (what `nft list ruleset` or `iptables-save` prints) that drop or reject UDP to
/// one of `ports`: a rule naming the port (alone, in a set or in a range) or all of UDP, and an input
/// chain whose policy drops what no rule accepts.
QStringList RulesDroppingUdp(const QString& ruleset, const QList<int>& ports);
