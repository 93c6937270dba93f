<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BoardAccessible</name>
    <message>
        <source>north</source>
        <translation>Norden</translation>
    </message>
    <message>
        <source>south</source>
        <translation>Süden</translation>
    </message>
    <message>
        <source>west</source>
        <translation>Westen</translation>
    </message>
    <message>
        <source>east</source>
        <translation>Osten</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>Board, cursor on %1</source>
        <translation>Spielfeld, Cursor auf %1</translation>
    </message>
    <message>
        <source>: walls %1</source>
        <translation>: Wände %1</translation>
    </message>
    <message>
        <source>; open %1</source>
        <translation>; offen %1</translation>
    </message>
    <message>
        <source>the %1 ball</source>
        <translation>die %1 Kugel</translation>
    </message>
    <message>
        <source>the %1 hole</source>
        <translation>das %1 Loch</translation>
    </message>
    <message>
        <source>; walls %1</source>
        <translation>; Wände %1</translation>
    </message>
</context>
<context>
    <name>CAboutBox</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Copyright (C) Vandrel</source>
        <translation>Copyright (C) Vandrel</translation>
    </message>
    <message>
        <source>Please visit the program&apos;s homepage for more information.</source>
        <translation>Weitere Informationen finden Sie auf der Homepage des Programms.</translation>
    </message>
    <message>
        <source>Korvalo Level Designer, v.%1</source>
        <translation>Korvalo-Leveldesigner, v.%1</translation>
    </message>
</context>
<context>
    <name>CBoardCommands</name>
    <message>
        <source>The clipboard holds no level code.</source>
        <translation>Die Zwischenablage enthält keinen Levelcode.</translation>
    </message>
    <message>
        <source>Not pasted: %1.</source>
        <translation>Nicht eingefügt: %1.</translation>
    </message>
</context>
<context>
    <name>CBoardView</name>
    <message>
        <source>No ball stands on this square.</source>
        <translation>Auf diesem Feld steht keine Kugel.</translation>
    </message>
    <message>
        <source>No hole lies on this square.</source>
        <translation>Auf diesem Feld liegt kein Loch.</translation>
    </message>
    <message>
        <source>The border has no wall to flip.</source>
        <translation>Am Rand gibt es keine Wand zum Umlegen.</translation>
    </message>
    <message>
        <source>SOLUTION EXISTS</source>
        <translation>LÖSBAR</translation>
    </message>
    <message>
        <source>NO SOLUTION</source>
        <translation>UNLÖSBAR</translation>
    </message>
</context>
<context>
    <name>CEditorApp</name>
    <message>
        <source>The grade&apos;s parameters in %1 cannot be used; grades follow the default rule.</source>
        <translation>Die Parameter der Stufen in %1 sind nicht verwendbar; die Stufen folgen der Standardregel.</translation>
    </message>
