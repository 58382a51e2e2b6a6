<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AdapterInfo</name>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>USB ID</source>
        <translation>USB-ID</translation>
    </message>
    <message>
        <source>By id</source>
        <translation>Nach ID</translation>
    </message>
</context>
<context>
    <name>CliText</name>
    <message>
        <source>tavikctl: %1 relay %2 cancelled by %3
</source>
        <translation>tavikctl: %1 von Relais %2 durch %3 abgebrochen
</translation>
    </message>
    <message>
        <source>tavikctl: %1 relay %2 failed with result %3 (%4)
</source>
        <translation>tavikctl: %1 von Relais %2 fehlgeschlagen mit Ergebnis %3 (%4)
</translation>
    </message>
    <message>
        <source>tavikctl: %1: %2
</source>
        <translation>tavikctl: %1: %2
</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>relay %1</source>
        <translation>Relais %1</translation>
    </message>
    <message>
        <source>relays %1</source>
        <translation>den Relais %1</translation>
    </message>
    <message>
        <source> (not programmed, does not count)</source>
        <translation> (nicht programmiert, zählt nicht)</translation>
    </message>
    <message>
        <source>reading</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>file</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>The device holds %1 (%2 checked)</source>
        <translation>Das Gerät enthält %1 (%2 geprüft)</translation>
    </message>
    <message>
        <source>all 16 relays</source>
        <translation>alle 16 Relais</translation>
    </message>
    <message>
        <source>The device differs from %1 in %2</source>
        <translation>Das Gerät weicht von %1 ab bei %2</translation>
    </message>
    <message>
        <source>diff: unknown option &apos;%1&apos;</source>
        <translation>diff: unbekannte Option „%1“</translation>
    </message>
    <message>
        <source>diff takes two files</source>
        <translation>diff erwartet zwei Dateien</translation>
    </message>
    <message>
        <source>The files configure every relay alike</source>
        <translation>Die Dateien konfigurieren alle Relais gleich</translation>
    </message>
    <message>
        <source>The files differ in %1</source>
        <translation>Die Dateien unterscheiden sich bei %1</translation>
    </message>
    <message>
        <source>programming</source>
        <translation>Programmieren</translation>
    </message>
    <message>
        <source>reading back</source>
        <translation>Zurücklesen</translation>
    </message>
    <message>
        <source>Programmed relays: %1</source>
        <translation>Programmierte Relais: %1</translation>
    </message>
    <message>
        <source>Left as they were: %1</source>
        <translation>Unverändert gelassen: %1</translation>
    </message>
    <message>
        <source>The device still differs from %1.</source>
        <translation>Das Gerät weicht weiterhin von %1 ab.</translation>
    </message>
    <message>
        <source>%1: --ports-from: %2 names no port</source>
        <translation>%1: --ports-from: %2 nennt keinen Port</translation>
    </message>
    <message>
        <source>%1: %2 needs a value</source>
        <translation>%1: %2 braucht einen Wert</translation>
    </message>
    <message>
        <source>%1: %2 given twice</source>
        <translation>%1: %2 doppelt angegeben</translation>
    </message>
    <message>
        <source>%1: unknown option &apos;%2&apos;</source>
        <translation>%1: unbekannte Option „%2“</translation>
    </message>
    <message>
        <source>%1: give --port or --simulate, not both</source>
        <translation>%1: --port oder --simulate angeben, nicht beides</translation>
    </message>
    <message>
        <source>%1: --port %2 given twice</source>
        <translation>%1: --port %2 doppelt angegeben</translation>
    </message>
    <message>
        <source>%1: --relay takes a relay number from 1 to 16</source>
        <translation>%1: --relay erwartet eine Relaisnummer von 1 bis 16</translation>
    </message>
    <message>
        <source>%1 needs -i FILE</source>
        <translation>%1 braucht -i FILE</translation>
    </message>
    <message>
        <source>%1: unexpected argument &apos;%2&apos;</source>
        <translation>%1: unerwartetes Argument „%2“</translation>
    </message>
    <message>
        <source>tavikctl: the simulated device cannot start: %1</source>
        <translation>tavikctl: das simulierte Gerät kann nicht starten: %1</translation>
    </message>
    <message>
        <source>%1: --port given twice</source>
        <translation>%1: --port doppelt angegeben</translation>
    </message>
    <message>
        <source>%1 needs --port PORT or --simulate</source>
        <translation>%1 braucht --port PORT oder --simulate</translation>
    </message>
    <message>
        <source>%1: -o with several ports needs {port} in FILE, such as -o &apos;site-{port}.csv&apos;</source>
        <translation>%1: -o mit mehreren Ports braucht {port} in FILE, etwa -o &apos;site-{port}.csv&apos;</translation>
    </message>
    <message>
        <source>%1: -o %2 names the same file for two ports</source>
        <translation>%1: -o %2 ergibt für zwei Ports dieselbe Datei</translation>
    </message>
    <message>
        <source>the port could not be opened</source>
        <translation>der Port konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>a character could not be sent</source>
        <translation>ein Zeichen konnte nicht gesendet werden</translation>
    </message>
    <message>
        <source>Tavik did not answer in time</source>
        <translation>Tavik hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>the line is flooded</source>
        <translation>die Leitung ist überflutet</translation>
    </message>
    <message>
        <source>waiting for Tavik failed</source>
        <translation>das Warten auf Tavik ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>the relay number could not be sent</source>
        <translation>die Relaisnummer konnte nicht gesendet werden</translation>
    </message>
    <message>
        <source>Tavik kept answering unexpectedly</source>
        <translation>Tavik antwortete wiederholt unerwartet</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>unknown failure</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message>
        <source>read: -o writes all 16 relays; leave out --relay</source>
        <translation>read: -o schreibt alle 16 Relais; --relay weglassen</translation>
    </message>
    <message>
        <source>Relay %1: input latched
</source>
        <translation>Relais %1: Eingang gesetzt
</translation>
    </message>
    <message>
        <source>Relay %1: input pulsed
</source>
        <translation>Relais %1: Eingang getastet
</translation>
    </message>
    <message>
        <source>Relay %1: PC control on
</source>
        <translation>Relais %1: PC-Steuerung ein
</translation>
    </message>
    <message>
        <source>Relay %1: PC control off
</source>
        <translation>Relais %1: PC-Steuerung aus
</translation>
    </message>
    <message>
        <source>Relay %1: PC control already on
</source>
        <translation>Relais %1: PC-Steuerung bereits ein
</translation>
    </message>
    <message>
        <source>Relay %1: PC control already off
</source>
        <translation>Relais %1: PC-Steuerung bereits aus
</translation>
    </message>
    <message>
        <source>tavikctl: relay %1 is not under PC control; nothing was sent (try &apos;tavikctl pc-control on --relay %1&apos;)
</source>
        <translation>tavikctl: Relais %1 steht nicht unter PC-Steuerung; nichts wurde gesendet (versuchen Sie &apos;tavikctl pc-control on --relay %1&apos;)
</translation>
    </message>
    <message>
        <source>tavikctl: %1 for relay %2 failed
</source>
        <translation>tavikctl: %1 für Relais %2 fehlgeschlagen
