#pragma once

#include <zip.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "skin/ResourceArchive.h"

namespace velmora::test {

// Runs each test in a fresh empty current directory with a scripted prompter and empty
// global registries.
class SkinDirTest : public ::testing::Test {
protected:
    // Writes bytes to the relative path, making its folders.
    static void WriteFile(const std::string& path, const std::string& bytes) {
        const std::filesystem::path p = std::filesystem::path(path);
        if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }

    testing::SkinFolder folder_;
    ScriptedPrompter& prompter_ = folder_.prompter;
};

struct Member {
    std::string name;
    std::string bytes;
    bool encrypt = true;
};

// Writes a ZIP file with the members, encrypting with ZipCrypto under password.
inline void MakeZip(const std::string& path, const std::vector<Member>& members,
                    const char* password = "7305") {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const Member& m : members) {
        zip_source_t* src = zip_source_buffer(z, m.bytes.data(), m.bytes.size(), 0);
        const zip_int64_t idx = zip_file_add(z, m.name.c_str(), src, ZIP_FL_ENC_RAW);
        ASSERT_GE(idx, 0);
        if (m.encrypt) {
            ASSERT_EQ(zip_file_set_encryption(z, static_cast<zip_uint64_t>(idx), ZIP_EM_TRAD_PKWARE, password), 0);
        }
    }
    ASSERT_EQ(zip_close(z), 0);
}

// The whole content of a resource file as a string.
inline std::string ReadAll(ResourceFile* f) {
    if (!f) return "<null>";
    const std::vector<char> bytes = f->ReadAll();
    f->Seek(0);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace velmora::test
