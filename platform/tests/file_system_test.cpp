#include "platform/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace platform {
namespace {

namespace fs = std::filesystem;

const std::string kChineseUtf8 = "中文";
const std::string kChineseEngine = "\xD6\xD0\xCE\xC4";

// Owns a fresh folder under the system's temporary folder; kept when a test fails.
class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string folder = (fs::temp_directory_path() / "tessaly-platform-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr) << std::strerror(errno);
    root_ = folder;
  }

  void TearDown() override {
    if (HasFailure()) {
      std::cerr << "Test folder kept for inspection: " << root_ << "\n";
      return;
    }
    // Folders made read-only by a test would stop the removal for a user other than root.
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(root_, error))
      if (entry.is_directory(error) && !entry.is_symlink(error)) chmod(entry.path().c_str(), 0755);
    fs::remove_all(root_, error);
  }

  // Native (UTF-8) path of a name in the test folder.
  std::string Path(const std::string& name) const { return root_ + "/" + name; }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }

  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // False (and the test skipped by the caller) where the file system keeps no user xattrs.
  bool SetDosAttributes(const std::string& name, const std::string& value) const {
    if (setxattr(Path(name).c_str(), "user.DOSATTRIB", value.data(), value.size(), 0) == 0)
      return true;
    EXPECT_EQ(errno, ENOTSUP) << std::strerror(errno);
    return false;
  }

  static std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
    std::vector<std::string> names;
    for (const DirEntry& e : entries) names.push_back(e.name);
    return names;
  }

  std::string root_;  // ASCII, so engine text as it is
};

