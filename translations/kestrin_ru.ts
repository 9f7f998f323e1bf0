<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>HistoryRecorder</name>
    <message>
        <source>The history file was damaged; it was kept as %1 and a new one was started</source>
        <translation>Файл журнала был повреждён; он сохранён как %1, начат новый</translation>
    </message>
    <message>
        <source>The history file was written by a newer Kestrin: it is shown, but nothing is added to it</source>
        <translation>Файл журнала записан более новой версией Kestrin: он показывается, но ничего в него не добавляется</translation>
    </message>
    <message>
        <source>The history cannot be kept: %1</source>
        <translation>Вести журнал невозможно: %1</translation>
    </message>
    <message>
        <source>Memos could not be added to the history (%1); they are shown, and kept for a later try</source>
        <translation>Сообщения не удалось добавить в журнал (%1); они показаны и сохранены для новой попытки</translation>
    </message>
    <message>
        <source>Old memos could not be removed from the history: %1</source>
        <translation>Старые сообщения не удалось удалить из журнала: %1</translation>
    </message>
</context>
<context>
    <name>HistorySettings</name>
    <message>
        <source>History/Enabled = &quot;%1&quot; is not 0 or 1; using 1</source>
        <translation>History/Enabled = &quot;%1&quot; — не 0 и не 1; используется 1</translation>
    </message>
    <message>
        <source>History/KeepDays = &quot;%1&quot; is not a number of days from 0 to 365000; using %2</source>
        <translation>History/KeepDays = &quot;%1&quot; — не число дней от 0 до 365000; используется %2</translation>
    </message>
</context>
<context>
    <name>NetworkBackend</name>
    <message>
        <source>UDP port %1</source>
        <translation>UDP-порт %1</translation>
    </message>
    <message>
        <source>another program</source>
        <translation>другой программой</translation>
    </message>
    <message>
        <source>free</source>
        <translation>свободен</translation>
    </message>
    <message>
        <source>held by Kestrin, which already runs on this computer</source>
        <translation>занят программой Kestrin, которая уже работает на этом компьютере</translation>
    </message>
    <message>
        <source>held by %1, which answers the name queries</source>
        <translation>занят %1: она отвечает на запросы имён</translation>
    </message>
    <message>
        <source>held by %1; Kestrin reads its datagrams beside it</source>
        <translation>занят %1; Kestrin читает датаграммы рядом с ней</translation>
    </message>
    <message>
        <source>held by %1; reading beside it needs the CAP_NET_RAW capability</source>
        <translation>занят %1; чтобы читать рядом с ней, нужна привилегия CAP_NET_RAW</translation>
    </message>
    <message>
        <source>capabilities</source>
        <translation>привилегии</translation>
    </message>
    <message>
        <source>install Kestrin&apos;s package, or run: sudo setcap cap_net_bind_service,cap_net_raw+ep %1</source>
        <translation>установите пакет Kestrin или выполните: sudo setcap cap_net_bind_service,cap_net_raw+ep %1</translation>
    </message>
    <message>
        <source>no CAP_NET_BIND_SERVICE: ports below 1024 cannot be opened; %1</source>
        <translation>нет CAP_NET_BIND_SERVICE: порты ниже 1024 не открыть; %1</translation>
    </message>
    <message>
        <source>no CAP_NET_RAW: Kestrin cannot run beside Samba&apos;s nmbd; %1</source>
        <translation>нет CAP_NET_RAW: Kestrin не может работать рядом с nmbd из Samba; %1</translation>
    </message>
    <message>
        <source>CAP_NET_BIND_SERVICE and CAP_NET_RAW, given up once the ports are open</source>
        <translation>CAP_NET_BIND_SERVICE и CAP_NET_RAW, сбрасываются, как только порты открыты</translation>
    </message>
    <message>
        <source>interface</source>
        <translation>интерфейс</translation>
    </message>
    <message>
        <source>%1, broadcast %2</source>
        <translation>%1, широковещательный адрес %2</translation>
    </message>
    <message>
        <source>%1: not sent on (%2)</source>
        <translation>%1: не используется для отправки (%2)</translation>
    </message>
    <message>
        <source>no interface to broadcast on is up: no other computer can be reached</source>
        <translation>нет включённого интерфейса для широковещательной рассылки: другие компьютеры недоступны</translation>
    </message>
    <message>
        <source>network</source>
        <translation>сеть</translation>
    </message>
    <message>
        <source>Windows&apos;s own mailslots carry the memos: the system holds the ports and sends on every network</source>
        <translation>сообщения передают почтовые слоты самой Windows: порты держит система, и она же отправляет во все сети</translation>
    </message>
