<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AboutForm</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Velloran logo</source>
        <translation>Velloran-Logo</translation>
    </message>
    <message>
        <source>A personal task scheduler for alarms, memos and programs.</source>
        <translation>Ein persönlicher Aufgabenplaner für Wecker, Notizen und Programme.</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Velloran is provided as is, without warranty of any kind. Tasks run only while the computer is on and Velloran is running: do not rely on it alone for anything that must not be missed.</source>
        <translation>Velloran wird ohne Gewähr bereitgestellt. Aufgaben laufen nur, solange der Computer an ist und Velloran läuft: Verlassen Sie sich bei Wichtigem nicht allein darauf.</translation>
    </message>
</context>
<context>
    <name>AlarmClockForm</name>
    <message>
        <source>Alarm Clock</source>
        <translation>Wecker</translation>
    </message>
    <message>
        <source>Alarm clock</source>
        <translation>Wecker</translation>
    </message>
    <message>
        <source>Turn &amp;off alarm</source>
        <translation>&amp;Ausschalten</translation>
    </message>
    <message>
        <source>Snoozing</source>
        <translation>Schlummert</translation>
    </message>
    <message>
        <source>&amp;Snooze</source>
        <translation>&amp;Schlummern</translation>
    </message>
    <message>
        <source>Snooze time:</source>
        <translation>Weckpause:</translation>
    </message>
    <message>
        <source>5 min</source>
        <translation>5 min</translation>
    </message>
    <message>
        <source>10 min</source>
        <translation>10 min</translation>
    </message>
    <message>
        <source>15 min</source>
        <translation>15 min</translation>
    </message>
    <message>
        <source>20 min</source>
        <translation>20 min</translation>
    </message>
    <message>
        <source>25 min</source>
        <translation>25 min</translation>
    </message>
    <message>
        <source>30 min</source>
        <translation>30 min</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Notiz:</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Unknown option &quot;%1&quot;.</source>
        <translation>Unbekannte Option „%1“.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>The option %1 needs a value.</source>
        <translation>Die Option %1 braucht einen Wert.</translation>
    </message>
    <message>
        <source>The option %1 is given twice.</source>
        <translation>Die Option %1 ist doppelt angegeben.</translation>
    </message>
    <message>
        <source>The option %1 does not go with %2.</source>
        <translation>Die Option %1 passt nicht zu %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a kind of task.
Kinds: alarm, memo, program, web, audio, video, document, general.</source>
        <translation>„%1“ ist keine Art von Aufgabe.
Arten: alarm, memo, program, web, audio, video, document, general.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date and time written as YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS.</source>
        <translation>„%1“ ist kein Datum mit Uhrzeit in der Form JJJJ-MM-TT HH:MM oder JJJJ-MM-TT HH:MM:SS.</translation>
    </message>
    <message>
        <source>The option --at with the task&apos;s date and time is missing.</source>
        <translation>Die Option --at mit Datum und Uhrzeit der Aufgabe fehlt.</translation>
    </message>
    <message>
        <source>A task of the kind %1 needs --target.</source>
        <translation>Eine Aufgabe der Art %1 braucht --target.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a repeat.
Repeats: once, daily, weekly, monthly, yearly.</source>
        <translation>„%1“ ist keine Wiederholung.
Wiederholungen: once, daily, weekly, monthly, yearly.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a day.
Days: mon, tue, wed, thu, fri, sat, sun.</source>
        <translation>„%1“ ist kein Tag.
Tage: mon, tue, wed, thu, fri, sat, sun.</translation>
    </message>
    <message>
        <source>The text of %1 is longer than the %2 bytes that a task keeps.</source>
        <translation>Der Text von %1 ist länger als die %2 Bytes, die eine Aufgabe aufnimmt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a task id.</source>
        <translation>„%1“ ist keine Aufgabennummer.</translation>
    </message>
    <message>
        <source>No task has the id %1.</source>
        <translation>Keine Aufgabe hat die Nummer %1.</translation>
    </message>
    <message>
        <source>Usage: %1 [hide]
       %1 --help | --version
       %1 --list [--json]
       %1 --add KIND --at &quot;YYYY-MM-DD HH:MM[:SS]&quot; [options]
       %1 --remove ID | --enable ID | --disable ID
       %1 --new KIND

KIND: alarm, memo, program, web, audio, video, document, general
Options of --add:
  --note TEXT          the description; the memo&apos;s text
  --target PATH        the file, program or web address (not for alarm and memo)
  --args TEXT          the program&apos;s arguments
  --repeat REPEAT      once (the default), daily, weekly, monthly or yearly
  --days DAYS          the days of a daily task: mon,tue,wed,thu,fri,sat,sun (all by default)
  --run-if-missed      run it at the next start when it was missed
  --auto-delete        delete a task that runs once after it ran
  --disabled           add it switched off
  --sound FILE         the alarm&apos;s sound, a file in the sound folder

