<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AccessAdvice</name>
    <message>
        <source>Varnok setup program</source>
        <translation>Varnok 设置程序</translation>
    </message>
    <message>
        <source>no access</source>
        <translation>无访问权限</translation>
    </message>
    <message>
        <source>A foot switch was found, but this user may not open it, so its settings can be neither read out nor written in.

To allow it, run this command in the program&apos;s source folder:

    sudo scripts/install-udev-rule

or install the program&apos;s package, which brings the same rule. Then unplug the pedal and plug it in again.</source>
        <translation>找到了一个脚踏开关，但当前用户无权打开它，因此无法读出或写入它的设置。

要允许访问，请在程序的源代码文件夹中运行以下命令：

    sudo scripts/install-udev-rule

或者安装本程序的软件包，其中带有同样的规则。然后拔下踏板再重新插上。</translation>
    </message>
    <message>
        <source>This user may not write to the foot switch. To allow it, run scripts/install-udev-rule (or install the package), then unplug and replug the pedal.</source>
        <translation>当前用户无权写入脚踏开关。要允许写入，请运行 scripts/install-udev-rule（或安装软件包），然后拔下踏板再重新插上。</translation>
    </message>
    <message>
        <source>A foot switch was found, but Windows refused to open it, so its settings can be neither read out nor written in.

Another program may be holding the pedal open (another setup or macro tool): close it, then unplug the pedal and plug it in again. If that does not help, the computer&apos;s security settings may block access to the device; ask its administrator.</source>
        <translation>找到了一个脚踏开关，但 Windows 拒绝打开它，因此无法读出或写入它的设置。

可能有其他程序（其他设置工具或宏工具）正占用着踏板：请关闭该程序，然后拔下踏板再重新插上。如果仍然无效，可能是计算机的安全设置阻止了对该设备的访问；请询问管理员。</translation>
    </message>
    <message>
        <source>Windows refused access to the foot switch. Close any other program that may have the pedal open, then unplug and replug the pedal.</source>
        <translation>Windows 拒绝访问脚踏开关。请关闭可能占用踏板的其他程序，然后拔下踏板再重新插上。</translation>
    </message>
    <message>
        <source>A foot switch was found, but it cannot be opened: %1</source>
        <translation>已找到脚踏开关，但无法打开：%1</translation>
    </message>
    <message>
        <source> Its settings can be neither read out nor written in. Close that program, then unplug the pedal and plug it in again.</source>
        <translation>无法读取或写入其设置。请关闭该程序，然后拔下踏板并重新插入。</translation>
    </message>
    <message>
        <source>Its settings can be neither read out nor written in. Unplug the pedal and plug it in again; if that does not help, another program may be using it.</source>
        <translation>无法读取或写入其设置。请拔下踏板并重新插入；如果仍然无效，可能有其他程序正在使用它。</translation>
    </message>
    <message>
        <source>another program may be using it</source>
        <translation>可能有其他程序正在使用它</translation>
    </message>
    <message>
        <source>error %1</source>
        <translation>错误 %1</translation>
    </message>
    <message>
        <source>Win32 error %1</source>
        <translation>Win32 错误 %1</translation>
    </message>
    <message>
        <source>Another program may be using the foot switch.</source>
        <translation>可能有其他程序正在使用脚踏开关。</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Foot switches cannot be found: the system library libudev.so.1 could not be loaded.

Install it (Debian, Ubuntu: package libudev1; Fedora: systemd-libs) and start the program again.</source>
        <translation>无法查找脚踏开关：无法加载系统库 libudev.so.1。

请安装它（Debian、Ubuntu：软件包 libudev1；Fedora：systemd-libs），然后重新启动程序。</translation>
    </message>
    <message>
        <source>Foot switches cannot be found: the system&apos;s device libraries (setupapi.dll, hid.dll) could not be loaded.</source>
        <translation>无法查找脚踏开关：无法加载系统的设备库（setupapi.dll、hid.dll）。</translation>
    </message>
    <message>
        <source>pedal %1</source>
        <translation>踏板 %1</translation>
    </message>
    <message>
        <source>pedals %1 and %2</source>
        <translation>踏板 %1 和 %2</translation>
    </message>
    <message>
        <source>

Foot switch SN:%1</source>
        <translation>