TEST_F(FileSystemTest, ListsInNtfsNameOrder) {
  struct Row {
    const char* name;
    std::vector<std::string> created;  // UTF-8
    std::vector<std::string> listed;   // engine text
  };
  // Upper-cased comparison puts "zeta" (Z = 0x5A) before "_x" (0x5F); lower-cased would not.
  const Row rows[] = {
      {"ascii_names", {"b", "A", "_x", "a1", "zeta"}, {"A", "a1", "b", "zeta", "_x"}},
      {"with_chinese",
       {"b", "A", "_x", "a1", kChineseUtf8, "zeta"},
       {"A", "a1", "b", "zeta", "_x", kChineseEngine}},
      {"full_width_sorts_by_code_unit",
       {"\xEF\xBD\x81", "b", "\xEF\xBC\xA2"},  // ａ, b, Ｂ: U+FF41 upper-cases to U+FF21
       {"b", "\xA3\xE1", "\xA3\xC2"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string folder = Path(row.name);
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    for (const std::string& name : row.created) std::ofstream(folder + "/" + name) << "x";
    EXPECT_EQ(Names(ListFolder(NativePath(folder), "*")), row.listed);
  }
}

TEST_F(FileSystemTest, ListsOnlyMatchingNames) {
  for (const char* name : {"a.TXT", "b.txt.bak", "c.txt", ".txt", "README", "txt"}) Write(name, "");
  Write(kChineseUtf8 + ".txt", "");
  ASSERT_EQ(mkdir(Path("d.txt").c_str(), 0755), 0);

  EXPECT_EQ(Names(ListFolder(NativePath(root_), "*.txt")),
            (std::vector<std::string>{".txt", "a.TXT", "c.txt", "d.txt", kChineseEngine + ".txt"}));
  EXPECT_EQ(Names(ListFolder(NativePath(root_), "*.*")),
            (std::vector<std::string>{".txt", "a.TXT", "b.txt.bak", "c.txt", "d.txt", "README",
                                      "txt", kChineseEngine + ".txt"}));
  EXPECT_EQ(Names(ListFolder(NativePath(root_), "??.txt")),
            (std::vector<std::string>{kChineseEngine + ".txt"}));
}

TEST_F(FileSystemTest, FolderThatCannotBeListedGivesNothing) {
  Write("file", "x");
  EXPECT_TRUE(ListFolder(NativePath(Path("missing")), "*").empty());
  EXPECT_TRUE(ListFolder(NativePath(Path("file")), "*").empty());
  EXPECT_TRUE(ListSubfolders(NativePath(Path("missing"))).empty());
}

struct AttributeRow {
  const char* name;
  std::string entry;  // UTF-8
  std::function<void(const std::string& path)> make;
  std::optional<std::string> dosAttributes;  // user.DOSATTRIB as stored
  std::uint32_t expected;
};

void MakeFile(const std::string& path) { std::ofstream(path) << "data"; }
void MakeReadOnlyFile(const std::string& path) {
  MakeFile(path);
  chmod(path.c_str(), 0444);
}
void MakeFolder(const std::string& path) { mkdir(path.c_str(), 0755); }

// The bytes of a literal, NUL bytes inside included.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

const std::string kSambaBlob = Bytes("0x22\0\3\0\3\0\21\0\0\0\42\0\0\0\40\0\0\0");
const std::string kLongValue = Bytes("0x2\0") + std::string(400, 'z');

const AttributeRow kAttributeRows[] = {
    {"plain_file_is_archive", "plain", MakeFile, std::nullopt, kArchive},
    {"no_write_bit_is_read_only", "readonly", MakeReadOnlyFile, std::nullopt, kReadOnly | kArchive},
    {"group_write_bit_is_writable", "groupw",
     [](const std::string& p) {
       MakeFile(p);
       chmod(p.c_str(), 0464);
     },
     std::nullopt, kArchive},
    {"other_write_bit_is_writable", "otherw",
     [](const std::string& p) {
       MakeFile(p);
       chmod(p.c_str(), 0402);
     },
     std::nullopt, kArchive},
    {"leading_dot_is_hidden", ".profile", MakeFile, std::nullopt, kHidden | kArchive},
    {"folder", "folder", MakeFolder, std::nullopt, kDirectory},
    {"hidden_folder", ".git", MakeFolder, std::nullopt, kDirectory | kHidden},
    {"read_only_folder", "rofolder",
     [](const std::string& p) {
       MakeFolder(p);
       chmod(p.c_str(), 0555);
     },
     std::nullopt, kDirectory | kReadOnly},
    {"symbolic_link_is_a_reparse_point", "link",
     [](const std::string& p) { (void)symlink("/", p.c_str()); }, std::nullopt, kReparsePoint},
    {"dangling_hidden_link", ".dangling",
     [](const std::string& p) { (void)symlink("nowhere", p.c_str()); }, std::nullopt,
     kReparsePoint | kHidden},
    {"pipe_is_a_device", "pipe", [](const std::string& p) { mkfifo(p.c_str(), 0644); },
     std::nullopt, kDevice},
    {"stored_hidden", "dos2", MakeFile, "0x2", kHidden},
    {"stored_read_only_is_ignored", "dos21", MakeFile, "0x21", kArchive},
    {"read_only_from_the_mode_bits", "dos6", MakeReadOnlyFile, "0x6",
     kReadOnly | kHidden | kSystem},
    {"other_bits_as_stored", "dos100", MakeFile, "0x100", 0x100},
    {"trailing_nul", "dosnul", MakeFile, Bytes("0x22\0"), kHidden | kArchive},
    {"upper_case_hex", "dosupper", MakeFile, "0X2A", kHidden | kVolumeLabel | kArchive},
    {"stored_zero_overrides_the_dot", ".doszero", MakeFile, "0x0", 0},
    {"samba_binary_copy_after_the_text", "dossamba", MakeFile, kSambaBlob, kHidden | kArchive},
    {"value_longer_than_the_first_read", "doslong", MakeFile, kLongValue, kHidden},
    {"type_bits_come_from_the_file", "dostype", MakeFile, "0x451", 0},
    {"stored_on_a_folder", "dosfolder", MakeFolder, "0x2", kDirectory | kHidden},
    {"unreadable_value_counts_as_absent", "dosjunk", MakeFile, "hidden", kArchive},
    {"hex_digits_only", "dosbad", MakeFile, "0x2g", kArchive},
};

TEST_F(FileSystemTest, AttributesFromModeBitsAndDosAttributes) {
  for (const AttributeRow& row : kAttributeRows) {
    SCOPED_TRACE(row.name);
    const std::string path = Path(row.entry);
    row.make(path);
    if (row.dosAttributes && !SetDosAttributes(row.entry, *row.dosAttributes))
      GTEST_SKIP() << "the file system of " << root_ << " keeps no user extended attributes";
  }
  const std::vector<DirEntry> listed = ListFolder(NativePath(root_), "*");
  ASSERT_EQ(listed.size(), std::size(kAttributeRows));
  for (const AttributeRow& row : kAttributeRows) {
    SCOPED_TRACE(row.name);
    const auto found = std::find_if(listed.begin(), listed.end(),
                                    [&](const DirEntry& e) { return e.name == row.entry; });
    ASSERT_NE(found, listed.end());
    EXPECT_EQ(found->attributes, row.expected);
    const std::optional<DirEntry> read = ReadEntry(NativePath(Path(row.entry)));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->attributes, row.expected);
  }
}

TEST_F(FileSystemTest, EntryHoldsSizeAndTimes) {
  const std::time_t before = std::time(nullptr);
  Write("data", "0123456789");
  const std::time_t after = std::time(nullptr);
  const timespec times[2] = {{1000000000, 123456789}, {1200000000, 5}};
  ASSERT_EQ(utimensat(AT_FDCWD, Path("data").c_str(), times, 0), 0);

  const std::vector<DirEntry> listed = ListFolder(NativePath(root_), "data");
  ASSERT_EQ(listed.size(), 1u);
  const DirEntry& e = listed[0];
  EXPECT_EQ(e.size, 10);
  EXPECT_EQ(e.lastAccess.seconds, 1000000000);
  EXPECT_EQ(e.lastAccess.nanoseconds, 123456789);
  EXPECT_EQ(e.lastWrite.seconds, 1200000000);
  EXPECT_EQ(e.lastWrite.nanoseconds, 5);
  // Birth time (or change time): when the file was made, not the times set afterwards.
  EXPECT_GE(e.creation.seconds, before - 1);
  EXPECT_LE(e.creation.seconds, after + 1);
}

TEST_F(FileSystemTest, SizeOfAFileOverFourGibibytes) {
  constexpr std::int64_t kSize = std::int64_t{5} << 30;
  const int fd = open(Path("sparse").c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, kSize), 0);
  close(fd);
  const std::vector<DirEntry> listed = ListFolder(NativePath(root_), "*");
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].size, kSize);
  EXPECT_EQ(ReadEntry(NativePath(Path("sparse")))->size, kSize);
}

