#pragma once
// Base classes of the serial-port library: the exceptions it raises, the settings
// object that notifies its owner, and the component base.

#include <QObject>
#include <QString>
#include <exception>
#include <functional>

// Base of every error the program raises itself, with a message text.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A value that could not be converted; the serial port raises it for a device that
// cannot be opened, which the window reports as an unavailable port.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// The failed open itself: the device path tried and the operating system's error
// code, so that the program can tell the user why (missing, busy, not allowed); for a
// network line whose server answered with an error text, that text.
class EVaOpenError : public EConvertError
{
public:
    EVaOpenError(QString message, QString device, int osError, QString serverText = {})
        : EConvertError(std::move(message)), device_(std::move(device)), osError_(osError),
          serverText_(std::move(serverText))
    {
    }
    const QString& Device() const { return device_; }
    int OsError() const { return osError_; }
    const QString& ServerText() const { return serverText_; }

private:
    QString device_;
    int osError_;
    QString serverText_;
};

// Every error the serial-port component raises itself.
class EVaCommError : public Exception
{
public:
    using Exception::Exception;
};

// A settings object that tells its owner of every change, unless updates are held back.
class TVaPersistent
{
public:
    using TChangeEvent = std::function<void(TVaPersistent* Sender)>;

    TVaPersistent() = default;
    virtual ~TVaPersistent() = default;
    TVaPersistent(const TVaPersistent&) = delete;
    TVaPersistent& operator=(const TVaPersistent&) = delete;

    // Copies every value of a settings object of the same class with one change
    // notification; any other class raises EConvertError.
    virtual void Assign(const TVaPersistent& Source);

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    qint32 UpdateCount() const { return updateCount_; }

    const TChangeEvent& OnChange() const { return onChange_; }
    void SetOnChange(TChangeEvent handler) { onChange_ = std::move(handler); }

protected:
    void Changed();
    // Copies the values of Source, which is of the same class.
    virtual void AssignValues(const TVaPersistent& Source) = 0;
    virtual const char* ClassName() const = 0;

private:
    qint32 updateCount_ = 0;
    TChangeEvent onChange_;
};

// Common base of the library's components.
class TVaComponent : public QObject
{
    Q_OBJECT
public:
    explicit TVaComponent(QObject* owner = nullptr) : QObject(owner) {}
};
