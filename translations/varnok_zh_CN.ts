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
    <name>Profile</name>
    <message>
        <source>unknown key name &quot;%1&quot; (names are case-sensitive, e.g. &quot;%2&quot;)</source>
        <translation>未知的按键名称 &quot;%1&quot;(区分大小写, 例如 &quot;%2&quot;)</translation>
    </message>
    <message>
        <source>unknown key name &quot;%1&quot; (see the key table; names are case-sensitive, e.g. &quot;Ctrl&quot;, &quot;Page Up&quot;)</source>
        <translation>未知的按键名称 &quot;%1&quot;(见按键表; 区分大小写, 例如 &quot;Ctrl&quot;、&quot;Page Up&quot;)</translation>
    </message>
    <message>
        <source>empty key name in &quot;%1&quot; (a &quot;+&quot; too many?)</source>
        <translation>&quot;%1&quot; 中有空的按键名称(多了一个 &quot;+&quot;?)</translation>
    </message>
    <message>
        <source>key &quot;%1&quot; given twice</source>
        <translation>按键 &quot;%1&quot; 给出了两次</translation>
    </message>
    <message>
        <source>too many keys: &quot;%1&quot; would be the fourth (at most three keys besides modifiers)</source>
        <translation>按键太多: &quot;%1&quot; 将是第四个(除修饰键外最多三个按键)</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第 %1 行: %2</translation>
    </message>
    <message>
        <source>nested deeper than %1 levels</source>
        <translation>嵌套超过 %1 层</translation>
    </message>
    <message>
        <source>member %1 given twice in one object</source>
        <translation>成员 %1 在同一对象中出现两次</translation>
    </message>
    <message>
        <source>entry %1 of &quot;pedals&quot; is not an object</source>
        <translation>&quot;pedals&quot; 的第 %1 项不是对象</translation>
    </message>
    <message>
        <source>entry %1 of &quot;pedals&quot;: unknown member %2 (allowed: pedal, keys, bytes)</source>
        <translation>&quot;pedals&quot; 的第 %1 项: 未知成员 %2(允许: pedal、keys、bytes)</translation>
    </message>
    <message>
        <source>entry %1 of &quot;pedals&quot;: &quot;pedal&quot; must be a number from 1 to %2</source>
        <translation>&quot;pedals&quot; 的第 %1 项: &quot;pedal&quot; 必须是 1 到 %2 之间的数字</translation>
    </message>
    <message>
        <source>pedal %1 appears twice</source>
        <translation>踏板 %1 出现了两次</translation>
    </message>
    <message>
        <source>pedal %1: needs &quot;keys&quot; or &quot;bytes&quot;</source>
        <translation>踏板 %1: 需要 &quot;keys&quot; 或 &quot;bytes&quot;</translation>
    </message>
    <message>
        <source>pedal %1: &quot;keys&quot; must be a string</source>
        <translation>踏板 %1: &quot;keys&quot; 必须是字符串</translation>
    </message>
    <message>
        <source>pedal %1: &quot;bytes&quot; must be a string</source>
        <translation>踏板 %1: &quot;bytes&quot; 必须是字符串</translation>
    </message>
    <message>
        <source>pedal %1: bad &quot;bytes&quot; %2 (expected e.g. &quot;01-06-00-00&quot;)</source>
        <translation>踏板 %1: &quot;bytes&quot; %2 有误(应为例如 &quot;01-06-00-00&quot;)</translation>
    </message>
    <message>
        <source>pedal %1: &quot;keys&quot; %2 and &quot;bytes&quot; %3 disagree (edit one and drop the other)</source>
        <translation>踏板 %1: &quot;keys&quot; %2 与 &quot;bytes&quot; %3 不一致(修改其一并删除另一个)</translation>
    </message>
    <message>
        <source>pedal %1: %2</source>
        <translation>踏板 %1: %2</translation>
    </message>
    <message>
        <source>pedal %1: key %2 cannot be given to the pedal (it is not in the key table)</source>
        <translation>踏板 %1: 按键 %2 不能设置给踏板(它不在按键表中)</translation>
    </message>
    <message>
        <source>not valid JSON: %1</source>
        <translation>不是有效的 JSON: %1</translation>
    </message>
    <message>
        <source>the profile must be a JSON object with a &quot;pedals&quot; array</source>
        <translation>配置文件必须是带有 &quot;pedals&quot; 数组的 JSON 对象</translation>
    </message>
    <message>
        <source>&quot;serial&quot; must be a string</source>
        <translation>&quot;serial&quot; 必须是字符串</translation>
    </message>
    <message>
        <source>the profile has no &quot;pedals&quot; array</source>
        <translation>配置文件没有 &quot;pedals&quot; 数组</translation>
    </message>
    <message>
        <source>the &quot;pedals&quot; array is empty</source>
        <translation>&quot;pedals&quot; 数组为空</translation>
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
    <message>
        <source>Pedal %1: %2</source>
        <translation>踏板 %1: %2</translation>
    </message>
    <message>
        <source>Pedals %1 and %2 type the same, %3: which one cannot be told</source>
        <translation>踏板 %1 和 %2 输入相同的 %3：无法分辨是哪一个</translation>
    </message>
    <message>
        <source>A pedal typed %1, which no pedal read out holds</source>
        <translation>某踏板输入了 %1，已读出的踏板均无此键</translation>
    </message>
    <message>
        <source>A pedal typed %1: read out to tell which one</source>
        <translation>某踏板输入了 %1：读出后才能分辨</translation>
    </message>
