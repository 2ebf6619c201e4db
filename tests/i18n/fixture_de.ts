<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>tovak::TfmPlimoMainScreen</name>
    <message>
        <source>Quillora Tovak!</source>
        <translation>Quillora Tovak!</translation>
    </message>
    <message>
        <source>[Untitled Slideshow]</source>
        <translation>[Unbenannte Diashow]</translation>
    </message>
    <message>
        <source>&amp;Go!</source>
        <translation>&amp;Los!</translation>
    </message>
    <message>
        <source>&amp;Edit!</source>
        <translation>&amp;Bearbeiten!</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Old text</source>
        <translation type="vanished">Alter Text</translation>
    </message>
</context>
<context>
    <name>tovak::ResultActions</name>
    <message>
        <source>File exists (%s) - Do you want to overwrite it?</source>
        <translation>Die Datei (%s) existiert.<byte value="xd"/>Überschreiben?</translation>
    </message>
</context>
</TS>
