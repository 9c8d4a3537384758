#pragma once
// Running the command-line companion in the test process, and files in a
// private temporary folder that goes with the test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/rasp/RaspCli.h"

namespace rasp::testing {

struct TRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline TRun RunCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    TRun run;
    run.status = RunRasp(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

class TTempFolder {
public:
    TTempFolder() {
        std::string pattern = ::testing::TempDir() + "rasp_test_XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        FPath = pattern;
    }
    ~TTempFolder() {
        std::error_code ignored;
        // Folders a test locked must be opened again before they can go.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(
                 FPath, std::filesystem::directory_options::skip_permission_denied, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow,
                                         ignored);
        std::filesystem::remove_all(FPath, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Path() const { return FPath; }
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = FPath + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

private:
    std::string FPath;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Words w0 w1 ... as distinct as the numbers.
inline std::string Numbered(int from, int to, const std::string& prefix = "w") {
    std::string text;
    for (int k = from; k < to; ++k) text += (text.empty() ? "" : " ") + prefix + std::to_string(k);
    return text;
}

}  // namespace rasp::testing
