<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>HistoryRecorder</name>
    <message>
        <source>The history file was damaged; it was kept as %1 and a new one was started</source>
        <translation>Die Verlaufsdatei war beschädigt; sie wurde als %1 aufbewahrt und eine neue begonnen</translation>
    </message>
    <message>
        <source>The history file was written by a newer Kestrin: it is shown, but nothing is added to it</source>
        <translation>Die Verlaufsdatei stammt von einer neueren Kestrin-Version: sie wird angezeigt, aber nichts wird hinzugefügt</translation>
    </message>
    <message>
        <source>The history cannot be kept: %1</source>
        <translation>Der Verlauf kann nicht geführt werden: %1</translation>
    </message>
    <message>
        <source>Memos could not be added to the history (%1); they are shown, and kept for a later try</source>
        <translation>Die Nachrichten konnten nicht in den Verlauf aufgenommen werden (%1); sie werden angezeigt und für einen späteren Versuch aufbewahrt</translation>
    </message>
    <message>
        <source>Old memos could not be removed from the history: %1</source>
        <translation>Alte Nachrichten konnten nicht aus dem Verlauf entfernt werden: %1</translation>
    </message>
</context>
<context>
    <name>HistorySettings</name>
    <message>
        <source>History/Enabled = &quot;%1&quot; is not 0 or 1; using 1</source>
        <translation>History/Enabled = &quot;%1&quot; ist weder 0 noch 1; es gilt 1</translation>
    </message>
    <message>
        <source>History/KeepDays = &quot;%1&quot; is not a number of days from 0 to 365000; using %2</source>
        <translation>History/KeepDays = &quot;%1&quot; ist keine Anzahl Tage von 0 bis 365000; es gilt %2</translation>
    </message>
</context>
<context>
    <name>NetworkBackend</name>
    <message>
        <source>UDP port %1</source>
        <translation>UDP-Port %1</translation>
    </message>
    <message>
        <source>another program</source>
        <translation>einem anderen Programm</translation>
    </message>
    <message>
        <source>free</source>
        <translation>frei</translation>
    </message>
    <message>
        <source>held by Kestrin, which already runs on this computer</source>
        <translation>belegt von Kestrin, das auf diesem Computer bereits läuft</translation>
    </message>
    <message>
        <source>held by %1, which answers the name queries</source>
        <translation>belegt von %1, das die Namensanfragen beantwortet</translation>
    </message>
    <message>
        <source>held by %1; Kestrin reads its datagrams beside it</source>
        <translation>belegt von %1; Kestrin liest die Datagramme daneben mit</translation>
    </message>
    <message>
        <source>held by %1; reading beside it needs the CAP_NET_RAW capability</source>
        <translation>belegt von %1; um daneben mitzulesen, braucht es die Capability CAP_NET_RAW</translation>
    </message>
    <message>
        <source>capabilities</source>
        <translation>Capabilities</translation>
    </message>
    <message>
        <source>install Kestrin&apos;s package, or run: sudo setcap cap_net_bind_service,cap_net_raw+ep %1</source>
        <translation>installieren Sie das Paket von Kestrin oder führen Sie aus: sudo setcap cap_net_bind_service,cap_net_raw+ep %1</translation>
    </message>
    <message>
        <source>no CAP_NET_BIND_SERVICE: ports below 1024 cannot be opened; %1</source>
        <translation>kein CAP_NET_BIND_SERVICE: Ports unter 1024 lassen sich nicht öffnen; %1</translation>
    </message>
    <message>
        <source>no CAP_NET_RAW: Kestrin cannot run beside Samba&apos;s nmbd; %1</source>
        <translation>kein CAP_NET_RAW: Kestrin kann nicht neben nmbd von Samba laufen; %1</translation>
    </message>
    <message>
        <source>CAP_NET_BIND_SERVICE and CAP_NET_RAW, given up once the ports are open</source>
        <translation>CAP_NET_BIND_SERVICE und CAP_NET_RAW, abgegeben, sobald die Ports offen sind</translation>
    </message>
    <message>
        <source>interface</source>
        <translation>Schnittstelle</translation>
    </message>
    <message>
        <source>%1, broadcast %2</source>
        <translation>%1, Broadcast-Adresse %2</translation>
    </message>
    <message>
        <source>%1: not sent on (%2)</source>
        <translation>%1: wird nicht zum Senden benutzt (%2)</translation>
    </message>
    <message>
        <source>no interface to broadcast on is up: no other computer can be reached</source>
        <translation>keine Schnittstelle für Broadcasts ist aktiv: kein anderer Computer ist erreichbar</translation>
    </message>
    <message>
        <source>network</source>
        <translation>Netzwerk</translation>
    </message>
    <message>
        <source>Windows&apos;s own mailslots carry the memos: the system holds the ports and sends on every network</source>
        <translation>die Mailslots von Windows selbst befördern die Nachrichten: das System hält die Ports und sendet in jedes Netzwerk</translation>
    </message>
