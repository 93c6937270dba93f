<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>GameText</name>
    <message numerus="yes">
        <source>Solved, best %n move(s)</source>
        <translation>
            <numerusform>Solved, best %n move</numerusform>
            <numerusform>Solved, best %n moves</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n level(s) solved</source>
        <translation>
            <numerusform>%1 of %n level solved</numerusform>
            <numerusform>%1 of %n levels solved</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Set complete: all %n level(s) solved</source>
        <translation>
            <numerusform>Set complete: all %n level solved</numerusform>
            <numerusform>Set complete: all %n levels solved</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Set complete: all %n level(s) solved; press Enter for level %1</source>
        <translation>
            <numerusform>Set complete: all %n level solved; press Enter for level %1</numerusform>
            <numerusform>Set complete: all %n levels solved; press Enter for level %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Solved in %n move(s)</source>
        <translation>
            <numerusform>Solved in %n move</numerusform>
            <numerusform>Solved in %n moves</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Shortest possible: %n move(s)</source>
        <translation>
            <numerusform>Shortest possible: %n move</numerusform>
            <numerusform>Shortest possible: %n moves</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Shortest solution from here: %n move(s)</source>
        <translation>
            <numerusform>Shortest solution from here: %n move</numerusform>
            <numerusform>Shortest solution from here: %n moves</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>End of the set, %1 of %n level(s) solved: press Enter for level %2, the first not solved</source>
        <translation>
            <numerusform>End of the set, %1 of %n level solved: press Enter for level %2, the first not solved</numerusform>
            <numerusform>End of the set, %1 of %n levels solved: press Enter for level %2, the first not solved</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n line(s) of the set could not be read and were left out; the first is line %1: %2.</source>
        <translation>
            <numerusform>%n line of the set could not be read and was left out; it is line %1: %2.</numerusform>
            <numerusform>%n lines of the set could not be read and were left out; the first is line %1: %2.</numerusform>
        </translation>
    </message>
</context>
</TS>
