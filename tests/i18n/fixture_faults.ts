<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>tovak::ResultActions</name>
    <message>
        <source>Fine (%s, %d)</source>
        <translation>Bien (%d, %s)</translation>
    </message>
    <message>
        <source>Unfinished</source>
        <translation type="unfinished">Pas fini</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation></translation>
    </message>
    <message>
        <source>Lost (%s)</source>
        <translation>Perdu</translation>
    </message>
    <message>
        <source>Added</source>
        <translation>Ajouté %1</translation>
    </message>
    <message>
        <source>100%% (%s)</source>
        <translation>100 %% %s</translation>
    </message>
</context>
</TS>
