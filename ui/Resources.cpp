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
    StringEntry { ID_EDIT_COPY, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\nｺﾋﾟｰ" },
    StringEntry { ID_EDIT_CUT, "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\n切り取り" },
    StringEntry { ID_EDIT_PASTE, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け\n貼り付け" },
    StringEntry { ID_EDIT_UNDO, "直前に行った動作を元に戻す\n元に戻す" },
    StringEntry { ID_APP_ABOUT, "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報" },
    StringEntry { ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了" },
    StringEntry { ID_NEXT_PANE, "次のｳｨﾝﾄﾞｳに切り替える\n次のﾍﾟｲﾝ" },
    StringEntry { ID_PREV_PANE, "前のｳｨﾝﾄﾞｳに切り替える\n前のﾍﾟｲﾝ" },
    StringEntry { ID_INDICATOR_CAPS, "CAP" },
    StringEntry { ID_INDICATOR_NUM, "NUM" },
    StringEntry { ID_INDICATOR_SCRL, "SCRL" },
    StringEntry { ID_INDICATOR_KANA, "ｶﾅ" },
    StringEntry { ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰの 表示/非表示\nﾂｰﾙ ﾊﾞｰの表示切り替え" },
    StringEntry { ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰの 表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示切り替え" },
};

}

QString LoadResourceString(int id)
{
    const auto entry
        = std::find_if(kStringTable.begin(), kStringTable.end(), [id](const StringEntry& e) { return e.id == id; });
    return entry == kStringTable.end() ? QString() : QString::fromUtf8(entry->text);
}

QIcon ApplicationIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/tavo-16.png"));
    icon.addFile(QStringLiteral(":/icons/tavo-32.png"));
    return icon;
}
