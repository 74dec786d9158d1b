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
    <message>
        <source>这是一个文件夹，不是文件</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>这是一个管道（FIFO），不是文件</source>
        <translation>it is a pipe (FIFO), not a file</translation>
    </message>
    <message>
        <source>这是一个设备，不是文件</source>
        <translation>it is a device, not a file</translation>
    </message>
    <message>
        <source>这不是普通文件</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>文件有未完成的改动（%1）</source>
        <translation>it holds an unfinished change (%1)</translation>
    </message>
    <message>
        <source>表SysTab中有%1行设置，应为1行</source>
        <translation>table SysTab holds %1 settings rows instead of 1</translation>
    </message>
    <message>
        <source>全部读取</source>
        <translation>Read all</translation>
    </message>
    <message>
        <source>保存读取数据</source>
        <translation>Save read-back</translation>
    </message>
    <message>
        <source>全部删除</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>套复制</source>
        <translation>Set copy</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>%1不是文件夹</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>无法写入备份：%1（%2），操作已取消。</source>
        <translation>Cannot write the backup: %1 (%2). The operation was cancelled.</translation>
    </message>
    <message>
        <source>无法命名备份文件</source>
        <translation>cannot name the backup file</translation>
    </message>
    <message>
        <source>无法写入数据库%1（%2），操作已取消。</source>
        <translation>Cannot write the database %1 (%2). The operation was cancelled.</translation>
    </message>
    <message>
        <source>无法在数据库所在的文件夹%1中写入（%2），数据库无法保存改动，操作已取消。</source>
        <translation>Cannot write in the database&apos;s folder %1 (%2): the database cannot save changes. The operation was cancelled.</translation>
    </message>
    <message>
        <source>数据库没有文件</source>
        <translation>the database has no file</translation>
    </message>
    <message>
        <source>无法读取备份文件夹%1（%2）</source>
        <translation>Cannot read the backups folder %1 (%2)</translation>
    </message>
    <message>
        <source>无法读取文件（%1）</source>
        <translation>cannot read the file (%1)</translation>
    </message>
    <message>
        <source>无法创建文件夹%1</source>
        <translation>cannot create the folder %1</translation>
    </message>
    <message>
        <source>无法创建文件夹%1：%2</source>
        <translation>cannot create the folder %1: %2</translation>
    </message>
</context>
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
        <source>周节目表导出失败：%1</source>
        <translation>Weekly timetable export failed: %1</translation>
    </message>
    <message>
        <source>周节目表已导出：%1</source>
        <translation>Weekly timetable exported: %1</translation>
    </message>
    <message>
        <source>列出备份，最新的在前：文件、时间、操作，以及各套与读取表中的程序数。</source>
        <translation>Lists the backups, newest first: file, time, operation and the programs of each set and of the read-back table.</translation>
    </message>
    <message>
        <source>先备份当前的程序，再用备份 FILE 中的内容替换它们（全部四套、读取表与设置）。</source>
        <translation>Backs up the current programs, then replaces them (all sets, the read-back table and the settings) by those of the backup FILE.</translation>
    </message>
    <message>
        <source>节目数据库（默认：tessaly-cli 旁的 PlayerDB.mdb，否则为
