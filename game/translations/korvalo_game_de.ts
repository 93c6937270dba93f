<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>EndlessDialog</name>
    <message>
        <source>Endless Play</source>
        <translation>Endlos spielen</translation>
    </message>
    <message>
        <source>%1 x %1</source>
        <translation>%1 x %1</translation>
    </message>
    <message>
        <source>Board &amp;size:</source>
        <translation>Spielfeld&amp;größe:</translation>
    </message>
    <message>
        <source>&amp;Grade:</source>
        <translation>&amp;Stufe:</translation>
    </message>
</context>
<context>
    <name>Game</name>
    <message>
        <source>Korvalo - %1</source>
        <translation>Korvalo - %1</translation>
    </message>
    <message>
        <source>Korvalo - test of the editor&apos;s level</source>
        <translation>Korvalo - Test des Levels aus dem Editor</translation>
    </message>
    <message>
        <source>Set Changed</source>
        <translation>Sammlung geändert</translation>
    </message>
    <message>
        <source>The level set %1 has changed. Play its new version?</source>
        <translation>Die Levelsammlung %1 wurde geändert. Ihre neue Fassung spielen?</translation>
    </message>
    <message>
        <source>Arrows or W A S D: tilt    Ctrl+Z or Backspace: undo
R: restart    H: hint    N: new level    Esc: quit
E: endless play (size and grade)    C: colour shapes on the pieces
Ctrl+Arrows: read a square&apos;s walls    T: what each tilt does</source>
        <translation>Pfeile, W A S D: kippen    Strg+Z, Rücktaste: zurück
R: von vorn    H: Tipp    N: neues Level    Esc: Ende
E: endlos spielen (Größe und Stufe)    C: Formen der Farben auf den Teilen
Strg+Pfeile: Wände eines Feldes lesen    T: was jedes Kippen bewirkt</translation>
    </message>
    <message>
        <source>Arrows or W A S D: tilt    Ctrl+Z or Backspace: undo
R: restart    H: hint    Enter: next level    Esc: quit
Page Up, Page Down: previous, next level    L: levels
O: open set    E: endless play    C: colour shapes on the pieces
Ctrl+Arrows: read a square&apos;s walls    T: what each tilt does</source>
        <translation>Pfeile, W A S D: kippen    Strg+Z, Rücktaste: zurück
R: von vorn    H: Tipp    Enter: weiter    Esc: Ende
Bild auf, Bild ab: voriges, nächstes Level    L: Level
O: Sammlung öffnen    E: endlos spielen    C: Formen der Farben auf den Teilen
Strg+Pfeile: Wände eines Feldes lesen    T: was jedes Kippen bewirkt</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Spielfeld</translation>
    </message>
