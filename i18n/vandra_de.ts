<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AtomicFile</name>
    <message>
        <source>Cannot write %1: %2.</source>
        <translation>%1 kann nicht geschrieben werden: %2.</translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
</context>
<context>
    <name>HelperOptions</name>
    <message>
        <source>--%1 needs a positive number of seconds</source>
        <translation>--%1 braucht eine positive Zahl von Sekunden</translation>
    </message>
    <message>
        <source>Listen at PATH.</source>
        <translation>An PATH lauschen.</translation>
    </message>
    <message>
        <source>Prefix every location with R.</source>
        <translation>Jedem Ort R voranstellen.</translation>
    </message>
    <message>
        <source>End after SECONDS without clients.</source>
        <translation>Nach SECONDS Sekunden ohne Clients enden.</translation>
    </message>
    <message>
        <source>Stop a test run after SECONDS.</source>
        <translation>Einen Testlauf nach SECONDS Sekunden anhalten.</translation>
    </message>
    <message>
        <source>Give up a log query after SECONDS.</source>
        <translation>Eine Protokollabfrage nach SECONDS Sekunden aufgeben.</translation>
    </message>
    <message>
        <source>Close a client that takes SECONDS to send one request.</source>
        <translation>Einen Client schließen, der SECONDS Sekunden für eine Anfrage braucht.</translation>
    </message>
    <message>
        <source>unexpected argument %1</source>
        <translation>unerwartetes Argument %1</translation>
    </message>
</context>
<context>
    <name>JobDiff</name>
    <message>
        <source>Saving changes nothing.</source>
        <translation>Speichern ändert nichts.</translation>
    </message>
    <message>
        <source>Saving changes only the layout of the file.</source>
        <translation>Speichern ändert nur die Gestaltung der Datei.</translation>
    </message>
    <message>
        <source>Saving changes %1.</source>
        <translation>Speichern ändert %1.</translation>
    </message>
    <message>
        <source>Of these, you did not edit %1.</source>
        <translation>Davon haben Sie %1 nicht bearbeitet.</translation>
    </message>
</context>
<context>
    <name>JobDoctor</name>
    <message>
        <source>the text “%1”</source>
        <translation>der Text „%1“</translation>
    </message>
    <message>
        <source>true</source>
        <translation>wahr</translation>
    </message>
    <message>
        <source>false</source>
        <translation>falsch</translation>
    </message>
    <message>
        <source>the number %1</source>
        <translation>die Zahl %1</translation>
    </message>
    <message>
        <source>a date</source>
        <translation>ein Datum</translation>
    </message>
    <message>
        <source>data</source>
        <translation>Daten</translation>
    </message>
    <message>
        <source>a list</source>
        <translation>eine Liste</translation>
    </message>
    <message>
        <source>a dictionary</source>
        <translation>ein Wörterbuch</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>nichts</translation>
    </message>
    <message>
        <source>%1 %2 is not between %3 and %4</source>
        <translation>%1 %2 liegt nicht zwischen %3 und %4</translation>
    </message>
    <message>
        <source>month %1 has no day %2</source>
        <translation>Monat %1 hat keinen Tag %2</translation>
    </message>
    <message>
        <source>Rename it to %1</source>
        <translation>In %1 umbenennen</translation>
    </message>
    <message>
        <source>Make it %1</source>
        <translation>Auf %1 setzen</translation>
    </message>
    <message>
        <source>%1 must be %2, but it is %3.</source>
        <translation>%1 muss %2 sein, ist aber %3.</translation>
    </message>
    <message>
        <source>launchd does not know the key %1 and ignores it.</source>
        <translation>launchd kennt den Schlüssel %1 nicht und ignoriert ihn.</translation>
    </message>
    <message>
        <source>launchd does not know the key %1, a misspelling of %2, and ignores it.</source>
        <translation>launchd kennt den Schlüssel %1, eine falsche Schreibweise von %2, nicht und ignoriert ihn.</translation>
    </message>
    <message>
        <source>launchd does not know the key %1 and ignores it; it is probably meant to be %2.</source>
        <translation>launchd kennt den Schlüssel %1 nicht und ignoriert ihn; gemeint ist wahrscheinlich %2.</translation>
    </message>
    <message>
        <source>The label %1 differs from the file name %2, so tools that go by one will not find the job by the other.</source>
        <translation>Die Kennung %1 weicht vom Dateinamen %2 ab; Werkzeuge, die sich nach dem einen richten, finden den Job über das andere nicht.</translation>
    </message>
    <message>
        <source>Label it %1</source>
        <translation>Kennung %1 verwenden</translation>
    </message>
    <message>
        <source>Run it every %1 seconds</source>
        <translation>Alle %1 Sekunden ausführen</translation>
    </message>
    <message>
        <source>The calendar entry %1 never fires: %2.</source>
        <translation>Der Kalendereintrag %1 löst nie aus: %2.</translation>
    </message>
    <message>
        <source>The schedule never matters: KeepAlive keeps the job running all the time.</source>
        <translation>Der Zeitplan spielt keine Rolle: KeepAlive hält den Job ständig am Laufen.</translation>
    </message>
    <message>
        <source>Nothing ever starts the job: it does not run at load and has no schedule, keep-alive or other trigger.</source>
        <translation>Nichts startet den Job jemals: Er läuft nicht beim Laden und hat weder Zeitplan noch KeepAlive noch einen anderen Auslöser.</translation>
    </message>
    <message>
        <source>Run it at load</source>
        <translation>Beim Laden ausführen</translation>
    </message>
    <message>
        <source>%1 exits at once, and KeepAlive restarts it every time: a loop that launchd slows to one start every %2 seconds.</source>
        <translation>%1 beendet sich sofort, und KeepAlive startet es jedes Mal neu: eine Schleife, die launchd auf einen Start alle %2 Sekunden bremst.</translation>
    </message>
    <message>
        <source>Run it once at load instead</source>
        <translation>Stattdessen einmal beim Laden ausführen</translation>
    </message>
    <message>
        <source>The folder %1 does not exist, so launchd cannot start the job with its output there.</source>
        <translation>Der Ordner %1 existiert nicht, daher kann launchd den Job mit seiner Ausgabe dort nicht starten.</translation>
    </message>
    <message>
        <source>The job&apos;s user cannot write %1, so launchd cannot start the job with its output there.</source>
        <translation>Der Benutzer des Jobs kann %1 nicht schreiben, daher kann launchd den Job mit seiner Ausgabe dort nicht starten.</translation>
    </message>
    <message>
        <source>The working folder %1 does not exist, so launchd cannot start the job.</source>
        <translation>Der Arbeitsordner %1 existiert nicht, daher kann launchd den Job nicht starten.</translation>
    </message>
    <message>
        <source>An agent always runs as the user who is logged in, so launchd ignores its UserName.</source>
        <translation>Ein Agent läuft immer als der angemeldete Benutzer, daher ignoriert launchd seinen UserName.</translation>
    </message>
    <message>
        <source>Remove UserName</source>
        <translation>UserName entfernen</translation>
    </message>
    <message>
        <source>There is no user named %1 on this machine, so launchd cannot run the job as that user.</source>
        <translation>Auf diesem Rechner gibt es keinen Benutzer namens %1, daher kann launchd den Job nicht als dieser Benutzer ausführen.</translation>
    </message>
    <message>
        <source>launchd has the job loaded, but its file disables it, so it will not be loaded again at the next start.</source>
        <translation>launchd hat den Job geladen, aber seine Datei deaktiviert ihn; beim nächsten Start wird er daher nicht wieder geladen.</translation>
    </message>
    <message>
        <source>Enable it in the file</source>
        <translation>In der Datei aktivieren</translation>
    </message>
    <message>
        <source>The file enables the job, but launchd has not loaded it, so it does not run until it is loaded.</source>
        <translation>Die Datei aktiviert den Job, aber launchd hat ihn nicht geladen; er läuft daher erst, wenn er geladen ist.</translation>
    </message>
    <message>
        <source>The job last exited with status %1.</source>
        <translation>Der Job wurde zuletzt mit dem Status %1 beendet.</translation>
    </message>
    <message>
        <source>user %1</source>
        <translation>Benutzer %1</translation>
    </message>
    <message>
        <source>The file cannot be read as a property list: %1</source>
        <translation>Die Datei kann nicht als Eigenschaftsliste gelesen werden: %1</translation>
    </message>
    <message>
        <source>The file holds %1, not a dictionary, so it is no job.</source>
        <translation>Die Datei enthält %1, kein Wörterbuch, und ist daher kein Job.</translation>
    </message>
    <message>
        <source>The job has no Label, so launchd refuses it.</source>
        <translation>Der Job hat kein Label, daher lehnt launchd ihn ab.</translation>
    </message>
    <message>
        <source>The file belongs to %1, and launchd refuses a daemon whose file root does not own.</source>
        <translation>Die Datei gehört %1, und launchd lehnt einen Daemon ab, dessen Datei nicht root gehört.</translation>
    </message>
    <message>
        <source>Users other than its owner may change the file, and launchd refuses a daemon whose file is group- or world-writable.</source>
        <translation>Auch andere Benutzer als der Eigentümer dürfen die Datei ändern, und launchd lehnt einen Daemon ab, dessen Datei für die Gruppe oder alle beschreibbar ist.</translation>
    </message>
    <message>
        <source>The job has neither Program nor ProgramArguments, so launchd has nothing to run.</source>
        <translation>Der Job hat weder Program noch ProgramArguments, daher hat launchd nichts auszuführen.</translation>
    </message>
    <message>
        <source>The program %1 is taken as written: launchd expands neither ~ nor $VARIABLES.</source>
        <translation>Das Programm %1 wird wörtlich genommen: launchd erweitert weder ~ noch $VARIABLEN.</translation>
    </message>
    <message>
        <source>Use %1</source>
        <translation>%1 verwenden</translation>
    </message>
    <message>
        <source>launchd looks for %1 only in %2, but it is in %3.</source>
        <translation>launchd sucht %1 nur in %2, es liegt aber in %3.</translation>
    </message>
    <message>
        <source>No program named %1 is in launchd&apos;s search path %2.</source>
        <translation>Im Suchpfad %2 von launchd gibt es kein Programm namens %1.</translation>
    </message>
    <message>
        <source>The program %1 does not exist.</source>
        <translation>Das Programm %1 existiert nicht.</translation>
    </message>
    <message>
        <source>%1 is a folder, not a program.</source>
        <translation>%1 ist ein Ordner, kein Programm.</translation>
    </message>
    <message>
        <source>The program %1 is not executable, so the system cannot start it.</source>
        <translation>Das Programm %1 ist nicht ausführbar, daher kann das System es nicht starten.</translation>
    </message>
    <message>
        <source>%1 is a script without a #! line, so the system cannot start it.</source>
        <translation>%1 ist ein Skript ohne #!-Zeile, daher kann das System es nicht starten.</translation>
    </message>
    <message>
        <source>The script %1 names the interpreter %2, which does not exist.</source>
        <translation>Das Skript %1 nennt den Interpreter %2, der nicht existiert.</translation>
    </message>
    <message>
        <source>Expand it</source>
        <translation>Erweitern</translation>
    </message>
    <message>
        <source>The argument %1 reaches the program as written: launchd expands neither ~ nor $VARIABLES.</source>
        <translation>Das Argument %1 erreicht das Programm wörtlich: launchd erweitert weder ~ noch $VARIABLEN.</translation>
    </message>
    <message>
        <source>The path %1 is taken as written: launchd expands neither ~ nor $VARIABLES.</source>
        <translation>Der Pfad %1 wird wörtlich genommen: launchd erweitert weder ~ noch $VARIABLEN.</translation>
    </message>
    <message>
        <source>Run it with %1</source>
        <translation>Mit %1 ausführen</translation>
    </message>
    <message numerus="yes">
        <source>An interval of %n seconds is shorter than launchd allows: it starts a job at most once every %1 seconds.</source>
        <translation>
            <numerusform>Ein Intervall von %n Sekunde ist kürzer, als launchd erlaubt: es startet einen Job höchstens alle %1 Sekunden.</numerusform>
            <numerusform>Ein Intervall von %n Sekunden ist kürzer, als launchd erlaubt: es startet einen Job höchstens alle %1 Sekunden.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>KeepAliveText</name>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
    <message>
        <source>no (KeepAlive is %1)</source>
        <translation>nein (KeepAlive ist %1)</translation>
    </message>
    <message>
        <source>yes, %1</source>
        <translation>ja, %1</translation>
    </message>
    <message>
        <source>after a successful exit</source>
        <translation>nach einem erfolgreichen Beenden</translation>
    </message>
    <message>
        <source>after a failed exit</source>
        <translation>nach einem fehlgeschlagenen Beenden</translation>
    </message>
    <message>
        <source>after a crash</source>
        <translation>nach einem Absturz</translation>
    </message>
    <message>
        <source>after an exit without a crash</source>
        <translation>nach einem Beenden ohne Absturz</translation>
    </message>
    <message>
        <source>while the network is up</source>
        <translation>solange das Netzwerk verfügbar ist</translation>
    </message>
    <message>
        <source>while the network is down</source>
        <translation>solange das Netzwerk nicht verfügbar ist</translation>
    </message>
    <message>
        <source>once it was started on demand</source>
        <translation>nachdem er bei Bedarf gestartet wurde</translation>
    </message>
    <message>
        <source>before it was started on demand</source>
        <translation>bevor er bei Bedarf gestartet wurde</translation>
    </message>
    <message>
        <source>while %1 exists</source>
        <translation>solange %1 existiert</translation>
    </message>
    <message>
        <source>while %1 does not exist</source>
        <translation>solange %1 nicht existiert</translation>
    </message>
    <message>
        <source>while job %1 is loaded</source>
        <translation>solange Job %1 geladen ist</translation>
    </message>
    <message>
        <source>while job %1 is not loaded</source>
        <translation>solange Job %1 nicht geladen ist</translation>
    </message>
    <message>
        <source>while job %1 runs</source>
        <translation>solange Job %1 läuft</translation>
    </message>
    <message>
        <source>while job %1 does not run</source>
        <translation>solange Job %1 nicht läuft</translation>
    </message>
