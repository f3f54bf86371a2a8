#pragma once
// A fresh temporary folder for one test, removed afterwards unless the test failed (then
// its path is printed so it can be looked at).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace platform::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessaly-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    if (::testing::Test::HasFailure()) {
      std::fprintf(stderr, "test files kept in %s\n", path_.c_str());
    } else {
      std::error_code ignored;
      std::filesystem::remove_all(path_, ignored);
    }
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Absolute native (UTF-8) path of the folder, or of a path below it.
  const std::string& Path() const { return path_; }
  std::string Path(std::string_view relative) const { return path_ + "/" + std::string(relative); }

  // Creates a file (and its folders) with the given bytes; returns its path.
  std::string Write(std::string_view relative, std::string_view bytes = {}) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  std::string MakeFolder(std::string_view relative) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(path);
    return path;
  }
  std::string Read(std::string_view relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool Exists(std::string_view relative) const {
    return std::filesystem::exists(std::filesystem::symlink_status(Path(relative)));
  }

 private:
  std::string path_;
};

}  // namespace platform::testing