~/.local/share/Tessaly/PlayerDB.mdb，首次使用时新建）。</source>
        <translation>The program database (default: PlayerDB.mdb beside tessaly-cli, else
~/.local/share/Tessaly/PlayerDB.mdb, laid on first use).</translation>
    </message>
    <message>
        <source>路径</source>
        <translation>path</translation>
    </message>
    <message>
        <source>串口 COM&lt;n&gt;，1 到 20（默认：设置中保存的端口）。</source>
        <translation>The serial port COM&lt;n&gt;, 1 to 20 (default: the port saved in the settings).</translation>
    </message>
    <message>
        <source>全部四套。</source>
        <translation>All four sets.</translation>
    </message>
    <message>
        <source>只取优先程序。</source>
        <translation>Only the priority programs.</translation>
    </message>
    <message>
        <source>最近从播放器读取的程序。</source>
        <translation>The programs last read from the player.</translation>
    </message>
    <message>
        <source>要写入的文件（export 不给时写到标准输出）。</source>
        <translation>The file to write (export: standard output when not given).</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>file</translation>
    </message>
    <message>
        <source>说明所用的数据库。</source>
        <translation>Say which database is used.</translation>
    </message>
    <message>
        <source>替换各套原有的程序，而不是追加。</source>
        <translation>Replace the sets&apos; programs, not add to them.</translation>
    </message>
    <message>
        <source>csv 或 json（默认：按文件名）。</source>
        <translation>csv or json (default: by the file&apos;s name).</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>format</translation>
    </message>
    <message>
        <source>把与播放器往来的每一帧连同时间追加到此文件。</source>
        <translation>Append every frame to and from the player to this file, with the time.</translation>
    </message>
    <message>
        <source>语言：zh 或 en（默认：系统的语言）。</source>
        <translation>The language: zh or en (default: the system&apos;s language).</translation>
    </message>
    <message>
        <source>显示本帮助。</source>
        <translation>Show this help.</translation>
    </message>
    <message>
        <source>用法：tessaly-cli [选项] 命令</source>
        <translation>Usage: tessaly-cli [options] command</translation>
    </message>
    <message>
        <source>命令：</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <source>选项：</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>未知选项：%1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <source>%1 需要一个值</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>%1 不带值</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>tessaly-cli：%1（参见 tessaly-cli --help）</source>
        <translation>tessaly-cli: %1 (see tessaly-cli --help)</translation>
    </message>
    <message>
        <source>--%1 给出了不止一次</source>
        <translation>--%1 is given more than once</translation>
    </message>
    <message>
        <source>请给出一个命令，且只给一个</source>
        <translation>give exactly one command</translation>
    </message>
    <message>
        <source>未知命令“%1”</source>
        <translation>unknown command &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 需要一个 %2</source>
        <translation>%1 takes one %2</translation>
    </message>
    <message>
        <source>--port 只能是 1 到 20 的数字</source>
        <translation>--port takes a number from 1 to 20</translation>
    </message>
    <message>
        <source>--set 只能是 1 到 4 的数字</source>
        <translation>--set takes a number from 1 to 4</translation>
    </message>
    <message>
        <source>%1：不接受 --output</source>
        <translation>%1: takes no --output</translation>
    </message>
    <message>
        <source>--format 只能是 csv 或 json</source>
        <translation>--format takes csv or json</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>tessaly-cli：端口忙：COM%1（%2）正被其他程序使用</source>
        <translation>tessaly-cli: port busy: COM%1 (%2) is in use by another program</translation>
    </message>
    <message>
        <source>不接受任何选项</source>
        <translation>takes no options</translation>
    </message>
    <message>
        <source>请给出 --set N 或 --all，二者选一</source>
        <translation>give either --set N or --all</translation>
    </message>
    <message>
        <source>不接受 --priority、--read、--replace、--format 或 --output</source>
        <translation>takes no --priority, --read, --replace, --format or --output</translation>
    </message>
    <message>
        <source>tessaly-cli：%1</source>
        <translation>tessaly-cli: %1</translation>
    </message>
    <message>
        <source>数据库：%1</source>
        <translation>database: %1</translation>
    </message>
    <message>
        <source>tessaly-cli：%1：%2</source>
        <translation>tessaly-cli: %1: %2</translation>
    </message>
    <message>
        <source>不接受 --all、--priority 或 --replace</source>
        <translation>takes no --all, --priority or --replace</translation>
    </message>
    <message>
        <source>不接受 --all、--priority、--read 或 --output</source>
        <translation>takes no --all, --priority, --read or --output</translation>
    </message>
    <message>
        <source>把电脑中的程序（或读取的程序）写成 CSV 或 JSON，写到 FILE 或标准输出。</source>
        <translation>Writes the PC&apos;s programs (or the read-back ones) as CSV or JSON, to FILE or standard output.</translation>
    </message>
    <message>
        <source>把 CSV 或 JSON 文件中的程序加入电脑（--replace：替换相应各套），按编辑器的规则检查，要么全部导入，要么一个也不导入。</source>
        <translation>Adds the programs of a CSV or JSON file to the PC&apos;s (--replace: in place of their sets&apos;), all or none, checked as the editor checks.</translation>
    </message>
    <message>
        <source>清除播放器中的第 N 套（或整个播放器），再把电脑中的程序装载进去。</source>
        <translation>Clears set N (or the whole player) and loads the PC&apos;s programs into it.</translation>
    </message>
    <message>
        <source>COM%1（%2）无法打开</source>
        <translation>COM%1 (%2) cannot be opened</translation>
    </message>
    <message>
        <source>无设备</source>
        <translation>no device</translation>
    </message>
    <message>
        <source>询问播放器是否在该端口上应答。</source>
        <translation>Asks whether the player answers on the port.</translation>
    </message>
    <message>
        <source>除 --priority 外不接受任何选项</source>
        <translation>takes no options but --priority</translation>
    </message>
    <message>
        <source>除 --set 和 --read 外不接受任何选项</source>
        <translation>takes no options but --set and --read</translation>
    </message>
    <message>
        <source>把一套读入读取表（连同播放器的预热与延时），或把全部四套读入电脑的程序。</source>
        <translation>Reads a set into the read-back table (with the player&apos;s pre-heat and delay), or all four sets into the PC&apos;s programs.</translation>
    </message>
    <message>
        <source>用读取的一套（或其中的优先程序）连同播放器的预热与延时覆盖电脑中的程序。</source>
        <translation>Saves the read-back set (or its priority programs) over the PC&apos;s, with the player&apos;s pre-heat and delay.</translation>
    </message>
    <message>
        <source>列出电脑中的程序（或读取的程序），每个一行。</source>
        <translation>Prints the PC&apos;s programs (or the read-back ones), one line each.</translation>
    </message>
    <message>
        <source>读取播放器但不保存，与电脑中的程序比较；有不同时状态为 1，并列出每处不同。</source>
        <translation>Reads the player without storing anything and compares it with the PC&apos;s programs; status 1 names every difference.</translation>
    </message>
    <message>
        <source>不接受 --all 或 --priority（不给 --set 即为全部四套）</source>
        <translation>takes no --all or --priority (all four sets without --set)</translation>
    </message>
    <message>
        <source>请给出 --output FILE（.pdf 或 .png）</source>
        <translation>give --output FILE (.pdf or .png)</translation>
    </message>
    <message>
        <source>--output 须是 .pdf 或 .png 文件</source>
        <translation>--output names a .pdf or a .png file</translation>
    </message>
    <message>
        <source>一个 PNG 只容纳一套：请给出 --set N</source>
        <translation>a PNG holds one set: give --set N</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>%1失败：%2</source>
        <translation>%1 failed: %2</translation>
    </message>
    <message>
        <source>tessaly-cli：无法写入标准输出：%1</source>
        <translation>tessaly-cli: cannot write to standard output: %1</translation>
    </message>
    <message>
        <source>tessaly-cli：无法写入通讯记录%1：%2，未发送任何数据</source>
        <translation>tessaly-cli: cannot write the traffic log %1: %2; nothing was sent</translation>
    </message>
    <message>
        <source>tessaly-cli：通讯记录%1不完整：%2</source>
        <translation>tessaly-cli: the traffic log %1 is incomplete: %2</translation>
    </message>
    <message>
        <source>标准输出</source>
        <translation>standard output</translation>
    </message>
    <message>
        <source>没有可保存的读取数据</source>
        <translation>There is no read data to save</translation>
    </message>
    <message>
        <source>节目套号，1 到 4（ports：要指向网络串口的 COM 号）。</source>
        <translation>The program set, 1 to 4 (ports: the COM number to point at a network port).</translation>
    </message>
    <message>
        <source>ports：取消 COM&lt;n&gt; 的网络串口。</source>
        <translation>ports: removes the network port of COM&lt;n&gt;.</translation>
    </message>
    <message>
        <source>命令行上的 Tessaly：与窗口相同的操作，无需显示器。
命令把最终消息写到标准输出，把进度写到标准错误。
退出状态：0 完成，1 失败，2 命令行有误或没有数据库。
COM&lt;n&gt; 是 TESSALY_COM&lt;n&gt; 所指的设备，否则为本机为它设置的网络串口
（ports --set），再否则为本机第 n 个串口设备。</source>
        <translation>Tessaly on the command line: the same operations as the windows, without a display.