</context>
<context>
    <name>NetworkSettings</name>
    <message>
        <source>Network/RefreshMinutes = &quot;%1&quot; is not a number of minutes from 0 to 1440; using %2</source>
        <translation>Network/RefreshMinutes = &quot;%1&quot; — не число минут от 0 до 1440; используется %2</translation>
    </message>
    <message>
        <source>Network/Encoding = &quot;%1&quot; is not a code page known here; using %2</source>
        <translation>Network/Encoding = &quot;%1&quot; — неизвестная здесь кодовая страница; используется %2</translation>
    </message>
    <message>
        <source>Network/ComputerName = &quot;%1&quot; is not a computer name (1 to 15 bytes, none of \ / : * ? &quot; &lt; &gt; |); using %2</source>
        <translation>Network/ComputerName = &quot;%1&quot; — не имя компьютера (от 1 до 15 байт, без \ / : * ? &quot; &lt; &gt; |); используется %2</translation>
    </message>
</context>
<context>
    <name>SendFailure</name>
    <message>
        <source>The memo was not sent: %1.</source>
        <translation>Сообщение не отправлено: %1.</translation>
    </message>
    <message>
        <source>The memo is %1 bytes long; a computer on the network takes at most %2.</source>
        <translation>Длина сообщения — %1 байт; компьютер в сети принимает не больше %2.</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About Kestrin</source>
        <translation>О программе Kestrin</translation>
    </message>
    <message>
        <source>Kestrin&apos;s icon</source>
        <translation>Значок Kestrin</translation>
    </message>
    <message>
        <source>Written by Olvanta</source>
        <translation>Автор: Olvanta</translation>
    </message>
    <message>
        <source>Copyright © 2026 Olvanta</source>
        <translation>© Olvanta, 2026</translation>
    </message>
    <message>
        <source>Kestrin ver.1.0</source>
        <translation>Kestrin, версия 1.0</translation>
    </message>
    <message>
        <source>Opens the home page in the web browser</source>
        <translation>Открывает домашнюю страницу в браузере</translation>
    </message>
    <message>
        <source>Writes an e-mail to this address in the mail program</source>
        <translation>Создаёт письмо на этот адрес в почтовой программе</translation>
    </message>
    <message>
        <source>or</source>
        <translation>или</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Closes this box</source>
        <translation>Закрывает это окно</translation>
    </message>
    <message>
        <source>Welcome to my home page</source>
        <translation>Моя домашняя страница</translation>
    </message>
    <message>
        <source>Send me e-mail</source>
        <translation>Напишите мне</translation>
    </message>
</context>
<context>
    <name>TArrivalBurst</name>
    <message>
        <source>Kestrin: memo from %1</source>
        <translation>Kestrin: сообщение от %1</translation>
    </message>
    <message numerus="yes">
        <source>Kestrin: %n memos from %1%2</source>
        <translation>
            <numerusform>Kestrin: %n сообщение от %1%2</numerusform>
            <numerusform>Kestrin: %n сообщения от %1%2</numerusform>
            <numerusform>Kestrin: %n сообщений от %1%2</numerusform>
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
        <translation>Консольный клиент Kestrin: переписка с компьютерами этой сети.

Команды:
  (нет)                       диалоговый сеанс: показывает пришедшие сообщения и список
                              компьютеров; наберите сообщение, строка из одной «.» отправит его
  send (--to ИМЯ | --all) [--allow-empty] [ТЕКСТ...]
                              отправляет ТЕКСТ (или стандартный ввод) одним сообщением
                              и завершается; пустое сообщение со стандартного ввода
                              отклоняется (код возврата 2)
  listen [--json]             выводит каждое пришедшее сообщение и изменение списка,
                              пока его не остановят
  who [--wait МС]             объявляет о себе, выводит ответившие компьютеры и уходит
  echo [--greeting ТЕКСТ]     отвечает на каждое сообщение его же текстом и приветствует
                              каждый появившийся компьютер; собеседник, чтобы опробовать
                              Kestrin
  doctor [--json]             проверяет, почему другие компьютеры могут быть не видны: имя,
                              порты, привилегии, интерфейсы, брандмауэр, сообщение самому себе
  history [--json] [--from ИМЯ] [--since ДАТА] [--limit N] [СЛОВА...]
                              сообщения, принятые и отправленные этим компьютером, сначала
                              новые; со СЛОВАМИ — те, где есть каждое из слов; ДАТА — например,
                              2026-12-24 или 2026-12-24T14:30, по местному времени