TEST_F(FileSystemTest, SubfoldersAreRealFoldersInNameOrder) {
  for (const char* name : {"zeta", "B", "a", ".hidden", "_under"})
    ASSERT_EQ(mkdir(Path(name).c_str(), 0755), 0);
  ASSERT_EQ(mkdir(Path(kChineseUtf8).c_str(), 0555), 0);
  Write("c", "file");
  Write("afile", "file");
  ASSERT_EQ(symlink(Path("a").c_str(), Path("link").c_str()), 0);

  const std::vector<SubfolderEntry> folders = ListSubfolders(NativePath(root_));
  std::vector<std::string> names;
  std::vector<std::uint32_t> attributes;
  for (const SubfolderEntry& f : folders) {
    names.push_back(f.name);
    attributes.push_back(f.attributes);
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{".hidden", "a", "B", "zeta", "_under", kChineseEngine}));
  EXPECT_EQ(attributes,
            (std::vector<std::uint32_t>{kDirectory | kHidden, kDirectory, kDirectory, kDirectory,
                                        kDirectory, kDirectory | kReadOnly}));
}

TEST_F(FileSystemTest, OneReadGivesBothListings) {
  for (const char* name : {"docs.txt", "src", kChineseUtf8.c_str()})
    ASSERT_EQ(mkdir(Path(name).c_str(), 0755), 0);
  Write("a.txt", "");
  Write("B.TXT", "");
  Write("c.md", "");
  ASSERT_EQ(symlink(Path("src").c_str(), Path("link.txt").c_str()), 0);

  const FolderListing listing = ListFolderAndSubfolders(NativePath(root_), "*.txt");
  const std::vector<DirEntry> entries = ListFolder(NativePath(root_), "*.txt");
  const std::vector<SubfolderEntry> subfolders = ListSubfolders(NativePath(root_));
  EXPECT_EQ(Names(listing.entries),
            (std::vector<std::string>{"a.txt", "B.TXT", "docs.txt", "link.txt"}));
  EXPECT_EQ(Names(listing.entries), Names(entries));
  for (std::size_t i = 0; i < entries.size() && i < listing.entries.size(); ++i)
    EXPECT_EQ(listing.entries[i].attributes, entries[i].attributes) << entries[i].name;

  std::vector<std::string> names;
  for (const SubfolderEntry& f : listing.subfolders) names.push_back(f.name);
  EXPECT_EQ(names, (std::vector<std::string>{"docs.txt", "src", kChineseEngine}));
  ASSERT_EQ(subfolders.size(), listing.subfolders.size());
  for (std::size_t i = 0; i < subfolders.size(); ++i) {
    EXPECT_EQ(listing.subfolders[i].name, subfolders[i].name);
    EXPECT_EQ(listing.subfolders[i].attributes, subfolders[i].attributes);
  }
}

