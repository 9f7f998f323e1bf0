// Reading firewall rule sets. nft's is walked as one of Kestrin's datagrams walks it. Of the datagram only
// its protocol, destination port and conversation state are known here, not its addresses or interface,
// so each condition is true, false or "maybe", and where it is "maybe" the walk follows both ways.
#include "cli/FirewallRules.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>

namespace {

enum class TTruth { No, Maybe, Yes };

TTruth Not(TTruth truth) {
    return truth == TTruth::Yes ? TTruth::No : truth == TTruth::No ? TTruth::Yes : TTruth::Maybe;
}

// What can become of the datagram, as bits: where a condition is "maybe", several at once.
enum : unsigned { GoesOn = 1, Accepted = 2, Dropped = 4, Returns = 8 };

// A datagram as the walk knows it: its destination port, and whether it is the first of a conversation
// ("new") or one in a conversation the other way began ("established"); the two are walked one at a time,
// so that a rule that accepts the one lets the next see only the other.
struct TProbe {
    int Port = 0;
    QString State;
};

// A value in each way nft spells it ("udp" or 17).
using TSpellings = QJsonArray;

// The datagram's value in the field `expression` reads; empty when the datagram has no such field (a TCP
// port), so that no match on it holds; nothing when it cannot be known here.
std::optional<TSpellings> FieldValue(const QJsonObject& expression, const TProbe& probe) {
    const TSpellings udp{"udp", 17};
    if (const QJsonObject payload = expression["payload"].toObject(); !payload.isEmpty()) {
        const QString protocol = payload["protocol"].toString(), field = payload["field"].toString();
        if (protocol == "udp" || protocol == "th") {
            return field == "dport" ? std::optional(TSpellings{probe.Port}) : std::nullopt;
        }
        if (protocol == "ip") {
            return field == "protocol"  ? std::optional(udp)
                   : field == "version" ? std::optional(TSpellings{4})
                                        : std::nullopt;
        }
        static const QStringList others{"tcp", "udplite", "sctp", "dccp", "icmp",   "igmp", "esp",
                                        "ah",  "comp",    "gre",  "ip6",  "icmpv6", "arp"};
        return others.contains(protocol) ? std::optional(TSpellings{}) : std::nullopt;
    }
    const QString meta = expression["meta"].toObject()["key"].toString();
    const QString ct = expression["ct"].toObject()["key"].toString();
    if (meta == "l4proto" || ct == "protocol" || ct == "proto") {
        return udp;
    }
    if (meta == "nfproto" || ct == "l3proto") {
        return TSpellings{"ipv4", 2};
    }
    if (meta == "protocol") {
        return TSpellings{"ip", 0x0800};
    }
    if (ct == "state") {
        return TSpellings{probe.State};
    }
    return std::nullopt;
}

std::optional<double> Number(const TSpellings& value) {
    const auto found = std::ranges::find_if(value, [](const QJsonValue& v) { return v.isDouble(); });
    return found == value.end() ? std::nullopt : std::optional((*found).toDouble());
}

class TNftWalk {
public:
    explicit TNftWalk(const QJsonArray& objects);
    /// Walks every chain the datagram passes on its way in or out, and adds what drops it to Found.
    void Walk(const TProbe& probe);

    QList<TNftDrop> Found;

private:
    struct TRule {
        qint64 Handle = 0;
        QJsonArray Expressions;
    };
    struct TChain {
        QString Table, Name, Policy;
        qint64 Handle = 0;
        QList<TRule> Rules;
    };

    unsigned ChainOutcomes(const QString& table, const QString& name);
    unsigned RuleOutcomes(const TChain& chain, const TRule& rule);
    std::optional<unsigned> VerdictOutcomes(const QJsonObject& verdict, const TChain& chain,
                                            const TRule& rule);
    unsigned MapOutcomes(const QJsonObject& vmap, const TChain& chain, const TRule& rule);
    TTruth Matches(const QJsonObject& match, const QString& table) const;
    TTruth Contains(const QJsonValue& right, const TSpellings& value, const QString& table) const;
    TTruth ContainsAny(const QJsonArray& elements, const TSpellings& value, const QString& table) const;
    void Add(const TNftDrop& drop);