Диалоговый сеанс, listen и echo сохраняют принятое и отправленное в журнале
(если не задан --no-history или [History] Enabled=0 в файле настроек).</translation>
    </message>
    <message>
        <source>Mailbox name shared by the group (default MB303).</source>
        <translation>Имя почтового ящика, общее для группы (по умолчанию MB303).</translation>
    </message>
    <message>
        <source>Settings file to read [Network] and [History] from (default: the user&apos;s).</source>
        <translation>Файл настроек, из которого читаются [Network] и [History] (по умолчанию — файл пользователя).</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <source>send: the computer to send to.</source>
        <translation>send: компьютер, которому отправить.</translation>
    </message>
    <message>
        <source>send: send to every computer.</source>
        <translation>send: отправить всем компьютерам.</translation>
    </message>
    <message>
        <source>send: send an empty memo read from standard input instead of refusing it.</source>
        <translation>send: отправить пустое сообщение со стандартного ввода, а не отклонять его.</translation>
    </message>
    <message>
        <source>listen, doctor, history: one JSON object per line.</source>
        <translation>listen, doctor, history: по объекту JSON в строке, всегда по-английски.</translation>
    </message>
    <message>
        <source>who: how long to wait for answers (default 1500).</source>
        <translation>who: сколько миллисекунд ждать ответов (по умолчанию 1500).</translation>
    </message>
    <message>
        <source>MS</source>
        <translation>МС</translation>
    </message>
    <message>
        <source>echo: memo sent to every computer that appears.</source>
        <translation>echo: сообщение каждому появившемуся компьютеру.</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>ТЕКСТ</translation>
    </message>
    <message>
        <source>interactive session, listen, echo: keep nothing in the history.</source>
        <translation>диалоговый сеанс, listen, echo: ничего не сохранять в журнале.</translation>
    </message>
    <message>
        <source>history: only the memos from or to this computer.</source>
        <translation>history: только сообщения от этого компьютера или ему.</translation>
    </message>
    <message>
        <source>history: only the memos since this date (YYYY-MM-DD) or time, local.</source>
        <translation>history: только сообщения начиная с этой даты (ГГГГ-ММ-ДД) или времени, местного.</translation>
    </message>
    <message>
        <source>DATE</source>
        <translation>ДАТА</translation>
    </message>
    <message>
        <source>history: how many memos at most (default 20).</source>
        <translation>history: сколько сообщений показать самое большее (по умолчанию 20).</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>send, listen, who, echo, doctor or history; none for an interactive session.</source>
        <translation>send, listen, who, echo, doctor или history; без команды — диалоговый сеанс.</translation>
    </message>
    <message>
        <source>[command]</source>
        <translation>[команда]</translation>
    </message>
    <message>
        <source>--box needs a name without backslashes</source>
        <translation>--box требует имени без обратной косой черты</translation>
    </message>
    <message>
        <source>send needs exactly one of --to NAME and --all</source>
        <translation>send требует ровно одного из --to ИМЯ и --all</translation>
    </message>
    <message>
        <source>--to needs a computer name; use --all to send to every computer</source>
        <translation>--to требует имени компьютера; чтобы отправить всем компьютерам, укажите --all</translation>
    </message>
    <message>
        <source>--wait needs a number of milliseconds</source>
        <translation>--wait требует числа миллисекунд</translation>
    </message>
    <message>
        <source>--from needs a computer name</source>
        <translation>--from требует имени компьютера</translation>
    </message>
    <message>
        <source>--since needs a date such as 2026-12-24 or 2026-12-24T14:30</source>
        <translation>--since требует даты, например 2026-12-24 или 2026-12-24T14:30</translation>
    </message>
    <message>
        <source>--limit needs a number of memos from 1 on</source>
        <translation>--limit требует числа сообщений от 1</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;; try --help</source>
        <translation>неизвестная команда «%1»; см. --help</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>лишний аргумент «%1»</translation>
    </message>
    <message>
        <source>--to, --all and --allow-empty belong to the send command</source>
        <translation>--to, --all и --allow-empty относятся к команде send</translation>
    </message>
    <message>
        <source>--from, --since and --limit belong to the history command</source>
        <translation>--from, --since и --limit относятся к команде history</translation>
    </message>
    <message>
        <source>--no-history belongs to the interactive session, listen and echo</source>
        <translation>--no-history относится к диалоговому сеансу, listen и echo</translation>
    </message>
    <message>
        <source>NAME</source>
        <comment>the value of --to and --from: a computer&apos;s name</comment>
        <translation>ИМЯ</translation>
    </message>
    <message>
        <source>NAME</source>
        <comment>the value of --box: a mailbox&apos;s name</comment>
        <translation>ИМЯ</translation>
    </message>
