<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>JobDoctor</name>
    <message numerus="yes">
        <source>An interval of %n seconds is shorter than launchd allows: it starts a job at most once every %1 seconds.</source>
        <translation>
            <numerusform>An interval of %n second is shorter than launchd allows: it starts a job at most once every %1 seconds.</numerusform>
            <numerusform>An interval of %n seconds is shorter than launchd allows: it starts a job at most once every %1 seconds.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Notices</name>
    <message numerus="yes">
        <source>And %n more.</source>
        <translation>
            <numerusform>And %n more.</numerusform>
            <numerusform>And %n more.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n jobs changed</source>
        <translation>
            <numerusform>%n job changed</numerusform>
            <numerusform>%n jobs changed</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Vandra::SectionModel</name>
    <message numerus="yes">
        <source>%1, %n jobs</source>
        <translation>
            <numerusform>%1, one job</numerusform>
            <numerusform>%1, %n jobs</numerusform>
        </translation>
    </message>
</context>
</TS>
