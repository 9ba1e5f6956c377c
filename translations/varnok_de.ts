<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AccessAdvice</name>
    <message>
        <source>Varnok setup program</source>
        <translation>Varnok-Einrichtungsprogramm</translation>
    </message>
    <message>
        <source>no access</source>
        <translation>kein Zugriff</translation>
    </message>
    <message>
        <source>A foot switch was found, but this user may not open it, so its settings can be neither read out nor written in.

To allow it, run this command in the program&apos;s source folder:

    sudo scripts/install-udev-rule

or install the program&apos;s package, which brings the same rule. Then unplug the pedal and plug it in again.</source>
        <translation>Ein Fußschalter wurde gefunden, aber dieser Benutzer darf ihn nicht öffnen; seine Einstellungen können daher weder ausgelesen noch geschrieben werden.

Um den Zugriff zu erlauben, führen Sie im Quellordner des Programms diesen Befehl aus:

    sudo scripts/install-udev-rule

oder installieren Sie das Paket des Programms, das dieselbe Regel mitbringt. Ziehen Sie dann das Pedal ab und stecken Sie es wieder ein.</translation>
    </message>
    <message>
        <source>This user may not write to the foot switch. To allow it, run scripts/install-udev-rule (or install the package), then unplug and replug the pedal.</source>
        <translation>Dieser Benutzer darf den Fußschalter nicht beschreiben. Um es zu erlauben, führen Sie scripts/install-udev-rule aus (oder installieren Sie das Paket) und stecken Sie das Pedal dann ab und wieder ein.</translation>
    </message>
    <message>
        <source>A foot switch was found, but Windows refused to open it, so its settings can be neither read out nor written in.

Another program may be holding the pedal open (another setup or macro tool): close it, then unplug the pedal and plug it in again. If that does not help, the computer&apos;s security settings may block access to the device; ask its administrator.</source>
        <translation>Ein Fußschalter wurde gefunden, aber Windows hat das Öffnen verweigert; seine Einstellungen können daher weder ausgelesen noch geschrieben werden.

Vielleicht hält ein anderes Programm das Pedal geöffnet (ein anderes Einrichtungs- oder Makroprogramm): Schließen Sie es, ziehen Sie dann das Pedal ab und stecken Sie es wieder ein. Hilft das nicht, sperren vielleicht die Sicherheitseinstellungen des Computers den Zugriff auf das Gerät; fragen Sie den Administrator.</translation>
    </message>
    <message>
        <source>Windows refused access to the foot switch. Close any other program that may have the pedal open, then unplug and replug the pedal.</source>
        <translation>Windows hat den Zugriff auf den Fußschalter verweigert. Schließen Sie alle anderen Programme, die das Pedal geöffnet haben könnten, und stecken Sie das Pedal dann ab und wieder ein.</translation>
    </message>
    <message>
        <source>A foot switch was found, but it cannot be opened: %1</source>
        <translation>Ein Fußschalter wurde gefunden, lässt sich aber nicht öffnen: %1</translation>
    </message>
    <message>
        <source> Its settings can be neither read out nor written in. Close that program, then unplug the pedal and plug it in again.</source>
        <translation> Seine Einstellungen können weder ausgelesen noch geschrieben werden. Schließen Sie dieses Programm, ziehen Sie dann das Pedal ab und stecken Sie es wieder ein.</translation>
    </message>
    <message>
        <source>Its settings can be neither read out nor written in. Unplug the pedal and plug it in again; if that does not help, another program may be using it.</source>
        <translation>Seine Einstellungen können weder ausgelesen noch geschrieben werden. Ziehen Sie das Pedal ab und stecken Sie es wieder ein; hilft das nicht, verwendet es vielleicht ein anderes Programm.</translation>
    </message>
    <message>
        <source>another program may be using it</source>
        <translation>ein anderes Programm verwendet ihn vielleicht</translation>
    </message>
    <message>
        <source>error %1</source>
        <translation>Fehler %1</translation>
    </message>
    <message>
        <source>Win32 error %1</source>
        <translation>Win32-Fehler %1</translation>
    </message>
    <message>
        <source>Another program may be using the foot switch.</source>
        <translation>Vielleicht verwendet ein anderes Programm den Fußschalter.</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Foot switches cannot be found: the system library libudev.so.1 could not be loaded.

Install it (Debian, Ubuntu: package libudev1; Fedora: systemd-libs) and start the program again.</source>
        <translation>Fußschalter können nicht gesucht werden: Die Systembibliothek libudev.so.1 ließ sich nicht laden.

Installieren Sie sie (Debian, Ubuntu: Paket libudev1; Fedora: systemd-libs) und starten Sie das Programm neu.</translation>
    </message>
    <message>
        <source>Foot switches cannot be found: the system&apos;s device libraries (setupapi.dll, hid.dll) could not be loaded.</source>
        <translation>Fußschalter können nicht gesucht werden: Die Gerätebibliotheken des Systems (setupapi.dll, hid.dll) ließen sich nicht laden.</translation>
    </message>
    <message>
        <source>pedal %1</source>
        <translation>Pedal %1</translation>
    </message>
    <message>
        <source>pedals %1 and %2</source>
        <translation>Pedale %1 und %2</translation>
    </message>
    <message>
        <source>

