<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_HK" sourcelanguage="zh_CN">
<context>
    <name>AdjustTimeDialog</name>
    <message>
        <source>调整字幕时间</source>
        <translation>調整字幕時間</translation>
    </message>
    <message>
        <source>行号：</source>
        <translation>行號：</translation>
    </message>
    <message>
        <source>调整字幕时间：</source>
        <translation>調整字幕時間：</translation>
    </message>
    <message>
        <source>1. 上行时间&lt;当前时间&lt;下行时间</source>
        <translation>1. 上行時間&lt;目前時間&lt;下行時間</translation>
    </message>
    <message>
        <source>2. 严格的格式要求 mm:ss.xx</source>
        <translation>2. 嚴格的格式要求 mm:ss.xx</translation>
    </message>
    <message>
        <source>mm：分</source>
        <translation>mm：分</translation>
    </message>
    <message>
        <source>ss：秒(00~59)</source>
        <translation>ss：秒(00~59)</translation>
    </message>
    <message>
        <source>xx：百分之一秒(00-99)</source>
        <translation>xx：百分之一秒(00-99)</translation>
    </message>
    <message>
        <source>对：02:02.02</source>
        <translation>對：02:02.02</translation>
    </message>
    <message>
        <source>错：2:2.2</source>
        <translation>錯：2:2.2</translation>
    </message>
</context>
<context>
    <name>AnnotateCommand</name>
    <message>
        <source>无法读取字幕文件 %1：%2</source>
        <translation>無法讀取字幕檔案 %1：%2</translation>
    </message>
    <message>
        <source>字幕文件 %1 无法识别</source>
        <translation>字幕檔案 %1 無法識別</translation>
    </message>
    <message>
        <source>标注粤拼需要安装 %1</source>
        <translation>標註粵拼需要安裝 %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>、</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>無法寫入 %1：%2</translation>
    </message>
</context>
<context>
    <name>ControlPanel</name>
    <message>
        <source>断句方式：</source>
        <translation>斷句方式：</translation>
    </message>
    <message>
        <source>一句话可能包含中英文两行字幕</source>
        <translation>一句話可能包含中英文兩行字幕</translation>
    </message>
    <message>
        <source>音量：</source>
        <translation>音量：</translation>
    </message>
    <message>
        <source>静音</source>
        <translation>靜音</translation>
    </message>
    <message>
        <source>每句读几遍：</source>
        <translation>每句讀幾遍：</translation>
    </message>
    <message>
        <source>修改…</source>
        <translation>修改…</translation>
    </message>
    <message>
        <source>文件循环播放</source>
        <translation>整課循環播放</translation>
    </message>
    <message>
        <source>语速：</source>
        <translation>語速：</translation>
    </message>
    <message>
        <source>跟读停顿：</source>
        <translation>跟讀停頓：</translation>
    </message>
    <message>
        <source>每遍之后留时间跟读</source>
        <translation>每遍之後留時間跟讀</translation>
    </message>
    <message>
        <source>调整字幕偏移：</source>
        <translation>調整字幕偏移：</translation>
    </message>
</context>
<context>
    <name>ControlValues</name>
    <message>
        <source>%1 秒</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>%1 倍句长</source>
        <translation>%1 倍句長</translation>
    </message>
    <message>
        <source>不停顿</source>
        <translation>不停頓</translation>
    </message>
</context>
<context>
    <name>DeviceDialog</name>
    <message>
        <source>选择录音设备</source>
        <translation>選擇錄音裝置</translation>
    </message>
    <message>
        <source>选择录音设备：</source>
        <translation>選擇錄音裝置：</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>DevicePropertiesDialog</name>
    <message>
        <source>关闭</source>
        <translation>關閉</translation>
    </message>
    <message>
        <source>项目</source>
        <translation>項目</translation>
    </message>
    <message>
        <source>值</source>
        <translation>值</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>名稱</translation>
    </message>
    <message>
        <source>类别</source>
        <translation>類別</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>格式</translation>
    </message>
</context>
<context>
    <name>DialogButtons</name>
    <message>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>EditTextDialog</name>
    <message>
        <source>编辑字幕</source>
        <translation>編輯字幕</translation>
    </message>
    <message>
        <source>行号：</source>
        <translation>行號：</translation>
    </message>
    <message>
        <source>编辑字幕：</source>
        <translation>編輯字幕：</translation>
    </message>
</context>
<context>
    <name>Elements</name>
    <message>
        <source>无法连接音频组件“%1”和“%2”。</source>
        <translation>無法連接音訊元件「%1」和「%2」。</translation>
    </message>
    <message>
        <source>缺少 GStreamer 组件“%1”。</source>
        <translation>缺少 GStreamer 元件「%1」。</translation>
    </message>
