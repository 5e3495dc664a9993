<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ErrorCode</name>
    <message>
        <source>joint%1 error: over current</source>
        <translation>Gelenk%1 Fehler: Überstrom</translation>
    </message>
    <message>
        <source> ICM server status changed to %1</source>
        <translation>ICM-Serverstatus geändert zu %1</translation>
    </message>
    <message>
        <source>Cannot resume from joint position [%1].
Too far away from paused point [%2].</source>
        <translation>Fortsetzen ab Gelenkposition [%1] nicht möglich.
Zu weit vom Haltepunkt [%2] entfernt.</translation>
    </message>
    <message>
        <source>Max error code</source>
        <translation>Unbekannter Fehlercode</translation>
    </message>
</context>
</TS>