脚踏开关 SN:%1</translation>
    </message>
    <message>
        <source>Write in</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>Setup Done!</source>
        <translation>设置完成！</translation>
    </message>
    <message>
        <source>The foot switch was not written: no foot switch is connected.</source>
        <translation>未写入脚踏开关：没有连接脚踏开关。</translation>
    </message>
    <message>
        <source>The foot switch was not written:</source>
        <translation>未写入脚踏开关：</translation>
    </message>
    <message>
        <source>The foot switch was not fully written:</source>
        <translation>脚踏开关未完全写入：</translation>
    </message>
    <message>
        <source> the setting of %1 could not be sent.</source>
        <translation>%1 的设置无法发送。</translation>
    </message>
    <message>
        <source> the settings of %1 could not be sent.</source>
        <translation>%1 的设置无法发送。</translation>
    </message>
    <message>
        <source> %1 could not be read out, so it was left as it is.</source>
        <translation>%1 无法读出，因此保持不变。</translation>
    </message>
    <message>
        <source> %1 could not be read out, so they were left as they are.</source>
        <translation>%1 无法读出，因此保持不变。</translation>
    </message>
    <message>
        <source> The other pedals were written.</source>
        <translation>其他踏板已写入。</translation>
    </message>
    <message>
        <source>

The foot switch did not take the settings in time.</source>
        <translation>

脚踏开关未能及时接收设置。</translation>
    </message>
    <message>
        <source>, </source>
        <comment>between pedal numbers</comment>
        <translation>、</translation>
    </message>
    <message>
        <source>no key</source>
        <translation>无按键</translation>
    </message>
    <message>
        <source>The foot switch was written, but it does not hold what was written:</source>
        <translation>已写入脚踏开关，但其保存的内容与写入的不同：</translation>
    </message>
    <message>
        <source>The foot switch was written, but the check could not confirm it:</source>
        <translation>已写入脚踏开关，但检查无法确认：</translation>
    </message>
    <message>
        <source>Pedal %1 holds %2 (%3), not %4 (%5).</source>
        <translation>踏板 %1 保存的是 %2 (%3)，而不是 %4 (%5)。</translation>
    </message>
    <message>
        <source>Pedal %1 did not answer the check; its setting is not confirmed.</source>
        <translation>踏板 %1 未响应检查；其设置未经确认。</translation>
    </message>
    <message>
        <source>

The system reported: %1</source>
        <translation>

系统报告：%1</translation>
    </message>
</context>
<context>
    <name>Profiles</name>
    <message>
        <source>Open profile…</source>
        <translation>打开配置文件…</translation>
    </message>
    <message>
        <source>Save profile…</source>
        <translation>保存配置文件…</translation>
    </message>
    <message>
        <source>Open profile</source>
        <translation>打开配置文件</translation>
    </message>
    <message>
        <source>Save profile</source>
        <translation>保存配置文件</translation>
    </message>
    <message>
        <source>Pedal profiles (*.json)</source>
        <translation>踏板配置文件 (*.json)</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>配置文件</translation>
    </message>
    <message>
        <source>no foot switch is connected.</source>
        <translation>未连接脚踏开关。</translation>
    </message>
    <message>
        <source>a write-in is under way.</source>
        <translation>正在写入。</translation>
    </message>
    <message>
        <source>the foot switch has not answered the read-out yet.</source>
        <translation>脚踏开关尚未响应读取。</translation>
    </message>
    <message>
        <source>A profile cannot be opened now:
%1</source>
        <translation>现在无法打开配置文件：
%1</translation>
    </message>
    <message>
        <source>A profile cannot be saved now:
%1</source>
        <translation>现在无法保存配置文件：
%1</translation>
    </message>
    <message>
        <source>The profile could not be read.

%1
%2</source>
        <translation>无法读取配置文件。

%1
%2</translation>
    </message>
    <message>
        <source>The file is larger than %1 bytes; it is no profile.</source>
        <translation>该文件大于 %1 字节，不是配置文件。</translation>
    </message>
    <message>
        <source>The profile was not opened; nothing was changed.

%1
%2</source>
        <translation>配置文件未打开，没有任何更改。

%1
%2</translation>
    </message>
    <message>
        <source>This profile was saved for another foot switch.

%1
</source>
        <translation>此配置文件是为另一个脚踏开关保存的。

%1
</translation>
    </message>
    <message>
        <source>It was saved from SN:%1; the foot switch here is SN:%2.
</source>
        <translation>它保存自 SN:%1；此处的脚踏开关是 SN:%2。
</translation>
    </message>
    <message>
        <source>It holds %1 pedal(s); %2 are set here. Opening it sets %1.
</source>
        <translation>它包含 %1 个踏板；此处设置了 %2 个。打开后将设为 %1 个。
</translation>
    </message>
    <message>
        <source>
Replace the assignments shown with the profile&apos;s?</source>
        <translation>
用配置文件中的设置替换当前显示的设置吗？</translation>
    </message>
    <message>
        <source>The profile was not saved.

Pedal %1 has not been read out yet: its assignment is not known. Save again once the foot switch has answered.</source>
        <translation>配置文件未保存。

踏板 %1 尚未读取：其设置未知。请在脚踏开关响应后再次保存。</translation>
    </message>
    <message>
        <source>The profile could not be saved.