</context>
<context>
    <name>CGenerateDlg</name>
    <message>
        <source>&amp;Generate</source>
        <translation>&amp;Erzeugen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Generate a Level</source>
        <translation>Level erzeugen</translation>
    </message>
    <message>
        <source>%1 x %1</source>
        <translation>%1 x %1</translation>
    </message>
    <message>
        <source>no limit</source>
        <translation>keine Grenze</translation>
    </message>
    <message>
        <source>from the clock</source>
        <translation>aus der Uhrzeit</translation>
    </message>
    <message>
        <source>none yet</source>
        <translation>noch keiner</translation>
    </message>
    <message>
        <source>Board &amp;size:</source>
        <translation>&amp;Spielfeldgröße:</translation>
    </message>
    <message>
        <source>At &amp;least (moves):</source>
        <translation>&amp;Mindestens (Züge):</translation>
    </message>
    <message>
        <source>At &amp;most (moves):</source>
        <translation>&amp;Höchstens (Züge):</translation>
    </message>
    <message>
        <source>&amp;Walls opened:</source>
        <translation>Geöffnete &amp;Wände:</translation>
    </message>
    <message>
        <source>See&amp;d:</source>
        <translation>Star&amp;twert:</translation>
    </message>
    <message>
        <source>Last seed &amp;used:</source>
        <translation>&amp;Zuletzt verwendeter Startwert:</translation>
    </message>
    <message>
        <source>The seed must be a whole number from 0 to 18446744073709551615, or left empty for one from the clock.</source>
        <translation>Der Startwert muss eine ganze Zahl von 0 bis 18446744073709551615 sein oder leer bleiben, damit er aus der Uhrzeit genommen wird.</translation>
    </message>
    <message numerus="yes">
        <source>Generated from seed %1: the shortest solution takes %n move(s).</source>
        <translation>
            <numerusform>Aus Startwert %1 erzeugt: Die kürzeste Lösung braucht %n Zug.</numerusform>
            <numerusform>Aus Startwert %1 erzeugt: Die kürzeste Lösung braucht %n Züge.</numerusform>
        </translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>Tried %1 levels in %2 s</source>
        <translation>%1 Level in %2 s versucht</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Angehalten.</translation>
    </message>
    <message>
        <source>No such level found in %1 tries from seed %2; try a wider range of moves.</source>
        <translation>Kein solches Level in %1 Versuchen ab Startwert %2 gefunden; versuchen Sie einen weiteren Bereich von Zügen.</translation>
    </message>
    <message>
        <source>&amp;Only levels with one shortest solution</source>
        <translation>&amp;Nur Level mit genau einer kürzesten Lösung</translation>
    </message>
    <message>
        <source>How many placements of the balls a greedy player expands, who always tries the one nearest the holes, before the level is solved.</source>
        <translation>Wie viele Stellungen der Kugeln ein Spieler untersucht, der stets das Naheliegende versucht, die Stellung, die den Löchern am nächsten ist, bis das Level gelöst ist.</translation>
    </message>
    <message>
        <source>Greedy &amp;effort at least:</source>
        <translation>Mindestau&amp;fwand beim naheliegenden Spiel:</translation>
    </message>
    <message>
        <source>Greedy effort at mos&amp;t:</source>
        <translation>Höchstaufwan&amp;d beim naheliegenden Spiel:</translation>
    </message>
    <message>
        <source>One level goes on the board; more go into the set after the selected level, as one step that Undo takes back.</source>
        <translation>Ein Level kommt auf das Spielfeld; mehrere kommen hinter dem gewählten Level in die Sammlung, als ein Schritt, den „Rückgängig“ zurücknimmt.</translation>
    </message>
    <message>
        <source>Le&amp;vels:</source>
        <translation>Anzahl der &amp;Level:</translation>
    </message>
    <message numerus="yes">
        <source>Generated %n level(s) from seed %1.</source>
        <translation>
            <numerusform>%n Level aus Startwert %1 erzeugt.</numerusform>
            <numerusform>%n Level aus Startwert %1 erzeugt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Found %1 of %2 levels. %3</source>
        <translation>%1 von %2 Leveln gefunden. %3</translation>
    </message>
    <message>
        <source>Generate searches for levels of these figures; Cancel stops a search under way.</source>
        <translation>„Erzeugen“ sucht Level mit diesen Werten; „Abbrechen“ hält eine laufende Suche an.</translation>
    </message>
</context>
<context>
    <name>CLevelCodeDlg</name>
    <message>
        <source>Level Code</source>
        <translation>Levelcode</translation>
    </message>
    <message>
        <source>&amp;Copy the level code, or paste another one and press Enter to put it on the board. Escape leaves the board as it is.</source>
        <translation>&amp;Kopieren Sie den Levelcode, oder fügen Sie einen anderen ein und drücken Sie Enter, um ihn auf das Spielfeld zu bringen. Escape lässt das Spielfeld, wie es ist.</translation>
    </message>