</context>
<context>
    <name>varnok-pedal</name>
    <message>
        <source>error: %1</source>
        <translation>错误: %1</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>unknown (version code %1)</source>
        <translation>未知(版本代码 %1)</translation>
    </message>
    <message>
        <source>%1  serial %2  product &quot;%3&quot;</source>
        <translation>%1  序列号 %2  产品 &quot;%3&quot;</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(无)</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>the device library (%1) could not be loaded; no pedals can be found</source>
        <translation>无法加载设备库(%1); 无法查找踏板</translation>
    </message>
    <message>
        <source>no pedal found (is it plugged in?)</source>
        <translation>未找到踏板(是否已插入?)</translation>
    </message>
    <message>
        <source>no pedal with serial &quot;%1&quot;; pedals found:</source>
        <translation>没有序列号为 &quot;%1&quot; 的踏板; 找到的踏板:</translation>
    </message>
    <message>
        <source>no pedal with path &quot;%1&quot;; pedals found:</source>
        <translation>没有路径为 &quot;%1&quot; 的踏板; 找到的踏板:</translation>
    </message>
    <message>
        <source>%1 pedals found; choose one with --serial or --path:</source>
        <translation>找到 %1 个踏板; 请用 --serial 或 --path 选择一个:</translation>
    </message>
    <message>
        <source>access to %1 refused for this user: %2</source>
        <translation>当前用户被拒绝访问 %1: %2</translation>
    </message>
    <message>
        <source>access to %1 refused for this user (%2): %3</source>
        <translation>当前用户被拒绝访问 %1(%2): %3</translation>
    </message>
    <message>
        <source>the pedal at %1 went away (unplugged?)</source>
        <translation>%1 处的踏板已断开(被拔下?)</translation>
    </message>
    <message>
        <source>pedal %1 did not answer within %2 ms</source>
        <translation>踏板 %1 在 %2 毫秒内没有应答</translation>
    </message>
    <message>
        <source>  (the read request could not be sent: %1)</source>
        <translation>  (无法发送读取请求: %1)</translation>
    </message>
    <message>
        <source>%1  firmware %2  access %3</source>
        <translation>%1  固件 %2  访问 %3</translation>
    </message>
    <message>
        <source>read-write</source>
        <translation>读写</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>拒绝</translation>
    </message>
    <message>
        <source>note: to use a pedal whose access is refused, %1</source>
        <translation>提示: 要使用被拒绝访问的踏板, 请%1</translation>
    </message>
    <message>
        <source>pedal %1: %2 (%3)</source>
        <translation>踏板 %1: %2 (%3)</translation>
    </message>
    <message>
        <source>cannot read the profile from the standard input: %1</source>
        <translation>无法从标准输入读取配置文件: %1</translation>
    </message>
    <message>
        <source>cannot read profile %1: %2</source>
        <translation>无法读取配置文件 %1: %2</translation>
    </message>
    <message>
        <source>bad profile %1: %2</source>
        <translation>配置文件 %1 有误: %2</translation>
    </message>
    <message>
        <source>pedal %1: write failed: %2 (%3 of 8 bytes written)</source>
        <translation>踏板 %1: 写入失败: %2(已写入 8 个字节中的 %3 个)</translation>
    </message>
    <message>
        <source>to grant access, %1</source>
        <translation>要获得访问权限, 请%1</translation>
    </message>
    <message>
        <source>pedal %1: wrote %2 (%3)</source>
        <translation>踏板 %1: 已写入 %2 (%3)</translation>
    </message>
    <message>
        <source>done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>verify: pedal %1 did not answer within %2 ms</source>
        <translation>校验: 踏板 %1 在 %2 毫秒内没有应答</translation>
    </message>
    <message>
        <source>verify: pedal %1 holds %2, written was %3</source>
        <translation>校验: 踏板 %1 保存的是 %2, 写入的是 %3</translation>
    </message>
    <message>
        <source>verified</source>
        <translation>已校验</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1: %2</translation>
    </message>
    <message>
        <source>exported %1 pedal(s) to %2</source>
        <translation>已将 %1 个踏板导出到 %2</translation>
    </message>
    <message>
        <source>no device-change notifications can be had on this system</source>
        <translation>此系统不提供设备变更通知</translation>
    </message>
    <message>
        <source>%1 of %2 pedal event(s) seen within %3 ms</source>
        <translation>在 %3 毫秒内看到 %2 个踏板事件中的 %1 个</translation>
    </message>
    <message>
        <source>cannot write the output: %1</source>
        <translation>无法写入输出: %1</translation>
    </message>
    <message>
        <source>no keyboard layout &quot;%1&quot; here</source>
        <translation>此处没有键盘布局 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>no command given (try --help)</source>
        <translation>未给出命令(请尝试 --help)</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot; (commands: list, read, write, export, watch; try --help)</source>
        <translation>未知命令 &quot;%1&quot;(命令: list、read、write、export、watch; 请尝试 --help)</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>意外的参数 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>more than one key combination given (quote names with blanks: &quot;Page Up&quot;)</source>
        <translation>给出了多个组合键(含空格的名称请加引号: &quot;Page Up&quot;)</translation>
    </message>
    <message>
        <source>option %1 is not known to &quot;%2&quot; (try --help)</source>
        <translation>&quot;%2&quot; 不支持选项 %1(请尝试 --help)</translation>
    </message>
    <message>
        <source>option %1 takes no value</source>
        <translation>选项 %1 不接受值</translation>
    </message>
    <message>
        <source>option %1 needs a value</source>
        <translation>选项 %1 需要一个值</translation>
    </message>
    <message>
        <source>--layout needs a layout name, e.g. &quot;de&quot;</source>
        <translation>--layout 需要布局名称, 例如 &quot;de&quot;</translation>
    </message>
    <message>
        <source>--file needs a file name</source>
        <translation>--file 需要文件名</translation>
    </message>
    <message>
        <source>--timeout must be a number of milliseconds, 1 to 600000</source>
        <translation>--timeout 必须是毫秒数, 1 到 600000</translation>
    </message>
    <message>
        <source>--count must be a number from 1 to %1</source>
        <translation>--count 必须是 1 到 %1 之间的数字</translation>
    </message>
    <message>
        <source>--pedal must be 1, 2 or 3 (pedal numbers start at 1)</source>
        <translation>--pedal 必须是 1、2 或 3(踏板编号从 1 开始)</translation>
    </message>
    <message>
        <source>give --serial or --path, not both</source>
        <translation>请给出 --serial 或 --path, 不能同时给出</translation>
    </message>
    <message>
        <source>write --file takes no --pedal and no key combination</source>
        <translation>write --file 不接受 --pedal 和组合键</translation>
    </message>
    <message>
        <source>write needs --pedal N (1 to 3) and a key combination, or --file</source>
        <translation>write 需要 --pedal N(1 到 3)和组合键, 或者 --file</translation>
    </message>
    <message>
        <source>write needs a key combination, e.g. &quot;Ctrl+Shift+A&quot; (&quot;none&quot; clears the pedal)</source>
        <translation>write 需要组合键, 例如 &quot;Ctrl+Shift+A&quot;(&quot;none&quot; 清除踏板)</translation>
    </message>
    <message>
        <source>varnok-pedal - set up the three-pedal USB foot switch from the command line