</translation>
    </message>
    <message>
        <source>pc-control takes &apos;on&apos; or &apos;off&apos;</source>
        <translation>pc-control erwartet &apos;on&apos; oder &apos;off&apos;</translation>
    </message>
    <message>
        <source>%1 needs --relay N</source>
        <translation>%1 braucht --relay N</translation>
    </message>
    <message>
        <source>--port: no adapter has the serial number &apos;%1&apos;</source>
        <translation>--port: kein Adapter hat die Seriennummer „%1“</translation>
    </message>
    <message>
        <source>--port: no port number and no such device &apos;%1&apos;</source>
        <translation>--port: keine Portnummer und kein Gerät „%1“</translation>
    </message>
    <message>
        <source>a serial server, not checked here</source>
        <translation>ein serieller Server, hier nicht geprüft</translation>
    </message>
    <message>
        <source>opens</source>
        <translation>lässt sich öffnen</translation>
    </message>
    <message>
        <source>doctor: unexpected argument &apos;%1&apos;</source>
        <translation>doctor: unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>doctor: --port needs a value</source>
        <translation>doctor: --port braucht einen Wert</translation>
    </message>
    <message>
        <source>No serial port found: is the adapter plugged in?</source>
        <translation>Kein serieller Port gefunden: Ist der Adapter eingesteckt?</translation>
    </message>
    <message>
        <source>%1 of %2 ports cannot be opened.</source>
        <translation>%1 von %2 Ports lassen sich nicht öffnen.</translation>
    </message>
    <message>
        <source>Nothing stands in the way.</source>
        <translation>Nichts steht im Weg.</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>, column %1</source>
        <translation>, Spalte %1</translation>
    </message>
    <message>
        <source> (end of line)</source>
        <translation> (Zeilenende)</translation>
    </message>
    <message>
        <source> (&apos;%1&apos;)</source>
        <translation> („%1“)</translation>
    </message>
    <message>
        <source>show: unknown option &apos;%1&apos;</source>
        <translation>show: unbekannte Option „%1“</translation>
    </message>
    <message>
        <source>show takes exactly one FILE</source>
        <translation>show erwartet genau eine FILE</translation>
    </message>
    <message>
        <source>new: -o needs a FILE</source>
        <translation>new: -o braucht eine FILE</translation>
    </message>
    <message>
        <source>new: -o given twice</source>
        <translation>new: -o doppelt angegeben</translation>
    </message>
    <message>
        <source>new: unknown option &apos;%1&apos;</source>
        <translation>new: unbekannte Option „%1“</translation>
    </message>
    <message>
        <source>new: unexpected argument &apos;%1&apos;</source>
        <translation>new: unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>new needs -o FILE</source>
        <translation>new braucht -o FILE</translation>
    </message>
    <message>
        <source>Try &apos;tavikctl --help&apos;.</source>
        <translation>Siehe &apos;tavikctl --help&apos;.</translation>
    </message>
    <message>
        <source>Usage: tavikctl COMMAND [OPTIONS]</source>
        <translation>Aufruf: tavikctl BEFEHL [OPTIONEN]</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>Befehle:</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>unbekannter Befehl „%1“</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Relay %1: %2</source>
        <translation>Relais %1: %2</translation>
    </message>
    <message>
        <source>unlatch %1</source>
        <translation>Rücksetzen %1</translation>
    </message>
    <message>
        <source>time %1</source>
        <translation>Zeit %1</translation>
    </message>
    <message>
        <source>PC control %1</source>
        <translation>PC-Steuerung %1</translation>
    </message>
    <message>
        <source>Relay %1
</source>
        <translation>Relais %1
</translation>
    </message>
    <message>
        <source>Mode: %1
</source>
        <translation>Modus: %1
</translation>
    </message>
    <message>
        <source>Gate: %1
</source>
        <translation>Verknüpfung: %1
</translation>
    </message>
    <message>
        <source>Unlatch gate: %1
</source>
        <translation>Rücksetz-Verknüpfung: %1
</translation>
    </message>
    <message>
        <source>Closure time: %1
</source>
        <translation>Schließzeit: %1
</translation>
    </message>
    <message>
        <source>Contact: %1
</source>
        <translation>Kontakt: %1
</translation>
    </message>
    <message>
        <source>PC control: %1
</source>
        <translation>PC-Steuerung: %1
</translation>
    </message>
    <message>
        <source>%1 of %2...
</source>
        <translation>%1 von %2 ...
</translation>
    </message>
    <message>
        <source>doctor: there is no port %1</source>
        <translation>doctor: es gibt keinen Port %1</translation>
    </message>
    <message>
        <source>the line never fell quiet; the port may belong to another device</source>
        <translation>die Leitung wurde nie ruhig; der Port gehört vielleicht zu einem anderen Gerät</translation>
    </message>
    <message>
        <source>%1: --ports-from: cannot read %2: %3</source>
        <translation>%1: --ports-from: %2 kann nicht gelesen werden: %3</translation>
    </message>
    <message>
        <source>%1: --ports-from: line %2 of %3 is longer than %4 bytes: %5</source>
        <translation>%1: --ports-from: Zeile %2 von %3 ist länger als %4 Bytes: %5</translation>
    </message>
    <message>
        <source>%1: --ports-from: %2 is larger than %3 bytes</source>
        <translation>%1: --ports-from: %2 ist größer als %3 Bytes</translation>
    </message>
    <message>
        <source>a value is out of the range the device takes; nothing was sent</source>
        <translation>ein Wert liegt außerhalb des Bereichs, den das Gerät annimmt; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>print a configuration file&apos;s relays in words</source>
        <translation>die Relais einer Konfigurationsdatei in Worten ausgeben</translation>
    </message>
    <message>
        <source>--json	the relays as the JSON document read --json prints</source>
        <translation>--json	die Relais als das JSON-Dokument, das read --json ausgibt</translation>
    </message>
    <message>
        <source>write a configuration of 16 cleared relays</source>
        <translation>eine Konfiguration aus 16 gelöschten Relais schreiben</translation>
    </message>
    <message>
        <source>-o FILE	the file to write (.json: as JSON)</source>
        <translation>-o DATEI	die zu schreibende Datei (.json: als JSON)</translation>
    </message>
    <message>
        <source>change one relay of a configuration file in place</source>
        <translation>ein Relais einer Konfigurationsdatei an Ort und Stelle ändern</translation>
    </message>
    <message>
        <source>--relay N	the relay to change, 1 to 16
--mode NAME	Momentary, Toggle, Leading-Edge, Trailing-Edge, Either-Edge, Pulse-Stretch, Min-Time, Max-Time, Debounce or Latching, in any case
--gate NAME	OR, AND, XOR, IL, NOR, NAND, NXOR or NIL, in any case
--inputs LIST	input numbers 1 to 12, such as 1,3,12, or none
--unlatch-gate NAME	the gate that unlatches a Latching relay
--unlatch-inputs LIST	the inputs that unlatch a Latching relay
--time H:MM:SS.hh	the closure time, up to 45:59:59.99
--pc-control on|off	whether the relay starts under PC control</source>
        <translation>--relay N	das zu ändernde Relais, 1 bis 16
--mode NAME	Momentary, Toggle, Leading-Edge, Trailing-Edge, Either-Edge, Pulse-Stretch, Min-Time, Max-Time, Debounce oder Latching, in beliebiger Schreibung
--gate NAME	OR, AND, XOR, IL, NOR, NAND, NXOR oder NIL, in beliebiger Schreibung
--inputs LISTE	Eingangsnummern 1 bis 12, etwa 1,3,12, oder none
--unlatch-gate NAME	das Gatter, das ein Latching-Relais entriegelt
--unlatch-inputs LISTE	die Eingänge, die ein Latching-Relais entriegeln
--time H:MM:SS.hh	die Schließzeit, bis 45:59:59.99
--pc-control on|off	ob das Relais unter PC-Steuerung beginnt</translation>
    </message>
    <message>
        <source>list the serial ports</source>
        <translation>die seriellen Anschlüsse auflisten</translation>
    </message>
    <message>
        <source>--long	each port&apos;s adapter: description, serial number, USB IDs, by-id link