</context>
<context>
    <name>CLevelSetPanel</name>
    <message>
        <source>Untitled set</source>
        <translation>Unbenannte Sammlung</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Level %1</source>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>%1. %2
%3</source>
        <translation>%1. %2
%3</translation>
    </message>
    <message>
        <source> - on the board, changed</source>
        <translation> – auf dem Spielfeld, geändert</translation>
    </message>
    <message>
        <source> - on the board</source>
        <translation> – auf dem Spielfeld</translation>
    </message>
    <message>
        <source>not a level</source>
        <translation>kein Level</translation>
    </message>
    <message>
        <source>no solution</source>
        <translation>keine Lösung</translation>
    </message>
    <message>
        <source>solved</source>
        <translation>gelöst</translation>
    </message>
    <message numerus="yes">
        <source>%n move(s)</source>
        <translation>
            <numerusform>%n Zug</numerusform>
            <numerusform>%n Züge</numerusform>
        </translation>
    </message>
    <message>
        <source>Levels of the set</source>
        <translation>Level der Sammlung</translation>
    </message>
    <message>
        <source>%1+ solutions</source>
        <translation>%1+ Lösungen</translation>
    </message>
    <message numerus="yes">
        <source>%n solution(s)</source>
        <translation>
            <numerusform>%n Lösung</numerusform>
            <numerusform>%n Lösungen</numerusform>
        </translation>
    </message>
    <message>
        <source>effort %1</source>
        <translation>Aufwand %1</translation>
    </message>
    <message>
        <source>Read-only file: Save As keeps the changes.</source>
        <translation>Schreibgeschützte Datei: „Speichern unter“ behält die Änderungen.</translation>
    </message>
    <message>
        <source>Sorted by %1.</source>
        <translation>Sortiert nach %1.</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Runter</translation>
    </message>
    <message>
        <source>Korvalo Level Designer - %1[*]</source>
        <translation>Korvalo-Leveldesigner - %1[*]</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Keyboard Editing</source>
        <translation>Bearbeiten mit der Tastatur</translation>
    </message>
    <message>
        <source>While the board has the focus (Tab moves it), the keys edit the square under the yellow cursor, as the mouse would:</source>
        <translation>Solange das Spielfeld den Fokus hat (Tab verschiebt ihn), bearbeiten die Tasten das Feld unter dem gelben Cursor, wie es die Maus täte:</translation>
    </message>
    <message>
        <source>Arrow keys: move the cursor; a carried piece goes with it.
Shift+arrow key: flip the wall on that side of the square.
B or Space: pick up the ball on the square, or put down what is carried.
H: pick up the hole on the square, or put down what is carried.
Escape: put a carried piece back where it came from.

In the list of the set&apos;s levels: the arrow keys choose a level, Enter puts it on the board and Delete removes it.</source>
        <translation>Pfeiltasten: den Cursor bewegen; ein getragenes Teil wandert mit.
Umschalt+Pfeiltaste: die Wand auf dieser Seite des Feldes umlegen.
B oder Leertaste: die Kugel auf dem Feld aufnehmen oder das Getragene absetzen.
H: das Loch auf dem Feld aufnehmen oder das Getragene absetzen.
Escape: ein getragenes Teil dorthin zurücklegen, woher es kam.

In der Liste der Level der Sammlung: Die Pfeiltasten wählen ein Level, Enter bringt es auf das Spielfeld und Entf entfernt es.</translation>
    </message>
