<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AdjustTimeDialog</name>
    <message>
        <source>调整字幕时间</source>
        <translation>Adjust Subtitle Time</translation>
    </message>
    <message>
        <source>行号：</source>
        <translation>Line:</translation>
    </message>
    <message>
        <source>调整字幕时间：</source>
        <translation>Subtitle time:</translation>
    </message>
    <message>
        <source>1. 上行时间&lt;当前时间&lt;下行时间</source>
        <translation>1. Line above &lt; this line &lt; line below</translation>
    </message>
    <message>
        <source>2. 严格的格式要求 mm:ss.xx</source>
        <translation>2. Exactly in the form mm:ss.xx</translation>
    </message>
    <message>
        <source>mm：分</source>
        <translation>mm: minutes</translation>
    </message>
    <message>
        <source>ss：秒(00~59)</source>
        <translation>ss: seconds (00~59)</translation>
    </message>
    <message>
        <source>xx：百分之一秒(00-99)</source>
        <translation>xx: hundredths of a second (00-99)</translation>
    </message>
    <message>
        <source>对：02:02.02</source>
        <translation>Right: 02:02.02</translation>
    </message>
    <message>
        <source>错：2:2.2</source>
        <translation>Wrong: 2:2.2</translation>
    </message>
</context>
<context>
    <name>AnnotateCommand</name>
    <message>
        <source>无法读取字幕文件 %1：%2</source>
        <translation>Cannot read the subtitle file %1: %2</translation>
    </message>
    <message>
        <source>字幕文件 %1 无法识别</source>
        <translation>The subtitle file %1 is not recognised</translation>
    </message>
    <message>
        <source>标注粤拼需要安装 %1</source>
        <translation>Adding Jyutping needs %1 installed</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>ControlPanel</name>
    <message>
        <source>断句方式：</source>
        <translation>Sentences:</translation>
    </message>
    <message>
        <source>一句话可能包含中英文两行字幕</source>
        <translation>2 lines: Chinese + English</translation>
    </message>
    <message>
        <source>音量：</source>
        <translation>Volume:</translation>
    </message>
    <message>
        <source>静音</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>每句读几遍：</source>
        <translation>Passes:</translation>
    </message>
    <message>
        <source>修改…</source>
        <translation>Edit…</translation>
    </message>
    <message>
        <source>文件循环播放</source>
        <translation>Loop lesson</translation>
    </message>
    <message>
        <source>语速：</source>
        <translation>Speed:</translation>
    </message>
    <message>
        <source>跟读停顿：</source>
        <translation>Pause to repeat:</translation>
    </message>
    <message>
        <source>每遍之后留时间跟读</source>
        <translation>Time to say it back</translation>
    </message>
    <message>
        <source>调整字幕偏移：</source>
        <translation>Subtitle offset:</translation>
    </message>
</context>
<context>
    <name>ControlValues</name>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 倍句长</source>
        <translation>%1 × sentence</translation>
    </message>
    <message>
        <source>不停顿</source>
        <translation>No pause</translation>
    </message>
</context>
<context>
    <name>DeviceDialog</name>
    <message>
        <source>选择录音设备</source>
        <translation>Choose Recording Device</translation>
    </message>
    <message>
        <source>选择录音设备：</source>
        <translation>Recording device:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>DevicePropertiesDialog</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>项目</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>类别</source>
        <translation>Class</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>Formats</translation>
    </message>
</context>
<context>
    <name>DialogButtons</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>EditTextDialog</name>
    <message>
        <source>编辑字幕</source>
        <translation>Edit Subtitle</translation>
    </message>
    <message>
        <source>行号：</source>
        <translation>Line:</translation>
    </message>
    <message>
        <source>编辑字幕：</source>
        <translation>Subtitle:</translation>
    </message>
</context>
<context>
    <name>Elements</name>
    <message>
        <source>无法连接音频组件“%1”和“%2”。</source>
        <translation>Cannot link the audio elements “%1” and “%2”.</translation>
    </message>
    <message>
        <source>缺少 GStreamer 组件“%1”。</source>
        <translation>The GStreamer element “%1” is missing.</translation>
    </message>
