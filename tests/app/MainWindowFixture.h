#pragma once

// The editor's main window, created from the real skin and shown for every test of a fixture.

#include <memory>

#include "AppTestSupport.h"
#include "app/MainWindow.h"
#include "game/RecordModified.h"

namespace velmora::testing {

class MainWindowFixture : public EditorSkinTest {
protected:
    // Subclasses that go on after this check IsSkipped() || HasFatalFailure() first.
    void SetUp() override {
        EditorSkinTest::SetUp();
        if (IsSkipped()) return;
        window = std::make_unique<MainWindow>();
        ASSERT_TRUE(window->Create(false));
        window->show();  // size changes reach a shown window at once
    }
    // The window goes first; the record's modified flag is process-wide and must not leak.
    void TearDown() override {
        window.reset();
        SetRecordModified(false);
        EditorSkinTest::TearDown();
    }

    std::unique_ptr<MainWindow> window;
};

}  // namespace velmora::testing