</context>
<context>
    <name>GameText</name>
    <message>
        <source>North</source>
        <translation>Norden</translation>
    </message>
    <message>
        <source>South</source>
        <translation>Süden</translation>
    </message>
    <message>
        <source>West</source>
        <translation>Westen</translation>
    </message>
    <message>
        <source>East</source>
        <translation>Osten</translation>
    </message>
    <message>
        <source>Level %1 of %2</source>
        <translation>Level %1 von %2</translation>
    </message>
    <message>
        <source>Level %1 of %2: %3</source>
        <translation>Level %1 von %2: %3</translation>
    </message>
    <message numerus="yes">
        <source>Solved, best %n move(s)</source>
        <translation>
            <numerusform>Gelöst, am besten in %n Zug</numerusform>
            <numerusform>Gelöst, am besten in %n Zügen</numerusform>
        </translation>
    </message>
    <message>
        <source>Not solved yet</source>
        <translation>Noch nicht gelöst</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n level(s) solved</source>
        <translation>
            <numerusform>%1 von %n Level gelöst</numerusform>
            <numerusform>%1 von %n Leveln gelöst</numerusform>
        </translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1; %2</translation>
    </message>
    <message numerus="yes">
        <source>Set complete: all %n level(s) solved</source>
        <translation>
            <numerusform>Sammlung geschafft: %n Level gelöst</numerusform>
            <numerusform>Sammlung geschafft: alle %n Level gelöst</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Set complete: all %n level(s) solved; press Enter for level %1</source>
        <translation>
            <numerusform>Sammlung geschafft: %n Level gelöst; Enter für Level %1</numerusform>
            <numerusform>Sammlung geschafft: alle %n Level gelöst; Enter für Level %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Could not read the level code %1; playing a random %2 x %2 level instead.</source>
        <translation>Der Levelcode %1 ist nicht lesbar; stattdessen wird ein zufälliges %2-x-%2-Level gespielt.</translation>
    </message>
    <message>
        <source>Could not read the level code %1 (%2); playing a random %3 x %3 level instead.</source>
        <translation>Der Levelcode %1 ist nicht lesbar (%2); stattdessen wird ein zufälliges %3-x-%3-Level gespielt.</translation>
    </message>
    <message>
        <source>Moves: %1</source>
        <translation>Züge: %1</translation>
    </message>
    <message numerus="yes">
        <source>Solved in %n move(s)</source>
        <translation>
            <numerusform>Gelöst in %n Zug</numerusform>
            <numerusform>Gelöst in %n Zügen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Shortest possible: %n move(s)</source>
        <translation>
            <numerusform>Kürzestmöglich: %n Zug</numerusform>
            <numerusform>Kürzestmöglich: %n Züge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Shortest solution from here: %n move(s)</source>
        <translation>
            <numerusform>Kürzeste Lösung von hier: %n Zug</numerusform>
            <numerusform>Kürzeste Lösung von hier: %n Züge</numerusform>
        </translation>
    </message>
    <message>
        <source>No solution from here</source>
        <translation>Keine Lösung von hier</translation>
    </message>
    <message>
        <source>Hint: %1</source>
        <translation>Tipp: %1</translation>
    </message>
    <message>
        <source>No hint: the holes cannot be reached</source>
        <translation>Kein Tipp: Die Löcher sind nicht erreichbar</translation>
    </message>
    <message>
        <source>Press Enter for level %1</source>
        <translation>Enter für Level %1</translation>
    </message>
    <message numerus="yes">
        <source>End of the set, %1 of %n level(s) solved: press Enter for level %2, the first not solved</source>
        <translation>
            <numerusform>Ende der Sammlung, %1 von %n Level gelöst: Enter für Level %2, das erste ungelöste</numerusform>
            <numerusform>Ende der Sammlung, %1 von %n Leveln gelöst: Enter für Level %2, das erste ungelöste</numerusform>
        </translation>
    </message>
    <message>
        <source>This level has no solution; the balls can still be moved.</source>
        <translation>Dieses Level hat keine Lösung; die Kugeln lassen sich trotzdem bewegen.</translation>
    </message>
    <message>
        <source>Your progress could not be saved.</source>
        <translation>Der Spielstand konnte nicht gespeichert werden.</translation>
    </message>
    <message numerus="yes">
        <source>%n line(s) of the set could not be read and were left out; the first is line %1: %2.</source>
        <translation>
            <numerusform>%n Zeile der Sammlung war nicht lesbar und wurde weggelassen; es ist Zeile %1: %2.</numerusform>
            <numerusform>%n Zeilen der Sammlung waren nicht lesbar und wurden weggelassen; die erste ist Zeile %1: %2.</numerusform>
        </translation>
    </message>
    <message>
        <source>No level code was given; playing a random %1 x %1 level instead.</source>
        <translation>Kein Levelcode angegeben; stattdessen wird ein zufälliges %1-x-%1-Level gespielt.</translation>
    </message>
    <message>
        <source>Could not read the level set %1: %2; playing a random %3 x %3 level instead.</source>
        <translation>Die Levelsammlung %1 ist nicht lesbar: %2; stattdessen wird ein zufälliges %3-x-%3-Level gespielt.</translation>
    </message>
    <message>
        <source>The level set %1 holds no level that can be played; playing a random %2 x %2 level instead.</source>
        <translation>Die Levelsammlung %1 enthält kein spielbares Level; stattdessen wird ein zufälliges %2-x-%2-Level gespielt.</translation>
    </message>
    <message>
        <source>Could not read %1: there is no such file, and it is not a level code (%2); playing a random %3 x %3 level instead.</source>
        <translation>%1 ist nicht lesbar: Eine solche Datei gibt es nicht, und es ist kein Levelcode (%2); stattdessen wird ein zufälliges %3-x-%3-Level gespielt.</translation>
    </message>
    <message>
        <source>Your progress file was damaged; it is kept as %1, and what could be read of it counts.</source>
        <translation>Ihre Fortschrittsdatei war beschädigt; sie ist als %1 aufbewahrt, und was sich daraus lesen ließ, zählt.</translation>
    </message>
    <message>
        <source>Your progress file %1 cannot be read; progress is not saved.</source>
        <translation>Ihre Fortschrittsdatei %1 kann nicht gelesen werden; der Fortschritt wird nicht gespeichert.</translation>
    </message>
    <message>
        <source>Endless play, %1 x %1, grade %2 (%3 points). Level code %4; Ctrl+C copies it.</source>
        <translation>Endlos spielen, %1 x %1, Stufe %2 (%3 Punkte). Levelcode %4; Strg+C kopiert ihn.</translation>
    </message>
    <message>
        <source>Could not open the level set %1: %2.</source>
        <translation>Die Levelsammlung %1 konnte nicht geöffnet werden: %2.</translation>
    </message>
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
        <source>no walls</source>
        <translation>keine Wände</translation>
    </message>
    <message>
        <source>walls on every side</source>
        <translation>Wände auf allen Seiten</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>walls %1; open %2</source>
        <translation>Wände %1; offen %2</translation>
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
        <source>Column %1, row %2</source>
        <translation>Spalte %1, Zeile %2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: %2; %3</source>
        <translation>%1: %2; %3</translation>
    </message>
    <message>
        <source>the %1 ball goes to column %2, row %3</source>
        <translation>die %1 Kugel geht auf Spalte %2, Zeile %3</translation>
    </message>
    <message>
        <source>the %1 ball stays at a wall</source>
        <translation>die %1 Kugel bleibt an einer Wand</translation>
    </message>
    <message>
        <source>Tilt %1 moves no ball: %2</source>
        <translation>Kippen nach %1 bewegt keine Kugel: %2</translation>
    </message>
    <message>
        <source>Tilt %1: %2</source>
        <translation>Kippen nach %1: %2</translation>
    </message>
    <message>
        <source>the %1 ball stays, the %2 ball is in its way</source>
        <translation>die %1 Kugel bleibt, die %2 Kugel steht ihr im Weg</translation>
    </message>
    <message>
        <source>; </source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>LevelPicker</name>
    <message>
        <source>%1. %2 (%3 of %4 solved)</source>
        <translation>%1. %2 (%3 von %4 gelöst)</translation>
    </message>
    <message>
        <source>not solved</source>
        <translation>nicht gelöst</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Levels</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>C&amp;hapter:</source>
        <translation>&amp;Kapitel:</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Best moves</source>
        <translation>Beste Züge</translation>
    </message>
    <message>
        <source>Shortest</source>
        <translation>Kürzeste</translation>
    </message>
    <message>
        <source>Stars</source>
        <translation>Sterne</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Spielen</translation>
    </message>