</context>
<context>
    <name>NetworkSettings</name>
    <message>
        <source>Network/RefreshMinutes = &quot;%1&quot; is not a number of minutes from 0 to 1440; using %2</source>
        <translation>Network/RefreshMinutes = &quot;%1&quot; ist keine Anzahl Minuten von 0 bis 1440; es gilt %2</translation>
    </message>
    <message>
        <source>Network/Encoding = &quot;%1&quot; is not a code page known here; using %2</source>
        <translation>Network/Encoding = &quot;%1&quot; ist hier keine bekannte Codepage; es gilt %2</translation>
    </message>
    <message>
        <source>Network/ComputerName = &quot;%1&quot; is not a computer name (1 to 15 bytes, none of \ / : * ? &quot; &lt; &gt; |); using %2</source>
        <translation>Network/ComputerName = &quot;%1&quot; ist kein Computername (1 bis 15 Bytes, keines von \ / : * ? &quot; &lt; &gt; |); es gilt %2</translation>
    </message>
</context>
<context>
    <name>SendFailure</name>
    <message>
        <source>The memo was not sent: %1.</source>
        <translation>Die Nachricht wurde nicht gesendet: %1.</translation>
    </message>
    <message>
        <source>The memo is %1 bytes long; a computer on the network takes at most %2.</source>
        <translation>Die Nachricht ist %1 Bytes lang; ein Computer im Netzwerk nimmt höchstens %2 an.</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About Kestrin</source>
        <translation>Über Kestrin</translation>
    </message>
    <message>
        <source>Kestrin&apos;s icon</source>
        <translation>Symbol von Kestrin</translation>
    </message>
    <message>
        <source>Written by Olvanta</source>
        <translation>Geschrieben von Olvanta</translation>
    </message>
    <message>
        <source>Copyright © 2026 Olvanta</source>
        <translation>Copyright © 2026 Olvanta</translation>
    </message>
    <message>
        <source>Kestrin ver.1.0</source>
        <translation>Kestrin Version 1.0</translation>
    </message>
    <message>
        <source>Opens the home page in the web browser</source>
        <translation>Öffnet die Homepage im Webbrowser</translation>
    </message>
    <message>
        <source>Writes an e-mail to this address in the mail program</source>
        <translation>Schreibt im Mailprogramm eine E-Mail an diese Adresse</translation>
    </message>
    <message>
        <source>or</source>
        <translation>oder</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Closes this box</source>
        <translation>Schließt dieses Fenster</translation>
    </message>
    <message>
        <source>Welcome to my home page</source>
        <translation>Willkommen auf meiner Homepage</translation>
    </message>
    <message>
        <source>Send me e-mail</source>
        <translation>Schreiben Sie mir</translation>
    </message>
</context>
<context>
    <name>TArrivalBurst</name>
    <message>
        <source>Kestrin: memo from %1</source>
        <translation>Kestrin: Nachricht von %1</translation>
    </message>
    <message numerus="yes">
        <source>Kestrin: %n memos from %1%2</source>
        <translation>
            <numerusform>Kestrin: %n Nachricht von %1%2</numerusform>
            <numerusform>Kestrin: %n Nachrichten von %1%2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TCommandLine</name>
    <message>
        <source>Kestrin console client: chat with the computers of this network.

Commands:
  (none)                      interactive session: shows arrivals and the list of computers;
                              type a memo, a line with a single &quot;.&quot; sends it
  send (--to NAME | --all) [--allow-empty] [TEXT...]
                              sends TEXT (or standard input) as one memo, then exits;
                              an empty memo from standard input is refused (exit code 2)
  listen [--json]             prints every arrival and list change until stopped
  who [--wait MS]             announces itself, prints the computers that answer, leaves
  echo [--greeting TEXT]      answers every memo with its own text, and greets every computer
                              that appears; a companion for trying Kestrin out
  doctor [--json]             checks why other computers may not be seen: the name, the ports,
                              the capabilities, the interfaces, the firewall, a round trip
  history [--json] [--from NAME] [--since DATE] [--limit N] [WORDS...]
                              the memos this computer received and sent, newest first; with
                              WORDS those that hold every word; DATE is YYYY-MM-DD or
                              YYYY-MM-DDTHH:MM in local time

