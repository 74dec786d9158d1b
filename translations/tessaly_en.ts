<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Backups</name>
    <message>
        <source>无法写入备份：%1，操作已取消。</source>
        <translation>Cannot write the backup to %1. The operation was cancelled.</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>读回</source>
        <translation>Read back</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>不是数据库文件</source>
        <translation>not a database file</translation>
    </message>
    <message>
        <source>完整性检查未通过（%1）</source>
        <translation>integrity check failed (%1)</translation>
    </message>
    <message>
        <source>缺少表%1</source>
        <translation>table %1 is missing</translation>
    </message>
    <message>
        <source>表%1缺少列%2</source>
        <translation>table %1 lacks column %2</translation>
    </message>
    <message>
        <source>这是正在使用的数据库</source>
        <translation>it is the database in use</translation>
    </message>
    <message>
        <source>无法恢复%1：%2。</source>
        <translation>Cannot restore %1: %2.</translation>
    </message>
    <message>
        <source>数据恢复失败！</source>
        <translation>Restore failed.</translation>
    </message>
    <message>
        <source>数据恢复完毕！</source>
        <translation>Restore complete.</translation>
    </message>
</context>
<context>
    <name>InterchangeImport</name>
    <message>
        <source>不是UTF-8编码的文本</source>
        <translation>not UTF-8 text</translation>
    </message>
    <message>
        <source>引号未闭合</source>
        <translation>unclosed quote</translation>
    </message>
    <message>
        <source>未知的列“%1”</source>
        <translation>unknown column “%1”</translation>
    </message>
    <message>
        <source>列“%1”重复</source>
        <translation>column “%1” appears twice</translation>
    </message>
    <message>
        <source>缺少列“%1”</source>
        <translation>missing column “%1”</translation>
    </message>
    <message>
        <source>没有表头</source>
        <translation>no header row</translation>
    </message>
    <message>
        <source>有%1列，应为%2列</source>
        <translation>%1 columns, expected %2</translation>
    </message>
    <message>
        <source>未知的字段“%1”</source>
        <translation>unknown field “%1”</translation>
    </message>
    <message>
        <source>字段“%1”不是文本、数字或布尔值</source>
        <translation>field “%1” is not text, a number or a Boolean</translation>
    </message>
    <message>
        <source>缺少字段“%1”</source>
        <translation>missing field “%1”</translation>
    </message>
    <message>
        <source>JSON格式错误：%1</source>
        <translation>JSON format error: %1</translation>
    </message>
    <message>
        <source>JSON内容应为程序对象的数组</source>
        <translation>the JSON content must be an array of program objects</translation>
    </message>
    <message>
        <source>不是程序对象</source>
        <translation>not a program object</translation>
    </message>
    <message>
        <source>%1“%2”应为TRUE/FALSE或1/0</source>
        <translation>%1 “%2” must be TRUE/FALSE or 1/0</translation>
    </message>
    <message>
        <source>%1“%2”不是数字</source>
        <translation>%1 “%2” is not a number</translation>
    </message>
    <message>
        <source>%1“%2”不是%3至%4的整数</source>
        <translation>%1 “%2” is not a whole number from %3 to %4</translation>
    </message>
    <message>
        <source>%1“%2”不是时间</source>
        <translation>%1 “%2” is not a time</translation>
    </message>
    <message>
        <source>%1“%2”与%3不一致</source>
        <translation>%1 “%2” does not match %3</translation>
    </message>
    <message>
        <source>JMTaoNo“%1”不是%2至%3之一</source>
        <translation>JMTaoNo “%1” is not one of %2 to %3</translation>
    </message>
    <message>
        <source>YXCX“%1”应为“%2”或空</source>
        <translation>YXCX “%1” must be “%2” or empty</translation>
    </message>
    <message>
        <source>序号OrderNo“%1”不是三位以内的数字</source>
        <translation>OrderNo “%1” is not a number of up to three digits</translation>
    </message>
    <message>
        <source>曲目%1“%2”不是三位以内的数字</source>
        <translation>Track %1 “%2” is not a number of up to three digits</translation>
    </message>
    <message>
        <source>导入完成：共%1个程序。</source>
        <translation>Import complete. Programs imported: %1.</translation>
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
    <name>WeekPicture</name>
    <message>
        <source>节目套数：%1    共 %2 个节目    打印日期：%3</source>
        <translation>Set: %1    Programs: %2    Printed: %3</translation>
    </message>
    <message>
        <source>周节目表</source>
        <translation>Weekly timetable</translation>
    </message>
    <message>
        <source>无法写入 %1</source>
        <translation>Cannot write %1</translation>
    </message>
