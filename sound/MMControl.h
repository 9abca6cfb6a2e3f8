// A media control with the operations of the classic MCI control: device type,
// file name, the commands "Open", "Play" and "Close", and the Done event.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class MMControl : public QObject {
    Q_OBJECT
public:
    explicit MMControl(QObject* parent = nullptr);

    void setDeviceType(const QString& type) { deviceType_ = type; }
    QString deviceType() const { return deviceType_; }
    void setFileName(const QString& path) { fileName_ = path; }
    QString fileName() const { return fileName_; }
    void setNotify(bool on) { notify_ = on; }
    void setWait(bool on) { wait_ = on; }
    void setShareable(bool on) { shareable_ = on; }
    bool notify() const { return notify_; }
    bool wait() const { return wait_; }
    bool shareable() const { return shareable_; }

    // Runs a command ("Open", "Play", "Close", in any case). Returns false when
    // the device failed; lastError() then says why.
    bool setCommand(const QString& command);
    QString lastError() const { return error_; }

    // Reported with notify code 1 when a tune played to its end.
    std::function<void(int notifyCode)> onDone;

    // Test hook: when set, every command goes to it instead of the device and
    // its result is the command's result (tests record cues and fake failures).
    static inline std::function<bool(MMControl&, const QString& command)> commandHook;

private:
    QString deviceType_;
    QString fileName_;
    QString error_;
    bool notify_ = false;
    bool wait_ = false;
    bool shareable_ = false;
};
