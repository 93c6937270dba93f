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
    <name>Grade</name>
    <message>
        <source>Easy</source>
        <translation>Leicht</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Hard</source>
        <translation>Schwer</translation>
    </message>
    <message>
        <source>Expert</source>
        <translation>Experte</translation>
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
    <message>
        <source>it holds no level that can be played</source>
        <translation>sie enthält kein spielbares Level</translation>
    </message>
    <message>
        <source>its pieces cannot be played</source>
        <translation>seine Kugeln und Löcher lassen sich nicht spielen</translation>
    </message>
    <message>
        <source>line too long</source>
        <translation>Zeile zu lang</translation>
    </message>
    <message>
        <source>the least greedy effort must not be negative</source>
        <translation>der kleinste gierige Aufwand darf nicht negativ sein</translation>
    </message>
    <message>
        <source>the largest greedy effort must not be below the least</source>
        <translation>der größte gierige Aufwand darf nicht unter dem kleinsten liegen</translation>
    </message>
</context>
</TS>
