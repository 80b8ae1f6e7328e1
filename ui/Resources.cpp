#include "ui/Resources.h"

#include <algorithm>
#include <array>

namespace {

struct StringEntry {
    int id;
    const char* text; // UTF-8
};

// The window speaks Japanese, its katakana in half-width forms; the texts are kept exactly
// as they are shown.
constexpr std::array kStringTable = {
    StringEntry { IDR_MAINFRAME, "Tavo" },
    StringEntry { AFX_IDS_APP_TITLE, "Tavo" },
    StringEntry { AFX_IDS_IDLEMESSAGE, "ﾚﾃﾞｨ" },
    StringEntry { 57632, "選択範囲を消去\n消去" },
    StringEntry { 57633, "すべて消去\nすべて消去" },
    StringEntry { ID_EDIT_COPY, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\nｺﾋﾟｰ" },
    StringEntry { ID_EDIT_CUT, "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\n切り取り" },
    StringEntry { 57636, "指定した文字列の検索\n検索" },
    StringEntry { ID_EDIT_PASTE, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け\n貼り付け" },
    StringEntry { 57640, "直前に行った動作を繰り返す\n繰り返し" },
    StringEntry { 57641, "指定した文字列を他の文字列で置換\n置換" },
    StringEntry { 57642, "ﾌｧｲﾙ内のすべてを選択\nすべて選択" },
    StringEntry { ID_EDIT_UNDO, "直前に行った動作を元に戻す\n元に戻す" },
    StringEntry { 57644, "直前に行った動作を繰り返す\n繰り返す" },
    StringEntry { 57653, "作業中のｳｨﾝﾄﾞｳを分割\n分割" },
    StringEntry { ID_APP_ABOUT, "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報" },
    StringEntry { ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了" },
    StringEntry { ID_NEXT_PANE, "次のｳｨﾝﾄﾞｳに切り替える\n次のﾍﾟｲﾝ" },
    StringEntry { ID_PREV_PANE, "前のｳｨﾝﾄﾞｳに切り替える\n前のﾍﾟｲﾝ" },
    StringEntry { 59136, "EXT" },
    StringEntry { ID_INDICATOR_CAPS, "CAP" },
    StringEntry { ID_INDICATOR_NUM, "NUM" },
    StringEntry { ID_INDICATOR_SCRL, "SCRL" },
    StringEntry { 59140, "上書" },
    StringEntry { 59141, "記録" },
    StringEntry { ID_INDICATOR_KANA, "ｶﾅ" },
    StringEntry { ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰの 表示/非表示\nﾂｰﾙ ﾊﾞｰの表示切り替え" },
    StringEntry { ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰの 表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示切り替え" },
    StringEntry { 61184, "ｳｨﾝﾄﾞｳのｻｲｽﾞを変更" },
    StringEntry { 61185, "ｳｨﾝﾄﾞｳの位置を変更" },
    StringEntry { 61186, "ｳｨﾝﾄﾞｳを最小化する" },
    StringEntry { 61187, "ｳｨﾝﾄﾞｳを最大化する" },
    StringEntry { 61188, "次のｳｨﾝﾄﾞｳに切り替える" },
    StringEntry { 61189, "前のｳｨﾝﾄﾞｳに切り替える" },
    StringEntry { 61190, "作業中のｳｨﾝﾄﾞｳを閉じ、変更したﾌｧｲﾙの保存を指示" },
    StringEntry { 61202, "ｳｨﾝﾄﾞｳを通常のｻｲｽﾞに戻す" },
    StringEntry { 61203, "ｱﾌﾟﾘｹｰｼｮﾝの切り替え" },
};

constexpr QChar kPromptSeparator = u'\n';

}

QString LoadResourceString(int id)
{
    const auto entry
        = std::find_if(kStringTable.begin(), kStringTable.end(), [id](const StringEntry& e) { return e.id == id; });
    return entry == kStringTable.end() ? QString() : QString::fromUtf8(entry->text);
}

QString CommandPrompt(int id)
{
    const QString text = LoadResourceString(id);
    return text.section(kPromptSeparator, 0, 0);
}

QString CommandToolTip(int id)
{
    const QString text = LoadResourceString(id);
    const qsizetype separator = text.indexOf(kPromptSeparator);
    return separator < 0 ? QString() : text.mid(separator + 1);
}

QIcon ApplicationIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/tavo-16.png"));
    icon.addFile(QStringLiteral(":/icons/tavo-32.png"));
    return icon;
}
