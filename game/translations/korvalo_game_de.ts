<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BoardDescription</name>
    <message>
        <source>blue</source>
        <translation>blaue</translation>
    </message>
    <message>
        <source>green</source>
        <translation>grüne</translation>
    </message>
    <message>
        <source>red</source>
        <translation>rote</translation>
    </message>
    <message>
        <source>column %1, row %2</source>
        <translation>Spalte %1, Zeile %2</translation>
    </message>
    <message>
        <source>A %1 by %1 board.</source>
        <translation>Ein Spielfeld von %1 mal %1 Feldern.</translation>
    </message>
    <message>
        <source>The %1 ball on %2.</source>
        <translation>Die %1 Kugel auf %2.</translation>
    </message>
    <message>
        <source>The %1 hole on %2.</source>
        <translation>Das %1 Loch auf %2.</translation>
    </message>
</context>
<context>
    <name>Game</name>
    <message>
        <source>Arrows or W A S D: tilt    Ctrl+Z or Backspace: undo
R: restart    H: hint    N: new level    Esc: quit
C: colour shapes on the pieces</source>
        <translation>Pfeile, W A S D: kippen    Strg+Z, Rücktaste: zurück
R: von vorn    H: Tipp    N: neues Level    Esc: Ende
C: Formen der Farben auf den Teilen</translation>
    </message>
    <message>
        <source>Arrows or W A S D: tilt    Ctrl+Z or Backspace: undo
R: restart    H: hint    Enter: next level    Esc: quit
Page Up, Page Down: previous, next level
C: colour shapes on the pieces</source>
        <translation>Pfeile, W A S D: kippen    Strg+Z, Rücktaste: zurück
R: von vorn    H: Tipp    Enter: weiter    Esc: Ende
Bild auf, Bild ab: voriges, nächstes Level
C: Formen der Farben auf den Teilen</translation>
    </message>
    <message>
        <source>Korvalo - %1</source>
        <translation>Korvalo - %1</translation>
    </message>
    <message>
        <source>Korvalo - test of the editor's level</source>
        <translation>Korvalo - Test des Levels aus dem Editor</translation>
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
</context>
<context>
    <name>Reason</name>
    <message>
        <source>the first character must be the board size 3, 5 or 7</source>
        <translation>das erste Zeichen muss die Spielfeldgröße 3, 5 oder 7 sein</translation>
    </message>
    <message>
        <source>the code ends before its %1 coordinate digits</source>
        <translation>der Code endet vor seinen %1 Koordinatenziffern</translation>
    </message>
    <message>
        <source>character %1 is not a coordinate from 0 to %2</source>
        <translation>Zeichen %1 ist keine Koordinate von 0 bis %2</translation>
    </message>
    <message>
        <source>two balls or two holes stand on one square</source>
        <translation>zwei Kugeln oder zwei Löcher stehen auf einem Feld</translation>
    </message>
    <message>
        <source>the code ends before its %1 wall digits</source>
        <translation>der Code endet vor seinen %1 Wandziffern</translation>
    </message>
    <message>
        <source>character %1 is not a hexadecimal wall digit</source>
        <translation>Zeichen %1 ist keine hexadezimale Wandziffer</translation>
    </message>
    <message>
        <source>text follows the %1 characters of the code; a title goes after a tab</source>
        <translation>auf die %1 Zeichen des Codes folgt Text; ein Titel gehört hinter einen Tabulator</translation>
    </message>
    <message>
        <source>the line is not valid UTF-8</source>
        <translation>die Zeile ist kein gültiges UTF-8</translation>
    </message>
    <message>
        <source>the line has no code before its tab</source>
        <translation>die Zeile hat keinen Code vor ihrem Tabulator</translation>
    </message>
    <message>
        <source>the title is not valid UTF-8</source>
        <translation>der Titel ist kein gültiges UTF-8</translation>
    </message>
    <message>
        <source>the board size must be 3, 5 or 7</source>
        <translation>die Spielfeldgröße muss 3, 5 oder 7 sein</translation>
    </message>
    <message>
        <source>the least number of moves must not be negative</source>
        <translation>die kleinste Zugzahl darf nicht negativ sein</translation>
    </message>
    <message>
        <source>a shortest solution on a %1 x %1 board has at most %2 moves</source>
        <translation>eine kürzeste Lösung auf einem %1-x-%1-Spielfeld hat höchstens %2 Züge</translation>
    </message>
    <message>
        <source>the largest number of moves must not be below the least</source>
        <translation>die größte Zugzahl darf nicht unter der kleinsten liegen</translation>
    </message>
    <message>
        <source>the number of levels must not be negative</source>
        <translation>die Anzahl der Level darf nicht negativ sein</translation>
    </message>
    <message>
        <source>the number of walls to open must not be negative</source>
        <translation>die Anzahl der zu öffnenden Wände darf nicht negativ sein</translation>
    </message>
    <message>
        <source>the attempt limit must be at least 1</source>
        <translation>die Grenze der Versuche muss mindestens 1 sein</translation>
    </message>
    <message>
        <source>the time limit must not be negative</source>
        <translation>die Zeitgrenze darf nicht negativ sein</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>keine solche Datei</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is larger than %1 MiB</source>
        <translation>sie ist größer als %1 MiB</translation>
    </message>
</context>
</TS>
