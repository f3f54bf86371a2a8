#include "app/mode_table.h"

#include <QTabWidget>
#include <QWidget>

#include "content/content_preview.h"
#include "fileops/file_operation_preview.h"

namespace app {
namespace {

// Builds a page into its member of ModePages and names its start button and, where it
// has one, its template edit.
template <auto kPage, auto kBuild, auto kStart, auto kTemplateEdit = nullptr>
ModePage Build(QWidget* widget, ModePages& pages) {
  auto& page = pages.*kPage;
  page = kBuild(widget);
  if constexpr (kTemplateEdit == nullptr) {
    return {page.*kStart, nullptr};
  } else {
    return {page.*kStart, page.*kTemplateEdit};
  }
}

// A start handler: the page read into its settings, then the core run.
template <auto kPage, auto kRead, auto kRun>
fileset::RunEnd Start(const ModePages& pages, fileset::FileList& files, platform::Host& host) {
  return kRun(files, kRead(pages.*kPage), host);
}

// A preview handler: the page read into its settings, the mode prepared as for the run,
// and what its frame would do.
template <auto kPage, auto kRead, auto kPrepare, auto kFrame>
fileset::Preview PreviewOf(const ModePages& pages, fileset::FileList& files, platform::Host& host) {
  return fileset::PreviewPrepared(kPrepare(kRead(pages.*kPage)), host,
                                  [&](auto& mode) { return kFrame(files, host, mode); });
}

// A differences handler: the same, for the file of one row.
template <auto kPage, auto kRead, auto kPrepare, auto kDiff>
content::LineDiff DiffOf(const ModePages& pages, fileset::FileList& files, platform::Host& host,
                         int row) {
  content::LineDiff diff;
  fileset::RunPrepared(kPrepare(kRead(pages.*kPage)), host,
                       [&](auto& mode) { diff = kDiff(files, host, mode, row); });
  return diff;
}

template <auto kPage, auto kRead, auto kPrepare>
constexpr PreviewHandlers kContentPreview = {
    PreviewOf<kPage, kRead, kPrepare, &content::PreviewContentFrame>,
    DiffOf<kPage, kRead, kPrepare, &content::DiffContentFrame>};
template <auto kPage, auto kRead, auto kPrepare>
constexpr PreviewHandlers kFilePreview = {
    PreviewOf<kPage, kRead, kPrepare, &fileops::PreviewFileOperation>};
template <auto kPage, auto kRead, auto kPrepare>
constexpr PreviewHandlers kTwoFilePreview = {
    PreviewOf<kPage, kRead, kPrepare, &content::PreviewTwoFileFrame>,
    DiffOf<kPage, kRead, kPrepare, &content::DiffTwoFileFrame>};

constexpr PreviewHandlers kCombinePreview = {
    [](const ModePages&, fileset::FileList& files, platform::Host& host) {
      return content::PreviewCombine(files, host);
    },
    [](const ModePages&, fileset::FileList& files, platform::Host& host, int row) {
      return content::DiffCombine(files, host, row);
    }};

// A conversion writes new files, so it has no lines to compare.
constexpr PreviewHandlers kConvertPreview = {
    [](const ModePages& pages, fileset::FileList& files, platform::Host& host) {
      return convert::PreviewFormatConversion(files, ReadConvertPage(pages.convert), host);
    }};

// The encoding page changes every line's bytes, not its lines: no differences either.
constexpr PreviewHandlers kEncodingPreview = {
    PreviewOf<&ModePages::encoding, &ReadEncodingPage, &content::PrepareEncodingConversion,
              &content::PreviewContentFrame>};

// The start handlers, named after their buttons.
constexpr StartHandler btnExtClick =
    Start<&ModePages::ext, &ReadExtensionPage, &fileops::RunChangeExtension>;
constexpr StartHandler btnFilenameClick =
    Start<&ModePages::rename, &ReadRenamePage, &fileops::RunRename>;
constexpr StartHandler btnDateClick =
    Start<&ModePages::dates, &ReadDatesPage, &fileops::RunChangeDates>;
constexpr StartHandler btnPropClick =
    Start<&ModePages::attributes, &ReadAttributesPage, &fileops::RunChangeAttributes>;
constexpr StartHandler btnCutClick = Start<&ModePages::cut, &ReadCutPage, &content::RunCut>;
constexpr StartHandler btnInsClick =
    Start<&ModePages::insertChars, &ReadInsertCharsPage, &content::RunInsert>;
constexpr StartHandler btnDelLineClick =
    Start<&ModePages::deleteLines, &ReadDeleteLinesPage, &content::RunDeleteLines>;
constexpr StartHandler btnReplaceClick =
    Start<&ModePages::patternReplace, &ReadPatternReplacePage, &content::RunPatternReplace>;
constexpr StartHandler btnGetLineClick =
    Start<&ModePages::extractLines, &ReadExtractLinesPage, &content::RunExtractLines>;
constexpr StartHandler btnInsLineClick =
    Start<&ModePages::insertLines, &ReadInsertLinesPage, &content::RunInsertLines>;
constexpr StartHandler btnSynClick =
    Start<&ModePages::merge, &ReadKeywordMergePage, &content::RunKeywordMerge>;
constexpr StartHandler btnLineSynClick =
    Start<&ModePages::lineSync, &ReadLineSyncPage, &content::RunLineSync>;
constexpr StartHandler btnFileCombineClick =
    Start<&ModePages::combine, &ReadCombinePage, &content::RunCombineFiles>;

constexpr StartHandler btnCharsetClick =
    Start<&ModePages::encoding, &ReadEncodingPage, &content::RunEncodingConversion>;

// The format page converts spreadsheets through the program's one spreadsheet
// application.
fileset::RunEnd btnConvertClick(const ModePages& pages, fileset::FileList& files,
                                platform::Host& host) {
  static const std::unique_ptr<convert::SpreadsheetFactory> spreadsheets =
      convert::MakeLibreOfficeFactory();
  return convert::RunFormatConversion(files, ReadConvertPage(pages.convert), host, *spreadsheets);
}

// Statistics counts the grid's current row and shows its figures on its page.
fileset::RunEnd btnFileInfoClick(const ModePages& pages, fileset::FileList& files,
                                 platform::Host& host) {
  const StatisticsPage& page = pages.statistics;
  return content::RunFileStatistics(
      files, page.currentRow(), host,
      [&page](const content::FileStatistics& figures) { ShowStatistics(page, figures); });
}

// The extension and pattern pages have no template edit: there the clipboard serves.
constexpr ModeEntry kModes[] = {
    {"更改文件扩展名", "TabSheet7", "更改文件扩展名",
     Build<&ModePages::ext, &BuildExtensionPage, &ExtensionPage::btnExt>, btnExtClick,
     kFilePreview<&ModePages::ext, &ReadExtensionPage, &fileops::PrepareChangeExtension>},
    {"更改文件名称", "TabSheet8", "更改文件名称",
     Build<&ModePages::rename, &BuildRenamePage, &RenamePage::btnFilename,
           &RenamePage::edtNewFilename>,
     btnFilenameClick, kFilePreview<&ModePages::rename, &ReadRenamePage, &fileops::PrepareRename>},
    {"更改文件或目录日期", "TabSheet9", "更改文件或目录日期",
     Build<&ModePages::dates, &BuildDatesPage, &DatesPage::btnDate>, btnDateClick,
     kFilePreview<&ModePages::dates, &ReadDatesPage, &fileops::PrepareChangeDates>},
    {"更改文件或目录属性", "TabSheet10", "更改文件或目录属性",
     Build<&ModePages::attributes, &BuildAttributesPage, &AttributesPage::btnProp>, btnPropClick,
     kFilePreview<&ModePages::attributes, &ReadAttributesPage, &fileops::PrepareChangeAttributes>},
    {"文件信息统计",
     "ts3",
     "文件信息统计",
     Build<&ModePages::statistics, &BuildStatisticsPage, &StatisticsPage::btnFileInfo>,
     btnFileInfoClick,
     {}},
    {"合并关键字内容", "ts1", "合并关键字内容",
     Build<&ModePages::merge, &BuildKeywordMergePage, &KeywordMergePage::btnSyn>, btnSynClick,
     kTwoFilePreview<&ModePages::merge, &ReadKeywordMergePage, &content::PrepareKeywordMerge>},
    {"行内容截取字符", "ts2", "文本行内容截取",
     Build<&ModePages::cut, &BuildCutPage, &CutPage::btnCut, &CutPage::edtCutFormat>, btnCutClick,
     kContentPreview<&ModePages::cut, &ReadCutPage, &content::PrepareCut>},
    {"行内容插入字符", "ts4", "文本行内容插入",
     Build<&ModePages::insertChars, &BuildInsertCharsPage, &InsertCharsPage::btnIns,
           &InsertCharsPage::edtInsFormat>,
     btnInsClick,
     kContentPreview<&ModePages::insertChars, &ReadInsertCharsPage, &content::PrepareInsert>},
    {"行模式替换字符", "TabSheet1", "行模式替换",
     Build<&ModePages::patternReplace, &BuildPatternReplacePage, &PatternReplacePage::btnReplace>,
     btnReplaceClick,
     kContentPreview<&ModePages::patternReplace, &ReadPatternReplacePage,
                     &content::PreparePatternReplace>},
    {"内容按行删除", "TabSheet3", "内容按行删除",
     Build<&ModePages::deleteLines, &BuildDeleteLinesPage, &DeleteLinesPage::btnDelLine>,
     btnDelLineClick,
     kContentPreview<&ModePages::deleteLines, &ReadDeleteLinesPage, &content::PrepareDeleteLines>},
    {"内容按行提取", "TabSheet4", "内容按行提取",
     Build<&ModePages::extractLines, &BuildExtractLinesPage, &ExtractLinesPage::btnGetLine>,
     btnGetLineClick,
     kContentPreview<&ModePages::extractLines, &ReadExtractLinesPage,
                     &content::PrepareExtractLines>},
    {"按关键字同步行", "TabSheet6", "按关键字同步行",
     Build<&ModePages::lineSync, &BuildLineSyncPage, &LineSyncPage::btnLineSyn>, btnLineSynClick,
     kTwoFilePreview<&ModePages::lineSync, &ReadLineSyncPage, &content::PrepareLineSync>},
    {"内容插入新行", "TabSheet5", "内容插入新行",
     Build<&ModePages::insertLines, &BuildInsertLinesPage, &InsertLinesPage::btnInsLine,
           &InsertLinesPage::edtNewLineFormat>,
     btnInsLineClick,
     kContentPreview<&ModePages::insertLines, &ReadInsertLinesPage, &content::PrepareInsertLines>},
    {"文件内容合并", "TabSheet11", "文件内容合并",
     Build<&ModePages::combine, &BuildCombinePage, &CombinePage::btnFileCombine>,
     btnFileCombineClick, kCombinePreview},
    {"文件格式转换", "TabSheet12", "文件格式转换",
     Build<&ModePages::convert, &BuildConvertPage, &ConvertPage::btnConvert,
           &ConvertPage::edtFileFormat>,
     btnConvertClick, kConvertPreview},
    {"文件内容编码转换", "ts5", "文件编码转换",
     Build<&ModePages::encoding, &BuildEncodingPage, &EncodingPage::btnCharset>, btnCharsetClick,
     kEncodingPreview},
};

}  // namespace

std::span<const ModeEntry> ModeTable() { return kModes; }

std::vector<ModePage> AddModePages(QTabWidget* pgcOne, ModePages& pages) {
  std::vector<ModePage> built;
  for (const ModeEntry& mode : kModes) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(mode.pageName));
    built.push_back(mode.build(page, pages));
    pgcOne->addTab(page, QString::fromUtf8(mode.tabCaption));
  }
  return built;
}

}  // namespace app
