// The mode chooser and the start buttons of the batch modes.

#include "app/engine_qstring.h"
#include "app/form1.h"
#include "fileops/change_extension.h"

namespace app {

void TForm1::cmbOptChange() { ShowModePage(cmbOpt->currentIndex(), -1); }

void TForm1::ShowModePage(int first, int second) {
  for (int page = 0; page < pgcOne->count(); ++page)
    pgcOne->setTabVisible(page, page == first || page == second);
  if (first >= 0 && first < pgcOne->count()) pgcOne->setCurrentIndex(first);
}

std::array<TForm1::Handler, 16> TForm1::StartHandlers() {
  return {
      &TForm1::btnExtClick,  // 0 更改文件扩展名
      &TForm1::btnFilenameClick,  // 1 更改文件名称
      &TForm1::btnDateClick,      // 2 更改文件或目录日期
      &TForm1::btnPropClick,      // 3 更改文件或目录属性
      nullptr,               // 4 文件信息统计
      nullptr,               // 5 合并关键字内容
      &TForm1::btnCutClick,       // 6 行内容截取字符
      &TForm1::btnInsClick,       // 7 行内容插入字符
      nullptr,               // 8 行模式替换字符
      &TForm1::btnDelLineClick,   // 9 内容按行删除
      nullptr,               // 10 内容按行提取
      nullptr,               // 11 按关键字同步行
      nullptr,               // 12 内容插入新行
      nullptr,               // 13 文件内容合并
      nullptr,               // 14 文件格式转换
      nullptr,               // 15 文件内容编码转换
  };
}

void TForm1::btnExtClick() {
  RunCommand(pages_.ext.btnExt, [this] {
    if (!CheckRunPrecondition()) return;
    const fileops::ChangeExtensionSettings settings{ToEngine(pages_.ext.edtNewExt->text())};
    fileops::RunChangeExtension(files_, settings, host_);
  });
}

void TForm1::StartButtonClick(int mode) {
  // The runs of these modes are not built yet; the check every start makes is.
  RunCommand(pages_.StartButtons()[static_cast<std::size_t>(mode)],
             [this] { CheckRunPrecondition(); });
}

}  // namespace app
