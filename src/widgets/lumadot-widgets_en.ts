<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>lumadot::FailureWords</name>
    <message>
        <source>文件或设备不存在</source>
        <translation>No such file or device</translation>
    </message>
    <message>
        <source>没有权限</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>设备正忙</source>
        <translation>The device is busy</translation>
    </message>
    <message>
        <source>这是一个文件夹</source>
        <translation>It is a folder</translation>
    </message>
    <message>
        <source>路径中有一段不是文件夹</source>
        <translation>A part of the path is not a folder</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>超出了磁盘配额</source>
        <translation>The disk quota is used up</translation>
    </message>
    <message>
        <source>文件系统是只读的</source>
        <translation>The file system is read-only</translation>
    </message>
    <message>
        <source>输入输出出错</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>设备不存在或没有连接</source>
        <translation>No such device, or it is not connected</translation>
    </message>
    <message>
        <source>名字太长</source>
        <translation>The name is too long</translation>
    </message>
    <message>
        <source>串口名为 com1 到 com16（小写），或设备的路径（%1）。comN 指向 LUMADOT_COMn 所指的设备（LUMADOT_COM1=/dev/ttyUSB0 让 com1 指向该设备）；“lumadot-cli ports”列出每个 comN 指向哪里</source>
        <translation>ports are named com1 to com16, in lower case, or a device by its path (%1). comN leads to the device that LUMADOT_COMn names (LUMADOT_COM1=/dev/ttyUSB0 makes com1 that device); &apos;lumadot-cli ports&apos; shows where each comN leads</translation>
    </message>
    <message>
        <source>另一个程序正在使用这个串口</source>
        <translation>Another program is using the port</translation>
    </message>
    <message>
        <source>没有使用权限：只有 root 和串口所属的组（Debian 上是 dialout）能用它；运行 sudo adduser $USER dialout，再重新登录</source>
        <translation>Permission denied: only root and the port&apos;s group (dialout on Debian) may use it; run sudo adduser $USER dialout, then log in again</translation>
    </message>
    <message>
        <source>“%1”不是串口名：</source>
        <translation>&quot;%1&quot; is not a port name: </translation>
    </message>
    <message>
        <source>波特率“%1”无效：应是 1 到 2147483647 的整数</source>
        <translation>The baud rate &quot;%1&quot; is not a whole number from 1 to 2147483647</translation>
    </message>
    <message>
        <source>校验位“%1”无效：应是 E、M、N、O、S 之一</source>
        <translation>The parity &quot;%1&quot; is not one of E, M, N, O, S</translation>
    </message>
    <message>
        <source>数据位“%1”无效：应是 5、6、7 或 8</source>
        <translation>The data bits &quot;%1&quot; are not 5, 6, 7 or 8</translation>
    </message>
    <message>
        <source>停止位“%1”无效：应是 1、1.5 或 2</source>
        <translation>The stop bits &quot;%1&quot; are not 1, 1.5 or 2</translation>
    </message>
    <message>
        <source>串口设置“%1”有 %2 项，不是“波特率,校验位,数据位,停止位”4 项：框里不能有逗号</source>
        <translation>The line settings &quot;%1&quot; have %2 fields, not the 4 of baud,parity,data bits,stop bits: no box may hold a comma</translation>
    </message>
    <message>
        <source>系统列出的串口不到 %1 个；请把 LUMADOT_COM%1 设为要用的设备，如 LUMADOT_COM%1=/dev/ttyUSB0</source>
        <translation>The system lists fewer than %1 serial ports; set LUMADOT_COM%1 to the device to use, e.g. LUMADOT_COM%1=/dev/ttyUSB0</translation>
    </message>
    <message>
        <source>这个系统不能发送 1.5 个停止位</source>
        <translation>This system cannot send 1.5 stop bits</translation>
    </message>
    <message>
        <source>串口还没有打开</source>
        <translation>The port is not open</translation>
    </message>
    <message>
        <source>线路在限定的时间内不再接收字节</source>
        <translation>The line took no more bytes in time</translation>
    </message>
    <message>
        <source>串口已断开：%1</source>
        <translation>The port went away: %1</translation>
    </message>
    <message>
        <source>文字宽 %1 列，而一帧最多 %2 列</source>
        <translation>The text is %1 columns wide, and a frame holds at most %2</translation>
    </message>
    <message>
        <source>显示屏只显示16点阵的字模，所以%1点高的字模不能发送；请改用16点阵</source>
        <translation>The sign shows 16-dot glyphs, so glyphs %1 dots high cannot be sent; choose 16 dots</translation>
    </message>
    <message>
        <source>显示屏只显示16点阵的字模，所以%1×%2点阵的字模不能发送；请改用16点阵</source>
        <translation>The sign shows 16-dot glyphs, so %1x%2 glyphs cannot be sent; choose 16 dots</translation>
    </message>
    <message>
        <source>这段文字有 %1 个单字节字符和 %2 个双字节字符，共 %3 字节字模；一次最多 %4 字节</source>
        <translation>The text has %1 single-byte and %2 double-byte characters, %3 glyph bytes; one run holds %4</translation>
    </message>
    <message>
        <source>不是 PNG、BMP、GIF 或 JPEG 图片</source>
        <translation>Not a PNG, BMP, GIF or JPEG picture</translation>
    </message>
    <message>
        <source>图片已损坏（%1）</source>
        <translation>The picture is damaged (%1)</translation>
    </message>
    <message>
        <source>图片不完整，没到结尾就断了</source>
        <translation>The picture is truncated</translation>
    </message>
    <message>
        <source>图片没有像素（%1 × %2）</source>
        <translation>The picture has no pixels (%1 x %2)</translation>
    </message>
    <message>
        <source>图片太大（%1 × %2 像素；每边最多 %3，总共最多 %4 Mi 像素）</source>
        <translation>The picture is too large (%1 x %2 pixels; at most %3 a side and %4 Mi pixels in all)</translation>
    </message>
    <message>
        <source>只能读未压缩的 BMP（或 16、32 位的位域），每像素 1、4、8、24 或 32 位；这个的压缩方式是 %1，每像素 %2 位</source>
        <translation>Only uncompressed BMPs (or 16- and 32-bit bit fields) of 1, 4, 8, 24 or 32 bits a pixel are read; this one has compression %1 and %2 bits a pixel</translation>
    </message>
    <message>
        <source>串口%1打开失败，可能正在使用中</source>
        <translation>Could not open the port %1; it may be in use</translation>
    </message>
    <message>
        <source>串口%1打开失败</source>
        <translation>Could not open the port %1</translation>
    </message>
    <message>
        <source>串口%1已断开，停止接收</source>
        <translation>The port %1 went away; listening stopped</translation>
    </message>
    <message>
        <source>串口“%1”无效</source>
        <translation>The port &quot;%1&quot; is not valid</translation>
    </message>
    <message>
        <source>串口设置“%1”无效</source>
        <translation>The line settings &quot;%1&quot; are not valid</translation>
    </message>
    <message>
        <source>显示速度“%1”无效</source>
        <translation>The display speed &quot;%1&quot; is not valid</translation>
    </message>
    <message>
        <source>显示方式“%1”无效</source>
        <translation>The display mode &quot;%1&quot; is not valid</translation>
    </message>
    <message>
        <source>无法写入%1</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <source>无法读取图片%1</source>
        <translation>Cannot read the picture %1</translation>
    </message>
    <message>
        <source>文字太长：一次最多能取模4096个单字节字符或2048个双字节字符</source>
        <translation>The text is too long: one run takes at most 4096 single-byte or 2048 double-byte characters</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>系统提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>lumadot::MessagePresenter</name>
    <message>
        <source>显示详细信息…</source>
        <translation>Show details…</translation>
    </message>
    <message>
        <source>隐藏详细信息…</source>
        <translation>Hide details…</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