Foot switch SN:%1</source>
        <translation>

Fußschalter SN:%1</translation>
    </message>
    <message>
        <source>Write in</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Setup Done!</source>
        <translation>Einrichtung abgeschlossen!</translation>
    </message>
    <message>
        <source>The foot switch was not written: no foot switch is connected.</source>
        <translation>Der Fußschalter wurde nicht beschrieben: Es ist kein Fußschalter angeschlossen.</translation>
    </message>
    <message>
        <source>The foot switch was not written:</source>
        <translation>Der Fußschalter wurde nicht beschrieben:</translation>
    </message>
    <message>
        <source>The foot switch was not fully written:</source>
        <translation>Der Fußschalter wurde nicht vollständig beschrieben:</translation>
    </message>
    <message>
        <source> the setting of %1 could not be sent.</source>
        <translation> Die Einstellung von %1 konnte nicht gesendet werden.</translation>
    </message>
    <message>
        <source> the settings of %1 could not be sent.</source>
        <translation> Die Einstellungen von %1 konnten nicht gesendet werden.</translation>
    </message>
    <message>
        <source> %1 could not be read out, so it was left as it is.</source>
        <translation> %1 konnte nicht ausgelesen werden und blieb daher unverändert.</translation>
    </message>
    <message>
        <source> %1 could not be read out, so they were left as they are.</source>
        <translation> %1 konnten nicht ausgelesen werden und blieben daher unverändert.</translation>
    </message>
    <message>
        <source> The other pedals were written.</source>
        <translation> Die anderen Pedale wurden beschrieben.</translation>
    </message>
    <message>
        <source>

The foot switch did not take the settings in time.</source>
        <translation>

Der Fußschalter hat die Einstellungen nicht rechtzeitig übernommen.</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between pedal numbers</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>no key</source>
        <translation>keine Taste</translation>
    </message>
    <message>
        <source>The foot switch was written, but it does not hold what was written:</source>
        <translation>Der Fußschalter wurde beschrieben, enthält aber nicht das Geschriebene:</translation>
    </message>
    <message>
        <source>The foot switch was written, but the check could not confirm it:</source>
        <translation>Der Fußschalter wurde beschrieben, die Prüfung konnte es aber nicht bestätigen:</translation>
    </message>
    <message>
        <source>Pedal %1 holds %2 (%3), not %4 (%5).</source>
        <translation>Pedal %1 enthält %2 (%3), nicht %4 (%5).</translation>
    </message>
    <message>
        <source>Pedal %1 did not answer the check; its setting is not confirmed.</source>
        <translation>Pedal %1 hat auf die Prüfung nicht geantwortet; seine Einstellung ist nicht bestätigt.</translation>
    </message>
    <message>
        <source>

The system reported: %1</source>
        <translation>

