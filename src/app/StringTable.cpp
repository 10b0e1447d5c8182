#include "app/StringTable.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace lurvo::app {

namespace {

struct Entry {
    int id;
    const char* text; // UTF-8, the source text of its translations
};

// Sorted by id.
constexpr Entry kStrings[] = {
    {103, QT_TRANSLATE_NOOP("StringTable", "LurvoV1.0")},
    {110, QT_TRANSLATE_NOOP("StringTable", "打开mp3文件")},
    {111, QT_TRANSLATE_NOOP("StringTable", "播放（↓）")},
    {112, QT_TRANSLATE_NOOP("StringTable", "暂停（↓）")},
    {113, QT_TRANSLATE_NOOP("StringTable", "停止（F4）")},
    {114, QT_TRANSLATE_NOOP("StringTable", "上一句（←）")},
    {115, QT_TRANSLATE_NOOP("StringTable", "下一句（→）")},
    {116, QT_TRANSLATE_NOOP("StringTable", "复读当前句（↑）")},
    {117, QT_TRANSLATE_NOOP("StringTable", "指针")},
    {118, QT_TRANSLATE_NOOP("StringTable", "句序")},
    {119, QT_TRANSLATE_NOOP("StringTable", "文本")},
    {120, QT_TRANSLATE_NOOP("StringTable", "还未载入mp3文件")},
    {121, QT_TRANSLATE_NOOP("StringTable", "已载入mp3文件")},
    {122, QT_TRANSLATE_NOOP("StringTable", "播放中…")},
    {123, QT_TRANSLATE_NOOP("StringTable", "暂停播放")},
    {124, QT_TRANSLATE_NOOP("StringTable", "已停止播放")},
    {125, QT_TRANSLATE_NOOP("StringTable", "▼▼")},
    {126, QT_TRANSLATE_NOOP("StringTable", "播放 \t ↓")},
    {127, QT_TRANSLATE_NOOP("StringTable", "暂停 \t ↓")},
    {128, QT_TRANSLATE_NOOP("StringTable", "载入失败：\r\n%s")},
    {129, QT_TRANSLATE_NOOP("StringTable", "读取字幕文件失败：\r\n%S")},
    {130, QT_TRANSLATE_NOOP("StringTable", "字幕文件内容有误：\r\n%s")},
    {131, QT_TRANSLATE_NOOP("StringTable",
                            "缺少同名字幕文件：\r\n%s\r\n\r\n（请到官网下载含字幕的听力资料）")},
    {135, QT_TRANSLATE_NOOP("StringTable", "播放失败：\r\n%s")},
    {136, QT_TRANSLATE_NOOP("StringTable", "播放异常：\r\n%s")},
    {139, QT_TRANSLATE_NOOP("StringTable", "文件有缺失，请重装本软件")},
    {140, QT_TRANSLATE_NOOP("StringTable", "文件有缺失，请重装本软件。")},
    // The media framework here is GStreamer; naming DirectX would send the user to a wrong fix.
    {141, QT_TRANSLATE_NOOP("StringTable", "系统环境有问题，请修复或重装 GStreamer")},
    {144, QT_TRANSLATE_NOOP("StringTable", "字幕时间")},
    {145, QT_TRANSLATE_NOOP("StringTable", "是否保存对字幕所做的修改？\r\n%s")},
    {146, QT_TRANSLATE_NOOP("StringTable",
                            "字幕保存失败：\r\n%S\r\n\r\n（请检查您是否有目标文件夹的写入权限）")},
    {1003, QT_TRANSLATE_NOOP("StringTable", "两行为一句（奇数行为句头）")},
    {1004, QT_TRANSLATE_NOOP("StringTable", "两行为一句（偶数行为句头）")},
    {1005, QT_TRANSLATE_NOOP("StringTable", "一行为一句")},
    {1007, QT_TRANSLATE_NOOP("StringTable", "取消窗口置顶")},
    {1009, QT_TRANSLATE_NOOP("StringTable", "窗口置顶")},
    {1016, QT_TRANSLATE_NOOP("StringTable", "上一句（←）")},
    {1017, QT_TRANSLATE_NOOP("StringTable", "下一句（→）")},
    {1018, QT_TRANSLATE_NOOP("StringTable", "播放原声（↑）")},
    {1019, QT_TRANSLATE_NOOP("StringTable", "播放录音（Tab）")},
    {1020, QT_TRANSLATE_NOOP("StringTable", "开始录音（↓）")},
    {1021, QT_TRANSLATE_NOOP("StringTable", "结束录音（↓）")},
    {1022, QT_TRANSLATE_NOOP("StringTable", "跟读对比")},
    {1023, QT_TRANSLATE_NOOP("StringTable", "退出（Esc）")},
    {1024, QT_TRANSLATE_NOOP("StringTable", "就绪")},
    {1025, QT_TRANSLATE_NOOP("StringTable", "正在播放原声…")},
    {1026, QT_TRANSLATE_NOOP("StringTable", "正在播放录音…")},
    {1027, QT_TRANSLATE_NOOP("StringTable", "正在录音…")},
    {1028, QT_TRANSLATE_NOOP("StringTable", "原音+录音（Enter）")},
    {1029, QT_TRANSLATE_NOOP("StringTable", "音调对比（P）")},
    {1050, QT_TRANSLATE_NOOP("StringTable", "跟读对比（Tab）")},
    {1052,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "使用提示  →  （1）请先点击资料下载栏目，下载粤语学习资料。（2）在字幕行上点击鼠标右键，"
         "可弹出复制、编辑、跳转菜单。")},
    {1053, QT_TRANSLATE_NOOP("StringTable", "提前%d毫秒")},
    {1054, QT_TRANSLATE_NOOP("StringTable", "延后%d毫秒")},
    {1057, QT_TRANSLATE_NOOP("StringTable",
                             "文件创建失败：\r\n%S\r\n\r\n（请检查您是否有目标文件夹的写入权限）")},
    {1058, QT_TRANSLATE_NOOP("StringTable", "切割完成")},
    {1059, QT_TRANSLATE_NOOP("StringTable", "切割出的片段存放于：")},
    {1061, QT_TRANSLATE_NOOP("StringTable", "选择录音设备…")},
    {1062, QT_TRANSLATE_NOOP("StringTable", "读文件失败：\n%s")},
    {1063, QT_TRANSLATE_NOOP("StringTable", "写文件失败：\n%s")},
    {1067, QT_TRANSLATE_NOOP("StringTable", "…")},
    {1071, QT_TRANSLATE_NOOP("StringTable", "上下句切换时自动播放")},
    // Texts of our own, beyond the original table.
    {1201, QT_TRANSLATE_NOOP("StringTable", "找不到音频输出设备：没有可连接的声音服务器或声卡。\r\n"
                                            "\r\n课程已打开，字幕可以阅读和修改，"
                                            "但不能播放。\r\n接好音频设备后，请重新打开课程。")},
    {1202, QT_TRANSLATE_NOOP("StringTable", "没有音频输出，不能播放")},
    {1203,
     QT_TRANSLATE_NOOP("StringTable", "无法启动网页浏览器。请在浏览器中打开这个地址：\r\n%s")},
    {1204,
     QT_TRANSLATE_NOOP("StringTable", "找不到可以打开这个文件的程序。请用文本编辑器打开：\r\n%s")},
    {2101, QT_TRANSLATE_NOOP("StringTable", "字幕文件太大（超过 16 MB），未能读取：\r\n%s")},
    {2102, QT_TRANSLATE_NOOP("StringTable", "字幕文件中有 %s 行的时间无法识别，已跳过这些行")},
    {2103, QT_TRANSLATE_NOOP(
               "StringTable",
               "修改后的字幕含有原编码无法表示的文字，文件已改存为 UTF-8 编码（带签名）：\r\n%s")},
    {2104,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "上次退出时有未保存的字幕修改：\r\n%s\r\n\r\n是否恢复这些修改？（选“否”将删除它们）")},
    {2230, QT_TRANSLATE_NOOP("StringTable", "没有字幕文件。是否按停顿自动分句？")},
    {2231, QT_TRANSLATE_NOOP("StringTable", "无法分析这个mp3文件的停顿：\r\n%s")},
    {2232, QT_TRANSLATE_NOOP("StringTable", "字幕文件已经存在，没有覆盖它：\r\n%s")},
    {2233, QT_TRANSLATE_NOOP("StringTable", "写入字幕文件失败：\r\n%s")},
    {2260, QT_TRANSLATE_NOOP("StringTable", "字幕来自 %s，修改后保存为同名 .lrc 文件")},
    {2261, QT_TRANSLATE_NOOP("StringTable", "；有 %s 条字幕无法识别，已跳过")},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

} // namespace

QString stringText(int id) {
    const auto* it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                      [](const Entry& e, int wanted) { return e.id < wanted; });
    if (it == std::end(kStrings) || it->id != id)
        return {};
    return QCoreApplication::translate("StringTable", it->text);
}

QString stringText(int id, const QString& argument) {
    QString text = stringText(id);
    for (const char16_t* placeholder : {u"%s", u"%S"}) {
        const qsizetype at = text.indexOf(placeholder);
        if (at >= 0)
            return text.replace(at, 2, argument);
    }
    return text;
}

} // namespace lurvo::app