A running Velloran carries out each request; where none runs, the task file is changed directly.
Exit status: 0 done, 2 refused (bad arguments, a task Task Setup would refuse, an unknown id),
1 the task file could not be used.</source>
        <translation>Aufruf: %1 [hide]
        %1 --help | --version
        %1 --list [--json]
        %1 --add ART --at &quot;JJJJ-MM-TT HH:MM[:SS]&quot; [Optionen]
        %1 --remove NR | --enable NR | --disable NR
        %1 --new ART

ART: alarm, memo, program, web, audio, video, document, general
Optionen von --add:
  --note TEXT          die Beschreibung; der Text der Notiz
  --target PFAD        die Datei, das Programm oder die Webadresse (nicht für alarm und memo)
  --args TEXT          die Argumente des Programms
  --repeat TURNUS      once (Vorgabe), daily, weekly, monthly oder yearly
  --days TAGE          die Tage einer täglichen Aufgabe: mon,tue,wed,thu,fri,sat,sun (Vorgabe: alle)
  --run-if-missed      beim nächsten Start nachholen, wenn sie verpasst wurde
  --auto-delete        eine einmalige Aufgabe nach der Ausführung löschen
  --disabled           ausgeschaltet hinzufügen
  --sound DATEI        der Weckton, eine Datei im Ordner der Töne

Ein laufendes Velloran führt jede Anfrage aus; läuft keines, wird die Aufgabendatei direkt geändert.
Rückgabewert: 0 erledigt, 2 abgelehnt (falsche Argumente, eine Aufgabe, die „Aufgabe einrichten“ ablehnen würde, eine unbekannte Nummer),
1 die Aufgabendatei ließ sich nicht verwenden.</translation>
    </message>
    <message>
        <source>Another Velloran that this user cannot reach uses the task file &quot;%1&quot;.
Nothing was changed.</source>
        <translation>Ein anderes Velloran, das dieser Benutzer nicht erreicht, verwendet die Aufgabendatei „%1“.
Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The running Velloran did not answer.
The request may or may not have been carried out.</source>
        <translation>Das laufende Velloran hat nicht geantwortet.
Die Anfrage wurde vielleicht ausgeführt, vielleicht nicht.</translation>
    </message>
    <message>
        <source>%1
The task file &quot;%2&quot; cannot be locked, so it was not changed.</source>
        <translation>%1
Die Aufgabendatei „%2“ lässt sich nicht sperren und wurde daher nicht geändert.</translation>
    </message>
    <message>
        <source>The tasks could not be saved.
%1</source>
        <translation>Die Aufgaben konnten nicht gespeichert werden.
%1</translation>
    </message>
</context>
<context>
    <name>ExitForm</name>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Exiting Task Scheduler in:</source>
        <translation>Aufgabenplaner endet in:</translation>
    </message>
    <message>
        <source>&amp;OK ( 4 )</source>
        <translation>&amp;OK ( 4 )</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbruch</translation>
    </message>
</context>
<context>
    <name>FailureNotice</name>
    <message>
        <source>%1 is a Windows path, which names nothing on this computer.</source>
        <translation>%1 ist ein Windows-Pfad, der auf diesem Computer nichts bezeichnet.</translation>
    </message>
    <message>
        <source>The program %1 is not there.</source>
        <translation>Das Programm %1 ist nicht vorhanden.</translation>
    </message>
    <message>
        <source>The program %1 cannot be started.</source>
        <translation>Das Programm %1 kann nicht gestartet werden.</translation>
    </message>
    <message>
        <source>%1 cannot be opened: the desktop&apos;s opener (xdg-open) is not installed.</source>
        <translation>%1 kann nicht geöffnet werden: Das Öffnungsprogramm des Desktops (xdg-open) ist nicht installiert.</translation>
    </message>
    <message>
        <source>The desktop&apos;s opener did not understand %1.</source>
        <translation>Das Öffnungsprogramm des Desktops hat %1 nicht verstanden.</translation>
    </message>
    <message>
        <source>%1 is not there.</source>
        <translation>%1 ist nicht vorhanden.</translation>
    </message>
    <message>
        <source>No program on this computer opens %1.</source>
        <translation>Kein Programm auf diesem Computer öffnet %1.</translation>
    </message>
    <message>
        <source>The program that opens %1 reported a failure.</source>
        <translation>Das Programm, das %1 öffnet, hat einen Fehler gemeldet.</translation>
    </message>
    <message>
        <source>The task “%1” did nothing</source>
        <translation>Die Aufgabe „%1“ wurde nicht ausgeführt</translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>Maroon</source>
        <translation>Kastanienbraun</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Olive</source>
        <translation>Oliv</translation>
    </message>
    <message>
        <source>Navy</source>
        <translation>Marineblau</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Violett</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Blaugrün</translation>
    </message>
    <message>
        <source>Gray</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>Silver</source>
        <translation>Silber</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>Hellgrün</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Fuchsia</source>
        <translation>Magenta</translation>
    </message>
    <message>
        <source>Aqua</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Benutzerdefiniert</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>&amp;Color:</source>
        <translation>&amp;Farbe:</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>Cannot read &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot replace &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht ersetzt werden: %2</translation>
    </message>
    <message>
        <source>Cannot delete &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht gelöscht werden: %2</translation>
    </message>
    <message>
        <source>Cannot create folder &quot;%1&quot;: %2</source>
        <translation>Der Ordner „%1“ kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot open &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot lock &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht gesperrt werden: %2</translation>
    </message>
    <message>
        <source>Cannot record changes in &quot;%1&quot;: %2</source>
        <translation>Änderungen können nicht in „%1“ aufgezeichnet werden: %2</translation>
    </message>