</context>
<context>
    <name>ListPanel</name>
    <message>
        <source>字幕</source>
        <translation>Subtitle</translation>
    </message>
    <message>
        <source>复制字幕 	 Ctrl+C</source>
        <translation>Copy Subtitle 	 Ctrl+C</translation>
    </message>
    <message>
        <source>跳到此行 	 Dbclick</source>
        <translation>Jump to This Line 	 Double-click</translation>
    </message>
    <message>
        <source>编辑字幕…</source>
        <translation>Edit Subtitle…</translation>
    </message>
    <message>
        <source>调整字幕时间…</source>
        <translation>Adjust Subtitle Time…</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>操作(&amp;O)</source>
        <translation>&amp;Lesson</translation>
    </message>
    <message>
        <source>打开mp3文件… 	 支持拖放操作</source>
        <translation>Open MP3 File… 	 or drag and drop</translation>
    </message>
    <message>
        <source>试听</source>
        <translation>Try a Sample</translation>
    </message>
    <message>
        <source>日常廣東話（eg.mp3）</source>
        <translation>Everyday Cantonese (eg.mp3)</translation>
    </message>
    <message>
        <source>停止 	 F4</source>
        <translation>Stop 	 F4</translation>
    </message>
    <message>
        <source>播放速度</source>
        <translation>Playback Speed</translation>
    </message>
    <message>
        <source>减速 0.05 	 [</source>
        <translation>Slower by 0.05 	 [</translation>
    </message>
    <message>
        <source>加速 0.05 	 ]</source>
        <translation>Faster by 0.05 	 ]</translation>
    </message>
    <message>
        <source>正常速度 	 \</source>
        <translation>Normal Speed 	 \</translation>
    </message>
    <message>
        <source>上一句 	 ←</source>
        <translation>Previous Sentence 	 ←</translation>
    </message>
    <message>
        <source>下一句 	 →</source>
        <translation>Next Sentence 	 →</translation>
    </message>
    <message>
        <source>复读当前句 	 ↑</source>
        <translation>Repeat This Sentence 	 ↑</translation>
    </message>
    <message>
        <source>向上5句 	 Page Up</source>
        <translation>Back 5 Sentences 	 Page Up</translation>
    </message>
    <message>
        <source>向下5句 	 Page Down</source>
        <translation>Forward 5 Sentences 	 Page Down</translation>
    </message>
    <message>
        <source>跳到首句 	 Home</source>
        <translation>First Sentence 	 Home</translation>
    </message>
    <message>
        <source>跳到尾句 	 End</source>
        <translation>Last Sentence 	 End</translation>
    </message>
    <message>
        <source>跟读对比… 	 Tab</source>
        <translation>Read Along… 	 Tab</translation>
    </message>
    <message>
        <source>按句切割…</source>
        <translation>Split by Sentence…</translation>
    </message>
    <message>
        <source>查看字幕文件 	 （同目录下的同名lrc文件）</source>
        <translation>View Subtitle File 	 (the .lrc file of the same name beside it)</translation>
    </message>
    <message>
        <source>导出粤拼字幕…</source>
        <translation>Export Jyutping Subtitles…</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font Size</translation>
    </message>
    <message>
        <source>小号</source>
        <translation>Small</translation>
    </message>
    <message>
        <source>中号</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>大号</source>
        <translation>Large</translation>
    </message>
    <message>
        <source>声道</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>立体声</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>左声道</source>
        <translation>Left Channel</translation>
    </message>
    <message>
        <source>右声道</source>
        <translation>Right Channel</translation>
    </message>
    <message>
        <source>显示粤拼 	 J</source>
        <translation>Show Jyutping 	 J</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>资料下载(&amp;R)</source>
        <translation>&amp;Resources</translation>
    </message>
    <message>
        <source>粤语学习资料下载（此软件专用学习资料，定期更新）…</source>
        <translation>Download Cantonese Lessons (made for this program, updated regularly)…</translation>
    </message>
    <message>
        <source>辅助工具(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>粤语学习网站…</source>
        <translation>Cantonese Learning Site…</translation>
    </message>
    <message>
        <source>粤语在线发音词典…</source>
        <translation>Online Cantonese Pronunciation Dictionary…</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>软件使用教程</source>
        <translation>User Guide</translation>
    </message>
    <message>
        <source>访问官网</source>
        <translation>Visit the Website</translation>
    </message>
    <message>
        <source>关于本软件</source>
        <translation>About This Program</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>Follow the System</translation>
    </message>
</context>
<context>
    <name>MakeSubtitlesCommand</name>
    <message>
        <source>--min-pause 需要 %1 到 %2 之间的毫秒数</source>
        <translation>--min-pause needs a number of milliseconds from %1 to %2</translation>
    </message>
    <message>
        <source>无法识别的参数：%1</source>
        <translation>Unknown argument: %1</translation>
    </message>
    <message>
        <source>缺少 MP3 文件</source>
        <translation>The MP3 file is missing</translation>
    </message>
    <message>
        <source>字幕文件已经存在，未作改动：%1</source>
        <translation>The subtitles already exist and were left as they are: %1</translation>
    </message>
    <message>
        <source>没有找到句子：%1 中听不到说话声</source>
        <translation>No sentences found: no speech can be heard in %1</translation>
    </message>
    <message>
        <source>已写入 %1：%2 句</source>
        <translation>Written %1: %2 sentences</translation>
    </message>
    <message>
        <source>正在分析停顿：%1%</source>
        <translation>Analysing the pauses: %1%</translation>
    </message>
</context>
<context>
    <name>MediaPlayer</name>
    <message>
        <source>无法打开音频文件。</source>
        <translation>Cannot open the audio file.</translation>
    </message>
    <message>
        <source>打开音频文件超时。</source>
        <translation>Opening the audio file timed out.</translation>
    </message>
    <message>
        <source>文件不是 MP3 音频。</source>
        <translation>The file is not MP3 audio.</translation>
    </message>
    <message>
        <source>无法确定音频的长度。</source>
        <translation>Cannot tell the length of the audio.</translation>
    </message>
    <message>
        <source>没有打开的音频。</source>
        <translation>No audio is open.</translation>
    </message>
    <message>
        <source>音频状态切换失败。</source>
        <translation>The audio could not change its state.</translation>
    </message>
</context>
<context>
    <name>MediaResult</name>
    <message>
        <source>文件不是可以播放的 MP3 音频。</source>
        <translation>The file is not playable MP3 audio.</translation>
    </message>
    <message>
        <source>音频数据有误，文件可能已损坏。</source>
        <translation>The audio data is faulty; the file may be damaged.</translation>
    </message>
    <message>
        <source>音频数据无法处理。</source>
        <translation>The audio data cannot be processed.</translation>
    </message>
    <message>
        <source>找不到文件或设备。</source>
        <translation>File or device not found.</translation>
    </message>
    <message>
        <source>无法读取文件或设备。</source>
        <translation>Cannot read the file or device.</translation>
    </message>
    <message>
        <source>无法写入文件。</source>
        <translation>Cannot write the file.</translation>
    </message>
    <message>
        <source>音频设备正被占用。</source>
        <translation>The audio device is busy.</translation>
    </message>
    <message>
        <source>没有访问文件或设备的权限。</source>
        <translation>No permission to use the file or device.</translation>
    </message>
    <message>
        <source>无法使用文件或音频设备。</source>
        <translation>Cannot use the file or audio device.</translation>
    </message>
    <message>
        <source>缺少所需的 GStreamer 组件。</source>
        <translation>A required GStreamer element is missing.</translation>
    </message>
    <message>
        <source>音频处理出错。</source>
        <translation>Audio processing failed.</translation>
    </message>
    <message>
        <source>找不到音频输出设备：没有可连接的声音服务器或声卡。</source>
        <translation>No audio output found: there is no sound server or sound card to connect to.</translation>
    </message>
</context>
<context>
    <name>OffsetDialog</name>
    <message>
        <source>微调字幕偏移</source>
        <translation>Subtitle Offset</translation>
    </message>
    <message>
        <source>调整字幕偏移：</source>
        <translation>Subtitle offset:</translation>
    </message>
    <message>
        <source>（毫秒）</source>
        <translation>(ms)</translation>
    </message>
    <message>
        <source>正：字幕提前</source>
        <translation>Positive: subtitles earlier</translation>
    </message>
    <message>
        <source>负：字幕延后</source>
        <translation>Negative: subtitles later</translation>
    </message>
</context>
<context>
    <name>PauseAnalysis</name>
    <message>
        <source>无法读取音频：%1</source>
        <translation>Cannot read the audio: %1</translation>
    </message>
    <message>
        <source>打开音频文件超时。</source>
        <translation>Opening the audio file timed out.</translation>
    </message>
    <message>
        <source>找不到文件“%1”。</source>
        <translation>File “%1” not found.</translation>
    </message>
    <message>
        <source>无法读取文件“%1”。</source>
        <translation>Cannot read the file “%1”.</translation>
    </message>
    <message>
        <source>缺少 GStreamer 组件：%1</source>
        <translation>GStreamer elements missing: %1</translation>
    </message>
    <message>
        <source>解码音频超时。</source>
        <translation>Decoding the audio timed out.</translation>
    </message>
    <message>
        <source>文件“%1”中没有声音。</source>
        <translation>There is no sound in the file “%1”.</translation>
    </message>
    <message>
        <source>字幕文件“%1”已经存在。</source>
        <translation>The subtitle file “%1” already exists.</translation>
    </message>
    <message>
        <source>无法写入“%1”：%2</source>
        <translation>Cannot write “%1”: %2</translation>
    </message>
</context>
<context>
    <name>PauseOptionsDialog</name>
    <message>
        <source>按停顿分句</source>
        <translation>Sentences from the pauses</translation>
    </message>
    <message>
        <source> 毫秒</source>
        <translation> ms</translation>
    </message>
    <message>
        <source> 分贝</source>
        <translation> dB</translation>
    </message>
    <message>
        <source>最短停顿（分句）：</source>
        <translation>Shortest pause that ends a sentence:</translation>
    </message>
    <message>
        <source>低于语音多少算静音：</source>
        <translation>Silence lies this far below the speech:</translation>
    </message>
    <message>
        <source>找到的句子：</source>
        <translation>Sentences found:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>设置停顿多长就分成新的一句：</source>
        <translation>Choose how long a pause starts a new sentence:</translation>
    </message>
    <message>
        <source>%1 句</source>
        <translation>%1</translation>
    </message>
</context>
<context>
    <name>PauseProgressDialog</name>
    <message>
        <source>按停顿分句</source>
        <translation>Sentences from the pauses</translation>
    </message>
    <message>
        <source>正在分析mp3文件中的停顿…</source>
        <translation>Analysing the pauses in the MP3 file…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PcmDecoder</name>
    <message>
        <source>无法解码音频：%1</source>
        <translation>Cannot decode the audio: %1</translation>
    </message>
    <message>
        <source>打开音频文件超时。</source>
        <translation>Opening the audio file timed out.</translation>
    </message>
    <message>
        <source>找不到文件“%1”。</source>
        <translation>File “%1” not found.</translation>
    </message>
    <message>
        <source>要解码的时间段无效。</source>
        <translation>The stretch to decode is not valid.</translation>
    </message>
    <message>
        <source>缺少 GStreamer 组件：%1</source>
        <translation>GStreamer elements missing: %1</translation>
    </message>
    <message>
        <source>无法定位到要解码的时间段。</source>
        <translation>Cannot seek to the stretch to decode.</translation>
    </message>
    <message>
        <source>解码音频超时。</source>
        <translation>Decoding the audio timed out.</translation>
    </message>
</context>
<context>
    <name>PitchPlot</name>
    <message>
        <source>原声</source>
        <translation>Lesson</translation>
    </message>
    <message>
        <source>录音</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>相似度 %1</source>
        <translation>Similarity %1</translation>
    </message>
    <message>
        <source>无法写入 PNG 图片</source>
        <translation>Cannot write the PNG image</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>按句切割中…</source>
        <translation>Splitting by sentence…</translation>
    </message>
    <message>
        <source>终止</source>
        <translation>Stop</translation>
    </message>
</context>
<context>
    <name>ReadAlongMedia</name>
    <message>
        <source>导出图片</source>
        <translation>Export Image</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ReadAlongPanels</name>
    <message>
        <source>录音设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>录音存放</source>
        <translation>Save to</translation>
    </message>
    <message>
        <source>录音设备属性…</source>
        <translation>Device Properties…</translation>
    </message>
</context>
<context>
    <name>ReadAlongWindow</name>
    <message>
        <source>上一句 	 ←</source>
        <translation>Previous Sentence 	 ←</translation>
    </message>
    <message>
        <source>下一句 	 →</source>
        <translation>Next Sentence 	 →</translation>
    </message>
    <message>
        <source>播放原声 	 ↑</source>
        <translation>Play Lesson 	 ↑</translation>
    </message>
    <message>
        <source>播放录音 	 Tab</source>
        <translation>Play Recording 	 Tab</translation>
    </message>
    <message>
        <source>原音+录音 	 Enter</source>
        <translation>Lesson + Recording 	 Enter</translation>
    </message>
    <message>
        <source>开始录音 	 ↓</source>
        <translation>Start Recording 	 ↓</translation>
    </message>
    <message>
        <source>音调对比 	 P</source>
        <translation>Compare Tones 	 P</translation>
    </message>
    <message>
        <source>退出 	 Esc</source>
        <translation>Close 	 Esc</translation>
    </message>
    <message>
        <source>运行异常：<byte value="xd"/>
%s</source>
        <translation>Something went wrong:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>录音文件可能不完整</source>
        <translation>The recording may be incomplete</translation>
    </message>
    <message>
        <source>录音失败：<byte value="xd"/>
%s</source>
        <translation>Recording failed:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>找不到录音设备</source>
        <translation>No recording device found</translation>
    </message>
    <message>
        <source>导出图片…</source>
        <translation>Export Image…</translation>
    </message>
    <message>
        <source>播放原声失败：<byte value="xd"/>
%s</source>
        <translation>Playing the lesson failed:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>播放录音失败：<byte value="xd"/>
%s</source>
        <translation>Playing the recording failed:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>请指定录音存放位置</source>
        <translation>Please choose where to save the recording</translation>
    </message>
    <message>
        <source>请不要自我覆盖</source>
        <translation>The recording cannot overwrite the lesson itself</translation>
    </message>
    <message>
        <source>正在分析…</source>
        <translation>Analysing…</translation>
    </message>
    <message>
        <source>读取原声失败：%1</source>
        <translation>Reading the lesson failed: %1</translation>
    </message>
    <message>
        <source>读取录音失败：%1</source>
        <translation>Reading the recording failed: %1</translation>
    </message>
    <message>
        <source>录音里没有听到说话</source>
        <translation>No speech heard in the recording</translation>
    </message>
    <message>
        <source>录音太短或与原声对不上，不评分</source>
        <translation>The recording is too short or does not match the lesson: no score</translation>
    </message>
    <message>
        <source>这一句听不出音高</source>
        <translation>No pitch can be heard in this sentence</translation>
    </message>
    <message>
        <source>导出图片失败：<byte value="xd"/>
%s</source>
        <translation>Exporting the image failed:<byte value="xd"/>
%s</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>录音组件没有建立。</source>
        <translation>The recorder has not been set up.</translation>
    </message>
    <message>
        <source>找不到录音设备。</source>
        <translation>No recording device found.</translation>
    </message>
    <message>
        <source>无法打开录音设备“%1”。</source>
        <translation>Cannot open the recording device “%1”.</translation>
    </message>
    <message>
        <source>录音设备已被其他音频组件使用。</source>
        <translation>The recording device is in use by another audio element.</translation>
    </message>
    <message>
        <source>正在录音，不能更换录音文件。</source>
        <translation>Recording: the recording file cannot be changed now.</translation>
    </message>
    <message>
        <source>开始录音超时。</source>
        <translation>Starting the recording timed out.</translation>
    </message>
    <message>
        <source>无法开始录音。</source>
        <translation>Cannot start recording.</translation>
    </message>
    <message>
        <source>停止录音超时，录音文件可能不完整。</source>
        <translation>Stopping the recording timed out; the recording may be incomplete.</translation>
    </message>
</context>
<context>
    <name>RepairDialog</name>
    <message>
        <source>正在修复mp3文件…</source>
        <translation>Repairing the MP3 file…</translation>
    </message>
</context>
<context>
    <name>RepeatCountDialog</name>
    <message>
        <source>每句读几遍</source>
        <translation>Passes per Sentence</translation>
    </message>
    <message>
        <source>每句读几遍：</source>
        <translation>Passes:</translation>
    </message>
    <message>
        <source>（0~9）</source>
        <translation>(0~9)</translation>
    </message>
    <message>
        <source>“0”表示无数遍</source>
        <translation>“0” repeats without end</translation>
    </message>
</context>
<context>
    <name>RepeaterApp</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>粤拼字幕 (*.lrc)</source>
        <translation>Jyutping subtitles (*.lrc)</translation>
    </message>
    <message>
        <source>显示粤拼需要安装 %1</source>
        <translation>Showing Jyutping needs %1 installed</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>无法保存粤拼字幕文件 %1：%2</source>
        <translation>Cannot save the Jyutping subtitle file %1: %2</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Restore Default</translation>
    </message>
    <message>
        <source>界面语言已更改，重新启动本软件后生效。</source>
        <translation>The interface language has been changed. It takes effect when you restart the program.</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>简介：粤语逐句复读、显示同步字幕</source>
        <translation>Listen to Cantonese sentence by sentence, with synchronised subtitles</translation>
    </message>
    <message>
        <source>MP3 Files (*.mp3)</source>
        <translation>MP3 Files (*.mp3)</translation>
    </message>
</context>
<context>
    <name>SplitContext</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>SplitDialog</name>
    <message>
        <source>按句切割</source>
        <translation>Split by Sentence</translation>
    </message>
    <message>
        <source>…</source>
        <translation>…</translation>
    </message>
    <message>
        <source>按句切割（包括字幕）</source>
        <translation>Split by sentence (subtitles included)</translation>
    </message>
    <message>
        <source>开始句：</source>
        <translation>First sentence:</translation>
    </message>
    <message>
        <source>结束句：</source>
        <translation>Last sentence:</translation>
    </message>
    <message>
        <source>每几句一切割：</source>
        <translation>Sentences per piece:</translation>
    </message>
    <message>
        <source>命名方法：</source>
        <translation>Names:</translation>
    </message>
    <message>
        <source>原文件名_四位序号</source>
        <translation>originalname_0001</translation>
    </message>
    <message>
        <source>命名起始序号：</source>
        <translation>First number:</translation>
    </message>
    <message>
        <source>存放于：</source>
        <translation>Save in:</translation>
    </message>
    <message>
        <source>（应尽量不要含特殊字符）</source>
        <translation>(best without special characters)</translation>
    </message>
    <message>
        <source>切割点定位方式</source>
        <translation>Finding the cut points</translation>
    </message>
    <message>
        <source>逐帧计算</source>
        <translation>Count frames</translation>
    </message>
    <message>
        <source>位率估计</source>
        <translation>Estimate from bit rate</translation>
    </message>
    <message>
        <source>逐帧计算欠佳时，
再尝试位率估计。</source>
        <translation>If counting frames does not cut well,
try estimating from the bit rate.</translation>
    </message>
    <message>
        <source>切割</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SplitJob</name>
    <message>
        <source>目标文件夹中已有 %1 个同名的片段文件，例如：<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
是否覆盖？</source>
        <translation>The folder already holds %1 pieces of the same names, for example:<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
Overwrite them?</translation>
    </message>
</context>
<context>
    <name>SplitRunner</name>
    <message>
        <source>无法启动切割程序：<byte value="xd"/>
%1</source>
        <translation>Cannot start the splitting program:<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>切割失败：%1 个片段都没有切出。</source>
        <translation>Splitting failed: none of the %1 pieces was cut.</translation>
    </message>
    <message>
        <source>切割结束，但 %1 个片段中有 %2 个没有切出（第一个：%3）。</source>
        <translation>Splitting finished, but %2 of the %1 pieces were not cut (the first: %3).</translation>
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
        <translation>Open MP3 file</translation>
    </message>
    <message>
        <source>播放（↓）</source>
        <translation>Play (↓)</translation>
    </message>
    <message>
        <source>暂停（↓）</source>
        <translation>Pause (↓)</translation>
    </message>
    <message>
        <source>停止（F4）</source>
        <translation>Stop (F4)</translation>
    </message>
    <message>
        <source>上一句（←）</source>
        <translation>Previous sentence (←)</translation>
    </message>
    <message>
        <source>下一句（→）</source>
        <translation>Next sentence (→)</translation>
    </message>
    <message>
        <source>复读当前句（↑）</source>
        <translation>Repeat this sentence (↑)</translation>
    </message>
    <message>
        <source>指针</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>句序</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>还未载入mp3文件</source>
        <translation>No MP3 file loaded yet</translation>
    </message>
    <message>
        <source>已载入mp3文件</source>
        <translation>MP3 file loaded</translation>
    </message>
    <message>
        <source>播放中…</source>
        <translation>Playing…</translation>
    </message>
    <message>
        <source>暂停播放</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>已停止播放</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>▼▼</source>
        <translation>▼▼</translation>
    </message>
    <message>
        <source>播放 	 ↓</source>
        <translation>Play 	 ↓</translation>
    </message>
    <message>
        <source>暂停 	 ↓</source>
        <translation>Pause 	 ↓</translation>
    </message>
    <message>
        <source>载入失败：<byte value="xd"/>
%s</source>
        <translation>Loading failed:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>读取字幕文件失败：<byte value="xd"/>
%S</source>
        <translation>Reading the subtitle file failed:<byte value="xd"/>
%S</translation>
    </message>
    <message>
        <source>字幕文件内容有误：<byte value="xd"/>
%s</source>
        <translation>The subtitle file has errors:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>缺少同名字幕文件：<byte value="xd"/>
%s<byte value="xd"/>
<byte value="xd"/>
（请到官网下载含字幕的听力资料）</source>
        <translation>The subtitle file of the same name is missing:<byte value="xd"/>
%s<byte value="xd"/>
<byte value="xd"/>
(Lessons with subtitles can be downloaded from the website.)</translation>
    </message>
    <message>
        <source>播放失败：<byte value="xd"/>
%s</source>
        <translation>Playback failed:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>播放异常：<byte value="xd"/>
%s</source>
        <translation>Playback went wrong:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>文件有缺失，请重装本软件</source>
        <translation>Files are missing. Please reinstall the program</translation>
    </message>
    <message>
        <source>文件有缺失，请重装本软件。</source>
        <translation>Files are missing. Please reinstall the program.</translation>
    </message>
    <message>
        <source>系统环境有问题，请修复或重装 GStreamer</source>
        <translation>The system has a problem. Please repair or reinstall GStreamer</translation>
    </message>
    <message>
        <source>字幕时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>是否保存对字幕所做的修改？<byte value="xd"/>
%s</source>
        <translation>Save the changes to the subtitles?<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>字幕保存失败：<byte value="xd"/>
%S<byte value="xd"/>
<byte value="xd"/>
（请检查您是否有目标文件夹的写入权限）</source>
        <translation>Saving the subtitles failed:<byte value="xd"/>
%S<byte value="xd"/>
<byte value="xd"/>
(Please check that you may write to the folder.)</translation>
    </message>
    <message>
        <source>两行为一句（奇数行为句头）</source>
        <translation>Two lines a sentence (odd lines first)</translation>
    </message>
    <message>
        <source>两行为一句（偶数行为句头）</source>
        <translation>Two lines a sentence (even lines first)</translation>
    </message>
    <message>
        <source>一行为一句</source>
        <translation>One line a sentence</translation>
    </message>
    <message>
        <source>取消窗口置顶</source>
        <translation>Stop Keeping on Top</translation>
    </message>
    <message>
        <source>窗口置顶</source>
        <translation>Keep Window on Top</translation>
    </message>
    <message>
        <source>播放原声（↑）</source>
        <translation>Play lesson (↑)</translation>
    </message>
    <message>
        <source>播放录音（Tab）</source>
        <translation>Play recording (Tab)</translation>
    </message>
    <message>
        <source>开始录音（↓）</source>
        <translation>Start recording (↓)</translation>
    </message>
    <message>
        <source>结束录音（↓）</source>
        <translation>Stop recording (↓)</translation>
    </message>
    <message>
        <source>跟读对比</source>
        <translation>Read Along</translation>
    </message>
    <message>
        <source>退出（Esc）</source>
        <translation>Close (Esc)</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>正在播放原声…</source>
        <translation>Playing the lesson…</translation>
    </message>
    <message>
        <source>正在播放录音…</source>
        <translation>Playing the recording…</translation>
    </message>
    <message>
        <source>正在录音…</source>
        <translation>Recording…</translation>
    </message>
    <message>
        <source>原音+录音（Enter）</source>
        <translation>Lesson + recording (Enter)</translation>
    </message>
    <message>
        <source>音调对比（P）</source>
        <translation>Compare tones (P)</translation>
    </message>
    <message>
        <source>跟读对比（Tab）</source>
        <translation>Read along (Tab)</translation>
    </message>
    <message>
        <source>使用提示  →  （1）请先点击资料下载栏目，下载粤语学习资料。（2）在字幕行上点击鼠标右键，可弹出复制、编辑、跳转菜单。</source>
        <translation>Tips  →  (1) Start with the Resources menu to download Cantonese lessons. (2) Right-click a subtitle line to copy, edit or jump to it.</translation>
    </message>
    <message>
        <source>提前%d毫秒</source>
        <translation>%d ms earlier</translation>
    </message>
    <message>
        <source>延后%d毫秒</source>
        <translation>%d ms later</translation>
    </message>
    <message>
        <source>文件创建失败：<byte value="xd"/>
%S<byte value="xd"/>
<byte value="xd"/>
（请检查您是否有目标文件夹的写入权限）</source>
        <translation>Creating the file failed:<byte value="xd"/>
%S<byte value="xd"/>
<byte value="xd"/>
(Please check that you may write to the folder.)</translation>
    </message>
    <message>
        <source>切割完成</source>
        <translation>Splitting finished</translation>
    </message>
    <message>
        <source>切割出的片段存放于：</source>
        <translation>The pieces are in:</translation>
    </message>
    <message>
        <source>选择录音设备…</source>
        <translation>Choose Recording Device…</translation>
    </message>
    <message>
        <source>读文件失败：
%s</source>
        <translation>Reading the file failed:
%s</translation>
    </message>
    <message>
        <source>写文件失败：
%s</source>
        <translation>Writing the file failed:
%s</translation>
    </message>
    <message>
        <source>…</source>
        <translation>…</translation>
    </message>
    <message>
        <source>上下句切换时自动播放</source>
        <translation>Play on moving to another sentence</translation>
    </message>
    <message>
        <source>找不到音频输出设备：没有可连接的声音服务器或声卡。<byte value="xd"/>
<byte value="xd"/>
课程已打开，字幕可以阅读和修改，但不能播放。<byte value="xd"/>
接好音频设备后，请重新打开课程。</source>
        <translation>No audio output found: there is no sound server or sound card to connect to.<byte value="xd"/>
<byte value="xd"/>
The lesson is open: its subtitles can be read and corrected, but it cannot play.<byte value="xd"/>
Connect an audio device, then open the lesson again.</translation>
    </message>
    <message>
        <source>没有音频输出，不能播放</source>
        <translation>No audio output: cannot play</translation>
    </message>
    <message>
        <source>无法启动网页浏览器。请在浏览器中打开这个地址：<byte value="xd"/>
%s</source>
        <translation>Cannot start a web browser. Please open this address in a browser:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>找不到可以打开这个文件的程序。请用文本编辑器打开：<byte value="xd"/>
%s</source>
        <translation>No program found to open this file. Please open it with a text editor:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>字幕文件太大（超过 16 MB），未能读取：<byte value="xd"/>
%s</source>
        <translation>The subtitle file is too large (over 16 MB) to read:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>字幕文件中有 %s 行的时间无法识别，已跳过这些行</source>
        <translation>%s lines of the subtitle file have times that cannot be read; they were skipped</translation>
    </message>
    <message>
        <source>修改后的字幕含有原编码无法表示的文字，文件已改存为 UTF-8 编码（带签名）：<byte value="xd"/>
%s</source>
        <translation>The changed subtitles hold text the file&apos;s encoding cannot represent, so the file was saved as UTF-8 (with signature):<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>上次退出时有未保存的字幕修改：<byte value="xd"/>
%s<byte value="xd"/>
<byte value="xd"/>
是否恢复这些修改？（选“否”将删除它们）</source>
        <translation>Unsaved subtitle changes were left when the program last ended:<byte value="xd"/>
%s<byte value="xd"/>
<byte value="xd"/>
Restore them? (“No” deletes them.)</translation>
    </message>
    <message>
        <source>没有字幕文件。是否按停顿自动分句？</source>
        <translation>There is no subtitle file. Find the sentences from the pauses?</translation>
    </message>
    <message>
        <source>无法分析这个mp3文件的停顿：<byte value="xd"/>
%s</source>
        <translation>Could not analyse the pauses in this MP3 file:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>字幕文件已经存在，没有覆盖它：<byte value="xd"/>
%s</source>
        <translation>The subtitle file already exists; it was not overwritten:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>写入字幕文件失败：<byte value="xd"/>
%s</source>
        <translation>Could not write the subtitle file:<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>字幕来自 %s，修改后保存为同名 .lrc 文件</source>
        <translation>Subtitles from %s; changes are saved as an .lrc file of the same name</translation>
    </message>
    <message>
        <source>；有 %s 条字幕无法识别，已跳过</source>
        <translation>; %s cues could not be read and were skipped</translation>
    </message>
</context>
<context>
    <name>ToneColours</name>
    <message>
        <source>阴平 高平</source>
        <translation>yin level, high level</translation>
    </message>
    <message>
        <source>阴上 高升</source>
        <translation>yin rising, high rising</translation>
    </message>
    <message>
        <source>阴去 中平</source>
        <translation>yin departing, mid level</translation>
    </message>
    <message>
        <source>阳平 低降</source>
        <translation>yang level, low falling</translation>
    </message>
    <message>
        <source>阳上 低升</source>
        <translation>yang rising, low rising</translation>
    </message>
    <message>
        <source>阳去 低平</source>
        <translation>yang departing, low level</translation>
    </message>
</context>
<context>
    <name>WebPanel</name>
    <message>
        <source>产品网页暂时无法显示。</source>
        <translation>The product page cannot be shown right now.</translation>
    </message>
</context>
</TS>
