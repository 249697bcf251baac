<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>InputFiles</name>
    <message>
        <source>打开文本文件</source>
        <translation>Open a text file</translation>
    </message>
    <message>
        <source>文本文件 (*.txt);;所有文件 (*)</source>
        <translation>Text files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>无法读取 %1：%2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 的第 %2 个字节（0x%3）在所选编码中无效；请选择文件的编码再打开。</source>
        <translation>Byte %2 of %1 (0x%3) is not valid in the encoding chosen; choose the file&apos;s encoding and open it again.</translation>
    </message>
    <message>
        <source>选择图片</source>
        <translation>Choose a picture</translation>
    </message>
    <message>
        <source>图片 (*.png *.bmp *.gif *.jpg *.jpeg);;所有文件 (*)</source>
        <translation>Pictures (*.png *.bmp *.gif *.jpg *.jpeg);;All files (*)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Lumadot 点阵字库 %1（%2）</source>
        <translation>Lumadot bitmap fonts %1 (%2)</translation>
    </message>
</context>
<context>
    <name>ScanPictures</name>
    <message>
        <source>横向逐行</source>
        <translation>rows, each top to bottom</translation>
    </message>
    <message>
        <source>横向分带（8点宽的带逐带逐行）</source>
        <translation>row bands (8-dot-wide bands, each row by row)</translation>
    </message>
    <message>
        <source>纵向逐列</source>
        <translation>columns, each left to right</translation>
    </message>
    <message>
        <source>纵向分带（8点高的带逐带逐列）</source>
        <translation>column bands (8-dot-high bands, each column by column)</translation>
    </message>
    <message>
        <source>%1，%2，%3</source>
        <translation>%1, %2, %3</translation>
    </message>
    <message>
        <source>低位在前</source>
        <translation>lowest bit first</translation>
    </message>
    <message>
        <source>高位在前</source>
        <translation>highest bit first</translation>
    </message>
    <message>
        <source>0为亮（反色）</source>
        <translation>0 lit (negative)</translation>
    </message>
    <message>
        <source>1为亮</source>
        <translation>1 lit</translation>
    </message>
</context>
<context>
    <name>WorkbenchWindow</name>
    <message>
        <source>Lumadot 取模工作台</source>
        <translation>Lumadot Glyph Workbench</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>在此输入要取模的文字</source>
        <translation>Type the text to turn into glyphs here</translation>
    </message>
    <message>
        <source>打开文本文件…</source>
        <translation>Open a text file…</translation>
    </message>
    <message>
        <source>编码：</source>
        <translation>Encoding:</translation>
    </message>
    <message>
        <source>图片</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>图片文件：</source>
        <translation>Picture file:</translation>
    </message>
    <message>
        <source>选择图片…</source>
        <translation>Choose a picture…</translation>
    </message>
    <message>
        <source>阈值：</source>
        <translation>Threshold:</translation>
    </message>
    <message>
        <source>高度：</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>原样</source>
        <translation>as it is</translation>
    </message>
    <message>
        <source>抖动（Floyd–Steinberg）</source>
        <translation>Dither (Floyd–Steinberg)</translation>
    </message>
    <message>
        <source>反相（亮处为点）</source>
        <translation>Invert (light pixels are dots)</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>字节排列</source>
        <translation>Byte layout</translation>
    </message>
    <message>
        <source>扫描：</source>
        <translation>Scan:</translation>
    </message>
    <message>
        <source>低位在前（字节倒序）</source>
        <translation>Lowest bit first (reversed bytes)</translation>
    </message>
    <message>
        <source>阴码（1 为暗）</source>
        <translation>Negative (1 is dark)</translation>
    </message>
    <message>
        <source>从固件字节识别…</source>
        <translation>Detect from firmware bytes…</translation>
    </message>
    <message>
        <source>输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>格式：</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>名称前缀：</source>
        <translation>Name prefix:</translation>
    </message>
    <message>
        <source>一个数组（c51、sdcc）</source>
        <translation>One array (c51, sdcc)</translation>
    </message>
    <message>
        <source>字库子集及查找表</source>
        <translation>Font subset with its lookup tables</translation>
    </message>
    <message>
        <source>复制全部</source>
        <translation>Copy all</translation>
    </message>
    <message>
        <source>保存…</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Restore defaults</translation>
    </message>
    <message>
        <source>放大：</source>
        <translation>Zoom:</translation>
    </message>
    <message>
        <source>保存编码：</source>
        <translation>Save encoding:</translation>
    </message>
    <message>
        <source>保存时注释的编码：UTF-8 供 SDCC、as31 和新式编辑器，GBK（代码页 936）供中文 Windows 上的 Keil。输出框和复制的内容总是文字。</source>
        <translation>The encoding a save writes the comments in: UTF-8 for SDCC, as31 and modern editors, GBK (code page 936) for Keil on a Chinese Windows. The output box and what is copied are always text.</translation>
    </message>
    <message>
        <source>不写作者信息</source>
        <translation>Leave out the credit lines</translation>
    </message>