</context>
<context>
    <name>ListPanel</name>
    <message>
        <source>字幕</source>
        <translation>字幕</translation>
    </message>
    <message>
        <source>复制字幕 	 Ctrl+C</source>
        <translation>複製字幕 	 Ctrl+C</translation>
    </message>
    <message>
        <source>跳到此行 	 Dbclick</source>
        <translation>跳到此行 	 按兩下</translation>
    </message>
    <message>
        <source>编辑字幕…</source>
        <translation>編輯字幕…</translation>
    </message>
    <message>
        <source>调整字幕时间…</source>
        <translation>調整字幕時間…</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>操作(&amp;O)</source>
        <translation>操作(&amp;O)</translation>
    </message>
    <message>
        <source>打开mp3文件… 	 支持拖放操作</source>
        <translation>開啓 mp3 檔案… 	 支援拖放</translation>
    </message>
    <message>
        <source>试听</source>
        <translation>試聽</translation>
    </message>
    <message>
        <source>日常廣東話（eg.mp3）</source>
        <translation>日常廣東話（eg.mp3）</translation>
    </message>
    <message>
        <source>停止 	 F4</source>
        <translation>停止 	 F4</translation>
    </message>
    <message>
        <source>播放速度</source>
        <translation>播放速度</translation>
    </message>
    <message>
        <source>减速 0.05 	 [</source>
        <translation>減速 0.05 	 [</translation>
    </message>
    <message>
        <source>加速 0.05 	 ]</source>
        <translation>加速 0.05 	 ]</translation>
    </message>
    <message>
        <source>正常速度 	 \</source>
        <translation>正常速度 	 \</translation>
    </message>
    <message>
        <source>上一句 	 ←</source>
        <translation>上一句 	 ←</translation>
    </message>
    <message>
        <source>下一句 	 →</source>
        <translation>下一句 	 →</translation>
    </message>
    <message>
        <source>复读当前句 	 ↑</source>
        <translation>重複本句 	 ↑</translation>
    </message>
    <message>
        <source>向上5句 	 Page Up</source>
        <translation>向上5句 	 Page Up</translation>
    </message>
    <message>
        <source>向下5句 	 Page Down</source>
        <translation>向下5句 	 Page Down</translation>
    </message>
    <message>
        <source>跳到首句 	 Home</source>
        <translation>跳到首句 	 Home</translation>
    </message>
    <message>
        <source>跳到尾句 	 End</source>
        <translation>跳到尾句 	 End</translation>
    </message>
    <message>
        <source>跟读对比… 	 Tab</source>
        <translation>跟讀對比… 	 Tab</translation>
    </message>
    <message>
        <source>按句切割…</source>
        <translation>按句切割…</translation>
    </message>
    <message>
        <source>查看字幕文件 	 （同目录下的同名lrc文件）</source>
        <translation>查看字幕檔案 	 （同一資料夾內的同名 lrc 檔案）</translation>
    </message>
    <message>
        <source>导出粤拼字幕…</source>
        <translation>匯出粵拼字幕…</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>字體</translation>
    </message>
    <message>
        <source>小号</source>
        <translation>小號</translation>
    </message>
    <message>
        <source>中号</source>
        <translation>中號</translation>
    </message>
    <message>
        <source>大号</source>
        <translation>大號</translation>
    </message>
    <message>
        <source>声道</source>
        <translation>聲道</translation>
    </message>
    <message>
        <source>立体声</source>
        <translation>立體聲</translation>
    </message>
    <message>
        <source>左声道</source>
        <translation>左聲道</translation>
    </message>
    <message>
        <source>右声道</source>
        <translation>右聲道</translation>
    </message>
    <message>
        <source>显示粤拼 	 J</source>
        <translation>顯示粵拼 	 J</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>離開</translation>
    </message>
    <message>
        <source>资料下载(&amp;R)</source>
        <translation>資料下載(&amp;R)</translation>
    </message>
    <message>
        <source>粤语学习资料下载（此软件专用学习资料，定期更新）…</source>
        <translation>粵語學習資料下載（此軟件專用學習資料，定期更新）…</translation>
    </message>
    <message>
        <source>辅助工具(&amp;T)</source>
        <translation>輔助工具(&amp;T)</translation>
    </message>
    <message>
        <source>粤语学习网站…</source>
        <translation>粵語學習網站…</translation>
    </message>
    <message>
        <source>粤语在线发音词典…</source>
        <translation>粵語網上發音詞典…</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>説明(&amp;H)</translation>
    </message>
    <message>
        <source>软件使用教程</source>
        <translation>軟件使用教學</translation>
    </message>
    <message>
        <source>访问官网</source>
        <translation>瀏覽官網</translation>
    </message>
    <message>
        <source>关于本软件</source>
        <translation>關於本軟件</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>語言</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>跟隨系統</translation>
    </message>
