#include "convert/libreoffice.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "convert/conversion_item.h"
#include "convert/spreadsheet.h"
#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/file_bytes.h"
#include "platform/file_write.h"
#include "platform/watched_process.h"

namespace convert {
namespace {

// LibreOffice's character-set numbers (its names for them are not read).
constexpr int kUtf8 = 76;
constexpr int kGb18030 = 85;

constexpr char kTextFilter[] = "Text - txt - csv (StarCalc)";
// Enough for any real batch, and a crash costs at most this many files a second try.
constexpr std::size_t kFilesPerStart = 200;
// A start that prints nothing for this long is taken as hung. It prints a line per file,
// so a long batch of slow files is not cut short.
constexpr std::chrono::minutes kQuietLimit{10};

// Reading a comma-separated file: comma, double quote, character set, from line 1.
std::string CsvInFilter(int charset) { return "CSV:44,34," + std::to_string(charset) + ",1"; }

// What --convert-to is given, and the extension of the file it writes.
struct OutputFilter {
  std::string extension;
  std::string convertTo;
  bool needsTextInput = false;  // fails on a workbook read from xls or xlsx
  bool showsCells = false;      // writes each cell's text, not a value for a program
};

OutputFilter TextOutput(const char* extension, int separator) {
  return {extension,
          std::string(extension) + ":" + kTextFilter + ":" + std::to_string(separator) + ",34," +
              std::to_string(kGb18030),
          false, true};
}

// Letters and digits only: what soffice can be given as an extension and a file can carry
// into the private input folder.
bool IsPlainExtension(std::string_view extension) {
  if (extension.empty() || extension.size() > 16) return false;
  for (const char c : extension)
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

std::optional<OutputFilter> FilterForNumber(int fileFormat) {
  switch (fileFormat) {
    case file_format::kTabSeparatedText:
      return TextOutput("txt", 9);
    case file_format::kCommaSeparated:
      return TextOutput("csv", 44);
    case file_format::kWorkbook:
      return OutputFilter{"xls", "xls:MS Excel 97"};
    case file_format::kWebPage:
      return OutputFilter{"htm", "htm:HTML (StarCalc)", false, true};
    case file_format::kXmlSpreadsheet:
      return OutputFilter{"xml", "xml:MS Excel 2003 XML", true};
    default:
      return std::nullopt;
  }
}

std::optional<OutputFilter> FilterFor(std::optional<int> fileFormat, std::string_view extension) {
  if (fileFormat) return FilterForNumber(*fileFormat);
  // An extension the converter's table leaves out: the filter of the format it names when
  // we have one (xls from comma-separated text, csv from a workbook), else LibreOffice's
  // own choice for the extension.
  for (const int known :
       {file_format::kTabSeparatedText, file_format::kCommaSeparated, file_format::kWorkbook,
        file_format::kWebPage, file_format::kXmlSpreadsheet}) {
    std::optional<OutputFilter> filter = FilterForNumber(known);
    if (filter->extension == extension) return filter;
  }
  if (!IsPlainExtension(extension)) return std::nullopt;
  return OutputFilter{std::string(extension), std::string(extension)};
}

// The extension of a path's file name, as ExtensionOf gives it; empty when it has none.
std::string FileExtensionOf(const std::string& path) {
  const std::size_t nameStart = path.rfind('/') + 1;  // npos + 1 == 0
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return {};
  return ExtensionOf(std::string_view(path).substr(dot + 1));
}

struct Job {
  std::string source;    // absolute, native bytes
  std::string inFilter;  // empty: LibreOffice recognises the file itself
  platform::NativePath target;
  OutputFilter output;
};

class LibreOfficeApplication final : public SpreadsheetApplication {
 public:
  explicit LibreOfficeApplication(std::vector<Job>& jobs) : jobs_(jobs) {}

  // Headless LibreOffice shows nothing and asks nothing.
  void SetVisible(bool) override {}
  void SetDisplayAlerts(bool) override {}

  void OpenWorkbook(const platform::NativePath& source, SheetSource as) override {
    std::error_code error;
    std::string absolute = std::filesystem::absolute(source.bytes(), error).string();
    if (error) throw SpreadsheetError("cannot open " + source.bytes());
    try {
      const platform::FileBytes file(source, platform::FileBytes::Link::Follow);
      // A ".csv" file is comma-separated text whichever converter opens it, as the
      // application would take it by its extension.
      if (as == SheetSource::CommaSeparated || FileExtensionOf(source.bytes()) == "csv")
        inFilter_ = CsvInFilter(platform::IsUtf8(file.bytes()) ? kUtf8 : kGb18030);
    } catch (const platform::CommandError& e) {
      throw SpreadsheetError(e.what());
    }
    source_ = std::move(absolute);
  }
  void ActivateWorkbook() override {
    if (source_.empty()) throw SpreadsheetError("no workbook is open");
  }
  void SaveAs(const platform::NativePath& target, std::optional<int> fileFormat,
              std::string_view extension) override {
    if (source_.empty()) throw SpreadsheetError("no workbook is open");
    std::optional<OutputFilter> filter = FilterFor(fileFormat, extension);
    if (!filter) throw SpreadsheetError("no LibreOffice filter for the format asked for");
    jobs_.push_back({source_, inFilter_, target, std::move(*filter)});
  }
  void CloseWorkbook() override { source_.clear(); }
  void Quit() override {}

 private:
  std::vector<Job>& jobs_;
  std::string source_;
  std::string inFilter_;
};

// A file URL for LibreOffice's -env:UserInstallation.
std::string FileUrlOf(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (const unsigned char c : path) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
        c == '-' || c == '_' || c == '.' || c == '~') {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 0xF];
    }
  }
  return url;
}