</context>
<context>
    <name>MemoForm</name>
    <message>
        <source>Memo</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Note paper</source>
        <translation>Notizzettel</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
</context>
<context>
    <name>PreferencesForm</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Startup</source>
        <translation>Systemstart</translation>
    </message>
    <message>
        <source>Automaticaly start application in background when computer starts.</source>
        <translation>Beim Systemstart automatisch im Hintergrund starten.</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Caution: Turning this option off will prevent tasks from automaticaly running.</source>
        <translation>Achtung: Ist dies aus, werden Aufgaben nicht automatisch ausgeführt.</translation>
    </message>
    <message>
        <source>Alarm Clock default settings</source>
        <translation>Standardwerte für Wecker</translation>
    </message>
    <message>
        <source>Snooze time:</source>
        <translation>Weckpause:</translation>
    </message>
    <message>
        <source>5 min</source>
        <translation>5 min</translation>
    </message>
    <message>
        <source>10 min</source>
        <translation>10 min</translation>
    </message>
    <message>
        <source>15 min</source>
        <translation>15 min</translation>
    </message>
    <message>
        <source>20 min</source>
        <translation>20 min</translation>
    </message>
    <message>
        <source>25 min</source>
        <translation>25 min</translation>
    </message>
    <message>
        <source>30 min</source>
        <translation>30 min</translation>
    </message>
    <message>
        <source>Automaticaly turn off after:</source>
        <translation>Automatisch aus nach:</translation>
    </message>
    <message>
        <source>This only applies to the duration the alarm sounds. Hitting the snooze resets this counter.</source>
        <translation>Gilt nur, solange der Wecker klingelt. Schlummern setzt die Zeit zurück.</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Task View Window</source>
        <translation>Aufgabenliste</translation>
    </message>
    <message>
        <source>Sort by Date &amp;&amp; Time</source>
        <translation>Nach Datum ordnen</translation>
    </message>
    <message>
        <source>Date &amp; Time display</source>
        <translation>Datum &amp; Zeit</translation>
    </message>
    <message>
        <source>05/25/07 - 09:30am</source>
        <extracomment>The task list&apos;s short date display, as the list shows it</extracomment>
        <translation>05/25/07 - 09:30am</translation>
    </message>
    <message>
        <source>Fri, May 25, 2007 - 09:30am</source>
        <extracomment>The task list&apos;s long date display, as the list shows it</extracomment>
        <translation>Fr, Mai 25, 2007 - 09:30am</translation>
    </message>
    <message>
        <source>Memo default settings</source>
        <translation>Standardwerte für Notizen</translation>
    </message>
    <message>
        <source>Default font</source>
        <translation>Standardschriftart</translation>
    </message>
    <message>
        <source>Set font</source>
        <translation>Schriftart</translation>
    </message>
</context>
<context>
    <name>Registry</name>
    <message>
        <source>Invalid data type for &apos;%1&apos;</source>
        <translation>Ungültiger Datentyp für „%1“</translation>
    </message>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation>Daten für „%1“ konnten nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Failed to delete data for &apos;%1&apos;</source>
        <translation>Daten für „%1“ konnten nicht gelöscht werden</translation>
    </message>
