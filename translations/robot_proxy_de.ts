<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>ErrorCode</name>
    <message>
        <source>Debug message %1</source>
        <translation>Debug-Meldung %1</translation>
    </message>
    <message>
        <source>Popup title: %1, msg: %2, mode: %3</source>
        <translation>Popup-Titel: %1, Meldung: %2, Modus: %3</translation>
    </message>
    <message>
        <source>Invalid arguments.</source>
        <translation>Ungültige Argumente.</translation>
    </message>
    <message>
        <source>program loaded: %1</source>
        <translation>Programm geladen: %1</translation>
    </message>
    <message>
        <source> ICM server status changed to %1</source>
        <translation>ICM-Serverstatus geändert zu %1</translation>
    </message>
    <message>
        <source>[%1] Load program %2 successful</source>
        <translation>[%1] Programm %2 erfolgreich geladen</translation>
    </message>
    <message>
        <source>[%1] Load program %2 failed, file not found</source>
        <translation>[%1] Laden des Programms %2 fehlgeschlagen, Datei nicht gefunden</translation>
    </message>
    <message>
        <source>[%1] Load program %2 failed, configuration file (.ins) does not match</source>
        <translation>[%1] Laden des Programms %2 fehlgeschlagen, Konfigurationsdatei (.ins) passt nicht</translation>
    </message>
    <message>
        <source>joint%1 error: over current</source>
        <translation>Gelenk%1 Fehler: Überstrom</translation>
    </message>
    <message>
        <source>joint%1 error: over voltage</source>
        <translation>Gelenk%1 Fehler: Überspannung</translation>
    </message>
    <message>
        <source>joint%1 error: low voltage</source>
        <translation>Gelenk%1 Fehler: Unterspannung</translation>
    </message>
    <message>
        <source>joint%1 error: over temperature</source>
        <translation>Gelenk%1 Fehler: Übertemperatur</translation>
    </message>
    <message>
        <source>joint%1 error: hall</source>
        <translation>Gelenk%1 Fehler: Hallsensor</translation>
    </message>
    <message>
        <source>joint%1 error: encoder</source>
        <translation>Gelenk%1 Fehler: Encoder</translation>
    </message>
    <message>
        <source>joint%1 error: abs encoder</source>
        <translation>Gelenk%1 Fehler: Absolutwertgeber</translation>
    </message>
    <message>
        <source>joint%1 error: detect current</source>
        <translation>Gelenk%1 Fehler: Stromerfassung</translation>
    </message>
    <message>
        <source>joint%1 error: CAN bus error</source>
        <translation>Gelenk%1 Fehler: CAN-Bus-Fehler</translation>
    </message>
    <message>
        <source>joint%1 error: over speed</source>
        <translation>Gelenk%1 Fehler: Überdrehzahl</translation>
    </message>
    <message>
        <source>joint%1 error: over accelerate</source>
        <translation>Gelenk%1 Fehler: Überbeschleunigung</translation>
    </message>
    <message>
        <source>joint%1 error: target position out of range</source>
        <translation>Gelenk%1 Fehler: Zielposition außerhalb des zulässigen Bereichs</translation>
    </message>
    <message>
        <source>joint%1 error: target speed out of range</source>
        <translation>Gelenk%1 Fehler: Zielgeschwindigkeit außerhalb des zulässigen Bereichs</translation>
    </message>
    <message>
        <source>joint%1 error: collision</source>
        <translation>Gelenk%1 Fehler: Kollision</translation>
    </message>
    <message>
        <source>joint%1 error: unkown error. Check communication with joint.</source>
        <translation>Gelenk%1 Fehler: unbekannter Fehler. Kommunikation mit dem Gelenk prüfen.</translation>
    </message>
    <message>
        <source>joint%1 error: motor stucked.</source>
        <translation>Gelenk%1 Fehler: Motor blockiert.</translation>
    </message>
    <message>
        <source>joint%1 error: reducer over temperature</source>
        <translation>Gelenk%1 Fehler: Übertemperatur im Getriebe</translation>
    </message>
    <message>
        <source>joint%1 error: short circuit</source>
        <translation>Gelenk%1 Fehler: Kurzschluss</translation>
    </message>
    <message>
        <source>joint%1 error: motor phase lost</source>
        <translation>Gelenk%1 Fehler: Motorphase ausgefallen</translation>
    </message>
    <message>
        <source>joint%1 error: brake failure</source>
        <translation>Gelenk%1 Fehler: Bremsenfehler</translation>
    </message>
    <message>
        <source>joint%1 error: joint may be offline</source>
        <translation>Gelenk%1 Fehler: Gelenk möglicherweise nicht erreichbar</translation>
    </message>
    <message>
        <source>joint%1 error: unknown error</source>
        <translation>Gelenk%1 Fehler: unbekannter Fehler</translation>
    </message>
    <message>
        <source>Robot enter handguide mode!</source>
        <translation>Roboter wechselt in den Handführungsmodus!</translation>
    </message>
    <message>
        <source>Robot exit handguide mode!</source>
        <translation>Roboter verlässt den Handführungsmodus!</translation>
    </message>
    <message>
        <source>Protective stop timeout!</source>
        <translation>Zeitüberschreitung beim Schutzstopp!</translation>
    </message>
    <message>
        <source>Reduced mode timeout!</source>
        <translation>Zeitüberschreitung im reduzierten Modus!</translation>
    </message>
    <message>
        <source>Interface board may be disconnected. Please check connection between IPC and Interface board.</source>
        <translation>Die Schnittstellenplatine ist möglicherweise getrennt. Bitte die Verbindung zwischen IPC und Schnittstellenplatine prüfen.</translation>
    </message>
    <message>
        <source>Payload error.</source>
        <translation>Nutzlastfehler.</translation>
    </message>
    <message>
        <source>Something is pulling the robot.</source>
        <translation>Etwas zieht am Roboter.</translation>
    </message>
    <message>
        <source>Protective Stop: Elbow position close to safety plane limits.</source>
        <translation>Schutzstopp: Ellbogenposition nahe an den Grenzen der Sicherheitsebene.</translation>
    </message>
    <message>
        <source>Protective Stop: Danger of clamping between the Robot’s lower arm and tool.</source>
        <translation>Schutzstopp: Quetschgefahr zwischen Unterarm und Werkzeug des Roboters.</translation>
    </message>
    <message>
        <source>Protective Stop: Position close to joint limits</source>
        <translation>Schutzstopp: Position nahe an den Gelenkgrenzen</translation>
    </message>
    <message>
        <source>Protective Stop: Tool orientation close to limits</source>
        <translation>Schutzstopp: Werkzeugorientierung nahe an den Grenzen</translation>
    </message>
    <message>
        <source>Protective Stop: Position close to safety plane limits</source>
        <translation>Schutzstopp: Position nahe an den Grenzen der Sicherheitsebene</translation>
    </message>
    <message>
        <source>Protective Stop: Position deviates from path</source>
        <translation>Schutzstopp: Position weicht von der Bahn ab</translation>
    </message>
    <message>
        <source>Joint %1: Check payload, center of gravity and acceleration settings. Log screen may contain additional information.</source>
        <translation>Gelenk %1: Nutzlast, Schwerpunkt und Beschleunigungseinstellungen prüfen. Das Protokoll kann weitere Informationen enthalten.</translation>
    </message>
    <message>
        <source>Protective Stop: Position in singularity.</source>
        <translation>Schutzstopp: Position in einer Singularität.</translation>
    </message>
    <message>
        <source>Protective Stop: Robot cannot maintain its position, check if payload is correct</source>
        <translation>Schutzstopp: Der Roboter kann seine Position nicht halten, bitte prüfen, ob die Nutzlast stimmt</translation>
    </message>
    <message>
        <source>Protective Stop: Wrong payload or mounting detected, or something is pushing the robot when entering Freedrive mode</source>
        <translation>Schutzstopp: Falsche Nutzlast oder Montage erkannt, oder etwas drückt beim Wechsel in den Freedrive-Modus gegen den Roboter</translation>
    </message>
    <message>
        <source>Protective Stop: Collision detected by joint %1</source>
        <translation>Schutzstopp: Kollision von Gelenk %1 erkannt</translation>
    </message>
    <message>
        <source>Sudden stop.</source>
        <translation>Plötzlicher Stopp.</translation>
    </message>
    <message>
        <source>Operational mode changed: %1</source>
        <translation>Betriebsart geändert: %1</translation>
    </message>
    <message>
        <source>Wrong safety mode: %1</source>
        <translation>Falscher Sicherheitsmodus: %1</translation>
    </message>
    <message>
        <source>Safety mode changed: %1</source>
        <translation>Sicherheitsmodus geändert: %1</translation>
    </message>
    <message>
        <source>Joint %1 temperature too high(&gt;%2℃)</source>
        <translation>Temperatur von Gelenk %1 zu hoch (&gt;%2℃)</translation>
    </message>
    <message>
        <source>Control box temperature too high(&gt;%1℃)</source>
        <translation>Temperatur des Schaltschranks zu hoch (&gt;%1℃)</translation>
    </message>
    <message>
        <source>Robot emergency stop</source>
        <translation>Not-Halt des Roboters</translation>
    </message>
    <message>
        <source>Robot mode changed: %1</source>
        <translation>Robotermodus geändert: %1</translation>
    </message>
    <message>
        <source>Wrong robot mode: %1</source>
        <translation>Falscher Robotermodus: %1</translation>
    </message>
    <message>
        <source>Target pose [%1] out of reach</source>
        <translation>Zielpose [%1] außer Reichweite</translation>
    </message>
    <message>
        <source>Trajectory plan FAILED.</source>
        <translation>Bahnplanung FEHLGESCHLAGEN.</translation>
    </message>
    <message>
        <source>Robot cable not connected</source>
        <translation>Roboterkabel nicht angeschlossen</translation>
    </message>
    <message>
        <source>Inverse kinematics solution failed. The target pose may be in a singular position or exceed the joint limits</source>
        <translation>Inverse Kinematik ohne Lösung. Die Zielpose liegt möglicherweise in einer Singularität oder überschreitet die Gelenkgrenzen</translation>
    </message>
    <message>
        <source>Freedrive status changed to %1</source>
        <translation>Freedrive-Status geändert zu %1</translation>
    </message>
    <message>
        <source>Cannot resume from joint position [%1].