// Reading comma-separated text into a workbook makes a number of every cell that looks
// like one, and some of them do not survive it: an identity-card or bank-card number has
// more digits than a number keeps (110101199003071234 comes back as 1.10101199003071E+17),
// "007" loses its zeros and "+8613800000000" its sign. Columns holding such a cell are
// read as text. For an output that shows the cells (text, web page) every column is: the
// cells then come out as they went in, not as LibreOffice would display their values
// ("1/2/2024" as "01/02/24", "1.50" as "1.5").
constexpr std::size_t kMostColumns = 1024;  // the width of a LibreOffice 7.4 sheet

bool LosesDigitsAsNumber(std::string_view cell) {
  std::size_t at = 0;
  const bool plus = !cell.empty() && cell[0] == '+';
  if (!cell.empty() && (cell[0] == '+' || cell[0] == '-')) at = 1;
  const std::size_t digits = cell.size() - at;
  if (digits == 0) return false;
  for (std::size_t i = at; i < cell.size(); ++i)
    if (cell[i] < '0' || cell[i] > '9') return false;
  return plus || digits > 15 || (digits > 1 && cell[at] == '0');
}

// Notes the width of a comma-separated text and the columns that must be read as text.
// Its bytes are UTF-8 or GB18030, whose multi-byte characters hold no comma, quote or
// line break.
void ScanCsv(std::string_view text, std::size_t& width, std::vector<bool>& asText) {
  std::size_t column = 0, at = 0;
  std::string cell;
  while (at <= text.size()) {
    cell.clear();
    if (at < text.size() && text[at] == '"') {  // quoted: "" is a quote, breaks are kept
      for (++at; at < text.size(); ++at) {
        if (text[at] != '"') {
          cell += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == '"') {
          cell += '"';
          ++at;
        } else {
          ++at;
          break;
        }
      }
    }
    while (at < text.size() && text[at] != ',' && text[at] != '\n') cell += text[at++];
    if (!cell.empty() && cell.back() == '\r') cell.pop_back();
    if (column < kMostColumns) {
      width = std::max(width, column + 1);
      if (asText.size() <= column) asText.resize(column + 1, false);
      if (LosesDigitsAsNumber(cell)) asText[column] = true;
    }
    if (at >= text.size()) break;
    column = text[at] == ',' ? column + 1 : 0;
    ++at;
  }
}

// One conversion step of a job: its file goes through one start of soffice.
struct Step {
  std::size_t job;
  std::string input;     // the file given to soffice
  std::string inFilter;  // without the column formats, which CsvColumnFormats adds
  OutputFilter output;
  bool last;  // its output is the job's new file
};

// The column formats that follow a CSV input filter for the files of one start:
// ",1/2/3/2" reads columns 1 and 3 as text. The columns are the same for every file, so
// a column is text when any file needs it.
std::string CsvColumnFormats(const std::vector<Step>& chunk) {
  std::size_t width = 0;
  std::vector<bool> asText;
  bool allText = false;
  for (const Step& step : chunk) {
    allText = allText || step.output.showsCells;
    try {
      const platform::FileBytes file(platform::NativePath(step.input),
                                     platform::FileBytes::Link::Follow);
      ScanCsv(file.bytes(), width, asText);
    } catch (const platform::CommandError&) {
      // Unreadable now: soffice will not read it either, and the file counts as failed.
    }
  }
  std::string formats;
  for (std::size_t column = 0; column < width; ++column)
    if (allText || asText[column]) formats += "/" + std::to_string(column + 1) + "/2";
  if (!formats.empty()) formats[0] = ',';
  return formats;
}

