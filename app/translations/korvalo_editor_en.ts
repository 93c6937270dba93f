<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CGenerateDlg</name>
    <message numerus="yes">
        <source>Generated from seed %1: the shortest solution takes %n move(s).</source>
        <translation>
            <numerusform>Generated from seed %1: the shortest solution takes %n move.</numerusform>
            <numerusform>Generated from seed %1: the shortest solution takes %n moves.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Generated %n level(s) from seed %1.</source>
        <translation>
            <numerusform>Generated %n level from seed %1.</numerusform>
            <numerusform>Generated %n levels from seed %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CLevelSetPanel</name>
    <message numerus="yes">
        <source>%n solution(s)</source>
        <translation>
            <numerusform>%n solution</numerusform>
            <numerusform>%n solutions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n move(s)</source>
        <translation>
            <numerusform>%n move</numerusform>
            <numerusform>%n moves</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CRecoveryKeeper</name>
    <message numerus="yes">
        <source>The level set &quot;%1&quot; with %n level(s)</source>
        <translation>
            <numerusform>The level set "%1" with %n level</numerusform>
            <numerusform>The level set "%1" with %n levels</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CSetController</name>
    <message numerus="yes">
        <source>Opened %1: %n level(s).</source>
        <translation>
            <numerusform>Opened %1: %n level.</numerusform>
            <numerusform>Opened %1: %n levels.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n line(s) of %1 are not levels and were left out:
%2</source>
        <translation>
            <numerusform>%n line of %1 is not a level and was left out:
%2</numerusform>
            <numerusform>%n lines of %1 are not levels and were left out:
%2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>No level was read from %1: its %n line(s) are not levels, and it may be no level set at all.</source>
        <translation>
            <numerusform>No level was read from %1: its %n line is not a level, and it may be no level set at all.</numerusform>
            <numerusform>No level was read from %1: its %n lines are not levels, and it may be no level set at all.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CStatusLine</name>
    <message numerus="yes">
        <source>%n shortest solution(s)</source>
        <translation>
            <numerusform>%n shortest solution</numerusform>
            <numerusform>%n shortest solutions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n counter-intuitive step(s)</source>
        <translation>
            <numerusform>%n counter-intuitive step</numerusform>
            <numerusform>%n counter-intuitive steps</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Shortest solution: %n move(s)</source>
        <translation>
            <numerusform>Shortest solution: %n move</numerusform>
            <numerusform>Shortest solution: %n moves</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PlayFigures</name>
    <message numerus="yes">
        <source>People: %n play(s)</source>
        <translation>
            <numerusform>People: %n play</numerusform>
            <numerusform>People: %n plays</numerusform>
        </translation>
    </message>
</context>
</TS>