--json	an array of ports on stdout</source>
        <translation>--long	der Adapter jedes Anschlusses: Beschreibung, Seriennummer, USB-IDs, by-id-Verweis
--json	ein Feld von Anschlüssen auf stdout</translation>
    </message>
    <message>
        <source>check what stands between you and the ports</source>
        <translation>prüfen, was zwischen Ihnen und den Anschlüssen steht</translation>
    </message>
    <message>
        <source>--port PORT	check this port only</source>
        <translation>--port ANSCHLUSS	nur diesen Anschluss prüfen</translation>
    </message>
    <message>
        <source>nothing stands in the way</source>
        <translation>nichts steht im Weg</translation>
    </message>
    <message>
        <source>a port cannot be opened, or there is none</source>
        <translation>ein Anschluss lässt sich nicht öffnen, oder es gibt keinen</translation>
    </message>
    <message>
        <source>read relays from the device</source>
        <translation>Relais aus dem Gerät lesen</translation>
    </message>
    <message>
        <source>--relay N	read relay N only
-o FILE	save all 16 to FILE (.json: as JSON; several ports: FILE with {port})
--json	one JSON document on stdout</source>
        <translation>--relay N	nur Relais N lesen
-o DATEI	alle 16 in DATEI speichern (.json: als JSON; mehrere Anschlüsse: DATEI mit {port})
--json	ein JSON-Dokument auf stdout</translation>
    </message>
    <message>
        <source>program relays from a configuration file</source>
        <translation>Relais aus einer Konfigurationsdatei programmieren</translation>
    </message>
    <message>
        <source>-i FILE	the configuration to program (.json: as JSON)
--relay N	program relay N only
--changed	only the relays the device holds otherwise, then read back
--json	one JSON document on stdout</source>
        <translation>-i DATEI	die zu programmierende Konfiguration (.json: als JSON)
--relay N	nur Relais N programmieren
--changed	nur die Relais, die das Gerät anders hält, danach zurückgelesen
--json	ein JSON-Dokument auf stdout</translation>
    </message>
    <message>
        <source>--changed: the device still differs</source>
        <translation>--changed: das Gerät weicht noch ab</translation>
    </message>
    <message>
        <source>check that the device holds a configuration file</source>
        <translation>prüfen, ob das Gerät eine Konfigurationsdatei hält</translation>
    </message>
    <message>
        <source>-i FILE	the configuration to check against
--relay N	check relay N only
--all	also list the fields that are never programmed (PC control, contact)
--json	one JSON document on stdout</source>
        <translation>-i DATEI	die Konfiguration, gegen die geprüft wird
--relay N	nur Relais N prüfen
--all	auch die nie programmierten Felder auflisten (PC-Steuerung, Kontakt)
--json	ein JSON-Dokument auf stdout</translation>
    </message>
    <message>
        <source>compare two configuration files</source>
        <translation>zwei Konfigurationsdateien vergleichen</translation>
    </message>
    <message>
        <source>--all	also list the fields that are never programmed
--json	one JSON document on stdout</source>
        <translation>--all	auch die nie programmierten Felder auflisten
--json	ein JSON-Dokument auf stdout</translation>
    </message>
    <message>
        <source>write a configuration&apos;s commissioning record</source>
        <translation>das Inbetriebnahmeprotokoll einer Konfiguration schreiben</translation>
    </message>
    <message>
        <source>-i FILE	the configuration
-o RECORD	the record, as PDF or HTML by its name
--title TEXT	the title on the record
--page a4|letter	the paper size (default: the locale&apos;s)</source>
        <translation>-i DATEI	die Konfiguration
-o PROTOKOLL	das Protokoll, als PDF oder HTML nach seinem Namen
--title TEXT	der Titel auf dem Protokoll
--page a4|letter	das Papierformat (Vorgabe: das des Gebietsschemas)</translation>
    </message>
    <message>
        <source>put a relay under PC control, or release it</source>
        <translation>ein Relais unter PC-Steuerung stellen oder freigeben</translation>
    </message>
    <message>
        <source>--relay N	the relay</source>
        <translation>--relay N	das Relais</translation>
    </message>
    <message>
        <source>latch a PC-controlled relay&apos;s input</source>
        <translation>den Eingang eines PC-gesteuerten Relais verriegeln</translation>
    </message>
    <message>
        <source>pulse a PC-controlled relay&apos;s input</source>
        <translation>den Eingang eines PC-gesteuerten Relais tasten</translation>
    </message>
    <message>
        <source>show this help, or a command&apos;s</source>
        <translation>diese Hilfe zeigen, oder die eines Befehls</translation>
    </message>
    <message>
        <source>done</source>
        <translation>erledigt</translation>
    </message>
    <message>
        <source>a device failed</source>
        <translation>ein Gerät ist gescheitert</translation>
    </message>
    <message>
        <source>usage: an unknown command, option or value</source>
        <translation>Aufruf: ein unbekannter Befehl, eine unbekannte Option oder ein unbekannter Wert</translation>
    </message>
    <message>
        <source>a configuration file is missing, unreadable or malformed</source>
        <translation>eine Konfigurationsdatei fehlt, ist unlesbar oder fehlerhaft</translation>
    </message>
    <message>
        <source>the configurations differ</source>
        <translation>die Konfigurationen weichen ab</translation>
    </message>
    <message>
        <source>the output was not written</source>
        <translation>die Ausgabe wurde nicht geschrieben</translation>
    </message>
    <message>
        <source>cancelled by SIGINT (130) or SIGTERM (143)</source>
        <translation>abgebrochen durch SIGINT (130) oder SIGTERM (143)</translation>
    </message>
    <message>
        <source>a port number, ComN, serial:SERIAL, a device path, or a serial server&apos;s tcp://HOST:PORT or rfc2217://HOST:PORT; again for more devices, each line then begins with its port</source>
        <translation>eine Anschlussnummer, ComN, serial:SERIENNUMMER, ein Gerätepfad, oder tcp://HOST:PORT oder rfc2217://HOST:PORT eines seriellen Servers; mehrfach für mehrere Geräte, jede Zeile beginnt dann mit ihrem Anschluss</translation>
    </message>
    <message>
        <source>the ports FILE names, one a line, # for comments</source>
        <translation>die Anschlüsse, die DATEI nennt, einer je Zeile, # für Kommentare</translation>
    </message>
    <message>
        <source>the built-in simulated device</source>
        <translation>das eingebaute simulierte Gerät</translation>
    </message>
    <message>
        <source>this help; COMMAND --help, or help COMMAND, a command&apos;s own</source>
        <translation>diese Hilfe; BEFEHL --help oder help BEFEHL die eines Befehls</translation>
    </message>
    <message>
        <source>the version</source>
        <translation>die Version</translation>
    </message>
    <message>
        <source>Configures the Tavik relay expander from the command line. DEVICE below is --port PORT, --ports-from FILE or --simulate.</source>
        <translation>Konfiguriert den Tavik-Relaisexpander von der Kommandozeile. GERÄT unten ist --port ANSCHLUSS, --ports-from DATEI oder --simulate.</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>Usage:</source>
        <translation>Aufruf:</translation>
    </message>
    <message>
        <source>--port PORT (again for more), --ports-from FILE or --simulate; see tavikctl --help</source>
        <translation>--port ANSCHLUSS (mehrfach für mehrere), --ports-from DATEI oder --simulate; siehe tavikctl --help</translation>
    </message>
    <message>
        <source>Example:</source>
        <translation>Beispiel:</translation>
    </message>
    <message>
        <source>Exit codes:</source>
        <translation>Rückgabewerte:</translation>
    </message>
    <message>
        <source>the file is larger than a configuration can be</source>
        <translation>die Datei ist größer, als eine Konfiguration sein kann</translation>
    </message>
    <message>
        <source>Incorrect file format</source>
        <translation>Falsches Dateiformat</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;; did you mean &apos;%2&apos;?</source>
        <translation>unbekannter Befehl „%1“; meinten Sie „%2“?</translation>
    </message>
    <message>
        <source>input numbers 1 to 12 such as 1,3,12, or none</source>
        <translation>Eingangsnummern 1 bis 12 wie 1,3,12, oder none</translation>
    </message>
    <message>
        <source>H:MM:SS.hh up to 45:59:59.99, such as 0:00:02.50</source>
        <translation>H:MM:SS.hh bis 45:59:59.99, etwa 0:00:02.50</translation>
    </message>
    <message>
        <source>set takes one FILE; &apos;%1&apos; is a second</source>
        <translation>set nimmt eine DATEI; „%1“ ist eine zweite</translation>
    </message>
    <message>
        <source>set: unknown option &apos;%1&apos;</source>
        <translation>set: unbekannte Option „%1“</translation>
    </message>
    <message>
        <source>set: %1 needs a value</source>
        <translation>set: %1 braucht einen Wert</translation>
    </message>
    <message>
        <source>set: --relay takes 1 to 16, not &apos;%1&apos;</source>
        <translation>set: --relay nimmt 1 bis 16, nicht „%1“</translation>
    </message>
    <message>
        <source>set: %1 given twice</source>
        <translation>set: %1 zweimal angegeben</translation>
    </message>
    <message>
        <source>set needs FILE and --relay N</source>
        <translation>set braucht DATEI und --relay N</translation>
    </message>
    <message>
        <source>set: nothing to change; give --mode, --gate, --inputs, --unlatch-gate, --unlatch-inputs, --time or --pc-control</source>
        <translation>set: nichts zu ändern; geben Sie --mode, --gate, --inputs, --unlatch-gate, --unlatch-inputs, --time oder --pc-control an</translation>
    </message>
    <message>
        <source>set: %1 takes %2, not &apos;%3&apos;</source>
        <translation>set: %1 nimmt %2, nicht „%3“</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>the line went away</source>
        <translation>die Leitung ist weg</translation>
    </message>
    <message>
        <source>Checking relay %1</source>
        <translation>Prüfe Relais %1</translation>
    </message>
    <message>
        <source>Read relay %1 on %2 in %3 s</source>
        <translation>Relais %1 an %2 in %3 s gelesen</translation>
    </message>
    <message>
        <source>Read 16 relays on %1 in %2 s</source>
        <translation>16 Relais an %1 in %2 s gelesen</translation>
    </message>
    <message>
        <source>Programmed relay %1 on %2 in %3 s</source>
        <translation>Relais %1 an %2 in %3 s programmiert</translation>
    </message>
    <message>
        <source>Programmed 16 relays on %1 in %2 s</source>
        <translation>16 Relais an %1 in %2 s programmiert</translation>
    </message>
    <message>
        <source>the simulated device</source>
        <translation>dem simulierten Gerät</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>%1 ports: %2 of %3 relays</source>
        <translation>%1 Anschlüsse: %2 von %3 Relais</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>ClosureTimeDialog</name>
    <message>
        <source>Closure Time</source>
        <translation>Schließzeit</translation>
    </message>
    <message>
        <source>&amp;Hours</source>
        <translation>&amp;Stunden</translation>
    </message>
    <message>
        <source>&amp;Minutes</source>
        <translation>&amp;Minuten</translation>
    </message>
    <message>
        <source>&amp;Seconds</source>
        <translation>S&amp;ekunden</translation>
    </message>