</context>
<context>
    <name>KnownKeys</name>
    <message>
        <source>a text</source>
        <translation>ein Text</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>wahr oder falsch</translation>
    </message>
    <message>
        <source>a whole number</source>
        <translation>eine ganze Zahl</translation>
    </message>
    <message>
        <source>a list of texts</source>
        <translation>eine Liste von Texten</translation>
    </message>
    <message>
        <source>a text or a list of texts</source>
        <translation>ein Text oder eine Liste von Texten</translation>
    </message>
    <message>
        <source>a number</source>
        <translation>eine Zahl</translation>
    </message>
    <message>
        <source>a dictionary</source>
        <translation>ein Wörterbuch</translation>
    </message>
    <message>
        <source>true, false or a dictionary of conditions</source>
        <translation>wahr, falsch oder ein Wörterbuch von Bedingungen</translation>
    </message>
    <message>
        <source>a dictionary or a list of dictionaries of whole numbers</source>
        <translation>ein Wörterbuch oder eine Liste von Wörterbüchern mit ganzen Zahlen</translation>
    </message>
</context>
<context>
    <name>LaunchOptions</name>
    <message>
        <source>An editor of launchd background jobs.</source>
        <translation>Ein Editor für Hintergrund-Jobs von launchd.</translation>
    </message>
    <message>
        <source>A job URL to open.</source>
        <translation>Eine Job-URL, die geöffnet werden soll.</translation>
    </message>
    <message>
        <source>Work on the machine under this folder.</source>
        <translation>Auf dem Rechner unter diesem Ordner arbeiten.</translation>
    </message>
