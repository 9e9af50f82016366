<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Application</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>加密库无法初始化,程序不能运行.</source>
        <translation>The encryption library could not be initialized. The program cannot run.</translation>
    </message>
    <message>
        <source>程序已运行!</source>
        <translation>The program is already running!</translation>
    </message>
    <message>
        <source>数据文件夹 %1 无法写入,程序不能运行.</source>
        <translation>The data folder %1 cannot be written to. The program cannot run.</translation>
    </message>
    <message>
        <source>数据文件 %1 无法打开,程序不能运行.文件未作任何改动.</source>
        <translation>The data file %1 cannot be opened. The program cannot run. The file has not been changed.</translation>
    </message>
    <message>
        <source>数据文件无法加密保存.</source>
        <translation>The data file could not be encrypted and saved.</translation>
    </message>
</context>
<context>
    <name>BackupFile</name>
    <message>
        <source>所选的是文件夹,不是备份文件: %1</source>
        <translation>The chosen item is a folder, not a backup file: %1</translation>
    </message>
    <message>
        <source>备份文件不存在: %1</source>
        <translation>The backup file does not exist: %1</translation>
    </message>
    <message>
        <source>正在使用的数据文件不能作为备份文件恢复: %1</source>
        <translation>The data file in use cannot be restored as a backup file: %1</translation>
    </message>
    <message>
        <source>备份文件无法读取: %1</source>
        <translation>The backup file cannot be read: %1</translation>
    </message>
    <message>
        <source>备份文件是空的: %1</source>
        <translation>The backup file is empty: %1</translation>
    </message>
    <message>
        <source>无法创建临时文件夹: %1</source>
        <translation>Cannot create the temporary folder: %1</translation>
    </message>
    <message>
        <source>所选文件不是有效的备份文件,或已损坏: %1</source>
        <translation>The selected file is not a valid backup file, or it is damaged: %1</translation>
    </message>
    <message>
        <source>用户密码错误,请重新输入!</source>
        <translation>Wrong user password, please try again!</translation>
    </message>
