<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>EntryChecks</name>
    <message>
        <source>开始时间小时不能为空！</source>
        <translation>The start hour must not be empty.</translation>
    </message>
    <message>
        <source>开始时间小时不能大于23</source>
        <translation>The start hour must not be greater than 23.</translation>
    </message>
    <message>
        <source>开始时间分钟不能为空！</source>
        <translation>The start minute must not be empty.</translation>
    </message>
    <message>
        <source>开始时间分钟不能大于59</source>
        <translation>The start minute must not be greater than 59.</translation>
    </message>
    <message>
        <source>开始时间秒钟不能为空！</source>
        <translation>The start second must not be empty.</translation>
    </message>
    <message>
        <source>开始时间秒钟不能大于59</source>
        <translation>The start second must not be greater than 59.</translation>
    </message>
    <message>
        <source>结束时间小时不能为空！</source>
        <translation>The end hour must not be empty.</translation>
    </message>
    <message>
        <source>结束时间小时不能大于23</source>
        <translation>The end hour must not be greater than 23.</translation>
    </message>
    <message>
        <source>结束时间分钟不能为空！</source>
        <translation>The end minute must not be empty.</translation>
    </message>
    <message>
        <source>结束时间分钟不能大于59</source>
        <translation>The end minute must not be greater than 59.</translation>
    </message>
    <message>
        <source>结束时间秒钟不能为空！</source>
        <translation>The end second must not be empty.</translation>
    </message>
    <message>
        <source>结束时间秒钟不能大于59！</source>
        <translation>The end second must not be greater than 59.</translation>
    </message>
    <message>
        <source>音量不能为空！</source>
        <translation>The volume must not be empty.</translation>
    </message>
    <message>
        <source>预热时间不能为空！</source>
        <translation>The pre-heat time must not be empty.</translation>
    </message>
    <message>
        <source>预热时间不能超过59分钟！</source>
        <translation>The pre-heat time must not exceed 59 minutes.</translation>
    </message>
    <message>
        <source>延时时间不能为空！</source>
        <translation>The delay must not be empty.</translation>
    </message>
    <message>
        <source>延时时间不能超过59分钟！</source>
        <translation>The delay must not exceed 59 minutes.</translation>
    </message>
    <message>
        <source>播放星期不能全部为空！</source>
        <translation>Choose at least one weekday to play on.</translation>
    </message>
    <message>
        <source>输入任务已存在，请重新设置！</source>
        <translation>A program already starts at this time. Please set another start time.</translation>
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
    <name>ScheduleEditor</name>
    <message>
        <source>[%1]已有%2个程序，无法再增加！</source>
        <translation>[%1] already holds %2 programs; no more can be added.</translation>
    </message>
    <message>
        <source>程序保存失败：%1</source>
        <translation>The program could not be saved: %1</translation>
    </message>
</context>
<context>
    <name>tessaly::EditorWindow</name>
    <message>
        <source>……另有%1行有错误</source>
        <translation>… and %1 more rows with errors</translation>
    </message>
    <message>
        <source>程序编辑器</source>
        <translation>Program editor</translation>
    </message>
    <message>
        <source>增加程序</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>修改程序</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>保存程序</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>删除程序</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>取消修改</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>复制程序</source>
        <translation>Copy set</translation>
    </message>
    <message>
        <source>退出页面</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>全部删除</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>从：</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>复制 从</source>
        <translation>Copy from</translation>
    </message>
    <message>
        <source>复制  到：</source>
        <translation>Copy to:</translation>
    </message>
    <message>
        <source>复制 到</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>导出本套…</source>
        <translation>Export this set…</translation>
    </message>
    <message>
        <source>导入到本套…</source>
        <translation>Import into this set…</translation>
    </message>
    <message>
        <source>周节目表…</source>
        <translation>Weekly timetable…</translation>
    </message>
    <message>
        <source>确实要取消吗？</source>
        <translation>Do you really want to cancel?</translation>
    </message>
    <message>
        <source>确实要删除该记录吗？</source>
        <translation>Do you really want to delete this program?</translation>
    </message>
    <message>
        <source>请选择需要复制的节目源和目标！</source>
        <translation>Choose the set to copy from and the set to copy to.</translation>
    </message>
    <message>
        <source>节目源和目标相同无法复制！</source>
        <translation>A set cannot be copied onto itself.</translation>
    </message>
    <message>
        <source>确实需要将%1复制到%2吗？</source>
        <translation>Do you really want to copy %1 to %2?</translation>
    </message>
    <message>
        <source>该操作将覆盖%1中原有的所有数据，确实需要进行该复制操作吗？</source>
        <translation>This replaces all the programs of %1. Do you really want to copy?</translation>
    </message>
    <message>
        <source>%1没有记录，还需要复制吗？</source>
        <translation>%1 holds no programs. Copy it anyway?</translation>
    </message>
    <message>
        <source>从%1复制到%2失败，%2的程序没有改动！</source>
        <translation>Copying %1 to %2 failed; the programs of %2 are unchanged.</translation>
    </message>
    <message>
        <source>从%1复制到%2完成！</source>
        <translation>%1 has been copied to %2.</translation>
    </message>
    <message>
        <source>导出%1</source>
        <translation>Export %1</translation>
    </message>
    <message>
        <source>导出完成：共%1个程序。</source>
        <translation>Export done: %1 programs.</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>导出失败！</source>
        <translation>Export failed.</translation>
    </message>
    <message>
        <source>导入到%1</source>
        <translation>Import into %1</translation>
    </message>
    <message>
        <source>导入失败，未导入任何程序！</source>
        <translation>Import failed; no program was imported.</translation>
    </message>
    <message>
        <source>导入失败，%1行有错误，未导入任何程序：
