#pragma once

// The editor's real skin from the built Resource.bk2, for tests that build windows; questions
// are answered by a scripted prompter and addresses are caught instead of opened.

#include <QFileInfo>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/VendorLinks.h"
#include "board/BoardControl.h"
#include "platform/Prompter.h"
#include "skin/ResourceArchive.h"
#include "skin/SkinResources.h"

namespace velmora::testing {

// The whole file at path, as bytes.
inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string ResourcePath() { return std::string(VELMORA_BIN_DIR) + "/Resource.bk2"; }

class EditorSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo::exists(QString::fromStdString(ResourcePath())))
            GTEST_SKIP() << "Resource.bk2 is not built: " << ResourcePath();
        ResourceArchive::Instance().Clear();
        SkinResources::Instance().Clear();
        ResourceArchive::Instance().AddArchive(ResourcePath());
        SkinResources::Instance().LoadAll();
        RegisterBoardControl();
        SetBrowserOpener([this](const std::string& address) {
            opened.push_back(address);
            return true;
        });
    }
    void TearDown() override {
        SetBrowserOpener({});
        ResourceArchive::Instance().Clear();
        SkinResources::Instance().Clear();
    }

    ScriptedPrompter prompter;
    std::vector<std::string> opened;
};

}  // namespace velmora::testing