The interactive session, listen and echo keep what they receive and send in the history
(unless --no-history, or [History] Enabled=0 in the settings file).</source>
        <translation>Kestrin-Konsolenclient: Chat mit den Computern dieses Netzwerks.

Befehle:
  (keiner)                    interaktive Sitzung: zeigt Eingänge und die Liste der Computer;
                              Nachricht eingeben, eine Zeile mit nur „.“ sendet sie
  send (--to RECHNER | --all) [--allow-empty] [TEXT...]
                              sendet TEXT (oder die Standardeingabe) als eine Nachricht und
                              endet; eine leere Nachricht von der Standardeingabe wird
                              abgelehnt (Exit-Code 2)
  listen [--json]             gibt jeden Eingang und jede Änderung der Liste aus, bis es
                              gestoppt wird
  who [--wait MS]             kündigt sich an, gibt die antwortenden Computer aus und geht
  echo [--greeting TEXT]      beantwortet jede Nachricht mit ihrem eigenen Text und grüßt
                              jeden Computer, der erscheint; ein Gegenüber zum Ausprobieren
  doctor [--json]             prüft, warum andere Computer vielleicht nicht zu sehen sind: den
                              Namen, die Ports, die Capabilities, die Schnittstellen, die
                              Firewall, eine Nachricht an sich selbst
  history [--json] [--from RECHNER] [--since DATUM] [--limit N] [WÖRTER...]
                              die Nachrichten, die dieser Computer empfangen und gesendet hat,
                              die neuesten zuerst; mit WÖRTERN die, die jedes Wort enthalten;
                              DATUM ist etwa 2026-12-24 oder 2026-12-24T14:30, in Ortszeit

Die interaktive Sitzung, listen und echo bewahren Empfangenes und Gesendetes im Verlauf auf
(außer mit --no-history oder [History] Enabled=0 in der Einstellungsdatei).</translation>
    </message>
    <message>
        <source>Mailbox name shared by the group (default MB303).</source>
        <translation>Name des Postfachs, den die Gruppe teilt (Standard: MB303).</translation>
    </message>
    <message>
        <source>Settings file to read [Network] and [History] from (default: the user&apos;s).</source>
        <translation>Einstellungsdatei, aus der [Network] und [History] gelesen werden (Standard: die des Benutzers).</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>DATEI</translation>
    </message>
    <message>
        <source>send: the computer to send to.</source>
        <translation>send: der Computer, an den gesendet wird.</translation>
    </message>
    <message>
        <source>send: send to every computer.</source>
        <translation>send: an alle Computer senden.</translation>
    </message>
    <message>
        <source>send: send an empty memo read from standard input instead of refusing it.</source>
        <translation>send: eine leere Nachricht von der Standardeingabe senden, statt sie abzulehnen.</translation>
    </message>
    <message>
        <source>listen, doctor, history: one JSON object per line.</source>
        <translation>listen, doctor, history: ein JSON-Objekt pro Zeile, immer auf Englisch.</translation>
    </message>
    <message>
        <source>who: how long to wait for answers (default 1500).</source>
        <translation>who: wie viele Millisekunden auf Antworten gewartet wird (Standard: 1500).</translation>
    </message>
    <message>
        <source>MS</source>
        <translation>MS</translation>
    </message>
    <message>
        <source>echo: memo sent to every computer that appears.</source>
        <translation>echo: Nachricht an jeden Computer, der erscheint.</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>TEXT</translation>
    </message>
    <message>
        <source>interactive session, listen, echo: keep nothing in the history.</source>
        <translation>interaktive Sitzung, listen, echo: nichts im Verlauf aufbewahren.</translation>
    </message>
    <message>
        <source>history: only the memos from or to this computer.</source>
        <translation>history: nur die Nachrichten von oder an diesen Computer.</translation>
    </message>
    <message>
        <source>history: only the memos since this date (YYYY-MM-DD) or time, local.</source>
        <translation>history: nur die Nachrichten seit diesem Datum (JJJJ-MM-TT) oder Zeitpunkt, in Ortszeit.</translation>
    </message>
    <message>
        <source>DATE</source>
        <translation>DATUM</translation>
    </message>
    <message>
        <source>history: how many memos at most (default 20).</source>
        <translation>history: wie viele Nachrichten höchstens (Standard: 20).</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>send, listen, who, echo, doctor or history; none for an interactive session.</source>
        <translation>send, listen, who, echo, doctor oder history; keiner für eine interaktive Sitzung.</translation>
    </message>
    <message>
        <source>[command]</source>
        <translation>[Befehl]</translation>
    </message>
    <message>
        <source>--box needs a name without backslashes</source>
        <translation>--box braucht einen Namen ohne Backslash</translation>
    </message>
    <message>
        <source>send needs exactly one of --to NAME and --all</source>
        <translation>send braucht genau eines von --to RECHNER und --all</translation>
    </message>
    <message>
        <source>--to needs a computer name; use --all to send to every computer</source>
        <translation>--to braucht einen Computernamen; an alle Computer sendet --all</translation>
    </message>
    <message>
        <source>--wait needs a number of milliseconds</source>
        <translation>--wait braucht eine Anzahl Millisekunden</translation>
    </message>
    <message>
        <source>--from needs a computer name</source>
        <translation>--from braucht einen Computernamen</translation>
    </message>
    <message>
        <source>--since needs a date such as 2026-12-24 or 2026-12-24T14:30</source>
        <translation>--since braucht ein Datum wie 2026-12-24 oder 2026-12-24T14:30</translation>
    </message>
    <message>
        <source>--limit needs a number of memos from 1 on</source>
        <translation>--limit braucht eine Anzahl Nachrichten ab 1</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;; try --help</source>
        <translation>unbekannter Befehl „%1“; siehe --help</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>--to, --all and --allow-empty belong to the send command</source>
        <translation>--to, --all und --allow-empty gehören zum Befehl send</translation>
    </message>
    <message>
        <source>--from, --since and --limit belong to the history command</source>
        <translation>--from, --since und --limit gehören zum Befehl history</translation>
    </message>
    <message>
        <source>--no-history belongs to the interactive session, listen and echo</source>
        <translation>--no-history gehört zur interaktiven Sitzung, zu listen und zu echo</translation>
    </message>
    <message>
        <source>NAME</source>
        <comment>the value of --to and --from: a computer&apos;s name</comment>
        <translation>RECHNER</translation>
    </message>
    <message>
        <source>NAME</source>
        <comment>the value of --box: a mailbox&apos;s name</comment>
        <translation>NAME</translation>
    </message>