</context>
<context>
    <name>CPublishDlg</name>
    <message>
        <source>&amp;Publish</source>
        <translation>&amp;Veröffentlichen</translation>
    </message>
    <message>
        <source>Publish Level</source>
        <translation>Level veröffentlichen</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titel:</translation>
    </message>
    <message>
        <source>&amp;Author:</source>
        <translation>&amp;Autor:</translation>
    </message>
    <message>
        <source>&amp;Description:</source>
        <translation>&amp;Beschreibung:</translation>
    </message>
    <message>
        <source>The level&apos;s public address, once published</source>
        <translation>Die öffentliche Adresse des Levels, sobald er veröffentlicht ist</translation>
    </message>
    <message>
        <source>Add&amp;ress:</source>
        <translation>Ad&amp;resse:</translation>
    </message>
    <message>
        <source>The level on the board goes to %1 with these words. Only a level with a solution is taken.</source>
        <translation>Der Level auf dem Brett geht mit diesen Angaben an %1. Nur ein Level mit Lösung wird angenommen.</translation>
    </message>
    <message>
        <source>Give the level a title first.</source>
        <translation>Geben Sie dem Level zuerst einen Titel.</translation>
    </message>
    <message>
        <source>Publishing...</source>
        <translation>Wird veröffentlicht...</translation>
    </message>
    <message>
        <source>The site could not be reached: %1</source>
        <translation>Die Website war nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>The site refused the level: %1</source>
        <translation>Die Website hat den Level abgelehnt: %1</translation>
    </message>
    <message>
        <source>This level is published already, at this address.</source>
        <translation>Dieser Level ist bereits veröffentlicht, unter dieser Adresse.</translation>
    </message>
    <message>
        <source>Published. Its edit token could not be kept; note it to remove the level later: %1</source>
        <translation>Veröffentlicht. Sein Bearbeitungsschlüssel konnte nicht gespeichert werden; notieren Sie ihn, um den Level später zu entfernen: %1</translation>
    </message>
    <message>
        <source>Published. Its edit token is kept in %1.</source>
        <translation>Veröffentlicht. Sein Bearbeitungsschlüssel ist in %1 gespeichert.</translation>
    </message>
</context>
<context>
    <name>CRecoveryKeeper</name>
    <message numerus="yes">
        <source>The level set &quot;%1&quot; with %n level(s)</source>
        <translation>
            <numerusform>Die Levelsammlung „%1“ mit %n Level</numerusform>
            <numerusform>Die Levelsammlung „%1“ mit %n Leveln</numerusform>
        </translation>
    </message>
    <message>
        <source>, with changes that were not saved.</source>
        <translation>, mit ungesicherten Änderungen.</translation>
    </message>
    <message>
        <source>, as it was saved.</source>
        <translation>, wie sie gespeichert war.</translation>
    </message>
    <message>
        <source>The board&apos;s changes to level %1.</source>
        <translation>Die Änderungen des Spielfelds an Level %1.</translation>
    </message>
    <message>
        <source>The board&apos;s level, which is in no set: %1.</source>
        <translation>Das Level auf dem Spielfeld, das in keiner Sammlung ist: %1.</translation>
    </message>
    <message>
        <source>Recover Work</source>
        <translation>Arbeit wiederherstellen</translation>
    </message>
    <message>
        <source>The level designer ended without closing. Its work was kept:</source>
        <translation>Der Level-Designer wurde beendet, ohne geschlossen zu werden. Seine Arbeit wurde aufbewahrt:</translation>
    </message>
    <message>
        <source>Restore it in place of the work now open?</source>
        <translation>Soll sie anstelle der jetzt geöffneten Arbeit wiederhergestellt werden?</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Later</source>
        <translation>&amp;Später</translation>
    </message>