</context>
<context>
    <name>MakeSubtitlesCommand</name>
    <message>
        <source>--min-pause 需要 %1 到 %2 之间的毫秒数</source>
        <translation>--min-pause 需要 %1 至 %2 之間的毫秒數</translation>
    </message>
    <message>
        <source>无法识别的参数：%1</source>
        <translation>無法識別的參數：%1</translation>
    </message>
    <message>
        <source>缺少 MP3 文件</source>
        <translation>缺少 MP3 檔案</translation>
    </message>
    <message>
        <source>字幕文件已经存在，未作改动：%1</source>
        <translation>字幕檔案已經存在，未作改動：%1</translation>
    </message>
    <message>
        <source>没有找到句子：%1 中听不到说话声</source>
        <translation>找不到句子：%1 中聽不到說話聲</translation>
    </message>
    <message>
        <source>已写入 %1：%2 句</source>
        <translation>已寫入 %1：%2 句</translation>
    </message>
    <message>
        <source>正在分析停顿：%1%</source>
        <translation>正在分析停頓：%1%</translation>
    </message>
</context>
<context>
    <name>MediaPlayer</name>
    <message>
        <source>无法打开音频文件。</source>
        <translation>無法開啓音訊檔案。</translation>
    </message>
    <message>
        <source>打开音频文件超时。</source>
        <translation>開啓音訊檔案逾時。</translation>
    </message>
    <message>
        <source>文件不是 MP3 音频。</source>
        <translation>檔案不是 MP3 音訊。</translation>
    </message>
    <message>
        <source>无法确定音频的长度。</source>
        <translation>無法確定音訊的長度。</translation>
    </message>
    <message>
        <source>没有打开的音频。</source>
        <translation>沒有開啓的音訊。</translation>
    </message>
    <message>
        <source>音频状态切换失败。</source>
        <translation>音訊狀態切換失敗。</translation>
    </message>
</context>
<context>
    <name>MediaResult</name>
    <message>
        <source>文件不是可以播放的 MP3 音频。</source>
        <translation>檔案不是可以播放的 MP3 音訊。</translation>
    </message>
    <message>
        <source>音频数据有误，文件可能已损坏。</source>
        <translation>音訊資料有誤，檔案可能已損壞。</translation>
    </message>
    <message>
        <source>音频数据无法处理。</source>
        <translation>音訊資料無法處理。</translation>
    </message>
    <message>
        <source>找不到文件或设备。</source>
        <translation>找不到檔案或裝置。</translation>
    </message>
    <message>
        <source>无法读取文件或设备。</source>
        <translation>無法讀取檔案或裝置。</translation>
    </message>
    <message>
        <source>无法写入文件。</source>
        <translation>無法寫入檔案。</translation>
    </message>
    <message>
        <source>音频设备正被占用。</source>
        <translation>音訊裝置正被佔用。</translation>
    </message>
    <message>
        <source>没有访问文件或设备的权限。</source>
        <translation>沒有存取檔案或裝置的權限。</translation>
    </message>
    <message>
        <source>无法使用文件或音频设备。</source>
        <translation>無法使用檔案或音訊裝置。</translation>
    </message>
    <message>
        <source>缺少所需的 GStreamer 组件。</source>
        <translation>缺少所需的 GStreamer 元件。</translation>
    </message>
    <message>
        <source>音频处理出错。</source>
        <translation>音訊處理出錯。</translation>
    </message>
    <message>
        <source>找不到音频输出设备：没有可连接的声音服务器或声卡。</source>
        <translation>找不到音訊輸出裝置：沒有可連接的聲音伺服器或音效卡。</translation>
    </message>
</context>
<context>
    <name>OffsetDialog</name>
    <message>
        <source>微调字幕偏移</source>
        <translation>微調字幕偏移</translation>
    </message>
    <message>
        <source>调整字幕偏移：</source>
        <translation>調整字幕偏移：</translation>
    </message>
    <message>
        <source>（毫秒）</source>
        <translation>（毫秒）</translation>
    </message>
    <message>
        <source>正：字幕提前</source>
        <translation>正：字幕提前</translation>
    </message>
    <message>
        <source>负：字幕延后</source>
        <translation>負：字幕延後</translation>
    </message>