</context>
<context>
    <name>SchedulerMainForm</name>
    <message>
        <source>New Task</source>
        <translation>Neue Aufgabe</translation>
    </message>
    <message>
        <source>Create Alarm Clock Task</source>
        <translation>Neue Aufgabe: Wecker</translation>
    </message>
    <message>
        <source>Create Memo Task</source>
        <translation>Neue Aufgabe: Notiz</translation>
    </message>
    <message>
        <source>Create Executable Task</source>
        <translation>Neue Aufgabe: Programm</translation>
    </message>
    <message>
        <source>Create Web Task</source>
        <translation>Neue Aufgabe: Webseite</translation>
    </message>
    <message>
        <source>Create Audio Task</source>
        <translation>Neue Aufgabe: Audio</translation>
    </message>
    <message>
        <source>Create Video Task</source>
        <translation>Neue Aufgabe: Video</translation>
    </message>
    <message>
        <source>Create Document Task</source>
        <translation>Neue Aufgabe: Dokument</translation>
    </message>
    <message>
        <source>Task list</source>
        <translation>Aufgabenliste</translation>
    </message>
    <message>
        <source>Edit current selection</source>
        <translation>Auswahl bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Toggle status of current selection</source>
        <translation>Status der Auswahl umschalten</translation>
    </message>
    <message>
        <source>E&amp;nable/Disable</source>
        <translation>&amp;Ein/Aus</translation>
    </message>
    <message>
        <source>Delete current selection</source>
        <translation>Auswahl löschen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Run application in the background - access through icon notification tray</source>
        <translation>Programm im Hintergrund ausführen - erreichbar über das Symbol im Infobereich</translation>
    </message>
    <message>
        <source>&amp;Run in background</source>
        <translation>Im Hinter&amp;grund</translation>
    </message>
    <message>
        <source>Main menu</source>
        <translation>Hauptmenü</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Tasks</source>
        <translation>&amp;Aufgaben</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;New Task</source>
        <translation>&amp;Neue Aufgabe</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>Ein&amp;stellungen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Alarm clock</source>
        <translation>&amp;Wecker</translation>
    </message>
    <message>
        <source>&amp;Memo</source>
        <translation>&amp;Notiz</translation>
    </message>
    <message>
        <source>&amp;Executable</source>
        <translation>&amp;Programm</translation>
    </message>
    <message>
        <source>&amp;Web page</source>
        <translation>W&amp;ebseite</translation>
    </message>
    <message>
        <source>A&amp;udio</source>
        <translation>&amp;Audio</translation>
    </message>
    <message>
        <source>&amp;Video</source>
        <translation>&amp;Video</translation>
    </message>
    <message>
        <source>&amp;Document</source>
        <translation>&amp;Dokument</translation>
    </message>
    <message>
        <source>&amp;Check for Update</source>
        <translation>Nach &amp;Updates suchen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Enable/Disable</source>
        <translation>Ein/Aus</translation>
    </message>
    <message>
        <source>&amp;Open Task Scheduler</source>
        <translation>Aufgabenplaner ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Create &amp;New Task</source>
        <translation>&amp;Neue Aufgabe</translation>
    </message>
    <message>
        <source>&amp;Exit Task Scheduler</source>
        <translation>Aufgabenplaner b&amp;eenden</translation>
    </message>
</context>
<context>
    <name>SecondStart</name>
    <message>
        <source>Application is already running. Look in the icon tray for the application
icon and double click on the icon to open.
If icon is not visable in the icon tray click OK to open, otherwise
select cancel and double click in icon tray to open.</source>
        <translation>Das Programm läuft bereits. Sein Symbol ist im Infobereich zu finden; ein Doppelklick darauf öffnet es.
Ist das Symbol nicht zu sehen, mit OK öffnen, sonst Abbrechen wählen und im Infobereich doppelklicken.</translation>
    </message>
    <message>
        <source>Application running</source>
        <translation>Programm läuft bereits</translation>
    </message>
    <message>
        <source>Another Velloran (process %2) uses the task file &quot;%1&quot; and carries out its tasks.
This Velloran does not start, so that no task runs twice.</source>
        <translation>Ein anderes Velloran (Prozess %2) verwendet die Aufgabendatei „%1“ und führt ihre Aufgaben aus.
Dieses Velloran startet nicht, damit keine Aufgabe doppelt ausgeführt wird.</translation>
    </message>
    <message>
        <source>Another Velloran uses the task file &quot;%1&quot; and carries out its tasks.
This Velloran does not start, so that no task runs twice.</source>
        <translation>Ein anderes Velloran verwendet die Aufgabendatei „%1“ und führt ihre Aufgaben aus.
Dieses Velloran startet nicht, damit keine Aufgabe doppelt ausgeführt wird.</translation>
    </message>
    <message>
        <source>%1
Velloran cannot tell whether another Velloran uses the task file &quot;%2&quot;. If one does, tasks may run twice.</source>
        <translation>%1
Velloran kann nicht feststellen, ob ein anderes Velloran die Aufgabendatei „%2“ verwendet. Falls ja, können Aufgaben doppelt ausgeführt werden.</translation>
    </message>