</context>
<context>
    <name>TCommands</name>
    <message>
        <source>settings: %1</source>
        <translation>Einstellungen: %1</translation>
    </message>
    <message>
        <source>the memo is longer than %1 bytes, the most any computer takes; nothing was sent</source>
        <translation>die Nachricht ist länger als %1 Bytes, mehr als jeder Computer annimmt; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>the memo on standard input is empty; nothing was sent (--allow-empty sends it)</source>
        <translation>die Nachricht auf der Standardeingabe ist leer; nichts wurde gesendet (--allow-empty sendet sie)</translation>
    </message>
    <message>
        <source>no network to send on is up: only this computer got the memo</source>
        <translation>kein Netzwerk zum Senden ist aktiv: nur dieser Computer hat die Nachricht erhalten</translation>
    </message>
    <message>
        <source>no network to send on is up: the memo was not sent</source>
        <translation>kein Netzwerk zum Senden ist aktiv: die Nachricht wurde nicht gesendet</translation>
    </message>
    <message>
        <source>the memo to all was not sent: %1</source>
        <translation>die Nachricht an alle wurde nicht gesendet: %1</translation>
    </message>
    <message>
        <source>the memo to %1 was not sent: %2</source>
        <translation>die Nachricht an %1 wurde nicht gesendet: %2</translation>
    </message>
</context>
<context>
    <name>TDesktopCommandLine</name>
    <message>
        <source>Usage: kestrin [Qt options]
Chat with the computers of the local network, without a server.

  -h, --help     shows this text and exits
  -v, --version  shows the version and exits
  --minimized    starts in the tray only where there is one, else minimised (for the start at logon)

The options every Qt program takes, such as -platform NAME, -display DISPLAY and -style NAME, apply.
kestrin-cli is the console client; its --help says more.
</source>
        <translation>Aufruf: kestrin [Qt-Optionen]
Chatten mit den Computern des lokalen Netzes, ohne Server.

  -h, --help     zeigt diesen Text und beendet das Programm
  -v, --version  zeigt die Version und beendet das Programm
  --minimized    startet nur im Infobereich, wo es einen gibt, sonst minimiert (für den Start bei der Anmeldung)

Es gelten die Optionen jedes Qt-Programms, etwa -platform NAME, -display DISPLAY und -style NAME.
kestrin-cli ist der Konsolen-Client; sein --help sagt mehr.
</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unerwartetes Argument „%1“</translation>
    </message>