</context>
<context>
    <name>PauseAnalysis</name>
    <message>
        <source>无法读取音频：%1</source>
        <translation>無法讀取音訊：%1</translation>
    </message>
    <message>
        <source>打开音频文件超时。</source>
        <translation>開啓音訊檔案逾時。</translation>
    </message>
    <message>
        <source>找不到文件“%1”。</source>
        <translation>找不到檔案「%1」。</translation>
    </message>
    <message>
        <source>无法读取文件“%1”。</source>
        <translation>無法讀取檔案「%1」。</translation>
    </message>
    <message>
        <source>缺少 GStreamer 组件：%1</source>
        <translation>缺少 GStreamer 元件：%1</translation>
    </message>
    <message>
        <source>解码音频超时。</source>
        <translation>解碼音訊逾時。</translation>
    </message>
    <message>
        <source>文件“%1”中没有声音。</source>
        <translation>檔案「%1」中沒有聲音。</translation>
    </message>
    <message>
        <source>字幕文件“%1”已经存在。</source>
        <translation>字幕檔案「%1」已經存在。</translation>
    </message>
    <message>
        <source>无法写入“%1”：%2</source>
        <translation>無法寫入「%1」：%2</translation>
    </message>
</context>
<context>
    <name>PauseOptionsDialog</name>
    <message>
        <source>按停顿分句</source>
        <translation>按停頓分句</translation>
    </message>
    <message>
        <source> 毫秒</source>
        <translation> 毫秒</translation>
    </message>
    <message>
        <source> 分贝</source>
        <translation> 分貝</translation>
    </message>
    <message>
        <source>最短停顿（分句）：</source>
        <translation>最短停頓（分句）：</translation>
    </message>
    <message>
        <source>低于语音多少算静音：</source>
        <translation>低於語音多少算靜音：</translation>
    </message>
    <message>
        <source>找到的句子：</source>
        <translation>找到的句子：</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>设置停顿多长就分成新的一句：</source>
        <translation>設定停頓多長就分成新的一句：</translation>
    </message>
    <message>
        <source>%1 句</source>
        <translation>%1 句</translation>
    </message>
</context>
<context>
    <name>PauseProgressDialog</name>
    <message>
        <source>按停顿分句</source>
        <translation>按停頓分句</translation>
    </message>
    <message>
        <source>正在分析mp3文件中的停顿…</source>
        <translation>正在分析mp3檔案中的停頓…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>PcmDecoder</name>
    <message>
        <source>无法解码音频：%1</source>
        <translation>無法解碼音訊：%1</translation>
    </message>
    <message>
        <source>打开音频文件超时。</source>
        <translation>開啓音訊檔案逾時。</translation>
    </message>
    <message>
        <source>找不到文件“%1”。</source>
        <translation>找不到檔案「%1」。</translation>
    </message>
    <message>
        <source>要解码的时间段无效。</source>
        <translation>要解碼的時間段無效。</translation>
    </message>
    <message>
        <source>缺少 GStreamer 组件：%1</source>
        <translation>缺少 GStreamer 元件：%1</translation>
    </message>
    <message>
        <source>无法定位到要解码的时间段。</source>
        <translation>無法定位到要解碼的時間段。</translation>
    </message>
    <message>
        <source>解码音频超时。</source>
        <translation>解碼音訊逾時。</translation>
    </message>
</context>
<context>
    <name>PitchPlot</name>
    <message>
        <source>原声</source>
        <translation>原聲</translation>
    </message>
    <message>
        <source>录音</source>
        <translation>錄音</translation>
    </message>
    <message>
        <source>相似度 %1</source>
        <translation>相似度 %1</translation>
    </message>
    <message>
        <source>无法写入 PNG 图片</source>
        <translation>無法寫入 PNG 圖片</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>按句切割中…</source>
        <translation>按句切割中…</translation>
    </message>
    <message>
        <source>终止</source>
        <translation>終止</translation>
    </message>
</context>
<context>
    <name>ReadAlongMedia</name>
    <message>
        <source>导出图片</source>
        <translation>匯出圖片</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>ReadAlongPanels</name>
    <message>
        <source>录音设备</source>
        <translation>錄音裝置</translation>
    </message>
    <message>
        <source>录音存放</source>
        <translation>錄音存放</translation>
    </message>
    <message>
        <source>录音设备属性…</source>
        <translation>錄音裝置屬性…</translation>
    </message>
</context>
<context>
    <name>ReadAlongWindow</name>
    <message>
        <source>上一句 	 ←</source>
        <translation>上一句 	 ←</translation>
    </message>
    <message>
        <source>下一句 	 →</source>
        <translation>下一句 	 →</translation>
    </message>
    <message>
        <source>播放原声 	 ↑</source>
        <translation>播放原聲 	 ↑</translation>
    </message>
    <message>
        <source>播放录音 	 Tab</source>
        <translation>播放錄音 	 Tab</translation>
    </message>
    <message>
        <source>原音+录音 	 Enter</source>
        <translation>原音+錄音 	 Enter</translation>
    </message>
    <message>
        <source>开始录音 	 ↓</source>
        <translation>開始錄音 	 ↓</translation>
    </message>
    <message>
        <source>音调对比 	 P</source>
        <translation>音調對比 	 P</translation>
    </message>
    <message>
        <source>退出 	 Esc</source>
        <translation>離開 	 Esc</translation>
    </message>
    <message>
        <source>运行异常：<byte value="xd"/>
