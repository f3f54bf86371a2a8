#pragma once
// The page "文件编码转换": converts the text of each marked file between the engine code
// page (GB18030, byte-identical to GBK for GBK's characters) and UTF-8, over the file
// itself. A file whose text would not survive the conversion is left as it is.

#include <string>
#include <string_view>

#include "content/content_frame.h"
#include "content/line_list.h"
#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

inline constexpr std::string_view kEncodingItemEmpty = "新文件格式为空,请输入后再试!";
// Further lines of the closing message, after the count of the files left alone.
inline constexpr std::string_view kAlreadyUtf8Note = " 个文件已是UTF-8编码，未处理";
inline constexpr std::string_view kNotUtf8Note = " 个文件不是UTF-8编码，未处理";
inline constexpr std::string_view kInvalidGbkNote = " 个文件含有无效的GBK字节，未处理";

struct EncodingSettings {  // the page's fields, engine text as typed
  std::string item;        // edtCharset: "${ToUtf8()}" or "${ToAnsi()}"
  bool backup = true;      // chkCharset
};

enum class Encoding { None, ToUtf8, ToAnsi };

// The conversion the field names. With "${" in it, the field from its third byte to its
// second-last is read as an item, whose name is the text before its first "(", in any
// letter case: "toutf8" or "toansi". Anything else names none.
Encoding EncodingNamed(std::string_view item);

// Why a file was left as it is.
enum class EncodingFault { None, AlreadyUtf8, NotUtf8, InvalidGbk };

// The converted lines of one file, each into `output`, or the reason it is not converted
// (output then incomplete, to be thrown away). ToUtf8 leaves a file that already is
// UTF-8: it has a byte-order mark, or bytes beyond ASCII that are well-formed UTF-8 (a
// file of ASCII alone is converted: its line breaks become CR LF). ToUtf8 also leaves a file
// with bytes that form no GB18030 character, and ToAnsi one that is no well-formed UTF-8,
// as converting them would lose those bytes. A byte-order mark is no part of the lines.
EncodingFault ConvertEncoding(const LineList& source, Encoding to, LineSink& output,
                              platform::Host* host = nullptr);

// The empty field refused; otherwise the mode, or none (null) when the field names no
// conversion: then nothing at all happens, not even a message.
fileset::Prepared<ContentMode> PrepareEncodingConversion(const EncodingSettings& settings);

// The run of the page; ToAnsi writes no byte-order mark, ToUtf8 finds none to keep. The
// closing message has a further line for each reason files were left unconverted.
fileset::RunEnd RunEncodingConversion(fileset::FileList& files, const EncodingSettings& settings,
                                      platform::Host& host);

}  // namespace content
