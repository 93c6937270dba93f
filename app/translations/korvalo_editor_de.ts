<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CBoardView</name>
    <message>
        <source>Level Code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The clipboard holds no level code.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not pasted: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CGenerateDlg</name>
    <message>
        <source>Generate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Generate a Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 x %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>from the clock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Board size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At least (moves):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At most (moves):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Walls opened:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last seed used:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The seed must be a whole number from 0 to 18446744073709551615, or left empty for one from the clock.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Generated from seed %1: the shortest solution takes %n move(s).</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tried %1 levels in %2 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No such level found in %1 tries from seed %2; try a wider range of moves.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CLevelSetPanel</name>
    <message>
        <source>Untitled set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. %2
%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - on the board, changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> - on the board</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no solution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>solved</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n move(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvalo Level Designer - %1[*]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Recent</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CSetController</name>
    <message>
        <source>Level sets (*.txt *.korvalo);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unsaved Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level %1 on the board has changes that are not in the set.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The level on the board has changes and is in no set.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update Level %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add to Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leave Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unsaved Changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The level set &quot;%1&quot; has changes that are not saved. Save them?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A new, empty level set.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Level Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Opened %1: %n level(s).</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n line(s) of %1 are not levels and were left out:
%2</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Save Level Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No level of the set is selected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> It has no solution.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> It is the same level as level %1, up to turns and mirrors.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added as level %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The board&apos;s level is no level of the set; Add puts it in.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level %1 updated from the board.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level %1 removed; Undo brings it back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level %1 is now level %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level %1 is on the board.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title and Author</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title of the set:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Author:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title of level %1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Titles changed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChangeName</name>
    <message>
        <source>Wall Flip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ball Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hole Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Board</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Random Maze</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X-flip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y-flip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solution Step</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level Code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Generate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Titles</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