</context>
<context>
    <name>Notices</name>
    <message>
        <source>user agent</source>
        <translation>Benutzer-Agent</translation>
    </message>
    <message>
        <source>local agent</source>
        <translation>lokaler Agent</translation>
    </message>
    <message>
        <source>local daemon</source>
        <translation>lokaler Daemon</translation>
    </message>
    <message>
        <source>login item</source>
        <translation>Anmeldeobjekt</translation>
    </message>
    <message>
        <source>local startup item</source>
        <translation>lokales Startobjekt</translation>
    </message>
    <message>
        <source>system agent</source>
        <translation>System-Agent</translation>
    </message>
    <message>
        <source>system daemon</source>
        <translation>System-Daemon</translation>
    </message>
    <message>
        <source>system startup item</source>
        <translation>System-Startobjekt</translation>
    </message>
    <message numerus="yes">
        <source>And %n more.</source>
        <translation>
            <numerusform>Und %n weiterer.</numerusform>
            <numerusform>Und %n weitere.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n jobs changed</source>
        <translation>
            <numerusform>%n Job geändert</numerusform>
            <numerusform>%n Jobs geändert</numerusform>
        </translation>
    </message>
    <message>
        <source>Job added</source>
        <translation>Job hinzugefügt</translation>
    </message>
    <message>
        <source>Job changed</source>
        <translation>Job geändert</translation>
    </message>
    <message>
        <source>Job removed</source>
        <translation>Job entfernt</translation>
    </message>
    <message>
        <source>Job enabled</source>
        <translation>Job aktiviert</translation>
    </message>
    <message>
        <source>Job disabled</source>
        <translation>Job deaktiviert</translation>
    </message>
    <message>
        <source>%1, a %2, was added.</source>
        <translation>%1 (%2) wurde hinzugefügt.</translation>
    </message>
    <message>
        <source>%1, a %2, was changed.</source>
        <translation>%1 (%2) wurde geändert.</translation>
    </message>
    <message>
        <source>%1, a %2, was removed.</source>
        <translation>%1 (%2) wurde entfernt.</translation>
    </message>
    <message>
        <source>%1, a %2, was enabled.</source>
        <translation>%1 (%2) wurde aktiviert.</translation>
    </message>
    <message>
        <source>%1, a %2, was disabled.</source>
        <translation>%1 (%2) wurde deaktiviert.</translation>
    </message>
</context>
<context>
    <name>PlistCodec</name>
    <message>
        <source>unexpected text “%1”</source>
        <translation>unerwarteter Text „%1“</translation>
    </message>
    <message>
        <source>unknown entity “&amp;%1;”</source>
        <translation>unbekannte Entität „&amp;%1;“</translation>
    </message>
    <message>
        <source>the element &lt;%1&gt; cannot stand inside text</source>
        <translation>das Element &lt;%1&gt; darf nicht innerhalb von Text stehen</translation>
    </message>
    <message>
        <source>expected &lt;key&gt; in the dictionary, found &lt;%1&gt;</source>
        <translation>&lt;key&gt; im Wörterbuch erwartet, &lt;%1&gt; gefunden</translation>
    </message>
    <message>
        <source>the key “%1” has no value</source>
        <translation>der Schlüssel „%1“ hat keinen Wert</translation>
    </message>
    <message>
        <source>the values are nested more than %1 deep</source>
        <translation>die Werte sind mehr als %1 Ebenen tief verschachtelt</translation>
    </message>
    <message>
        <source>&lt;%1/&gt; cannot hold text</source>
        <translation>&lt;%1/&gt; kann keinen Text enthalten</translation>
    </message>
    <message>
        <source>a &lt;key&gt; outside a dictionary</source>
        <translation>ein &lt;key&gt; außerhalb eines Wörterbuchs</translation>
    </message>
    <message>
        <source>unknown element &lt;%1&gt;</source>
        <translation>unbekanntes Element &lt;%1&gt;</translation>
    </message>
    <message>
        <source>“%1” is not an integer within the 64-bit range</source>
        <translation>„%1“ ist keine ganze Zahl im 64-Bit-Bereich</translation>
    </message>
    <message>
        <source>“%1” is not a real number</source>
        <translation>„%1“ ist keine reelle Zahl</translation>
    </message>
    <message>
        <source>“%1” is not a date such as 2024-05-06T07:08:09Z</source>
        <translation>„%1“ ist kein Datum wie 2024-05-06T07:08:09Z</translation>
    </message>
    <message>
        <source>the data is not valid base64</source>
        <translation>die Daten sind kein gültiges Base64</translation>
    </message>
    <message>
        <source>more than one value at the top level</source>
        <translation>mehr als ein Wert auf der obersten Ebene</translation>
    </message>
    <message>
        <source>the property list holds no value</source>
        <translation>die Eigenschaftsliste enthält keinen Wert</translation>
    </message>
    <message>
        <source>Line %1, column %2: %3.</source>
        <translation>Zeile %1, Spalte %2: %3.</translation>
    </message>
    <message>
        <source>the text holds the control character %1, which XML cannot carry</source>
        <translation>der Text enthält das Steuerzeichen %1, das XML nicht darstellen kann</translation>
    </message>
    <message>
        <source>the text holds a lone surrogate %1, which is not a character</source>
        <translation>der Text enthält ein einzelnes Surrogat %1, das kein Zeichen ist</translation>
    </message>
    <message>
        <source>the text holds the non-character %1</source>
        <translation>der Text enthält das Nicht-Zeichen %1</translation>
    </message>
    <message>
        <source>the key: %1</source>
        <translation>der Schlüssel: %1</translation>
    </message>
    <message>
        <source>there is no value</source>
        <translation>es gibt keinen Wert</translation>
    </message>
    <message>
        <source>the date is invalid or outside the years 1 to 9999</source>
        <translation>das Datum ist ungültig oder liegt außerhalb der Jahre 1 bis 9999</translation>
    </message>
    <message>
        <source>Cannot write the property list: %1.</source>
        <translation>Die Eigenschaftsliste kann nicht geschrieben werden: %1.</translation>
    </message>
    <message>
        <source>Cannot write the value at “%1”: %2.</source>
        <translation>Der Wert bei „%1“ kann nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>The property list is empty.</source>
        <translation>Die Eigenschaftsliste ist leer.</translation>
    </message>
    <message>
        <source>The symbolic link %1 points to %2, which does not exist.</source>
        <translation>Die symbolische Verknüpfung %1 zeigt auf %2, das nicht existiert.</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Die Datei %1 existiert nicht.</translation>
    </message>
    <message>
        <source>Cannot read %1: %2.</source>
        <translation>%1 kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>%1 is a folder, not a property-list file.</source>
        <translation>%1 ist ein Ordner, keine Eigenschaftslisten-Datei.</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 ist keine reguläre Datei.</translation>
    </message>
    <message>
        <source>%1 is too large for a property list (%2 bytes).</source>
        <translation>%1 ist zu groß für eine Eigenschaftsliste (%2 Byte).</translation>
    </message>
    <message>
        <source>%1 is too large for a property list.</source>
        <translation>%1 ist zu groß für eine Eigenschaftsliste.</translation>
    </message>
    <message>
        <source>the text holds a NUL character</source>
        <translation>der Text enthält ein NUL-Zeichen</translation>
    </message>
    <message>
        <source>the text holds a lone surrogate, which is not a character</source>
        <translation>der Text enthält ein einzelnes Surrogat, das kein Zeichen ist</translation>
    </message>
    <message>
        <source>[%1]: %2</source>
        <translation>[%1]: %2</translation>
    </message>
    <message>
        <source>“%1”: %2</source>
        <translation>„%1“: %2</translation>
    </message>
    <message>
        <source>Cannot write the binary property list: %1.</source>
        <translation>Die binäre Eigenschaftsliste kann nicht geschrieben werden: %1.</translation>
    </message>
    <message>
        <source>the comment starting here never ends</source>
        <translation>der hier beginnende Kommentar endet nie</translation>
    </message>
    <message>
        <source>the quoted text starting here never ends</source>
        <translation>der hier beginnende Text in Anführungszeichen endet nie</translation>
    </message>
    <message>
        <source>the quoted text starting here holds a NUL character or an unpaired surrogate</source>
        <translation>der hier beginnende Text in Anführungszeichen enthält ein NUL-Zeichen oder ein ungepaartes Surrogat</translation>
    </message>
    <message>
        <source>\U must be followed by hexadecimal digits</source>
        <translation>auf \U müssen hexadezimale Ziffern folgen</translation>
    </message>
    <message>
        <source>expected text, found the end of the text</source>
        <translation>Text erwartet, Ende des Textes gefunden</translation>
    </message>
    <message>
        <source>unexpected character “%1”</source>
        <translation>unerwartetes Zeichen „%1“</translation>
    </message>
    <message>
        <source>the dictionary has no closing “}”</source>
        <translation>dem Wörterbuch fehlt die schließende „}“</translation>
    </message>
    <message>
        <source>expected “=” after the key “%1”</source>
        <translation>„=“ nach dem Schlüssel „%1“ erwartet</translation>
    </message>
    <message>
        <source>expected “;” after the value of “%1”</source>
        <translation>„;“ nach dem Wert von „%1“ erwartet</translation>
    </message>
    <message>
        <source>the array has no closing “)”</source>
        <translation>der Liste fehlt die schließende „)“</translation>
    </message>
    <message>
        <source>expected “,” or “)” in the array</source>
        <translation>„,“ oder „)“ in der Liste erwartet</translation>
    </message>
    <message>
        <source>“&lt;*%1&gt;” is not a typed value</source>
        <translation>„&lt;*%1&gt;“ ist kein typisierter Wert</translation>
    </message>
    <message>
        <source>the value starting here has no closing “&gt;”</source>
        <translation>dem hier beginnenden Wert fehlt das schließende „&gt;“</translation>
    </message>
    <message>
        <source>the data starting here has no closing “&gt;”</source>
        <translation>den hier beginnenden Daten fehlt das schließende „&gt;“</translation>
    </message>
    <message>
        <source>“%1” is not a hexadecimal digit</source>
        <translation>„%1“ ist keine hexadezimale Ziffer</translation>
    </message>
    <message>
        <source>the data has an odd number of hexadecimal digits</source>
        <translation>die Daten haben eine ungerade Anzahl hexadezimaler Ziffern</translation>
    </message>
    <message>
        <source>expected a value, found the end of the text</source>
        <translation>Wert erwartet, Ende des Textes gefunden</translation>
    </message>
    <message>
        <source>the text is empty</source>
        <translation>der Text ist leer</translation>
    </message>
    <message>
        <source>unexpected text after the property list</source>
        <translation>unerwarteter Text nach der Eigenschaftsliste</translation>
    </message>
    <message>
        <source>Line %1: %2.</source>
        <translation>Zeile %1: %2.</translation>
    </message>
    <message>
        <source>The text is not valid UTF-16.</source>
        <translation>Der Text ist kein gültiges UTF-16.</translation>
    </message>
    <message>
        <source>The text is not valid UTF-8.</source>
        <translation>Der Text ist kein gültiges UTF-8.</translation>
    </message>
    <message>
        <source>the binary property list is truncated</source>
        <translation>die binäre Eigenschaftsliste ist abgeschnitten</translation>
    </message>
    <message>
        <source>the binary property list has invalid offset sizes</source>
        <translation>die binäre Eigenschaftsliste hat ungültige Versatzgrößen</translation>
    </message>
    <message>
        <source>the binary property list has an invalid object count</source>
        <translation>die binäre Eigenschaftsliste hat eine ungültige Objektanzahl</translation>
    </message>
    <message>
        <source>the binary property list has an invalid offset table</source>
        <translation>die binäre Eigenschaftsliste hat eine ungültige Versatztabelle</translation>
    </message>
    <message>
        <source>object %1 lies outside the object area</source>
        <translation>Objekt %1 liegt außerhalb des Objektbereichs</translation>
    </message>
    <message>
        <source>object %1 has an invalid length</source>
        <translation>Objekt %1 hat eine ungültige Länge</translation>
    </message>
    <message>
        <source>object %1 is truncated</source>
        <translation>Objekt %1 ist abgeschnitten</translation>
    </message>
    <message>
        <source>object %1 has the unknown type 0x%2</source>
        <translation>Objekt %1 hat den unbekannten Typ 0x%2</translation>
    </message>
    <message>
        <source>object %1 is a null or fill value, which a property list cannot hold</source>
        <translation>Objekt %1 ist ein Null- oder Füllwert, den eine Eigenschaftsliste nicht enthalten kann</translation>
    </message>
    <message>
        <source>object %1 is an integer of invalid size</source>
        <translation>Objekt %1 ist eine ganze Zahl ungültiger Größe</translation>
    </message>
    <message>
        <source>object %1 is an integer outside the 64-bit range</source>
        <translation>Objekt %1 ist eine ganze Zahl außerhalb des 64-Bit-Bereichs</translation>
    </message>
    <message>
        <source>object %1 is a real of invalid size</source>
        <translation>Objekt %1 ist eine reelle Zahl ungültiger Größe</translation>
    </message>
    <message>
        <source>object %1 is a date of invalid size</source>
        <translation>Objekt %1 ist ein Datum ungültiger Größe</translation>
    </message>
    <message>
        <source>object %1 is a date outside the years 1 to 9999</source>
        <translation>Objekt %1 ist ein Datum außerhalb der Jahre 1 bis 9999</translation>
    </message>
    <message>
        <source>object %1 is an ASCII string holding the byte 0x%2</source>
        <translation>Objekt %1 ist eine ASCII-Zeichenkette mit dem Byte 0x%2</translation>
    </message>
    <message>
        <source>object %1 is text holding a NUL character</source>
        <translation>Objekt %1 ist Text mit einem NUL-Zeichen</translation>
    </message>
    <message>
        <source>object %1 is text holding an unpaired surrogate</source>
        <translation>Objekt %1 ist Text mit einem ungepaarten Surrogat</translation>
    </message>
    <message>
        <source>object %1 is a UID outside the signed 64-bit range</source>
        <translation>Objekt %1 ist eine UID außerhalb des vorzeichenbehafteten 64-Bit-Bereichs</translation>
    </message>
    <message>
        <source>object %1 refers to the missing object %2</source>
        <translation>Objekt %1 verweist auf das fehlende Objekt %2</translation>
    </message>
    <message>
        <source>object %1 is a dictionary with a key that is not text</source>
        <translation>Objekt %1 ist ein Wörterbuch mit einem Schlüssel, der kein Text ist</translation>
    </message>
    <message>
        <source>object %1 contains itself</source>
        <translation>Objekt %1 enthält sich selbst</translation>
    </message>
    <message>
        <source>shared references expand to more than %1 values</source>
        <translation>gemeinsame Verweise ergeben mehr als %1 Werte</translation>
    </message>
    <message>
        <source>this binary property list version is not supported</source>
        <translation>diese Version der binären Eigenschaftsliste wird nicht unterstützt</translation>
    </message>
    <message>
        <source>Binary property list: the data is too large.</source>
        <translation>Binäre Eigenschaftsliste: Die Daten sind zu groß.</translation>
    </message>
    <message>
        <source>Binary property list: %1.</source>
        <translation>Binäre Eigenschaftsliste: %1.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Revisions</source>
        <translation>Versionen</translation>
    </message>