</context>
<context>
    <name>ClosureTimeEntry</name>
    <message>
        <source>Closure Time:</source>
        <translation>Schließzeit:</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>Hrs</source>
        <translation>Std</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Mins</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Secs</source>
        <translation>Sek</translation>
    </message>
    <message>
        <source>Closure time, hours</source>
        <translation>Schließzeit, Stunden</translation>
    </message>
    <message>
        <source>Closure time, hours, typed</source>
        <translation>Schließzeit, Stunden, eingegeben</translation>
    </message>
    <message>
        <source>Closure time, minutes</source>
        <translation>Schließzeit, Minuten</translation>
    </message>
    <message>
        <source>Closure time, minutes, typed</source>
        <translation>Schließzeit, Minuten, eingegeben</translation>
    </message>
    <message>
        <source>Closure time, seconds</source>
        <translation>Schließzeit, Sekunden</translation>
    </message>
    <message>
        <source>Closure time, seconds, typed</source>
        <translation>Schließzeit, Sekunden, eingegeben</translation>
    </message>
</context>
<context>
    <name>CommissioningRecord</name>
    <message>
        <source>Commissioning record</source>
        <translation>Inbetriebnahmeprotokoll</translation>
    </message>
    <message>
        <source>Relay %1</source>
        <translation>Relais %1</translation>
    </message>
    <message>
        <source>Relay mode:</source>
        <translation>Relaismodus:</translation>
    </message>
    <message>
        <source>Input mode:</source>
        <translation>Eingangsmodus:</translation>
    </message>
    <message>
        <source>Input map:</source>
        <translation>Eingangszuordnung:</translation>
    </message>
    <message>
        <source>Unlatch mode:</source>
        <translation>Rücksetzmodus:</translation>
    </message>
    <message>
        <source>Unlatch map:</source>
        <translation>Rücksetzzuordnung:</translation>
    </message>
    <message>
        <source>Closure time:</source>
        <translation>Schließzeit:</translation>
    </message>
    <message>
        <source>Latching inputs</source>
        <translation>Setzeingänge</translation>
    </message>
    <message>
        <source>Unlatching inputs</source>
        <translation>Rücksetzeingänge</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Datei:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Program:</source>
        <translation>Programm:</translation>
    </message>
    <message>
        <source>the record could not be laid out</source>
        <translation>das Protokoll konnte nicht gesetzt werden</translation>
    </message>
</context>
<context>
    <name>CompareCommands</name>
    <message>
        <source>1 field that is not programmed (PC control, contact) differs; --all lists it.</source>
        <translation>1 nicht programmiertes Feld (PC-Steuerung, Kontakt) weicht ab; --all listet es auf.</translation>
    </message>
    <message>
        <source>%1 fields that are not programmed (PC control, contact) differ; --all lists them.</source>
        <translation>%1 nicht programmierte Felder (PC-Steuerung, Kontakt) weichen ab; --all listet sie auf.</translation>
    </message>
</context>
<context>
    <name>ComparisonDialog</name>
    <message>
        <source>Compare with Device</source>
        <translation>Mit Gerät vergleichen</translation>
    </message>
    <message>
        <source>Tavik holds what the window shows.</source>
        <translation>Tavik enthält, was das Fenster zeigt.</translation>
    </message>
    <message>
        <source>Tavik differs from the window in relay %1.</source>
        <translation>Tavik weicht bei Relais %1 vom Fenster ab.</translation>
    </message>
    <message>
        <source>Tavik differs from the window in relays %1.</source>
        <translation>Tavik weicht bei den Relais %1 vom Fenster ab.</translation>
    </message>
    <message>
        <source>Relay</source>
        <translation>Relais</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>1 field that is not programmed (PC control, contact) differs.</source>
        <translation>1 nicht programmiertes Feld (PC-Steuerung, Kontakt) weicht ab.</translation>
    </message>
    <message>
        <source>%1 fields that are not programmed (PC control, contact) differ.</source>
        <translation>%1 nicht programmierte Felder (PC-Steuerung, Kontakt) weichen ab.</translation>
    </message>
    <message>
        <source>Program the 1 differing relay</source>
        <translation>Das 1 abweichende Relais programmieren</translation>
    </message>
    <message>
        <source>Program the %1 differing relays</source>
        <translation>Die %1 abweichenden Relais programmieren</translation>
    </message>
    <message>
        <source>Program relay %1 with the window&apos;s settings?</source>
        <translation>Relais %1 mit den Einstellungen des Fensters programmieren?</translation>
    </message>
    <message>
        <source>Program relays %1 with the window&apos;s settings?</source>
        <translation>Die Relais %1 mit den Einstellungen des Fensters programmieren?</translation>
    </message>