Das System meldet: %1</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>unknown key name &quot;%1&quot; (names are case-sensitive, e.g. &quot;%2&quot;)</source>
        <translation>unbekannter Tastenname &quot;%1&quot; (Groß- und Kleinschreibung zählt, z. B. &quot;%2&quot;)</translation>
    </message>
    <message>
        <source>unknown key name &quot;%1&quot; (see the key table; names are case-sensitive, e.g. &quot;Ctrl&quot;, &quot;Page Up&quot;)</source>
        <translation>unbekannter Tastenname &quot;%1&quot; (siehe die Tastentabelle; Groß- und Kleinschreibung zählt, z. B. &quot;Ctrl&quot;, &quot;Page Up&quot;)</translation>
    </message>
    <message>
        <source>empty key name in &quot;%1&quot; (a &quot;+&quot; too many?)</source>
        <translation>leerer Tastenname in &quot;%1&quot; (ein &quot;+&quot; zu viel?)</translation>
    </message>
    <message>
        <source>key &quot;%1&quot; given twice</source>
        <translation>Taste &quot;%1&quot; zweimal angegeben</translation>
    </message>
    <message>
        <source>too many keys: &quot;%1&quot; would be the fourth (at most three keys besides modifiers)</source>
        <translation>zu viele Tasten: &quot;%1&quot; wäre die vierte (höchstens drei Tasten neben den Modifiern)</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>nested deeper than %1 levels</source>
        <translation>tiefer als %1 Ebenen verschachtelt</translation>
    </message>
    <message>
        <source>member %1 given twice in one object</source>
        <translation>Element %1 zweimal in einem Objekt angegeben</translation>
    </message>
    <message>
        <source>entry %1 of &quot;pedals&quot; is not an object</source>
        <translation>Eintrag %1 von &quot;pedals&quot; ist kein Objekt</translation>
    </message>
    <message>
        <source>entry %1 of &quot;pedals&quot;: unknown member %2 (allowed: pedal, keys, bytes)</source>
        <translation>Eintrag %1 von &quot;pedals&quot;: unbekanntes Element %2 (erlaubt: pedal, keys, bytes)</translation>
    </message>
    <message>
        <source>entry %1 of &quot;pedals&quot;: &quot;pedal&quot; must be a number from 1 to %2</source>
        <translation>Eintrag %1 von &quot;pedals&quot;: &quot;pedal&quot; muss eine Zahl von 1 bis %2 sein</translation>
    </message>
    <message>
        <source>pedal %1 appears twice</source>
        <translation>Pedal %1 kommt zweimal vor</translation>
    </message>
    <message>
        <source>pedal %1: needs &quot;keys&quot; or &quot;bytes&quot;</source>
        <translation>Pedal %1: braucht &quot;keys&quot; oder &quot;bytes&quot;</translation>
    </message>
    <message>
        <source>pedal %1: &quot;keys&quot; must be a string</source>
        <translation>Pedal %1: &quot;keys&quot; muss eine Zeichenkette sein</translation>
    </message>
    <message>
        <source>pedal %1: &quot;bytes&quot; must be a string</source>
        <translation>Pedal %1: &quot;bytes&quot; muss eine Zeichenkette sein</translation>
    </message>
    <message>
        <source>pedal %1: bad &quot;bytes&quot; %2 (expected e.g. &quot;01-06-00-00&quot;)</source>
        <translation>Pedal %1: falsches &quot;bytes&quot; %2 (erwartet z. B. &quot;01-06-00-00&quot;)</translation>
    </message>
    <message>
        <source>pedal %1: &quot;keys&quot; %2 and &quot;bytes&quot; %3 disagree (edit one and drop the other)</source>
        <translation>Pedal %1: &quot;keys&quot; %2 und &quot;bytes&quot; %3 stimmen nicht überein (eines bearbeiten und das andere weglassen)</translation>
    </message>
    <message>
        <source>pedal %1: %2</source>
        <translation>Pedal %1: %2</translation>
    </message>
    <message>
        <source>pedal %1: key %2 cannot be given to the pedal (it is not in the key table)</source>
        <translation>Pedal %1: Taste %2 kann dem Pedal nicht gegeben werden (sie steht nicht in der Tastentabelle)</translation>
    </message>
    <message>
        <source>not valid JSON: %1</source>
        <translation>kein gültiges JSON: %1</translation>
    </message>
    <message>
        <source>the profile must be a JSON object with a &quot;pedals&quot; array</source>
        <translation>das Profil muss ein JSON-Objekt mit einem Feld &quot;pedals&quot; sein</translation>
    </message>
    <message>
        <source>&quot;serial&quot; must be a string</source>
        <translation>&quot;serial&quot; muss eine Zeichenkette sein</translation>
    </message>
    <message>
        <source>the profile has no &quot;pedals&quot; array</source>
        <translation>das Profil hat kein Feld &quot;pedals&quot;</translation>
    </message>
    <message>
        <source>the &quot;pedals&quot; array is empty</source>
        <translation>das Feld &quot;pedals&quot; ist leer</translation>
    </message>
</context>
<context>
    <name>Profiles</name>
    <message>
        <source>Open profile…</source>
        <translation>Profil öffnen…</translation>
    </message>
    <message>
        <source>Save profile…</source>
        <translation>Profil speichern…</translation>
    </message>
    <message>
        <source>Open profile</source>
        <translation>Profil öffnen</translation>
    </message>
    <message>
        <source>Save profile</source>
        <translation>Profil speichern</translation>
    </message>
    <message>
        <source>Pedal profiles (*.json)</source>
        <translation>Pedalprofile (*.json)</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>no foot switch is connected.</source>
        <translation>Es ist kein Fußschalter angeschlossen.</translation>
    </message>
    <message>
        <source>a write-in is under way.</source>
        <translation>Gerade wird geschrieben.</translation>
    </message>
    <message>
        <source>the foot switch has not answered the read-out yet.</source>
        <translation>Der Fußschalter hat auf das Auslesen noch nicht geantwortet.</translation>
    </message>
    <message>
        <source>A profile cannot be opened now:
%1</source>
        <translation>Ein Profil kann jetzt nicht geöffnet werden:
%1</translation>
    </message>
    <message>
        <source>A profile cannot be saved now:
%1</source>
        <translation>Ein Profil kann jetzt nicht gespeichert werden:
%1</translation>
    </message>
    <message>
        <source>The profile could not be read.

%1
%2</source>
        <translation>Das Profil konnte nicht gelesen werden.

%1
%2</translation>
    </message>
    <message>
        <source>The file is larger than %1 bytes; it is no profile.</source>
        <translation>Die Datei ist größer als %1 Byte; sie ist kein Profil.</translation>
    </message>
    <message>
        <source>The profile was not opened; nothing was changed.

%1
%2</source>
        <translation>Das Profil wurde nicht geöffnet; nichts wurde geändert.

%1
%2</translation>
    </message>
    <message>
        <source>This profile was saved for another foot switch.

%1
</source>
        <translation>Dieses Profil wurde für einen anderen Fußschalter gespeichert.

%1
</translation>
    </message>
    <message>
        <source>It was saved from SN:%1; the foot switch here is SN:%2.
</source>
        <translation>Es wurde von SN:%1 gespeichert; der Fußschalter hier ist SN:%2.
</translation>
    </message>
    <message>
        <source>It holds %1 pedal(s); %2 are set here. Opening it sets %1.
