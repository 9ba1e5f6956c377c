// Replays files through a fuzz target's entry point, for the normal build:
// every argument is a file or a folder of files (not recursive). Fails when
// no file was found, so a lost corpus does not pass unnoticed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  // Exact-size heap copy, as libFuzzer hands inputs over.
  std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
  std::printf("replay %s (%zu bytes)\n", file.c_str(), input.size());
  std::fflush(stdout);
  LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t files = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path)) {
        if (!entry.is_regular_file()) continue;
        Replay(entry.path());
        ++files;
      }
    } else if (std::filesystem::is_regular_file(path)) {
      Replay(path);
      ++files;
    }
  }
  std::printf("%zu files replayed\n", files);
  return files > 0 ? 0 : 1;
}