</context>
<context>
    <name>CSetController</name>
    <message>
        <source>Level sets (*.txt *.korvalo);;All files (*)</source>
        <translation>Levelsammlungen (*.txt *.korvalo);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Unsaved Level</source>
        <translation>Ungesichertes Level</translation>
    </message>
    <message>
        <source>Level %1 on the board has changes that are not in the set.</source>
        <translation>Level %1 auf dem Spielfeld hat Änderungen, die nicht in der Sammlung stehen.</translation>
    </message>
    <message>
        <source>The level on the board has changes and is in no set.</source>
        <translation>Das Level auf dem Spielfeld hat Änderungen und gehört zu keiner Sammlung.</translation>
    </message>
    <message>
        <source>&amp;Update Level %1</source>
        <translation>Level %1 akt&amp;ualisieren</translation>
    </message>
    <message>
        <source>&amp;Add to Set</source>
        <translation>&amp;Zur Sammlung hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Leave Out</source>
        <translation>&amp;Weglassen</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>Unsaved Changes</source>
        <translation>Ungesicherte Änderungen</translation>
    </message>
    <message>
        <source>The level set &quot;%1&quot; has changes that are not saved. Save them?</source>
        <translation>Die Levelsammlung „%1“ hat ungesicherte Änderungen. Sollen sie gespeichert werden?</translation>
    </message>
    <message>
        <source>A new, empty level set.</source>
        <translation>Eine neue, leere Levelsammlung.</translation>
    </message>
    <message>
        <source>Open Level Set</source>
        <translation>Levelsammlung öffnen</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message numerus="yes">
        <source>Opened %1: %n level(s).</source>
        <translation>
            <numerusform>%1 geöffnet: %n Level.</numerusform>
            <numerusform>%1 geöffnet: %n Level.</numerusform>
        </translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n line(s) of %1 are not levels and were left out:
%2</source>
        <translation>
            <numerusform>%n Zeile von %1 ist kein Level und wurde weggelassen:
%2</numerusform>
            <numerusform>%n Zeilen von %1 sind keine Level und wurden weggelassen:
%2</numerusform>
        </translation>
    </message>
    <message>
        <source>Save Level Set</source>
        <translation>Levelsammlung speichern</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Saved %1.</source>
        <translation>%1 gespeichert.</translation>
    </message>
    <message>
        <source>No level of the set is selected.</source>
        <translation>Kein Level der Sammlung ist ausgewählt.</translation>
    </message>
    <message>
        <source> It has no solution.</source>
        <translation> Es hat keine Lösung.</translation>
    </message>
    <message>
        <source> It is the same level as level %1, up to turns and mirrors.</source>
        <translation> Bis auf Drehungen und Spiegelungen ist es dasselbe Level wie Level %1.</translation>
    </message>
    <message>
        <source>Added as level %1.</source>
        <translation>Als Level %1 hinzugefügt.</translation>
    </message>
    <message>
        <source>The board&apos;s level is no level of the set; Add puts it in.</source>
        <translation>Das Level auf dem Spielfeld ist kein Level der Sammlung; Hinzufügen nimmt es auf.</translation>
    </message>
    <message>
        <source>Level %1 updated from the board.</source>
        <translation>Level %1 vom Spielfeld aktualisiert.</translation>
    </message>
    <message>
        <source>Level %1 removed; Undo brings it back.</source>
        <translation>Level %1 entfernt; Rückgängig holt es zurück.</translation>
    </message>
    <message>
        <source>Level %1 is now level %2.</source>
        <translation>Level %1 ist jetzt Level %2.</translation>
    </message>
    <message>
        <source>Level %1 is on the board.</source>
        <translation>Level %1 ist auf dem Spielfeld.</translation>
    </message>
    <message>
        <source>Title and Author</source>
        <translation>Titel und Autor</translation>
    </message>
    <message>
        <source>&amp;Title of the set:</source>
        <translation>&amp;Titel der Sammlung:</translation>
    </message>
    <message>
        <source>&amp;Author:</source>
        <translation>A&amp;utor:</translation>
    </message>
    <message>
        <source>Title of &amp;level %1:</source>
        <translation>Titel von &amp;Level %1:</translation>
    </message>
    <message>
        <source>Titles changed.</source>
        <translation>Titel geändert.</translation>
    </message>
    <message numerus="yes">
        <source>No level was read from %1: its %n line(s) are not levels, and it may be no level set at all.</source>
        <translation>
            <numerusform>Aus %1 wurde kein Level gelesen: Seine %n Zeile ist kein Level, und vielleicht ist es gar keine Levelsammlung.</numerusform>
            <numerusform>Aus %1 wurde kein Level gelesen: Seine %n Zeilen sind keine Level, und vielleicht ist es gar keine Levelsammlung.</numerusform>
        </translation>
    </message>
    <message>
        <source>Saving into it keeps those lines and adds the set&apos;s levels, changing its %1 bytes. Save As writes the set to another file.</source>
        <translation>Speichern behält diese Zeilen und fügt die Level der Sammlung hinzu; seine %1 Bytes ändern sich. „Speichern unter“ schreibt die Sammlung in eine andere Datei.</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save &amp;Into It</source>
        <translation>Trotzdem &amp;hineinspeichern</translation>
    </message>
    <message>
        <source>length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>greedy effort</source>
        <translation>Aufwand</translation>
    </message>
    <message>
        <source>grade</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>%1 (read-only)</source>
        <translation>%1 (schreibgeschützt)</translation>
    </message>
    <message>
        <source>%1 is read-only.</source>
        <translation>%1 ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>The set&apos;s changes are kept. Save As writes the set to another file.</source>
        <translation>Die Änderungen an der Sammlung bleiben erhalten. „Speichern unter“ schreibt die Sammlung in eine andere Datei.</translation>
    </message>
    <message>
        <source>No level was added: the set holds every one found.</source>
        <translation>Kein Level hinzugefügt: Die Sammlung enthält jedes gefundene schon.</translation>
    </message>
    <message>
        <source>Added as levels %1 to %2.</source>
        <translation>Als Level %1 bis %2 hinzugefügt.</translation>
    </message>
    <message>
        <source>%1 of %2 levels made before the search stopped; they are kept. %3</source>
        <translation>%1 von %2 Leveln erzeugt, bevor die Suche endete; sie bleiben erhalten. %3</translation>
    </message>
    <message>
        <source>Undo takes them all back.</source>
        <translation>„Rückgängig“ nimmt sie alle zurück.</translation>
    </message>
    <message>
        <source>The set has too few levels to sort.</source>
        <translation>Die Sammlung hat zu wenige Level zum Sortieren.</translation>
    </message>
    <message>
        <source>Sorted by %1; Undo puts the old order back.</source>
        <translation>Nach %1 sortiert; „Rückgängig“ stellt die alte Reihenfolge wieder her.</translation>
    </message>
    <message>
        <source>The set is already sorted by %1.</source>
        <translation>Die Sammlung ist schon nach %1 sortiert.</translation>
    </message>
    <message>
        <source>Rename Level</source>
        <translation>Level umbenennen</translation>
    </message>
    <message>
        <source>Level %1 renamed.</source>
        <translation>Level %1 umbenannt.</translation>
    </message>
</context>
<context>
    <name>CSetTester</name>
    <message>
        <source>The set holds no level to play.</source>
        <translation>Das Set enthält keinen Level zum Spielen.</translation>
    </message>
    <message>
        <source>The set could not be written for the game to %1.</source>
        <translation>Das Set konnte für das Spiel nicht nach %1 geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>CStatusLine</name>
    <message>
        <source>Carrying the %1 ball</source>
        <translation>In der Hand: die %1 Kugel</translation>
    </message>
    <message>
        <source>Carrying the %1 hole</source>
        <translation>In der Hand: das %1 Loch</translation>
    </message>
    <message>
        <source>No solution</source>
        <translation>Keine Lösung</translation>
    </message>
    <message>
        <source>Already solved</source>
        <translation>Schon gelöst</translation>
    </message>
    <message numerus="yes">
        <source>Shortest solution: %n move(s)</source>
        <translation>
            <numerusform>Kürzeste Lösung: %n Zug</numerusform>
            <numerusform>Kürzeste Lösung: %n Züge</numerusform>
        </translation>
    </message>
    <message>
        <source>more than %1 shortest solutions</source>
        <translation>mehr als %1 kürzeste Lösungen</translation>
    </message>
    <message numerus="yes">
        <source>%n shortest solution(s)</source>
        <translation>
            <numerusform>%n kürzeste Lösung</numerusform>
            <numerusform>%n kürzeste Lösungen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n counter-intuitive step(s)</source>
        <translation>
            <numerusform>%n kontraintuitiver Schritt</numerusform>
            <numerusform>%n kontraintuitive Schritte</numerusform>
        </translation>
    </message>
    <message>
        <source>greedy effort %1</source>
        <translation>Aufwand beim naheliegenden Spiel %1</translation>
    </message>
    <message>
        <source>grade %1 (%2 points)</source>
        <translation>Stufe %1 (%2 Punkte)</translation>
    </message>
    <message>
        <source>No solution: %1</source>
        <translation>Keine Lösung: %1</translation>
    </message>