</source>
        <translation>Es enthält %1 Pedal(e); hier sind %2 eingestellt. Beim Öffnen werden %1 eingestellt.
</translation>
    </message>
    <message>
        <source>
Replace the assignments shown with the profile&apos;s?</source>
        <translation>
Die angezeigten Belegungen durch die des Profils ersetzen?</translation>
    </message>
    <message>
        <source>The profile was not saved.

Pedal %1 has not been read out yet: its assignment is not known. Save again once the foot switch has answered.</source>
        <translation>Das Profil wurde nicht gespeichert.

Pedal %1 wurde noch nicht ausgelesen: seine Belegung ist nicht bekannt. Speichern Sie erneut, sobald der Fußschalter geantwortet hat.</translation>
    </message>
    <message>
        <source>The profile could not be saved.

%1
%2

A file that was there is left as it was.</source>
        <translation>Das Profil konnte nicht gespeichert werden.

%1
%2

Eine vorhandene Datei bleibt unverändert.</translation>
    </message>
</context>
<context>
    <name>app::TMainForm</name>
    <message>
        <source>no keyboard hook library</source>
        <translation>keine Tastatur-Hook-Bibliothek</translation>
    </message>
    <message>
        <source>no X display (DISPLAY not set)</source>
        <translation>keine X-Anzeige (DISPLAY nicht gesetzt)</translation>
    </message>
    <message>
        <source>the X display cannot be reached</source>
        <translation>die X-Anzeige ist nicht erreichbar</translation>
    </message>
    <message>
        <source>the window runs on %1, not on X</source>
        <translation>das Fenster läuft auf %1, nicht unter X</translation>
    </message>
    <message>
        <source>Capture needs the program&apos;s keyboard hook on an X display (X11 or XWayland).</source>
        <translation>Die Erfassung braucht den Tastatur-Hook des Programms auf einer X-Anzeige (X11 oder XWayland).</translation>
    </message>
    <message>
        <source>%1 cannot be given to the pedal</source>
        <translation>%1 kann dem Pedal nicht zugewiesen werden</translation>
    </message>
    <message>
        <source>Key capture is off: %1</source>
        <translation>Tastenerfassung aus: %1</translation>
    </message>
    <message>
        <source>The key box cannot take keys here: %1. %2 Without it a pedal can be set with the command line: varnok-pedal write.</source>
        <translation>Das Tastenfeld kann hier keine Tasten erfassen: %1. %2 Ohne Erfassung lässt sich ein Pedal über die Befehlszeile einstellen: varnok-pedal write.</translation>
    </message>
    <message>
        <source>Keys are not taken until the write-in ends.</source>
        <translation>Bis das Schreiben endet, werden keine Tasten erfasst.</translation>
    </message>
    <message>
        <source>%1 foot switch is connected!</source>
        <translation>%1 Fußschalter angeschlossen!</translation>
    </message>
    <message>
        <source>%1 foot switch found,
not usable: %2</source>
        <translation>%1 Fußschalter gefunden,
nicht nutzbar: %2</translation>
    </message>
    <message>
        <source>foot switch not found!</source>
        <translation>Kein Fußschalter gefunden!</translation>
    </message>
    <message>
        <source>Varnok setup program</source>
        <translation>Varnok-Einrichtungsprogramm</translation>
    </message>
    <message>
        <source>Device Status</source>
        <translation>Gerätestatus</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Select foot switch</source>
        <translation>Fußschalter wählen</translation>
    </message>
    <message>
        <source>Foot switch connected</source>
        <translation>Fußschalter angeschlossen</translation>
    </message>
    <message>
        <source>No foot switch found</source>
        <translation>Kein Fußschalter gefunden</translation>
    </message>
    <message>
        <source>foot switch is connected!</source>
        <translation>Fußschalter angeschlossen!</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Pedals</source>
        <translation>Pedale</translation>
    </message>
    <message>
        <source>%1 pairs of buttons to set</source>
        <translation>Pedal %1 einstellen</translation>
    </message>
    <message>
        <source>Input:</source>
        <translation>Tasten:</translation>
    </message>
    <message>
        <source>Support the combination of keys</source>
        <translation>Tastenkombinationen möglich</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Erfasst</translation>
    </message>
    <message>
        <source>The key box is taking keys: press the combination for this pedal.</source>
        <translation>Das Tastenfeld erfasst Tasten: Drücken Sie die Kombination für dieses Pedal.</translation>
    </message>
    <message>
        <source>Pedal Number</source>
        <translation>Pedalanzahl</translation>
    </message>
    <message>
        <source>Write in</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Read out</source>
        <translation>Auslesen</translation>
    </message>
    <message>
        <source>Picture: a tick</source>
        <translation>Bild: ein Haken</translation>
    </message>
    <message>
        <source>Picture: a circular arrow</source>
        <translation>Bild: ein Kreispfeil</translation>
    </message>
    <message>
        <source>Pedal %1</source>
        <translation>Pedal %1</translation>
    </message>
    <message>
        <source>Key combination of pedal %1</source>
        <translation>Tastenkombination von Pedal %1</translation>
    </message>
    <message>
        <source>no keyboard hook library (Hookmod.dll)</source>
        <translation>keine Tastatur-Hook-Bibliothek (Hookmod.dll)</translation>
    </message>
    <message>
        <source>the window runs on %1, not on the Windows desktop</source>
        <translation>das Fenster läuft auf %1, nicht auf dem Windows-Desktop</translation>
    </message>
    <message>
        <source>Capture needs the keyboard hook library Hookmod.dll in the program&apos;s folder.</source>
        <translation>Die Erfassung braucht die Tastatur-Hook-Bibliothek Hookmod.dll im Ordner des Programms.</translation>
    </message>
    <message>
        <source>another program holds the keyboard; click into the key box to try again</source>
        <translation>ein anderes Programm belegt die Tastatur; klicken Sie zum erneuten Versuch in das Tastenfeld</translation>
    </message>
    <message>
        <source>Pedal %1: %2</source>
        <translation>Pedal %1: %2</translation>
    </message>
    <message>
        <source>Pedals %1 and %2 type the same, %3: which one cannot be told</source>
        <translation>Die Pedale %1 und %2 tippen beide %3: nicht zu unterscheiden</translation>
    </message>
    <message>
        <source>A pedal typed %1, which no pedal read out holds</source>
        <translation>Getippt: %1, von keinem ausgelesenen Pedal</translation>
    </message>
    <message>
        <source>A pedal typed %1: read out to tell which one</source>
        <translation>Getippt: %1, zum Erkennen auslesen</translation>
    </message>