// A step whose output soffice wrote, at `output`.
struct Made {
  Step step;
  std::string output;
};

// The private folder of one Finish: the input links, a profile for each worker (two
// instances cannot share one), a folder for each start's outputs.
class Batch {
 public:
  Batch(std::string soffice, const std::vector<Job>& jobs)
      : soffice_(std::move(soffice)),
        jobs_(jobs),
        workers_(std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMostWorkers)),
        starts_(workers_, 0) {}
  ~Batch() {
    if (!folder_.empty()) {
      std::error_code ignored;  // a temporary folder left behind is no failure of the run
      std::filesystem::remove_all(folder_, ignored);
    }
  }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

  std::vector<bool> Run() {
    std::vector<bool> written(jobs_.size(), false);
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) return written;
    std::string pattern = (temporary / "tessaly-sheets-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return written;
    folder_ = pattern;
    std::filesystem::create_directory(folder_ + "/in", error);
    if (error) return written;

    std::vector<Step> steps, later;
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
      const Job& job = jobs_[i];
      const std::string extension = FileExtensionOf(job.source);
      const std::string link = folder_ + "/in/j" + std::to_string(i) +
                               (IsPlainExtension(extension) ? "." + extension : "");
      if (symlink(job.source.c_str(), link.c_str()) != 0) continue;
      if (job.output.needsTextInput && job.inFilter.empty()) {
        steps.push_back({i, link, "", TextOutput("csv", 44), false});
      } else {
        // A text input that goes straight to XML waits for the workbooks that reach XML
        // through text: they all share one start then.
        (job.output.needsTextInput ? later : steps)
            .push_back({i, link, job.inFilter, job.output, true});
      }
    }
    if (steps.empty()) steps = std::move(later);
    while (!steps.empty()) {
      std::vector<Made> made = ConvertAll(PlanStarts(std::move(steps)));
      steps = std::move(later);
      later.clear();
      // In row order: of two rows naming the same new file the later one's stays, as when
      // the rows are converted one after the other.
      std::sort(made.begin(), made.end(),
                [](const Made& a, const Made& b) { return a.step.job < b.step.job; });
      for (const Made& m : made) {
        const Job& job = jobs_[m.step.job];
        if (!m.step.last) {
          steps.push_back({m.step.job, m.output, CsvInFilter(kGb18030), job.output, true});
          continue;
        }
        try {
          const platform::FileBytes bytes{platform::NativePath(m.output)};
          platform::ReplaceFileContents(job.target, bytes.bytes());
          written[m.step.job] = true;
        } catch (const platform::CommandError&) {
          // The new path cannot be written (a read-only file, a folder we may not
          // write): the row does not count, and the file there stays as it was.
        }
      }
    }
    return written;
  }

 private:
  static constexpr std::size_t kMostWorkers = 4;  // each instance takes some 200 MB
  // Fewer files than this are not worth a second start, which costs near a second of CPU.
  static constexpr std::size_t kMinFilesPerShare = 8;

  // The starts of one round: steps with the same filters together, shared among the
  // workers when there are files enough.
  std::vector<std::vector<Step>> PlanStarts(std::vector<Step> steps) const {
    std::map<std::pair<std::string, std::string>, std::vector<Step>> groups;
    for (Step& step : steps)
      groups[{step.inFilter, step.output.convertTo}].push_back(std::move(step));
    std::vector<std::vector<Step>> starts;
    for (auto& [filters, group] : groups) {
      const std::size_t shares =
          std::clamp<std::size_t>(group.size() / kMinFilesPerShare, 1, workers_);
      const std::size_t size = std::min(kFilesPerStart, (group.size() + shares - 1) / shares);
      for (std::size_t from = 0; from < group.size(); from += size)
        starts.emplace_back(
            std::make_move_iterator(group.begin() + static_cast<std::ptrdiff_t>(from)),
            std::make_move_iterator(
                group.begin() + static_cast<std::ptrdiff_t>(std::min(group.size(), from + size))));
    }
    return starts;
  }

  // Runs the starts on the workers, each worker one start at a time.
  std::vector<Made> ConvertAll(const std::vector<std::vector<Step>>& starts) {
    std::vector<std::vector<Made>> made(starts.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&](std::size_t worker) {
      for (std::size_t i = next++; i < starts.size(); i = next++)
        made[i] = Convert(starts[i], worker);
    };
    {
      std::vector<std::jthread> helpers;
      for (std::size_t worker = 1; worker < std::min(workers_, starts.size()); ++worker)
        helpers.emplace_back(work, worker);
      work(0);
    }
    std::vector<Made> all;
    for (std::vector<Made>& some : made)
      all.insert(all.end(), std::make_move_iterator(some.begin()),
                 std::make_move_iterator(some.end()));
    return all;
  }

  // One start of soffice for `chunk` (steps with the same filters), on `worker`'s profile.
  std::vector<Made> Convert(const std::vector<Step>& chunk, std::size_t worker) {
    const std::string outFolder =
        folder_ + "/out" + std::to_string(worker) + "-" + std::to_string(starts_[worker]++);
    std::vector<std::string> arguments = {
        "--headless", "--norestore",
        "-env:UserInstallation=" + FileUrlOf(folder_ + "/profile" + std::to_string(worker))};
    if (!chunk.front().inFilter.empty())
      arguments.push_back("--infilter=" + chunk.front().inFilter + CsvColumnFormats(chunk));
    // soffice wants --outdir right after the output filter.
    for (const std::string& argument : {std::string("--convert-to"), chunk.front().output.convertTo,
                                        std::string("--outdir"), outFolder})
      arguments.push_back(argument);
    for (const Step& step : chunk) arguments.push_back(step.input);
    const platform::WatchedRun ended = platform::RunWatched(soffice_, arguments, kQuietLimit);

    std::vector<Made> made;
    if (!ended.clean) {
      // A crash may have cut any of the outputs short: none is trusted. One hung start is
      // enough; after a crash each file gets a start of its own, so that one bad input
      // does not cost the others.
      if (!ended.timedOut && chunk.size() > 1)
        for (const Step& step : chunk)
          for (Made& m : Convert({step}, worker)) made.push_back(std::move(m));
      return made;
    }
    for (const Step& step : chunk) {
      const std::string name = "j" + std::to_string(step.job) + "." + step.output.extension;
      std::string output = outFolder + "/" + name;
      struct stat st;
      if (lstat(output.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
          !NamedInError(ended.output, name))
        made.push_back({step, std::move(output)});
    }
    return made;
  }

  // True when a line starting "Error:" names the output `name` ("/j3.csv" followed by
  // no further character of a name).
  static bool NamedInError(const std::string& output, const std::string& name) {
    std::size_t line = 0;
    while (line < output.size()) {
      std::size_t end = output.find('\n', line);
      if (end == std::string::npos) end = output.size();
      const std::string_view text = std::string_view(output).substr(line, end - line);
      if (text.starts_with("Error:")) {
        for (std::size_t at = text.find("/" + name); at != std::string_view::npos;
             at = text.find("/" + name, at + 1)) {
          const std::size_t after = at + 1 + name.size();
          const char c = after < text.size() ? text[after] : '\0';
          if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.') return true;
        }
      }
      line = end + 1;
    }
    return false;
  }

  const std::string soffice_;
  const std::vector<Job>& jobs_;
  const std::size_t workers_;
  std::vector<int> starts_;  // each worker's, for the names of its output folders
  std::string folder_;
};