%s</source>
        <translation>執行異常：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>录音文件可能不完整</source>
        <translation>錄音檔案可能不完整</translation>
    </message>
    <message>
        <source>录音失败：<byte value="xd"/>
%s</source>
        <translation>錄音失敗：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>找不到录音设备</source>
        <translation>找不到錄音裝置</translation>
    </message>
    <message>
        <source>导出图片…</source>
        <translation>匯出圖片…</translation>
    </message>
    <message>
        <source>播放原声失败：<byte value="xd"/>
%s</source>
        <translation>播放原聲失敗：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>播放录音失败：<byte value="xd"/>
%s</source>
        <translation>播放錄音失敗：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>请指定录音存放位置</source>
        <translation>請指定錄音存放位置</translation>
    </message>
    <message>
        <source>请不要自我覆盖</source>
        <translation>錄音不可覆蓋課程本身</translation>
    </message>
    <message>
        <source>正在分析…</source>
        <translation>正在分析…</translation>
    </message>
    <message>
        <source>读取原声失败：%1</source>
        <translation>讀取原聲失敗：%1</translation>
    </message>
    <message>
        <source>读取录音失败：%1</source>
        <translation>讀取錄音失敗：%1</translation>
    </message>
    <message>
        <source>录音里没有听到说话</source>
        <translation>錄音裏沒有聽到説話</translation>
    </message>
    <message>
        <source>录音太短或与原声对不上，不评分</source>
        <translation>錄音太短或與原聲對不上，不評分</translation>
    </message>
    <message>
        <source>这一句听不出音高</source>
        <translation>這一句聽不出音高</translation>
    </message>
    <message>
        <source>导出图片失败：<byte value="xd"/>
%s</source>
        <translation>匯出圖片失敗：<byte value="xd"/>
%s</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>录音组件没有建立。</source>
        <translation>錄音元件沒有建立。</translation>
    </message>
    <message>
        <source>找不到录音设备。</source>
        <translation>找不到錄音裝置。</translation>
    </message>
    <message>
        <source>无法打开录音设备“%1”。</source>
        <translation>無法開啓錄音裝置「%1」。</translation>
    </message>
    <message>
        <source>录音设备已被其他音频组件使用。</source>
        <translation>錄音裝置已被其他音訊元件使用。</translation>
    </message>
    <message>
        <source>正在录音，不能更换录音文件。</source>
        <translation>正在錄音，不能更換錄音檔案。</translation>
    </message>
    <message>
        <source>开始录音超时。</source>
        <translation>開始錄音逾時。</translation>
    </message>
    <message>
        <source>无法开始录音。</source>
        <translation>無法開始錄音。</translation>
    </message>
    <message>
        <source>停止录音超时，录音文件可能不完整。</source>
        <translation>停止錄音逾時，錄音檔案可能不完整。</translation>
    </message>
</context>
<context>
    <name>RepairDialog</name>
    <message>
        <source>正在修复mp3文件…</source>
        <translation>正在修復 mp3 檔案…</translation>
    </message>
</context>
<context>
    <name>RepeatCountDialog</name>
    <message>
        <source>每句读几遍</source>
        <translation>每句讀幾遍</translation>
    </message>
    <message>
        <source>每句读几遍：</source>
        <translation>每句讀幾遍：</translation>
    </message>
    <message>
        <source>（0~9）</source>
        <translation>（0~9）</translation>
    </message>
    <message>
        <source>“0”表示无数遍</source>
        <translation>「0」表示無限遍</translation>
    </message>
</context>
<context>
    <name>RepeaterApp</name>
    <message>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>是(&amp;Y)</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>否(&amp;N)</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>粤拼字幕 (*.lrc)</source>
        <translation>粵拼字幕 (*.lrc)</translation>
    </message>
    <message>
        <source>显示粤拼需要安装 %1</source>
        <translation>顯示粵拼需要安裝 %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>、</translation>
    </message>
    <message>
        <source>无法保存粤拼字幕文件 %1：%2</source>
        <translation>無法儲存粵拼字幕檔案 %1：%2</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>恢復預設</translation>
    </message>
    <message>
        <source>界面语言已更改，重新启动本软件后生效。</source>
        <translation>介面語言已更改，重新啓動本軟件後生效。</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>關於</translation>
    </message>
    <message>
        <source>简介：粤语逐句复读、显示同步字幕</source>
        <translation>簡介：粵語逐句重複播放、顯示同步字幕</translation>
    </message>
    <message>
        <source>MP3 Files (*.mp3)</source>
        <translation>MP3 檔案 (*.mp3)</translation>
    </message>