%2</source>
        <translation>Import failed: %1 rows have errors, no program was imported:
%2</translation>
    </message>
    <message>
        <source>程序内容已发生变化，请重新进行程序装载！</source>
        <translation>The programs have changed. Please load them into the player again.</translation>
    </message>
</context>
<context>
    <name>tessaly::ProgramDetailPanel</name>
    <message>
        <source>增加</source>
        <translation>up</translation>
    </message>
    <message>
        <source>减少</source>
        <translation>down</translation>
    </message>
    <message>
        <source>开始 时</source>
        <translation>Start hour</translation>
    </message>
    <message>
        <source>开始 分</source>
        <translation>Start minute</translation>
    </message>
    <message>
        <source>开始 秒</source>
        <translation>Start second</translation>
    </message>
    <message>
        <source>结束 时</source>
        <translation>End hour</translation>
    </message>
    <message>
        <source>结束 分</source>
        <translation>End minute</translation>
    </message>
    <message>
        <source>结束 秒</source>
        <translation>End second</translation>
    </message>
    <message>
        <source>开始:</source>
        <translation>Start:</translation>
    </message>
    <message>
        <source>结束:</source>
        <translation>End:</translation>
    </message>
    <message>
        <source>星期:</source>
        <translation>Days:</translation>
    </message>
    <message>
        <source>星期一</source>
        <translation>Mon</translation>
    </message>
    <message>
        <source>星期二</source>
        <translation>Tue</translation>
    </message>
    <message>
        <source>星期三</source>
        <translation>Wed</translation>
    </message>
    <message>
        <source>星期四</source>
        <translation>Thu</translation>
    </message>
    <message>
        <source>星期五</source>
        <translation>Fri</translation>
    </message>
    <message>
        <source>星期六</source>
        <translation>Sat</translation>
    </message>
    <message>
        <source>星期日</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>曲目:</source>
        <translation>Tracks:</translation>
    </message>
    <message>
        <source>曲目%1</source>
        <translation>Track %1</translation>
    </message>
    <message>
        <source>音量:</source>
        <translation>Volume:</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source> 分区：</source>
        <translation> Zones:</translation>
    </message>
    <message>
        <source>%1分区</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>全开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>全关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>收音</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>电台:</source>
        <translation>Radio:</translation>
    </message>
</context>
<context>
    <name>tessaly::ProgramFilterPanel</name>
    <message>
        <source>分钟</source>
        <translation>min</translation>
    </message>
    <message>
        <source>优先程序</source>
        <translation>Priority programs</translation>
    </message>
    <message>
        <source>预热</source>
        <translation>Pre-heat</translation>
    </message>
    <message>
        <source>预热：</source>
        <translation>Pre-heat:</translation>
    </message>
    <message>
        <source>延时</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>延时:</source>
        <translation>Delay:</translation>
    </message>
</context>
<context>
    <name>tessaly::ProgramListModel</name>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation>End</translation>
    </message>
    <message>
        <source>节目套数</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>优先</source>
        <translation>Priority</translation>
    </message>
</context>
<context>
    <name>tessaly::ProgramListPanel</name>
    <message>
        <source>节目列表</source>
        <translation>Program list</translation>
    </message>
    <message>
        <source>总共：</source>
        <translation>Total:</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>programs</translation>
    </message>
</context>
</TS>