Usage:
  varnok-pedal list [--serial S | --path P] [--timeout MS]
  varnok-pedal read [--serial S | --path P] [--count N] [--json] [--layout NAME] [--timeout MS]
  varnok-pedal write [--serial S | --path P] --pedal N &quot;KEYS&quot; [--layout NAME] [--verify] [--timeout MS]
  varnok-pedal write [--serial S | --path P] --file PROFILE.json [--verify] [--timeout MS]
  varnok-pedal export [--serial S | --path P] [--count N] [--file F] [--timeout MS]
  varnok-pedal watch [--count N] [--timeout MS]
  varnok-pedal --help
  (every command also takes --lang L)

Commands:
  list    the pedals found: path, serial, product, firmware version (or
          &quot;unknown&quot; when the pedal does not answer in time) and whether this
          user may open it
  read    every pedal&apos;s assignment by name and as bytes (modifier byte, then
          three key codes, e.g. &quot;Ctrl+Shift+A (03-04-00-00)&quot;)
  write   gives one pedal a key combination, or all pedals of a profile file;
          &quot;done&quot; is printed only when every report was written completely
  export  writes a profile file from the device (to stdout without --file):
          {&quot;pedals&quot;:[{&quot;pedal&quot;:1,&quot;keys&quot;:&quot;Ctrl+C&quot;,&quot;bytes&quot;:&quot;01-06-00-00&quot;},...]}
  watch   debugging aid: prints &quot;arrived &lt;path&gt;&quot; / &quot;removed &lt;path&gt;&quot; each time
          the device-change monitor and a rescan see a pedal come or go, until
          N such events (default 1) or the timeout (default 60000 ms)