</context>
<context>
    <name>SetTaskForm</name>
    <message>
        <source>Task Setup</source>
        <translation>Aufgabe einrichten</translation>
    </message>
    <message>
        <source>Start Date &amp;&amp; Time</source>
        <translation>Startdatum &amp;&amp; -zeit</translation>
    </message>
    <message>
        <source>Start date</source>
        <translation>Startdatum</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Startzeit</translation>
    </message>
    <message>
        <source>Run Task:</source>
        <translation>Turnus:</translation>
    </message>
    <message>
        <source>Once</source>
        <translation>Einmal</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>Auto delete task from list</source>
        <translation>Automatisch aus Liste löschen</translation>
    </message>
    <message>
        <source>If a scheduled task time is missed, do you want to run it the next time the computer is turned on?</source>
        <translation>Soll eine verpasste Aufgabe beim nächsten Einschalten des Computers nachgeholt werden?</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Inaktiv</translation>
    </message>
    <message>
        <source>Select what days task will run</source>
        <translation>An welchen Tagen die Aufgabe läuft</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>So</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>Di</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>Mi</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>Do</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>Select type of task:</source>
        <translation>Art der Aufgabe wählen:</translation>
    </message>
    <message>
        <source>Alarm Clock</source>
        <translation>Wecker</translation>
    </message>
    <message>
        <source>Alarm sound</source>
        <translation>Weckton</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Display note:</source>
        <translation>Angezeigte Notiz:</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Type memo to be displayed.</source>
        <translation>Text der anzuzeigenden Notiz eingeben.</translation>
    </message>
    <message>
        <source>Set font</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Run Executable</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Type full path or browse for program to execute.</source>
        <translation>Vollständigen Pfad des auszuführenden Programms eingeben oder danach suchen.</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Suchen...</translation>
    </message>
    <message>
        <source>Parameters:</source>
        <translation>Parameter:</translation>
    </message>
    <message>
        <source>Command line arguments to pass to executable</source>
        <translation>Befehlszeilenargumente für das Programm</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>Open Webpage</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>Type the address of the web page to open. Include any parameters. ( must use http:// or ftp:// )</source>
        <translation>Adresse der zu öffnenden Webseite samt Parametern eingeben. (muss mit http:// oder ftp:// beginnen)</translation>
    </message>
    <message>
        <source>&amp;Verify</source>
        <translation>&amp;Prüfen</translation>
    </message>
    <message>
        <source>Play Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Type full path or browse for audio file to play.</source>
        <translation>Vollständigen Pfad der abzuspielenden Audiodatei eingeben oder danach suchen.</translation>
    </message>
    <message>
        <source>Play Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Type full path or browse for video file to play.</source>
        <translation>Vollständigen Pfad der abzuspielenden Videodatei eingeben oder danach suchen.</translation>
    </message>
    <message>
        <source>Open Document</source>
        <translation>Dokument</translation>
    </message>
    <message>
        <source>Type full path or browse for document to open.</source>
        <translation>Vollständigen Pfad des zu öffnenden Dokuments eingeben oder danach suchen.</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Type full path or browse for file to open.</source>
        <translation>Vollständigen Pfad der zu öffnenden Datei eingeben oder danach suchen.</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>TaskEditor</name>
    <message>
        <source>Start Date &amp; Time has elapsed.
You must set it for a future time.</source>
        <translation>Startdatum &amp; -zeit sind schon vorbei.
Bitte einen Zeitpunkt in der Zukunft wählen.</translation>
    </message>
    <message>
        <source>You selected to run this task Daily, but
did not select any days to run on.</source>
        <translation>Die Aufgabe soll täglich laufen, aber
es ist kein Tag dafür gewählt.</translation>
    </message>
    <message>
        <source>You must type a memo to be displayed.</source>
        <translation>Bitte den Text der Notiz eingeben.</translation>
    </message>
    <message>
        <source>%1
file not found.</source>
        <translation>%1
Datei nicht gefunden.</translation>
    </message>
    <message>
        <source>You must select a task type.</source>
        <translation>Bitte eine Art der Aufgabe wählen.</translation>
    </message>
    <message>
        <source>Must type a web address or file transfer protocol using http:// or ftp://
ex: http://www.example.com/</source>
        <translation>Bitte eine Web- oder FTP-Adresse mit http:// oder ftp:// eingeben
z. B.: http://www.example.com/</translation>
    </message>
</context>
<context>
    <name>TaskKinds</name>
    <message>
        <source>Alarm Clock</source>
        <translation>Wecker</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Executable</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Web Address</source>
        <translation>Webadresse</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>Dokument</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>All programs</source>
        <translation>Alle Programme</translation>
    </message>
    <message>
        <source>All audio files</source>
        <translation>Alle Audiodateien</translation>
    </message>
    <message>
        <source>All video files</source>
        <translation>Alle Videodateien</translation>
    </message>
    <message>
        <source>All documents</source>
        <translation>Alle Dokumente</translation>
    </message>
    <message>
        <source>Programs (*.exe;*.lnk;*.bat)|*.exe;*.lnk;*.bat</source>
        <translation>Programme (*.exe;*.lnk;*.bat)|*.exe;*.lnk;*.bat</translation>
    </message>
    <message>
        <source>Audio files (*.wma;*.mp3;*.wav;*.snd;*.mid;*.rmi;*.midi;*.au;*.aif;*.aifc;*aiff)|*.wma;*.mp3;*.wav;*.snd;*.mid;*.rmi;*.midi;*.au;*.aif;*.aifc;*aiff</source>
        <translation>Audiodateien (*.wma;*.mp3;*.wav;*.snd;*.mid;*.rmi;*.midi;*.au;*.aif;*.aifc;*aiff)|*.wma;*.mp3;*.wav;*.snd;*.mid;*.rmi;*.midi;*.au;*.aif;*.aifc;*aiff</translation>
    </message>
    <message>
        <source>Video files (*.mpeg;*.mpg;*.avi;*.wmv;*.mov;*.m1v;*.mp2;*.mpa;*.mpe)|*.mpeg;*.mpg;*.avi;*.wmv;*.mov;*.m1v;*.mp2;*.mpa;*.mpe</source>
        <translation>Videodateien (*.mpeg;*.mpg;*.avi;*.wmv;*.mov;*.m1v;*.mp2;*.mpa;*.mpe)|*.mpeg;*.mpg;*.avi;*.wmv;*.mov;*.m1v;*.mp2;*.mpa;*.mpe</translation>
    </message>
    <message>
        <source>Document and Text files (*.txt;*.doc;*.rtf;*.wri;*.wps;*.mcw)|*.txt;*.doc;*.rtf;*.wri;*.wps;*.mcw</source>
        <translation>Dokumente und Textdateien (*.txt;*.doc;*.rtf;*.wri;*.wps;*.mcw)|*.txt;*.doc;*.rtf;*.wri;*.wps;*.mcw</translation>
    </message>
    <message>
        <source>All files (*.*)|*.*</source>
        <translation>Alle Dateien (*.*)|*.*</translation>
    </message>
</context>
<context>
    <name>TaskListView</name>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>Aufgabe</translation>
    </message>
    <message>
        <source>Date &amp; Time</source>
        <translation>Datum &amp; Zeit</translation>
    </message>
    <message>
        <source>Run Task</source>
        <translation>Turnus</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
</context>
<context>
    <name>TaskNotice</name>
    <message>
        <source>Due %1</source>
        <translation>Fällig %1</translation>
    </message>
    <message>
        <source>Due %1 times since %2</source>
        <translation>%1-mal fällig seit %2</translation>
    </message>
</context>
<context>
    <name>TaskRows</name>
    <message>
        <source>Once</source>
        <translation>Einmal</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>weekly</source>
        <translation>wöchentl.</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Inaktiv</translation>
    </message>
</context>
<context>
    <name>TaskStore</name>
    <message>
        <source>The task file &quot;%1&quot; could not be read: %2.
Velloran leaves it as it is and starts without its tasks. Tasks you create or change now are saved beside it.</source>
        <translation>Die Aufgabendatei „%1“ konnte nicht gelesen werden: %2.
Velloran lässt sie unverändert und startet ohne ihre Aufgaben. Aufgaben, die Sie jetzt anlegen oder ändern, werden daneben gespeichert.</translation>
    </message>
    <message>
        <source>they could not be read (%1)</source>
        <translation>sie nicht gelesen werden konnten (%1)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has been replaced since</source>
        <translation>„%1“ inzwischen ersetzt wurde</translation>
    </message>
    <message>
        <source>they do not fit &quot;%1&quot;</source>
        <translation>sie nicht zu „%1“ passen</translation>
    </message>
    <message>
        <source>Velloran did not end normally last time. The changes made to your tasks since they were last saved have been recovered.</source>
        <translation>Velloran wurde beim letzten Mal nicht normal beendet. Die seit dem letzten Speichern an Ihren Aufgaben vorgenommenen Änderungen wurden wiederhergestellt.</translation>
    </message>
    <message>
        <source>Changes to your tasks cannot be recorded for recovery after a crash: %1.
They are kept when Velloran saves your tasks.</source>
        <translation>Änderungen an Ihren Aufgaben können nicht für eine Wiederherstellung nach einem Absturz aufgezeichnet werden: %1.
Sie bleiben erhalten, wenn Velloran Ihre Aufgaben speichert.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be read when Velloran started, so it is left as it was. Your tasks were saved to &quot;%2&quot;.</source>
        <translation>„%1“ konnte beim Start von Velloran nicht gelesen werden und bleibt daher unverändert. Ihre Aufgaben wurden in „%2“ gespeichert.</translation>
    </message>
    <message>
        <source>%1
They were saved to &quot;%2&quot;.</source>
        <translation>%1
Sie wurden in „%2“ gespeichert.</translation>
    </message>
    <message>
        <source>%1
Nor could they be saved beside it: %2</source>
        <translation>%1
Auch daneben konnten sie nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was changed by another program while Velloran ran. That version is kept as &quot;%2&quot;. Velloran&apos;s tasks were saved in its place.</source>
        <translation>„%1“ wurde von einem anderen Programm geändert, während Velloran lief. Diese Fassung ist als „%2“ aufbewahrt. Die Aufgaben von Velloran wurden an ihrer Stelle gespeichert.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was changed by another program while Velloran ran. No copy of that version could be kept: %2. Velloran&apos;s tasks were saved in its place.</source>
        <translation>„%1“ wurde von einem anderen Programm geändert, während Velloran lief. Eine Kopie dieser Fassung konnte nicht aufbewahrt werden: %2. Die Aufgaben von Velloran wurden an ihrer Stelle gespeichert.</translation>
    </message>
    <message>
        <source>they could not be moved to &quot;%1&quot; (%2)</source>
        <translation>sie konnten nicht nach „%1“ verschoben werden (%2)</translation>
    </message>
    <message>
        <source>Changes recorded by an earlier run of Velloran were not applied, because %1. Tasks added, edited or deleted in that run after its last save are as they were before, and tasks that ran in it may run again.</source>
        <translation>Änderungen aus einem früheren Lauf von Velloran wurden nicht übernommen, weil %1. Aufgaben, die in diesem Lauf nach dem letzten Speichern hinzugefügt, bearbeitet oder gelöscht wurden, sind wie zuvor, und Aufgaben, die darin ausgeführt wurden, können erneut ausgeführt werden.</translation>
    </message>
    <message>
        <source>%1
The changes are kept in &quot;%2&quot;.</source>
        <translation>%1
Die Änderungen sind in „%2“ aufbewahrt.</translation>
    </message>
    <message>
        <source>%1
The changes are still in &quot;%2&quot; (%3).</source>
        <translation>%1
Die Änderungen sind weiterhin in „%2“ (%3).</translation>
    </message>
    <message>
        <source>Velloran did not end normally last time, and the record of the changes made to your tasks since they were last saved is damaged. The changes recorded before the damage have been recovered; those after it are lost: tasks added, edited or deleted then are as they were before, and tasks that ran then may run again.</source>
        <translation>Velloran wurde beim letzten Mal nicht normal beendet, und die Aufzeichnung der Änderungen an Ihren Aufgaben seit dem letzten Speichern ist beschädigt. Die vor der Beschädigung aufgezeichneten Änderungen wurden wiederhergestellt; die danach sind verloren: Aufgaben, die danach hinzugefügt, bearbeitet oder gelöscht wurden, sind wie zuvor, und Aufgaben, die danach ausgeführt wurden, können erneut ausgeführt werden.</translation>
    </message>
    <message>
        <source>Velloran did not end normally last time, and the record of the changes made to your tasks since they were last saved is damaged, so none of them could be recovered: tasks added, edited or deleted since then are as they were at that save, and tasks that ran since then may run again.</source>
        <translation>Velloran wurde beim letzten Mal nicht normal beendet, und die Aufzeichnung der Änderungen an Ihren Aufgaben seit dem letzten Speichern ist beschädigt, sodass keine davon wiederhergestellt werden konnte: Aufgaben, die seitdem hinzugefügt, bearbeitet oder gelöscht wurden, sind wie beim letzten Speichern, und Aufgaben, die seitdem ausgeführt wurden, können erneut ausgeführt werden.</translation>
    </message>
    <message>
        <source>%1
The damaged record &quot;%2&quot; is kept as &quot;%3&quot;.</source>
        <translation>%1
Die beschädigte Aufzeichnung „%2“ ist als „%3“ aufbewahrt.</translation>
    </message>
    <message>
        <source>%1
No copy of the damaged record &quot;%2&quot; could be kept (%3); it is left as it is.</source>
        <translation>%1
Von der beschädigten Aufzeichnung „%2“ konnte keine Kopie aufbewahrt werden (%3); sie bleibt, wie sie ist.</translation>
    </message>
    <message numerus="yes">
        <source>The last task in &quot;%1&quot; is incomplete (%n byte(s)) and could not be read; the other tasks were loaded.
The file as it was is kept as &quot;%2&quot;.</source>
        <translation>
            <numerusform>Die letzte Aufgabe in „%1“ ist unvollständig (%n Byte) und konnte nicht gelesen werden; die übrigen Aufgaben wurden geladen.
Die Datei im bisherigen Zustand ist als „%2“ aufbewahrt.</numerusform>
            <numerusform>Die letzte Aufgabe in „%1“ ist unvollständig (%n Bytes) und konnte nicht gelesen werden; die übrigen Aufgaben wurden geladen.
Die Datei im bisherigen Zustand ist als „%2“ aufbewahrt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The last task in &quot;%1&quot; is incomplete (%n byte(s)) and could not be read; the other tasks were loaded.
No copy of the file as it was could be kept: %2.</source>
        <translation>
            <numerusform>Die letzte Aufgabe in „%1“ ist unvollständig (%n Byte) und konnte nicht gelesen werden; die übrigen Aufgaben wurden geladen.
Eine Kopie der Datei im bisherigen Zustand konnte nicht aufbewahrt werden: %2.</numerusform>
            <numerusform>Die letzte Aufgabe in „%1“ ist unvollständig (%n Bytes) und konnte nicht gelesen werden; die übrigen Aufgaben wurden geladen.
Eine Kopie der Datei im bisherigen Zustand konnte nicht aufbewahrt werden: %2.</numerusform>
        </translation>
    </message>
    <message>
        <source>The tasks of &quot;%1&quot; are shown, but changes to them cannot be saved. Velloran tries again at the next start.</source>
        <translation>Die Aufgaben aus „%1“ werden angezeigt, aber Änderungen daran können nicht gespeichert werden. Velloran versucht es beim nächsten Start erneut.</translation>
    </message>
    <message>
        <source>Tasks you create cannot be saved. Velloran tries again at the next start.</source>
        <translation>Aufgaben, die Sie anlegen, können nicht gespeichert werden. Velloran versucht es beim nächsten Start erneut.</translation>
    </message>
    <message>
        <source>Velloran may not write to its program folder, and your tasks could not be kept in &quot;%1&quot;:
%2
%3</source>
        <translation>Velloran darf nicht in seinen Programmordner schreiben, und Ihre Aufgaben konnten nicht in „%1“ abgelegt werden:
%2
%3</translation>
    </message>
    <message>
        <source>Your tasks could not be saved to &quot;%1&quot; when Velloran last ran. The changes made since they were last saved have been recovered and are saved at the next save; a copy of your tasks as they were then is in &quot;%2&quot;.</source>
        <translation>Ihre Aufgaben konnten beim letzten Lauf von Velloran nicht in „%1“ gespeichert werden. Die seit dem letzten Speichern vorgenommenen Änderungen wurden wiederhergestellt und werden beim nächsten Speichern gesichert; eine Kopie Ihrer Aufgaben in dem damaligen Stand liegt in „%2“.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was written before your tasks were last saved, so it is out of date: restoring from it would bring back tasks deleted since. It has been renamed to &quot;%2&quot;.</source>
        <translation>„%1“ wurde vor dem letzten Speichern Ihrer Aufgaben geschrieben und ist daher veraltet: Eine Wiederherstellung daraus brächte seitdem gelöschte Aufgaben zurück. Die Datei wurde in „%2“ umbenannt.</translation>
    </message>
</context>
<context>
    <name>velloran::AboutForm</name>
    <message>
        <source>Velloran (vesion %1)</source>
        <extracomment>%1 is the program&apos;s version</extracomment>
        <translation>Velloran (Version %1)</translation>
    </message>
</context>
<context>
    <name>velloran::AlarmClockForm</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Schlummern</translation>
    </message>
    <message>
        <source>Turn off alarm</source>
        <translation>Wecker ausschalten</translation>
    </message>
</context>
<context>
    <name>velloran::ExitForm</name>
    <message>
        <source>&amp;OK ( %1 )</source>
        <translation>&amp;OK ( %1 )</translation>
    </message>
</context>
<context>
    <name>velloran::GuardedApplication</name>
    <message>
        <source>An unknown error has occurred.</source>
        <translation>Ein unbekannter Fehler ist aufgetreten.</translation>
    </message>
</context>
<context>
    <name>velloran::MemoForm</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Notiz</translation>
    </message>
</context>
<context>
    <name>velloran::PreferencesForm</name>
    <message>
        <source>Automatically turn off after</source>
        <translation>Automatisch aus nach</translation>
    </message>
</context>
<context>
    <name>velloran::SchedulerMainForm</name>
    <message>
        <source>Velloran - right click for options</source>
        <translation>Velloran - Rechtsklick für Optionen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>This will completely close the application. No scheduled tasks will be able to run.
 Are you sure you want to exit?</source>
        <translation>Das Programm wird ganz beendet. Geplante Aufgaben werden dann nicht mehr ausgeführt.
Wirklich beenden?</translation>
    </message>
    <message>
        <source>Your tasks could not be saved.
</source>
        <translation>Ihre Aufgaben konnten nicht gespeichert werden.
</translation>
    </message>
    <message>
        <source>• &quot;%1&quot;%2, due %3</source>
        <translation>• „%1“%2, fällig %3</translation>
    </message>
    <message>
        <source>Velloran did not end normally last time, while it was starting the tasks below. They may not have run, and Velloran does not start them again:

%1</source>
        <translation>Velloran wurde beim letzten Mal nicht normal beendet, während es die folgenden Aufgaben startete. Sie wurden möglicherweise nicht ausgeführt, und Velloran startet sie nicht erneut:

%1</translation>
    </message>
</context>
<context>
    <name>velloran::SetTaskForm</name>
    <message>
        <source>&quot;%1&quot; is not a valid date.
The start date is still %2.</source>
        <translation>„%1“ ist kein gültiges Datum.
Das Startdatum bleibt %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid time.
The start time is still %2.</source>
        <translation>„%1“ ist keine gültige Uhrzeit.
Die Startzeit bleibt %2.</translation>
    </message>
    <message>
        <source>The tasks could not be saved.
%1</source>
        <translation>Die Aufgaben konnten nicht gespeichert werden.
%1</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>The task being edited is no longer in the list: it was deleted meanwhile.
Save it as a new task?</source>
        <translation>Die bearbeitete Aufgabe ist nicht mehr in der Liste: Sie wurde inzwischen gelöscht.
Als neue Aufgabe speichern?</translation>
    </message>
</context>
<context>
    <name>velloran::SplashForm</name>
    <message>
        <source>Velloran is starting</source>
        <translation>Velloran startet</translation>
    </message>
    <message>
        <source>Personal task scheduler</source>
        <translation>Persönlicher Aufgabenplaner</translation>
    </message>
</context>
</TS>
