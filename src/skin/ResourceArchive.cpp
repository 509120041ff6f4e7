#include "skin/ResourceArchive.h"

#include <zip.h>

#include <dirent.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/Prompter.h"
#include "skin/BmpReader.h"

namespace velmora {
namespace {

const char kNotFound[] = "파일을 찾을 수 없습니다.";

void ShowMessage(const std::string& text) { Prompter::Current().MessageBox(text, "", kButtonsOk); }

// The cache and member key: upper case, every "/" read as "\".
std::string KeyOf(const std::string& name) {
    std::string key = ResourceArchive::UpperCase(name);
    std::replace(key.begin(), key.end(), '/', '\\');
    return key;
}

// The entry of dir that is name but for case, a folder or (last) anything else. One pass of
// readdir over the names; only when the case-blind name is there more than once does the
// sorted listing decide which spelling wins, as it always did. Listing with QDir stats every
// entry, and a skin asks this for each of its bitmaps.
QString CaseBlindEntry(const QDir& dir, const QString& name, bool last) {
    const auto ascii = [](const char* text) {
        for (; *text; ++text)
            if (static_cast<unsigned char>(*text) >= 0x80) return false;
        return true;
    };
    const QByteArray bytes = name.toUtf8();
    const bool asciiName = ascii(bytes.constData());
    QString found;
    int matches = 0;
    if (DIR* d = opendir(QFile::encodeName(dir.path()).constData())) {
        while (const dirent* entry = readdir(d)) {
            if (!std::strcmp(entry->d_name, ".") || !std::strcmp(entry->d_name, "..")) continue;
            // Plain ASCII on both sides compares as bytes; anything else through Qt's case folding.
            if (asciiName && ascii(entry->d_name)) {
                if (strcasecmp(entry->d_name, bytes.constData()) != 0) continue;
            }
            const QString text = QFile::decodeName(entry->d_name);
            if (text.compare(name, Qt::CaseInsensitive) != 0) continue;
            if (++matches == 1) found = text;
        }
        closedir(d);
    }
    if (matches == 0) return QString();
    if (matches == 1) return QFileInfo(dir, found).isDir() == !last ? found : QString();
    const auto filter = last ? QDir::Files : (QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : dir.entryList(filter | QDir::Hidden | QDir::System))
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
    return QString();
}

}  // namespace

ResourceFile::ResourceFile(std::FILE* fp) : fp_(fp) {}
ResourceFile::ResourceFile(std::vector<char> bytes) : bytes_(std::move(bytes)) {}
ResourceFile::~ResourceFile() {
    if (fp_) std::fclose(fp_);
}

int64_t ResourceFile::Length() const {
    if (!fp_) return static_cast<int64_t>(bytes_.size());
    const long here = std::ftell(fp_);
    std::fseek(fp_, 0, SEEK_END);
    const long end = std::ftell(fp_);
    std::fseek(fp_, here, SEEK_SET);
    return end < 0 ? 0 : end;
}

bool ResourceFile::Seek(int64_t offset) {
    offset = std::clamp<int64_t>(offset, 0, Length());
    if (fp_) return std::fseek(fp_, static_cast<long>(offset), SEEK_SET) == 0;
    pos_ = offset;
    return true;
}

int64_t ResourceFile::Read(void* buf, int64_t n) {
    if (n <= 0) return 0;
    if (fp_) return static_cast<int64_t>(std::fread(buf, 1, static_cast<size_t>(n), fp_));
    const int64_t count = std::min<int64_t>(n, static_cast<int64_t>(bytes_.size()) - pos_);
    if (count <= 0) return 0;
    std::memcpy(buf, bytes_.data() + pos_, static_cast<size_t>(count));
    pos_ += count;
    return count;
}

std::vector<char> ResourceFile::ReadAll() {
    Seek(0);
    std::vector<char> out(static_cast<size_t>(Length()));
    out.resize(static_cast<size_t>(Read(out.data(), static_cast<int64_t>(out.size()))));
    return out;
}

ResourceArchive& ResourceArchive::Instance() {
    static ResourceArchive instance;
    return instance;
}

ResourceArchive::ResourceArchive() = default;
ResourceArchive::~ResourceArchive() { Clear(); }

void ResourceArchive::Clear() {
    for (zip_t* z : archives_) zip_discard(z);
    archives_.clear();
    folder_.clear();
    cache_.clear();
    bitmaps_.clear();
}

std::string ResourceArchive::UpperCase(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string ResourceArchive::FindOnDisk(const std::string& base, const std::string& name) {
    std::string rel = name;
    std::replace(rel.begin(), rel.end(), '\\', '/');
    const QStringList parts = QString::fromStdString(rel).split('/', Qt::SkipEmptyParts);
    if (parts.isEmpty()) return "";
    // An absolute name starts at the root; a relative one at base (the working folder when empty).
    const bool absolute = rel.front() == '/';
    QDir dir(absolute       ? QStringLiteral("/")
             : base.empty() ? QStringLiteral(".")
                            : QString::fromStdString(base));
    // The exact spelling first, then a case-blind match among the folder's entries.
    for (int i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        QString found;
        const QFileInfo exact(dir, parts[i]);
        if (exact.exists() && (last ? exact.isFile() : exact.isDir())) {
            found = parts[i];
        } else {
            found = CaseBlindEntry(dir, parts[i], last);
        }
        if (found.isEmpty()) return "";
        if (last) return QFileInfo(dir, found).filePath().toStdString();
        dir.setPath(dir.filePath(found));
    }
    return "";
}

bool ResourceArchive::AddArchive(const std::string& fileName) {
    int error = 0;
    zip_t* z = zip_open(fileName.c_str(), ZIP_RDONLY, &error);
    if (!z) {
        ShowMessage(fileName + " " + kNotFound);
        return false;
    }
    archives_.push_back(z);
    return true;
}

std::unique_ptr<ResourceFile> ResourceArchive::ReadMember(zip_t* archive, const std::string& key) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* entry = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (!entry || KeyOf(entry) != key) continue;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) != 0) return nullptr;
        // The password is always given: a member stored without encryption is not ours.
        if (!(st.valid & ZIP_STAT_ENCRYPTION_METHOD) || st.encryption_method == ZIP_EM_NONE)
            return nullptr;
        zip_file_t* f = zip_fopen_index_encrypted(archive, static_cast<zip_uint64_t>(i), 0, kPassword);
        if (!f) return nullptr;
        std::vector<char> bytes;
        if (st.valid & ZIP_STAT_SIZE) bytes.reserve(static_cast<size_t>(st.size));
        char chunk[65536];
        zip_int64_t n;
        while ((n = zip_fread(f, chunk, sizeof chunk)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
        zip_fclose(f);
        // A wrong password shows up as a read error (the checksum does not match).
        if (n < 0) return nullptr;
        return std::make_unique<ResourceFile>(std::move(bytes));
    }
    return nullptr;
}

