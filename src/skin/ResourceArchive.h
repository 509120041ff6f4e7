#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Surface.h"

typedef struct zip zip_t;

namespace velmora {

// A file found by the resource lookup: a disk file open for reading, or the whole
// uncompressed content of an archive member. Owned by ResourceArchive for the whole run.
class ResourceFile {
public:
    // A disk file (takes ownership of fp) or an in-memory file holding bytes.
    explicit ResourceFile(std::FILE* fp);
    explicit ResourceFile(std::vector<char> bytes);
    ~ResourceFile();
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;

    // Length in bytes.
    int64_t Length() const;
    // Moves to an absolute offset (clamped to 0..Length); false when it cannot.
    bool Seek(int64_t offset);
    // Reads up to n bytes into buf at the current position; returns the bytes read.
    int64_t Read(void* buf, int64_t n);
    // Everything from offset 0 to the end; leaves the position at the end.
    std::vector<char> ReadAll();

private:
    std::FILE* fp_ = nullptr;
    std::vector<char> bytes_;
    int64_t pos_ = 0;
};

// Turns a skin name such as "Skin\MainWnd.xml" into an open file: first on disk under
// Resource/, Windows/ and etc/ of Folder() (the current directory until one is set), then in
// the packed archives in the order they were added. Names match without regard to letter
// case, with "\" and "/" equivalent. Every file found stays cached under its upper-cased name.
class ResourceArchive {
public:
    // The application-wide lookup.
    static ResourceArchive& Instance();

    ResourceArchive();
    ~ResourceArchive();
    ResourceArchive(const ResourceArchive&) = delete;
    ResourceArchive& operator=(const ResourceArchive&) = delete;

    // The password every archive member is encrypted with.
    static constexpr const char* kPassword = "7305";

    // Opens the ZIP file fileName and appends it to the archives; false (after the message
    // fileName + " 파일을 찾을 수 없습니다.") when it is missing or not a ZIP file.
    bool AddArchive(const std::string& fileName);
    // The file called name, positioned at offset 0 (not to be closed by the caller); null
    // after the message NAME + "파일을 찾을 수 없습니다." when it is found nowhere.
    ResourceFile* OpenFile(const std::string& name);
    // The BMP file at path ("\\" read as "\") as a 32-bit bitmap, decoded once and shared;
    // a null Surface when it is missing or not a readable BMP.
    Surface LoadBitmapFile(const std::string& path);
    // The whole text of the file name, up to its first zero byte; "" after the messages
    // when it is missing.
    std::string ReadTextFile(const std::string& name);
    // Closes every archive and forgets every cached file and the folder (at exit, and between
    // tests).
    void Clear();

    int ArchiveCount() const { return static_cast<int>(archives_.size()); }
    // The folder the disk files are looked up in: the program's, so that the folder a user
    // starts from never stands in for the skin ("" = the current directory).
    void SetFolder(std::string folder) { folder_ = std::move(folder); }
    const std::string& Folder() const { return folder_; }

    // name with every letter upper-cased (ASCII; other bytes unchanged).
    static std::string UpperCase(const std::string& name);
    // The existing disk path for the relative name under base ("" = current directory),
    // with "\" read as "/" and each part matched without regard to case; "" when none.
    static std::string FindOnDisk(const std::string& base, const std::string& name);

private:
    std::unique_ptr<ResourceFile> ReadMember(zip_t* archive, const std::string& key);

    std::string folder_;
    std::vector<zip_t*> archives_;
    std::map<std::string, std::unique_ptr<ResourceFile>> cache_;
    std::map<std::string, Surface> bitmaps_;  // decoded once per file; copies share the pixels
};

}  // namespace velmora