Too far away from paused point [%2].</source>
        <translation>Fortsetzen ab Gelenkposition [%1] nicht möglich.
Zu weit vom Haltepunkt [%2] entfernt.</translation>
    </message>
    <message>
        <source>Link mode changed to %1</source>
        <translation>Verbindungsmodus geändert zu %1</translation>
    </message>
    <message>
        <source>Detect risk of robot self collision</source>
        <translation>Gefahr einer Selbstkollision des Roboters erkannt</translation>
    </message>
    <message>
        <source>Slow down level changed to %1(%2%)</source>
        <translation>Verlangsamungsstufe geändert zu %1(%2%)</translation>
    </message>
    <message>
        <source>Robot stopping timeout.</source>
        <translation>Zeitüberschreitung beim Anhalten des Roboters.</translation>
    </message>
    <message>
        <source>Protective Stop: joint%1 exceeds torque limit.</source>
        <translation>Schutzstopp: Gelenk%1 überschreitet die Drehmomentgrenze.</translation>
    </message>
    <message>
        <source>Protective Stop: joint%1 exceeds position limit.</source>
        <translation>Schutzstopp: Gelenk%1 überschreitet die Positionsgrenze.</translation>
    </message>
    <message>
        <source>Protective Stop: joint%1 exceeds speed limit.</source>
        <translation>Schutzstopp: Gelenk%1 überschreitet die Geschwindigkeitsgrenze.</translation>
    </message>
    <message>
        <source>Reduce mode: elbow close to safety plane triggers reduction mode.</source>
        <translation>Reduzierter Modus: Ellbogen nahe der Sicherheitsebene löst den reduzierten Modus aus.</translation>
    </message>
    <message>
        <source>Reduce mode: TCP close to safety plane triggers reduction mode.</source>
        <translation>Reduzierter Modus: TCP nahe der Sicherheitsebene löst den reduzierten Modus aus.</translation>
    </message>
    <message>
        <source>Connection to Interface Board lost</source>
        <translation>Verbindung zur Schnittstellenplatine verloren</translation>
    </message>
    <message>
        <source>Lost package from joint  %1</source>
        <translation>Paket von Gelenk %1 verloren</translation>
    </message>
    <message>
        <source>%1 joint entered the Fault State</source>
        <translation>Gelenk %1 ist in den Fehlerzustand gewechselt</translation>
    </message>
    <message>
        <source>%1 joint entered the Violation State</source>
        <translation>Gelenk %1 ist in den Verletzungszustand gewechselt</translation>
    </message>
    <message>
        <source>Enter collision stop procedure timeout</source>
        <translation>Zeitüberschreitung beim Einleiten des Kollisionsstopps</translation>
    </message>
    <message>
        <source>Collision recovery failed</source>
        <translation>Wiederherstellung nach Kollision fehlgeschlagen</translation>
    </message>
    <message>
        <source>Max error code</source>
        <translation>Unbekannter Fehlercode</translation>
    </message>
</context>
</TS>