</context>
<context>
    <name>CategoryPage</name>
    <message>
        <source>帐号分类:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>添加(&amp;A)</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>修改(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>删除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>分类没有改动.</source>
        <translation>The categories were not changed.</translation>
    </message>
    <message>
        <source>系统保留分类,不能修改!</source>
        <translation>This is a reserved system category and cannot be changed!</translation>
    </message>
    <message>
        <source>该分类已存在,请重新输入!</source>
        <translation>This category already exists, please enter another one!</translation>
    </message>
    <message>
        <source>系统保留分类,不能删除!</source>
        <translation>This is a reserved system category and cannot be deleted!</translation>
    </message>
    <message>
        <source>是否删除“%1”分类和“%1”分类下所有数据?</source>
        <translation>Delete the category “%1” and all data in the category “%1”?</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>会员认证中心，根据提示操作</source>
        <translation>Member Verification Center - follow the instructions</translation>
    </message>
</context>
<context>
    <name>FrmAbout</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>本软件不含有任何病毒木马程序，绝对也不会窃取任何密码</source>
        <translation>This software contains no viruses or Trojans and will never steal any password</translation>
    </message>
    <message>
        <source>软件版本:2011 beta1</source>
        <translation>Version: 2011 beta1</translation>
    </message>
    <message>
        <source>运行环境:Win2000/xp/7</source>
        <translation>Runs on: Win2000/xp/7</translation>
    </message>
    <message>
        <source>返回(&amp;R)</source>
        <translation>&amp;Back</translation>
    </message>
</context>
<context>
    <name>FrmData</name>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>帐号分类:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>帐号名称:</source>
        <translation>Account name:</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>User ID:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>密码强度:</source>
        <translation>Password strength:</translation>
    </message>
    <message>
        <source>注册日期:</source>
        <translation>Registration date:</translation>
    </message>
    <message>
        <source>网址:</source>
        <translation>Web address:</translation>
    </message>
    <message>
        <source>备注:</source>
        <translation>Remarks:</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>修改(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>点击旁边Now插入当前日期</source>
        <translation>Click &quot;Now&quot; beside it to insert today&apos;s date</translation>
    </message>
    <message>
        <source>添加资料</source>
        <translation>Add Record</translation>
    </message>
    <message>
        <source>修改资料</source>
        <translation>Edit Record</translation>
    </message>
    <message>
        <source>查看资料</source>
        <translation>View Record</translation>
    </message>
    <message>
        <source>点击旁边星号显示密码</source>
        <translation>Click the asterisk beside it to show the password</translation>
    </message>
    <message>
        <source>点击旁边星号隐藏密码</source>
        <translation>Click the asterisk beside it to hide the password</translation>
    </message>
    <message>
        <source>请输入或选择帐号分类!</source>
        <translation>Please enter or select a category!</translation>
    </message>
    <message>
        <source>请输入帐号名称!</source>
        <translation>Please enter an account name!</translation>
    </message>
    <message>
        <source>请输入用户名或密码!</source>
        <translation>Please enter the user ID and password!</translation>
    </message>
    <message>
        <source>注册日期格式错误,请重新输入!</source>
        <translation>Invalid registration date format, please enter it again!</translation>
    </message>
    <message>
        <source>该帐号已存在,请重新输入!</source>
        <translation>This account already exists, please enter another one!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>保存失败,数据没有改动.</source>
        <translation>Saving failed. The data has not been changed.</translation>
    </message>
    <message>
        <source>密码已复制到系统剪贴板!</source>
        <translation>The password has been copied to the clipboard!</translation>
    </message>
</context>
<context>
    <name>FrmFind</name>
    <message>
        <source>查询</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>请输入查询条件,不需要的条件留空.</source>
        <translation>Enter the search conditions; leave the ones you do not need empty.</translation>
    </message>
    <message>
        <source>帐号分类:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>帐号名称:</source>
        <translation>Account name:</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>User ID:</translation>
    </message>
    <message>
        <source>注册日期:</source>
        <translation>Registration date:</translation>
    </message>
    <message>
        <source>网址:</source>
        <translation>Web address:</translation>
    </message>
    <message>
        <source>查询(&amp;F)</source>
        <translation>&amp;Find</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>注册日期格式错误,请重新输入!</source>
        <translation>Invalid registration date format, please enter it again!</translation>
    </message>
</context>
<context>
    <name>FrmLogin</name>
    <message>
        <source>登录</source>
        <translation>Log In</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>密  码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>登录(&amp;O)</source>
        <translation>&amp;Log In</translation>
    </message>
    <message>
        <source>注册新用户(&amp;N)</source>
        <translation>Register &amp;New User</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>请注册新用户!</source>
        <translation>Please register a new user!</translation>
    </message>
    <message>
        <source>请选择用户!</source>
        <translation>Please select a user!</translation>
    </message>
    <message>
        <source>请输入密码!</source>
        <translation>Please enter the password!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>用户数据已损坏,无法登录!</source>
        <translation>The user data is damaged, login is not possible!</translation>
    </message>
    <message>
        <source>登录密码错误次数已超过3次,软件将自动关闭!</source>
        <translation>The login password was entered wrongly more than 3 times, the program will now close!</translation>
    </message>
    <message>
        <source>用户密码错误,请重新输入!</source>
        <translation>Wrong user password, please try again!</translation>
    </message>
</context>
<context>
    <name>FrmLoosenLock</name>
    <message>
        <source>解锁 --- 当前用户:</source>
        <translation>Unlock --- Current user: </translation>
    </message>
    <message>
        <source>Qolani密码管理器已锁定,请输入登录密码解锁!</source>
        <translation>Qolani Password Manager is locked. Please enter your login password to unlock it!</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>解锁(&amp;U)</source>
        <translation>&amp;Unlock</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>密码长度不能小于6位.</source>
        <translation>The password must be at least 6 characters long.</translation>
    </message>
    <message>
        <source>密码错误,请重新输入!</source>
        <translation>Wrong password, please try again!</translation>
    </message>
</context>
<context>
    <name>FrmMain</name>
    <message>
        <source>Ombrivo2011 beta  --- 当前用户:</source>
        <translation>Ombrivo2011 beta  --- Current user: </translation>
    </message>
    <message>
        <source>添加(&amp;A)</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>修改(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>删除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>查看(&amp;L)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>工具(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>VIP(&amp;H)</source>
        <translation>V&amp;IP</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>A&amp;bout</translation>
    </message>
    <message>
        <source>退出(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>查询数据:</source>
        <translation>Find:</translation>
    </message>
    <message>
        <source>支持拼音首字母查询</source>
        <translation>Searching by pinyin initials is supported</translation>
    </message>
    <message>
        <source>查询(&amp;F)</source>
        <translation>&amp;Find</translation>
    </message>
    <message>
        <source>注册VIP认证，有好礼相送，本软件不含任何后门和窃取密码账号程序，本软件只是一个保管箱工具...</source>
        <translation>Register for VIP verification and get a gift. This software contains no back doors and nothing that steals passwords or accounts; it is only a safe-deposit box tool...</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>自动备份数据失败,请手动备份!</source>
        <translation>Automatic backup failed, please make a backup manually!</translation>
    </message>
    <message>
        <source>Qolani密码管理器已处锁定锁定状态!</source>
        <translation>Qolani Password Manager is locked!</translation>
    </message>
    <message>
        <source>帮助文档已丢失!</source>
        <translation>The help document is missing!</translation>
    </message>
    <message>
        <source>密码无法解密,没有复制.</source>
        <translation>The password could not be decrypted and was not copied.</translation>
    </message>
    <message>
        <source>当前桌面不支持全局快捷键(需要X11),快捷键设置将保存但不起作用.</source>
        <translation>The current desktop does not support global shortcut keys (X11 is required). The shortcut key settings will be saved but will have no effect.</translation>
    </message>
    <message>
        <source>以下快捷键已被其它程序占用: %1</source>
        <translation>The following shortcut keys are already used by other programs: %1</translation>
    </message>
    <message>
        <source>Fennick密码管理器 V1.0 正式版 --- 当前用户:</source>
        <translation>Fennick Password Manager V1.0 Release --- Current user: </translation>
    </message>
    <message>
        <source>Fennick密码管理器</source>
        <translation>Fennick Password Manager</translation>
    </message>
    <message>
        <source>没有找到系统托盘,窗口将最小化到任务栏.</source>
        <translation>No system tray was found. The window will be minimized to the taskbar.</translation>
    </message>
    <message>
        <source>帐号分类</source>
        <translation>Account Categories</translation>
    </message>
    <message>
        <source>没有资料可修改!</source>
        <translation>There is no record to edit!</translation>
    </message>
    <message>
        <source>没有资料可查看!</source>
        <translation>There is no record to view!</translation>
    </message>
    <message>
        <source>没有资料可删除!</source>
        <translation>There is no record to delete!</translation>
    </message>
    <message>
        <source>删除提示</source>
        <translation>Confirm Deletion</translation>
    </message>
    <message>
        <source>是否删除帐号&lt;%1&gt;,删除后将不可恢复,请确认!</source>
        <translation>Delete the account &lt;%1&gt;? Once deleted it cannot be restored, please confirm!</translation>
    </message>
    <message>
        <source>删除失败.</source>
        <translation>Deletion failed.</translation>
    </message>
    <message>
        <source>帐号分类无法读取.</source>
        <translation>The account categories cannot be read.</translation>
    </message>
    <message>
        <source>帐号资料无法读取.</source>
        <translation>The account records cannot be read.</translation>
    </message>
    <message>
        <source>查询失败.</source>
        <translation>The search failed.</translation>
    </message>
    <message>
        <source>是否退出系统？</source>
        <translation>Do you want to quit?</translation>
    </message>
</context>
<context>
    <name>FrmNewUser</name>
    <message>
        <source>注册新用户</source>
        <translation>Register New User</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>确认密码:</source>
        <translation>Confirm password:</translation>
    </message>
    <message>
        <source>密码强度:</source>
        <translation>Password strength:</translation>
    </message>
    <message>
        <source>提示:请牢记密码.如果密码丢失将不能进入系统.</source>
        <translation>Note: Remember your password. If you lose it, you cannot log in to the system.</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>请输入用户名!</source>
        <translation>Please enter a user name!</translation>
    </message>
    <message>
        <source>两次输入的密码不一致,请重新输入!</source>
        <translation>The two passwords do not match, please enter them again!</translation>
    </message>
    <message>
        <source>密码长度不能小于6位.</source>
        <translation>The password must be at least 6 characters long.</translation>
    </message>
    <message>
        <source>该用户已存在.请重新输入!</source>
        <translation>This user already exists. Please enter another one!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>注册失败,数据没有保存.</source>
        <translation>Registration failed. The data has not been saved.</translation>
    </message>
    <message>
        <source>注册成功,请登录!</source>
        <translation>Registration successful, please log in!</translation>
    </message>
</context>
<context>
    <name>FrmResumeData</name>
    <message>
        <source>恢复数据</source>
        <translation>Restore Data</translation>
    </message>
    <message>
        <source>保留用户配置</source>
        <translation>Keep the user settings</translation>
    </message>
    <message>
        <source>请选择备份文件中要恢复数据的用户名.</source>
        <translation>Select the user in the backup file whose data is to be restored.</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>密  码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>恢复(&amp;R)</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>请选择用户!</source>
        <translation>Please select a user!</translation>
    </message>
    <message>
        <source>请输入密码!</source>
        <translation>Please enter the password!</translation>
    </message>
    <message>
        <source>用户密码错误,请重新输入!</source>
        <translation>Wrong user password, please try again!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>恢复数据将会覆盖现有的数据,是否继续?</source>
        <translation>Restoring will overwrite the existing data. Continue?</translation>
    </message>
    <message>
        <source>确定覆盖用户配置吗?</source>
        <translation>Are you sure you want to overwrite the user settings?</translation>
    </message>
    <message>
        <source>恢复前无法备份现有的数据,现有数据没有改动.</source>
        <translation>The existing data could not be backed up before the restore. It has not been changed.</translation>
    </message>
    <message>
        <source>数据恢复失败,现有数据没有改动.</source>
        <translation>The restore failed. The existing data has not been changed.</translation>
    </message>
    <message>
        <source>数据恢复成功!</source>
        <translation>Data restored successfully!</translation>
    </message>
</context>
<context>
    <name>FrmSetting</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>备份压缩</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>安全</source>
        <translation>Security</translation>
    </message>
    <message>
        <source>快捷键</source>
        <translation>Shortcuts</translation>
    </message>
    <message>
        <source>帐号分类</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>其它</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>备份文件保存至:</source>
        <translation>Save backup file to:</translation>
    </message>
    <message>
        <source>自动压缩数据库</source>
        <translation>Compact the database automatically</translation>
    </message>
    <message>
        <source>自动备份时间间隔:</source>
        <translation>Automatic backup interval:</translation>
    </message>
    <message>
        <source>天</source>
        <translation>days</translation>
    </message>
    <message>
        <source>注:0天为不自动备份</source>
        <translation>Note: 0 days means no automatic backup</translation>
    </message>
    <message>
        <source>用星号(*)显示密码</source>
        <translation>Show passwords as asterisks (*)</translation>
    </message>
    <message>
        <source>退出时清空剪贴板</source>
        <translation>Clear the clipboard on exit</translation>
    </message>
    <message>
        <source>最小化后锁定时间:</source>
        <translation>Lock when minimized after:</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>注:0分钟为不锁定</source>
        <translation>Note: 0 minutes means no lock</translation>
    </message>
    <message>
        <source>粘贴用户名:</source>
        <translation>Paste user ID:</translation>
    </message>
    <message>
        <source>粘贴密码:</source>
        <translation>Paste password:</translation>
    </message>
    <message>
        <source>粘贴网址:</source>
        <translation>Paste web address:</translation>
    </message>
    <message>
        <source>老板键:</source>
        <translation>Boss key:</translation>
    </message>
    <message>
        <source>关闭时最小化到托盘</source>
        <translation>Minimize to the tray when closed</translation>
    </message>
    <message>
        <source>随系统启动</source>
        <translation>Start with the system</translation>
    </message>
    <message>
        <source>请输入正确时间!</source>
        <translation>Please enter a valid time!</translation>
    </message>
    <message>
        <source>请输入正确天数!</source>
        <translation>Please enter a valid number of days!</translation>
    </message>
    <message>
        <source>备份文件不能与数据文件路径一样,请重新选择.</source>
        <translation>The backup file cannot have the same path as the data file. Please choose again.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>设置没有保存.</source>
        <translation>The settings have not been saved.</translation>
    </message>
    <message>
        <source>无法写入随系统启动设置,其它设置已保存.</source>
        <translation>The &quot;Start with the system&quot; setting could not be written. The other settings have been saved.</translation>
    </message>
</context>
<context>
    <name>FrmTool</name>
    <message>
        <source>工具</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>数据维护</source>
        <translation>Data Maintenance</translation>
    </message>
    <message>
        <source>备份数据(&amp;B)</source>
        <translation>&amp;Back Up Data</translation>
    </message>
    <message>
        <source>恢复数据(&amp;R)</source>
        <translation>&amp;Restore Data</translation>
    </message>
    <message>
        <source>压缩数据(&amp;C)</source>
        <translation>Co&amp;mpact Data</translation>
    </message>
    <message>
        <source>用户维护</source>
        <translation>User Maintenance</translation>
    </message>
    <message>
        <source>修改用户名(&amp;U)</source>
        <translation>Change &amp;User Name</translation>
    </message>
    <message>
        <source>修改密码(&amp;P)</source>
        <translation>Change &amp;Password</translation>
    </message>
    <message>
        <source>注销用户(&amp;D)</source>
        <translation>&amp;Delete User</translation>
    </message>
    <message>
        <source>清空剪贴板(&amp;E)</source>
        <translation>Cl&amp;ear Clipboard</translation>
    </message>
    <message>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>保存备份文件</source>
        <translation>Save Backup File</translation>
    </message>
    <message>
        <source>数据备份成功!</source>
        <translation>Backup successful!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>数据备份失败!</source>
        <translation>Backup failed!</translation>
    </message>
    <message>
        <source>请选择备份文件</source>
        <translation>Select a Backup File</translation>
    </message>
    <message>
        <source>数据库压缩失败,数据文件没有改动.</source>
        <translation>Compacting the database failed. The data file has not been changed.</translation>
    </message>
    <message>
        <source>数据库压缩完毕!</source>
        <translation>Database compacted!</translation>
    </message>
    <message>
        <source>剪贴板已清空!</source>
        <translation>Clipboard cleared!</translation>
    </message>
</context>
<context>
    <name>FrmTrayMenu</name>
    <message>
        <source>系统托盘菜单</source>
        <translation>System Tray Menu</translation>
    </message>
    <message>
        <source>托盘</source>
        <translation>Tray</translation>
    </message>
    <message>
        <source>显示主界面(&amp;S)</source>
        <translation>&amp;Show Main Window</translation>
    </message>
    <message>
        <source>锁定密码管理器(&amp;L)</source>
        <translation>&amp;Lock Password Manager</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>Se&amp;ttings</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>A&amp;bout</translation>
    </message>
    <message>
        <source>退出(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>右键菜单</source>
        <translation>Context Menu</translation>
    </message>
    <message>
        <source>打开网页(&amp;O)</source>
        <translation>&amp;Open Web Page</translation>
    </message>
    <message>
        <source>复制+快捷键(&amp;C)</source>
        <translation>&amp;Copy + Shortcut Keys</translation>
    </message>
    <message>
        <source>复制用户名(&amp;U)</source>
        <translation>Copy &amp;User ID</translation>
    </message>
    <message>
        <source>复制密码(&amp;P)</source>
        <translation>Copy &amp;Password</translation>
    </message>
    <message>
        <source>复制网址(&amp;W)</source>
        <translation>Copy &amp;Web Address</translation>
    </message>
    <message>
        <source>查看资料(&amp;L)</source>
        <translation>&amp;View Record</translation>
    </message>
    <message>
        <source>添加资料(&amp;A)</source>
        <translation>&amp;Add Record</translation>
    </message>
    <message>
        <source>修改资料(&amp;E)</source>
        <translation>&amp;Edit Record</translation>
    </message>
    <message>
        <source>删除资料(&amp;D)</source>
        <translation>&amp;Delete Record</translation>
    </message>
</context>
<context>
    <name>FrmUser</name>
    <message>
        <source>修改用户名</source>
        <translation>Change User Name</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>Change Password</translation>
    </message>
    <message>
        <source>注销用户</source>
        <translation>Delete User</translation>
    </message>
    <message>
        <source>确定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>当前用户名:</source>
        <translation>Current user name:</translation>
    </message>
    <message>
        <source>新用户名:</source>
        <translation>New user name:</translation>
    </message>
    <message>
        <source>原始密码:</source>
        <translation>Old password:</translation>
    </message>
    <message>
        <source>新密码:</source>
        <translation>New password:</translation>
    </message>
    <message>
        <source>确认密码:</source>
        <translation>Confirm password:</translation>
    </message>
    <message>
        <source>密码强度:</source>
        <translation>Password strength:</translation>
    </message>
    <message>
        <source>提示:请牢记密码.如果密码丢失将不能进入系统.</source>
        <translation>Note: Remember your password. If you lose it, you cannot log in to the system.</translation>
    </message>
    <message>
        <source>用户密码:</source>
        <translation>User password:</translation>
    </message>
    <message>
        <source>注销用户将会清除该用户所有资料!!!</source>
        <translation>Deleting the user will erase all of this user&apos;s data!!!</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>操作失败,数据没有改动.</source>
        <translation>The operation failed. The data has not been changed.</translation>
    </message>
    <message>
        <source>请输入新用户名!</source>
        <translation>Please enter a new user name!</translation>
    </message>
    <message>
        <source>用户名已存在,请重新输入!</source>
        <translation>This user name already exists, please enter another one!</translation>
    </message>
    <message>
        <source>用户名已经修改,下次登陆时请使用新的用户名!</source>
        <translation>The user name has been changed. Please use the new user name the next time you log in!</translation>
    </message>
    <message>
        <source>原始密码长度不能小于6位.</source>
        <translation>The old password must be at least 6 characters long.</translation>
    </message>
    <message>
        <source>原始密码错误,请重新输入!</source>
        <translation>Wrong old password, please try again!</translation>
    </message>
    <message>
        <source>两次输入的密码不一致,请重新输入!</source>
        <translation>The two passwords do not match, please enter them again!</translation>
    </message>
    <message>
        <source>新密码长度不能小于6位.</source>
        <translation>The new password must be at least 6 characters long.</translation>
    </message>
    <message>
        <source>密码修改成功,请牢记密码!</source>
        <translation>Password changed successfully. Please remember your password!</translation>
    </message>
    <message>
        <source>用户密码长度不能小于6位.</source>
        <translation>The user password must be at least 6 characters long.</translation>
    </message>
    <message>
        <source>用户密码错误,请重新输入!</source>
        <translation>Wrong user password, please try again!</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>用户注销后所有资料都会删除,是否继续?</source>
        <translation>Deleting the user will delete all of the user&apos;s data. Continue?</translation>
    </message>
    <message>
        <source>用户已注销,请重新登录!</source>
        <translation>The user has been deleted, please log in again!</translation>
    </message>
</context>
<context>
    <name>MessageService</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>RecordModel</name>
    <message>
        <source>(无法解密)</source>
        <translation>(cannot decrypt)</translation>
    </message>
    <message>
        <source>帐号分类</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>帐号名称</source>
        <translation>Account Name</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>User ID</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>网址</source>
        <translation>Web Address</translation>
    </message>
</context>
<context>
    <name>StrengthMeter</name>
    <message>
        <source>弱</source>
        <translation>Weak</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>强</source>
        <translation>Strong</translation>
    </message>
</context>
<context>
    <name>artwork</name>
    <message>
        <source>Ombrivo 密码管理</source>
        <translation>Ombrivo Vault</translation>
    </message>
</context>
<context>
    <name>commandline</name>
    <message>
        <source>Ombrivo 密码管理器: 保管各种帐号和密码, 每个用户只看到自己的数据.</source>
        <translation>Ombrivo Password Manager: keeps all kinds of accounts and passwords; each user sees only their own data.</translation>
    </message>
    <message>
        <source>显示这段说明后退出.</source>
        <translation>Show this help and exit.</translation>
    </message>
    <message>
        <source>显示版本号后退出.</source>
        <translation>Show the version number and exit.</translation>
    </message>
    <message>
        <source>Ombrivo 只接受 --help 和 --version, 不接受参数: %1</source>
        <translation>Ombrivo accepts only --help and --version, no other arguments: %1</translation>
    </message>
    <message>
        <source>用法: ombrivo [--help] [--version]</source>
        <translation>Usage: ombrivo [--help] [--version]</translation>
    </message>
    <message>
        <source>数据文件夹: 环境变量 OMBRIVO_HOME 指定的文件夹, 否则安装后是 ~/.local/share/Ombrivo, 便携使用时是程序所在的文件夹.</source>
        <translation>Data folder: the folder given by the environment variable OMBRIVO_HOME; otherwise ~/.local/share/Ombrivo when installed, or the program&apos;s own folder when used portably.</translation>
    </message>
</context>
</TS>