</context>
<context>
    <name>SplitContext</name>
    <message>
        <source>确定</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>是</source>
        <translation>是</translation>
    </message>
    <message>
        <source>否</source>
        <translation>否</translation>
    </message>
</context>
<context>
    <name>SplitDialog</name>
    <message>
        <source>按句切割</source>
        <translation>按句切割</translation>
    </message>
    <message>
        <source>…</source>
        <translation>…</translation>
    </message>
    <message>
        <source>按句切割（包括字幕）</source>
        <translation>按句切割（包括字幕）</translation>
    </message>
    <message>
        <source>开始句：</source>
        <translation>開始句：</translation>
    </message>
    <message>
        <source>结束句：</source>
        <translation>結束句：</translation>
    </message>
    <message>
        <source>每几句一切割：</source>
        <translation>每幾句一切割：</translation>
    </message>
    <message>
        <source>命名方法：</source>
        <translation>命名方法：</translation>
    </message>
    <message>
        <source>原文件名_四位序号</source>
        <translation>原檔名_四位序號</translation>
    </message>
    <message>
        <source>命名起始序号：</source>
        <translation>命名起始序號：</translation>
    </message>
    <message>
        <source>存放于：</source>
        <translation>存放於：</translation>
    </message>
    <message>
        <source>（应尽量不要含特殊字符）</source>
        <translation>（應儘量不要含特殊字元）</translation>
    </message>
    <message>
        <source>切割点定位方式</source>
        <translation>切割點定位方式</translation>
    </message>
    <message>
        <source>逐帧计算</source>
        <translation>逐幀計算</translation>
    </message>
    <message>
        <source>位率估计</source>
        <translation>位元率估計</translation>
    </message>
    <message>
        <source>逐帧计算欠佳时，
再尝试位率估计。</source>
        <translation>逐幀計算欠佳時，
再嘗試位元率估計。</translation>
    </message>
    <message>
        <source>切割</source>
        <translation>切割</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>SplitJob</name>
    <message>
        <source>目标文件夹中已有 %1 个同名的片段文件，例如：<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
是否覆盖？</source>
        <translation>目標資料夾中已有 %1 個同名的片段檔案，例如：<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
是否覆蓋？</translation>
    </message>
</context>
<context>
    <name>SplitRunner</name>
    <message>
        <source>无法启动切割程序：<byte value="xd"/>
%1</source>
        <translation>無法啓動切割程式：<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>切割失败：%1 个片段都没有切出。</source>
        <translation>切割失敗：%1 個片段都沒有切出。</translation>
    </message>
    <message>
        <source>切割结束，但 %1 个片段中有 %2 个没有切出（第一个：%3）。</source>
        <translation>切割結束，但 %1 個片段中有 %2 個沒有切出（第一個：%3）。</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>LurvoV1.0</source>
        <translation>LurvoV1.0</translation>
    </message>
    <message>
        <source>打开mp3文件</source>
        <translation>開啓 mp3 檔案</translation>
    </message>
    <message>
        <source>播放（↓）</source>
        <translation>播放（↓）</translation>
    </message>
    <message>
        <source>暂停（↓）</source>
        <translation>暫停（↓）</translation>
    </message>
    <message>
        <source>停止（F4）</source>
        <translation>停止（F4）</translation>
    </message>
    <message>
        <source>上一句（←）</source>
        <translation>上一句（←）</translation>
    </message>
    <message>
        <source>下一句（→）</source>
        <translation>下一句（→）</translation>
    </message>
    <message>
        <source>复读当前句（↑）</source>
        <translation>重複本句（↑）</translation>
    </message>
    <message>
        <source>指针</source>
        <translation>指標</translation>
    </message>
    <message>
        <source>句序</source>
        <translation>句序</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>还未载入mp3文件</source>
        <translation>尚未載入 mp3 檔案</translation>
    </message>
    <message>
        <source>已载入mp3文件</source>
        <translation>已載入 mp3 檔案</translation>
    </message>
    <message>
        <source>播放中…</source>
        <translation>播放中…</translation>
    </message>
    <message>
        <source>暂停播放</source>
        <translation>暫停播放</translation>
    </message>
    <message>
        <source>已停止播放</source>
        <translation>已停止播放</translation>
    </message>
    <message>
        <source>▼▼</source>
        <translation>▼▼</translation>
    </message>
    <message>
        <source>播放 	 ↓</source>
        <translation>播放 	 ↓</translation>
    </message>
    <message>
        <source>暂停 	 ↓</source>
        <translation>暫停 	 ↓</translation>
    </message>
    <message>
        <source>载入失败：<byte value="xd"/>
%s</source>
        <translation>載入失敗：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>读取字幕文件失败：<byte value="xd"/>
%S</source>
        <translation>讀取字幕檔案失敗：<byte value="xd"/>