</context>
<context>
    <name>TDoctor</name>
    <message>
        <source>computer name</source>
        <translation>Computername</translation>
    </message>
    <message>
        <source>%1, set by ComputerName in the settings file</source>
        <translation>%1, gesetzt mit ComputerName in der Einstellungsdatei</translation>
    </message>
    <message>
        <source>%1, from the host name %2 (up to its first dot, upper-cased, cut to 15 bytes)</source>
        <translation>%1, aus dem Hostnamen %2 (bis zum ersten Punkt, in Großbuchstaben, auf 15 Bytes gekürzt)</translation>
    </message>
    <message>
        <source>%1, from the host name %2 (up to its first dot, upper-cased)</source>
        <translation>%1, aus dem Hostnamen %2 (bis zum ersten Punkt, in Großbuchstaben)</translation>
    </message>
    <message>
        <source>firewall</source>
        <translation>Firewall</translation>
    </message>
    <message>
        <source>the rules cannot be read here (nft and iptables-save need root)</source>
        <translation>die Regeln sind hier nicht lesbar (nft und iptables-save brauchen root)</translation>
    </message>
    <message>
        <source>may drop Kestrin&apos;s datagrams: %1</source>
        <translation>verwirft womöglich die Datagramme von Kestrin: %1</translation>
    </message>
    <message>
        <source>no rule of %1 drops the ports</source>
        <translation>keine Regel von %1 verwirft die Ports</translation>
    </message>
    <message>
        <source>code page</source>
        <translation>Codepage</translation>
    </message>
    <message>
        <source>settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>; the system allows %1 KiB (net.core.rmem_max)</source>
        <translation>; das System erlaubt %1 KiB (net.core.rmem_max)</translation>
    </message>
    <message>
        <source>%1 KiB, room for about %2 datagrams</source>
        <translation>%1 KiB, Platz für etwa %2 Datagramme</translation>
    </message>
    <message>
        <source>receive buffer</source>
        <translation>Empfangspuffer</translation>
    </message>
    <message>
        <source>; too small for an office of %1 computers: raise the limit, e.g. sysctl -w net.core.rmem_max=%2</source>
        <translation>; zu klein für ein Büro mit %1 Computern: heben Sie die Grenze an, z. B. sysctl -w net.core.rmem_max=%2</translation>
    </message>
    <message>
        <source>sends</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>%1 datagrams sent, none lost</source>
        <translation>%1 Datagramme gesendet, keines verloren</translation>
    </message>
    <message>
        <source>%1 datagrams sent, %2 not sent; the last: %3</source>
        <translation>%1 Datagramme gesendet, %2 nicht gesendet; zuletzt: %3</translation>
    </message>
    <message>
        <source>since the system started, UDP datagrams dropped on a full receive buffer: %1, sends that found no room: %2, datagrams received in error: %3 (all programs; /proc/net/snmp)</source>
        <translation>seit dem Systemstart wegen vollem Empfangspuffer verworfene UDP-Datagramme: %1, Sendungen ohne Platz: %2, fehlerhaft empfangene Datagramme: %3 (alle Programme; /proc/net/snmp)</translation>
    </message>
    <message>
        <source>kernel counters</source>
        <translation>Kernel-Zähler</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>note</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>problem</source>
        <translation>Problem</translation>
    </message>
    <message>
        <source>not applicable</source>
        <translation>entfällt</translation>
    </message>
    <message>
        <source>round trip</source>
        <translation>Rundlauf</translation>
    </message>
    <message>
        <source>not tried: the running copy has the mailbox</source>
        <translation>nicht versucht: die laufende Kopie hat das Postfach</translation>
    </message>
    <message>
        <source>the mailbox cannot be opened: %1</source>
        <translation>das Postfach lässt sich nicht öffnen: %1</translation>
    </message>
    <message>
        <source>a memo to this computer arrived</source>
        <translation>eine Nachricht an diesen Computer ist angekommen</translation>
    </message>
    <message>
        <source>a memo to this computer did not arrive within 2 s</source>
        <translation>eine Nachricht an diesen Computer kam nicht innerhalb von 2 s an</translation>
    </message>
    <message>
        <source>presence</source>
        <translation>Anwesenheit</translation>
    </message>
    <message>
        <source>no other computer answered within 2 s</source>
        <translation>kein anderer Computer hat innerhalb von 2 s geantwortet</translation>
    </message>
    <message numerus="yes">
        <source>%n answered: %1</source>
        <translation>
            <numerusform>%n hat geantwortet: %1</numerusform>
            <numerusform>%n haben geantwortet: %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TEchoCommand</name>
    <message>
        <source>a memo was not answered: %1</source>
        <translation>eine Nachricht wurde nicht beantwortet: %1</translation>
    </message>