A command prints its final message on standard output and its progress on standard
error. Exit status: 0 done, 1 failed, 2 bad command line or no database.
COM&lt;n&gt; means the device named by TESSALY_COM&lt;n&gt;, else the network port set for it on
this machine (ports --set), else the n-th serial device present.</translation>
    </message>
    <message>
        <source>%1：不接受 --clear</source>
        <translation>%1: does not take --clear</translation>
    </message>
    <message>
        <source>tessaly-cli：“%1”不是 COM 号，应为 1 到 20</source>
        <translation>tessaly-cli: &quot;%1&quot; is not a COM number; it must be 1 to 20</translation>
    </message>
    <message>
        <source>tessaly-cli：%1=%2 已给出 COM%3 的设备，它优先于本机的网络串口设置</source>
        <translation>tessaly-cli: %1=%2 names the device of COM%3 and goes before this machine&apos;s network port setting</translation>
    </message>
    <message>
        <source>tessaly-cli：“%1”不是网络串口地址，应为 socket://主机:端口 或 rfc2217://主机:端口</source>
        <translation>tessaly-cli: &quot;%1&quot; is not a network port address; it must be socket://HOST:PORT or rfc2217://HOST:PORT</translation>
    </message>
    <message>
        <source>COM%1 现指向网络串口 %2</source>
        <translation>COM%1 now stands for the network port %2</translation>
    </message>
    <message>
        <source>COM%1 不再指向网络串口</source>
        <translation>COM%1 no longer stands for a network port</translation>
    </message>
    <message>
        <source>COM%1 本未指向网络串口</source>
        <translation>COM%1 did not stand for a network port</translation>
    </message>
    <message>
        <source>--set 与 --clear 只能给一个</source>
        <translation>give --set or --clear, not both</translation>
    </message>
    <message>
        <source>--set N 之后需要网络串口地址 URL</source>
        <translation>--set N needs the network port address URL after it</translation>
    </message>
    <message>
        <source>网络串口地址只跟在 --set N 之后</source>
        <translation>a network port address is taken only after --set N</translation>
    </message>
    <message>
        <source>列出 COM1 到 COM20 及其设备与适配器；--set 把 COM N 指向网络串口 URL（socket://主机:端口 或 rfc2217://主机:端口），--clear 取消。</source>
        <translation>Lists COM1 to COM20 with their devices and adapters; --set points COM N at the network port URL (socket://HOST:PORT or rfc2217://HOST:PORT), --clear removes it.</translation>
    </message>
    <message>
        <source>%1 %2：电脑 %3，播放器 %4</source>
        <translation>%1 %2: PC %3, player %4</translation>
    </message>
    <message numerus="yes">
        <source>已导出%n个程序</source>
        <translation>
            <numerusform>%n program exported</numerusform>
            <numerusform>%n programs exported</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n行有错误，未导入任何程序。</source>
        <translation>
            <numerusform>%n line has an error; no program was imported.</numerusform>
            <numerusform>%n lines have errors; no program was imported.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n个程序有错误，未导入任何程序。</source>
        <translation>
            <numerusform>%n program has an error; no program was imported.</numerusform>
            <numerusform>%n programs have errors; no program was imported.</numerusform>
        </translation>
    </message>
    <message>
        <source>把第 N 套（不给 --set 即为全部四套；给 --read 则为读取的程序）的周节目表写成 PDF（每套从新的一页开始）或一套的 PNG，按文件扩展名决定。</source>
        <translation>Writes the weekly timetable of set N (all four without --set; the read-back programs with --read) as a PDF, each set from a new page, or as a PNG of one set, by the file&apos;s extension.</translation>
    </message>
    <message>
        <source>tessaly-cli：收到 %1，%2 已停止</source>
        <translation>tessaly-cli: %1 received, %2 stopped</translation>
    </message>
    <message>
        <source>软件与播放器尚未连接，无法读取程序！</source>
        <translation>Programs cannot be read: the player is not connected.</translation>
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
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>无法读取数据库文件（%1）</source>
        <translation>cannot read the database file (%1)</translation>
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
    <message>
        <source>无法创建文件夹%1</source>
        <translation>cannot create the folder %1</translation>
    </message>
    <message>
        <source>无法复制%1：%2</source>
        <translation>cannot copy %1: %2</translation>
    </message>
    <message>
        <source>无法创建%1</source>
        <translation>cannot create %1</translation>
    </message>
    <message>
        <source>找不到用户的主文件夹（HOME未设置或不可用），无法确定节目数据库的位置</source>
        <translation>the user&apos;s home folder cannot be found (HOME is not set or not usable), so there is no place for the program database</translation>
    </message>
</context>
<context>
    <name>DeviceChannel</name>
    <message>
        <source>通讯端口正在进行另一项操作，请等它结束后再试！</source>
        <translation>The port is busy with another operation. Please try again when it has finished!</translation>
    </message>
</context>
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
    <name>InterchangeImport</name>
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
    <message>
        <source>第%1行</source>
        <translation>line %1</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>文件中没有程序，未导入。</source>
        <translation>The file holds no program; nothing was imported.</translation>
    </message>
    <message>
        <source>MP3“%1”与ShouYin“%2”应一个为1、一个为0（MP3或收音）</source>
        <translation>MP3 “%1” and ShouYin “%2”: one must be 1 and the other 0 (MP3 or radio)</translation>
    </message>
    <message>
        <source>音量%1超出0-%2</source>
        <translation>volume %1 is outside 0-%2</translation>
    </message>
    <message>
        <source>音量“%1”不是0-%2的整数</source>
        <translation>volume “%1” is not a whole number from 0 to %2</translation>
    </message>
    <message>
        <source>数组之后还有内容</source>
        <translation>more content after the array</translation>
    </message>
    <message>
        <source>缺少“,”或“]”</source>
        <translation>“,” or “]” expected</translation>
    </message>
    <message>
        <source>字段名应为带引号的文本</source>
        <translation>a field name must be quoted text</translation>
    </message>
    <message>
        <source>缺少“:”</source>
        <translation>“:” expected</translation>
    </message>
    <message>
        <source>缺少“,”或“}”</source>
        <translation>“,” or “}” expected</translation>
    </message>
    <message>
        <source>字段“%1”重复</source>
        <translation>field “%1” appears twice</translation>
    </message>
    <message>
        <source>此处应为一个值</source>
        <translation>a value expected</translation>
    </message>
    <message>
        <source>嵌套过深</source>
        <translation>nested too deeply</translation>
    </message>
    <message>
        <source>文本缺少结尾的引号</source>
        <translation>text without its closing quote</translation>
    </message>
    <message>
        <source>文本中有未转义的控制字符</source>
        <translation>an unescaped control character in text</translation>
    </message>
    <message>
        <source>无效的转义序列</source>
        <translation>invalid escape sequence</translation>
    </message>
    <message>
        <source>无效的数字</source>
        <translation>invalid number</translation>
    </message>
    <message>
        <source>不是UTF-8或GB18030编码的文本</source>
        <translation>neither UTF-8 nor GB18030 text</translation>
    </message>
    <message>
        <source>文件不是UTF-8编码，已按GB18030编码读取。</source>
        <translation>The file is not UTF-8; it was read as GB18030.</translation>
    </message>
    <message>
        <source>表头“%1”不是以逗号、分号或制表符分隔的列名</source>
        <translation>the header “%1” is not column names separated by commas, semicolons or tabs</translation>
    </message>
    <message>
        <source>无法读取文件%1：%2</source>
        <translation>Cannot read the file %1: %2</translation>
    </message>
    <message>
        <source>文件%1大于%2，不是节目文件，未导入。</source>
        <translation>The file %1 is larger than %2: not a program file; nothing was imported.</translation>
    </message>
    <message>
        <source>文件%1有%2，不是节目文件（节目文件不超过%3），未导入。</source>
        <translation>The file %1 holds %2: not a program file (those are at most %3); nothing was imported.</translation>
    </message>
    <message>
        <source>第%1个程序</source>
        <translation>program %1</translation>
    </message>
    <message>
        <source>%1“%2”含有控制字符</source>
        <translation>%1 “%2” holds a control character</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>无法载入英文界面文本，界面保持中文</source>
        <translation>the English texts cannot be loaded; the interface stays in Chinese</translation>
    </message>
    <message>
        <source>--lang 需要一个值：zh 或 en</source>
        <translation>--lang needs a value: zh or en</translation>
    </message>
    <message>
        <source>--lang 只能是 zh 或 en，不能是“%1”</source>
        <translation>--lang takes zh or en, not &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>无法写入通讯记录%1：%2</source>
        <translation>the traffic log %1 cannot be written: %2</translation>
    </message>
    <message>
        <source>通讯记录%1不完整：%2</source>
        <translation>the traffic log %1 is incomplete: %2</translation>
    </message>
