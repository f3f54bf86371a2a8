#include "app/pages/mode_pages.h"

#include <QTabWidget>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace app {
namespace {

// Adds one page, named and captioned as its mode, and fills it with `build`.
template <typename Page>
Page AddPage(QTabWidget* pgcOne, const QString& name, const QString& caption,
             Page (*build)(QWidget*)) {
  auto* page = new QWidget;
  page->setObjectName(name);
  Page built = build(page);
  pgcOne->addTab(page, caption);
  return built;
}

}  // namespace

void BuildModePages(QTabWidget* pgcOne, ModePages& pages) {
  // Page index = mode index = entry of cmbOpt. Four tab captions differ from their
  // entries (6, 7, 8, 15).
  pages.ext = AddPage(pgcOne, u"TabSheet7"_s, u"更改文件扩展名"_s, &BuildExtensionPage);
  pages.rename = AddPage(pgcOne, u"TabSheet8"_s, u"更改文件名称"_s, &BuildRenamePage);
  pages.dates = AddPage(pgcOne, u"TabSheet9"_s, u"更改文件或目录日期"_s, &BuildDatesPage);
  pages.attributes =
      AddPage(pgcOne, u"TabSheet10"_s, u"更改文件或目录属性"_s, &BuildAttributesPage);
  pages.statistics = AddPage(pgcOne, u"ts3"_s, u"文件信息统计"_s, &BuildStatisticsPage);
  pages.merge = AddPage(pgcOne, u"ts1"_s, u"合并关键字内容"_s, &BuildKeywordMergePage);
  pages.cut = AddPage(pgcOne, u"ts2"_s, u"文本行内容截取"_s, &BuildCutPage);
  pages.insertChars = AddPage(pgcOne, u"ts4"_s, u"文本行内容插入"_s, &BuildInsertCharsPage);
  pages.patternReplace = AddPage(pgcOne, u"TabSheet1"_s, u"行模式替换"_s, &BuildPatternReplacePage);
  pages.deleteLines = AddPage(pgcOne, u"TabSheet3"_s, u"内容按行删除"_s, &BuildDeleteLinesPage);
  pages.extractLines = AddPage(pgcOne, u"TabSheet4"_s, u"内容按行提取"_s, &BuildExtractLinesPage);
  pages.lineSync = AddPage(pgcOne, u"TabSheet6"_s, u"按关键字同步行"_s, &BuildLineSyncPage);
  pages.insertLines = AddPage(pgcOne, u"TabSheet5"_s, u"内容插入新行"_s, &BuildInsertLinesPage);
  pages.combine = AddPage(pgcOne, u"TabSheet11"_s, u"文件内容合并"_s, &BuildCombinePage);
  pages.convert = AddPage(pgcOne, u"TabSheet12"_s, u"文件格式转换"_s, &BuildConvertPage);
  pages.encoding = AddPage(pgcOne, u"ts5"_s, u"文件编码转换"_s, &BuildEncodingPage);
}

std::array<QPushButton*, 16> ModePages::StartButtons() const {
  return {ext.btnExt,
          rename.btnFilename,
          dates.btnDate,
          attributes.btnProp,
          statistics.btnFileInfo,
          merge.btnSyn,
          cut.btnCut,
          insertChars.btnIns,
          patternReplace.btnReplace,
          deleteLines.btnDelLine,
          extractLines.btnGetLine,
          lineSync.btnLineSyn,
          insertLines.btnInsLine,
          combine.btnFileCombine,
          convert.btnConvert,
          encoding.btnCharset};
}

QLineEdit* ModePages::TemplateEdit(int pageIndex) const {
  switch (pageIndex) {
    case 1:
      return rename.edtNewFilename;
    case 6:
      return cut.edtCutFormat;
    case 7:
      return insertChars.edtInsFormat;
    case 12:
      return insertLines.edtNewLineFormat;
    case 14:
      return convert.edtFileFormat;
    default:
      return nullptr;  // the extension and pattern pages included: the clipboard serves
  }
}

}  // namespace app
