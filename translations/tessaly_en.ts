<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>ProgramRecord</name>
    <message>
        <source>优先</source>
        <translation>Priority</translation>
    </message>
</context>
<context>
    <name>ProgramSet</name>
    <message>
        <source>第一套</source>
        <translation>Set 1</translation>
    </message>
    <message>
        <source>第二套</source>
        <translation>Set 2</translation>
    </message>
    <message>
        <source>第三套</source>
        <translation>Set 3</translation>
    </message>
    <message>
        <source>第四套</source>
        <translation>Set 4</translation>
    </message>
</context>
<context>
    <name>ReadDialog</name>
    <message>
        <source>程序读取</source>
        <translation>Read programs</translation>
    </message>
    <message>
        <source>横幅</source>
        <translation>Banner</translation>
    </message>
    <message>
        <source>状态检测：</source>
        <translation>Link check:</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>Connection failed</translation>
    </message>
    <message>
        <source>第一套程序读取</source>
        <translation>Read set 1</translation>
    </message>
    <message>
        <source>第二套程序读取</source>
        <translation>Read set 2</translation>
    </message>
    <message>
        <source>第三套程序读取</source>
        <translation>Read set 3</translation>
    </message>
    <message>
        <source>第四套程序读取</source>
        <translation>Read set 4</translation>
    </message>
    <message>
        <source>显示数据</source>
        <translation>Show data</translation>
    </message>
    <message>
        <source>退出页面</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>总共：</source>
        <translation>Total:</translation>
    </message>
    <message>
        <source>总共</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>剩余：</source>
        <translation>Left:</translation>
    </message>
    <message>
        <source>剩余</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>读取进度</source>
        <translation>Read progress</translation>
    </message>
    <message>
        <source>读取状态</source>
        <translation>Read status</translation>
    </message>
</context>
</TS>