</context>
<context>
    <name>NetworkPorts</name>
    <message>
        <source>无法写入本机设置 %1</source>
        <translation>cannot write this machine&apos;s settings %1</translation>
    </message>
</context>
<context>
    <name>NetworkSerialLink</name>
    <message>
        <source>原因：网络串口 %1 拒绝连接。</source>
        <translation>Cause: the network serial port %1 refused the connection.</translation>
    </message>
    <message>
        <source>原因：找不到网络串口 %1 的主机 %2。</source>
        <translation>Cause: the host %2 of the network serial port %1 was not found.</translation>
    </message>
    <message>
        <source>原因：网络串口 %1 无法到达（没有通往它的路由）。</source>
        <translation>Cause: the network serial port %1 cannot be reached (no route to it).</translation>
    </message>
    <message>
        <source>原因：网络串口 %1 在连接时限内没有应答。</source>
        <translation>Cause: the network serial port %1 did not answer within the connect time.</translation>
    </message>
    <message>
        <source>原因：网络串口 %1 端口忙：它正为另一个客户端服务，请稍后再试。</source>
        <translation>Cause: the network serial port %1 is busy: it is serving another client; please try again later.</translation>
    </message>
    <message>
        <source>原因：网络串口 %1 断开了连接。</source>
        <translation>Cause: the network serial port %1 closed the connection.</translation>
    </message>
    <message>
        <source>原因：网络串口 %1 拒绝服务：%2</source>
        <translation>Cause: the network serial port %1 refused service: %2</translation>
    </message>
    <message>
        <source>原因：无法连接网络串口 %1：%2</source>
        <translation>Cause: cannot connect to the network serial port %1: %2</translation>
    </message>
    <message>
        <source>原因：%1 不是有效的网络串口地址，应写作 socket://主机:端口 或 rfc2217://主机:端口。</source>
        <translation>Cause: %1 is not a valid network serial port address; write socket://HOST:PORT or rfc2217://HOST:PORT.</translation>
    </message>
    <message>
        <source>原因：串口服务器不接受9600 8N1的设置（网络串口 %1）。</source>
        <translation>Cause: the serial device server does not accept the setting 9600 8N1 (network serial port %1).</translation>
    </message>
    <message>
        <source>原因：网络串口 %1 重置了连接。</source>
        <translation>Cause: the network serial port %1 reset the connection.</translation>
    </message>
    <message>
        <source>原因：网络串口 %1 是链路本地地址，须写明经由的网卡，例如 [fe80::7%eth0]。</source>
        <translation>Cause: the network serial port %1 is a link-local address; name the interface it is reached through, for example [fe80::7%eth0].</translation>
    </message>
    <message>
        <source>原因：本机没有网卡 %2，无法到达网络串口 %1。</source>
        <translation>Cause: this machine has no interface %2, so the network serial port %1 cannot be reached.</translation>
    </message>
    <message>
        <source>原因：COM%1 的设置“%2”既不是设备路径（/dev/…），也不是网络串口地址（socket://主机:端口 或 rfc2217://主机:端口）。</source>
        <translation>Cause: the setting &quot;%2&quot; of COM%1 is neither a device path (/dev/…) nor a network serial port address (socket://HOST:PORT or rfc2217://HOST:PORT).</translation>
    </message>
</context>
<context>
    <name>PortDiagnosis</name>
    <message>
        <source>原因：%1 正被其他程序占用，请先关闭该程序。</source>
        <translation>Cause: %1 is in use by another program; close that program first.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>原因：找不到串口设备%1。本机装有 brltty（盲文显示器服务），它常在 USB 串口适配器插入后立即将其占走：请运行 sudo apt remove brltty，再重新插入适配器。</source>
        <translation>Cause: the serial device%1 was not found. brltty (the braille display service) is installed here, and it often takes a USB serial adapter right after it is plugged in: run sudo apt remove brltty, then plug the adapter in again.</translation>
    </message>
    <message>
        <source>原因：此端口没有对应的串口设备，请检查适配器是否插好。</source>
        <translation>Cause: this port has no serial device; check that the adapter is plugged in.</translation>
    </message>
    <message>
        <source>原因：串口设备 %1 不存在，请检查适配器是否插好。</source>
        <translation>Cause: the serial device %1 does not exist; check that the adapter is plugged in.</translation>
    </message>
    <message>
        <source>%1（进程 %2）</source>
        <translation>%1 (PID %2)</translation>
    </message>
    <message>
        <source>原因：没有权限打开 %1，当前用户不在 dialout 组。请运行 %2，然后注销并重新登录。</source>
        <translation>Cause: no permission to open %1; the current user is not in the dialout group. Run %2, then log out and log in again.</translation>
    </message>
    <message>
        <source>原因：无法打开 %1：%2</source>
        <translation>Cause: cannot open %1: %2</translation>
    </message>
    <message>
        <source>原因：%1 不是串口设备。</source>
        <translation>Cause: %1 is not a serial device.</translation>
    </message>
    <message>
        <source>原因：%1 被 %2占用，请先关闭它。</source>
        <translation>Cause: %1 is held by %2; close it first.</translation>
    </message>
    <message>
        <source>原因：%1 被 %2占用，请先关闭这些程序。</source>
        <translation>Cause: %1 is held by %2; close them first.</translation>
    </message>
    <message>
        <source>原因：没有权限打开 %1：当前用户已加入 dialout 组，但要注销并重新登录后才生效。</source>
        <translation>Cause: no permission to open %1; the current user has been added to the dialout group, which takes effect after logging out and in again.</translation>
    </message>
    <message>
        <source>原因：没有权限打开 %1（组 %2），当前用户无权读写它。</source>
        <translation>Cause: no permission to open %1 (group %2); the current user may not read and write it.</translation>
    </message>
    <message>
        <source>原因：%1 仍处于独占模式，但设置它的程序已不存在。</source>
        <translation>Cause: %1 is still in exclusive mode, but the program that set it no longer exists.</translation>
    </message>
    <message>
        <source>原因：%1 仍处于独占模式，但设置它的程序已不存在；另一端 %2仍打开着它，请重新启动另一端。</source>
        <translation>Cause: %1 is still in exclusive mode, but the program that set it no longer exists; its other side %2 still holds it open: restart the other side.</translation>
    </message>
</context>
<context>
    <name>PortInventory</name>
    <message>
        <source>（无设备）</source>
        <translation>(no device)</translation>
    </message>
    <message>
        <source>网络</source>
        <translation>network</translation>
    </message>
</context>
<context>
    <name>ProgramList</name>
    <message>
        <source>%1 · 节目列表（续）</source>
        <translation>%1 · Program list (continued)</translation>
    </message>
    <message>
        <source>序号 %1–%2    共 %3 个节目    打印日期：%4</source>
        <translation>No. %1–%2 of %3 programs    Printed: %4</translation>
    </message>
</context>
<context>
    <name>ProgramLoad</name>
    <message>
        <source>读取%1程序失败：%2</source>
        <translation>Could not read the programs of %1: %2</translation>
    </message>
    <message>
        <source>%1程序无法装载，播放器中的程序保持不变：%2</source>
        <translation>%1 cannot be loaded; the programs in the player are left as they were: %2</translation>
    </message>
    <message>
        <source>程序 %1 %2 的%3“%4”不是播放器能接受的值，无法发送</source>
        <translation>Program %1 %2: %3 &quot;%4&quot; is not a value the player accepts, so it cannot be sent</translation>
    </message>
    <message>
        <source>程序装载完毕！</source>
        <translation>Programs loaded.</translation>
    </message>
    <message>
        <source>软件与播放器尚未连接，无法进行程序装载！</source>
        <translation>Not connected to the player: programs cannot be loaded!</translation>
    </message>
    <message>
        <source>记录清除超时，%1程序装载失败！</source>
        <translation>%1: clearing the records timed out, loading failed!</translation>
    </message>
    <message>
        <source>程序装载失败！</source>
        <translation>Loading programs failed!</translation>
    </message>
    <message>
        <source>数据同步完毕！</source>
        <translation>Sync complete.</translation>
    </message>
    <message>
        <source>软件与播放器尚未连接，无法进行数据同步操作！</source>
        <translation>Not connected to the player: the sync cannot run!</translation>
    </message>
    <message>
        <source>记录清除超时，数据同步失败！</source>
        <translation>Clearing the records timed out: sync failed!</translation>
    </message>
    <message>
        <source>记录清除失败，数据同步失败！</source>
        <translation>Clearing the records failed: sync failed!</translation>
    </message>
    <message>
        <source>数据同步失败！</source>
        <translation>Sync failed!</translation>
    </message>
</context>
<context>
    <name>ProgramMoves</name>
    <message>
        <source>该程序已不存在，无法移动！</source>
        <translation>This program no longer exists and cannot be moved.</translation>
    </message>
    <message>
        <source>程序只能在当天之内移动！</source>
        <translation>A program can only be moved within its day.</translation>
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
        <source>%1分区</source>
        <translation>Zone %1</translation>
    </message>
    <message>
        <source>曲目%1</source>
        <translation>Track %1</translation>
    </message>
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
    <message>
        <source>音源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>预热时间</source>
        <translation>Pre-heat</translation>
    </message>
    <message>
        <source>延时时间</source>
        <translation>Delay</translation>
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
    <name>ProtectedFiles</name>
    <message>
        <source>不能写入正在使用的数据库：%1</source>
        <translation>Cannot write over the database in use: %1</translation>
    </message>
    <message>
        <source>不能覆盖备份：%1</source>
        <translation>Cannot overwrite a backup: %1</translation>
    </message>
</context>
<context>
    <name>ReadBackSave</name>
    <message>
        <source>%1优先</source>
        <translation>%1 Priority</translation>
    </message>
    <message>
        <source>%1没有记录，无需保存！</source>
        <translation>%1 holds no programs: nothing to save.</translation>
    </message>
    <message>
        <source>确实需要保存%1数据到软件中吗？</source>
        <translation>Save the %1 data in Tessaly?</translation>
    </message>
    <message>
        <source>该操作将覆盖软件中%1原有的数据，确实需要保存该数据吗？</source>
        <translation>This overwrites the %1 data that Tessaly holds now. Save it?</translation>
    </message>
    <message>
        <source>%1数据保存失败！</source>
        <translation>Saving the %1 data failed!</translation>
    </message>
    <message>
        <source>%1数据保存成功！</source>
        <translation>The %1 data was saved.</translation>
    </message>
    <message>
        <source>[%1]</source>
        <translation>%1</translation>
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
    <name>RecordFrame</name>
    <message>
        <source>%1有%2个程序，播放器每套最多%3个，无法装载！</source>
        <translation>%1 has %2 programs, but the player holds at most %3 per set: it cannot be loaded!</translation>
    </message>
    <message>
        <source>程序 %1 的序号“%2”不是数字，无法发送</source>
        <translation>Program %1: No. &quot;%2&quot; is not a number, so it cannot be sent</translation>
    </message>
    <message>
        <source>程序 %1 的%2“%3”超出%4-%5，无法发送</source>
        <translation>Program %1: %2 &quot;%3&quot; is outside %4-%5, so it cannot be sent</translation>
    </message>
    <message>
        <source>程序 %1 的曲目%2“%3”不是三位以内的数字，无法发送</source>
        <translation>Program %1: track %2 &quot;%3&quot; is not a number of up to three digits, so it cannot be sent</translation>
    </message>
    <message>
        <source>程序 %1 的序号“%2”超出0-%3，无法发送</source>
        <translation>Program %1: No. &quot;%2&quot; is outside 0-%3, so it cannot be sent</translation>
    </message>
    <message>
        <source>程序 %1 的%2“%3”不是有效的时刻，无法发送</source>
        <translation>Program %1: %2 &quot;%3&quot; is not a valid time of day, so it cannot be sent</translation>
    </message>
    <message>
        <source>%1序号%2：%3 %4 不是有效的时刻</source>
        <translation>%1No. %2: %3 %4 is not a valid time of day</translation>
    </message>
    <message>
        <source>%1序号%2：%3 (%4, %5) 超出三位数字</source>
        <translation>%1No. %2: %3 (%4, %5) has more than three digits</translation>
    </message>
</context>
<context>
    <name>ScheduleEditor</name>
    <message>
        <source>[%1]已有%2个程序，无法再增加！</source>
        <translation>%1 already holds %2 programs; no more can be added.</translation>
    </message>
    <message>
        <source>程序保存失败：%1</source>
        <translation>The program could not be saved: %1</translation>
    </message>
</context>
<context>
    <name>SetRead</name>
    <message>
        <source>程序读取完毕！</source>
        <translation>Programs read.</translation>
    </message>
    <message>
        <source>读取播放器记录错误，请重试！</source>
        <translation>Error reading the player&apos;s records. Please try again!</translation>
    </message>
    <message>
        <source>程序读取失败！</source>
        <translation>Reading programs failed!</translation>
    </message>
    <message>
        <source>读取预热和延时时间失败！</source>
        <translation>Reading the pre-heat and delay times failed!</translation>
    </message>
    <message>
        <source>软件与播放器尚未连接，无法进行程序装载！</source>
        <translation>Programs cannot be read: the player is not connected.</translation>
    </message>
    <message>
        <source>读取播放器记录错误！</source>
        <translation>Error reading the player&apos;s records!</translation>
    </message>
    <message>
        <source>数据读取失败！</source>
        <translation>Reading data failed!</translation>
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
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>数据库所在的文件夹不可写，无法建立保存改动所需的日志文件</source>
        <translation>the database&apos;s folder cannot be written, so the journal that saving a change needs cannot be made</translation>
    </message>
</context>
<context>
    <name>TimeList</name>
    <message>
        <source>第%1行：%2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>“%1”不是时间（可写作8:00、08:00:00、8.00或0800）</source>
        <translation>“%1” is not a time (write 8:00, 08:00:00, 8.00 or 0800)</translation>
    </message>
    <message>
        <source>“%1”的小时不能大于23</source>
        <translation>“%1”: the hour cannot be greater than 23</translation>
    </message>
    <message>
        <source>“%1”的分钟不能大于59</source>
        <translation>“%1”: the minute cannot be greater than 59</translation>
    </message>
    <message>
        <source>“%1”的秒钟不能大于59</source>
        <translation>“%1”: the second cannot be greater than 59</translation>
    </message>
</context>
<context>
    <name>Verify</name>
    <message>
        <source>程序</source>
        <translation>program</translation>
    </message>
    <message>
        <source>（无）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message numerus="yes">
        <source>共%n处不同</source>
        <translation>
            <numerusform>%n difference</numerusform>
            <numerusform>%n differences</numerusform>
        </translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>收音</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>套</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>项目</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>电脑</source>
        <translation>PC</translation>
    </message>
    <message>
        <source>播放器</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>整机</source>
        <translation>Whole player</translation>
    </message>
    <message>
        <source>播放器中的程序与电脑一致</source>
        <translation>The player holds what the PC holds</translation>
    </message>
    <message>
        <source>将重新装载%1，播放器中该套的原有程序将被清除，继续吗？</source>
        <translation>%1 will be loaded again; the player&apos;s programs of that set will be cleared first. Continue?</translation>
    </message>
    <message>
        <source>将重新装载%1，播放器中这些套的原有程序将被清除，继续吗？</source>
        <translation>%1 will be loaded again; the player&apos;s programs of these sets will be cleared first. Continue?</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>将把电脑中的预热和延时时间写入播放器，继续吗？</source>
        <translation>The PC&apos;s pre-heat and delay will be written to the player. Continue?</translation>
    </message>
    <message>
        <source>软件与播放器尚未连接，无法核对程序！</source>
        <translation>Programs cannot be compared: the player is not connected.</translation>
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
    <message>
        <source>本套没有程序</source>
        <translation>This set has no programs.</translation>
    </message>
    <message>
        <source>收音</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>优先</source>
        <translation>Priority</translation>
    </message>
    <message>
        <source>短节目</source>
        <translation>Short program</translation>
    </message>
    <message>
        <source>同一时间开始（冲突）</source>
        <translation>Same start (clash)</translation>
    </message>
    <message>
        <source>结束不晚于开始</source>
        <translation>End not after start</translation>
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
        <translation>Mon</translation>
    </message>
    <message>
        <source>二</source>
        <translation>Tue</translation>
    </message>
    <message>
        <source>三</source>
        <translation>Wed</translation>
    </message>
    <message>
        <source>四</source>
        <translation>Thu</translation>
    </message>
    <message>
        <source>五</source>
        <translation>Fri</translation>
    </message>
    <message>
        <source>六</source>
        <translation>Sat</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Sun</translation>
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
    <message>
        <source>%1 同时移动</source>
        <translation>Moves on %1 alike</translation>
    </message>
    <message>
        <source>周节目表 - %1（读取数据）</source>
        <translation>Weekly timetable - %1 (read from the player)</translation>
    </message>
    <message>
        <source>每天</source>
        <translation>Every day</translation>
    </message>
    <message>
        <source>周%1至周%2</source>
        <translation>%1–%2</translation>
    </message>
    <message>
        <source>周%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>%1、%2</source>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>WholeDeviceRead</name>
    <message>
        <source>将机器数据同步到电脑中,系统将自动覆盖电脑中所有的程序记录,确实要进行该同步操作吗？</source>
        <translation>Syncing the player&apos;s data to the PC overwrites all programs on the PC. Sync now?</translation>
    </message>
    <message>
        <source>软件与播放器尚未连接，无法进行数据同步操作！</source>
        <translation>Not connected to the player: the sync cannot run!</translation>
    </message>
    <message>
        <source>该套节目无编程记录！</source>
        <translation>This set holds no programs.</translation>
    </message>
    <message>
        <source>数据同步失败！</source>
        <translation>Sync failed!</translation>
    </message>
    <message>
        <source>数据读取失败，请重试！</source>
        <translation>Reading data failed. Please try again!</translation>
    </message>
    <message>
        <source>数据同步完毕！</source>
        <translation>Sync complete.</translation>
    </message>
</context>
<context>
    <name>WholeDeviceReadPanel</name>
    <message>
        <source>正在进行数据同步，将机器数据装载到电脑中，请稍候...</source>
        <translation>Syncing: loading the player&apos;s data into the PC, please wait...</translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>磁盘空间不足</source>
        <translation>not enough disk space</translation>
    </message>
    <message>
        <source>写入失败</source>
        <translation>write failed</translation>
    </message>
    <message>
        <source>没有权限</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>文件系统只读</source>
        <translation>read-only file system</translation>
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
    <message numerus="yes">
        <source>备份%1含第一套%2个、第二套%3个、第三套%4个、第四套%5个程序，将替换电脑中现有的%n个程序。</source>
        <translation>
            <numerusform>Backup %1 holds programs Set 1: %2, Set 2: %3, Set 3: %4, Set 4: %5. Restoring it replaces the %n program now on this PC. </numerusform>
            <numerusform>Backup %1 holds programs Set 1: %2, Set 2: %3, Set 3: %4, Set 4: %5. Restoring it replaces the %n programs now on this PC. </numerusform>
        </translation>
    </message>
    <message>
        <source>读回的程序：备份中%1个，将替换现有的%2个。</source>
        <translation>Read-back programs: %1 in the backup, %2 now on this PC. </translation>
    </message>
    <message>
        <source>继续吗？恢复前会先备份当前数据。</source>
        <translation>Continue? The current data is backed up first.</translation>
    </message>
</context>
<context>
    <name>tessaly::BatchAddDialog</name>
    <message>
        <source>复制节目 - %1</source>
        <translation>Copy program - %1</translation>
    </message>
    <message>
        <source>批量添加 - %1</source>
        <translation>Add several - %1</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>开始时间（每行一个，或用逗号隔开）：</source>
        <translation>Start times (one per line, or separated by commas):</translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation>Start times</translation>
    </message>
    <message>
        <source>可写作8:00、08:00:00、8.00或0800；
写上结束时间则不按时长：08:00-08:00:30</source>
        <translation>Write 8:00, 08:00:00, 8.00 or 0800;
an end on the line replaces the duration: 08:00-08:00:30</translation>
    </message>
    <message>
        <source>时长 分钟</source>
        <translation>Duration minutes</translation>
    </message>
    <message>
        <source>时长 秒</source>
        <translation>Duration seconds</translation>
    </message>
    <message>
        <source>时长：</source>
        <translation>Duration:</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>优先程序</source>
        <translation>Priority program</translation>
    </message>
    <message>
        <source>MP3曲目</source>
        <translation>MP3 tracks</translation>
    </message>
    <message>
        <source>收音</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>节目源：</source>
        <translation>Source:</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>行</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation>End</translation>
    </message>
    <message>
        <source>检查结果</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>可以添加</source>
        <translation>Can be added</translation>
    </message>
    <message>
        <source>请输入开始时间。</source>
        <translation>Please enter start times.</translation>
    </message>
    <message>
        <source>添加失败，未添加任何程序！</source>
        <translation>Adding failed; no program was added!</translation>
    </message>
    <message numerus="yes">
        <source>……另有%n行不能添加</source>
        <translation>
            <numerusform>…and %n more line that cannot be added</numerusform>
            <numerusform>…and %n more lines that cannot be added</numerusform>
        </translation>
    </message>
    <message>
        <source>开始时间</source>
        <comment>column</comment>
        <translation>Start</translation>
    </message>
    <message numerus="yes">
        <source>%n行不能添加，请修改后再添加。</source>
        <translation>
            <numerusform>%n line cannot be added; correct it, then add.</numerusform>
            <numerusform>%n lines cannot be added; correct them, then add.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>可以添加%n个程序。</source>
        <translation>
            <numerusform>%n program can be added.</numerusform>
            <numerusform>%n programs can be added.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n行不能添加，未添加任何程序：
%1</source>
        <translation>
            <numerusform>%n line cannot be added; no program was added:
%1</numerusform>
            <numerusform>%n lines cannot be added; no program was added:
%1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>共添加%n个程序。</source>
        <translation>
            <numerusform>%n program added.</numerusform>
            <numerusform>%n programs added.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tessaly::DeviceLoadPanel</name>
    <message>
        <source>将电脑数据同步到机器中,系统将自动覆盖机器中所有的程序记录,确实要进行该同步操作吗？</source>
        <translation>Syncing the PC&apos;s data to the player overwrites all programs in the player. Sync now?</translation>
    </message>
    <message>
        <source>正在清除播放器中程序记录，请稍候...</source>
        <translation>Clearing the programs in the player, please wait...</translation>
    </message>
    <message>
        <source>正在进行数据同步，将电脑数据装载到机器中，请稍候...</source>
        <translation>Syncing: loading the PC&apos;s data into the player, please wait...</translation>
    </message>
</context>
<context>
    <name>tessaly::EditorWindow</name>
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
        <translation>Discard the changes?</translation>
    </message>
    <message>
        <source>确实要删除该记录吗？</source>
        <translation>Delete this program?</translation>
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
        <translation>Copy %1 to %2?</translation>
    </message>
    <message>
        <source>该操作将覆盖%1中原有的所有数据，确实需要进行该复制操作吗？</source>
        <translation>This replaces all the programs of %1. Copy anyway?</translation>
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
        <source>程序内容已发生变化，请重新进行程序装载！</source>
        <translation>The programs have changed. Please load them into the player again.</translation>
    </message>
    <message>
        <source>批量添加…</source>
        <translation>Add several…</translation>
    </message>
    <message>
        <source>复制节目…</source>
        <translation>Copy program…</translation>
    </message>
    <message>
        <source>[%1]</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>%1节目-%2.csv</source>
        <translation>%1 programs-%2.csv</translation>
    </message>
    <message numerus="yes">
        <source>导出完成：共%n个程序，已写入%1。</source>
        <translation>
            <numerusform>Export complete: %n program written to %1.</numerusform>
            <numerusform>Export complete: %n programs written to %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>……另有%n行有错误</source>
        <translation>
            <numerusform>… and %n more line with an error</numerusform>
            <numerusform>… and %n more lines with errors</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>导入失败，%n行有错误，未导入任何程序：
%1</source>
        <translation>
            <numerusform>Import failed: %n line has an error, no program was imported:
%1</numerusform>
            <numerusform>Import failed: %n lines have errors, no program was imported:
%1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>……另有%n个程序有错误</source>
        <translation>
            <numerusform>… and %n more program with an error</numerusform>
            <numerusform>… and %n more programs with errors</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>导入失败，%n个程序有错误，未导入任何程序：
%1</source>
        <translation>
            <numerusform>Import failed: %n program has an error, no program was imported:
%1</numerusform>
            <numerusform>Import failed: %n programs have errors, no program was imported:
%1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tessaly::LinkIndicator</name>
    <message>
        <source>连接状态</source>
        <translation>Connection status</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>Connection failed</translation>
    </message>
    <message>
        <source>连接成功</source>
        <translation>Connected</translation>
    </message>
</context>
<context>
    <name>tessaly::LoadDialog</name>
    <message>
        <source>第一套程序装载</source>
        <translation>Load set 1</translation>
    </message>
    <message>
        <source>第二套程序装载</source>
        <translation>Load set 2</translation>
    </message>
    <message>
        <source>第三套程序装载</source>
        <translation>Load set 3</translation>
    </message>
    <message>
        <source>第四套程序装载</source>
        <translation>Load set 4</translation>
    </message>
    <message>
        <source>程序装载</source>
        <translation>Load programs</translation>
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
        <source>状态检测</source>
        <translation>Link check</translation>
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
        <source>剩余：</source>
        <translation>Left:</translation>
    </message>
    <message>
        <source>装载进度</source>
        <translation>Load progress</translation>
    </message>
    <message>
        <source>总共</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>剩余</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>装载状态</source>
        <translation>Load status</translation>
    </message>
    <message>
        <source>程序装载失败！</source>
        <translation>Loading programs failed!</translation>
    </message>
    <message>
        <source>连接成功</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>正在清除记录，请稍候...</source>
        <translation>Clearing the records, please wait...</translation>
    </message>
</context>
<context>
    <name>tessaly::MainWindow</name>
    <message>
        <source>节目播放器编程</source>
        <translation>Scheduled player programming</translation>
    </message>
    <message>
        <source>程序编辑</source>
        <translation>Edit programs</translation>
    </message>
    <message>
        <source>程序装载</source>
        <translation>Load programs</translation>
    </message>
    <message>
        <source>程序读取</source>
        <translation>Read programs</translation>
    </message>
    <message>
        <source>数据同步 电脑-&gt;机器</source>
        <translation>Sync PC -&gt; player</translation>
    </message>
    <message>
        <source>数据同步 机器-&gt;电脑</source>
        <translation>Sync player -&gt; PC</translation>
    </message>
    <message>
        <source>退出系统</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>正在进行数据同步，将电脑数据装载到机器中，请稍候...</source>
        <translation>Syncing: loading the PC&apos;s data into the player, please wait...</translation>
    </message>
    <message>
        <source>节目：</source>
        <translation>Set:</translation>
    </message>
    <message>
        <source>总共：</source>
        <translation>Total:</translation>
    </message>
    <message>
        <source>剩余：</source>
        <translation>Left:</translation>
    </message>
    <message>
        <source>备份与恢复…</source>
        <translation>Backup and restore…</translation>
    </message>
    <message>
        <source>确实需要关闭系统吗？</source>
        <translation>Exit Tessaly?</translation>
    </message>
    <message>
        <source>核对播放器…</source>
        <translation>Compare with player…</translation>
    </message>
</context>
<context>
    <name>tessaly::NetworkPortDialog</name>
    <message>
        <source>网络串口</source>
        <translation>Network port</translation>
    </message>
    <message>
        <source>原始TCP</source>
        <translation>Raw TCP</translation>
    </message>
    <message>
        <source>RFC 2217</source>
        <translation>RFC 2217</translation>
    </message>
    <message>
        <source>主机</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>串口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>方式：</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>主机：</source>
        <translation>Host:</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>请填写主机（名称或 IP 地址）。</source>
        <translation>Enter the host (a name or an IP address).</translation>
    </message>
    <message>
        <source>端口“%1”无效，应为 1 到 65535 的数字。</source>
        <translation>The port &quot;%1&quot; is not valid: it must be a number from 1 to 65535.</translation>
    </message>
    <message>
        <source>主机“%1”无效：应为主机名或 IP 地址。</source>
        <translation>The host &quot;%1&quot; is not valid: it must be a host name or an IP address.</translation>
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
        <translation>All on</translation>
    </message>
    <message>
        <source>全关</source>
        <translation>All off</translation>
    </message>
    <message>
        <source>收音</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>电台:</source>
        <translation>Station:</translation>
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
    <message numerus="yes">
        <source>记录</source>
        <translation>
            <numerusform>program</numerusform>
            <numerusform>programs</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tessaly::ReadDataWindow</name>
    <message>
        <source>读取播放器节目数据</source>
        <translation>Programs read from the player</translation>
    </message>
    <message>
        <source>保存程序</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>退出页面</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>周节目表（读取数据）…</source>
        <translation>Weekly timetable (read data)…</translation>
    </message>
</context>
<context>
    <name>tessaly::ReadDialog</name>
    <message>
        <source>程序读取</source>
        <translation>Read programs</translation>
    </message>
    <message>
        <source>连接成功</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>Connection failed</translation>
    </message>
</context>
<context>
    <name>tessaly::SettingsPanel</name>
    <message>
        <source>打开失败，请设置通讯口！</source>
        <translation>The port did not open. Please set it up.</translation>
    </message>
    <message>
        <source>管理软件与节目播放器通讯设置</source>
        <translation>Connection settings for the player</translation>
    </message>
    <message>
        <source>请点击[测试]</source>
        <translation>Please click Test</translation>
    </message>
    <message>
        <source>端口打开失败,请点击[测试]</source>
        <translation>The port did not open. Please click Test</translation>
    </message>
    <message>
        <source>端口打开失败,请选择其他端口！</source>
        <translation>The port did not open. Please choose another port.</translation>
    </message>
    <message>
        <source>通讯成功！请点击[保存]</source>
        <translation>Connected. Please click Save</translation>
    </message>
    <message>
        <source>通讯端口：</source>
        <translation>Serial port:</translation>
    </message>
    <message>
        <source>测试</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>请选择实际连接的端口，[测试]成功后才允许保存！</source>
        <translation>Choose the port the player is connected to. It can be saved only after a successful test.</translation>
    </message>
    <message>
        <source>保存失败！数据库中没有通讯设置记录，端口未能保存。</source>
        <translation>Saving failed! The database holds no communication settings, so the port was not saved.</translation>
    </message>
    <message>
        <source>保存成功！</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>播放器与软件通讯尚未连通确实需要关闭吗？</source>
        <translation>The player is not connected yet. Close anyway?</translation>
    </message>
    <message>
        <source>网络串口</source>
        <translation>Network port</translation>
    </message>
    <message>
        <source>设置网络串口…</source>
        <translation>Set network port…</translation>
    </message>
    <message>
        <source>清除网络串口</source>
        <translation>Clear network port</translation>
    </message>
    <message>
        <source>网络串口未能保存！</source>
        <translation>The network port was not saved!</translation>
    </message>
    <message>
        <source>网络串口未能清除！</source>
        <translation>The network port was not cleared!</translation>
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
    <message>
        <source>撤销移动</source>
        <translation>Undo move</translation>
    </message>
    <message>
        <source>重做移动</source>
        <translation>Redo move</translation>
    </message>
    <message>
        <source>请先保存或取消编辑器中正在编辑的程序！</source>
        <translation>Save or cancel the program being edited in the editor first.</translation>
    </message>
    <message numerus="yes">
        <source>导出完成：已写入%1（共%n页）。</source>
        <translation>
            <numerusform>Export complete: %n page written to %1.</numerusform>
            <numerusform>Export complete: %n pages written to %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>导出完成：已写入%1。</source>
        <translation>Export complete: written to %1.</translation>
    </message>
    <message numerus="yes">
        <source>导出完成：已写入%1（节目列表较长，%n页上下相连在这一张图中）。</source>
        <translation>
            <numerusform>Export complete: written to %1 (the program list is long: %n page, one below the other in this one picture).</numerusform>
            <numerusform>Export complete: written to %1 (the program list is long: %n pages, one below the other in this one picture).</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tessaly::VerifyDialog</name>
    <message>
        <source>导出差异</source>
        <translation>Export differences</translation>
    </message>
    <message>
        <source>核对播放器</source>
        <translation>Compare with player</translation>
    </message>
    <message>
        <source>核对：</source>
        <translation>Compare:</translation>
    </message>
    <message>
        <source>核对的套</source>
        <translation>Sets to compare</translation>
    </message>
    <message>
        <source>全部四套</source>
        <translation>All four sets</translation>
    </message>
    <message>
        <source>开始核对</source>
        <translation>Compare</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>核对进度</source>
        <translation>Comparison progress</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>不同之处</source>
        <translation>Differences</translation>
    </message>
    <message>
        <source>核对结果</source>
        <translation>Comparison result</translation>
    </message>
    <message>
        <source>选择要核对的套，再点击“开始核对”。</source>
        <translation>Choose the sets to compare, then click Compare.</translation>
    </message>
    <message>
        <source>装载不同的套</source>
        <translation>Load the differing sets</translation>
    </message>
    <message>
        <source>导出差异…</source>
        <translation>Export differences…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>正在核对…</source>
        <translation>Comparing…</translation>
    </message>
    <message>
        <source>正在连接播放器…</source>
        <translation>Connecting to the player…</translation>
    </message>
    <message>
        <source>核对已停止，未作比较。</source>
        <translation>Stopped; nothing was compared.</translation>
    </message>
    <message>
        <source>正在停止…</source>
        <translation>Stopping…</translation>
    </message>
    <message>
        <source>差异导出失败！</source>
        <translation>The differences could not be exported.</translation>
    </message>
    <message numerus="yes">
        <source>已将%n处不同导出到%1。</source>
        <translation>
            <numerusform>%n difference exported to %1.</numerusform>
            <numerusform>%n differences exported to %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>正在读取%1…</source>
        <translation>Reading %1…</translation>
    </message>
    <message>
        <source>正在读取%1：已收到%2个，共%3个</source>
        <translation>Reading %1: %2 of %3 received</translation>
    </message>
    <message>
        <source>正在清除播放器中的%1…</source>
        <translation>Clearing %1 in the player…</translation>
    </message>
    <message>
        <source>正在装载%1：已发送%2个，共%3个</source>
        <translation>Loading %1: %2 of %3 sent</translation>
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