</context>
<context>
    <name>varnok-pedal</name>
    <message>
        <source>error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>unknown (version code %1)</source>
        <translation>unbekannt (Versionscode %1)</translation>
    </message>
    <message>
        <source>%1  serial %2  product &quot;%3&quot;</source>
        <translation>%1  Seriennummer %2  Produkt &quot;%3&quot;</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>the device library (%1) could not be loaded; no pedals can be found</source>
        <translation>die Gerätebibliothek (%1) konnte nicht geladen werden; es können keine Pedale gefunden werden</translation>
    </message>
    <message>
        <source>no pedal found (is it plugged in?)</source>
        <translation>kein Pedal gefunden (ist es eingesteckt?)</translation>
    </message>
    <message>
        <source>no pedal with serial &quot;%1&quot;; pedals found:</source>
        <translation>kein Pedal mit der Seriennummer &quot;%1&quot;; gefundene Pedale:</translation>
    </message>
    <message>
        <source>no pedal with path &quot;%1&quot;; pedals found:</source>
        <translation>kein Pedal mit dem Pfad &quot;%1&quot;; gefundene Pedale:</translation>
    </message>
    <message>
        <source>%1 pedals found; choose one with --serial or --path:</source>
        <translation>%1 Pedale gefunden; wählen Sie eines mit --serial oder --path:</translation>
    </message>
    <message>
        <source>access to %1 refused for this user: %2</source>
        <translation>Zugriff auf %1 für diesen Benutzer verweigert: %2</translation>
    </message>
    <message>
        <source>access to %1 refused for this user (%2): %3</source>
        <translation>Zugriff auf %1 für diesen Benutzer verweigert (%2): %3</translation>
    </message>
    <message>
        <source>the pedal at %1 went away (unplugged?)</source>
        <translation>das Pedal an %1 ist verschwunden (ausgesteckt?)</translation>
    </message>
    <message>
        <source>pedal %1 did not answer within %2 ms</source>
        <translation>Pedal %1 hat nicht innerhalb von %2 ms geantwortet</translation>
    </message>
    <message>
        <source>  (the read request could not be sent: %1)</source>
        <translation>  (die Leseanfrage konnte nicht gesendet werden: %1)</translation>
    </message>
    <message>
        <source>%1  firmware %2  access %3</source>
        <translation>%1  Firmware %2  Zugriff %3</translation>
    </message>
    <message>
        <source>read-write</source>
        <translation>lesen und schreiben</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>verweigert</translation>
    </message>
    <message>
        <source>note: to use a pedal whose access is refused, %1</source>
        <translation>Hinweis: um ein Pedal zu verwenden, dessen Zugriff verweigert ist, %1</translation>
    </message>
    <message>
        <source>pedal %1: %2 (%3)</source>
        <translation>Pedal %1: %2 (%3)</translation>
    </message>
    <message>
        <source>cannot read the profile from the standard input: %1</source>
        <translation>das Profil kann nicht von der Standardeingabe gelesen werden: %1</translation>
    </message>
    <message>
        <source>cannot read profile %1: %2</source>
        <translation>Profil %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>bad profile %1: %2</source>
        <translation>fehlerhaftes Profil %1: %2</translation>
    </message>
    <message>
        <source>pedal %1: write failed: %2 (%3 of 8 bytes written)</source>
        <translation>Pedal %1: Schreiben fehlgeschlagen: %2 (%3 von 8 Bytes geschrieben)</translation>
    </message>
    <message>
        <source>to grant access, %1</source>
        <translation>um Zugriff zu gewähren, %1</translation>
    </message>
    <message>
        <source>pedal %1: wrote %2 (%3)</source>
        <translation>Pedal %1: %2 geschrieben (%3)</translation>
    </message>
    <message>
        <source>done</source>
        <translation>fertig</translation>
    </message>
    <message>
        <source>verify: pedal %1 did not answer within %2 ms</source>
        <translation>Prüfung: Pedal %1 hat nicht innerhalb von %2 ms geantwortet</translation>
    </message>
    <message>
        <source>verify: pedal %1 holds %2, written was %3</source>
        <translation>Prüfung: Pedal %1 enthält %2, geschrieben wurde %3</translation>
    </message>
    <message>
        <source>verified</source>
        <translation>geprüft</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>exported %1 pedal(s) to %2</source>
        <translation>%1 Pedal(e) nach %2 exportiert</translation>
    </message>
    <message>
        <source>no device-change notifications can be had on this system</source>
        <translation>dieses System gibt keine Meldungen über Geräteänderungen</translation>
    </message>
    <message>
        <source>%1 of %2 pedal event(s) seen within %3 ms</source>
        <translation>%1 von %2 Pedal-Ereignis(sen) innerhalb von %3 ms gesehen</translation>
    </message>
    <message>
        <source>cannot write the output: %1</source>
        <translation>die Ausgabe kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>no keyboard layout &quot;%1&quot; here</source>
        <translation>keine Tastaturbelegung &quot;%1&quot; vorhanden</translation>
    </message>
    <message>
        <source>no command given (try --help)</source>
        <translation>kein Befehl angegeben (siehe --help)</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot; (commands: list, read, write, export, watch; try --help)</source>
        <translation>unbekannter Befehl &quot;%1&quot; (Befehle: list, read, write, export, watch; siehe --help)</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>unerwartetes Argument &quot;%1&quot;</translation>
    </message>
    <message>
        <source>more than one key combination given (quote names with blanks: &quot;Page Up&quot;)</source>
        <translation>mehr als eine Tastenkombination angegeben (Namen mit Leerzeichen in Anführungszeichen: &quot;Page Up&quot;)</translation>
    </message>
    <message>
        <source>option %1 is not known to &quot;%2&quot; (try --help)</source>
        <translation>Option %1 ist bei &quot;%2&quot; unbekannt (siehe --help)</translation>
    </message>
    <message>
        <source>option %1 takes no value</source>
        <translation>Option %1 nimmt keinen Wert</translation>
    </message>
    <message>
        <source>option %1 needs a value</source>
        <translation>Option %1 braucht einen Wert</translation>
    </message>
    <message>
        <source>--layout needs a layout name, e.g. &quot;de&quot;</source>
        <translation>--layout braucht einen Belegungsnamen, z. B. &quot;de&quot;</translation>
    </message>
    <message>
        <source>--file needs a file name</source>
        <translation>--file braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>--timeout must be a number of milliseconds, 1 to 600000</source>
        <translation>--timeout muss eine Anzahl Millisekunden sein, 1 bis 600000</translation>
    </message>
    <message>
        <source>--count must be a number from 1 to %1</source>
        <translation>--count muss eine Zahl von 1 bis %1 sein</translation>
    </message>
    <message>
        <source>--pedal must be 1, 2 or 3 (pedal numbers start at 1)</source>
        <translation>--pedal muss 1, 2 oder 3 sein (Pedalnummern beginnen bei 1)</translation>
    </message>
    <message>
        <source>give --serial or --path, not both</source>
        <translation>--serial oder --path angeben, nicht beides</translation>
    </message>
    <message>
        <source>write --file takes no --pedal and no key combination</source>
        <translation>write --file nimmt kein --pedal und keine Tastenkombination</translation>
    </message>
    <message>
        <source>write needs --pedal N (1 to 3) and a key combination, or --file</source>
        <translation>write braucht --pedal N (1 bis 3) und eine Tastenkombination, oder --file</translation>
    </message>
    <message>
        <source>write needs a key combination, e.g. &quot;Ctrl+Shift+A&quot; (&quot;none&quot; clears the pedal)</source>
        <translation>write braucht eine Tastenkombination, z. B. &quot;Ctrl+Shift+A&quot; (&quot;none&quot; leert das Pedal)</translation>
    </message>
    <message>
        <source>varnok-pedal - set up the three-pedal USB foot switch from the command line

