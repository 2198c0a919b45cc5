<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
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
        <translation>Nach Ausführung löschen</translation>
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
        <translation>Adresse der zu öffnenden Webseite samt Parametern eingeben. ( muss mit http:// oder ftp:// beginnen )</translation>
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
</context>
</TS>