    QHash<QString, TChain> Chains;      // by "family table name"
    QHash<QString, QJsonArray> Sets;    // the elements of sets and maps, by "family table name"
    QStringList HookedChains;           // in the order nft lists them
    QHash<QString, unsigned> Outcomes;  // of each chain walked for this probe; 0 while it is being walked
    TProbe Probe;
};

TNftWalk::TNftWalk(const QJsonArray& objects) {
    // Netdev's ingress and egress see every datagram too; ip6, arp and bridge tables never see these.
    static const QStringList families{"ip", "inet", "netdev"};
    static const QStringList hooks{"prerouting", "input", "output", "postrouting", "ingress", "egress"};
    for (const QJsonValue& value : objects) {
        const QJsonObject object = value.toObject();
        const QString kind = object.isEmpty() ? QString() : object.begin().key();
        const QJsonObject item = object[kind].toObject();
        const QString table = item["family"].toString() + " " + item["table"].toString();
        if (kind == "chain") {
            const QString key = table + " " + item["name"].toString();
            Chains[key] = {
                table, item["name"].toString(), item["policy"].toString(), item["handle"].toInteger(), {}};
            if (families.contains(item["family"].toString()) && hooks.contains(item["hook"].toString())) {
                HookedChains.append(key);
            }
        } else if (kind == "rule") {
            Chains[table + " " + item["chain"].toString()].Rules.append(
                {item["handle"].toInteger(), item["expr"].toArray()});
        } else if (kind == "set" || kind == "map") {
            Sets[table + " " + item["name"].toString()] = item["elem"].toArray();
        }
    }
}

void TNftWalk::Walk(const TProbe& probe) {
    Probe = probe;
    Outcomes.clear();
    for (const QString& key : HookedChains) {
        const TChain chain = Chains.value(key);
        if ((ChainOutcomes(chain.Table, chain.Name) & Returns) != 0 && chain.Policy == "drop") {
            Add({chain.Table, chain.Name, chain.Handle, true});
        }
    }
}

void TNftWalk::Add(const TNftDrop& drop) {
    if (!Found.contains(drop)) {
        Found.append(drop);
    }
}

// A chain ends in Accepted, Dropped or Returns; what its rules drop is added on the way, once per probe,
// however many rules jump to it.
unsigned TNftWalk::ChainOutcomes(const QString& table, const QString& name) {
    const QString key = table + " " + name;
    if (const auto walked = Outcomes.constFind(key); walked != Outcomes.constEnd()) {
        return *walked == 0 ? Returns : *walked;  // a loop, which nft refuses to load anyway
    }
    Outcomes[key] = 0;
    unsigned possible = 0;
    bool fallsOut = true;  // of the chain's end, which returns
    const auto chain = Chains.constFind(key);
    for (const TRule& rule : chain == Chains.constEnd() ? QList<TRule>{} : chain->Rules) {
        const unsigned outcomes = RuleOutcomes(*chain, rule);
        possible |= outcomes & ~GoesOn;
        if ((outcomes & GoesOn) == 0) {
            fallsOut = false;
            break;
        }
    }
    possible |= fallsOut ? Returns : 0u;
    Outcomes[key] = possible;
    return possible;
}

unsigned TNftWalk::RuleOutcomes(const TChain& chain, const TRule& rule) {
    TTruth reached = TTruth::Yes;
    for (const QJsonValue& value : rule.Expressions) {
        const QJsonObject statement = value.toObject();
        const QString kind = statement.isEmpty() ? QString() : statement.begin().key();
        std::optional<unsigned> verdict;
        if (kind == "match") {
            const TTruth holds = Matches(statement["match"].toObject(), chain.Table);
            if (holds == TTruth::No) {
                return GoesOn;
            }
            reached = std::min(reached, holds);
        } else if (kind == "limit" || kind == "quota" ||
                   (kind == "xt" && statement["xt"]["type"].toString() == "match")) {
            reached = TTruth::Maybe;  // a rate, an amount, or a condition of iptables' own
        } else if (kind == "vmap") {
            verdict = MapOutcomes(statement["vmap"].toObject(), chain, rule);
        } else {
            verdict = VerdictOutcomes(statement, chain, rule);
        }
        if (verdict) {
            return reached == TTruth::Yes ? *verdict : *verdict | GoesOn;
        }
    }
    return GoesOn;  // counters, logs and the like
}

std::optional<unsigned> TNftWalk::VerdictOutcomes(const QJsonObject& verdict, const TChain& chain,
                                                  const TRule& rule) {
    const QString kind = verdict.isEmpty() ? QString() : verdict.begin().key();
    const QString target = verdict[kind]["target"].toString();
    if (kind == "drop" || kind == "reject" ||
        (kind == "xt" && verdict["xt"]["name"].toString() == "REJECT")) {
        Add({chain.Table, chain.Name, rule.Handle, false});
        return Dropped;
    }
    if (kind == "jump") {
        const unsigned outcomes = ChainOutcomes(chain.Table, target);
        return (outcomes & ~Returns) | ((outcomes & Returns) != 0 ? GoesOn : 0u);
    }
    if (kind == "goto") {
        return ChainOutcomes(chain.Table, target);
    }
    static const QHash<QString, unsigned> plain{
        {"accept", Accepted}, {"return", Returns}, {"continue", GoesOn}};
    return plain.contains(kind) ? std::optional(plain[kind]) : std::nullopt;
}

// A verdict map takes the verdict of the element the datagram's value is in, and goes on when there is none.
unsigned TNftWalk::MapOutcomes(const QJsonObject& vmap, const TChain& chain, const TRule& rule) {
    const QJsonValue data = vmap["data"];
    const QString named = data.toString();
    const QJsonArray elements =
        named.startsWith('@') ? Sets.value(chain.Table + " " + named.mid(1)) : data["set"].toArray();
    const auto value = FieldValue(vmap["key"].toObject(), Probe);
    if (value && value->isEmpty()) {
        return GoesOn;
    }
    unsigned outcomes = 0;
    TTruth found = TTruth::No;
    for (const QJsonValue& element : elements) {
        const TTruth holds = value ? Contains(element[0], *value, chain.Table) : TTruth::Maybe;
        if (holds != TTruth::No) {
            outcomes |= VerdictOutcomes(element[1].toObject(), chain, rule).value_or(GoesOn);
            found = std::max(found, holds);
        }
        if (holds == TTruth::Yes) {
            break;
        }
    }
    return found == TTruth::Yes ? outcomes : outcomes | GoesOn;
}

TTruth TNftWalk::Matches(const QJsonObject& match, const QString& table) const {
    const auto value = FieldValue(match["left"].toObject(), Probe);
    if (!value || value->isEmpty()) {
        return value ? TTruth::No : TTruth::Maybe;
    }
    const QString op = match["op"].toString();
    const QJsonValue right = match["right"];
    if (op == "==" || op == "in" || op == "!=") {
        const TTruth holds = Contains(right, *value, table);
        return op == "!=" ? Not(holds) : holds;
    }
    const auto number = Number(*value);
    if (!number || !right.isDouble()) {
        return TTruth::Maybe;
    }
    const double limit = right.toDouble();
    const bool holds = op == "<"    ? *number < limit
                       : op == "<=" ? *number <= limit
                       : op == ">"  ? *number > limit
                                    : *number >= limit;
    return holds ? TTruth::Yes : TTruth::No;
}

TTruth TNftWalk::Contains(const QJsonValue& right, const TSpellings& value, const QString& table) const {
    if (right.isString() && right.toString().startsWith('@')) {
        const auto set = Sets.constFind(table + " " + right.toString().mid(1));
        return set == Sets.constEnd() ? TTruth::Maybe : ContainsAny(*set, value, table);
    }
    if (right.isArray()) {
        return ContainsAny(right.toArray(), value, table);
    }
    const QJsonObject object = right.toObject();
    if (object.contains("set")) {
        return ContainsAny(object["set"].toArray(), value, table);
    }
    if (object.contains("elem")) {
        return Contains(object["elem"]["val"], value, table);
    }
    if (object.contains("range")) {
        const auto number = Number(value);
        const QJsonArray range = object["range"].toArray();
        return !number                                                            ? TTruth::Maybe
               : range[0].toDouble() <= *number && *number <= range[1].toDouble() ? TTruth::Yes
                                                                                  : TTruth::No;
    }
    if (!object.isEmpty()) {
        return TTruth::Maybe;  // an address prefix, a concatenation: nothing the known fields hold
    }
    return value.contains(right) ? TTruth::Yes : TTruth::No;
}

TTruth TNftWalk::ContainsAny(const QJsonArray& elements, const TSpellings& value,
                             const QString& table) const {
    TTruth any = TTruth::No;
    for (const QJsonValue& element : elements) {
        any = std::max(any, Contains(element, value, table));
    }
    return any;
}

// iptables-save's lines, read one at a time: what a line says it drops.
bool IptablesDrops(const QString& rule) {
    static const QRegularExpression verdict(QStringLiteral(R"(-j\s+(DROP|REJECT)\b)"));
    return verdict.match(rule).hasMatch();
}

// The ports a rule names after --dport or --dports (138, 137:139, 137,138); nothing when it names none, so
// it applies to every port.
std::optional<QList<std::pair<int, int>>> IptablesPorts(const QString& rule) {
    static const QRegularExpression dport(QStringLiteral(R"(--dports?\s+(\S+))"));
    const auto found = dport.match(rule);
    if (!found.hasMatch()) {
        return std::nullopt;
    }
    QList<std::pair<int, int>> ranges;
    for (const QString& part : found.captured(1).split(u',', Qt::SkipEmptyParts)) {
        const QStringList ends = part.split(u':');
        ranges.append({ends.front().toInt(), ends.back().toInt()});
    }
    return ranges;
}

}  // namespace