</context>
<context>
    <name>lumadot::DetectDialog</name>
    <message>
        <source>有%1个字节，但这些字符的字形在横向扫描中占%2个字节，在纵向扫描中占%3个字节</source>
        <translation>There are %1 bytes, but these characters&apos; glyphs take %2 bytes in the row scans and %3 in the column scans</translation>
    </message>
    <message>
        <source>字节的排列：%1
偏差%2（0为逐点相同）；次佳：%3，偏差%4</source>
        <translation>The bytes are laid out: %1
misfit %2 (0: the same dot for dot); next best: %3, misfit %4</translation>
    </message>
    <message>
        <source>
字形的点很少，结果未必可靠；最好给出笔画多一些的汉字的字节</source>
        <translation>
The glyphs have few dots, so the result may not hold; the bytes of characters with more strokes tell better</translation>
    </message>
    <message>
        <source>
%1画出同样的图形：给出不对称的汉字的字节可以区分</source>
        <translation>
%1 draw the same pictures: the bytes of a lopsided character tell them apart</translation>
    </message>
    <message>
        <source>%1与%2几乎一样吻合（偏差%3和%4），无法判断；请给出更多字符的字节%5</source>
        <translation>%1 and %2 fit almost as well (misfit %3 and %4), so neither can be trusted; give the bytes of more characters%5</translation>
    </message>
    <message>
        <source>，笔画多一些的字</source>
        <translation>, with more strokes</translation>
    </message>
    <message>
        <source>这些字节无法判断排列：%1</source>
        <translation>These bytes cannot tell the layout: %1</translation>
    </message>
    <message>
        <source>“%1”不是汉字：符号的字形因字库而异，无法据此判断排列；请给出汉字（如“国”）的字节</source>
        <translation>%1 is not a Chinese character; symbols differ too much from font to font to tell a layout by: give the bytes of Chinese characters, such as 国</translation>
    </message>
    <message>
        <source>我们的“%1”字形是空白的，没有可以与字节比较的</source>
        <translation>Our glyphs of %1 are blank, so there is nothing to compare the bytes with</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>从固件字节识别</source>
        <translation>Detect from firmware bytes</translation>
    </message>
    <message>
        <source>粘贴固件源码里这些字符的字形字节，如 DB 01H,0F8H 或 {0x01, 0xF8}</source>
        <translation>Paste these characters&apos; glyph bytes from the firmware&apos;s source, such as DB 01H,0F8H or {0x01, 0xF8}</translation>
    </message>
    <message>
        <source>这些字节所画的字符，按字形的顺序</source>
        <translation>The characters the bytes draw, in the order of the glyphs</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>字节(&amp;B)：</source>
        <translation>&amp;Bytes:</translation>
    </message>
    <message>
        <source>字符(&amp;C)：</source>
        <translation>&amp;Characters:</translation>
    </message>
    <message>
        <source>请输入这些字节所画的字符</source>
        <translation>Type the characters these bytes draw</translation>
    </message>
    <message>
        <source>无法读取字节：%1</source>
        <translation>Cannot read the bytes: %1</translation>
    </message>
    <message>
        <source>请粘贴这些字符的字节</source>
        <translation>Paste the bytes of these characters</translation>
    </message>