%S</translation>
    </message>
    <message>
        <source>字幕文件内容有误：<byte value="xd"/>
%s</source>
        <translation>字幕檔案內容有誤：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>缺少同名字幕文件：<byte value="xd"/>
%s<byte value="xd"/>
<byte value="xd"/>
（请到官网下载含字幕的听力资料）</source>
        <translation>缺少同名字幕檔案：<byte value="xd"/>
%s<byte value="xd"/>
<byte value="xd"/>
（請到官網下載含字幕的聆聽資料）</translation>
    </message>
    <message>
        <source>播放失败：<byte value="xd"/>
%s</source>
        <translation>播放失敗：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>播放异常：<byte value="xd"/>
%s</source>
        <translation>播放異常：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>文件有缺失，请重装本软件</source>
        <translation>檔案有缺失，請重裝本軟件</translation>
    </message>
    <message>
        <source>文件有缺失，请重装本软件。</source>
        <translation>檔案有缺失，請重裝本軟件。</translation>
    </message>
    <message>
        <source>系统环境有问题，请修复或重装 GStreamer</source>
        <translation>系統環境有問題，請修復或重裝 GStreamer</translation>
    </message>
    <message>
        <source>字幕时间</source>
        <translation>字幕時間</translation>
    </message>
    <message>
        <source>是否保存对字幕所做的修改？<byte value="xd"/>
%s</source>
        <translation>是否儲存對字幕所做的修改？<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>字幕保存失败：<byte value="xd"/>
%S<byte value="xd"/>
<byte value="xd"/>
（请检查您是否有目标文件夹的写入权限）</source>
        <translation>字幕儲存失敗：<byte value="xd"/>
%S<byte value="xd"/>
<byte value="xd"/>
（請檢查您是否有目標資料夾的寫入權限）</translation>
    </message>
    <message>
        <source>两行为一句（奇数行为句头）</source>
        <translation>兩行為一句（奇數行為句頭）</translation>
    </message>
    <message>
        <source>两行为一句（偶数行为句头）</source>
        <translation>兩行為一句（偶數行為句頭）</translation>
    </message>
    <message>
        <source>一行为一句</source>
        <translation>一行為一句</translation>
    </message>
    <message>
        <source>取消窗口置顶</source>
        <translation>取消視窗置頂</translation>
    </message>
    <message>
        <source>窗口置顶</source>
        <translation>視窗置頂</translation>
    </message>
    <message>
        <source>播放原声（↑）</source>
        <translation>播放原聲（↑）</translation>
    </message>
    <message>
        <source>播放录音（Tab）</source>
        <translation>播放錄音（Tab）</translation>
    </message>
    <message>
        <source>开始录音（↓）</source>
        <translation>開始錄音（↓）</translation>
    </message>
    <message>
        <source>结束录音（↓）</source>
        <translation>結束錄音（↓）</translation>
    </message>
    <message>
        <source>跟读对比</source>
        <translation>跟讀對比</translation>
    </message>
    <message>
        <source>退出（Esc）</source>
        <translation>離開（Esc）</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>就緒</translation>
    </message>
    <message>
        <source>正在播放原声…</source>
        <translation>正在播放原聲…</translation>
    </message>
    <message>
        <source>正在播放录音…</source>
        <translation>正在播放錄音…</translation>
    </message>
    <message>
        <source>正在录音…</source>
        <translation>正在錄音…</translation>
    </message>
    <message>
        <source>原音+录音（Enter）</source>
        <translation>原音+錄音（Enter）</translation>
    </message>
    <message>
        <source>音调对比（P）</source>
        <translation>音調對比（P）</translation>
    </message>
    <message>
        <source>跟读对比（Tab）</source>
        <translation>跟讀對比（Tab）</translation>
    </message>
    <message>
        <source>使用提示  →  （1）请先点击资料下载栏目，下载粤语学习资料。（2）在字幕行上点击鼠标右键，可弹出复制、编辑、跳转菜单。</source>
        <translation>使用提示  →  （1）請先按「資料下載」選單，下載粵語學習資料。（2）在字幕行上按滑鼠右鍵，可彈出複製、編輯、跳轉選單。</translation>
    </message>
    <message>
        <source>提前%d毫秒</source>
        <translation>提前%d毫秒</translation>
    </message>
    <message>
        <source>延后%d毫秒</source>
        <translation>延後%d毫秒</translation>
    </message>
    <message>
        <source>文件创建失败：<byte value="xd"/>
%S<byte value="xd"/>
<byte value="xd"/>
（请检查您是否有目标文件夹的写入权限）</source>
        <translation>檔案建立失敗：<byte value="xd"/>
