<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>FrameRows</name>
    <message>
        <source>静止</source>
        <translation>still</translation>
    </message>
    <message>
        <source>左移</source>
        <translation>move left</translation>
    </message>
    <message>
        <source>右移</source>
        <translation>move right</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>move up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>move down</translation>
    </message>
    <message>
        <source>闪烁</source>
        <translation>flash</translation>
    </message>
    <message>
        <source>  警告：%1</source>
        <translation>  warning: %1</translation>
    </message>
    <message>
        <source>第 %1 帧：不完整，收到 %2 / %3 字节</source>
        <translation>frame %1: incomplete, %2 of %3 bytes</translation>
    </message>
    <message>
        <source>第 %1 帧：宽度 %2，速度 %3，模式 %4（%5），%6 个显示字节</source>
        <translation>frame %1: width %2, speed %3, mode %4 (%5), %6 display bytes</translation>
    </message>
    <message>
        <source>宽度 %1，小于 %2，没有显示字节</source>
        <translation>width: %1, less than %2, so no display bytes</translation>
    </message>
    <message>
        <source>速度 %1，不在 %2 到 %3 之间</source>
        <translation>speed: %1, outside %2 to %3</translation>
    </message>
    <message>
        <source>模式 %1，不在 0 到 %2 之间，按静止显示</source>
        <translation>mode: %1, outside 0 to %2, so shown still</translation>
    </message>
    <message>
        <source>引导段第 %1 字节为 %2，不是零</source>
        <translation>lead-in: byte %1 is %2, not zero</translation>
    </message>
    <message>
        <source>，另有 %1 个也不是</source>
        <translation>, nor are %1 more</translation>
    </message>
    <message>
        <source>结尾只有 %1 个零字节，至少应有 %2 个</source>
        <translation>tail: %1 zero bytes, expected at least %2</translation>
    </message>
</context>
<context>
    <name>SignWindow</name>
    <message>
        <source>LED 屏模拟</source>
        <translation>LED sign simulator</translation>
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
        <source>屏宽</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>屏宽多少点；32 点一块 P10 模组，块与块之间画出接缝</source>
        <translation>The panel&apos;s width in dots; every 32 is a P10 module, with the seams between modules drawn</translation>
    </message>
    <message>
        <source>开始接收</source>
        <translation>Start listening</translation>
    </message>
</context>
<context>
    <name>lumadot::SignWindow</name>
    <message>
        <source>停止接收</source>
        <translation>Stop listening</translation>
    </message>
    <message>
        <source>开始接收</source>
        <translation>Start listening</translation>
    </message>
</context>
</TS>
