<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
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
        <translation>Das Programm läuft bereits. Sein Symbol ist im Infobereich zu finden;
ein Doppelklick darauf öffnet es.
Ist das Symbol im Infobereich nicht zu sehen, mit OK öffnen, sonst
Abbrechen wählen und im Infobereich doppelklicken.</translation>
    </message>
    <message>
        <source>Application running</source>
        <translation>Programm läuft bereits</translation>
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
</context>
</TS>