</context>
<context>
    <name>ScheduleExactness</name>
    <message>
        <source>StartCalendarInterval %1 will be dropped</source>
        <translation>StartCalendarInterval %1 wird entfernt</translation>
    </message>
    <message>
        <source>{} (every minute)</source>
        <translation>{} (jede Minute)</translation>
    </message>
    <message>
        <source>Calendar entry %1 will be dropped</source>
        <translation>Kalendereintrag %1 wird entfernt</translation>
    </message>
    <message>
        <source>Calendar entry %1 will become %2</source>
        <translation>Kalendereintrag %1 wird zu %2</translation>
    </message>
    <message>
        <source>StartInterval %1 will be dropped</source>
        <translation>StartInterval %1 wird entfernt</translation>
    </message>
    <message>
        <source>StartInterval %1 seconds will become %2 seconds</source>
        <translation>StartInterval von %1 Sekunden wird zu %2 Sekunden</translation>
    </message>
</context>
<context>
    <name>SeverityBadge</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>%1, has errors</source>
        <translation>%1, hat Fehler</translation>
    </message>
    <message>
        <source>%1, has warnings</source>
        <translation>%1, hat Warnungen</translation>
    </message>
    <message>
        <source>%1, has notes</source>
        <translation>%1, hat Hinweise</translation>
    </message>
</context>
<context>
    <name>Vandra::AdvancedPreferences</name>
    <message>
        <source>Show Vandra&apos;s internal helper jobs</source>
        <translation>Vandras interne Hilfsjobs anzeigen</translation>
    </message>
    <message>
        <source>Uninstall Helpers</source>
        <translation>Hilfsprogramme deinstallieren</translation>
    </message>
    <message>
        <source>Extra Folders…</source>
        <translation>Zusätzliche Ordner …</translation>
    </message>
    <message>
        <source>Extra Folders</source>
        <translation>Zusätzliche Ordner</translation>
    </message>
    <message>
        <source>No extra folders.</source>
        <translation>Keine zusätzlichen Ordner.</translation>
    </message>