</context>
<context>
    <name>TEventFormatter</name>
    <message>
        <source>line from %1 at %2: %3</source>
        <translation>Zeile von %1 um %2: %3</translation>
    </message>
    <message>
        <source>memo from %1 at %2:</source>
        <translation>Nachricht von %1 um %2:</translation>
    </message>
    <message>
        <source>computers: (none)</source>
        <translation>Computer: (keine)</translation>
    </message>
    <message>
        <source>computers: %1</source>
        <translation>Computer: %1</translation>
    </message>
    <message>
        <source>listed: %1</source>
        <translation>in der Liste: %1</translation>
    </message>
    <message>
        <source>gone: %1</source>
        <translation>gegangen: %1</translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
</context>
<context>
    <name>THistoryCommand</name>
    <message>
        <source>history recording is off ([History] Enabled=0); showing what was kept before</source>
        <translation>der Verlauf wird nicht geführt ([History] Enabled=0); gezeigt wird, was früher aufbewahrt wurde</translation>
    </message>
    <message>
        <source>no history yet</source>
        <translation>noch kein Verlauf</translation>
    </message>
    <message>
        <source>the history cannot be read: %1</source>
        <translation>der Verlauf ist nicht lesbar: %1</translation>
    </message>
    <message>
        <source>no memo found</source>
        <translation>keine Nachricht gefunden</translation>
    </message>
</context>
<context>
    <name>THistoryFormatter</name>
    <message>
        <source>every computer</source>
        <translation>alle Computer</translation>
    </message>
    <message>
        <source>memo from %1</source>
        <translation>Nachricht von %1</translation>
    </message>
    <message>
        <source>memo to %1</source>
        <translation>Nachricht an %1</translation>
    </message>
    <message>
        <source>line from %1</source>
        <translation>Zeile von %1</translation>
    </message>
    <message>
        <source>line to %1</source>
        <translation>Zeile an %1</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%1 um %2</translation>
    </message>
</context>
<context>
    <name>THistoryListModel</name>
    <message>
        <source>to all</source>
        <translation>an alle</translation>
    </message>
    <message>
        <source>to %1</source>
        <translation>an %1</translation>
    </message>
    <message>
        <source>The sender&apos;s time: %1</source>
        <translation>Zeit des Absenders: %1</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Nachricht</translation>
    </message>