%1
%2

A file that was there is left as it was.</source>
        <translation>无法保存配置文件。

%1
%2

原有文件保持不变。</translation>
    </message>
</context>
<context>
    <name>app::TMainForm</name>
    <message>
        <source>no keyboard hook library</source>
        <translation>没有键盘钩子库</translation>
    </message>
    <message>
        <source>no X display (DISPLAY not set)</source>
        <translation>没有 X 显示（未设置 DISPLAY）</translation>
    </message>
    <message>
        <source>the X display cannot be reached</source>
        <translation>无法连接 X 显示</translation>
    </message>
    <message>
        <source>the window runs on %1, not on X</source>
        <translation>窗口运行在 %1 上，而不是 X 上</translation>
    </message>
    <message>
        <source>Capture needs the program&apos;s keyboard hook on an X display (X11 or XWayland).</source>
        <translation>按键捕获需要本程序的键盘钩子运行在 X 显示上（X11 或 XWayland）。</translation>
    </message>
    <message>
        <source>%1 cannot be given to the pedal</source>
        <translation>无法将 %1 分配给踏板</translation>
    </message>
    <message>
        <source>Key capture is off: %1</source>
        <translation>按键捕获已关闭：%1</translation>
    </message>
    <message>
        <source>The key box cannot take keys here: %1. %2 Without it a pedal can be set with the command line: varnok-pedal write.</source>
        <translation>按键框在此无法接收按键：%1。%2 无法捕获时，也可以用命令行设置踏板：varnok-pedal write。</translation>
    </message>
    <message>
        <source>Keys are not taken until the write-in ends.</source>
        <translation>写入结束前不接收按键。</translation>
    </message>
    <message>
        <source>%1 foot switch is connected!</source>
        <translation>已连接 %1 个脚踏开关！</translation>
    </message>
    <message>
        <source>%1 foot switch found,
not usable: %2</source>
        <translation>找到 %1 个脚踏开关，
无法使用：%2</translation>
    </message>
    <message>
        <source>foot switch not found!</source>
        <translation>未找到脚踏开关！</translation>
    </message>
    <message>
        <source>Varnok setup program</source>
        <translation>Varnok 设置程序</translation>
    </message>
    <message>
        <source>Device Status</source>
        <translation>设备状态</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message>
        <source>Select foot switch</source>
        <translation>选择脚踏开关</translation>
    </message>
    <message>
        <source>Foot switch connected</source>
        <translation>脚踏开关已连接</translation>
    </message>
    <message>
        <source>No foot switch found</source>
        <translation>未找到脚踏开关</translation>
    </message>
    <message>
        <source>foot switch is connected!</source>
        <translation>脚踏开关已连接！</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>版本：</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Pedals</source>
        <translation>踏板</translation>
    </message>
    <message>
        <source>%1 pairs of buttons to set</source>
        <translation>设置第 %1 个踏板</translation>
    </message>
    <message>
        <source>Input:</source>
        <translation>输入：</translation>
    </message>
    <message>
        <source>Support the combination of keys</source>
        <translation>支持组合键</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>正在监听</translation>
    </message>
    <message>
        <source>The key box is taking keys: press the combination for this pedal.</source>
        <translation>按键框正在接收按键：请按下此踏板的组合键。</translation>
    </message>
    <message>
        <source>Pedal Number</source>
        <translation>踏板数量</translation>
    </message>
    <message>
        <source>Write in</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>Read out</source>
        <translation>读出</translation>
    </message>
    <message>
        <source>Picture: a tick</source>
        <translation>图标：对勾</translation>
    </message>
    <message>
        <source>Picture: a circular arrow</source>
        <translation>图标：循环箭头</translation>
    </message>
    <message>
        <source>Pedal %1</source>
        <translation>踏板 %1</translation>
    </message>
    <message>
        <source>Key combination of pedal %1</source>
        <translation>踏板 %1 的组合键</translation>
    </message>
    <message>
        <source>no keyboard hook library (Hookmod.dll)</source>
        <translation>没有键盘钩子库（Hookmod.dll）</translation>
    </message>
    <message>
        <source>the window runs on %1, not on the Windows desktop</source>
        <translation>窗口运行在 %1 上，而不是 Windows 桌面上</translation>
    </message>
    <message>
        <source>Capture needs the keyboard hook library Hookmod.dll in the program&apos;s folder.</source>
        <translation>按键捕获需要程序文件夹中的键盘钩子库 Hookmod.dll。</translation>
    </message>
    <message>
        <source>another program holds the keyboard; click into the key box to try again</source>
        <translation>另一个程序占用了键盘；请点击按键框重试</translation>
    </message>
</context>
</TS>
