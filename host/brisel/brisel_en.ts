<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Brisel</name>
    <message>
        <source>图像&quot;%s&quot;加载成功,耗时:%0.3f.纹理大小(%d,%d)</source>
        <translation>Image &quot;%s&quot; loaded, time: %0.3f. Texture size (%d,%d)</translation>
    </message>
    <message>
        <source>图像&quot;%s&quot;加载失败,耗时:%0.3f</source>
        <translation>Image &quot;%s&quot; failed to load, time: %0.3f</translation>
    </message>
    <message>
        <source>Brisel:用数学生成图像的查看器</source>
        <translation>Brisel: a viewer of pictures made from mathematics</translation>
    </message>
    <message>
        <source>启动后打开的图像文件或数学脚本</source>
        <translation>A picture file or math script to open after start-up</translation>
    </message>
</context>
<context>
    <name>brisel::CBriselView</name>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>没有创建CLuneth导致引擎无法启动!</source>
        <translation>The engine could not start: no CLuneth was created!</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>数学脚本文件(.txt) (*.txt);;dds文件(.dds) (*.dds);;bmp文件(.bmp) (*.bmp);;jpg文件(.jpg) (*.jpg);;png文件(.png) (*.png);;tga文件(.tga) (*.tga);;ppm文件(.ppm) (*.ppm);;所有文件 (*)</source>
        <translation>Math script files (*.txt);;DDS files (*.dds);;BMP files (*.bmp);;JPG files (*.jpg);;PNG files (*.png);;TGA files (*.tga);;PPM files (*.ppm);;All files (*)</translation>
    </message>
    <message>
        <source>清空脚本!</source>
        <translation>Script cleared!</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>png文件(.png) (*.png);;jpg文件(.jpg) (*.jpg);;dds文件(.dds) (*.dds);;bmp文件(.bmp) (*.bmp);;tga文件(.tga) (*.tga);;ppm文件(.ppm) (*.ppm);;其他文件 (*)</source>
        <translation>PNG files (*.png);;JPG files (*.jpg);;DDS files (*.dds);;BMP files (*.bmp);;TGA files (*.tga);;PPM files (*.ppm);;Other files (*)</translation>
    </message>
    <message>
        <source>图像保存失败:&quot;%1&quot;</source>
        <translation>Could not save the image to &quot;%1&quot;</translation>
    </message>
    <message>
        <source>无法创建文件夹&quot;%1&quot;</source>
        <translation>Could not create the folder &quot;%1&quot;</translation>
    </message>
    <message>
        <source>已导出%1张图像到&quot;%2&quot;,%3张保存失败</source>
        <translation>Exported %1 pictures to &quot;%2&quot;; %3 could not be saved</translation>
    </message>
    <message>
        <source>已导出%1张图像到&quot;%2&quot;</source>
        <translation>Exported %1 pictures to &quot;%2&quot;</translation>
    </message>
    <message>
        <source>无法创建场景%1</source>
        <translation>Cannot create the scene %1</translation>
    </message>
    <message>
        <source>场景%1:当前图像没有可显示的曲面</source>
        <translation>Scene %1: the current image has no surface to show</translation>
    </message>
    <message>
        <source>正在计算,请稍候或按Esc取消</source>
        <translation>Computing; please wait or press Esc to cancel</translation>
    </message>
    <message>
        <source>计算已取消</source>
        <translation>Computation cancelled</translation>
    </message>
    <message>
        <source>正在计算,按Esc取消...</source>
        <translation>Computing, Esc cancels...</translation>
    </message>
</context>
<context>
    <name>brisel::CMainFrame</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>加载文件(CTRL+F)</source>
        <translation>Load File (Ctrl+F)</translation>
    </message>
    <message>
        <source>卸载文件(CTRL+DEL)</source>
        <translation>Unload File (Ctrl+Del)</translation>
    </message>
    <message>
        <source>图像另存为...(CTRL+S)</source>
        <translation>Save Image As... (Ctrl+S)</translation>
    </message>
    <message>
        <source>最近的文件</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>脚本编辑面板(F5)</source>
        <translation>Script Edit Panel (F5)</translation>
    </message>
    <message>
        <source>图形用户界面(U)</source>
        <translation>Graphical User Interface (U)</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>关于 Brisel(&amp;A)...</source>
        <translation>&amp;About Brisel...</translation>
    </message>
    <message>
        <source>导出全部图像</source>
        <translation>Export All Pictures</translation>
    </message>
    <message>
        <source>全屏</source>
        <translation>Full Screen</translation>
    </message>
    <message>
        <source>退出全屏</source>
        <translation>Leave Full Screen</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>关于 Brisel</source>
        <translation>About Brisel</translation>
    </message>
    <message>
        <source>Brisel 1.0 版</source>
        <translation>Brisel version 1.0</translation>
    </message>
    <message>
        <source>用数学生成图像:像素方程与数学脚本</source>
        <translation>Pictures from mathematics: pixel equations and math scripts</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>三维场景</source>
        <translation>3-D Scenes</translation>
    </message>
    <message>
        <source>无(图像视图)</source>
        <translation>None (image view)</translation>
    </message>
</context>
<context>
    <name>brisel::CScriptPanel</name>
    <message>
        <source>数学脚本编辑面板</source>
        <translation>Math Script Edit Panel</translation>
    </message>
    <message>
        <source>脚本</source>
        <translation>Script</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>解析</source>
        <translation>Parse</translation>
    </message>
    <message>
        <source>像素数目:</source>
        <translation>Pixel count:</translation>
    </message>
    <message>
        <source>图像宽:</source>
        <translation>Image width:</translation>
    </message>
    <message>
        <source>图像高:</source>
        <translation>Image height:</translation>
    </message>
    <message>
        <source>解析时间:</source>
        <translation>Parse time:</translation>
    </message>
    <message>
        <source>未能创建Luneth实体!</source>
        <translation>Could not create the Luneth object!</translation>
    </message>
    <message>
        <source>数学脚本解析失败!</source>
        <translation>Parsing the math script failed!</translation>
    </message>
    <message>
        <source>数学脚本解析耗时:%0.3f毫秒.纹理大小(%d,%d)</source>
        <translation>Math script parsed in %0.3f ms. Texture size (%d,%d)</translation>
    </message>
    <message>
        <source>数学脚本文件(.txt) (*.txt);;所有文件 (*)</source>
        <translation>Math script files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>保存文件失败!</source>
        <translation>Saving the file failed!</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>数学脚本文件 (*.txt)</source>
        <translation>Math script files (*.txt)</translation>
    </message>
    <message>
        <source>清空脚本!</source>
        <translation>Script cleared!</translation>
    </message>
    <message>
        <source>正在计算,请稍候或按Esc取消</source>
        <translation>Computing; please wait or press Esc to cancel</translation>
    </message>
</context>
</TS>