</context>
<context>
    <name>TInteractiveConsole</name>
    <message>
        <source>error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>Kestrin console on %1, mailbox %2. Type a memo; a line with a single &quot;.&quot; sends it, to every computer until /to NAME names one (/all: every computer again). /help lists the commands.</source>
        <translation>Kestrin-Konsole auf %1, Postfach %2. Geben Sie eine Nachricht ein; eine Zeile mit nur „.“ sendet sie, an alle Computer, bis /to RECHNER einen nennt (/all: wieder an alle). /help listet die Befehle.</translation>
    </message>
    <message>
        <source>y</source>
        <comment>the short answer to Quit anyway?</comment>
        <translation>j</translation>
    </message>
    <message>
        <source>yes</source>
        <comment>the answer to Quit anyway?</comment>
        <translation>ja</translation>
    </message>
    <message>
        <source>the memo is kept</source>
        <translation>die Nachricht bleibt erhalten</translation>
    </message>
    <message>
        <source>sending to %1</source>
        <translation>senden an %1</translation>
    </message>
    <message>
        <source>sending to %1 (no computer lists itself under that name now)</source>
        <translation>senden an %1 (kein Computer führt sich gerade unter diesem Namen)</translation>
    </message>
    <message>
        <source>memo cleared</source>
        <translation>Nachricht verworfen</translation>
    </message>
    <message>
        <source>unknown command %1; /help lists the commands</source>
        <translation>unbekannter Befehl %1; /help listet die Befehle</translation>
    </message>
    <message numerus="yes">
        <source>The memo of %n line is not sent. Quit anyway? [y/N] </source>
        <translation>
            <numerusform>Die Nachricht aus %n Zeile ist nicht gesendet. Trotzdem beenden? [j/N] </numerusform>
            <numerusform>Die Nachricht aus %n Zeilen ist nicht gesendet. Trotzdem beenden? [j/N] </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The memo of %n lines is not sent. Quit anyway? [y/N] </source>
        <translation>
            <numerusform>Die Nachricht aus %n Zeile ist nicht gesendet. Trotzdem beenden? [j/N] </numerusform>
            <numerusform>Die Nachricht aus %n Zeilen ist nicht gesendet. Trotzdem beenden? [j/N] </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>discarded an unsent memo of %n line</source>
        <translation>
            <numerusform>eine nicht gesendete Nachricht aus %n Zeile verworfen</numerusform>
            <numerusform>eine nicht gesendete Nachricht aus %n Zeilen verworfen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>discarded an unsent memo of %n lines</source>
        <translation>
            <numerusform>eine nicht gesendete Nachricht aus %n Zeile verworfen</numerusform>
            <numerusform>eine nicht gesendete Nachricht aus %n Zeilen verworfen</numerusform>
        </translation>
    </message>
    <message>
        <source>error: the memo is longer than %1 bytes, the most any computer takes: no more lines are added to it, and &quot;.&quot; or /clear discards it.</source>
        <translation>Fehler: die Nachricht ist länger als %1 Bytes, mehr als jeder Computer annimmt: es kommen keine Zeilen mehr hinzu, und „.“ oder /clear verwirft sie.</translation>
    </message>
    <message>
        <source>error: the memo is longer than %1 bytes, the most any computer takes; nothing was sent and it is discarded.</source>
        <translation>Fehler: die Nachricht ist länger als %1 Bytes, mehr als jeder Computer annimmt; nichts wurde gesendet, und sie ist verworfen.</translation>
    </message>
    <message>
        <source>error: %1 The memo is kept; /clear forgets it.</source>
        <translation>Fehler: %1 Die Nachricht bleibt erhalten; /clear vergisst sie.</translation>
    </message>
    <message numerus="yes">
        <source>sent %n line to %1</source>
        <translation>
            <numerusform>%n Zeile an %1 gesendet</numerusform>
            <numerusform>%n Zeilen an %1 gesendet</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>sent %n lines to %1</source>
        <translation>
            <numerusform>%n Zeile an %1 gesendet</numerusform>
            <numerusform>%n Zeilen an %1 gesendet</numerusform>
        </translation>
    </message>
    <message>
        <source>  any text     a line of the memo being written
  .            sends the memo
  /to NAME     send to one computer
  /all         send to every computer (the start)
  /who         the computers that announced themselves
  /clear       forgets the memo being written
  //text       a memo line that starts with &quot;/&quot;
  /quit        leaves (as do Ctrl+D and Ctrl+C)
</source>
        <translation>  Text         eine Zeile der Nachricht, die gerade geschrieben wird
  .            sendet die Nachricht
  /to RECHNER  an einen Computer senden
  /all         an alle Computer senden (so zu Beginn)
  /who         die Computer, die sich angekündigt haben
  /clear       vergisst die Nachricht, die gerade geschrieben wird
  //Text       eine Nachrichtenzeile, die mit „/“ beginnt
  /quit        beendet (wie auch Strg+D und Strg+C)
</translation>
    </message>
    <message>
        <source>every computer</source>
        <translation>alle Computer</translation>
    </message>
    <message>
        <source>to %1&gt; </source>
        <translation>an %1&gt; </translation>
    </message>
</context>
<context>
    <name>TKestrinApplication</name>
    <message>
        <source>Unknown failure</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>TMemoNotifier</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