</context>
<context>
    <name>DeviceCommands</name>
    <message>
        <source>Reading relay %1</source>
        <translation>Lese Relais %1</translation>
    </message>
    <message>
        <source>Programming relay %1</source>
        <translation>Programmiere Relais %1</translation>
    </message>
    <message>
        <source>Cancelled before relay 1 of 16</source>
        <translation>Abgebrochen vor Relais 1 von 16</translation>
    </message>
    <message>
        <source>Cancelled after relay %1 of 16</source>
        <translation>Abgebrochen nach Relais %1 von 16</translation>
    </message>
    <message>
        <source>Finished reading all</source>
        <translation>Alle gelesen</translation>
    </message>
    <message>
        <source>Finished programming all</source>
        <translation>Alle programmiert</translation>
    </message>
</context>
<context>
    <name>DeviceDialogues</name>
    <message>
        <source>Tavik keeps answering unexpectedly; gave up after 8 retries.</source>
        <translation>Tavik antwortet wiederholt unerwartet; nach 8 Versuchen aufgegeben.</translation>
    </message>
    <message>
        <source>The connection to Tavik was lost. Please check the cable and the COM port.</source>
        <translation>Die Verbindung zu Tavik ist abgebrochen. Bitte Kabel und COM-Port prüfen.</translation>
    </message>
    <message>
        <source>Could not communicate with Tavik: %1. Please check the address and the serial server.</source>
        <translation>Keine Verbindung zu Tavik: %1. Bitte Adresse und seriellen Server prüfen.</translation>
    </message>
    <message>
        <source>Relay programmed</source>
        <translation>Relais programmiert</translation>
    </message>
    <message>
        <source>Relay read</source>
        <translation>Relais gelesen</translation>
    </message>
    <message>
        <source>The line never fell quiet: characters kept coming that Tavik was not asked for. The port may belong to another device; please check the COM port.</source>
        <translation>Die Leitung wurde nie ruhig: Es kamen immer weiter Zeichen, nach denen Tavik nicht gefragt wurde. Der Port gehört vielleicht zu einem anderen Gerät; bitte den COM-Port prüfen.</translation>
    </message>
    <message>
        <source>%1; the relay was not programmed.</source>
        <translation>%1; das Relais wurde nicht programmiert.</translation>
    </message>
</context>
<context>
    <name>DevicePort</name>
    <message>
        <source>There is no port Com%1: choose one the port list offers.</source>
        <translation>Es gibt keinen Port Com%1: Wählen Sie einen aus der Portliste.</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2.</source>
        <translation>%1 lässt sich nicht öffnen: %2.</translation>
    </message>
</context>
<context>
    <name>ErrorLog</name>
    <message>
        <source>&apos;ErrorLog.txt&apos; is too large, indicating there&apos;s something wrong with the software and/or its components.<byte value="xd"/>
<byte value="xd"/>
Please email the contents of &apos;ErrorLog.txt&apos; shown in the Notepad window to %1&apos;s support team.</source>
        <translation>&apos;ErrorLog.txt&apos; ist zu groß; mit der Software oder ihren Komponenten stimmt etwas nicht.<byte value="xd"/>
<byte value="xd"/>
Bitte senden Sie den Inhalt von &apos;ErrorLog.txt&apos;, der im Editor-Fenster angezeigt wird, per E-Mail an das Support-Team von %1.</translation>
    </message>
</context>
<context>
    <name>FileChoice</name>
    <message>
        <source>Tavik Config files (*.csv) (*.csv)</source>
        <translation>Tavik-Konfigurationsdateien (*.csv) (*.csv)</translation>
    </message>
    <message>
        <source>All files (*.*) (*)</source>
        <translation>Alle Dateien (*.*) (*)</translation>
    </message>
    <message>
        <source>PDF files (*.pdf) (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf) (*.pdf)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Tavik is busy with another command; wait for it to end or cancel it.</source>
        <translation>Tavik ist mit einem anderen Befehl beschäftigt; warten Sie, bis er endet, oder brechen Sie ihn ab.</translation>
    </message>
    <message>
        <source>Tavik Config</source>
        <translation>Tavik-Konfiguration</translation>
    </message>
    <message>
        <source>The clipboard holds no relay settings to paste.</source>
        <translation>Die Zwischenablage enthält keine Relaiseinstellungen zum Einfügen.</translation>
    </message>
    <message>
        <source>Commissioning record</source>
        <translation>Inbetriebnahmeprotokoll</translation>
    </message>
    <message>
        <source>The record could not be printed.</source>
        <translation>Das Protokoll konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>The record is written to %1.</source>
        <translation>Das Protokoll ist in %1 geschrieben.</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>&lt;h3&gt;%1&lt;/h3&gt;&lt;p&gt;Version %2&lt;/p&gt;&lt;p&gt;%3&lt;/p&gt;&lt;p&gt;The Tavik developers keep every right to this program; it is given to the owners of Tavik relay expanders to use with their devices.&lt;/p&gt;&lt;p&gt;Built with Qt %4, running on Qt %5.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;%1&lt;/h3&gt;&lt;p&gt;Version %2&lt;/p&gt;&lt;p&gt;%3&lt;/p&gt;&lt;p&gt;Die Tavik-Entwickler behalten alle Rechte an diesem Programm; es wird den Besitzern von Tavik-Relaiserweiterungen zur Nutzung mit ihren Geräten überlassen.&lt;/p&gt;&lt;p&gt;Erstellt mit Qt %4, läuft mit Qt %5.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Serial port %1</source>
        <translation>Serieller Port %1</translation>
    </message>
    <message>
        <source>USB serial adapter %1</source>
        <translation>USB-Seriell-Adapter %1</translation>
    </message>
    <message>
        <source>USB serial adapter %1 (%2)</source>
        <translation>USB-Seriell-Adapter %1 (%2)</translation>
    </message>
    <message>
        <source>%1 on Com%2 pulled out</source>
        <translation>%1 an Com%2 abgezogen</translation>
    </message>
    <message>
        <source>%1 plugged in as Com%2</source>
        <translation>%1 als Com%2 eingesteckt</translation>
    </message>