Usage:
  varnok-pedal list [--serial S | --path P] [--timeout MS]
  varnok-pedal read [--serial S | --path P] [--count N] [--json] [--layout NAME] [--timeout MS]
  varnok-pedal write [--serial S | --path P] --pedal N &quot;KEYS&quot; [--layout NAME] [--verify] [--timeout MS]
  varnok-pedal write [--serial S | --path P] --file PROFILE.json [--verify] [--timeout MS]
  varnok-pedal export [--serial S | --path P] [--count N] [--file F] [--timeout MS]
  varnok-pedal watch [--count N] [--timeout MS]
  varnok-pedal --help
  (every command also takes --lang L)

Commands:
  list    the pedals found: path, serial, product, firmware version (or
          &quot;unknown&quot; when the pedal does not answer in time) and whether this
          user may open it
  read    every pedal&apos;s assignment by name and as bytes (modifier byte, then
          three key codes, e.g. &quot;Ctrl+Shift+A (03-04-00-00)&quot;)
  write   gives one pedal a key combination, or all pedals of a profile file;
          &quot;done&quot; is printed only when every report was written completely
  export  writes a profile file from the device (to stdout without --file):
          {&quot;pedals&quot;:[{&quot;pedal&quot;:1,&quot;keys&quot;:&quot;Ctrl+C&quot;,&quot;bytes&quot;:&quot;01-06-00-00&quot;},...]}
  watch   debugging aid: prints &quot;arrived &lt;path&gt;&quot; / &quot;removed &lt;path&gt;&quot; each time
          the device-change monitor and a rescan see a pedal come or go, until
          N such events (default 1) or the timeout (default 60000 ms)