Options:
  --serial S    choose the pedal with this serial number
  --path P      choose the pedal with this device path (as &quot;list&quot; shows it)
  --count N     read/export: pedals 1..N (1 to 3, default 3)
  --pedal N     the pedal to write; pedal numbers start at 1 (pedal 1 is the
                first pedal, index 0 on the device)
  --json        read: machine-readable output
  --verify      write: read the pedals back and compare (a key slot
                holding 00 or FF is &quot;no key&quot; either way)
  --file F      write: the profile to write; export: the file to create
                or replace (atomically; a symbolic link is followed);
                &quot;-&quot; is the standard input (write) or output (export)
  --timeout MS  how long to wait for the pedal&apos;s answers (default 2000)
  --layout NAME read/write: name the keys as the keyboard layout NAME labels
                them (an xkb layout name such as &quot;de&quot; or &quot;fr&quot;; on Windows a
                layout id such as &quot;00000407&quot;); the bytes stay the same
  --lang L      the language of the messages: &quot;de&quot;, &quot;zh_CN&quot;, or &quot;C&quot; for
                English (default: the system&apos;s; VARNOK_LANG=L does the same)

Key combinations: key names exactly as in the key table, case-sensitive,
joined by &quot;+&quot;: &quot;Ctrl+Shift+A&quot;, &quot;Alt+F4&quot;, &quot;Page Up&quot;, &quot;Right Ctrl+Num +&quot;.
Modifiers (Ctrl, Shift, Alt, Left Windows, Right Ctrl, Right Shift, Right Alt,
Right Windows) fold into the modifier byte; at most three other keys.
An empty text or &quot;none&quot; clears the pedal. A code without a name is written
by its number: &quot;Key 0x68&quot;. The names are the key table&apos;s (a US keyboard&apos;s)
whatever the machine&apos;s layout, so a script means the same keys everywhere;
with --layout the layout&apos;s names are accepted as well, and take precedence.
Profile files and read --json always use the key table&apos;s names.

Without --serial or --path the one pedal present is used; with several
present, choose one.

Exit codes:
  0  ok
  1  usage error
  2  no pedal found (or none with the given serial / path), the device
     library could not be loaded, the pedal went away during the command,
     or (watch) the system gives no device-change notifications
  3  several pedals found and none chosen (they are listed)
  4  access refused: run &quot;sudo scripts/install-udev-rule&quot; or install the
     program&apos;s package, then unplug and replug the pedal
  5  no answer within the timeout (watch: no event within the timeout)
  6  bad key name or bad profile file
  7  a write failed (the pedal and the reason are named; also when the
     export file or the standard output cannot be written)
  8  --verify found the pedal holding something else than was written
</source>
        <translation>varnok-pedal - 在命令行中设置三踏板 USB 脚踏开关

用法:
  varnok-pedal list [--serial S | --path P] [--timeout MS]
  varnok-pedal read [--serial S | --path P] [--count N] [--json] [--layout NAME] [--timeout MS]
  varnok-pedal write [--serial S | --path P] --pedal N &quot;按键&quot; [--layout NAME] [--verify] [--timeout MS]
  varnok-pedal write [--serial S | --path P] --file 配置.json [--verify] [--timeout MS]
  varnok-pedal export [--serial S | --path P] [--count N] [--file F] [--timeout MS]
  varnok-pedal watch [--count N] [--timeout MS]
  varnok-pedal --help
  (每个命令也接受 --lang L)