</context>
<context>
    <name>MainWindowUi</name>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>Rescan available ports</source>
        <translation>Verfügbare Ports neu suchen</translation>
    </message>
    <message>
        <source>Read/Program</source>
        <translation>Lesen/Programmieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stop after the relay in progress, leaving Tavik at its menu (Esc)</source>
        <translation>Nach dem laufenden Relais anhalten und Tavik in seinem Menü lassen (Esc)</translation>
    </message>
    <message>
        <source>Waiting for command...</source>
        <translation>Warte auf Befehl ...</translation>
    </message>
    <message>
        <source>Relay %1</source>
        <translation>Relais %1</translation>
    </message>
    <message>
        <source>Input %1</source>
        <translation>Eingang %1</translation>
    </message>
    <message>
        <source>Tavik Configuration Manager</source>
        <translation>Tavik Configuration Manager</translation>
    </message>
    <message>
        <source>Wiring</source>
        <translation>Verdrahtung</translation>
    </message>
    <message>
        <source>Wires from the inputs through the input mode&apos;s gate to the relay</source>
        <translation>Leitungen von den Eingängen über das Gatter des Eingangsmodus zum Relais</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>What the last command did</source>
        <translation>Was der letzte Befehl getan hat</translation>
    </message>
    <message>
        <source>The relay follows the PC&apos;s commands instead of its inputs</source>
        <translation>Das Relais folgt den Befehlen des PCs statt seinen Eingängen</translation>
    </message>
    <message>
        <source>Closes the relay shown for a moment</source>
        <translation>Schließt das angezeigte Relais für einen Moment</translation>
    </message>
    <message>
        <source>Latches the relay shown</source>
        <translation>Setzt das angezeigte Relais</translation>
    </message>
    <message>
        <source>The pictures show the inputs that latch the relay</source>
        <translation>Die Bilder zeigen die Eingänge, die das Relais setzen</translation>
    </message>
    <message>
        <source>The pictures show the inputs that unlatch the relay</source>
        <translation>Die Bilder zeigen die Eingänge, die das Relais zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;COM Port:</source>
        <translation>&amp;COM-Port:</translation>
    </message>
    <message>
        <source>Relay &amp;Number:</source>
        <translation>Relais&amp;nummer:</translation>
    </message>
    <message>
        <source>Relay &amp;Mode:</source>
        <translation>Relais&amp;modus:</translation>
    </message>
    <message>
        <source>&amp;Input Mode:</source>
        <translation>&amp;Eingangsmodus:</translation>
    </message>
    <message>
        <source>PC-Con&amp;trol</source>
        <translation>PC-Betr&amp;ieb</translation>
    </message>
    <message>
        <source>M&amp;omentary Input</source>
        <translation>Eingang &amp;tasten</translation>
    </message>
    <message>
        <source>&amp;Latch Input</source>
        <translation>Eingang &amp;setzen</translation>
    </message>
    <message>
        <source>Latching Inp&amp;ut</source>
        <translation>Set&amp;zeingang</translation>
    </message>
    <message>
        <source>Unlatchin&amp;g Input</source>
        <translation>Rüc&amp;ksetzeingang</translation>
    </message>
    <message>
        <source>&amp;Status:</source>
        <translation>Stat&amp;us:</translation>
    </message>
    <message>
        <source>Rea&amp;d Relay</source>
        <translation>Relais &amp;lesen</translation>
    </message>
    <message>
        <source>Program &amp;Relay</source>
        <translation>Relais pro&amp;gr.</translation>
    </message>
    <message>
        <source>Read &amp;All</source>
        <translation>&amp;Alle lesen</translation>
    </message>
    <message>
        <source>&amp;Program All</source>
        <translation>Alle p&amp;rogr.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen ...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter ...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken ...</translation>
    </message>
    <message>
        <source>&amp;Export PDF...</source>
        <translation>Als &amp;PDF exportieren ...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Relay Mode</source>
        <translation>&amp;Relaismodus</translation>
    </message>
    <message>
        <source>&amp;Input Mode</source>
        <translation>&amp;Eingangsmodus</translation>
    </message>
    <message>
        <source>Input &amp;Map</source>
        <translation>Eingangs&amp;zuordnung</translation>
    </message>
    <message>
        <source>Closure &amp;Time</source>
        <translation>&amp;Schließzeit</translation>
    </message>
    <message>
        <source>Relay &amp;Configuration</source>
        <translation>Relais&amp;konfiguration</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>C&amp;hange Relay</source>
        <translation>Relais ä&amp;ndern</translation>
    </message>
    <message>
        <source>&amp;Number</source>
        <translation>&amp;Nummer</translation>
    </message>
    <message>
        <source>M&amp;ode</source>
        <translation>&amp;Modus</translation>
    </message>
    <message>
        <source>&amp;Closure Time...</source>
        <translation>&amp;Schließzeit ...</translation>
    </message>
    <message>
        <source>R&amp;ead</source>
        <translation>&amp;Lesen</translation>
    </message>
    <message>
        <source>&amp;Relay</source>
        <translation>&amp;Relais</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alle</translation>
    </message>
    <message>
        <source>Pr&amp;ogram</source>
        <translation>&amp;Programmieren</translation>
    </message>
    <message>
        <source>Co&amp;mpare with Device</source>
        <translation>Mit Gerät &amp;vergleichen</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>Lös&amp;chen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Über ...</translation>
    </message>
</context>
<context>
    <name>PictureLabel</name>
    <message>
        <source>Input %1</source>
        <translation>Eingang %1</translation>
    </message>
    <message>
        <source>Relay %1</source>
        <translation>Relais %1</translation>
    </message>
</context>
<context>
    <name>PortAccess</name>
    <message>
        <source>%1 (process %2)</source>
        <translation>%1 (Prozess %2)</translation>
    </message>
    <message>
        <source>Permission denied on %1: </source>
        <translation>Zugriff auf %1 verweigert: </translation>
    </message>
    <message>
        <source>only its owner may read and write it; ask the administrator for a udev rule that gives group %1 access.</source>
        <translation>nur sein Eigentümer darf lesen und schreiben; bitten Sie die Administration um eine udev-Regel, die der Gruppe %1 Zugriff gibt.</translation>
    </message>
    <message>
        <source>user %1 is in its group %2, yet the system refuses.</source>
        <translation>Benutzer %1 ist in seiner Gruppe %2, dennoch verweigert das System den Zugriff.</translation>
    </message>
    <message>
        <source>user %1 joined its group %2 after this session started; log out and log in again.</source>
        <translation>Benutzer %1 ist seiner Gruppe %2 erst nach Beginn dieser Sitzung beigetreten; abmelden und erneut anmelden.</translation>
    </message>
    <message>
        <source>it belongs to group %1, and user %2 is not in that group. Fix: sudo usermod -aG %1 %2, then log out and log in again.</source>
        <translation>er gehört zur Gruppe %1, und Benutzer %2 ist nicht in dieser Gruppe. Abhilfe: sudo usermod -aG %1 %2, dann abmelden und erneut anmelden.</translation>
    </message>
    <message>
        <source>%1 does not exist: is the adapter plugged in?</source>
        <translation>%1 existiert nicht: Ist der Adapter eingesteckt?</translation>
    </message>
    <message>
        <source>%1 is in use by %2; close that program and try again.</source>
        <translation>%1 wird von %2 belegt; schließen Sie dieses Programm und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1 is in use by another program; close it and try again.</source>
        <translation>%1 wird von einem anderen Programm belegt; schließen Sie es und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2.</source>
        <translation>%1 lässt sich nicht öffnen: %2.</translation>
    </message>
    <message>
        <source>it probes serial adapters as they appear and may hold one for a while; if it keeps the Tavik&apos;s port busy: sudo systemctl stop ModemManager</source>
        <translation>es prüft serielle Adapter beim Erscheinen und kann einen eine Weile belegen; hält es den Port des Tavik belegt: sudo systemctl stop ModemManager</translation>
    </message>
    <message>
        <source>it claims some USB serial adapters as braille displays; if the Tavik&apos;s adapter vanishes when plugged in: sudo apt remove brltty</source>
        <translation>es beansprucht manche USB-Seriell-Adapter als Braillezeilen; verschwindet der Adapter des Tavik beim Einstecken: sudo apt remove brltty</translation>
    </message>
    <message>
        <source>%1 is running (process %2): %3.</source>
        <translation>%1 läuft (Prozess %2): %3.</translation>
    </message>
    <message>
        <source>User %1 (uid %2), groups: %3</source>
        <translation>Benutzer %1 (UID %2), Gruppen: %3</translation>
    </message>
    <message>
        <source>user %1 may not read and write it; ask the administrator to allow it.</source>
        <translation>Benutzer %1 darf nicht lesen und schreiben; bitten Sie die Administration, es zu erlauben.</translation>
    </message>
    <message>
        <source>%1 is not present: is the adapter plugged in?</source>
        <translation>%1 ist nicht vorhanden: Ist der Adapter eingesteckt?</translation>
    </message>
    <message>
        <source>User %1</source>
        <translation>Benutzer %1</translation>
    </message>
    <message>
        <source>%1 is not a serial port</source>
        <translation>%1 ist kein serieller Port</translation>
    </message>
    <message>
        <source>%1 cannot be opened: its lock file %2 is not a regular file; remove it.</source>
        <translation>%1 kann nicht geöffnet werden: seine Sperrdatei %2 ist keine reguläre Datei; entfernen Sie sie.</translation>
    </message>