Options:
  --serial S    choose the pedal with this serial number
  --path P      choose the pedal with this device path (as &quot;list&quot; shows it)
  --count N     read/export: pedals 1..N (1 to 3, default 3)
  --pedal N     the pedal to write; pedal numbers start at 1 (pedal 1 is the
                first pedal, index 0 on the device)
  --json        read: machine-readable output
  --verify      write: read the pedals back and compare (a key slot
                holding 00 or FF is &quot;no key&quot; either way)
  --file F      write: the profile to write; export: the file to create
                or replace (atomically; a symbolic link is followed);
                &quot;-&quot; is the standard input (write) or output (export)
  --timeout MS  how long to wait for the pedal&apos;s answers (default 2000)
  --layout NAME read/write: name the keys as the keyboard layout NAME labels
                them (an xkb layout name such as &quot;de&quot; or &quot;fr&quot;; on Windows a
                layout id such as &quot;00000407&quot;); the bytes stay the same
  --lang L      the language of the messages: &quot;de&quot;, &quot;zh_CN&quot;, or &quot;C&quot; for
                English (default: the system&apos;s; VARNOK_LANG=L does the same)

Key combinations: key names exactly as in the key table, case-sensitive,
joined by &quot;+&quot;: &quot;Ctrl+Shift+A&quot;, &quot;Alt+F4&quot;, &quot;Page Up&quot;, &quot;Right Ctrl+Num +&quot;.
Modifiers (Ctrl, Shift, Alt, Left Windows, Right Ctrl, Right Shift, Right Alt,
Right Windows) fold into the modifier byte; at most three other keys.
An empty text or &quot;none&quot; clears the pedal. A code without a name is written
by its number: &quot;Key 0x68&quot;. The names are the key table&apos;s (a US keyboard&apos;s)
whatever the machine&apos;s layout, so a script means the same keys everywhere;
with --layout the layout&apos;s names are accepted as well, and take precedence.
Profile files and read --json always use the key table&apos;s names.

Without --serial or --path the one pedal present is used; with several
present, choose one.

Exit codes:
  0  ok
  1  usage error
  2  no pedal found (or none with the given serial / path), the device
     library could not be loaded, the pedal went away during the command,
     or (watch) the system gives no device-change notifications
  3  several pedals found and none chosen (they are listed)
  4  access refused: run &quot;sudo scripts/install-udev-rule&quot; or install the
     program&apos;s package, then unplug and replug the pedal
  5  no answer within the timeout (watch: no event within the timeout)
  6  bad key name or bad profile file
  7  a write failed (the pedal and the reason are named; also when the
     export file or the standard output cannot be written)
  8  --verify found the pedal holding something else than was written
</source>
        <translation>varnok-pedal - den USB-Fußschalter mit drei Pedalen auf der Kommandozeile einrichten

Aufruf:
  varnok-pedal list [--serial S | --path P] [--timeout MS]
  varnok-pedal read [--serial S | --path P] [--count N] [--json] [--layout NAME] [--timeout MS]
  varnok-pedal write [--serial S | --path P] --pedal N &quot;TASTEN&quot; [--layout NAME] [--verify] [--timeout MS]
  varnok-pedal write [--serial S | --path P] --file PROFIL.json [--verify] [--timeout MS]
  varnok-pedal export [--serial S | --path P] [--count N] [--file F] [--timeout MS]
  varnok-pedal watch [--count N] [--timeout MS]
  varnok-pedal --help
  (jeder Befehl nimmt auch --lang L)

Befehle:
  list    die gefundenen Pedale: Pfad, Seriennummer, Produkt, Firmware-Version
          (&quot;unbekannt&quot;, wenn das Pedal nicht rechtzeitig antwortet) und ob
          dieser Benutzer es öffnen darf
  read    die Belegung jedes Pedals mit Namen und als Bytes (Modifier-Byte,
          dann drei Tastencodes, z. B. &quot;Strg+Umschalt+A (03-04-00-00)&quot;)
  write   gibt einem Pedal eine Tastenkombination, oder allen Pedalen einer
          Profildatei; &quot;fertig&quot; erscheint nur, wenn jeder Bericht vollständig
          geschrieben wurde
  export  schreibt eine Profildatei vom Gerät (ohne --file auf stdout):
          {&quot;pedals&quot;:[{&quot;pedal&quot;:1,&quot;keys&quot;:&quot;Ctrl+C&quot;,&quot;bytes&quot;:&quot;01-06-00-00&quot;},...]}
  watch   Hilfe bei der Fehlersuche: gibt &quot;arrived &lt;Pfad&gt;&quot; / &quot;removed &lt;Pfad&gt;&quot;
          aus, sooft der Geräteänderungs-Monitor und eine neue Suche ein Pedal
          kommen oder gehen sehen, bis N solche Ereignisse (Vorgabe 1) oder die
          Zeitgrenze (Vorgabe 60000 ms)

