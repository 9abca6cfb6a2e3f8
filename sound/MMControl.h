// SPDX-License-Identifier: MIT
// A media control with the operations of the classic MCI control: device type,
// file name, the commands "Open", "Play" and "Close", and the Done event.
#pragma once

#include "sound/AudioBackend.h"

#include <QObject>
#include <QString>

#include <functional>

class MMControl : public QObject {
    Q_OBJECT
public:
    // The notify code of a command that completed: the file played to its end.
    static constexpr int mciSuccessful = 1;

    explicit MMControl(QObject* parent = nullptr);
    ~MMControl() override;

    void setDeviceType(const QString& type) { deviceType_ = type; }
    QString deviceType() const { return deviceType_; }
    // The file the next "Open" opens; reading returns the text last set.
    void setFileName(const QString& path) { fileName_ = path; }
    QString fileName() const { return fileName_; }
    // Done is reported while Notify is on, which it is until switched off.
    void setNotify(bool on) { notify_ = on; }
    // Kept for the classic interface: "Play" never blocks the window.
    void setWait(bool on) { wait_ = on; }
    void setShareable(bool on) { shareable_ = on; }
    bool notify() const { return notify_; }
    bool wait() const { return wait_; }
    bool shareable() const { return shareable_; }
    bool isOpen() const { return handle_ != 0; }

    // Runs a command ("Open", "Play", "Close", in any case). Returns false when
    // the device failed; lastError() then says why.
    bool setCommand(const QString& command);
    QString lastError() const { return error_; }

    // Reported with notify code 1 when a file played to its end; never for a
    // file that was closed or played again before its end.
    std::function<void(int notifyCode)> onDone;

    // Test hook: when set, every command goes to it instead of the device and
    // its result is the command's result (tests record cues and fake failures).
    static inline std::function<bool(MMControl&, const QString& command)> commandHook;

private:
    bool open();
    bool play();
    void close();
    bool fail(const QString& why);
    void ended(unsigned playCount);

    QString deviceType_;
    QString fileName_;
    QString error_;
    bool notify_ = true;
    bool wait_ = false;
    bool shareable_ = false;
    sound::AudioBackend* backend_ = nullptr; // the backend that holds handle_
    int handle_ = 0;
    unsigned playCount_ = 0;
};