</context>
<context>
    <name>PlayRecords</name>
    <message>
        <source>&amp;Send Play Records to the Site</source>
        <translation>Spielverläufe an die Seite &amp;senden</translation>
    </message>
    <message>
        <source>Play Records</source>
        <translation>Spielverläufe</translation>
    </message>
    <message>
        <source>May Korvalo send a record of each attempt at a level to the sharing site %1?

A record holds the level, an anonymous session number made on this computer, whether you solved the level or gave up, your moves, the numbers of undos, hints and restarts, the seconds played and the game&apos;s version. Nothing else is sent.

The records tell designers how people fare on their levels. You can change your answer at any time: Send Play Records to the Site, in the menu of the right mouse button.</source>
        <translation>Darf Korvalo zu jedem Versuch an einem Level einen Verlauf an die Seite %1 senden?

Ein Verlauf enthält das Level, eine anonyme Sitzungsnummer, die auf diesem Computer erzeugt wird, ob Sie das Level gelöst oder aufgegeben haben, Ihre Züge, die Zahl der Rücknahmen, Hinweise und Neustarts, die gespielten Sekunden und die Version des Spiels. Sonst wird nichts gesendet.

Die Verläufe zeigen Gestaltern, wie es Spielern mit ihren Levels ergeht. Sie können Ihre Antwort jederzeit ändern: Spielverläufe an die Seite senden, im Menü der rechten Maustaste.</translation>
    </message>
</context>
<context>
    <name>SetChooser</name>
    <message>
        <source>Open Set</source>
        <translation>Sammlung öffnen</translation>
    </message>
    <message>
        <source>Played lately</source>
        <translation>Zuletzt gespielt</translation>
    </message>
    <message>
        <source>Installed</source>
        <translation>Installiert</translation>
    </message>
    <message>
        <source>Other &amp;File...</source>
        <translation>Andere &amp;Datei...</translation>
    </message>
    <message>
        <source>Level sets (*.txt *.korvalo);;All files (*)</source>
        <translation>Levelsammlungen (*.txt *.korvalo);;Alle Dateien (*)</translation>
    </message>
</context>
</TS>