</context>
<context>
    <name>lumadot::DotView</name>
    <message>
        <source>「%1」第%2字节，位%3：0x%4</source>
        <translation>“%1” byte %2, bit %3: 0x%4</translation>
    </message>
</context>
<context>
    <name>lumadot::FontBox</name>
    <message>
        <source>字体：</source>
        <translation>Font:</translation>
    </message>
    <message>
        <source>半角字体：</source>
        <translation>Single-byte font:</translation>
    </message>
    <message>
        <source>字号：</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>字体序号：</source>
        <translation>Face:</translation>
    </message>
    <message>
        <source>与字体相同</source>
        <translation>as the font</translation>
    </message>
    <message>
        <source>其他字体文件…</source>
        <translation>Another font file…</translation>
    </message>
    <message>
        <source>选择字体文件</source>
        <translation>Choose a font file</translation>
    </message>
    <message>
        <source>字体文件 (*.ttf *.otf *.ttc *.otc *.pcf *.pcf.gz *.bdf *.bdf.gz *.hex *.hex.gz);;所有文件 (*)</source>
        <translation>Font files (*.ttf *.otf *.ttc *.otc *.pcf *.pcf.gz *.bdf *.bdf.gz *.hex *.hex.gz);;All files (*)</translation>
    </message>
    <message>
        <source>（未构建）</source>
        <translation> (not built)</translation>
    </message>
</context>
<context>
    <name>lumadot::OutputBox</name>
    <message>
        <source>保存输出</source>
        <translation>Save the output</translation>
    </message>
    <message>
        <source>*.%1 文件 (*.%1);;所有文件 (*)</source>
        <translation>*.%1 files (*.%1);;All files (*)</translation>
    </message>
</context>
<context>
    <name>lumadot::SignBox</name>
    <message>
        <source>从左端起静止显示</source>
        <translation>still, from the left end</translation>
    </message>
    <message>
        <source>从右端移入、从左端移出，每步一列</source>
        <translation>moves in from the right and out at the left, a column a step</translation>
    </message>
    <message>
        <source>从左端移入、从右端移出，每步一列</source>
        <translation>moves in from the left and out at the right, a column a step</translation>
    </message>
    <message>
        <source>从下方逐行升入，停留%1步，再从上方升出</source>
        <translation>rises in from below a row a step, stays %1 steps, rises out at the top</translation>
    </message>
    <message>
        <source>从上方逐行降入，停留%1步，再从下方降出</source>
        <translation>drops in from above a row a step, stays %1 steps, drops out at the bottom</translation>
    </message>
    <message>
        <source>亮%1步、暗%1步，交替闪烁</source>
        <translation>flashes: %1 steps lit, %1 dark</translation>
    </message>
    <message>
        <source>显示屏</source>
        <translation>Sign</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>模拟</source>
        <translation>Simulate</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud</translation>
    </message>
    <message>
        <source>校验位</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>数据位</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>停止位</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>显示速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>显示方式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>%v / %m 字节</source>
        <translation>%v / %m bytes</translation>
    </message>
    <message>
        <source>速度字节%1：每步%2毫秒</source>
        <translation>speed byte %1: %2 ms a step</translation>
    </message>
    <message>
        <source>方式字节%1：%2</source>
        <translation>mode byte %1: %2</translation>
    </message>
    <message>
        <source>1最慢，10最快</source>
        <translation>1 slowest, 10 fastest</translation>
    </message>
    <message>
        <source>没有可发送的字模</source>
        <translation>No glyphs to send</translation>
    </message>
    <message>
        <source>把字模编成显示帧，经串口发给显示屏</source>
        <translation>Encode the glyphs as a display frame and send it to the sign over the serial port</translation>
    </message>
    <message>
        <source>按显示方式和速度播放显示屏上的效果</source>
        <translation>Play the effect on the sign at its mode and speed</translation>
    </message>
    <message>
        <source>停止模拟</source>
        <translation>Stop simulating</translation>
    </message>
    <message>
        <source>按显示屏读的字节排列发送：8*16格式、字节倒序</source>
        <translation>Sent in the byte layout the sign reads: 8*16 strips, bits reversed</translation>
    </message>
    <message>
        <source>显示屏把显示帧的字节读作一条条8×16的竖条，每字节最低位在左；所以发送和模拟都按这个排列重排字模，与输出选的字节排列无关</source>
        <translation>The sign reads a frame&apos;s bytes as 8x16 strips, each byte&apos;s lowest bit leftmost, so sending and simulating lay the glyphs out that way, whatever layout the output is in</translation>
    </message>
    <message>
        <source>使用串口%1共发送%2K数据发送成功</source>
        <translation>Sent %2K of data through the port %1</translation>
    </message>