</context>
<context>
    <name>PortDirectory</name>
    <message>
        <source>Path: %1</source>
        <translation>Pfad: %1</translation>
    </message>
    <message>
        <source>Device: %1</source>
        <translation>Gerät: %1</translation>
    </message>
    <message>
        <source>Com%1</source>
        <translation>Com%1</translation>
    </message>
    <message>
        <source>Com%1 (%2)</source>
        <translation>Com%1 (%2)</translation>
    </message>
</context>
<context>
    <name>PromptExchange</name>
    <message>
        <source>Could not communicate with Tavik. Please check COM settings, power, and signal cables.</source>
        <translation>Keine Verbindung zu Tavik. Bitte COM-Einstellungen, Stromversorgung und Signalkabel prüfen.</translation>
    </message>
</context>
<context>
    <name>RelayComparison</name>
    <message>
        <source>%1 of no input</source>
        <translation>%1 keines Eingangs</translation>
    </message>
    <message>
        <source>%1 of input %2</source>
        <translation>%1 von Eingang %2</translation>
    </message>
    <message>
        <source>%1 of inputs %2</source>
        <translation>%1 der Eingänge %2</translation>
    </message>
    <message>
        <source>relay mode</source>
        <translation>Relaismodus</translation>
    </message>
    <message>
        <source>input mode</source>
        <translation>Eingangsmodus</translation>
    </message>
    <message>
        <source>input map</source>
        <translation>Eingangszuordnung</translation>
    </message>
    <message>
        <source>unlatch input mode</source>
        <translation>Rücksetz-Eingangsmodus</translation>
    </message>
    <message>
        <source>unlatch map</source>
        <translation>Rücksetzzuordnung</translation>
    </message>
    <message>
        <source>closure time</source>
        <translation>Schließzeit</translation>
    </message>
    <message>
        <source>PC control</source>
        <translation>PC-Steuerung</translation>
    </message>
    <message>
        <source>contact</source>
        <translation>Kontakt</translation>
    </message>
    <message>
        <source>Relay %1: %2: %3 %4; %5 %6</source>
        <translation>Relais %1: %2: %3 %4; %5 %6</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>on</source>
        <translation>ein</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
</context>
<context>
    <name>RelayConfig</name>
    <message>
        <source>out of range (%1)</source>
        <translation>außerhalb des Bereichs (%1)</translation>
    </message>
    <message>
        <source>relay mode</source>
        <translation>Relaismodus</translation>
    </message>
    <message>
        <source>input mode</source>
        <translation>Eingangsmodus</translation>
    </message>
    <message>
        <source>unlatch input mode</source>
        <translation>Rücksetz-Eingangsmodus</translation>
    </message>
    <message>
        <source>hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>hundredths</source>
        <translation>Hundertstel</translation>
    </message>
    <message>
        <source>Relay %1: %2 %3</source>
        <translation>Relais %1: %2 %3</translation>
    </message>
</context>
<context>
    <name>RelayEditor</name>
    <message>
        <source>Relay %1</source>
        <translation>Relais %1</translation>
    </message>
    <message>
        <source>Space or Enter puts input %1 into the map shown, or takes it out</source>
        <translation>Leertaste oder Eingabetaste nimmt Eingang %1 in die angezeigte Zuordnung auf oder aus ihr heraus</translation>
    </message>
    <message>
        <source>Space or Enter selects the next input mode</source>
        <translation>Leertaste oder Eingabetaste wählt den nächsten Eingangsmodus</translation>
    </message>
    <message>
        <source>Space or Enter shows the next relay</source>
        <translation>Leertaste oder Eingabetaste zeigt das nächste Relais</translation>
    </message>
    <message>
        <source>no inputs</source>
        <translation>keinen Eingängen</translation>
    </message>
    <message>
        <source>input %1</source>
        <translation>Eingang %1</translation>
    </message>
    <message>
        <source>inputs %1 and %2</source>
        <translation>Eingängen %1 und %2</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Relay %1: %2, %3</source>
        <translation>Relais %1: %2, %3</translation>
    </message>
    <message>
        <source>, unlatched by %1</source>
        <translation>, zurückgesetzt durch %1</translation>
    </message>
    <message>
        <source>Input %1, in the unlatch map</source>
        <translation>Eingang %1, in der Rücksetzzuordnung</translation>
    </message>
    <message>
        <source>Input %1, not in the unlatch map</source>
        <translation>Eingang %1, nicht in der Rücksetzzuordnung</translation>
    </message>
    <message>
        <source>Input %1, in the map</source>
        <translation>Eingang %1, in der Zuordnung</translation>
    </message>
    <message>
        <source>Input %1, not in the map</source>
        <translation>Eingang %1, nicht in der Zuordnung</translation>
    </message>
    <message>
        <source>Input mode: %1</source>
        <translation>Eingangsmodus: %1</translation>
    </message>
    <message>
        <source>Relay</source>
        <translation>Relais</translation>
    </message>
</context>
<context>
    <name>RelayJson</name>
    <message>
        <source>not JSON: %1 at character %2</source>
        <translation>kein JSON: %1 bei Zeichen %2</translation>
    </message>
    <message>
        <source>&quot;relays&quot; must list the 16 relays</source>
        <translation>„relays“ muss die 16 Relais auflisten</translation>
    </message>
    <message>
        <source>each relay object needs its own &quot;relay&quot; number from 1 to 16</source>
        <translation>jedes Relaisobjekt braucht seine eigene „relay“-Nummer von 1 bis 16</translation>
    </message>
    <message>
        <source>relay %1: &quot;%2&quot; is not a value a relay takes</source>
        <translation>Relais %1: „%2“ ist kein Wert, den ein Relais annimmt</translation>
    </message>
</context>
<context>
    <name>ReportCommand</name>
    <message>
        <source>report: unexpected argument &apos;%1&apos;</source>
        <translation>report: unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>report: %1 needs a value</source>
        <translation>report: %1 braucht einen Wert</translation>
    </message>
    <message>
        <source>report needs -i FILE and -o RECORD.pdf or RECORD.html</source>
        <translation>report braucht -i FILE und -o RECORD.pdf oder RECORD.html</translation>
    </message>
    <message>
        <source>report: -o must name a .pdf or .html file</source>
        <translation>report: -o muss eine .pdf- oder .html-Datei nennen</translation>
    </message>
    <message>
        <source>report: --page takes a4 or letter</source>
        <translation>report: --page erwartet a4 oder letter</translation>
    </message>
</context>
<context>
    <name>SafeSave</name>
    <message>
        <source>%1 is not a regular file; it was left as it is</source>
        <translation>%1 ist keine reguläre Datei; sie blieb, wie sie war</translation>
    </message>
    <message>
        <source>%1 is a link to %2, which is not a regular file; it was left as it is</source>
        <translation>%1 ist eine Verknüpfung auf %2, das keine reguläre Datei ist; sie blieb, wie sie war</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be written (%2); the file there is unchanged</source>
        <translation>%1 konnte nicht geschrieben werden (%2); die vorhandene Datei ist unverändert</translation>
    </message>