</context>
<context>
    <name>Vandra::ChangesView</name>
    <message>
        <source>Changed keys</source>
        <translation>Geänderte Schlüssel</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
</context>
<context>
    <name>Vandra::DetailEditor</name>
    <message>
        <source>Diagnostics</source>
        <translation>Diagnose</translation>
    </message>
    <message>
        <source>Save changes to keys you did not edit?</source>
        <translation>Auch Schlüssel sichern, die Sie nicht bearbeitet haben?</translation>
    </message>
    <message>
        <source>Saving also changes %1, which you did not edit. The whole change is on the Changes tab beside the file.</source>
        <translation>Beim Sichern ändert sich auch %1, obwohl Sie es nicht bearbeitet haben. Die ganze Änderung steht im Reiter „Änderungen“ neben der Datei.</translation>
    </message>
</context>
<context>
    <name>Vandra::DiagnosticsPage</name>
    <message>
        <source>Summary</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <source>Findings</source>
        <translation>Befunde</translation>
    </message>
    <message>
        <source>The doctor examines job files; this item has none.</source>
        <translation>Die Diagnose prüft Job-Dateien; dieses Objekt hat keine.</translation>
    </message>
    <message>
        <source>The doctor finds nothing wrong with this job.</source>
        <translation>Die Diagnose findet an diesem Job nichts auszusetzen.</translation>
    </message>
    <message>
        <source>The doctor finds one thing to look at.</source>
        <translation>Die Diagnose findet eine Sache, die Sie ansehen sollten.</translation>
    </message>
    <message>
        <source>The doctor finds %1 things to look at.</source>
        <translation>Die Diagnose findet %1 Dinge, die Sie ansehen sollten.</translation>
    </message>
    <message>
        <source>The file</source>
        <translation>Die Datei</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Schlüssel</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Changes the job; save it to keep the change.</source>
        <translation>Ändert den Job; sichern Sie ihn, um die Änderung zu behalten.</translation>
    </message>
</context>
<context>
    <name>Vandra::EditPlistSheet</name>
    <message>
        <source>Property list text</source>
        <translation>Text der Eigenschaftsliste</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>The text holds a property list, but its top level is not a dictionary, so it is not a job.</source>
        <translation>Der Text enthält eine Eigenschaftsliste, deren oberste Ebene aber kein Wörterbuch ist; daher ist er kein Job.</translation>
    </message>
    <message>
        <source>The dictionary is not a job: it needs a “Label” text that is not one of the program’s own helpers.</source>
        <translation>Das Wörterbuch ist kein Job: Es braucht einen Text „Label“, der keines der eigenen Hilfsprogramme des Programms benennt.</translation>
    </message>
</context>
<context>
    <name>Vandra::FoldersSheet</name>
    <message>
        <source>Extra Folders</source>
        <translation>Zusätzliche Ordner</translation>
    </message>
    <message>
        <source>Extra folders</source>
        <translation>Zusätzliche Ordner</translation>
    </message>
    <message>
        <source>%1 (missing)</source>
        <translation>%1 (fehlt)</translation>
    </message>
    <message>
        <source>%1 is not there any more. Jobs linked from it cannot be read until it is back.</source>
        <translation>%1 ist nicht mehr vorhanden. Von dort verknüpfte Jobs können erst wieder gelesen werden, wenn der Ordner zurück ist.</translation>
    </message>
    <message>
        <source>Choose a Folder</source>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <source>Add the folders from where your jobs are linked:</source>
        <translation>Fügen Sie die Ordner hinzu, aus denen Ihre Jobs verknüpft sind:</translation>
    </message>
</context>
<context>
    <name>Vandra::GeneralPreferences</name>
    <message>
        <source>Help with the command while typing</source>
        <translation>Beim Tippen mit dem Befehl helfen</translation>
    </message>
    <message>
        <source>Add the search path (PATH) to new jobs automatically</source>
        <translation>Den Suchpfad (PATH) automatisch zu neuen Jobs hinzufügen</translation>
    </message>
    <message>
        <source>Saved revisions</source>
        <translation>Gespeicherte Versionen</translation>
    </message>
    <message>
        <source>Saved revisions:</source>
        <translation>Gespeicherte Versionen:</translation>
    </message>
</context>
<context>
    <name>Vandra::GridModeView</name>
    <message>
        <source>Jobs</source>
        <translation>Jobs</translation>
    </message>
</context>
<context>
    <name>Vandra::HelpButton</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>Vandra::InfoView</name>
    <message>
        <source>File or changes</source>
        <translation>Datei oder Änderungen</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
</context>
<context>
    <name>Vandra::ListModeView</name>
    <message>
        <source>Jobs</source>
        <translation>Jobs</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Spalten</translation>
    </message>
