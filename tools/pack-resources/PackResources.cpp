// Packs folders into Resource.bk2: a ZIP whose members are named with "\" and encrypted
// with ZipCrypto under the program's password.
//   pack-resources <out.bk2> <prefix> <folder> [<prefix> <folder> ...]
// Every file under <folder> (recursively) becomes the member <prefix>\<relative path>.
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPassword = "7305";

int Fail(const std::string& what, zip_t* z = nullptr) {
    std::fprintf(stderr, "pack-resources: %s%s%s\n", what.c_str(), z ? ": " : "",
                 z ? zip_strerror(z) : "");
    if (z) zip_discard(z);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: pack-resources <out.bk2> <prefix> <folder> [...]\n");
        return 2;
    }
    struct Entry {
        std::string member;
        fs::path file;
    };
    std::vector<Entry> entries;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string prefix = argv[i];
        const fs::path root = fs::path(argv[i + 1]);
        if (!fs::is_directory(root)) return Fail("not a folder: " + root.string());
        for (const auto& it : fs::recursive_directory_iterator(root)) {
            if (!it.is_regular_file()) continue;
            std::string rel = fs::relative(it.path(), root).generic_string();
            std::replace(rel.begin(), rel.end(), '/', '\\');
            entries.push_back({prefix + "\\" + rel, it.path()});
        }
    }
    // A fixed order keeps the archive the same from build to build.
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.member < b.member; });

    const fs::path out = fs::path(argv[1]);
    const fs::path tmp = fs::path(out.string() + ".tmp");
    fs::remove(tmp);
    int error = 0;
    zip_t* z = zip_open(tmp.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!z) return Fail("cannot create " + tmp.string());
    for (const Entry& e : entries) {
        zip_source_t* src = zip_source_file(z, e.file.string().c_str(), 0, -1);
        if (!src) return Fail("cannot read " + e.file.string(), z);
        const zip_int64_t idx = zip_file_add(z, e.member.c_str(), src, ZIP_FL_ENC_UTF_8);
        if (idx < 0) {
            zip_source_free(src);
            return Fail("cannot add " + e.member, z);
        }
        const auto i = static_cast<zip_uint64_t>(idx);
        // Members keep their files' times: libzip takes the ZipCrypto check byte from the
        // source's time, so changing the time afterwards makes the password look wrong.
        if (zip_set_file_compression(z, i, ZIP_CM_DEFLATE, 9) != 0 ||
            zip_file_set_encryption(z, i, ZIP_EM_TRAD_PKWARE, kPassword) != 0)
            return Fail("cannot encrypt " + e.member, z);
    }
    if (zip_close(z) != 0) return Fail("cannot write " + tmp.string(), z);
    fs::rename(tmp, out);
    std::printf("pack-resources: %zu files into %s\n", entries.size(), out.string().c_str());
    return 0;
}