</context>
<context>
    <name>ServerAddress</name>
    <message>
        <source>&apos;%1&apos; has a path after its port: a serial server is named tcp://HOST:PORT or rfc2217://HOST:PORT, and the server chooses the device</source>
        <translation>„%1“ hat einen Pfad nach dem Port: Ein serieller Server heißt tcp://HOST:PORT oder rfc2217://HOST:PORT, und der Server wählt das Gerät</translation>
    </message>
    <message>
        <source>&apos;%1&apos; has port %2: a serial server&apos;s port is a number from 1 to 65535</source>
        <translation>„%1“ hat den Port %2: Der Port eines seriellen Servers ist eine Zahl von 1 bis 65535</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a serial server&apos;s address (tcp://HOST:PORT or rfc2217://HOST:PORT)</source>
        <translation>„%1“ ist keine Adresse eines seriellen Servers (tcp://HOST:PORT oder rfc2217://HOST:PORT)</translation>
    </message>
</context>
<context>
    <name>ServerControl</name>
    <message>
        <source>no serial server answers at %1</source>
        <translation>unter %1 antwortet kein serieller Server</translation>
    </message>
    <message>
        <source>the serial server at %1 takes nothing that is sent to it</source>
        <translation>der serielle Server unter %1 nimmt nichts an, was ihm gesendet wird</translation>
    </message>
    <message>
        <source>the serial server at %1 never answered the line settings (RFC 2217)</source>
        <translation>der serielle Server unter %1 hat nie auf die Leitungseinstellungen geantwortet (RFC 2217)</translation>
    </message>
    <message>
        <source>the serial server at %1 does not set the line to 57600 baud, 8 data bits, no parity, 1 stop bit (RFC 2217)</source>
        <translation>der serielle Server unter %1 stellt die Leitung nicht auf 57600 Baud, 8 Datenbits, keine Parität, 1 Stoppbit (RFC 2217)</translation>
    </message>
    <message>
        <source>the serial server at %1 sends telnet commands without end</source>
        <translation>der serielle Server unter %1 sendet endlos Telnet-Befehle</translation>
    </message>
    <message>
        <source>the serial server at %1 is busy: another program is connected</source>
        <translation>der serielle Server unter %1 ist belegt: ein anderes Programm ist verbunden</translation>
    </message>
    <message>
        <source>the serial server at %1 refused the connection</source>
        <translation>der serielle Server an %1 hat die Verbindung abgewiesen</translation>
    </message>
    <message>
        <source>cannot find host %1</source>
        <translation>Host %1 nicht gefunden</translation>
    </message>
</context>
<context>
    <name>SplashWindow</name>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>For use with the Tavik TRX family of programmable relay expanders. Manuals and updates: www.tavik-controls.example</source>
        <translation>Für die programmierbaren Relaiserweiterungen der Tavik-TRX-Familie. Handbücher und Aktualisierungen: www.tavik-controls.example</translation>
    </message>
    <message>
        <source>Tavik Configuration Manager</source>
        <translation>Tavik Configuration Manager</translation>
    </message>
</context>
<context>
    <name>StartText</name>
    <message>
        <source>Tavik Configuration Manager: reads, edits, programs and saves the relays of a Tavik relay expander.</source>
        <translation>Tavik Configuration Manager: liest, bearbeitet, programmiert und speichert die Relais einer Tavik-Relaiserweiterung.</translation>
    </message>
    <message>
        <source>Adds the built-in simulated Tavik to the port list and selects it. It keeps its relays between runs in %1.</source>
        <translation>Fügt der Portliste den eingebauten simulierten Tavik hinzu und wählt ihn aus. Er behält seine Relais zwischen den Läufen in %1.</translation>
    </message>
    <message>
        <source>Adds a serial port the system does not list, such as a pseudo-terminal, a /dev/serial/by-id link, or a serial server&apos;s tcp://HOST:PORT or rfc2217://HOST:PORT. Repeatable.</source>
        <translation>Fügt einen seriellen Port hinzu, den das System nicht auflistet, etwa ein Pseudo-Terminal, einen /dev/serial/by-id-Link oder tcp://HOST:PORT bzw. rfc2217://HOST:PORT eines seriellen Servers. Wiederholbar.</translation>
    </message>
    <message>
        <source>PATH</source>
        <translation>PFAD</translation>
    </message>
    <message>
        <source>tavikgui: %1 does not exist (yet); it is listed when the rescan finds it.</source>
        <translation>tavikgui: %1 existiert (noch) nicht; der Port erscheint in der Liste, sobald die Suche ihn findet.</translation>
    </message>
    <message>
        <source>tavikgui: the simulated Tavik could not start: %1</source>
        <translation>tavikgui: der simulierte Tavik konnte nicht starten: %1</translation>
    </message>
    <message>
        <source>Dark colours, for a dark desktop whose colours Qt does not follow.</source>
        <translation>Dunkle Farben, für einen dunklen Desktop, dessen Farben Qt nicht folgt.</translation>
    </message>
</context>
<context>
    <name>TableHistory</name>
    <message>
        <source>Relay %1</source>
        <translation>Relais %1</translation>
    </message>
    <message>
        <source>All relays</source>
        <translation>Alle Relais</translation>
    </message>
</context>
<context>
    <name>TavikFile</name>
    <message>
        <source>line %1 should read %2</source>
        <translation>Zeile %1 sollte %2 lauten</translation>
    </message>
    <message>
        <source>the line ends inside the %1 of relay %2</source>
        <translation>die Zeile endet innerhalb der %1 von Relais %2</translation>
    </message>
    <message>
        <source>the %1 of relay %2 holds &apos;%3&apos; where only 0 or 1 belongs</source>
        <translation>die %1 von Relais %2 enthält „%3“, wo nur 0 oder 1 stehen darf</translation>
    </message>
    <message>
        <source>line %1 should be the line of relay %2 but does not contain &quot;%3&quot;</source>
        <translation>Zeile %1 sollte die Zeile von Relais %2 sein, enthält aber nicht „%3“</translation>
    </message>
    <message>
        <source>input map</source>
        <translation>Eingangszuordnung</translation>
    </message>
    <message>
        <source>unlatch map</source>
        <translation>Rücksetzzuordnung</translation>
    </message>
    <message>
        <source>the line ends before the PC-control field of relay %1</source>
        <translation>die Zeile endet vor dem PC-Steuerungsfeld von Relais %1</translation>
    </message>
    <message>
        <source>the PC-control field of relay %1 holds &apos;%2&apos; where only 0 or 1 belongs</source>
        <translation>das PC-Steuerungsfeld von Relais %1 enthält „%2“, wo nur 0 oder 1 stehen darf</translation>
    </message>
    <message>
        <source>Incorrect file format</source>
        <translation>Falsches Dateiformat</translation>
    </message>
    <message>
        <source>the file ends after line %1 of 20</source>
        <translation>die Datei endet nach Zeile %1 von 20</translation>
    </message>
    <message>
        <source>line 3 does not contain &quot;%1&quot;</source>
        <translation>Zeile 3 enthält nicht „%1“</translation>
    </message>
    <message>
        <source>the line is longer than %1 bytes</source>
        <translation>die Zeile ist länger als %1 Bytes</translation>
    </message>
</context>
<context>
    <name>TavikSimulator</name>
    <message>
        <source>simulated Tavik</source>
        <translation>simulierter Tavik</translation>
    </message>
</context>
</TS>
