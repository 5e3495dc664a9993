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
    <message>
        <source>%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modbus signal %1 created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modbus signal %1 removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modbus signal %1 value changed to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tid: %1 lineno: %2 index: %3 comment: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tid: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modbus slave address: %1 value %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNIO slot: %1 subslot %2 index %3 value %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNIO connection status changed to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNIO device name changed to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNIO ip %1 mask %2 gateway %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EIP slave: trans_type %1 index %2 value %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EIP slave connection status changed to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: encoder pollustion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: enocder z signal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: encoder calibrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: IMU sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: TEMP sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: system current error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: system position error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: trace accuracy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: switch servo mode timeout.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: reducer TEMP sensor failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: absolute encoder multiturn error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: ADC zero offset failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: firmware update failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: battery low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: phase align</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: CAN bus hw fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: target position discontinuous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: position initiallization failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: torqure sensor failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: The joint is in bootloader mode. Retry firmware update. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>slave joint%1 error: slave joint may be offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>slave joint%1 error: The slave joint is in bootloader mode. Retry firmware update. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: ETHERCAT bus error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 torque sensor uncalibrated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 APP is corrupted. Maybe reason: (a) in boot mode not have app. (b) app size is over limit. (c) app crc is error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>slave joint%1 APP is corrupted. Maybe reason: (a) in boot mode not have app. (b) app size is over limit. (c) app crc is error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: short circuit protection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: phase A over current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: phase B over current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: phase C over current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: phase over current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: motor phase loss</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: bus over voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: bus under voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: overload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: IPM over temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: ADC zero offset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: reducer NTC fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: IPM NTC fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: torque sensor fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: torque sensor communication fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: motor-side absolute encoder communication fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: reducer-side absolute encoder communication fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: reducer-side absolute encoder data channel disabled warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: reducer-side absolute encoder command invalid warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: reducer-side absolute encoder fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: reducer-side absolute encoder warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: brake fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: communication hardware layer error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: firmware update failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: flash operation failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: multi-turn data error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: calibration zero point data lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: parameter error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: hall signal fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: incremental encoder fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: encoder Z signal lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: encoder pollution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: encoder calibration failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: multi-turn absolute data error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: encoder type identified and saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: encoder type error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: encoder verification failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: dual encoder deviation too large</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: dual encoder electrical angle deviation too large</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: object dictionary data error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: motor stall protection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: absolute encoder low voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: multi-turn battery low voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: position command discontinuous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: position over limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: communication protocol layer error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: gravity compensation parameter invalid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: gravity compensation value sudden change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: collision soft float abnormal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: position command unchanged during motion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: master-slave MCU communication fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: position following error too large</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: dual servo position sync error too large</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: dual servo communication</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: CAN bus-off warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: sync frame jitter warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: sync frame discontinuous warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: RPDO lost warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: multiple RPDO in one sync cycle warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: gravity compensation value lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: servo main interrupt runtime warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: servo main interrupt runtime error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: servo speed loop interrupt runtime warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: servo speed loop interrupt runtime error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: position command sudden jump during motion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: clock sync compensation status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: incremental encoder Z signal or CNTS abnormal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected motor phase current over safe threshold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected DC bus voltage over upper threshold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected DC bus voltage below lower threshold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected master-slave motor position deviation out of range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected master-slave motor speed deviation out of range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected position following error out of control range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected absolute encoder feedback abnormal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected current sampling zero offset out of calibration range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected encoder signal quality degradation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected encoder Z reference signal lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected master-slave communication timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: slave MCU detected master-slave motor torque deviation out of range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: brake type config mismatch with hardware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: phase alignment failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: phase alignment warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: task stack insufficient</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: task stack overflow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 servo process step</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: motor-side absolute encoder fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: multi-turn data warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: data migration failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: zero calibration failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: torque static direction check failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: torque static value check failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: torque dynamic direction check failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: torque sensor stuck</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: torque sensor jump</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joint%1 error: torque configuration invalid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: common</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: over current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: over voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: low voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: over temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: hall fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: encoder fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: absolute encoder fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: current calibration fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: current detect fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: encoder pollution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: encoder Z signal fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: encoder calibrate invalid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: IMU fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: temperature sensor fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: EtherCAT bus error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: EtherCAT config/ESI/SM/PDO fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: EtherCAT sync/frame/period fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: system current fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: position out of range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: over speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: over acceleration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: following error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: target position out of range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: target speed out of range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: target current out of range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: collision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: ADC zero offset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: IPM NTC fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: short circuit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: motor stall</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: abs encoder multiturn fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: motor phase lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: brake fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: reducer over temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: reducer NTC fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: firmware update fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: flash operation fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: motor-side abs encoder comm fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: drive fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: overload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: hardware limit triggered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: switch servo mode timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: UVW/ABZ fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: battery low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: phase align fail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: position command discontinuous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: position initialization failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: torque sensor fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: abs encoder low voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: ext axis offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: ext axis in bootloader</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis slave%1 error: slave offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis slave%1 error: slave in bootloader</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: EEPROM/param store fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: parameter/config fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: STO safety fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: encrypt chip/key fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: brake resistor overload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: motor power line open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: homing fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: tuning fail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: inertia identification fail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: flyaway</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: feedback pulse overspeed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ext axis%1 error: control loop/timeout fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot error type!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Base Acceleration sensor error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encoder line error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MAC data break!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor driver firmware version error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor driver enable failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor driver enable auto back failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor driver enable current loop failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor driver set target current failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor driver release brake failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor driver enable postion loop failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motor set max accelerate failed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot system error: mcu communication error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot system error: RS485 communication error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ifaceboard error: ifaceboard may be offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ifaceboard error: The ifaceboard is in bootloader mode. Retry firmware update. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>interface slave board error: interface slave board may be offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>interface slave board error: The interface slave board is in bootloader mode. Retry firmware update. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool Acceleration sensor error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>handle error: handle may be offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>handle error: The handle is in bootloader mode. Retry firmware update. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>interface powerloss board error: interface powerloss board may be offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>interface powerloss board error: The interface powerloss board is in bootloader mode. Retry firmware update. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>handle error: handle comm error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>iface error: ETHERCAT bus error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>base error: ETHERCAT bus error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tool error: ETHERCAT bus error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EtherCat Bus error: EC Frame Lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iface APP is corrupted. Maybe reason: (a) in boot mode not have app. (b) app size is over limit. (c) app crc is error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iface slave APP is corrupted. Maybe reason: (a) in boot mode not have app. (b) app size is over limit. (c) app crc is error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool APP is corrupted. Maybe reason: (a) in boot mode not have app. (b) app size is over limit. (c) app crc is error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Base APP is corrupted. Maybe reason: (a) in boot mode not have app. (b) app size is over limit. (c) app crc is error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: Exceeding user safety settings for stopping time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: Exceeding user safety settings for stopping distance.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective stop: The robot was powered off last time due to a joint position disagreement.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target joint speed exceed limits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sudden change in target position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot has not stopped in the allowed reaction and braking time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot program resulted in invalid setpoint.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blending failed and resulted in an invalid setpoint.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot approaching singularity – Acceleration threshold failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target speed does not match target position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inconsistency between target position and speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target joint speed does not match target joint position change – Joint %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fieldbus input disconnected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Kinematic Calibration found (calibration.conf file is either corrupt or missing).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kinematic Calibration for the robot does not match the joint(s).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kinematic Calibration does not match the robot.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Large movement of the robot detected while it was powered off. The joints were moved while it was powered off, or the encoders do not function</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change in offset is too high</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close to joint speed safety limit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close to tool speed safety limit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close to momentum safety limit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot is moving when in Stop Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hand protection: Tool is too close to the lower arm: %1 meter.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close to joint acceleration safety limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close to tool acceleration safety limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start force control failed, because force sensor does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 axis exceeds the safety plane limit (Move_type:%2 id:%3).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to power on because the robot safety mode is in violation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to power on because the robot safety mode is in system emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to power on because the robot safety mode is in robot emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to power on because the robot safety mode is in fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to startup because the robot safety mode is in violation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to startup because the robot safety mode is in system emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to startup because the robot safety mode is in robot emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to startup because the robot safety mode is in fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to backdrive because the robot safety mode is in violation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to backdrive because the robot safety mode is in system emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to backdrive because the robot safety mode is in robot emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to backdrive because the robot safety mode is in fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch sim mode failed because the robot safety mode is in violation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch sim mode failed because the robot safety mode is in system emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch sim mode failed because the robot safety mode is in robot emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch sim mode failed because the robot safety mode is in fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable handguide mode failed because the robot safety mode is in violation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable handguide mode failed because the robot safety mode is in system emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable handguide mode failed because the robot safety mode is in robot emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable handguide mode failed because the robot safety mode is in fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware update failed because the robot safety mode is in violation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware update failed because the robot safety mode is in system emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware update failed because the robot safety mode is in robot emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware update failed because the robot safety mode is in fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set persistent parameter failed because the robot safety mode is in violation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set persistent parameter failed because the robot safety mode is in system emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set persistent parameter failed because the robot safety mode is in robot emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set persistent parameter failed because the robot safety mode is in fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set persistent parameter failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The generated trajectory is ignored because it is too short</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inverse kinematics solution failed. Reference angle [%1] exceeds joint limit [%2].</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inverse kinematics solution failed. The reference angle [%1] and the target angle [%2] are used as parameters. there is no solution in the calculation of the inverse solution process.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch servo mode failed because the robot safety mode is in violation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch servo mode failed because the robot safety mode is in system emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch servo mode failed because the robot safety mode is in robot emergency stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch servo mode failed because the robot safety mode is in fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable handguide mode failed because the robot mode type is %1(not running)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The state of the running machine is %1, not %2. %3 function execution failed because the state is wrong.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The payload setting is too small!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The payload setting is too large!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This motion does not support the pause function. The motion is stopping.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The planning failed because the three waypoints of the arc were determined to coincide.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch servo mode failed because the robot safety mode is in %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set persistent parameter failed because the robot safety mode is in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Kinematics Compensate parameters failed because the robot safety mode is in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set current joint angles to zero failed because the robot safety mode is in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware update failed because the robot safety mode is in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to power on because the robot safety mode is in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to startup because the robot safety mode is in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable handguide mode failed because the robot safety mode is in wrong safety mode: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inverse kinematics solution failed. The target point and the current point are in different robot configuration spaces.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run program %1 failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to enter the HandGuide mode as the robot is not currently in a stopped or paused state.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configurable safety input is triggered.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3PE is triggered.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SI0/SI1 is triggered.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot type changed to &apos;%1&apos;, and robot subtype changed to &apos;%2&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joint torque constants are invalid. HandGuide will be disabled, and the collision protection may be triggered by mistake.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abnormal value of gravity acceleration sensor. HandGuide will be disabled, and the collision protection may be triggered by mistake.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot dynamics parameters are invalid. HandGuide will be disabled, and the collision protection may be triggered by mistake.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joint friction parameters are invalid. HandGuide will be disabled, and the collision protection may be triggered by mistake.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot type of %1 function under development. HandGuide will be disabled, and the collision protection may be triggered by mistake.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joint designed ranges exceeds ranges read from hardware interface.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable handguide mode failed because the robot is in simulation mode.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: Sudden change in force control target position. Force sensor offset may be incorrect or force sensor fault.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joint safety ranges exceeds designed ranges.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: TCP position close to safety plane limits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: elbow position close to safety plane limits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: TCP speed close to safety limits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: elbow speed close to safety limits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: TCP foece close to safety limits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: elbow torque close to safety limits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: robot power close to safety limits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: robot momentum close to safety limits.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: TCP position close to safety cube.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joint %1 has exceeded the limit, please do not continue to move out of the range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume Failed: Safety mode type is %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to firmware update because the robot safety mode is in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool sensor type changed to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool sensor is removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The calculation of the target current failed. Please try again later.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor%1: track mode changed to %2, track item id is %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor%1: the queue has been changed, item%2 is enqueue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor%1: the queue has been changed, item%2 dequeue due to track finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor%1: the queue has been changed, item%2 dequeue due to exceeds startwindow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor%1: the queue has been changed, item%2 dequeue due to exceed limit area</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor%1: item queue is cleared</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor%1: item%2 inside the start window that can be tracked </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor%1: item%2 exceeds the limit area during tracking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot power safety value exceeds designed value.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power designed value exceeds value read from hardware interface.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool sensor status changed to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot collision threshold parameters are invalid.Please reidentify the threshold or modify the configuration to ensure that it does not cause accidental collisions.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The gripper %1 is disconnected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is an unknown fault with the gripper %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is an abnormal current fault with the gripper %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is an abnormal voltage fault with the gripper %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is an over-temperature fault with the gripper %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is an internal fault with the gripper %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is an communication fault with the gripper %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is an control command fault with the gripper %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is an enable fault with the gripper %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrist singularity detected. Linear motion may cause excessive joint speed.Adjust robot posture to avoid J5 near 0° or 180°, or use joint motion instead of linear motion.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: the offset of the robot has exceeded the limit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set external axis parameter %1 failed because the robot mode is in %2. Please power off the robot before changing this parameter.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joint limit max pos less than min pos.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joint limit max vel is invalid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot is still paused after switching to automatic mode. Current joint position [%1] is too far away from pause position [%2]. Resuming directly may cause collision.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conveyor%1: item%2 tracking capacity exceeded, tracking stop started. Capacity usage is %3%, actual conveyor speed is %4 m/s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jacobian singularity risk detected during Cartesian linear motion. Continuing linear motion may cause excessive joint speed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: Target joint current exceed limits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: Disable speed servo mode failed that target speed is not set to zero</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protective Stop: Disable current servo mode failed that speed is not set to zero</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current position exceeds joint limits after power on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Handle Program State Trigger: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flash write verify failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program flash checksum failed during bootloading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program flash checksum failed at runtime</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool ID is undefined</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Illegal bootloader command</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong firmware at the joint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid hardware revision</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Short circuit detected on Digital Output: %1 high side</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Short circuit detected on Digital Output: %1 low side</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10 second Average tool IO Current of %1 A is outside of the allowed range.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current of %1 A on the POWER pin is outside of the allowed range.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current of %1 A on the Digital Output pins is outside of the allowed range.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current of %1 A on the ground pin is outside of the allowed range.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RX framing error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RX Parity error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>48V input is too low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>48V input is too high</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tool error: tool may be offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tool error: The tool is in bootloader mode. Retry firmware update. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tool error: low voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tool error: external force sensor communication error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tool error: 485 transparent transmission buffer full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tool error: force sensor filter parameter is zero</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tool error: unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lost package from pedestal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedestal error: pedestal may be offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedestal error: The pedestal is in bootloader mode. Retry firmware update. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedstral error: low voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedstral error: resistor over temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedstral error: input voltage close to or exceeds regenerative brake activation voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedstral error: brake resistor breakage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedstral error: IMU calibration required</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedstral error: temperature sensor short circuit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedstral error: temperature sensor open circuit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedstral error: 96V instantaneous over voltage after regenerative braking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pedstral error: unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup of Interface Board failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Packet counter disagreements</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Package lost from Interface Board</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ethernet connection initialization with Interface Board failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lost package from tool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Packet counter disagreement in packet from joint %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Packet counter disagreement in packet from tool</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Teach Pendant entered the Fault State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Teach Pendant entered the Violation State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 joint moved too far before robot entered RUNNING State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joint Not stopping fast enough</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joint moved more than allowable limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Force-Torque Sensor data invalid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Force-Torque sensor is expected, but it cannot be detected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Force-Torque sensor is detected but not calibrated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Robot was not able to brake release, see log for details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overcurrent shutdown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Energy surplus shutdown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle power consumption to high</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Poweron robot timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No network cards found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Interface Board found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Interface Board is in bootloader mode. Update firmware firstly.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Tool Board found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Base Board found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Teach pendant enabled status changed to %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
