#include "test_support.h"

#include <fstream>
#include <sstream>

namespace planova::test {

std::filesystem::path FreshFolder(const std::string& name, bool withSample) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(PLANOVA_BINARY_DIR) / "test-folders" / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  if (withSample) {
    fs::copy(PLANOVA_SAMPLE_DIR, dir, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  return dir;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace planova::test