</context>
<context>
    <name>Vandra::Localize</name>
    <message>
        <source>Testing</source>
        <translation>Test läuft</translation>
    </message>
    <message>
        <source>Test output</source>
        <translation>Testausgabe</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Testen</translation>
    </message>
    <message>
        <source>No Selection</source>
        <translation>Keine Auswahl</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>File text</source>
        <translation>Dateitext</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Pfad</translation>
    </message>
    <message>
        <source>Path:</source>
        <translation>Pfad:</translation>
    </message>
    <message>
        <source>Not saved yet</source>
        <translation>Noch nicht gespeichert</translation>
    </message>
    <message>
        <source>Keep-alive note</source>
        <translation>Hinweis zu KeepAlive</translation>
    </message>
    <message>
        <source>Schedule warning</source>
        <translation>Warnung zum Zeitplan</translation>
    </message>
    <message>
        <source>The rules cannot show this schedule exactly. It stays as written until you change the schedule; then:</source>
        <translation>Die Regeln können diesen Zeitplan nicht genau darstellen. Er bleibt, wie er geschrieben ist, bis Sie den Zeitplan ändern; dann gilt:</translation>
    </message>
    <message>
        <source>Keep alive, as the file says: %1</source>
        <translation>Am Leben halten, laut Datei: %1</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Auswählen …</translation>
    </message>
    <message>
        <source>Choose Program</source>
        <translation>Programm auswählen</translation>
    </message>
    <message>
        <source>Command to run, or drop a program here</source>
        <translation>Auszuführender Befehl, oder ein Programm hierher ziehen</translation>
    </message>
    <message>
        <source>Choose a Program</source>
        <translation>Ein Programm auswählen</translation>
    </message>
    <message>
        <source>Add rule</source>
        <translation>Regel hinzufügen</translation>
    </message>
    <message>
        <source>Schedule rules</source>
        <translation>Zeitplanregeln</translation>
    </message>
    <message>
        <source>unit</source>
        <translation>Einheit</translation>
    </message>
    <message>
        <source>time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>interval</source>
        <translation>Intervall</translation>
    </message>
    <message>
        <source>Desktop session (Aqua)</source>
        <translation>Desktop-Sitzung (Aqua)</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Login window</source>
        <translation>Anmeldefenster</translation>
    </message>
    <message>
        <source>Standard I/O</source>
        <translation>Standard-Ein-/Ausgabe</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Session type</source>
        <translation>Sitzungstyp</translation>
    </message>
    <message>
        <source>Low priority I/O</source>
        <translation>Ein-/Ausgabe mit niedriger Priorität</translation>
    </message>
    <message>
        <source>Legacy timers</source>
        <translation>Veraltete Zeitgeber</translation>
    </message>
    <message>
        <source>Create a security session</source>
        <translation>Eine Sicherheitssitzung erstellen</translation>
    </message>
    <message>
        <source>Keep alive only after a successful exit</source>
        <translation>Nur nach erfolgreichem Beenden am Leben halten</translation>
    </message>
    <message>
        <source>Launch only once</source>
        <translation>Nur einmal starten</translation>
    </message>
    <message>
        <source>Abandon the process group</source>
        <translation>Die Prozessgruppe aufgeben</translation>
    </message>
    <message>
        <source>Load only in one session type</source>
        <translation>Nur in einem Sitzungstyp laden</translation>
    </message>
    <message>
        <source>Session type:</source>
        <translation>Sitzungstyp:</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Mach service:</source>
        <translation>Mach-Dienst:</translation>
    </message>
    <message>
        <source>Mach service</source>
        <translation>Mach-Dienst</translation>
    </message>
    <message>
        <source>Watch path</source>
        <translation>Überwachter Pfad</translation>
    </message>
    <message>
        <source>Choose Watch Path</source>
        <translation>Überwachten Pfad auswählen</translation>
    </message>
    <message>
        <source>Working folder</source>
        <translation>Arbeitsordner</translation>
    </message>
    <message>
        <source>Choose Working Folder</source>
        <translation>Arbeitsordner auswählen</translation>
    </message>
    <message>
        <source>Output file</source>
        <translation>Ausgabedatei</translation>
    </message>
    <message>
        <source>Choose Output File</source>
        <translation>Ausgabedatei auswählen</translation>
    </message>
    <message>
        <source>Error file</source>
        <translation>Fehlerdatei</translation>
    </message>
    <message>
        <source>Choose Error File</source>
        <translation>Fehlerdatei auswählen</translation>
    </message>
    <message>
        <source>Editor</source>
        <translation>Editor</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Saving</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Job</source>
        <translation>Job</translation>
    </message>
    <message>
        <source>When</source>
        <translation>Wann</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Save (%1)</source>
        <translation>Speichern (%1)</translation>
    </message>
    <message>
        <source>New Script…</source>
        <translation>Neues Skript …</translation>
    </message>
    <message>
        <source>Edit Script…</source>
        <translation>Skript bearbeiten …</translation>
    </message>
    <message>
        <source>Edit Plist…</source>
        <translation>Plist bearbeiten …</translation>
    </message>
    <message>
        <source>Log…</source>
        <translation>Protokoll …</translation>
    </message>
    <message>
        <source>Notes…</source>
        <translation>Notizen …</translation>
    </message>
    <message>
        <source>Revisions</source>
        <translation>Versionen</translation>
    </message>
    <message>
        <source>Extra Folders…</source>
        <translation>Zusätzliche Ordner …</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>The folder “%@” could not be created.</source>
        <translation>Der Ordner „%@“ konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>Show System Jobs</source>
        <translation>Systemjobs anzeigen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Vandra Help</source>
        <translation>Vandra-Hilfe</translation>
    </message>
    <message>
        <source>Do not ask again</source>
        <translation>Nicht mehr fragen</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Solarized Light</source>
        <translation>Solarized Hell</translation>
    </message>
    <message>
        <source>Solarized Dark</source>
        <translation>Solarized Dunkel</translation>
    </message>
    <message>
        <source>The connection to the helper was interrupted.</source>
        <translation>Die Verbindung zum Hilfsprogramm wurde unterbrochen.</translation>
    </message>
    <message>
        <source>The helper did not answer.</source>
        <translation>Das Hilfsprogramm hat nicht geantwortet.</translation>
    </message>
    <message>
        <source>The helper did not answer in time.</source>
        <translation>Das Hilfsprogramm hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>The helper could not be reached.</source>
        <translation>Das Hilfsprogramm war nicht erreichbar.</translation>
    </message>
    <message>
        <source>The helper could not be started.</source>
        <translation>Das Hilfsprogramm konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The request could not be sent to the helper.</source>
        <translation>Die Anfrage konnte nicht an das Hilfsprogramm gesendet werden.</translation>
    </message>
    <message>
        <source>The helper sent an answer that could not be read.</source>
        <translation>Das Hilfsprogramm hat eine Antwort gesendet, die nicht gelesen werden konnte.</translation>
    </message>
    <message>
        <source>The connection to the helper was invalidated.</source>
        <translation>Die Verbindung zum Hilfsprogramm wurde ungültig.</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Add the folders from where your jobs are linked</source>
        <translation>Fügen Sie die Ordner hinzu, aus denen Ihre Jobs verknüpft sind</translation>
    </message>
    <message>
        <source>Agent</source>
        <translation>Agent</translation>
    </message>
    <message>
        <source>An unknown error occurred</source>
        <translation>Ein unbekannter Fehler ist aufgetreten</translation>
    </message>
    <message>
        <source>An unknown error occurred when fetching the log.</source>
        <translation>Beim Abrufen des Protokolls ist ein unbekannter Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Anwendung</translation>
    </message>
    <message>
        <source>At startup and when saving</source>
        <translation>Beim Start und beim Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cannot authenticate.</source>
        <translation>Authentifizierung nicht möglich.</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Prüfen</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>Menü leeren</translation>
    </message>
    <message>
        <source>Could not establish communication with the helper tool.</source>
        <translation>Die Verbindung zum Hilfsprogramm konnte nicht hergestellt werden.</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Day of month</source>
        <translation>Tag im Monat</translation>
    </message>
    <message>
        <source>Day of week</source>
        <translation>Wochentag</translation>
    </message>
    <message>
        <source>Day of year</source>
        <translation>Tag im Jahr</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Discard Changes</source>
        <translation>Änderungen verwerfen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Edit Plist</source>
        <translation>Plist bearbeiten</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aktiviert</translation>
    </message>
    <message>
        <source>Every day</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Every hour</source>
        <translation>Stündlich</translation>
    </message>
    <message>
        <source>Everyone</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Raster</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Stunde</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Launch again if it crashes</source>
        <translation>Nach einem Absturz erneut starten</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Login Items</source>
        <translation>Anmeldeobjekte</translation>
    </message>
    <message>
        <source>Mounting a logical volume</source>
        <translation>Einhängen eines logischen Datenträgers</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>New Script</source>
        <translation>Neues Skript</translation>
    </message>
    <message>
        <source>No error</source>
        <translation>Kein Fehler</translation>
    </message>
    <message>
        <source>No Items</source>
        <translation>Keine Einträge</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Please try again.</source>
        <translation>Bitte versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Relaunch</source>
        <translation>Neu starten</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Rename the item and try again.</source>
        <translation>Benennen Sie das Objekt um und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Repeat interval</source>
        <translation>Wiederholungsintervall</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation>Im Dateimanager anzeigen</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Ausführen</translation>
    </message>
    <message>
        <source>Scheduled</source>
        <translation>Geplant</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Teilen</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <source>The item couldn’t be added or removed because of an unknown error.</source>
        <translation>Das Objekt konnte wegen eines unbekannten Fehlers nicht hinzugefügt oder entfernt werden.</translation>
    </message>
    <message>
        <source>Time period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>Timeline</source>
        <translation>Zeitleiste</translation>
    </message>
    <message>
        <source>Tree</source>
        <translation>Baum</translation>
    </message>
    <message>
        <source>Unsaved Changes</source>
        <translation>Ungespeicherte Änderungen</translation>
    </message>
    <message>
        <source>Weekdays</source>
        <translation>Werktags</translation>
    </message>
    <message>
        <source>Weekends</source>
        <translation>Am Wochenende</translation>
    </message>
    <message>
        <source>You</source>
        <translation>Sie</translation>
    </message>
    <message>
        <source>You can’t undo this action.</source>
        <translation>Diese Aktion kann nicht rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don’t save them.</source>
        <translation>Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>minute</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>Save…</source>
        <translation>Speichern …</translation>
    </message>
    <message>
        <source>The data couldn’t be read because it isn’t in the correct format.</source>
        <translation>Die Daten konnten nicht gelesen werden, da sie nicht im richtigen Format vorliegen.</translation>
    </message>
    <message>
        <source>The job could not be saved.</source>
        <translation>Der Job konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The file “%@” couldn’t be opened because it isn’t in the correct format.</source>
        <translation>Die Datei „%@“ konnte nicht geöffnet werden, da sie nicht im richtigen Format vorliegt.</translation>
    </message>
    <message>
        <source>“%@” could not be duplicated.</source>
        <translation>„%@“ konnte nicht dupliziert werden.</translation>
    </message>
    <message>
        <source>%@ copy</source>
        <translation>%@ Kopie</translation>
    </message>
    <message>
        <source>The job could not be exported to “%@”.</source>
        <translation>Der Job konnte nicht nach „%@“ exportiert werden.</translation>
    </message>
    <message>
        <source>Are you sure you want to delete “%@”?</source>
        <translation>Möchten Sie „%@“ wirklich löschen?</translation>
    </message>
    <message>
        <source>“%@” could not be deleted.</source>
        <translation>„%@“ konnte nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>Your command might be too complex to run. Do you want to run it as a shell script instead?</source>
        <translation>Ihr Befehl ist möglicherweise zu komplex, um ihn direkt auszuführen. Möchten Sie ihn stattdessen als Shell-Skript ausführen?</translation>
    </message>
    <message>
        <source>Run Shell Script</source>
        <translation>Shell-Skript ausführen</translation>
    </message>
    <message>
        <source>Continue Anyway</source>
        <translation>Trotzdem fortfahren</translation>
    </message>
    <message>
        <source>The shell script %@ could not be saved.</source>
        <translation>Das Shell-Skript %@ konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Value for %@ cannot be empty</source>
        <translation>Der Wert für %@ darf nicht leer sein</translation>
    </message>
    <message>
        <source>Remove rule %1</source>
        <translation>Regel %1 entfernen</translation>
    </message>
    <message>
        <source>Rule %1 %2</source>
        <translation>Regel %1: %2</translation>
    </message>
    <message>
        <source>systemd</source>
        <translation>systemd</translation>
    </message>
    <message>
        <source>none (loaded jobs are only recorded)</source>
        <translation>nichts (geladene Jobs werden nur vermerkt)</translation>
    </message>
    <message>
        <source>not known yet</source>
        <translation>noch nicht bekannt</translation>
    </message>
    <message>
        <source>Not loaded</source>
        <translation>Nicht geladen</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>Läuft</translation>
    </message>
    <message>
        <source>Loaded</source>
        <translation>Geladen</translation>
    </message>
    <message>
        <source>process %@</source>
        <translation>Prozess %@</translation>
    </message>
    <message>
        <source>last exit status %@ at %@</source>
        <translation>letzter Beendigungsstatus %@ um %@</translation>
    </message>
    <message>
        <source>next run %@</source>
        <translation>nächster Lauf %@</translation>
    </message>
    <message>
        <source>every minute</source>
        <translation>jede Minute</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>About Vandra</source>
        <translation>Über Vandra</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>An editor for launchd background jobs.</source>
        <translation>Ein Editor für launchd-Hintergrundjobs.</translation>
    </message>
    <message>
        <source>Licensed under the GNU General Public License, version 3 or later.</source>
        <translation>Lizenziert unter der GNU General Public License, Version 3 oder neuer.</translation>
    </message>
    <message>
        <source>Built with:</source>
        <translation>Erstellt mit:</translation>
    </message>
    <message>
        <source>Import…</source>
        <translation>Importieren …</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>Duplizieren</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>Exportieren …</translation>
    </message>
    <message>
        <source>Start Now</source>
        <translation>Jetzt starten</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Show Toolbar</source>
        <translation>Werkzeugleiste anzeigen</translation>
    </message>
    <message>
        <source>launchd.plist Key Reference</source>
        <translation>Schlüsselreferenz für launchd.plist</translation>
    </message>
    <message>
        <source>Jobs are run by: %@</source>
        <translation>Jobs werden ausgeführt von: %@</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>Pfad kopieren</translation>
    </message>
    <message>
        <source>Copy File Text</source>
        <translation>Dateitext kopieren</translation>
    </message>
    <message>
        <source>Copy Command</source>
        <translation>Befehl kopieren</translation>
    </message>
    <message>
        <source>Open With Default Application</source>
        <translation>Mit Standardanwendung öffnen</translation>
    </message>
    <message>
        <source>Send by E-mail</source>
        <translation>Per E-Mail senden</translation>
    </message>
    <message>
        <source>Nothing to Share</source>
        <translation>Nichts zu teilen</translation>
    </message>