std::optional<QList<TNftDrop>> NftRulesDroppingUdp(const QByteArray& ruleset, const QList<int>& ports) {
    const QJsonValue objects = QJsonDocument::fromJson(ruleset)["nftables"];
    if (!objects.isArray()) {
        return std::nullopt;
    }
    TNftWalk walk(objects.toArray());
    for (const int port : ports) {
        for (const char* state : {"new", "established"}) {
            walk.Walk({port, state});
        }
    }
    return walk.Found;
}

QString NftRuleLine(const QString& listing, const TNftDrop& drop) {
    const QString where = QStringLiteral(" (table %1, chain %2)").arg(drop.Table, drop.Chain);
    const QString mark = QStringLiteral("# handle %1").arg(drop.Handle);
    const QStringList lines = listing.split(u'\n');
    bool inTable = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.startsWith(QStringLiteral("table "))) {
            inTable = line.startsWith("table " + drop.Table + " {");
        } else if (inTable && line.endsWith(mark) &&
                   drop.Policy == line.startsWith(QStringLiteral("chain "))) {
            // A chain's policy is on the line after the chain's own.
            return (drop.Policy ? lines.value(i + 1).trimmed() : line.chopped(mark.size()).trimmed()) + where;
        }
    }
    return (drop.Policy ? QStringLiteral("policy drop") : QStringLiteral("rule handle %1").arg(drop.Handle)) +
           where;
}

QStringList IptablesRulesDroppingUdp(const QString& ruleset, const QList<int>& ports) {
    static const QRegularExpression udp(QStringLiteral(R"(-p\s+udp\b)"));
    QStringList found;
    for (const QString& line : ruleset.split(u'\n')) {
        const QString rule = line.trimmed();
        if (rule.startsWith(QStringLiteral(":INPUT DROP"))) {
            found.append(rule);
            continue;
        }
        if (!udp.match(rule).hasMatch() || !IptablesDrops(rule)) {
            continue;
        }
        const auto named = IptablesPorts(rule);
        const bool hits = !named || std::ranges::any_of(ports, [&named](int port) {
            return std::ranges::any_of(
                *named, [port](const auto& range) { return range.first <= port && port <= range.second; });
        });
        if (hits) {
            found.append(rule);
        }
    }
    return found;
}