</context>
<context>
    <name>TCommands</name>
    <message>
        <source>settings: %1</source>
        <translation>настройки: %1</translation>
    </message>
    <message>
        <source>the memo is longer than %1 bytes, the most any computer takes; nothing was sent</source>
        <translation>сообщение длиннее %1 байт — больше, чем принимает любой компьютер; ничего не отправлено</translation>
    </message>
    <message>
        <source>the memo on standard input is empty; nothing was sent (--allow-empty sends it)</source>
        <translation>сообщение на стандартном вводе пустое; ничего не отправлено (--allow-empty отправит его)</translation>
    </message>
    <message>
        <source>no network to send on is up: only this computer got the memo</source>
        <translation>нет включённой сети для отправки: сообщение получил только этот компьютер</translation>
    </message>
    <message>
        <source>no network to send on is up: the memo was not sent</source>
        <translation>нет включённой сети для отправки: сообщение не отправлено</translation>
    </message>
    <message>
        <source>the memo to all was not sent: %1</source>
        <translation>сообщение всем компьютерам не отправлено: %1</translation>
    </message>
    <message>
        <source>the memo to %1 was not sent: %2</source>
        <translation>сообщение для %1 не отправлено: %2</translation>
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
        <translation>Использование: kestrin [параметры Qt]
Переписка с компьютерами локальной сети, без сервера.

  -h, --help     показывает этот текст и завершает работу
  -v, --version  показывает версию и завершает работу
  --minimized    запускается только в трее, где он есть, иначе свёрнутым (для запуска при входе в систему)

Действуют параметры любой программы Qt, например -platform NAME, -display DISPLAY и -style NAME.
kestrin-cli — консольный клиент; его --help расскажет больше.
</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>лишний аргумент «%1»</translation>
    </message>