</context>
<context>
    <name>Vandra::LogSheet</name>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Searching the log</source>
        <translation>Protokoll wird durchsucht</translation>
    </message>
    <message>
        <source>This job has no label, so no log line can name it.</source>
        <translation>Dieser Job hat keine Kennung, daher kann keine Protokollzeile ihn nennen.</translation>
    </message>
    <message>
        <source>Searching the log…</source>
        <translation>Protokoll wird durchsucht …</translation>
    </message>
    <message>
        <source>No log lines name this job in the chosen time.</source>
        <translation>Im gewählten Zeitraum nennt keine Protokollzeile diesen Job.</translation>
    </message>
    <message>
        <source>No log lines name this job in the chosen time. This machine has no journal, so only the job’s output files were read.</source>
        <translation>Im gewählten Zeitraum nennt keine Protokollzeile diesen Job. Dieser Rechner hat kein Journal, daher wurden nur die Ausgabedateien des Jobs gelesen.</translation>
    </message>
    <message>
        <source>No log line contains the filter text.</source>
        <translation>Keine Protokollzeile enthält den Filtertext.</translation>
    </message>
    <message>
        <source>The helper could not read the log.</source>
        <translation>Das Hilfsprogramm konnte das Protokoll nicht lesen.</translation>
    </message>
    <message>
        <source>The helper could not be reached, so the log was not read.</source>
        <translation>Das Hilfsprogramm war nicht erreichbar, daher wurde das Protokoll nicht gelesen.</translation>
    </message>
    <message>
        <source>The search was stopped.</source>
        <translation>Die Suche wurde abgebrochen.</translation>
    </message>
</context>
<context>
    <name>Vandra::LogTableModel</name>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
</context>
<context>
    <name>Vandra::NewScript</name>
    <message>
        <source>The script “%1” could not be saved.</source>
        <translation>Das Skript „%1“ konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The file does not hold what was written. Check the disk and try again.</source>
        <translation>Die Datei enthält nicht, was geschrieben wurde. Prüfen Sie den Datenträger und versuchen Sie es erneut.</translation>
    </message>
</context>
<context>
    <name>Vandra::NewScriptSheet</name>
    <message>
        <source>Script</source>
        <translation>Skript</translation>
    </message>
</context>
<context>
    <name>Vandra::NotesSheet</name>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Notes on this job file</source>
        <translation>Notizen zu dieser Jobdatei</translation>
    </message>
</context>
<context>
    <name>Vandra::NotificationsPreferences</name>
    <message>
        <source>Agent:</source>
        <translation>Agent:</translation>
    </message>
</context>
<context>
    <name>Vandra::PreferencesWindow</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Themes</source>
        <translation>Farbschemata</translation>
    </message>
</context>
<context>
    <name>Vandra::ScriptFile</name>
    <message>
        <source>The document “%1” could not be opened.</source>
        <translation>Das Dokument „%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Its contents are not text in any encoding Vandra knows.</source>
        <translation>Sein Inhalt ist kein Text in einer Kodierung, die Vandra kennt.</translation>
    </message>
    <message>
        <source>The document “%1” could not be saved in the text encoding %2.</source>
        <translation>Das Dokument „%1“ konnte nicht in der Textkodierung %2 gespeichert werden.</translation>
    </message>
    <message>
        <source>The character “%1” cannot be written in that encoding. Remove it and try again.</source>
        <translation>Das Zeichen „%1“ kann in dieser Kodierung nicht geschrieben werden. Entfernen Sie es und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The document “%1” could not be saved.</source>
        <translation>Das Dokument „%1“ konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>Vandra::ScriptWindow</name>
    <message>
        <source>Script</source>
        <translation>Skript</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Speichern &amp;unter …</translation>
    </message>
    <message>
        <source>&amp;Revert to Saved</source>
        <translation>&amp;Gespeicherte Version wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Do you want to revert to the saved version of “%1”?</source>
        <translation>Möchten Sie zur gespeicherten Version von „%1“ zurückkehren?</translation>
    </message>
    <message>
        <source>Your current changes will be lost.</source>
        <translation>Ihre aktuellen Änderungen gehen verloren.</translation>
    </message>
    <message>
        <source>Revert</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Do you want to save the changes made to the document “%1”?</source>
        <translation>Möchten Sie die Änderungen am Dokument „%1“ speichern?</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don’t save them.</source>
        <translation>Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Don’t Save</source>
        <translation>Nicht speichern</translation>
    </message>
