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
</context>
</TS>