</context>
<context>
    <name>TDoctor</name>
    <message>
        <source>computer name</source>
        <translation>имя компьютера</translation>
    </message>
    <message>
        <source>%1, set by ComputerName in the settings file</source>
        <translation>%1, задано ComputerName в файле настроек</translation>
    </message>
    <message>
        <source>%1, from the host name %2 (up to its first dot, upper-cased, cut to 15 bytes)</source>
        <translation>%1, из имени хоста %2 (до первой точки, заглавными буквами, обрезано до 15 байт)</translation>
    </message>
    <message>
        <source>%1, from the host name %2 (up to its first dot, upper-cased)</source>
        <translation>%1, из имени хоста %2 (до первой точки, заглавными буквами)</translation>
    </message>
    <message>
        <source>firewall</source>
        <translation>брандмауэр</translation>
    </message>
    <message>
        <source>the rules cannot be read here (nft and iptables-save need root)</source>
        <translation>правила здесь не прочитать (nft и iptables-save требуют прав root)</translation>
    </message>
    <message>
        <source>may drop Kestrin&apos;s datagrams: %1</source>
        <translation>может отбрасывать датаграммы Kestrin: %1</translation>
    </message>
    <message>
        <source>no rule of %1 drops the ports</source>
        <translation>ни одно правило %1 не отбрасывает эти порты</translation>
    </message>
    <message>
        <source>code page</source>
        <translation>кодовая страница</translation>
    </message>
    <message>
        <source>settings</source>
        <translation>настройки</translation>
    </message>
    <message>
        <source>; the system allows %1 KiB (net.core.rmem_max)</source>
        <translation>; система разрешает %1 КиБ (net.core.rmem_max)</translation>
    </message>
    <message>
        <source>%1 KiB, room for about %2 datagrams</source>
        <translation>%1 КиБ, места примерно на %2 датаграмм</translation>
    </message>
    <message>
        <source>receive buffer</source>
        <translation>буфер приёма</translation>
    </message>
    <message>
        <source>; too small for an office of %1 computers: raise the limit, e.g. sysctl -w net.core.rmem_max=%2</source>
        <translation>; мал для офиса из %1 компьютеров: поднимите предел, например sysctl -w net.core.rmem_max=%2</translation>
    </message>
    <message>
        <source>sends</source>
        <translation>отправка</translation>
    </message>
    <message>
        <source>%1 datagrams sent, none lost</source>
        <translation>отправлено датаграмм: %1, потерь нет</translation>
    </message>
    <message>
        <source>%1 datagrams sent, %2 not sent; the last: %3</source>
        <translation>отправлено датаграмм: %1, не отправлено: %2; последняя причина: %3</translation>
    </message>
    <message>
        <source>since the system started, UDP datagrams dropped on a full receive buffer: %1, sends that found no room: %2, datagrams received in error: %3 (all programs; /proc/net/snmp)</source>
        <translation>с запуска системы отброшено датаграмм UDP из-за полного буфера приёма: %1, отправок, не нашедших места: %2, датаграмм, принятых с ошибкой: %3 (все программы; /proc/net/snmp)</translation>
    </message>
    <message>
        <source>kernel counters</source>
        <translation>счётчики ядра</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ок</translation>
    </message>
    <message>
        <source>note</source>
        <translation>заметка</translation>
    </message>
    <message>
        <source>problem</source>
        <translation>проблема</translation>
    </message>
    <message>
        <source>not applicable</source>
        <translation>неприменимо</translation>
    </message>
    <message>
        <source>round trip</source>
        <translation>сообщение себе</translation>
    </message>
    <message>
        <source>not tried: the running copy has the mailbox</source>
        <translation>не проверено: почтовый ящик занят работающей копией</translation>
    </message>
    <message>
        <source>the mailbox cannot be opened: %1</source>
        <translation>почтовый ящик не открыть: %1</translation>
    </message>
    <message>
        <source>a memo to this computer arrived</source>
        <translation>сообщение этому компьютеру пришло</translation>
    </message>
    <message>
        <source>a memo to this computer did not arrive within 2 s</source>
        <translation>сообщение этому компьютеру не пришло за 2 с</translation>
    </message>
    <message>
        <source>presence</source>
        <translation>присутствие</translation>
    </message>
    <message>
        <source>no other computer answered within 2 s</source>
        <translation>ни один другой компьютер не ответил за 2 с</translation>
    </message>
    <message numerus="yes">
        <source>%n answered: %1</source>
        <translation>
            <numerusform>%n ответил: %1</numerusform>
            <numerusform>%n ответили: %1</numerusform>
            <numerusform>%n ответили: %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TEchoCommand</name>
    <message>
        <source>a memo was not answered: %1</source>
        <translation>на сообщение не ответили: %1</translation>
    </message>
</context>
<context>
    <name>TEventFormatter</name>
    <message>
        <source>line from %1 at %2: %3</source>
        <translation>строка от %1 в %2: %3</translation>
    </message>
    <message>
        <source>memo from %1 at %2:</source>
        <translation>сообщение от %1 в %2:</translation>
    </message>
    <message>
        <source>computers: (none)</source>
        <translation>компьютеры: (нет)</translation>
    </message>
    <message>
        <source>computers: %1</source>
        <translation>компьютеры: %1</translation>
    </message>
    <message>
        <source>listed: %1</source>
        <translation>в списке: %1</translation>
    </message>
    <message>
        <source>gone: %1</source>
        <translation>ушёл: %1</translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>ошибка: %1</translation>
    </message>
