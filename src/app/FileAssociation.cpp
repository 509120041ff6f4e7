#include "app/FileAssociation.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <sstream>

#include "app/AppInfo.h"

namespace velmora {
namespace {

constexpr const char* kDefaultGroup = "[Default Applications]";

bool WriteWhole(const QString& path, const std::string& text) {
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(text.data(), static_cast<qint64>(text.size()));
    return f.commit();
}

}  // namespace

std::string DesktopExecQuote(const std::string& program) {
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string out;
    for (char c : quoted) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string DesktopEntryText(const std::string& program) {
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=") + kAppTitle + "\n"
           "Comment=바둑 기보(SGF) 편집기\n"
           "Exec=" + DesktopExecQuote(program) + " %f\n"
           "Icon=velmora\n"
           "MimeType=" + kSgfMimeType + ";\n"
           "Terminal=false\n"
           "Categories=Game;BoardGame;\n";
}

std::string WithDefaultHandler(const std::string& mimeappsText) {
    const std::string key = std::string(kSgfMimeType) + "=";
    const std::string entry = key + kDesktopEntryName;
    std::istringstream in(mimeappsText);
    std::string line, out;
    bool inGroup = false, groupSeen = false, written = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[') {
            if (inGroup && !written) out += entry + "\n", written = true;
            inGroup = line == kDefaultGroup;
            groupSeen = groupSeen || inGroup;
        } else if (inGroup && line.rfind(key, 0) == 0) {
            // The user's or another program's choice stays; only an empty one is taken.
            if (line.size() > key.size()) return mimeappsText;
            if (!written) out += entry + "\n", written = true;
            continue;
        }
        out += line + "\n";
    }
    if (!groupSeen) out += std::string(kDefaultGroup) + "\n";
    if (!written) out += entry + "\n";
    return out;
}

bool RegisterFileAssociation(const std::string& program, const std::string& dataHome,
                             const std::string& configHome, const std::vector<std::string>& systemDataDirs) {
    const QString data = QString::fromStdString(dataHome), config = QString::fromStdString(configHome);
    // An installed editor has its entry in a system folder; one of the user's own would hide it.
    const bool installed = std::any_of(systemDataDirs.begin(), systemDataDirs.end(), [](const std::string& dir) {
        return QFile::exists(QString::fromStdString(dir) + "/applications/" + kDesktopEntryName);
    });
    bool ok = installed || WriteWhole(data + "/applications/" + kDesktopEntryName, DesktopEntryText(program));
    const QString mimeapps = config + "/mimeapps.list";
    std::string text;
    QFile f(mimeapps);
    if (f.open(QIODevice::ReadOnly)) text = f.readAll().toStdString();
    f.close();
    return WriteWhole(mimeapps, WithDefaultHandler(text)) && ok;
}

}  // namespace velmora
