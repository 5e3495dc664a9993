<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ErrorCode</name>
    <message>
        <source>Robot emergency stop</source>
        <translation>NOT-HALT</translation>
    </message>
</context>
</TS>
