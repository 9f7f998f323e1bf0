// The doctor's reading of firewall rule sets: which rules drop the NetBIOS ports, and how they are quoted.
#include <gtest/gtest.h>

#include "cli/FirewallRules.h"

namespace {

// A match as `nft -j` writes it, its left side as nft's rules do: "udp dport", "ct state", "meta l4proto".
QString Match(const QString& left, const char* op, const char* right) {
    const QStringList words = left.split(u' ');
    const QString field =
        words[0] == "meta" || words[0] == "ct"
            ? QString(R"({"%1":{"key":"%2"}})").arg(words[0], words[1])
            : QString(R"({"payload":{"protocol":"%1","field":"%2"}})").arg(words[0], words[1]);
    return QString(R"({"match":{"op":"%1","left":%2,"right":%3}},)").arg(op, field, right);
}
const QString Drop = R"({"drop":null})", Accept = R"({"accept":null})", Jump = R"({"jump":{"target":"sub"}})";
const QString Udp = Match("meta l4proto", "==", R"("udp")");
const char* const Netbios = R"({"set":[137,138]})";

// A rule set as `nft -j list ruleset` prints it, cut to what is read: in table inet f, the chain "in" on the
// input hook (handle 1) with `policy` and the rules `in`, numbered from 10, and the chain "sub" (handle 2)
// with the rules `sub`, numbered from 20; then `more`.
QByteArray RuleSet(const char* policy, const QStringList& in, const QStringList& sub, const QString& more) {
    const QString f = R"("family":"inet","table":"f")";
    QStringList objects{
        QString(R"({"chain":{%1,"name":"in","handle":1,"hook":"input","policy":"%2"}})").arg(f, policy),
        QString(R"({"chain":{%1,"name":"sub","handle":2}})").arg(f)};
    for (const auto& [chain, rules, first] : {std::tuple{"in", in, 10}, {"sub", sub, 20}})
        for (qsizetype i = 0; i < rules.size(); ++i)
            objects << QString(R"({"rule":{%1,"chain":"%2","handle":%3,"expr":[%4]}})")
                           .arg(f, chain)
                           .arg(first + i)
                           .arg(rules[i]);
    if (!more.isEmpty())
        objects << more;
    return ("{\"nftables\":[" + objects.join(',') + "]}").toUtf8();
}

TEST(CliDoctor, FindsTheFirewallRulesThatDropTheNetbiosPorts) {
    const QString sets =
        R"({"set":{"family":"inet","table":"f","name":"nb","elem":[137,{"elem":{"val":138}}]}},)"
        R"({"set":{"family":"inet","table":"f","name":"dns","elem":[53]}})";
    const QString map =
        R"({"map":{"family":"inet","table":"f","name":"vm","elem":[[138,{"jump":{"target":"sub"}}]]}})";
    const QString elsewhere =
        R"({"chain":{"family":"inet","table":"f","name":"fw","handle":3,"hook":"forward","policy":"drop"}},)"
        R"({"chain":{"family":"ip6","table":"f","name":"in","handle":1,"hook":"input","policy":"drop"}})";
    const QString vmap = R"({"vmap":{"key":{"payload":{"protocol":"udp","field":"dport"}},"data":%1}})";
    const QString fromNetworkTen = Match("ip saddr", "==", R"({"prefix":{"addr":"10.0.0.0","len":8}})");
    using TRow = std::tuple<const char*, const char*, QStringList, QStringList, QString, QList<qint64>>;
    // clang-format off
    for (const auto& [label, policy, in, sub, more, dropping] : std::initializer_list<TRow>{
             {"a set", "accept", {Match("udp dport", "==", Netbios) + R"({"reject":null})"}, {}, {}, {10}},
             {"a range", "accept", {Match("th dport", "==", R"({"range":[130,140]})") + Drop}, {}, {}, {10}},
             {"all of UDP", "accept", {Udp + R"({"counter":null},)" + Drop}, {}, {}, {10}},
             {"comparisons", "accept",
              {Match("udp dport", ">", "1024") + Drop, Match("udp dport", "<", "1024") + Drop}, {}, {}, {11}},
             {"other ports", "accept",
              {Match("udp dport", "==", R"({"set":[53,1137,{"range":[139,200]}]})") + Drop}, {}, {}, {}},
             {"TCP", "accept", {Match("tcp dport", "!=", "22") + Drop}, {}, {}, {}},
             // The source port is 138 when the sender has that port.
             {"a source port", "accept", {Match("udp sport", "==", "138") + Drop}, {}, {}, {10}},
             {"some sources", "accept", {fromNetworkTen + Match("udp dport", "==", "138") + Drop}, {}, {},
              {10}},
             {"invalid ones", "accept", {Match("ct state", "in", R"("invalid")") + Drop}, {}, {}, {}},
             // Each state is walked alone: the rule for new ones does not stop at established ones.
             {"states", "accept",
              {Match("ct state", "==", R"("established")") + Drop,
               Match("ct state", "==", R"("new")") + Accept, Drop}, {}, {}, {10}},
             {"policy", "drop", {}, {}, {}, {1}},
             {"policy after accepting", "drop", {Match("udp dport", "==", Netbios) + Accept, Udp + Drop},
              {}, {}, {}},
             {"named sets", "accept",
              {Match("udp dport", "==", R"("@dns")") + Drop, Match("udp dport", "==", R"("@nb")") + Drop},
              {}, sets, {11}},
             {"negated ports", "accept",
              {Match("udp dport", "!=", Netbios) + Drop, Match("udp dport", "!=", "53") + Drop}, {}, {},
              {11}},
             {"a jump", "accept", {Jump}, {Match("udp dport", "==", "138") + Drop}, {}, {20}},
             {"a jump that accepts", "drop", {Jump}, {Udp + Accept}, {}, {}},
             // A goto does not come back: the rules after it are not reached.
             {"a goto that returns", "drop", {R"({"goto":{"target":"sub"}})", Udp + Accept}, {}, {}, {1}},
             {"a verdict map", "accept",
              {vmap.arg(R"({"set":[[137,{"accept":null}],[138,{"drop":null}]]})")}, {}, {}, {10}},
             {"a named verdict map", "accept", {vmap.arg(R"("@vm")")}, {Drop}, map, {20}},
             {"chains never passed", "accept", {}, {Drop}, elsewhere, {}}}) {
        // clang-format on
        const auto found = NftRulesDroppingUdp(RuleSet(policy, in, sub, more), {137, 138});
        ASSERT_TRUE(found.has_value()) << label;
        QList<qint64> handles;
        for (const TNftDrop& drop : *found)
            handles << drop.Handle;
        EXPECT_EQ(handles, dropping) << label;
    }
    EXPECT_FALSE(NftRulesDroppingUdp("Error: Operation not permitted", {138}).has_value());
}

TEST(CliDoctor, QuotesTheRulesAsNftListsThemAndReadsIptablesSave) {
    const QString listing =
        "table inet e { # handle 1\n\tchain in { # handle 1\n\t\tudp dport 138 drop # handle 10\n\t}\n}\n"
        "table inet f { # handle 2\n\tchain in { # handle 1\n\t\ttype filter hook input priority filter; "
        "policy drop;\n\t\tudp dport @nb drop # handle 10\n\t}\n}\n";
    for (const auto& [drop, line] :
         {std::pair{TNftDrop{"inet f", "in", 10}, "udp dport @nb drop (table inet f, chain in)"},
          {TNftDrop{"inet f", "in", 1, true},
           "type filter hook input priority filter; policy drop; (table inet f, chain in)"},
          {TNftDrop{"inet g", "in", 10}, "rule handle 10 (table inet g, chain in)"}})
        EXPECT_EQ(NftRuleLine(listing, drop), line);
    const std::pair<const char*, bool> rules[] = {
        {"-A INPUT -p udp -m udp --dport 138 -j DROP", true},
        {"-A INPUT -p udp -m multiport --dports 137,138 -j REJECT --reject-with icmp-port-unreachable", true},
        {"-A INPUT -p udp --dport 137:139 -j DROP", true},
        {":INPUT DROP [0:0]", true},
        {"-A INPUT -p udp --dport 53 -j DROP", false},
        {"-A INPUT -p tcp --dport 138 -j DROP", false},
        {"-A INPUT -p udp --dport 138 -j ACCEPT", false},
        {":INPUT ACCEPT [0:0]", false}};
    for (const auto& [rule, drops] : rules)
        EXPECT_EQ(IptablesRulesDroppingUdp(QString("*filter\n") + rule + "\nCOMMIT\n", {137, 138}),
                  drops ? QStringList{rule} : QStringList{})
            << rule;
}

}  // namespace