</context>
<context>
    <name>THistoryCommand</name>
    <message>
        <source>history recording is off ([History] Enabled=0); showing what was kept before</source>
        <translation>журнал не ведётся ([History] Enabled=0); показано то, что сохранено раньше</translation>
    </message>
    <message>
        <source>no history yet</source>
        <translation>журнал пока пуст</translation>
    </message>
    <message>
        <source>the history cannot be read: %1</source>
        <translation>журнал не прочитать: %1</translation>
    </message>
    <message>
        <source>no memo found</source>
        <translation>сообщений не найдено</translation>
    </message>
</context>
<context>
    <name>THistoryFormatter</name>
    <message>
        <source>every computer</source>
        <translation>всех компьютеров</translation>
    </message>
    <message>
        <source>memo from %1</source>
        <translation>сообщение от %1</translation>
    </message>
    <message>
        <source>memo to %1</source>
        <translation>сообщение для %1</translation>
    </message>
    <message>
        <source>line from %1</source>
        <translation>строка от %1</translation>
    </message>
    <message>
        <source>line to %1</source>
        <translation>строка для %1</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%1 в %2</translation>
    </message>
</context>
<context>
    <name>THistoryListModel</name>
    <message>
        <source>to all</source>
        <translation>всем</translation>
    </message>
    <message>
        <source>to %1</source>
        <translation>для %1</translation>
    </message>
    <message>
        <source>The sender&apos;s time: %1</source>
        <translation>Время отправителя: %1</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Компьютер</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Сообщение</translation>
    </message>
</context>
<context>
    <name>TInteractiveConsole</name>
    <message>
        <source>error: %1</source>
        <translation>ошибка: %1</translation>
    </message>
    <message>
        <source>Kestrin console on %1, mailbox %2. Type a memo; a line with a single &quot;.&quot; sends it, to every computer until /to NAME names one (/all: every computer again). /help lists the commands.</source>
        <translation>Консоль Kestrin на %1, почтовый ящик %2. Наберите сообщение; строка из одной «.» отправит его — всем компьютерам, пока /to ИМЯ не назовёт один (/all: снова всем). /help перечисляет команды.</translation>
    </message>
    <message>
        <source>y</source>
        <comment>the short answer to Quit anyway?</comment>
        <translation>д</translation>
    </message>
    <message>
        <source>yes</source>
        <comment>the answer to Quit anyway?</comment>
        <translation>да</translation>
    </message>
    <message>
        <source>the memo is kept</source>
        <translation>сообщение сохранено</translation>
    </message>
    <message>
        <source>sending to %1</source>
        <translation>адресат: %1</translation>
    </message>
    <message>
        <source>sending to %1 (no computer lists itself under that name now)</source>
        <translation>адресат: %1 (сейчас ни один компьютер не значится под этим именем)</translation>
    </message>
    <message>
        <source>memo cleared</source>
        <translation>сообщение стёрто</translation>
    </message>
    <message>
        <source>unknown command %1; /help lists the commands</source>
        <translation>неизвестная команда %1; /help перечисляет команды</translation>
    </message>
    <message numerus="yes">
        <source>The memo of %n line is not sent. Quit anyway? [y/N] </source>
        <translation>
            <numerusform>Сообщение из %n строки не отправлено. Всё равно выйти? [д/Н] </numerusform>
            <numerusform>Сообщение из %n строк не отправлено. Всё равно выйти? [д/Н] </numerusform>
            <numerusform>Сообщение из %n строк не отправлено. Всё равно выйти? [д/Н] </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The memo of %n lines is not sent. Quit anyway? [y/N] </source>
        <translation>
            <numerusform>Сообщение из %n строки не отправлено. Всё равно выйти? [д/Н] </numerusform>
            <numerusform>Сообщение из %n строк не отправлено. Всё равно выйти? [д/Н] </numerusform>
            <numerusform>Сообщение из %n строк не отправлено. Всё равно выйти? [д/Н] </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>discarded an unsent memo of %n line</source>
        <translation>
            <numerusform>отброшено неотправленное сообщение из %n строки</numerusform>
            <numerusform>отброшено неотправленное сообщение из %n строк</numerusform>
            <numerusform>отброшено неотправленное сообщение из %n строк</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>discarded an unsent memo of %n lines</source>
        <translation>
            <numerusform>отброшено неотправленное сообщение из %n строки</numerusform>
            <numerusform>отброшено неотправленное сообщение из %n строк</numerusform>
            <numerusform>отброшено неотправленное сообщение из %n строк</numerusform>
        </translation>
    </message>
    <message>
        <source>error: the memo is longer than %1 bytes, the most any computer takes: no more lines are added to it, and &quot;.&quot; or /clear discards it.</source>
        <translation>ошибка: сообщение длиннее %1 байт — больше, чем принимает любой компьютер: строки в него больше не добавляются, «.» или /clear отбросит его.</translation>
    </message>
    <message>
        <source>error: the memo is longer than %1 bytes, the most any computer takes; nothing was sent and it is discarded.</source>
        <translation>ошибка: сообщение длиннее %1 байт — больше, чем принимает любой компьютер; ничего не отправлено, сообщение отброшено.</translation>
    </message>
    <message>
        <source>error: %1 The memo is kept; /clear forgets it.</source>
        <translation>ошибка: %1 Сообщение сохранено; /clear забудет его.</translation>
    </message>
    <message numerus="yes">
        <source>sent %n line to %1</source>
        <translation>
            <numerusform>отправлена %n строка, адресат: %1</numerusform>
            <numerusform>отправлены %n строки, адресат: %1</numerusform>
            <numerusform>отправлено %n строк, адресат: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>sent %n lines to %1</source>
        <translation>
            <numerusform>отправлена %n строка, адресат: %1</numerusform>
            <numerusform>отправлены %n строки, адресат: %1</numerusform>
            <numerusform>отправлено %n строк, адресат: %1</numerusform>
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
        <translation>  любой текст  строка набираемого сообщения
  .            отправляет сообщение
  /to ИМЯ      отправлять одному компьютеру
  /all         отправлять всем компьютерам (так в начале)
  /who         компьютеры, объявившие о себе
  /clear       забывает набираемое сообщение
  //текст      строка сообщения, начинающаяся с «/»
  /quit        выход (как и по Ctrl+D и Ctrl+C)
