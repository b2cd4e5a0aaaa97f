#include "app/RibbonMarkup.h"

#include "app/RibbonIds.h"

namespace {

QList<RibbonCommand> Commands()
{
    return {
        {cmdHelp, {}, {}, QStringLiteral("ヘルプ (F1)"), QStringLiteral("ヘルプを表示します。")},
        {cmdMRUList, QStringLiteral("最近追加したファイル、フォルダ"), {}, {}, {}},
        {cmdAppAddFile,
         QStringLiteral("ファイル追加(&F)"),
         {},
         QStringLiteral("ファイル追加"),
         QStringLiteral("画像ファイルを一覧に追加します。")},
        {cmdAppAddDir,
         QStringLiteral("フォルダ追加(&D)"),
         {},
         QStringLiteral("フォルダ追加"),
         QStringLiteral("フォルダ内の画像ファイルを一覧に追加します。")},
        {cmdAppHelp,
         QStringLiteral("ヘルプ(&H)"),
         {},
         QStringLiteral("ヘルプ"),
         QStringLiteral("ヘルプを表示します。")},
        {cmdAppAbout,
         QStringLiteral("バージョン情報(&A)"),
         {},
         QStringLiteral("バージョン情報"),
         QStringLiteral("バージョン情報を表示します。")},
        {cmdAppExit,
         QStringLiteral("終了(&X)"),
         {},
         QStringLiteral("終了"),
         QStringLiteral("プログラムを終了します。")},
        {tabHome, QStringLiteral("ホーム"), QStringLiteral("H"), {}, {}},
        {grpHomeClip, QStringLiteral("クリップボード"), {}, {}, {}},
        {cmdClipPaste, QStringLiteral("貼り付け\n"), QStringLiteral("V"), QStringLiteral("貼り付け (Ctrl+V)"),
         QStringLiteral("クリップボード内のファイルまたはフォルダを一覧に貼り付けます。")},
        {cmdClipCut, QStringLiteral("切り取り"), QStringLiteral("X"), QStringLiteral("切り取り (Ctrl+X)"),
         QStringLiteral("選択したファイルを一覧から切り取り、クリップボードに置きます。")},
        {cmdClipCopy, QStringLiteral("コピー"), QStringLiteral("C"), QStringLiteral("コピー (Ctrl+C)"),
         QStringLiteral("選択したファイルをクリップボードにコピーします。")},
        {grpHomeEdit, QStringLiteral("編集"), {}, {}, {}},
        {cmdEditDelete, QStringLiteral("削除\n"), QStringLiteral("D"), QStringLiteral("削除 (Delete)"),
         QStringLiteral("選択したファイルを一覧から削除します。")},
        {cmdEditClear, QStringLiteral("クリア\n"), QStringLiteral("L"), QStringLiteral("クリア"),
         QStringLiteral("選択したファイルの調整結果をクリアします。")},
        {cmdEditSelectAll, QStringLiteral("すべて\n選択"), QStringLiteral("A"), QStringLiteral("すべて選択 (Ctrl+A)"),
         QStringLiteral("一覧のすべてのファイルを選択します。")},
        {grpHomeAdj, QStringLiteral("調整"), {}, {}, {}},
        {cmdAdjPreviewSel, QStringLiteral("選択\nプレビュー\n"), QStringLiteral("P"), QStringLiteral("選択プレビュー"),
         QStringLiteral("選択したファイルを調整してプレビューします。ファイルは保存しません。")},
        {cmdAdjPreviewAll, QStringLiteral("すべて\nプレビュー\n"), QStringLiteral("W"),
         QStringLiteral("すべてプレビュー"),
         QStringLiteral("すべてのファイルを調整してプレビューします。ファイルは保存しません。")},
        {cmdAdjExecSel, QStringLiteral("選択\n実行\n"), QStringLiteral("E"), QStringLiteral("選択実行"),
         QStringLiteral("選択したファイルを調整して保存します。")},
        {cmdAdjExecAll, QStringLiteral("すべて\n実行\n"), QStringLiteral("G"), QStringLiteral("すべて実行"),
         QStringLiteral("すべてのファイルを調整して保存します。")},
        {cmdAdjCancel, QStringLiteral("中止\n"), QStringLiteral("S"), QStringLiteral("中止"),
         QStringLiteral("実行中の処理を中止します。")},
        {cmdAdjOption, QStringLiteral("オプション\n"), QStringLiteral("O"), QStringLiteral("オプション"),
         QStringLiteral("調整のオプションを設定します。")},
        {tabView, QStringLiteral("表示"), QStringLiteral("V"), {}, {}},
        {grpViewList, QStringLiteral("ファイル一覧"), {}, {}, {}},
        {cmdListItem, QStringLiteral("表示項目\n"), QStringLiteral("I"), QStringLiteral("表示項目"),
         QStringLiteral("一覧に表示する項目を選びます。")},
        {30, QStringLiteral("ファイル名"), {}, {}, {}},
        {31, QStringLiteral("ファイルパス"), {}, {}, {}},
        {32, QStringLiteral("ファイルサイズ"), {}, {}, {}},
        {33, QStringLiteral("ファイル更新日時"), {}, {}, {}},
        {34, QStringLiteral("ファイル種類"), {}, {}, {}},
        {35, QStringLiteral("元画像サイズ"), {}, {}, {}},
        {36, QStringLiteral("新画像サイズ"), {}, {}, {}},
        {37, QStringLiteral("自動調整"), {}, {}, {}},
        {38, QStringLiteral("個別指定"), {}, {}, {}},
        {39, QStringLiteral("元画像サムネイル"), {}, {}, {}},
        {40, QStringLiteral("新画像サムネイル"), {}, {}, {}},
        {cmdListLarge, QStringLiteral("大サムネイル"), QStringLiteral("L"), QStringLiteral("大サムネイル"),
         QStringLiteral("サムネイルを大きく表示します。")},
        {cmdListMedium, QStringLiteral("中サムネイル"), QStringLiteral("M"), QStringLiteral("中サムネイル"),
         QStringLiteral("サムネイルを中くらいの大きさで表示します。")},
        {cmdListSmall, QStringLiteral("小サムネイル"), QStringLiteral("S"), QStringLiteral("小サムネイル"),
         QStringLiteral("サムネイルを小さく表示します。")},
        {cmdListRefresh, QStringLiteral("更新\n"), QStringLiteral("R"), QStringLiteral("更新"),
         QStringLiteral("ファイルを読み込み直し、一覧を更新します。")},
        {grpViewPrev, QStringLiteral("プレビュー"), {}, {}, {}},
        {cmdViewOpenPreview, QStringLiteral("開く\n"), QStringLiteral("P"), QStringLiteral("プレビューを開く (Tab)"),
         QStringLiteral("プレビューウィンドウを開きます。")},
    };
}

RibbonControl Large(unsigned command)
{
    return {command, RibbonControlKind::LargeButton, {}};
}

RibbonControl Small(unsigned command)
{
    return {command, RibbonControlKind::SmallButton, {}};
}

RibbonTab HomeTab()
{
    return {tabHome,
            {{grpHomeClip, {Large(cmdClipPaste), Small(cmdClipCut), Small(cmdClipCopy)}},
             {grpHomeEdit, {Large(cmdEditDelete), Large(cmdEditClear), Large(cmdEditSelectAll)}},
             {grpHomeAdj,
              {Large(cmdAdjPreviewSel), Large(cmdAdjPreviewAll), Large(cmdAdjExecSel), Large(cmdAdjExecAll),
               Large(cmdAdjCancel), Large(cmdAdjOption)}}}};
}

RibbonTab ViewTab()
{
    QList<unsigned> columns;
    for (unsigned id = cmdItemFileName; id <= cmdItemDstThumb; ++id)
        columns.append(id);
    const auto toggle = [](unsigned command) { return RibbonControl{command, RibbonControlKind::SmallToggle, {}}; };
    return {tabView,
            {{grpViewList,
              {{cmdListItem, RibbonControlKind::CheckDropDown, columns},
               toggle(cmdListLarge),
               toggle(cmdListMedium),
               toggle(cmdListSmall),
               Large(cmdListRefresh)}},
             {grpViewPrev, {Large(cmdViewOpenPreview)}}}};
}

}  // namespace

RibbonMarkup CreateRibbonMarkup()
{
    RibbonMarkup markup;
    markup.commands = Commands();
    markup.tabs = {HomeTab(), ViewTab()};
    markup.applicationMenu = {cmdAppAddFile, cmdAppAddDir, cmdAppHelp, cmdAppAbout, cmdAppExit};
    markup.recentItems = cmdMRUList;
    markup.help = cmdHelp;
    return markup;
}