TEST_F(FileSystemTest, ReadEntryNamesTheLastComponent) {
  Write(kChineseUtf8 + ".txt", "abc");
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink("target-of-link", Path("link").c_str()), 0);

  const std::optional<DirEntry> file = ReadEntry(NativePath(root_ + "/" + kChineseUtf8 + ".txt"));
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->name, kChineseEngine + ".txt");
  EXPECT_EQ(file->NativeName(), kChineseUtf8 + ".txt");
  EXPECT_EQ(file->size, 3);
  EXPECT_EQ(file->attributes, kArchive);

  const std::optional<DirEntry> folder = ReadEntry(NativePath(Path("sub") + "/"));
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder->name, "sub");
  EXPECT_EQ(folder->attributes, kDirectory);

  const std::optional<DirEntry> link = ReadEntry(NativePath(Path("link")));
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->attributes, kReparsePoint);
  EXPECT_EQ(link->size, 14);  // the link itself, not followed

  EXPECT_FALSE(ReadEntry(NativePath(Path("missing"))).has_value());
  EXPECT_FALSE(ReadEntry(NativePath("")).has_value());
}

TEST_F(FileSystemTest, RenameNeverReplacesAnExistingFile) {
  Write("first", "first contents\n");
  Write("second", "second\r\ncontents");
  EXPECT_FALSE(RenameNoReplace(NativePath(root_), "first", "second"));
  EXPECT_EQ(Read("first"), "first contents\n");
  EXPECT_EQ(Read("second"), "second\r\ncontents");
}

TEST_F(FileSystemTest, RenameRefusesNamesOutsideTheFolder) {
  ASSERT_EQ(mkdir(Path("a").c_str(), 0755), 0);
  Write("file", "contents");
  struct Row {
    const char* name;
    std::string newName;
  };
  const Row rows[] = {
      {"empty", ""},
      {"separator", "a/b"},
      {"separator_at_the_end", "b/"},
      {"nul_byte", std::string("b\0c", 3)},
      {"dot", "."},
      {"dot_dot", ".."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_FALSE(RenameNoReplace(NativePath(root_), "file", row.newName));
    EXPECT_EQ(Read("file"), "contents");
  }
  EXPECT_EQ(Names(ListFolder(NativePath(root_), "*")), (std::vector<std::string>{"a", "file"}));
  EXPECT_TRUE(ListFolder(NativePath(Path("a")), "*").empty());
}

TEST_F(FileSystemTest, RenameIntoAChineseName) {
  Write("report.txt", "bytes\x01\xFF");
  EXPECT_TRUE(RenameNoReplace(NativePath(root_), "report.txt", "报告.txt"));
  EXPECT_EQ(Read("报告.txt"), "bytes\x01\xFF");
  EXPECT_FALSE(fs::exists(Path("report.txt")));
}

TEST_F(FileSystemTest, RenameAFolderAndAMissingName) {
  ASSERT_EQ(mkdir(Path("old").c_str(), 0755), 0);
  EXPECT_TRUE(RenameNoReplace(NativePath(root_), "old", "new"));
  EXPECT_TRUE(fs::is_directory(Path("new")));
  EXPECT_FALSE(RenameNoReplace(NativePath(root_), "missing", "other"));
  EXPECT_FALSE(fs::exists(Path("other")));
}

TEST_F(FileSystemTest, ReadOnlyIsTheAbsenceOfEveryWriteBit) {
  struct Row {
    const char* name;
    mode_t mode;
    bool expected;
  };
  const Row rows[] = {
      {"r--r--r--", 0444, true},  {"---------", 0, true},     {"rw-r--r--", 0644, false},
      {"-w-------", 0200, false}, {"----w----", 0020, false}, {"-------w-", 0002, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Write("f", "");
    ASSERT_EQ(chmod(Path("f").c_str(), row.mode), 0);
    EXPECT_EQ(IsReadOnly(NativePath(Path("f"))), row.expected);
  }
  ASSERT_EQ(chmod(Path("f").c_str(), 0444), 0);
  ASSERT_EQ(symlink(Path("f").c_str(), Path("link").c_str()), 0);
  EXPECT_TRUE(IsReadOnly(NativePath(Path("link"))));  // the file a save would write
  EXPECT_FALSE(IsReadOnly(NativePath(Path("missing"))));
}

TEST(JoinPathTest, JoinsWithOneSeparatorExactly) {
  struct Row {
    const char* name;
    std::string folder, file, expected;
  };
  const Row rows[] = {
      {"plain", "/home/u", "a.txt", "/home/u/a.txt"},
      {"folder_ending_in_separator", "/home/u/", "a.txt", "/home/u//a.txt"},
      {"empty_folder_is_the_root", "", "a.txt", "/a.txt"},
      {"chinese", "/" + kChineseEngine, kChineseEngine,
       "/" + kChineseEngine + "/" + kChineseEngine},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(JoinPath(row.folder, row.file), row.expected);
  }
}

}  // namespace
}  // namespace platform