class LibreOfficeFactory final : public SpreadsheetFactory {
 public:
  std::unique_ptr<SpreadsheetApplication> Create() override {
    if (!searched_) {
      soffice_ = FindSoffice();
      searched_ = true;
    }
    if (!soffice_) return nullptr;
    return std::make_unique<LibreOfficeApplication>(jobs_);
  }

  std::vector<bool> Finish() override {
    std::vector<Job> jobs = std::move(jobs_);
    jobs_.clear();
    if (jobs.empty()) return {};
    Batch batch(*soffice_, jobs);
    return batch.Run();
  }

 private:
  bool searched_ = false;
  std::optional<std::string> soffice_;
  std::vector<Job> jobs_;
};

}  // namespace

std::optional<std::string> FindSoffice() {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  std::string_view rest = path;
  while (true) {
    const std::size_t colon = rest.find(':');
    std::string folder(rest.substr(0, colon));
    if (folder.empty()) folder = ".";  // an empty entry is the current folder
    const std::string candidate = folder + "/soffice";
    struct stat st;
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      std::error_code error;
      const std::filesystem::path absolute = std::filesystem::absolute(candidate, error);
      return error ? candidate : absolute.string();
    }
    if (colon == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(colon + 1);
  }
}

std::unique_ptr<SpreadsheetFactory> MakeLibreOfficeFactory() {
  return std::make_unique<LibreOfficeFactory>();
}

}  // namespace convert