%S<byte value="xd"/>
<byte value="xd"/>
（請檢查您是否有目標資料夾的寫入權限）</translation>
    </message>
    <message>
        <source>切割完成</source>
        <translation>切割完成</translation>
    </message>
    <message>
        <source>切割出的片段存放于：</source>
        <translation>切割出的片段存放於：</translation>
    </message>
    <message>
        <source>选择录音设备…</source>
        <translation>選擇錄音裝置…</translation>
    </message>
    <message>
        <source>读文件失败：
%s</source>
        <translation>讀取檔案失敗：
%s</translation>
    </message>
    <message>
        <source>写文件失败：
%s</source>
        <translation>寫入檔案失敗：
%s</translation>
    </message>
    <message>
        <source>…</source>
        <translation>…</translation>
    </message>
    <message>
        <source>上下句切换时自动播放</source>
        <translation>上下句切換時自動播放</translation>
    </message>
    <message>
        <source>找不到音频输出设备：没有可连接的声音服务器或声卡。<byte value="xd"/>
<byte value="xd"/>
课程已打开，字幕可以阅读和修改，但不能播放。<byte value="xd"/>
接好音频设备后，请重新打开课程。</source>
        <translation>找不到音訊輸出裝置：沒有可連接的聲音伺服器或音效卡。<byte value="xd"/>
<byte value="xd"/>
課程已開啓，字幕可以閲讀和修改，但不能播放。<byte value="xd"/>
接好音訊裝置後，請重新開啓課程。</translation>
    </message>
    <message>
        <source>没有音频输出，不能播放</source>
        <translation>沒有音訊輸出，不能播放</translation>
    </message>
    <message>
        <source>无法启动网页浏览器。请在浏览器中打开这个地址：<byte value="xd"/>
%s</source>
        <translation>無法啓動網頁瀏覽器。請在瀏覽器中開啓這個地址：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>找不到可以打开这个文件的程序。请用文本编辑器打开：<byte value="xd"/>
%s</source>
        <translation>找不到可以開啓這個檔案的程式。請用文字編輯器開啓：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>字幕文件太大（超过 16 MB），未能读取：<byte value="xd"/>
%s</source>
        <translation>字幕檔案太大（超過 16 MB），未能讀取：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>字幕文件中有 %s 行的时间无法识别，已跳过这些行</source>
        <translation>字幕檔案中有 %s 行的時間無法識別，已跳過這些行</translation>
    </message>
    <message>
        <source>修改后的字幕含有原编码无法表示的文字，文件已改存为 UTF-8 编码（带签名）：<byte value="xd"/>
%s</source>
        <translation>修改後的字幕含有原編碼無法表示的文字，檔案已改存為 UTF-8 編碼（帶簽名）：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>上次退出时有未保存的字幕修改：<byte value="xd"/>
%s<byte value="xd"/>
<byte value="xd"/>
是否恢复这些修改？（选“否”将删除它们）</source>
        <translation>上次關閉本軟件時有未儲存的字幕修改：<byte value="xd"/>
%s<byte value="xd"/>
<byte value="xd"/>
是否恢復這些修改？（選「否」將刪除它們）</translation>
    </message>
    <message>
        <source>没有字幕文件。是否按停顿自动分句？</source>
        <translation>沒有字幕檔案。是否按停頓自動分句？</translation>
    </message>
    <message>
        <source>无法分析这个mp3文件的停顿：<byte value="xd"/>
%s</source>
        <translation>無法分析這個mp3檔案的停頓：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>字幕文件已经存在，没有覆盖它：<byte value="xd"/>
%s</source>
        <translation>字幕檔案已經存在，沒有覆蓋它：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>写入字幕文件失败：<byte value="xd"/>
%s</source>
        <translation>寫入字幕檔案失敗：<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>字幕来自 %s，修改后保存为同名 .lrc 文件</source>
        <translation>字幕來自 %s，修改後儲存為同名 .lrc 檔案</translation>
    </message>
    <message>
        <source>；有 %s 条字幕无法识别，已跳过</source>
        <translation>；有 %s 條字幕無法識別，已跳過</translation>
    </message>
</context>
<context>
    <name>ToneColours</name>
    <message>
        <source>阴平 高平</source>
        <translation>陰平 高平</translation>
    </message>
    <message>
        <source>阴上 高升</source>
        <translation>陰上 高升</translation>
    </message>
    <message>
        <source>阴去 中平</source>
        <translation>陰去 中平</translation>
    </message>
    <message>
        <source>阳平 低降</source>
        <translation>陽平 低降</translation>
    </message>
    <message>
        <source>阳上 低升</source>
        <translation>陽上 低升</translation>
    </message>
    <message>
        <source>阳去 低平</source>
        <translation>陽去 低平</translation>
    </message>
</context>
<context>
    <name>WebPanel</name>
    <message>
        <source>产品网页暂时无法显示。</source>
        <translation>產品網頁暫時無法顯示。</translation>
    </message>
</context>
</TS>