</translation>
    </message>
    <message>
        <source>every computer</source>
        <translation>все компьютеры</translation>
    </message>
    <message>
        <source>to %1&gt; </source>
        <translation>кому: %1&gt; </translation>
    </message>
</context>
<context>
    <name>TKestrinApplication</name>
    <message>
        <source>Unknown failure</source>
        <translation>Неизвестный сбой</translation>
    </message>
</context>
<context>
    <name>TMemoNotifier</name>
    <message>
        <source>Show</source>
        <translation>Показать</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Журнал</translation>
    </message>
</context>
<context>
    <name>TTrayIcon</name>
    <message>
        <source>&amp;Show</source>
        <translation>&amp;Показать</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>&amp;Журнал</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Выход</translation>
    </message>
    <message>
        <source>Kestrin: 1 unread memo</source>
        <translation>Kestrin: 1 непрочитанное сообщение</translation>
    </message>
    <message numerus="yes">
        <source>Kestrin: %n unread memos</source>
        <translation>
            <numerusform>Kestrin: %n непрочитанное сообщение</numerusform>
            <numerusform>Kestrin: %n непрочитанных сообщения</numerusform>
            <numerusform>Kestrin: %n непрочитанных сообщений</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TfrmHistory</name>
    <message>
        <source>To all, sent %1</source>
        <translation>Всем, отправлено %1</translation>
    </message>
    <message>
        <source>To %1, sent %2</source>
        <translation>Для %1, отправлено %2</translation>
    </message>
    <message>
        <source>From %1, received %2 (the sender&apos;s time: %3)</source>
        <translation>От %1, получено %2 (время отправителя: %3)</translation>
    </message>
    <message>
        <source>Kestrin History</source>
        <translation>Журнал Kestrin</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Only the memos that hold these words</source>
        <translation>Только сообщения с этими словами</translation>
    </message>
    <message>
        <source>All computers</source>
        <translation>Все компьютеры</translation>
    </message>
    <message>
        <source>Only the memos from and to this computer</source>
        <translation>Только сообщения от этого компьютера и для него</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Компьютер</translation>
    </message>
    <message>
        <source>Memos</source>
        <translation>Сообщения</translation>
    </message>
    <message>
        <source>Memo text</source>
        <translation>Текст сообщения</translation>
    </message>
    <message>
        <source>&amp;Reply</source>
        <translation>&amp;Ответить</translation>
    </message>
    <message>
        <source>Write to this memo&apos;s computer in the main window</source>
        <translation>Написать компьютеру этого сообщения в главном окне</translation>
    </message>
    <message>
        <source>The history cannot be read: %1</source>
        <translation>Журнал не читается: %1</translation>
    </message>
    <message>
        <source>No memos</source>
        <translation>Сообщений нет</translation>
    </message>
    <message>
        <source>No memo holds these words</source>
        <translation>Ни в одном сообщении нет этих слов</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source>Send Message to</source>
        <translation>Отправить</translation>
    </message>
    <message>
        <source>Send message to computer [INS]</source>
        <translation>Отправить сообщение компьютеру [INS]</translation>
    </message>
    <message>
        <source>Available Computers</source>
        <translation>Доступные компьютеры</translation>
    </message>
    <message>
        <source>Send Anyone</source>
        <translation>Всем</translation>
    </message>
    <message>
        <source>Send message to all computers</source>
        <translation>Отправить сообщение всем компьютерам</translation>
    </message>
    <message>
        <source>Outgoing message</source>
        <translation>Исходящее сообщение</translation>
    </message>
    <message>
        <source>Outgoing</source>
        <translation>Исх.</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Стер.</translation>
    </message>
    <message>
        <source>Origin:</source>
        <translation>От:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Время:</translation>
    </message>
    <message>
        <source>Incoming message</source>
        <translation>Входящее сообщение</translation>
    </message>
    <message>
        <source>Incoming</source>
        <translation>Вх.</translation>
    </message>
    <message>
        <source>The last message received; its sender and time are shown above it</source>
        <translation>Последнее полученное сообщение; отправитель и время указаны над ним</translation>
    </message>
    <message>
        <source>The computer Send Message to sends to: pick one or type its name</source>
        <translation>Компьютер, которому уходит сообщение: выберите его или введите имя</translation>
    </message>
    <message>
        <source>Clear outgoing message</source>
        <translation>Стереть исходящее сообщение</translation>
    </message>
    <message>
        <source>Clear incoming message</source>
        <translation>Стереть входящее сообщение</translation>
    </message>
    <message>
        <source>&amp;Message</source>
        <translation>&amp;Сообщение</translation>
    </message>
    <message>
        <source>&amp;Send To</source>
        <translation>&amp;Отправить</translation>
    </message>
    <message>
        <source>&amp;History</source>
        <translation>&amp;Журнал</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Выход</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Настройки</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>О &amp;программе</translation>
    </message>
    <message>
        <source>Some settings in Kestrin.conf cannot be used as they stand:</source>
        <translation>Некоторые настройки в Kestrin.conf нельзя использовать в таком виде:</translation>
    </message>
    <message>
        <source>This window sends, but receives nothing.</source>
        <translation>Это окно отправляет, но ничего не получает.</translation>
    </message>
