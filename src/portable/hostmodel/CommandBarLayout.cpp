#include "portable/hostmodel/CommandBarLayout.h"

#include "portable/hostmodel/CommandBarCustomization.h"

namespace sendnote::hostmodel {
namespace {

CommandBarControlDescription Button(int16_t id, std::u16string caption) {
  return {kControlButton, id, std::move(caption), {}};
}

CommandBarControlDescription Popup(int16_t id, std::u16string caption,
                                   std::vector<CommandBarControlDescription> children) {
  return {kControlPopup, id, std::move(caption), std::move(children)};
}

CommandBarControlDescription FileMenu() {
  return Popup(30002, u"ファイル(&F)",
               {Popup(30037, u"新規作成(&W)", {Button(1757, u"メッセージ(&M)")}),
                Button(748, u"名前を付けて保存(&A)..."), Button(4, u"印刷(&P)..."),
                Button(752, u"終了(&X)")});
}

CommandBarControlDescription HelpMenu() {
  return Popup(30010, u"ヘルプ(&H)", {Button(984, u"Microsoft Outlook ヘルプ(&H)")});
}

}  // namespace

CommandBarLayout ExplorerCommandBarLayout() {
  return {
      {u"Menu Bar",
       {FileMenu(),
        Popup(30003, u"編集(&E)", {Button(21, u"切り取り(&T)"), Button(19, u"コピー(&C)")}),
        Popup(30004, u"表示(&V)", {Button(1981, u"フォルダ一覧(&F)")}),
        Popup(30007, u"ツール(&T)",
              {Button(5576, u"送受信(&E)"), Button(522, u"オプション(&O)...")}),
        Popup(kExplorerActionsMenuId, u"アクション(&A)",
              {Button(1992, u"新しい連絡先(&N)"), Button(1993, u"新しい配布リスト(&L)")}),
        HelpMenu()}},
      {u"Standard", {Button(1757, u"新規作成"), Button(4, u"印刷"), Button(478, u"削除")}},
  };
}

CommandBarLayout ContactInspectorCommandBarLayout() {
  return {
      {u"Menu Bar",
       {FileMenu(),
        Popup(30003, u"編集(&E)", {Button(21, u"切り取り(&T)"), Button(19, u"コピー(&C)")}),
        Popup(30007, u"ツール(&T)", {Button(2, u"スペル チェック(&S)...")}),
        Popup(kContactActionsMenuId, u"アクション(&A)",
              {Button(1992, u"新しい連絡先(&N)"), Button(1994, u"連絡先の転送(&W)")}),
        HelpMenu()}},
      {u"Standard", {Button(3, u"保存して閉じる(&V)"), Button(4, u"印刷")}},
  };
}

CommandBarLayout ItemInspectorCommandBarLayout() {
  return {
      {u"Menu Bar",
       {FileMenu(),
        Popup(30003, u"編集(&E)", {Button(21, u"切り取り(&T)"), Button(19, u"コピー(&C)")}),
        Popup(30131, u"アクション(&A)", {Button(354, u"返信(&R)"), Button(356, u"転送(&W)")}),
        HelpMenu()}},
      {u"Standard", {Button(2617, u"送信(&S)"), Button(4, u"印刷")}},
  };
}

}  // namespace sendnote::hostmodel