</context>
<context>
    <name>ChangeName</name>
    <message>
        <source>Wall Flip</source>
        <translation>Wand umlegen</translation>
    </message>
    <message>
        <source>Ball Move</source>
        <translation>Kugel versetzen</translation>
    </message>
    <message>
        <source>Hole Move</source>
        <translation>Loch versetzen</translation>
    </message>
    <message>
        <source>New Board</source>
        <translation>Neues Spielfeld</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Random Maze</source>
        <translation>Zufallslabyrinth</translation>
    </message>
    <message>
        <source>X-flip</source>
        <translation>X-Spiegelung</translation>
    </message>
    <message>
        <source>Y-flip</source>
        <translation>Y-Spiegelung</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Drehen</translation>
    </message>
    <message>
        <source>Solution Step</source>
        <translation>Lösungsschritt</translation>
    </message>
    <message>
        <source>Level Code</source>
        <translation>Levelcode</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Generate</source>
        <translation>Erzeugen</translation>
    </message>
    <message>
        <source>Edit Level</source>
        <translation>Level bearbeiten</translation>
    </message>
    <message>
        <source>Add Level</source>
        <translation>Level hinzufügen</translation>
    </message>
    <message>
        <source>Update Level</source>
        <translation>Level aktualisieren</translation>
    </message>
    <message>
        <source>Remove Level</source>
        <translation>Level entfernen</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Titles</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Add Levels</source>
        <translation>Level hinzufügen</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>Sortieren</translation>
    </message>
    <message>
        <source>Rename Level</source>
        <translation>Level umbenennen</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Game</source>
        <translation>&amp;Spiel</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Set</source>
        <translation>Samm&amp;lung</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>3x3</source>
        <translation>3x3</translation>
    </message>
    <message>
        <source>&amp;3x3</source>
        <translation>&amp;3x3</translation>
    </message>
    <message>
        <source>5x5</source>
        <translation>5x5</translation>
    </message>
    <message>
        <source>&amp;5x5</source>
        <translation>&amp;5x5</translation>
    </message>
    <message>
        <source>7x7</source>
        <translation>7x7</translation>
    </message>
    <message>
        <source>&amp;7x7</source>
        <translation>&amp;7x7</translation>
    </message>
    <message>
        <source>&amp;Generate...</source>
        <translation>&amp;Erzeugen...</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Testen</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Testen</translation>
    </message>
    <message>
        <source>Test &amp;Set</source>
        <translation>&amp;Set testen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Copy Level Code</source>
        <translation>Levelcode &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste Level Code</source>
        <translation>Levelcode &amp;einfügen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Cl&amp;ear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Zufällig</translation>
    </message>
    <message>
        <source>Ra&amp;ndom</source>
        <translation>&amp;Zufällig</translation>
    </message>
    <message>
        <source>X-flip</source>
        <translation>X-Spiegelung</translation>
    </message>
    <message>
        <source>&amp;X-flip</source>
        <translation>&amp;X-Spiegelung</translation>
    </message>
    <message>
        <source>Y-flip</source>
        <translation>Y-Spiegelung</translation>
    </message>
    <message>
        <source>&amp;Y-flip</source>
        <translation>&amp;Y-Spiegelung</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Drehen</translation>
    </message>
    <message>
        <source>R&amp;otate</source>
        <translation>&amp;Drehen</translation>
    </message>
    <message>
        <source>Get &amp;HTML</source>
        <translation>&amp;HTML holen</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>&amp;Level Code...</source>
        <translation>Level&amp;code...</translation>
    </message>
    <message>
        <source>Colour &amp;Symbols</source>
        <translation>Farb&amp;symbole</translation>
    </message>
    <message>
        <source>&amp;Add Level</source>
        <translation>Level &amp;hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Update Level from Board</source>
        <translation>Level vom Spielfeld &amp;aktualisieren</translation>
    </message>
    <message>
        <source>&amp;Remove Selected Level</source>
        <translation>Ausgewähltes Level &amp;entfernen</translation>
    </message>
    <message>
        <source>Move U&amp;p</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>&amp;Edit Selected Level</source>
        <translation>Ausgewähltes Level &amp;bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Title and Author...</source>
        <translation>&amp;Titel und Autor...</translation>
    </message>
    <message>
        <source>&amp;Keyboard Editing...</source>
        <translation>Bearbeiten mit der &amp;Tastatur...</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Homepage</source>
        <translation>Homepage</translation>
    </message>
    <message>
        <source>&amp;Homepage</source>
        <translation>&amp;Homepage</translation>
    </message>
    <message>
        <source>&amp;Vandrel</source>
        <translation>&amp;Vandrel</translation>
    </message>
    <message>
        <source>V&amp;andrel</source>
        <translation>&amp;Vandrel</translation>
    </message>
    <message>
        <source>&amp;Publish...</source>
        <translation>&amp;Veröffentlichen...</translation>
    </message>
    <message>
        <source>Re&amp;name Level...</source>
        <translation>Level u&amp;mbenennen...</translation>
    </message>
    <message>
        <source>Sort by &amp;Length</source>
        <translation>Nach &amp;Länge sortieren</translation>
    </message>
    <message>
        <source>Sort by Greedy E&amp;ffort</source>
        <translation>Nach Au&amp;fwand sortieren</translation>
    </message>
    <message>
        <source>Sort by &amp;Grade</source>
        <translation>Nach &amp;Stufe sortieren</translation>
    </message>