</context>
<context>
    <name>TfrmOptions</name>
    <message>
        <source>Main</source>
        <translation>Основные</translation>
    </message>
    <message>
        <source>PopUp on Message</source>
        <translation>Всплывающее окно</translation>
    </message>
    <message>
        <source>Brings the Kestrin window to the front when a message arrives</source>
        <translation>Выводит окно Kestrin на передний план, когда приходит сообщение</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Keeps both settings and closes the dialog</source>
        <translation>Сохраняет обе настройки и закрывает окно</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Closes the dialog and keeps the settings as they were</source>
        <translation>Закрывает окно, оставляя настройки прежними</translation>
    </message>
    <message>
        <source>Load at Startup</source>
        <translation>Автозапуск</translation>
    </message>
    <message>
        <source>Load of program at startup</source>
        <translation>Запускать программу при входе в систему</translation>
    </message>
    <message>
        <source>Starts Kestrin when a user logs on to this computer</source>
        <translation>Запускает Kestrin, когда пользователь входит в систему на этом компьютере</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>Error in TfrmOptions.LoadAtStartup</source>
        <translation>Ошибка в TfrmOptions.LoadAtStartup</translation>
    </message>
    <message>
        <source>Error in TfrmOptions.CheckLoadAtStartup</source>
        <translation>Ошибка в TfrmOptions.CheckLoadAtStartup</translation>
    </message>
</context>
</TS>
