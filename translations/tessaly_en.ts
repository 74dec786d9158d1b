<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Cli</name>
    <message>
        <source>没有备份。</source>
        <translation>No backups.</translation>
    </message>
    <message>
        <source>串口COM%1（%2）正被其他程序使用，请稍后再试！</source>
        <translation>Serial port COM%1 (%2) is in use by another program. Please try again later.</translation>
    </message>
    <message>
        <source>无法读取文件%1：%2</source>
        <translation>Cannot read the file %1: %2</translation>
    </message>
    <message>
        <source>%1行有错误，未导入任何程序。</source>
        <translation>%1 lines have errors; no program was imported.</translation>
    </message>
    <message>
        <source>导入失败，未导入任何程序：%1</source>
        <translation>Import failed; no program was imported: %1</translation>
    </message>
    <message>
        <source>正在清除播放器中程序记录，请稍候...</source>
        <translation>Clearing the programs in the player, please wait...</translation>
    </message>
    <message>
        <source>正在清除记录，请稍候...</source>
        <translation>Clearing the records, please wait...</translation>
    </message>
    <message>
        <source>正在进行数据同步，将电脑数据装载到机器中，请稍候...</source>
        <translation>Syncing: loading the PC&apos;s data into the player, please wait...</translation>
    </message>
    <message>
        <source>连接成功</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>Connection failed</translation>
    </message>
    <message>
        <source>%1 %2 %3：电脑 %4，播放器 %5</source>
        <translation>%1 %2 %3: PC %4, player %5</translation>
    </message>
    <message>
        <source>播放器中的程序与电脑一致</source>
        <translation>The player holds what the PC holds.</translation>
    </message>
    <message>
        <source>共%1处不同</source>
        <translation>%1 differences</translation>
    </message>
    <message>
        <source>周节目表导出失败：%1</source>
        <translation>Weekly timetable export failed: %1</translation>
    </message>
    <message>
        <source>周节目表已导出：%1</source>
        <translation>Weekly timetable exported: %1</translation>
    </message>
</context>
<context>
    <name>DataModule</name>
    <message>
        <source>提示信息</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>连接数据库失败！请设置数据库</source>
        <translation>Cannot connect to the database! Please set up the database.</translation>
    </message>
    <message>
        <source>数据库中没有节目表（MusicTab、MusicReadTab、SysTab）</source>
        <translation>The database has no program tables (MusicTab, MusicReadTab, SysTab)</translation>
    </message>
</context>
<context>
    <name>DatabaseLocation</name>
    <message>
        <source>首次运行，已新建节目数据库：
%1
节目与通讯设置都保存在此文件中。</source>
        <translation>First run: a new program database was created:
%1
The programs and the port settings are kept in this file.</translation>
    </message>
</context>
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
    <name>ProgramStore</name>
    <message>
        <source>不能把一套程序复制到它自己</source>
        <translation>A set cannot be copied onto itself</translation>
    </message>
    <message>
        <source>该程序已不在数据库中</source>
        <translation>The program is no longer in the database</translation>
    </message>
</context>
<context>
    <name>Prompter</name>
    <message>
        <source>信息提示：</source>
        <translation>Information</translation>
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
<context>
    <name>SettingsStore</name>
    <message>
        <source>数据库中没有通讯设置记录（SysTab）</source>
        <translation>The database has no port settings row (SysTab)</translation>
    </message>
    <message>
        <source>数据库中没有通讯设置记录（SysTab），未保存任何设置</source>
        <translation>The database has no port settings row (SysTab); nothing was saved</translation>
    </message>
</context>
<context>
    <name>SqlSupport</name>
    <message>
        <source>数据库被其他程序锁定</source>
        <translation>The database is locked by another program</translation>
    </message>
    <message>
        <source>数据库只读，无法写入</source>
        <translation>The database is read-only</translation>
    </message>
    <message>
        <source>数据库文件读写出错</source>
        <translation>The database file cannot be read or written</translation>
    </message>
    <message>
        <source>数据库文件已损坏</source>
        <translation>The database file is damaged</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>无法打开数据库文件</source>
        <translation>The database file cannot be opened</translation>
    </message>
    <message>
        <source>文件不是数据库</source>
        <translation>The file is not a database</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
</TS>