ResourceFile* ResourceArchive::OpenFile(const std::string& name) {
    const std::string key = KeyOf(name);
    if (auto it = cache_.find(key); it != cache_.end()) {
        it->second->Seek(0);
        return it->second.get();
    }
    std::unique_ptr<ResourceFile> file;
    for (const char* folder : {"Resource", "Windows", "etc"}) {
        const std::string path = FindOnDisk(folder_, std::string(folder) + "/" + name);
        if (path.empty()) continue;
        if (std::FILE* fp = std::fopen(path.c_str(), "rb")) {
            file = std::make_unique<ResourceFile>(fp);
            break;
        }
    }
    for (size_t i = 0; !file && i < archives_.size(); ++i) file = ReadMember(archives_[i], key);
    if (!file) {
        ShowMessage(UpperCase(name) + kNotFound);
        return nullptr;
    }
    ResourceFile* raw = file.get();
    cache_.emplace(key, std::move(file));
    raw->Seek(0);
    return raw;
}

Surface ResourceArchive::LoadBitmapFile(const std::string& path) {
    std::string name = path;
    for (size_t at = 0; (at = name.find("\\\\", at)) != std::string::npos; ++at) name.erase(at, 1);
    // Many controls share one strip, and mark-up images are laid out on every paint.
    const std::string key = KeyOf(name);
    if (auto it = bitmaps_.find(key); it != bitmaps_.end()) return it->second;
    ResourceFile* file = OpenFile(name);
    if (!file) return Surface();
    const std::vector<char> bytes = file->ReadAll();
    const Surface& decoded = bitmaps_.emplace(key, DecodeBmp(bytes.data(), bytes.size())).first->second;
    // The picture is what is kept: its file's bytes would only double the memory it takes, and
    // one asked for again as a file is simply read again.
    cache_.erase(key);
    return decoded;
}

std::string ResourceArchive::ReadTextFile(const std::string& name) {
    ResourceFile* file = OpenFile(name);
    if (!file) {
        ShowMessage(name + kNotFound);
        return "";
    }
    const std::vector<char> bytes = file->ReadAll();
    file->Seek(0);
    const auto zero = std::find(bytes.begin(), bytes.end(), '\0');
    return std::string(bytes.begin(), zero);
}

}  // namespace velmora
