#pragma once

#include <QDialog>
#include <string>

#include "skin/SkinHost.h"

namespace velmora {

// A skinned dialog (the message pop-up, help, version, split and copy dialogs). The
// derived dialog names its skin file in its constructor; the dialog builds itself when it
// is first shown (or at EnsureBuilt), then calls OnSkinBuilt, the place to fill it.
// Control 100 ends it with kResultCancel, 101 with kResultOk; both also reach onCommand.
// The top 30 pixels drag it; with resize="true" the 8-pixel borders resize it.
class SkinDialog : public QDialog, public SkinHost {
    Q_OBJECT
public:
    // Results of exec(): the answers a message box gives.
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    explicit SkinDialog(QWidget* parent = nullptr, const std::string& skinFile = {});
    ~SkinDialog() override;

    // Builds the dialog from its skin file once; later calls do nothing.
    void EnsureBuilt();
    // Builds the dialog, centres it over window (where it is given) and runs it → exec()'s result.
    int ExecCentredOver(const QWidget* window);
    bool IsResizable() const { return resizable_; }
    bool IsColorKeyed() const { return colorKeyed_; }
    // One countdown timer event (timer 1001), as the timer delivers it.
    void CountdownTick();
    int CountdownRemaining() const { return countdownRemaining_; }

    // Escape and closing the window answer kResultCancel.
    void reject() override;

protected:
    // Called when the countdown of the TimerShape passes zero.
    virtual void OnTimerShapeExpired() {}

    QWidget* HostWidget() override { return this; }
    void PlaceWindow(const QRect& rect) override;
    void OnCountdownTimer() override { CountdownTick(); }
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    bool built_ = false;
};

}  // namespace velmora
