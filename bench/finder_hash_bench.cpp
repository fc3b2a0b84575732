// SHA-256 of a 1 GiB file through Finder's hash action (the shasum stand-in
// on OpenSSL, its output read back as the action reads it) against the
// system's sha256sum in the same run. The file is made once in a temporary
// folder and removed at the end; it is hashed from the page cache in both.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "finder/finder_file_operations.h"
#include "platform/desktop/pasteboard.h"
#include "platform/runtime/app_context.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
constexpr std::int64_t fileSize = std::int64_t(1) << 30;

// The file, made on first use and removed when the program ends.
class BigFile {
public:
    static const fs::path& path() {
        static BigFile file;
        return file.path_;
    }
    ~BigFile() { fs::remove_all(folder_); }

private:
    BigFile() {
        char pattern[] = "/tmp/tallowmere-hash-bench-XXXXXX";
        folder_ = ::mkdtemp(pattern);
        path_ = folder_ / "one-gibibyte.bin";
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char> block(1 << 20);
        for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>((i * 2654435761u) >> 13);
        for (std::int64_t written = 0; written < fileSize; written += static_cast<std::int64_t>(block.size())) {
            block[0] = static_cast<char>(written >> 20);  // no two blocks alike
            if (::write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) std::abort();
        }
        ::close(fd);
    }
    fs::path folder_;
    fs::path path_;
};

void hashActionSha256(benchmark::State& state) {
    const auto& file = BigFile::path();
    platform::AppContext context({.deterministic = true});
    auto& operations = FinderFileOperations::shared();
    for (auto _ : state) {
        operations.handle("hash-sha256", file.parent_path(), {file});
        context.mainQueue().runUntilIdle();
        benchmark::DoNotOptimize(platform::Pasteboard::general().string());
    }
    if (platform::Pasteboard::general().string().value_or("").size() != 64) state.SkipWithError("no digest");
    state.SetBytesProcessed(state.iterations() * fileSize);
}
BENCHMARK(hashActionSha256)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void sha256sumProgram(benchmark::State& state) {
    const std::string command = "sha256sum '" + BigFile::path().string() + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("sha256sum failed");
    }
    state.SetBytesProcessed(state.iterations() * fileSize);
}
BENCHMARK(sha256sumProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace
}  // namespace tallowmere