</context>
<context>
    <name>TTrayIcon</name>
    <message>
        <source>&amp;Show</source>
        <translation>&amp;Anzeigen</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>&amp;Verlauf</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Kestrin: 1 unread memo</source>
        <translation>Kestrin: 1 ungelesene Nachricht</translation>
    </message>
    <message numerus="yes">
        <source>Kestrin: %n unread memos</source>
        <translation>
            <numerusform>Kestrin: %n ungelesene Nachricht</numerusform>
            <numerusform>Kestrin: %n ungelesene Nachrichten</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TfrmHistory</name>
    <message>
        <source>To all, sent %1</source>
        <translation>An alle, gesendet %1</translation>
    </message>
    <message>
        <source>To %1, sent %2</source>
        <translation>An %1, gesendet %2</translation>
    </message>
    <message>
        <source>From %1, received %2 (the sender&apos;s time: %3)</source>
        <translation>Von %1, empfangen %2 (Zeit des Absenders: %3)</translation>
    </message>
    <message>
        <source>Kestrin History</source>
        <translation>Kestrin-Verlauf</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Only the memos that hold these words</source>
        <translation>Nur die Nachrichten mit diesen Wörtern</translation>
    </message>
    <message>
        <source>All computers</source>
        <translation>Alle Computer</translation>
    </message>
    <message>
        <source>Only the memos from and to this computer</source>
        <translation>Nur die Nachrichten von und an diesen Computer</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>Memos</source>
        <translation>Nachrichten</translation>
    </message>
    <message>
        <source>Memo text</source>
        <translation>Text der Nachricht</translation>
    </message>
    <message>
        <source>&amp;Reply</source>
        <translation>&amp;Antworten</translation>
    </message>
    <message>
        <source>Write to this memo&apos;s computer in the main window</source>
        <translation>Im Hauptfenster an den Computer dieser Nachricht schreiben</translation>
    </message>
    <message>
        <source>The history cannot be read: %1</source>
        <translation>Der Verlauf ist nicht lesbar: %1</translation>
    </message>
    <message>
        <source>No memos</source>
        <translation>Keine Nachrichten</translation>
    </message>
    <message>
        <source>No memo holds these words</source>
        <translation>Keine Nachricht enthält diese Wörter</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source>Send Message to</source>
        <translation>Senden an</translation>
    </message>
    <message>
        <source>Send message to computer [INS]</source>
        <translation>Nachricht an den Computer senden [EINFG]</translation>
    </message>
    <message>
        <source>Available Computers</source>
        <translation>Verfügbare Computer</translation>
    </message>
    <message>
        <source>Send Anyone</source>
        <translation>An alle</translation>
    </message>
    <message>
        <source>Send message to all computers</source>
        <translation>Nachricht an alle Computer senden</translation>
    </message>
    <message>
        <source>Outgoing message</source>
        <translation>Ausgehende Nachricht</translation>
    </message>
    <message>
        <source>Outgoing</source>
        <translation>Ausgang</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leer</translation>
    </message>
    <message>
        <source>Origin:</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Zeit:</translation>
    </message>
    <message>
        <source>Incoming message</source>
        <translation>Eingehende Nachricht</translation>
    </message>
    <message>
        <source>Incoming</source>
        <translation>Eingang</translation>
    </message>
    <message>
        <source>The last message received; its sender and time are shown above it</source>
        <translation>Die zuletzt empfangene Nachricht; Absender und Zeit stehen darüber</translation>
    </message>
    <message>
        <source>The computer Send Message to sends to: pick one or type its name</source>
        <translation>Der Computer, an den die Nachricht geht: auswählen oder Namen eingeben</translation>
    </message>
    <message>
        <source>Clear outgoing message</source>
        <translation>Ausgehende Nachricht leeren</translation>
    </message>
    <message>
        <source>Clear incoming message</source>
        <translation>Eingehende Nachricht leeren</translation>
    </message>
    <message>
        <source>&amp;Message</source>
        <translation>&amp;Nachricht</translation>
    </message>
    <message>
        <source>&amp;Send To</source>
        <translation>&amp;Senden an</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>&amp;Verlauf</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Some settings in Kestrin.conf cannot be used as they stand:</source>
        <translation>Einige Einstellungen in Kestrin.conf sind so nicht verwendbar:</translation>
    </message>
    <message>
        <source>This window sends, but receives nothing.</source>
        <translation>Dieses Fenster sendet, empfängt aber nichts.</translation>
    </message>
</context>
<context>
    <name>TfrmOptions</name>
    <message>
        <source>Main</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>PopUp on Message</source>
        <translation>Bei Nachricht zeigen</translation>
    </message>
    <message>
        <source>Brings the Kestrin window to the front when a message arrives</source>
        <translation>Holt das Kestrin-Fenster nach vorn, wenn eine Nachricht eintrifft</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Keeps both settings and closes the dialog</source>
        <translation>Übernimmt beide Einstellungen und schließt den Dialog</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Closes the dialog and keeps the settings as they were</source>
        <translation>Schließt den Dialog und lässt die Einstellungen, wie sie waren</translation>
    </message>
    <message>
        <source>Load at Startup</source>
        <translation>Autostart</translation>
    </message>
    <message>
        <source>Load of program at startup</source>
        <translation>Programm beim Anmelden starten</translation>
    </message>
    <message>
        <source>Starts Kestrin when a user logs on to this computer</source>
        <translation>Startet Kestrin, wenn sich ein Benutzer an diesem Computer anmeldet</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Error in TfrmOptions.LoadAtStartup</source>
        <translation>Fehler in TfrmOptions.LoadAtStartup</translation>
    </message>
    <message>
        <source>Error in TfrmOptions.CheckLoadAtStartup</source>
        <translation>Fehler in TfrmOptions.CheckLoadAtStartup</translation>
    </message>
</context>
</TS>