</context>
<context>
    <name>lumadot::WorkbenchWindow</name>
    <message>
        <source>汇编列表（与主窗口相同）</source>
        <translation>Assembler listing (as the main window gives it)</translation>
    </message>
    <message>
        <source>a51 汇编（Keil A51）</source>
        <translation>a51 assembler (Keil A51)</translation>
    </message>
    <message>
        <source>as31 汇编</source>
        <translation>as31 assembler</translation>
    </message>
    <message>
        <source>sdas 汇编（SDCC sdas8051）</source>
        <translation>sdas assembler (SDCC sdas8051)</translation>
    </message>
    <message>
        <source>c51 C 数组（Keil C51）</source>
        <translation>c51 C arrays (Keil C51)</translation>
    </message>
    <message>
        <source>sdcc C 数组</source>
        <translation>sdcc C arrays</translation>
    </message>
    <message>
        <source>bin 原始字节（十六进制显示）</source>
        <translation>bin raw bytes (shown in hex)</translation>
    </message>
    <message>
        <source>hex Intel HEX</source>
        <translation>hex Intel HEX</translation>
    </message>
    <message>
        <source>自动（UTF-8 或带 BOM 的 UTF-16）</source>
        <translation>automatic (UTF-8, or UTF-16 with a byte order mark)</translation>
    </message>
    <message>
        <source>已列出系统字体 %1 个</source>
        <translation>%1 system fonts listed</translation>
    </message>
    <message>
        <source>已保存到 %1</source>
        <translation>Saved to %1</translation>
    </message>
    <message>
        <source>字号“%1”无效：请填 8 到 64，或 宽x高，如 24x16</source>
        <translation>Size “%1” is not valid: give 8 to 64, or WxH, such as 24x16</translation>
    </message>
    <message numerus="yes">
        <source>%n 个字模，%1 字节</source>
        <translation>
            <numerusform>%n glyph, %1 bytes</numerusform>
            <numerusform>%n glyphs, %1 bytes</numerusform>
        </translation>
    </message>
    <message>
        <source>等</source>
        <translation>and more</translation>
    </message>
    <message numerus="yes">
        <source>字库缺少 %n 个字：%1</source>
        <translation>
            <numerusform>The font lacks %n character: %1</numerusform>
            <numerusform>The font lacks %n characters: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>请先选择一张图片</source>
        <translation>Choose a picture first</translation>
    </message>
    <message>
        <source>汇编列表保留作者信息，与主窗口的结果框相同；只有源程序格式（a51、as31、sdas、c51、sdcc）可以不写</source>
        <translation>The listing keeps its credit lines, as the main window&apos;s result box shows them; only a source format (a51, as31, sdas, c51, sdcc) can leave them out</translation>
    </message>
    <message>
        <source>源程序末尾不写作者信息，与 lumadot-cli --no-credit 相同</source>
        <translation>Leave the credit lines off the end of the source, as lumadot-cli --no-credit does</translation>
    </message>
</context>
</TS>