</context>
<context>
    <name>PlayFigures</name>
    <message>
        <source>People: not published</source>
        <translation>Spieler: nicht veröffentlicht</translation>
    </message>
    <message>
        <source>People: no figures from the site yet</source>
        <translation>Spieler: noch keine Zahlen von der Seite</translation>
    </message>
    <message>
        <source>People: published, not played yet</source>
        <translation>Spieler: veröffentlicht, noch nicht gespielt</translation>
    </message>
    <message numerus="yes">
        <source>People: %n play(s)</source>
        <translation>
            <numerusform>Spieler: %n Versuch</numerusform>
            <numerusform>Spieler: %n Versuche</numerusform>
        </translation>
    </message>
    <message>
        <source>median %1 s</source>
        <translation>Median %1 s</translation>
    </message>
    <message>
        <source>likes %1, dislikes %2</source>
        <translation>%1 gefällt, %2 nicht</translation>
    </message>
    <message>
        <source>%1% at first try</source>
        <translation>%1 % auf Anhieb</translation>
    </message>
    <message>
        <source>Rating %1, provisional</source>
        <translation>Wertung %1, vorläufig</translation>
    </message>
    <message>
        <source>Rating %1</source>
        <translation>Wertung %1</translation>
    </message>
</context>
</TS>