命令:
  list    找到的踏板: 路径、序列号、产品、固件版本(踏板未及时应答时为
          &quot;未知&quot;)以及当前用户能否打开它
  read    每个踏板的设置, 按名称并以字节显示(修饰键字节, 然后三个键码,
          例如 &quot;Ctrl+Shift+A (03-04-00-00)&quot;)
  write   给一个踏板设置组合键, 或写入配置文件中的所有踏板; 只有每个报告都
          完整写入时才显示 &quot;完成&quot;
  export  从设备导出配置文件(没有 --file 时输出到标准输出):
          {&quot;pedals&quot;:[{&quot;pedal&quot;:1,&quot;keys&quot;:&quot;Ctrl+C&quot;,&quot;bytes&quot;:&quot;01-06-00-00&quot;},...]}
  watch   调试用: 每当设备变更监视和重新扫描发现踏板接入或移除时, 输出
          &quot;arrived &lt;路径&gt;&quot; / &quot;removed &lt;路径&gt;&quot;, 直到出现 N 个这样的事件
          (默认 1)或超时(默认 60000 毫秒)

选项:
  --serial S    选择具有此序列号的踏板
  --path P      选择具有此设备路径的踏板(与 &quot;list&quot; 显示的一致)
  --count N     read/export: 踏板 1..N(1 到 3, 默认 3)
  --pedal N     要写入的踏板; 踏板编号从 1 开始(踏板 1 是第一个踏板,
                即设备上的索引 0)
  --json        read: 机器可读的输出
  --verify      write: 读回踏板并比较(键位为 00 或 FF 都表示 &quot;无按键&quot;)
  --file F      write: 要写入的配置文件; export: 要创建或(原子地)替换的
                文件, 会跟随符号链接; &quot;-&quot; 表示标准输入(write)或标准输出
                (export)
  --timeout MS  等待踏板应答的时间(默认 2000)
  --layout NAME read/write: 按键盘布局 NAME 的标注来命名按键(xkb 布局名,
                如 &quot;de&quot; 或 &quot;fr&quot;; 在 Windows 上为布局 ID, 如 &quot;00000407&quot;);
                字节保持不变
  --lang L      消息的语言: &quot;de&quot;、&quot;zh_CN&quot;, 或 &quot;C&quot; 表示英语(默认: 系统的
                语言; VARNOK_LANG=L 作用相同)

组合键: 按键名称与按键表中完全一致, 区分大小写, 用 &quot;+&quot; 连接:
&quot;Ctrl+Shift+A&quot;、&quot;Alt+F4&quot;、&quot;Page Up&quot;、&quot;Right Ctrl+Num +&quot;。
修饰键(Ctrl、Shift、Alt、Left Windows、Right Ctrl、Right Shift、Right Alt、
Right Windows)并入修饰键字节; 此外最多三个其他按键。
空文本或 &quot;none&quot; 清除踏板。没有名称的键码按其编号书写: &quot;Key 0x68&quot;。
无论本机使用何种键盘布局, 名称都采用按键表中的名称(美式键盘的名称),
因此脚本在任何地方都表示相同的按键; 使用 --layout 时也接受该布局的名称,
并且优先使用。
配置文件和 read --json 始终使用按键表中的名称。

没有 --serial 或 --path 时使用唯一连接的踏板; 连接了多个时, 请选择一个。

退出码:
  0  正常
  1  用法错误
  2  未找到踏板(或没有具有给定序列号 / 路径的踏板)、无法加载设备库、
     踏板在命令执行期间断开, 或(watch)系统不提供设备变更通知
  3  找到多个踏板且未选择(会列出它们)
  4  拒绝访问: 运行 &quot;sudo scripts/install-udev-rule&quot; 或安装本程序的软件包,
     然后拔下并重新插入踏板
  5  超时内没有应答(watch: 超时内没有事件)
  6  按键名称错误或配置文件错误
  7  写入失败(会指出踏板和原因; 导出文件或标准输出无法写入时也是如此)
  8  --verify 发现踏板中保存的内容与写入的不同
</translation>
    </message>
    <message>
        <source>run &quot;sudo scripts/install-udev-rule&quot; (or install the program&apos;s package), then unplug and replug the pedal</source>
        <translation>运行 &quot;sudo scripts/install-udev-rule&quot;(或安装本程序的软件包), 然后拔下并重新插入踏板</translation>
    </message>
    <message>
        <source>close any other program that has the pedal open, then unplug and replug the pedal</source>
        <translation>关闭所有打开了踏板的其他程序, 然后拔下并重新插入踏板</translation>
    </message>
    <message>
        <source>%1 (Win32 error %2)</source>
        <translation>%1(Win32 错误 %2)</translation>
    </message>
</context>
</TS>