Optionen:
  --serial S    das Pedal mit dieser Seriennummer wählen
  --path P      das Pedal mit diesem Gerätepfad wählen (wie &quot;list&quot; ihn zeigt)
  --count N     read/export: die Pedale 1..N (1 bis 3, Vorgabe 3)
  --pedal N     das zu schreibende Pedal; Pedalnummern beginnen bei 1 (Pedal 1
                ist das erste Pedal, Index 0 im Gerät)
  --json        read: maschinenlesbare Ausgabe
  --verify      write: die Pedale zurücklesen und vergleichen (ein Tastenplatz
                mit 00 oder FF ist in beiden Fällen &quot;keine Taste&quot;)
  --file F      write: das zu schreibende Profil; export: die Datei, die
                angelegt oder (atomar) ersetzt wird; einem symbolischen Link
                wird gefolgt; &quot;-&quot; ist die Standardeingabe (write) oder
                -ausgabe (export)
  --timeout MS  wie lange auf die Antworten des Pedals gewartet wird
                (Vorgabe 2000)
  --layout NAME read/write: die Tasten so benennen, wie die Tastaturbelegung
                NAME sie beschriftet (ein xkb-Belegungsname wie &quot;de&quot; oder
                &quot;fr&quot;; unter Windows eine Belegungs-ID wie &quot;00000407&quot;); die
                Bytes bleiben dieselben
  --lang L      die Sprache der Meldungen: &quot;de&quot;, &quot;zh_CN&quot; oder &quot;C&quot; für
                Englisch (Vorgabe: die des Systems; VARNOK_LANG=L wirkt
                ebenso)

Tastenkombinationen: Tastennamen genau wie in der Tastentabelle, mit Groß-
und Kleinschreibung, verbunden durch &quot;+&quot;: &quot;Ctrl+Shift+A&quot;, &quot;Alt+F4&quot;,
&quot;Page Up&quot;, &quot;Right Ctrl+Num +&quot;. Auf Deutsch gelten auch die Namen der
Tastenkappen (&quot;Strg&quot;, &quot;Entf&quot;, &quot;Bild auf&quot;).
Modifier (Ctrl, Shift, Alt, Left Windows, Right Ctrl, Right Shift, Right Alt,
Right Windows) gehen in das Modifier-Byte ein; dazu höchstens drei andere
Tasten. Ein leerer Text oder &quot;none&quot; leert das Pedal. Ein Code ohne Namen wird
mit seiner Nummer geschrieben: &quot;Key 0x68&quot;. Die Namen der Tabelle (die einer
US-Tastatur) gelten unabhängig von der Belegung des Rechners, so meint ein
Skript überall dieselben Tasten; mit --layout werden auch die Namen der
Belegung angenommen, und sie haben Vorrang.
Profildateien und read --json verwenden immer die Namen der Tabelle.

Ohne --serial oder --path wird das eine vorhandene Pedal verwendet; sind
mehrere vorhanden, wählen Sie eines.

Exit-Codes:
  0  in Ordnung
  1  Aufruffehler
  2  kein Pedal gefunden (oder keines mit der angegebenen Seriennummer /
     dem Pfad), die Gerätebibliothek konnte nicht geladen werden, das Pedal
     ging während des Befehls verloren, oder (watch) das System meldet keine
     Geräteänderungen
  3  mehrere Pedale gefunden und keines gewählt (sie werden aufgelistet)
  4  Zugriff verweigert: &quot;sudo scripts/install-udev-rule&quot; ausführen oder das
     Paket des Programms installieren, dann das Pedal aus- und wieder
     einstecken
  5  keine Antwort innerhalb der Zeitgrenze (watch: kein Ereignis innerhalb
     der Zeitgrenze)
  6  falscher Tastenname oder falsche Profildatei
  7  ein Schreiben schlug fehl (Pedal und Grund werden genannt; auch, wenn
     die Exportdatei oder die Standardausgabe nicht geschrieben werden kann)
  8  --verify fand im Pedal etwas anderes als geschrieben wurde
</translation>
    </message>
    <message>
        <source>run &quot;sudo scripts/install-udev-rule&quot; (or install the program&apos;s package), then unplug and replug the pedal</source>
        <translation>&quot;sudo scripts/install-udev-rule&quot; ausführen (oder das Paket des Programms installieren), dann das Pedal aus- und wieder einstecken</translation>
    </message>
    <message>
        <source>close any other program that has the pedal open, then unplug and replug the pedal</source>
        <translation>jedes andere Programm schließen, das das Pedal geöffnet hat, dann das Pedal aus- und wieder einstecken</translation>
    </message>
    <message>
        <source>%1 (Win32 error %2)</source>
        <translation>%1 (Win32-Fehler %2)</translation>
    </message>
</context>
</TS>