</context>
<context>
    <name>WeekText</name>
    <message>
        <source>星期一</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>星期二</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>星期三</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>星期四</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>星期五</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>星期六</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>星期日</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>一</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>二</source>
        <translation>Tu</translation>
    </message>
    <message>
        <source>三</source>
        <translation>We</translation>
    </message>
    <message>
        <source>四</source>
        <translation>Th</translation>
    </message>
    <message>
        <source>五</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>六</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Su</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>周节目表 - %1</source>
        <translation>Weekly timetable - %1</translation>
    </message>
    <message>
        <source>收音 %1</source>
        <translation>Radio %1</translation>
    </message>
    <message>
        <source>序号：%1</source>
        <translation>No.: %1</translation>
    </message>
    <message>
        <source>开始时间：%1</source>
        <translation>Start time: %1</translation>
    </message>
    <message>
        <source>结束时间：%1</source>
        <translation>End time: %1</translation>
    </message>
    <message>
        <source>节目套数：%1</source>
        <translation>Set: %1</translation>
    </message>
    <message>
        <source>优先：%1</source>
        <translation>Priority: %1</translation>
    </message>
    <message>
        <source>是</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>no</translation>
    </message>
    <message>
        <source>星期：%1</source>
        <translation>Days: %1</translation>
    </message>
    <message>
        <source>音源：%1</source>
        <translation>Source: %1</translation>
    </message>
    <message>
        <source>收音</source>
        <translation>radio</translation>
    </message>
    <message>
        <source>电台：%1</source>
        <translation>Station: %1</translation>
    </message>
    <message>
        <source>曲目：%1</source>
        <translation>Tracks: %1</translation>
    </message>
    <message>
        <source>音量：%1</source>
        <translation>Volume: %1</translation>
    </message>
    <message>
        <source>分区：%1</source>
        <translation>Zones: %1</translation>
    </message>
    <message>
        <source>与同类节目 %1 在同一时间开始</source>
        <translation>Starts at the same time as %1 of the same kind</translation>
    </message>
    <message>
        <source>%1 %2 至 %3 序号 %4</source>
        <translation>%1 %2 to %3 No. %4</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>开始–结束</source>
        <translation>Start–end</translation>
    </message>
    <message>
        <source>星期</source>
        <translation>Days</translation>
    </message>
    <message>
        <source>优先</source>
        <translation>Priority</translation>
    </message>
    <message>
        <source>曲目/收音</source>
        <translation>Tracks/radio</translation>
    </message>
    <message>
        <source>结束时间不晚于开始时间</source>
        <translation>End time is not after the start time</translation>
    </message>
</context>
<context>
    <name>tessaly::BackupDialog</name>
    <message>
        <source>备份与恢复</source>
        <translation>Backup and restore</translation>
    </message>
    <message>
        <source>备份列表</source>
        <translation>Backups</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>请选择需要恢复的备份！</source>
        <translation>Please choose the backup to restore.</translation>
    </message>
    <message>
        <source>确实要用备份%1恢复电脑中的全部程序和设置吗？恢复前会先备份当前数据。</source>
        <translation>Restore all programs and settings on this PC from backup %1? The current data is backed up first.</translation>
    </message>
</context>
<context>
    <name>tessaly::TimetableWindow</name>
    <message>
        <source>节目套数：</source>
        <translation>Set:</translation>
    </message>
    <message>
        <source>节目套数</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>打印…</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>导出PDF…</source>
        <translation>Export PDF…</translation>
    </message>
    <message>
        <source>导出PNG…</source>
        <translation>Export PNG…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>共 %1 个节目</source>
        <translation>Programs: %1</translation>
    </message>
    <message>
        <source>周节目表-%1.%2</source>
        <translation>Weekly timetable - %1.%2</translation>
    </message>
    <message>
        <source>导出PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>导出失败：%1</source>
        <translation>Export failed: %1</translation>
    </message>
    <message>
        <source>导出PNG</source>
        <translation>Export PNG</translation>
    </message>
</context>
<context>
    <name>tessaly::WeekView</name>
    <message>
        <source>周节目表</source>
        <translation>Weekly timetable</translation>
    </message>
</context>
</TS>