</context>
<context>
    <name>Vandra::ScriptWindows</name>
    <message>
        <source>Edit Script</source>
        <translation>Skript bearbeiten</translation>
    </message>
    <message>
        <source>“%1” has unsaved changes from an earlier session.</source>
        <translation>„%1“ hat ungespeicherte Änderungen aus einer früheren Sitzung.</translation>
    </message>
    <message>
        <source>Restore them to keep editing where you left off, or discard them to edit the saved file.</source>
        <translation>Stellen Sie sie wieder her, um dort weiterzuarbeiten, wo Sie aufgehört haben, oder verwerfen Sie sie, um die gespeicherte Datei zu bearbeiten.</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
</context>
<context>
    <name>Vandra::SectionModel</name>
    <message numerus="yes">
        <source>%1, %n jobs</source>
        <translation>
            <numerusform>%1, ein Job</numerusform>
            <numerusform>%1, %n Jobs</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Vandra::ThemesPreferences</name>
    <message>
        <source>Colour theme</source>
        <translation>Farbschema</translation>
    </message>
    <message>
        <source>Follow the desktop</source>
        <translation>Wie die Arbeitsumgebung</translation>
    </message>
    <message>
        <source>The colours of the property-list text, the log and the script windows. Every open window changes at once.</source>
        <translation>Die Farben des Eigenschaftslisten-Textes, des Protokolls und der Skriptfenster. Jedes offene Fenster ändert sich sofort.</translation>
    </message>
    <message>
        <source>Theme:</source>
        <translation>Farbschema:</translation>
    </message>
</context>
<context>
    <name>Vandra::TimelineModeView</name>
    <message>
        <source>Upcoming runs</source>
        <translation>Anstehende Ausführungen</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Spalten</translation>
    </message>
</context>
<context>
    <name>Vandra::TreeModeView</name>
    <message>
        <source>Jobs by kind</source>
        <translation>Jobs nach Art</translation>
    </message>
</context>
<context>
    <name>vandractl</name>
    <message>
        <source>cannot write the output: %1</source>
        <translation>die Ausgabe kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>%1: no findings</source>
        <translation>%1: keine Befunde</translation>
    </message>
    <message>
        <source>fix: %1</source>
        <translation>Behebung: %1</translation>
    </message>
    <message>
        <source>The job file.</source>
        <translation>Die Job-Datei.</translation>
    </message>
    <message>
        <source>Every job file in the job folders.</source>
        <translation>Jede Job-Datei in den Job-Ordnern.</translation>
    </message>
    <message>
        <source>With --all, the system&apos;s too.</source>
        <translation>Mit --all auch die des Systems.</translation>
    </message>
    <message>
        <source>Kind of the folder it is in.</source>
        <translation>Art des Ordners, in dem sie liegt.</translation>
    </message>
    <message>
        <source>Print JSON.</source>
        <translation>JSON ausgeben.</translation>
    </message>
    <message>
        <source>Root folder.</source>
        <translation>Wurzelordner.</translation>
    </message>
    <message>
        <source>doctor takes one job file or --all</source>
        <translation>doctor nimmt eine Job-Datei oder --all</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 existiert nicht</translation>
    </message>
    <message>
        <source>unknown kind %1</source>
        <translation>unbekannte Art %1</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>nicht gefunden</translation>
    </message>
    <message>
        <source>a helper program is missing</source>
        <translation>ein Hilfsprogramm fehlt</translation>
    </message>
    <message>
        <source>The job&apos;s label.</source>
        <translation>Das Label des Jobs.</translation>
    </message>
    <message>
        <source>usage: vandractl %1 LABEL</source>
        <translation>Aufruf: vandractl %1 LABEL</translation>
    </message>
    <message>
        <source>no job is labelled %1</source>
        <translation>kein Job hat das Label %1</translation>
    </message>
    <message>
        <source>expected FIELD=VALUE, got &quot;%1&quot;</source>
        <translation>FELD=WERT erwartet, erhalten: „%1“</translation>
    </message>
    <message>
        <source>%1 takes true or false</source>
        <translation>%1 nimmt true oder false</translation>
    </message>
    <message>
        <source>%1 cannot be changed: the editor does not offer it for this job</source>
        <translation>%1 kann nicht geändert werden: der Editor bietet es für diesen Job nicht an</translation>
    </message>
    <message>
        <source>unknown session type &quot;%1&quot;</source>
        <translation>unbekannter Sitzungstyp „%1“</translation>
    </message>
    <message>
        <source>unknown field &quot;%1&quot; (one of: %2)</source>
        <translation>unbekanntes Feld „%1“ (eines von: %2)</translation>
    </message>
    <message>
        <source>%1 takes one job file</source>
        <translation>%1 nimmt eine Job-Datei</translation>
    </message>
    <message>
        <source>%1 holds no job</source>
        <translation>%1 enthält keinen Job</translation>
    </message>
    <message>
        <source>usage: vandractl COMMAND [--root R] ...</source>
        <translation>Aufruf: vandractl BEFEHL [--root R] ...</translation>
    </message>
    <message>
        <source>commands:</source>
        <translation>Befehle:</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>unbekannter Befehl %1</translation>
    </message>
    <message>
        <source>only agents and daemons become units</source>
        <translation>nur Agenten und Daemons werden zu Units</translation>
    </message>
    <message>
        <source>the job becomes no units</source>
        <translation>aus dem Job werden keine Units</translation>
    </message>
    <message>
        <source>An edit, FIELD=VALUE.</source>
        <translation>Eine Änderung, FELD=WERT.</translation>
    </message>
    <message>
        <source>Print what the save would change, as a diff.</source>
        <translation>Ausgeben, was das Sichern ändern würde, als Diff.</translation>
    </message>
    <message>
        <source>the job cannot be written as a property list</source>
        <translation>der Job kann nicht als Property-List geschrieben werden</translation>
    </message>
    <message>
        <source>the helper could not start %1</source>
        <translation>der Helfer konnte %1 nicht starten</translation>
    </message>
    <message>
        <source>the helper could not stop %1</source>
        <translation>der Helfer konnte %1 nicht anhalten</translation>
    </message>
    <message>
        <source>cannot reach the helper to start %1</source>
        <translation>der Helfer ist nicht erreichbar, um %1 zu starten</translation>
    </message>
    <message>
        <source>cannot reach the helper to stop %1</source>
        <translation>der Helfer ist nicht erreichbar, um %1 anzuhalten</translation>
    </message>
    <message>
        <source>started %1</source>
        <translation>%1 gestartet</translation>
    </message>
    <message>
        <source>stopped %1</source>
        <translation>%1 angehalten</translation>
    </message>
    <message>
        <source> (disabled)</source>
        <translation> (deaktiviert)</translation>
    </message>
    <message>
        <source>Also list the system&apos;s jobs.</source>
        <translation>Auch die Jobs des Systems auflisten.</translation>
    </message>
    <message>
        <source>The moment to start from.</source>
        <translation>Der Zeitpunkt, ab dem es beginnt.</translation>
    </message>
    <message>
        <source>The end of the period (a month after the start unless given); a date alone means its midnight.</source>
        <translation>Das Ende des Zeitraums (ohne Angabe ein Monat nach dem Beginn); ein Datum allein meint seine Mitternacht.</translation>
    </message>
    <message>
        <source>Print at most N rows.</source>
        <translation>Höchstens N Zeilen ausgeben.</translation>
    </message>
    <message>
        <source>timeline takes no file</source>
        <translation>timeline nimmt keine Datei</translation>
    </message>
    <message>
        <source>--now takes a moment in ISO 8601, such as 2026-03-29T08:00:00+02:00</source>
        <translation>--now nimmt einen Zeitpunkt in ISO 8601, etwa 2026-03-29T08:00:00+02:00</translation>
    </message>
    <message>
        <source>--until takes a date or a moment in ISO 8601, such as 2026-04-01 or 2026-04-01T12:00</source>
        <translation>--until nimmt ein Datum oder einen Zeitpunkt in ISO 8601, etwa 2026-04-01 oder 2026-04-01T12:00</translation>
    </message>
    <message>
        <source>--limit takes a number of rows, 0 or more</source>
        <translation>--limit nimmt eine Anzahl von Zeilen, 0 oder mehr</translation>
    </message>
    <message>
        <source>no month can follow that moment</source>
        <translation>auf diesen Zeitpunkt kann kein Monat folgen</translation>
    </message>
    <message>
        <source>list takes no file</source>
        <translation>list nimmt keine Datei</translation>
    </message>
</context>
</TS>
